#include "CKorvaneDoc.h"

#include "AtomicFileWriter.h"
#include "FileDescriptor.h"
#include "FileIdentity.h"
#include "LevelImport.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

namespace korvane {

namespace {

constexpr const char* kMessageTitle = "Korvane";

std::string TooShortMessage(const std::string& what, long long bytes) {
    return JoinText({what, " is too short: it has ", std::to_string(bytes),
                     " bytes, but a cartridge image has ", std::to_string(RomImage::size()),
                     " bytes."});
}

std::string TooShortFileMessage(const std::string& path, long long bytes) {
    return TooShortMessage(JoinText({"The file ", QuotedPath(path)}), bytes);
}

// A file's whole content: the image, then the bytes the file has beyond it.
std::vector<std::uint8_t> FileContent(const RomImage& image,
                                      const std::vector<std::uint8_t>& trailing) {
    std::vector<std::uint8_t> content;
    content.reserve(RomImage::size() + trailing.size());
    content.assign(image.bytes.begin(), image.bytes.end());
    content.insert(content.end(), trailing.begin(), trailing.end());
    return content;
}

constexpr const char* kNothingToSave =
    "There is no cartridge to save: open a cartridge file first.";

} // namespace

CKorvaneDoc::CKorvaneDoc(UserReporter* reporter)
    : reporter_(reporter), gameData_(std::make_unique<GameData>()),
      image_(std::make_unique<RomImage>()),
      clean_(std::make_shared<const std::vector<std::uint8_t>>()) {}

void CKorvaneDoc::Report(MessageIcon icon, const std::string& text) {
    if (reporter_ != nullptr) {
        reporter_->ShowMessage(icon, kMessageTitle, text);
    }
}

std::string CKorvaneDoc::Title() const {
    if (path_.empty()) {
        return "Untitled";
    }
    const std::size_t slash = path_.find_last_of('/');
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

void CKorvaneDoc::OnNewDocument() {
    path_.clear();
    modified_ = false;
}

bool CKorvaneDoc::OnOpenDocument(const std::string& path) {
    return Open(path, OpenMode::Editing);
}

bool CKorvaneDoc::OpenReadOnly(const std::string& path) {
    return Open(path, OpenMode::Reading);
}

bool CKorvaneDoc::Open(const std::string& path, OpenMode mode) {
    const auto refuse = [&](const std::string& why) {
        Report(MessageIcon::Stop, CannotMessage("open", path, why));
        return false;
    };
    // Looked at before it is opened: opening a named pipe or a device could block or read
    // forever.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        const int error = errno;
        return refuse(error == ENOENT ? std::string("the file does not exist")
                                      : SystemReason(error));
    }
    if (const auto problem = NotARegularFile(info.st_mode)) {
        return refuse(*problem);
    }
    // The window saves in place: a file its owner may not write is refused from the start.
    if (mode == OpenMode::Editing && OwnerMayNotWrite(info.st_mode)) {
        Report(MessageIcon::Stop, kReadOnlyMessage);
        return false;
    }
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)); // never created
    if (!file.valid()) {
        return refuse(SystemReason(errno));
    }
    // The same file as looked at, not something swapped in meanwhile.
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return refuse("it is not a regular file");
    }
    if (info.st_size < static_cast<off_t>(RomImage::size())) {
        Report(MessageIcon::Stop, TooShortFileMessage(path, static_cast<long long>(info.st_size)));
        return false;
    }

    // Read into fresh buffers; the document's image and model change only once the whole file
    // has been read.
    auto newImage = std::make_unique<RomImage>();
    std::vector<std::uint8_t> newTrailing;
    const long long got = ReadFully(file.get(), newImage->data(), RomImage::size());
    if (got < 0 ||
        (got == static_cast<long long>(RomImage::size()) && !ReadToEnd(file.get(), newTrailing))) {
        Report(MessageIcon::Stop, CannotMessage("read", path, SystemReason(errno)));
        return false;
    }
    if (got < static_cast<long long>(RomImage::size())) {
        Report(MessageIcon::Stop, TooShortFileMessage(path, got));
        return false;
    }
    file.Close();

    image_ = std::move(newImage);
    trailing_ = std::move(newTrailing);
    clean_ = std::make_shared<const std::vector<std::uint8_t>>(FileContent(*image_, trailing_));
    cleanPath_ = path;
    gameData_->Decode(*image_);
    fileLoaded_ = 1;
    path_ = path;
    modified_ = false;
    return true;
}

bool CKorvaneDoc::OnSaveDocument(const std::string& path) {
    const long long failAfter = failSaveAfter_;
    failSaveAfter_ = -1;
    if (fileLoaded_ == 0) {
        Report(MessageIcon::Stop, kNothingToSave);
        return false;
    }
    // Save replaces an existing cartridge file only; it never creates one.
    AtomicFileWriter writer(path, AtomicFileWriter::Target::Existing);
    writer.FailAfterBytesForTesting(failAfter);
    const AtomicFileWriter::TargetState target = writer.Check();
    if (target == AtomicFileWriter::TargetState::Missing ||
        target == AtomicFileWriter::TargetState::Unusable) {
        Report(MessageIcon::Stop, writer.message());
        return false;
    }
    // The image always reflects the model after a save attempt on a file that is there.
    gameData_->Encode(*image_);
    LevelImport::WriteUndecodedBytes(*gameData_, image_->bytes);

    // The bytes this file holds beyond the image stay behind it.
    std::vector<std::uint8_t> fileTrailing;
    if (!writer.ReadExistingTail(RomImage::size(), fileTrailing) ||
        !writer.Write({std::span<const std::uint8_t>(image_->bytes), fileTrailing})) {
        Report(MessageIcon::Stop, writer.message());
        return false;
    }
    trailing_ = std::move(fileTrailing);
    fileLoaded_ = 1;
    path_ = path;
    modified_ = false;
    return true;
}

bool CKorvaneDoc::OnSaveDocumentAs(const std::string& path) {
    if (fileLoaded_ == 0) {
        failSaveAfter_ = -1;
        Report(MessageIcon::Stop, kNothingToSave);
        return false;
    }
    if (!path_.empty() && SameFile(path, path_)) {
        return OnSaveDocument(path_);
    }
    // Create Patch compares with the clean cartridge's file: another file's save (a patched
    // cartridge's, or one saved elsewhere since) does not replace it.
    if (const auto refusal = OutputOverwritesInput(path, {cleanPath_})) {
        failSaveAfter_ = -1;
        Report(MessageIcon::Stop, *refusal);
        return false;
    }
    const long long failAfter = failSaveAfter_;
    failSaveAfter_ = -1;
    AtomicFileWriter writer(path, AtomicFileWriter::Target::NewOrExisting);
    writer.FailAfterBytesForTesting(failAfter);
    // Refused before anything is encoded: the document stays exactly as it was.
    if (!writer.writable()) {
        Report(MessageIcon::Stop, writer.message());
        return false;
    }
    gameData_->Encode(*image_);
    LevelImport::WriteUndecodedBytes(*gameData_, image_->bytes);
    // The bytes the opened file had beyond the image go with it to the new file.
    if (!writer.Write({std::span<const std::uint8_t>(image_->bytes), trailing_})) {
        Report(MessageIcon::Stop, writer.message());
        return false;
    }
    path_ = path;
    modified_ = false;
    return true;
}

std::vector<std::uint8_t> CKorvaneDoc::EncodedContent() const {
    return EncodedContentOf(*gameData_);
}

std::vector<std::uint8_t> CKorvaneDoc::EncodedContentOf(const GameData& model) const {
    auto encoded = std::make_unique<RomImage>(*image_);
    model.Encode(*encoded);
    LevelImport::WriteUndecodedBytes(model, encoded->bytes);
    return FileContent(*encoded, trailing_);
}

std::optional<DocumentFile> CKorvaneDoc::UntitledFile(std::vector<std::uint8_t> content,
                                                      std::vector<std::uint8_t> cleanBytes,
                                                      std::string cleanPath) {
    if (content.size() < RomImage::size()) {
        Report(MessageIcon::Stop,
               TooShortMessage("The new cartridge", static_cast<long long>(content.size())));
        return std::nullopt;
    }
    DocumentFile file;
    file.image = std::make_unique<RomImage>();
    const auto imageEnd = content.begin() + static_cast<std::ptrdiff_t>(RomImage::size());
    std::copy(content.begin(), imageEnd, file.image->bytes.begin());
    file.trailing.assign(imageEnd, content.end());
    file.cleanBytes =
        cleanBytes == *clean_
            ? clean_
            : std::make_shared<const std::vector<std::uint8_t>>(std::move(cleanBytes));
    file.cleanPath = std::move(cleanPath);
    file.fileLoaded = true;
    return file;
}

void CKorvaneDoc::SwapFile(DocumentFile& file) {
    if (!file.image) {
        file.image = std::make_unique<RomImage>();
    }
    if (!file.cleanBytes) {
        file.cleanBytes = std::make_shared<const std::vector<std::uint8_t>>();
    }
    std::swap(image_, file.image);
    std::swap(trailing_, file.trailing);
    std::swap(clean_, file.cleanBytes);
    std::swap(cleanPath_, file.cleanPath);
    std::swap(path_, file.path);
    const bool loaded = fileLoaded_ != 0;
    fileLoaded_ = file.fileLoaded ? 1 : 0;
    file.fileLoaded = loaded;
}

} // namespace korvane
