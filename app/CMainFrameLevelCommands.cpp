// The main frame's level file commands: Export Level, Import Level and Changes.
#include "CChangesDlg.h"
#include "CKorvaneView.h"
#include "CMainFrame.h"
#include "DocumentHistory.h"
#include "UserPrompt.h"
#include "gamedata/AtomicFileWriter.h"
#include "gamedata/CKorvaneDoc.h"
#include "gamedata/FileMessages.h"
#include "gamedata/LevelImport.h"
#include "gamedata/LevelTextReader.h"
#include "gamedata/ModelDiff.h"
#include "gamedata/ModelTextWriter.h"
#include "gamedata/RegularFileReader.h"

#include <QDir>
#include <QSpinBox>
#include <QStatusBar>

#include <memory>
#include <span>

namespace korvane {

namespace {

constexpr int kStatusMessageMs = 5000;
constexpr std::size_t kLargestLevelFile = 16U * 1024U * 1024U;

std::string NativePath(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

} // namespace

bool CMainFrame::ExportLevel() {
    if (!DocumentReady()) {
        return false;
    }
    const std::optional<QString> path = AskFileToWrite(FileQuestion::LevelToWrite);
    if (!path) {
        return false;
    }
    const int n = view_->level();
    const std::string text = ModelTextWriter::LevelText(
        document_.level(n), LevelCatalogue[static_cast<std::size_t>(n)].name);
    AtomicFileWriter writer(path->toStdString(), AtomicFileWriter::Target::NewOrExisting);
    const auto* first = reinterpret_cast<const std::uint8_t*>(text.data());
    if (!writer.Write({std::span<const std::uint8_t>(first, text.size())})) {
        ShowStop(writer.message());
        return false;
    }
    statusBar()->showMessage(
        QStringLiteral("Wrote level %1 to %2").arg(n).arg(QDir::toNativeSeparators(*path)),
        kStatusMessageMs);
    return true;
}

bool CMainFrame::ImportLevel() {
    if (!DocumentReady()) {
        return false;
    }
    const std::optional<QString> path = AskPath(FileQuestion::LevelToImport);
    if (!path) {
        return false;
    }
    std::vector<std::uint8_t> bytes;
    if (const auto problem = ReadRegularFile(path->toStdString(), kLargestLevelFile, bytes)) {
        ShowStop(CannotMessage("read the level file", NativePath(*path), *problem));
        return false;
    }
    const LevelTextReader::Result read = LevelTextReader::Read(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (read.refusal) {
        ShowStop(
            JoinText({"Korvane can't import the level file ", QuotedPath(NativePath(*path)), ". ",
                      read.refusal->Describe(NativePath(*path)), ". Nothing was changed."}));
        return false;
    }
    const int n = view_->level();
    const std::optional<bool> withTiles = prompt_.AskTakeLevelTiles(n);
    if (!withTiles) {
        return false;
    }
    bool applied = false;
    history_.Change(QStringLiteral("Import Level (level %1)").arg(n), [&](GameData& model) {
        applied = LevelImport::Apply(model, n, *read.level, *withTiles);
    });
    if (!applied) {
        ShowStop(JoinText({"Korvane can't import the level file ", QuotedPath(NativePath(*path)),
                           ". Its tiles reach past the end of character memory under the tile "
                           "banks of level ",
                           std::to_string(n), ". Nothing was changed."}));
        return false;
    }
    view_->ModelChanged();
    UpdateTitle();
    UpdateCommands();
    return true;
}

bool CMainFrame::ShowChanges() {
    if (!DocumentReady() || document_.cleanBytes().size() < kRomSize) {
        return false;
    }
    // The file as it was opened, and what a save would write now.
    const std::vector<std::uint8_t>& clean = document_.cleanBytes();
    auto image = std::make_unique<RomImage>();
    std::copy_n(clean.begin(), kRomSize, image->bytes.begin());
    auto opened = std::make_unique<GameData>();
    opened->Decode(*image);
    const std::vector<std::uint8_t> now = document_.EncodedContent();
    const std::vector<ModelChange> changes =
        ModelDiff::Compare(*opened, clean, document_.gameData(), now);
    if (changes_ == nullptr) {
        changes_ = new CChangesDlg(this);
        connect(changes_, &CChangesDlg::changeChosen, this, [this](int level, int hallway) {
            view_->levelField().setValue(level);
            if (hallway >= 0) {
                view_->hallwayField().setValue(hallway);
            }
        });
    }
    changes_->SetChanges(changes);
    changes_->show();
    changes_->raise();
    return true;
}

} // namespace korvane
