#include "CKorvaneDoc.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvane {

namespace {

constexpr const char* kMessageTitle = "Korvane";
constexpr std::size_t kReadChunk = 0x10000;

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string Reason(int error) {
    return std::generic_category().message(error);
}

// Access refused by the system: the same report as a file without write permission.
bool IsAccessDenied(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

// Closes the descriptor it holds when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and says whether the close (which may report a delayed write error) worked.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Reads up to length bytes at the current position; returns how many were read, or -1 with
// errno set.
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

// Reads everything from the current position to the end of the file.
bool ReadToEnd(int fd, std::vector<std::uint8_t>& out) {
    out.clear();
    std::array<std::uint8_t, kReadChunk> chunk{};
    for (;;) {
        const long long got = ReadFully(fd, chunk.data(), chunk.size());
        if (got < 0) {
            return false;
        }
        out.insert(out.end(), chunk.begin(), chunk.begin() + got);
        if (static_cast<std::size_t>(got) < chunk.size()) {
            return true;
        }
    }
}

// Writes all of data. budget, when not negative, is how many more bytes may be written before
// the write fails as on a full disk; it is used up as bytes are written.
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

// Makes the rename durable; a failure here leaves a complete file either way.
void SyncFolder(const std::string& folder) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) {
        ::fsync(dir.get());
    }
}

} // namespace

CKorvaneDoc::CKorvaneDoc(UserReporter* reporter)
    : reporter_(reporter), gameData_(std::make_unique<GameData>()),
      image_(std::make_unique<RomImage>()) {}

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

bool CKorvaneDoc::CheckCartridgeFile(const std::string& path, const char* action) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        const int error = errno;
        Report(MessageIcon::Stop,
               std::string("Korvane can't ") + action + " " + Quoted(path) + ": " +
                   (error == ENOENT ? std::string("the file does not exist") : Reason(error)) +
                   ".");
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        Report(MessageIcon::Stop, std::string("Korvane can't ") + action + " " + Quoted(path) +
                                      ": it is a folder, not a cartridge file.");
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        Report(MessageIcon::Stop, std::string("Korvane can't ") + action + " " + Quoted(path) +
                                      ": it is not a regular file.");
        return false;
    }
    return true;
}

bool CKorvaneDoc::IsReadOnly(const std::string& path) {
    struct stat info {};
    // We may run with every right, so the owner's write bit decides, not whether an open for
    // writing would succeed.
    if (::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0) {
        Report(MessageIcon::Stop, kReadOnlyMessage);
        return true;
    }
    return false;
}

bool CKorvaneDoc::OnOpenDocument(const std::string& path) {
    if (!CheckCartridgeFile(path, "open") || IsReadOnly(path)) {
        return false;
    }
    FileDescriptor file(::open(path.c_str(), O_RDWR | O_CLOEXEC)); // never created
    if (!file.valid()) {
        const int error = errno;
        Report(MessageIcon::Stop, IsAccessDenied(error) ? std::string(kReadOnlyMessage)
                                                        : "Korvane can't open " + Quoted(path) +
                                                              ": " + Reason(error) + ".");
        return false;
    }

    // Read into fresh buffers; the document's image and model change only once the whole file
    // has been read.
    auto newImage = std::make_unique<RomImage>();
    std::vector<std::uint8_t> newTrailing;
    const long long got = ReadFully(file.get(), newImage->data(), RomImage::size());
    if (got < 0 ||
        (got == static_cast<long long>(RomImage::size()) && !ReadToEnd(file.get(), newTrailing))) {
        Report(MessageIcon::Stop,
               "Korvane can't read " + Quoted(path) + ": " + Reason(errno) + ".");
        return false;
    }
    if (got < static_cast<long long>(RomImage::size())) {
        Report(MessageIcon::Stop, "The file " + Quoted(path) + " is too short: it has " +
                                      std::to_string(got) + " bytes, but a cartridge image has " +
                                      std::to_string(RomImage::size()) + " bytes.");
        return false;
    }
    file.Close();

    image_ = std::move(newImage);
    trailing_ = std::move(newTrailing);
    gameData_->Decode(*image_);
    fileLoaded_ = 1;
    path_ = path;
    modified_ = false;
    return true;
}

bool CKorvaneDoc::OnSaveDocument(const std::string& path) {
    long long failAfter = failSaveAfter_;
    failSaveAfter_ = -1;
    if (fileLoaded_ == 0) {
        Report(MessageIcon::Stop, "There is no cartridge to save: open a cartridge file first.");
        return false;
    }
    // Save replaces an existing cartridge file only; it never creates one.
    if (!CheckCartridgeFile(path, "save to")) {
        return false;
    }
    // The image always reflects the model after a save attempt.
    gameData_->Encode(*image_);
    if (IsReadOnly(path)) {
        return false;
    }

    // Write next to the real file (through a symbolic link, the link stays).
    std::error_code resolveError;
    std::filesystem::path target = std::filesystem::canonical(path, resolveError);
    if (resolveError) {
        target = path;
    }
    const std::string targetName = target.string();
    const auto fail = [&](const std::string& why) {
        Report(MessageIcon::Stop, "Korvane can't save " + Quoted(path) + ": " + why +
                                      ". The file was left as it was.");
        return false;
    };

    struct stat info {};
    std::vector<std::uint8_t> fileTrailing;
    {
        FileDescriptor file(::open(targetName.c_str(), O_RDWR | O_CLOEXEC));
        if (!file.valid()) {
            const int error = errno;
            if (IsAccessDenied(error)) {
                Report(MessageIcon::Stop, kReadOnlyMessage);
                return false;
            }
            return fail(Reason(error));
        }
        // The bytes this file holds beyond the image stay behind it.
        if (::fstat(file.get(), &info) != 0 ||
            ::lseek(file.get(), static_cast<off_t>(RomImage::size()), SEEK_SET) < 0 ||
            !ReadToEnd(file.get(), fileTrailing)) {
            return fail(Reason(errno));
        }
    }

    const std::string folder =
        target.parent_path().empty() ? std::string(".") : target.parent_path().string();
    std::string tempName =
        (std::filesystem::path(folder) / ("." + target.filename().string() + ".korvane-XXXXXX"))
            .string();
    FileDescriptor temp(::mkstemp(tempName.data()));
    if (!temp.valid()) {
        return fail("no temporary file can be made in its folder (" + Reason(errno) + ")");
    }
    const auto failAndClean = [&](const std::string& why) {
        if (temp.valid()) {
            temp.Close();
        }
        ::unlink(tempName.c_str());
        return fail(why);
    };

    if (!WriteFully(temp.get(), image_->data(), RomImage::size(), failAfter) ||
        !WriteFully(temp.get(), fileTrailing.data(), fileTrailing.size(), failAfter)) {
        return failAndClean("writing failed (" + Reason(errno) + ")");
    }
    if (::fchmod(temp.get(), info.st_mode & 07777) != 0) {
        return failAndClean("its permissions can't be kept (" + Reason(errno) + ")");
    }
    if (info.st_uid != ::geteuid() || info.st_gid != ::getegid()) {
        // Keeping the owner needs rights we may not have; the content matters more.
        if (::fchown(temp.get(), info.st_uid, info.st_gid) != 0) {
            errno = 0;
        }
    }
    if (::fsync(temp.get()) != 0 || !temp.Close()) {
        return failAndClean("writing failed (" + Reason(errno) + ")");
    }
    if (::rename(tempName.c_str(), targetName.c_str()) != 0) {
        return failAndClean("the new content can't replace it (" + Reason(errno) + ")");
    }
    SyncFolder(folder);

    trailing_ = std::move(fileTrailing);
    fileLoaded_ = 1;
    path_ = path;
    modified_ = false;
    return true;
}

} // namespace korvane
