#include "TileImportSource.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvane {

namespace {

constexpr std::size_t kReadStep = 0x10000;

// Reads a regular file whole, at most limit bytes. False for anything else: a missing file, a
// folder, a pipe or a device (none of them is opened for long or read), a read error, or a file
// that turns out longer than limit.
bool ReadRegularFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& out) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    // Non-blocking, and checked again on the open file, in case the name was swapped for a
    // pipe in between.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<unsigned long long>(info.st_size) <= limit;
    std::vector<std::uint8_t> bytes;
    if (ok) {
        bytes.reserve(static_cast<std::size_t>(info.st_size) + kReadStep);
    }
    while (ok) {
        const std::size_t done = bytes.size();
        bytes.resize(done + kReadStep);
        const ssize_t got = ::read(fd, bytes.data() + done, kReadStep);
        if (got < 0 && errno == EINTR) {
            bytes.resize(done);
            continue;
        }
        if (got < 0) {
            ok = false;
            break;
        }
        bytes.resize(done + static_cast<std::size_t>(got));
        if (got == 0) {
            break;
        }
        ok = bytes.size() <= limit;
    }
    ::close(fd);
    if (ok) {
        out = std::move(bytes);
    }
    return ok;
}

} // namespace

ImportLoad TileImportSource::Load(const std::string& path) {
    std::vector<std::uint8_t> file;
    if (!ReadRegularFile(path, kImportLargestFile, file)) {
        return ImportLoad::Unreadable;
    }
    if (file.size() <= kImportShortestUseless) {
        return ImportLoad::TooShort;
    }
    data_.assign(file.begin() + static_cast<std::ptrdiff_t>(kImportHeaderBytes), file.end());
    loaded_ = true;
    return ImportLoad::Loaded;
}

int TileImportSource::sliceCount() const {
    return static_cast<int>(data_.size() / kImportSliceBytes);
}

bool TileImportSource::SliceInside(int slice) const {
    return loaded_ && slice >= 0 && slice < sliceCount();
}

void TileImportSource::CopyOut(std::size_t offset, std::uint8_t* out, std::size_t length) const {
    const std::size_t inside = offset >= data_.size() ? 0 : std::min(length, data_.size() - offset);
    if (inside > 0) {
        std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(offset), inside, out);
    }
    std::fill(out + inside, out + length, std::uint8_t{0});
}

ImportSlice TileImportSource::Slice(int slice) const {
    ImportSlice bytes{};
    if (slice >= 0) {
        CopyOut(static_cast<std::size_t>(slice) * kImportSliceBytes, bytes.data(), bytes.size());
    }
    return bytes;
}

ImportView TileImportSource::View(int slice) const {
    ImportView bytes{};
    if (slice >= 0) {
        CopyOut(static_cast<std::size_t>(slice) * kImportSliceBytes, bytes.data(), bytes.size());
    }
    return bytes;
}

} // namespace korvane
