#pragma once

// A fresh folder for a test's files, removed with everything in it afterwards, and the file
// helpers the file tests share.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace korvane::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // The names in the folder, sorted.
    std::vector<std::string> Entries() const;

private:
    std::filesystem::path path_;
};

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
// The permission bits of what path names (links followed).
unsigned PermissionBits(const std::filesystem::path& path);

} // namespace korvane::testing
