#include "files/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>
#include <utility>

namespace ostrac::files {

namespace {

namespace fs = std::filesystem;

// As many links as the system follows in one path.
constexpr int max_links = 40;
// Names tried for the temporary before giving up: each one is taken only
// when nothing at all is there.
constexpr int max_names = 100;

std::string reason(int error) { return std::generic_category().message(error); }

// The file `path` names once every symbolic link is followed, or the place a
// new file will take. Empty with `error` set when the links cannot be read.
fs::path follow_links(fs::path path, std::string& error) {
    for (int followed = 0;; ++followed) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno == ENOENT) return path;
            error = reason(errno);
            return {};
        }
        if (!S_ISLNK(st.st_mode)) return path;
        std::error_code ec;
        const fs::path link = fs::read_symlink(path, ec);
        if (ec || followed == max_links) {
            error = ec ? ec.message() : reason(ELOOP);
            return {};
        }
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
}

// "<target>.tmp-" and eight random letters and digits.
fs::path temporary_name(const fs::path& target) {
    static constexpr std::string_view symbols =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::string suffix = ".tmp-";
    for (int i = 0; i < 8; ++i) suffix += symbols[random() % symbols.size()];
    fs::path name = target;
    name += suffix;
    return name;
}

fs::path folder_of(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

}  // namespace

FileReplacement::FileReplacement(const fs::path& target) {
    target_ = follow_links(target, error_);
    if (!ok()) return;
    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        fail("it is not a regular file");
        return;
    }
    if (exists && ((st.st_mode & 0222) == 0 || ::access(target_.c_str(), W_OK) != 0)) {
        fail("the file is read-only");
        return;
    }
    // O_EXCL takes a name only when nothing is there, not even a link, so a
    // file planted under the name can be neither followed nor reused.
    for (int attempt = 0; attempt < max_names && !fd_; ++attempt) {
        fs::path candidate = temporary_name(target_);
        const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
        fd_ = FileDescriptor(::open(candidate.c_str(), flags, 0666));
        if (fd_) {
            temporary_ = std::move(candidate);
        } else if (errno != EEXIST) {
            fail("no temporary file can be made in " + folder_of(target_).string() + ": " + reason(errno));
            return;
        }
    }
    if (!fd_) {
        fail("no free name for a temporary file in " + folder_of(target_).string());
        return;
    }
    if (exists && ::fchmod(fd_.get(), st.st_mode & 07777) != 0) {
        fail("the file's mode cannot be kept: " + reason(errno));
    }
}

FileReplacement::~FileReplacement() {
    if (!temporary_.empty() && !committed_) ::unlink(temporary_.c_str());
}

bool FileReplacement::fail(std::string what) {
    if (error_.empty()) error_ = std::move(what);
    return false;
}

bool FileReplacement::write(std::span<const std::byte> bytes) {
    while (ok() && !bytes.empty()) {
        const ::ssize_t n = ::write(fd_.get(), bytes.data(), bytes.size());
        if (n >= 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(n));
        } else if (errno != EINTR) {
            fail("writing failed: " + reason(errno));
        }
    }
    return ok();
}

bool FileReplacement::commit() {
    if (!ok()) return false;
    if (::fsync(fd_.get()) != 0 || !fd_.close()) return fail("writing failed: " + reason(errno));
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        return fail("the file cannot be replaced: " + reason(errno));
    }
    committed_ = true;
    // The new name reaches the disk with its folder.
    const FileDescriptor folder(::open(folder_of(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder) ::fsync(folder.get());
    return true;
}

std::string replace_file(const fs::path& target, std::string_view contents) {
    FileReplacement file(target);
    file.write(contents);
    file.commit();
    return file.error();
}

}  // namespace ostrac::files
