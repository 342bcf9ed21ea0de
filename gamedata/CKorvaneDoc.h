#pragma once

#include "FileMessages.h"
#include "GameData.h"
#include "RomImage.h"
#include "UserReporter.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvane {

// What the document holds of its file besides the model: the image, the bytes the file had
// beyond it, the clean cartridge (the file's bytes as they were opened) and where it was read
// from, the path and whether a cartridge is loaded. Apply Patch swaps it whole, and so does its
// undo. The clean cartridge never changes once read, so files with the same one share it.
using CleanBytes = std::shared_ptr<const std::vector<std::uint8_t>>;
struct DocumentFile {
    std::unique_ptr<RomImage> image;
    std::vector<std::uint8_t> trailing;
    CleanBytes cleanBytes;
    std::string cleanPath;
    std::string path;
    bool fileLoaded = false;
};

// The document: owns the cartridge image and the model decoded from it, and turns opening and
// saving into a whole-file read and decode, and an encode and whole-file write.
//
// Every open reads a regular file of at least 0x60010 bytes that the user may read; folders,
// devices and named pipes are refused without being opened. A failed open changes nothing, and
// a save either replaces the file whole (AtomicFileWriter: a temporary file in the same folder,
// renamed over it) or leaves it untouched.
class CKorvaneDoc {
public:
    explicit CKorvaneDoc(UserReporter* reporter = nullptr);

    CKorvaneDoc(const CKorvaneDoc&) = delete;
    CKorvaneDoc& operator=(const CKorvaneDoc&) = delete;

    void SetReporter(UserReporter* reporter) { reporter_ = reporter; }

    // File Open and a file named on the command line: a file the window will save in place, so
    // one whose owner has no write permission is refused with kReadOnlyMessage. On failure the
    // user is told why and the image, the model, the path and the modified flag keep what they
    // had.
    bool OnOpenDocument(const std::string& path);
    // The same read for a cartridge that is only looked at (the command-line tool's inputs): any
    // regular file of the right size that the user may read, whatever its write permissions.
    bool OpenReadOnly(const std::string& path);
    // File Save: encodes the model and replaces the existing file at path. The file must exist
    // and be writable by its owner; on failure it is left as it was.
    bool OnSaveDocument(const std::string& path);
    // File Save As: encodes the model and writes the image and the bytes the opened file had
    // beyond it to path, a new file or an existing one that may be replaced; the document then
    // continues on that file and the file it came from is left as it was. The file that is open
    // is saved in place (OnSaveDocument). The clean cartridge's file, when it is not the open
    // file, is refused (OutputOverwritesInput). A refusal (a read-only file, a folder) or a
    // failure leaves the path, the model and the modified flag as they were.
    bool OnSaveDocumentAs(const std::string& path);
    // File New: only the path and title are reset; the image and the model stay.
    void OnNewDocument();

    // What a save would write: the model encoded into a copy of the image, then the bytes the
    // opened file had beyond it.
    std::vector<std::uint8_t> EncodedContent() const;
    // The same for another model (an open editor's work, as if OK had been pressed).
    std::vector<std::uint8_t> EncodedContentOf(const GameData& model) const;

    // A file's whole content (a patched cartridge) as an untitled document's file, with
    // cleanBytes, read from cleanPath, as its clean cartridge (the document's own, shared, when
    // they are the same bytes). A content shorter than an image is refused with a message and
    // gives nothing.
    std::optional<DocumentFile> UntitledFile(std::vector<std::uint8_t> content,
                                             std::vector<std::uint8_t> cleanBytes,
                                             std::string cleanPath);
    // Swaps the document's file (image, trailing bytes, clean cartridge, paths, loaded flag)
    // with file; the model is left alone.
    void SwapFile(DocumentFile& file);

    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true) { modified_ = modified; }

    const std::string& PathName() const { return path_; }
    // The file's name without its folder, or "Untitled" for a document without a file.
    std::string Title() const;

    bool fileLoaded() const { return fileLoaded_ != 0; }
    bool decoded() const { return gameData_->decoded != 0; }

    GameData& gameData() { return *gameData_; }
    const GameData& gameData() const { return *gameData_; }
    LevelRecord& level(int n) { return gameData_->levels.at(static_cast<std::size_t>(n)); }
    const RomImage& image() const { return *image_; }
    // Bytes the opened file had beyond the 0x60010 of the image (kept on save).
    const std::vector<std::uint8_t>& trailingBytes() const { return trailing_; }
    // The clean cartridge: the opened file's whole content (image and trailing bytes) as it was
    // read. Saves leave it alone, so that a patch made against it holds every edit since the
    // file was opened. Empty before the first open.
    const std::vector<std::uint8_t>& cleanBytes() const { return *clean_; }
    // The file the clean cartridge was read from.
    const std::string& cleanPath() const { return cleanPath_; }

    // Test seam: the next save fails after writing this many bytes of its temporary file, as
    // a full disk would. A negative value turns it off.
    void FailNextSaveAfterBytesForTesting(long long bytes) { failSaveAfter_ = bytes; }

private:
    enum class OpenMode { Editing, Reading };

    void Report(MessageIcon icon, const std::string& text);
    bool Open(const std::string& path, OpenMode mode);

    UserReporter* reporter_ = nullptr;
    std::int32_t fileLoaded_ = 0;
    bool modified_ = false;
    std::string path_;
    std::unique_ptr<GameData> gameData_;
    std::unique_ptr<RomImage> image_;
    std::vector<std::uint8_t> trailing_;
    CleanBytes clean_;
    std::string cleanPath_;
    long long failSaveAfter_ = -1;
};

} // namespace korvane
