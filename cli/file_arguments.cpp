#include "file_arguments.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "files/file_descriptor.h"

namespace ostrac::cli {

namespace {

std::string failure(const std::string& path) {
    // Without waiting for a writer when the file is a FIFO.
    const files::FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) return std::strerror(errno);
    struct stat status {};
    if (::fstat(fd.get(), &status) == 0 && S_ISDIR(status.st_mode)) return std::strerror(EISDIR);
    return {};
}

}  // namespace

std::string load_name(const std::string& file) { return file == "-" ? "/dev/stdin" : file; }

std::string open_failure(const std::string& name, const std::filesystem::path& home) {
    const std::string as_given = failure(name);
    if (as_given.empty() || failure(home.string() + "/" + name).empty()) return {};
    return as_given;
}

}  // namespace ostrac::cli
