// Writing a file safely. The new contents go to a temporary file created
// beside the target under a unique name, exclusively and without following
// any link planted there; they are flushed to disk and the temporary is
// renamed over the target in one step. Readers and other writers therefore
// always find one complete version, the old one or a new one, and a save that
// fails leaves the old file as it was.
//
// The target keeps what its owner gave it: a symbolic link is followed and
// the file it names is replaced (the link stays a link), an existing file's
// mode is kept, and a new file gets the usual 0666 less the umask. An existing
// target that is read-only (no write permission bit, or none for this user)
// or that is not a regular file is refused and left alone.
#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "files/file_descriptor.h"

namespace ostrac::files {

class FileReplacement {
public:
    // Prepares the replacement of `target`: checks it and creates the
    // temporary. When that fails, ok() is false and error() says why.
    explicit FileReplacement(const std::filesystem::path& target);
    // Removes the temporary unless it was committed.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    // Appends to the new contents; false once anything has failed.
    bool write(std::span<const std::byte> bytes);
    bool write(std::string_view text) { return write(std::as_bytes(std::span(text))); }

    // Flushes the new contents to disk and puts them in the target's place;
    // false when anything has failed.
    bool commit();

private:
    bool fail(std::string what);

    std::filesystem::path target_;     // the file replaced, links followed
    std::filesystem::path temporary_;  // empty until created
    FileDescriptor fd_;
    bool committed_ = false;
    std::string error_;
};

// Replaces `target` with `contents` at once; "" when done, else why not.
std::string replace_file(const std::filesystem::path& target, std::string_view contents);

}  // namespace ostrac::files
