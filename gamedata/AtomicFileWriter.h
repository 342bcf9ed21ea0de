#pragma once

#include "FileDescriptor.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace korvane {

// Replaces a file whole, so that a failure at any point leaves it as it was: the new content
// goes into a temporary file in the same folder, made under a name of its own with exclusive
// creation (so that nothing already standing there, a symbolic link included, is ever
// followed), is flushed to the disk and is then renamed over the file.
//
// An existing file must be a regular file whose owner may write it, and that Korvane can open
// for writing; a symbolic link is followed and stays a link to the replaced file. The new file
// keeps the old one's permissions and, where allowed, its owner. Anything else at the path (a
// folder, a device, a named pipe) is refused and left untouched. A file that does not exist
// yet is refused or, when the writer is made for that, created with ordinary permissions
// (0666 less the umask).
//
// Every refusal and failure is described by message(), in the words the document shows.
class AtomicFileWriter {
public:
    enum class Target {
        Existing,      // only an existing file is replaced (the document's Save)
        NewOrExisting, // a missing file is created (Save As, the command-line tool's output)
    };
    // What Check found at the path.
    enum class TargetState {
        Existing,   // a regular file that may be replaced
        New,        // nothing there yet, and the writer may create it
        Missing,    // nothing there, and the writer may not create it
        Unusable,   // a folder, a device, a named pipe, or a path the system can't look at
        ReadOnly,   // the owner has no write permission
        Unwritable, // the file can't be opened for writing (the reason is in the message)
    };

    AtomicFileWriter(std::string path, Target target);

    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Looks at the path once (later calls give the same answer); nothing is written. On a
    // refusal message() says why.
    TargetState Check();
    // Whether Check found a file that may be replaced or created.
    bool writable() { return Check() == TargetState::Existing || Check() == TargetState::New; }

    // The bytes the existing file holds from offset to its end (none for a new file).
    bool ReadExistingTail(std::size_t offset, std::vector<std::uint8_t>& out);

    // Writes the parts one after the other as the file's new content. On failure the file is as
    // it was, no temporary file is left and message() says why.
    bool Write(std::initializer_list<std::span<const std::uint8_t>> parts);

    // The message of the last refusal or failure.
    const std::string& message() const { return message_; }
    // The file the content lands in: the path with its symbolic links followed.
    const std::string& resolvedPath() const { return resolved_; }

    // Test seam: the write fails after this many bytes of the temporary file, as on a full
    // disk. A negative value turns it off.
    void FailAfterBytesForTesting(long long bytes) { failAfterBytes_ = bytes; }

private:
    TargetState Refuse(TargetState state, std::string message);
    bool Fail(const std::string& why);

    std::string path_;
    Target target_;
    bool checked_ = false;
    TargetState state_ = TargetState::Missing;
    std::string resolved_;
    struct stat info_ {};
    FileDescriptor existing_;
    std::string message_;
    long long failAfterBytes_ = -1;
};

} // namespace korvane
