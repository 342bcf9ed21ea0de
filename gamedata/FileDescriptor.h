#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace korvane {

// Owns an open file descriptor and closes it when it goes out of scope.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    ~FileDescriptor();

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and says whether the close (which may report a delayed write error) worked.
    bool Close();

private:
    int fd_ = -1;
};

// Reads up to length bytes at the current position; returns how many were read (fewer only at
// the end of the file), or -1 with errno set.
long long ReadFully(int fd, std::uint8_t* data, std::size_t length);
// Reads everything from the current position to the end of the file, or stops once more than
// limit bytes have been read (the caller then sees out.size() > limit), so that a file that
// never ends cannot fill memory.
bool ReadToEnd(int fd, std::vector<std::uint8_t>& out,
               std::size_t limit = std::numeric_limits<std::size_t>::max());
// Writes all of data. budget, when not negative, is how many more bytes may be written before
// the write fails as on a full disk (ENOSPC); it is used up as bytes are written.
bool WriteFully(int fd, const std::uint8_t* data, std::size_t length, long long& budget);

} // namespace korvane
