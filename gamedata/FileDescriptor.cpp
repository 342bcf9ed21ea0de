#include "FileDescriptor.h"

#include <algorithm>
#include <cerrno>

#include <unistd.h>

namespace korvane {

namespace {

constexpr std::size_t kReadChunk = 0x10000;

} // namespace

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FileDescriptor::Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
}

long long ReadFully(int fd, std::uint8_t* data, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = ::read(fd, data + done, length - done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(done);
}

bool ReadToEnd(int fd, std::vector<std::uint8_t>& out, std::size_t limit) {
    out.clear();
    std::vector<std::uint8_t> chunk(kReadChunk);
    for (;;) {
        const long long got = ReadFully(fd, chunk.data(), chunk.size());
        if (got < 0) {
            return false;
        }
        out.insert(out.end(), chunk.begin(), chunk.begin() + got);
        if (static_cast<std::size_t>(got) < chunk.size() || out.size() > limit) {
            return true;
        }
    }
}

bool WriteFully(int fd, const std::uint8_t* data, std::size_t length, long long& budget) {
    std::size_t done = 0;
    while (done < length) {
        std::size_t step = length - done;
        if (budget >= 0) {
            if (budget == 0) {
                errno = ENOSPC;
                return false;
            }
            step = std::min(step, static_cast<std::size_t>(budget));
        }
        const ssize_t put = ::write(fd, data + done, step);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(put);
        if (budget >= 0) {
            budget -= put;
        }
    }
    return true;
}

} // namespace korvane
