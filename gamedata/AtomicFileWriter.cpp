#include "AtomicFileWriter.h"

#include "FileMessages.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace korvane {

namespace {

namespace fs = std::filesystem;

// The system gives up on paths with more links than this, and so do we.
constexpr int kMostLinks = 40;

// Follows the symbolic links at path (a relative link target counts from the link's folder)
// to the name the content belongs under, which need not exist. False with error set when the
// links can't be read or go round in circles.
bool FollowLinks(const std::string& path, std::string& resolved, int& error) {
    fs::path current = path;
    for (int hop = 0; hop < kMostLinks; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT) {
                error = errno;
                return false;
            }
            resolved = current.string();
            return true;
        }
        if (!S_ISLNK(info.st_mode)) {
            resolved = current.string();
            return true;
        }
        std::error_code readError;
        const fs::path target = fs::read_symlink(current, readError);
        if (readError) {
            error = readError.value();
            return false;
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    error = ELOOP;
    return false;
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Makes the rename durable; a failure here leaves a complete file either way.
void SyncFolder(const std::string& folder) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) {
        ::fsync(dir.get());
    }
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string path, Target target)
    : path_(std::move(path)), target_(target) {}

AtomicFileWriter::TargetState AtomicFileWriter::Refuse(TargetState state, std::string message) {
    state_ = state;
    message_ = std::move(message);
    existing_.Close();
    return state_;
}

AtomicFileWriter::TargetState AtomicFileWriter::Check() {
    if (checked_) {
        return state_;
    }
    checked_ = true;
    int error = 0;
    if (!FollowLinks(path_, resolved_, error)) {
        return Refuse(TargetState::Unusable, CannotMessage("save to", path_, SystemReason(error)));
    }
    if (::stat(resolved_.c_str(), &info_) != 0) {
        error = errno;
        if (error != ENOENT) {
            return Refuse(TargetState::Unusable,
                          CannotMessage("save to", path_, SystemReason(error)));
        }
        if (target_ == Target::Existing) {
            return Refuse(TargetState::Missing,
                          CannotMessage("save to", path_, "the file does not exist"));
        }
        state_ = TargetState::New;
        return state_;
    }
    if (const auto problem = NotARegularFile(info_.st_mode)) {
        return Refuse(TargetState::Unusable, CannotMessage("save to", path_, *problem));
    }
    // We may run with every right, so the owner's write bit decides, not whether an open for
    // writing would succeed.
    if (OwnerMayNotWrite(info_.st_mode)) {
        return Refuse(TargetState::ReadOnly, kReadOnlyMessage);
    }
    // Another user's file or a read-only mount: refused with the system's reason. Opening
    // without blocking and without following a link that appeared since keeps a file that
    // was swapped meanwhile from being touched.
    existing_ =
        FileDescriptor(::open(resolved_.c_str(), O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!existing_.valid()) {
        error = errno;
        return Refuse(TargetState::Unwritable,
                      JoinText({"Korvane can't save ", QuotedPath(path_), ": ", SystemReason(error),
                                ". The file was left as it was."}));
    }
    struct stat opened {};
    if (::fstat(existing_.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        opened.st_dev != info_.st_dev || opened.st_ino != info_.st_ino) {
        return Refuse(TargetState::Unusable,
                      CannotMessage("save to", path_, "it is not a regular file"));
    }
    info_ = opened;
    state_ = TargetState::Existing;
    return state_;
}

bool AtomicFileWriter::ReadExistingTail(std::size_t offset, std::vector<std::uint8_t>& out) {
    out.clear();
    if (!writable()) {
        return false;
    }
    if (state_ == TargetState::New) {
        return true;
    }
    if (static_cast<off_t>(offset) >= info_.st_size) {
        return true;
    }
    if (::lseek(existing_.get(), static_cast<off_t>(offset), SEEK_SET) < 0 ||
        !ReadToEnd(existing_.get(), out)) {
        return Fail(SystemReason(errno));
    }
    return true;
}

bool AtomicFileWriter::Fail(const std::string& why) {
    message_ = JoinText({"Korvane can't save ", QuotedPath(path_), ": ", why,
                         state_ == TargetState::Existing ? ". The file was left as it was."
                                                         : ". Nothing was written."});
    return false;
}

bool AtomicFileWriter::Write(std::initializer_list<std::span<const std::uint8_t>> parts) {
    if (!writable()) {
        return false;
    }
    const fs::path target = resolved_;
    const std::string folder =
        target.parent_path().empty() ? std::string(".") : target.parent_path().string();
    // A short name of its own rather than one made from the file's, so that every name the
    // folder accepts, up to the longest, can be saved.
    std::string tempName = (fs::path(folder) / ".korvane-XXXXXX").string();
    // mkostemp creates the file with O_CREAT | O_EXCL and mode 0600.
    FileDescriptor temp(::mkostemp(tempName.data(), O_CLOEXEC));
    if (!temp.valid()) {
        return Fail(
            JoinText({"no temporary file can be made in its folder (", SystemReason(errno), ")"}));
    }
    const auto failAndClean = [&](const std::string& why) {
        const int error = errno;
        temp.Close();
        ::unlink(tempName.c_str());
        errno = error;
        return Fail(why);
    };

    long long budget = failAfterBytes_;
    for (const std::span<const std::uint8_t> part : parts) {
        if (!WriteFully(temp.get(), part.data(), part.size(), budget)) {
            return failAndClean(JoinText({"writing failed (", SystemReason(errno), ")"}));
        }
    }
    const mode_t mode =
        state_ == TargetState::Existing ? (info_.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (::fchmod(temp.get(), mode) != 0) {
        return failAndClean(
            JoinText({"its permissions can't be kept (", SystemReason(errno), ")"}));
    }
    if (state_ == TargetState::Existing &&
        (info_.st_uid != ::geteuid() || info_.st_gid != ::getegid())) {
        // Keeping the owner needs rights we may not have; the content matters more.
        if (::fchown(temp.get(), info_.st_uid, info_.st_gid) != 0) {
            errno = 0;
        }
    }
    if (::fsync(temp.get()) != 0 || !temp.Close()) {
        return failAndClean(JoinText({"writing failed (", SystemReason(errno), ")"}));
    }
    if (::rename(tempName.c_str(), resolved_.c_str()) != 0) {
        return failAndClean(
            JoinText({"the new content can't replace it (", SystemReason(errno), ")"}));
    }
    SyncFolder(folder);
    existing_.Close();
    return true;
}

} // namespace korvane
