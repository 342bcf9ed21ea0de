// The main frame's level file commands: Export Level and Import Level.
#include "CKorvaneView.h"
#include "CMainFrame.h"
#include "DocumentHistory.h"
#include "UserPrompt.h"
#include "gamedata/AtomicFileWriter.h"
#include "gamedata/CKorvaneDoc.h"
#include "gamedata/FileMessages.h"
#include "gamedata/LevelImport.h"
#include "gamedata/LevelTextReader.h"
#include "gamedata/ModelTextWriter.h"
#include "gamedata/RegularFileReader.h"

#include <QDir>
#include <QStatusBar>

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
    const std::optional<QString> path = prompt_.AskFileName(FileQuestion::LevelToWrite);
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
    const std::optional<QString> path = prompt_.AskFileName(FileQuestion::LevelToImport);
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

} // namespace korvane
