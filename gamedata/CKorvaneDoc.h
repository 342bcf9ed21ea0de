#pragma once

#include "GameData.h"
#include "RomImage.h"
#include "UserReporter.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvane {

inline constexpr const char* kReadOnlyMessage =
    "The file has the read-only attribute, Korvane can't work with it";

// The document: owns the cartridge image and the model decoded from it, and turns opening and
// saving into a whole-file read and decode, and an encode and whole-file write.
//
// A failed open changes nothing, and a save either replaces the file whole (through a temporary
// file in the same folder, renamed over it) or leaves it untouched.
class CKorvaneDoc {
public:
    explicit CKorvaneDoc(UserReporter* reporter = nullptr);

    CKorvaneDoc(const CKorvaneDoc&) = delete;
    CKorvaneDoc& operator=(const CKorvaneDoc&) = delete;

    void SetReporter(UserReporter* reporter) { reporter_ = reporter; }

    // File Open and a file named on the command line. On failure the user is told why and the
    // image, the model, the path and the modified flag keep what they had.
    bool OnOpenDocument(const std::string& path);
    // File Save: encodes the model and replaces the existing file at path. The file must exist
    // and be writable by its owner; on failure it is left as it was.
    bool OnSaveDocument(const std::string& path);
    // File New: only the path and title are reset; the image and the model stay.
    void OnNewDocument();

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

    // Test seam: the next save fails after writing this many bytes of its temporary file, as
    // a full disk would. A negative value turns it off.
    void FailNextSaveAfterBytesForTesting(long long bytes) { failSaveAfter_ = bytes; }

private:
    void Report(MessageIcon icon, const std::string& text);
    // Whether path names an existing regular file; if not, tells the user why it can't be
    // used for action ("open", "save to").
    bool CheckCartridgeFile(const std::string& path, const char* action);
    // Whether the owner of the file lacks write permission; tells the user when so.
    bool IsReadOnly(const std::string& path);

    UserReporter* reporter_ = nullptr;
    std::int32_t fileLoaded_ = 0;
    bool modified_ = false;
    std::string path_;
    std::unique_ptr<GameData> gameData_;
    std::unique_ptr<RomImage> image_;
    std::vector<std::uint8_t> trailing_;
    long long failSaveAfter_ = -1;
};

} // namespace korvane
