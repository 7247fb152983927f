// An open POSIX file descriptor that closes itself: the engine's file
// reading and writing go below the standard streams where they must decide
// how a file is opened (never following a link, never waiting on a FIFO).
#pragma once

#include <unistd.h>

#include <utility>

namespace ostrac::files {

class FileDescriptor {
public:
    FileDescriptor() = default;
    // Takes `fd` as returned by open(); a negative value holds nothing.
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    explicit operator bool() const { return fd_ >= 0; }
    int get() const { return fd_; }

    // Closes now; false when close() reports an error (a write that did not
    // reach the file).
    bool close() { return fd_ < 0 || ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_ = -1;
};

}  // namespace ostrac::files
