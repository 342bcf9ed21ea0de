// The main frame's patch and picture commands: Create Patch, Apply Patch and Export Picture.
#include "CMainFrame.h"

#include "CKorvaneView.h"
#include "DocumentHistory.h"
#include "UserPrompt.h"
#include "gamedata/AtomicFileWriter.h"
#include "gamedata/CKorvaneDoc.h"
#include "gamedata/FileIdentity.h"
#include "gamedata/FileMessages.h"
#include "gamedata/PatchFile.h"
#include "gamedata/PatchFormat.h"
#include "graphics/PngFile.h"

#include <QDir>
#include <QStatusBar>

#include <span>

namespace korvane {

namespace {

constexpr int kStatusMessageMs = 5000;
constexpr const char* kApplyPatchStep = "Apply Patch";

std::string Native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

} // namespace

void CMainFrame::ShowStop(const std::string& text) {
    reporter_.ShowMessage(MessageIcon::Stop, "Korvane", text);
}

std::optional<std::vector<std::uint8_t>> CMainFrame::ReadCartridge(const QString& path) {
    CKorvaneDoc reader(&reporter_);
    if (!reader.OpenReadOnly(path.toStdString())) {
        return std::nullopt;
    }
    return reader.cleanBytes();
}

bool CMainFrame::CreatePatch() {
    if (!DocumentReady()) {
        return false;
    }
    const QString opened = QDir::toNativeSeparators(QString::fromStdString(
        document_.cleanPath().empty() ? document_.Title() : document_.cleanPath()));
    const std::optional<CleanCartridge> source = prompt_.AskCleanCartridge(opened);
    if (!source) {
        return false;
    }
    std::optional<std::vector<std::uint8_t>> otherFile;
    QString cleanPath = QString::fromStdString(document_.cleanPath());
    if (*source == CleanCartridge::OtherFile) {
        const std::optional<QString> chosen = AskPath(FileQuestion::CleanCartridge);
        if (!chosen) {
            return false;
        }
        otherFile = ReadCartridge(*chosen);
        if (!otherFile) {
            return false;
        }
        cleanPath = *chosen;
    }
    const std::span<const std::uint8_t> clean =
        otherFile ? std::span<const std::uint8_t>(*otherFile) : document_.cleanBytes();

    const std::optional<QString> out = AskPath(FileQuestion::PatchToWrite);
    if (!out) {
        return false;
    }
    const std::string outPath = out->toStdString();
    const std::optional<PatchFormat> format = PatchFormatForFileName(outPath);
    if (!format) {
        ShowStop(CannotMessage("create the patch", Native(*out),
                               "its name must end in .ips or .bps, which chooses the format"));
        return false;
    }
    if (const auto refusal = OutputOverwritesInput(
            outPath, {document_.PathName(), document_.cleanPath(), cleanPath.toStdString()})) {
        ShowStop(*refusal);
        return false;
    }
    const PatchResult patch = korvane::CreatePatch(*format, clean, document_.EncodedContent());
    if (!patch.ok()) {
        ShowStop(JoinText(
            {"Korvane can't create the patch ", QuotedPath(Native(*out)), ". ", patch.message()}));
        return false;
    }
    AtomicFileWriter writer(outPath, AtomicFileWriter::Target::NewOrExisting);
    if (!writer.Write({std::span<const std::uint8_t>(patch.bytes())})) {
        ShowStop(writer.message());
        return false;
    }
    statusBar()->showMessage(QStringLiteral("Wrote %1 (%2 patch, %3 bytes)")
                                 .arg(QDir::toNativeSeparators(*out))
                                 .arg(QString::fromLatin1(PatchFormatName(*format)))
                                 .arg(patch.bytes().size()),
                             kStatusMessageMs);
    return true;
}

bool CMainFrame::ApplyPatch() {
    const std::optional<QString> patchPath = AskPath(FileQuestion::PatchToApply);
    if (!patchPath) {
        return false;
    }
    std::vector<std::uint8_t> patch;
    if (const auto problem = ReadPatchFile(patchPath->toStdString(), patch)) {
        ShowStop(CannotMessage("read the patch", Native(*patchPath), *problem));
        return false;
    }
    const std::optional<QString> cartridgePath = AskPath(FileQuestion::CartridgeToPatch);
    if (!cartridgePath) {
        return false;
    }
    std::optional<std::vector<std::uint8_t>> source = ReadCartridge(*cartridgePath);
    if (!source) {
        return false;
    }
    PatchResult result = korvane::ApplyPatch(*source, patch);
    if (!result.ok()) {
        ShowStop(JoinText({"Korvane can't apply the patch ", QuotedPath(Native(*patchPath)), ". ",
                           result.message(), " Nothing was changed."}));
        return false;
    }
    std::optional<DocumentFile> file = document_.UntitledFile(
        result.TakeBytes(), std::move(*source), cartridgePath->toStdString());
    if (!file) {
        return false;
    }
    // The result is a new document: the current one's unsaved changes are asked about as
    // before an open (Undo brings the current document back either way).
    if (!SaveModified()) {
        return false;
    }
    history_.ReplaceFile(QString::fromLatin1(kApplyPatchStep), std::move(*file));
    return true;
}

bool CMainFrame::ExportPicture() {
    if (!DocumentReady()) {
        return false;
    }
    const std::optional<PictureExportChoice> choice = prompt_.AskPictureExport(pictureChoice_);
    if (!choice) {
        return false;
    }
    pictureChoice_ = *choice;
    const std::optional<QString> path = AskFileToWrite(FileQuestion::PictureToWrite);
    if (!path) {
        return false;
    }
    // True colours, whatever the screen's depth: the renderer's own pixels at 32 bits.
    PictureExporter exporter;
    const PictureResult picture =
        MakeExportPicture(exporter, document_.level(view_->level()), view_->hallway(), *choice);
    if (!picture.ok()) {
        ShowStop("Korvane can't draw the picture. " + picture.message);
        return false;
    }
    if (const std::optional<std::string> error = SavePngFile(picture.image, path->toStdString())) {
        ShowStop(*error);
        return false;
    }
    statusBar()->showMessage(QStringLiteral("Wrote %1 (%2 x %3 pixels)")
                                 .arg(QDir::toNativeSeparators(*path))
                                 .arg(picture.image.width())
                                 .arg(picture.image.height()),
                             kStatusMessageMs);
    return true;
}

std::optional<QString> CMainFrame::AskFileToWrite(FileQuestion question) {
    const std::optional<QString> path = AskPath(question);
    if (!path) {
        return std::nullopt;
    }
    if (const auto refusal = OutputOverwritesInput(path->toStdString(),
                                                   {document_.PathName(), document_.cleanPath()})) {
        ShowStop(*refusal);
        return std::nullopt;
    }
    return path;
}

} // namespace korvane
