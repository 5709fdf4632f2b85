#include "core/text/file_writer.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <clocale>
#include <cstring>
#include <fstream>
#include <vector>

namespace wachtrix {
namespace {

std::string Directory(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a chain of symbolic links ends at, whether or not it exists yet.
bool FollowLinks(std::string& path, std::string& error) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
        std::vector<char> target(static_cast<std::size_t>(PATH_MAX) + 1);
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size() - 1);
        if (length < 0) {
            error = SystemErrorText(errno);
            return false;
        }
        const std::string next(target.data(), static_cast<std::size_t>(length));
        path = next.starts_with('/') ? next : Directory(path) + "/" + next;
    }
    error = SystemErrorText(ELOOP);
    return false;
}

// Writes all of the bytes, retrying after interruptions and short writes.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string WriteDirectly(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return SystemErrorText(errno);
    const bool written = WriteAll(fd, bytes);
    const int error = errno;
    ::close(fd);
    return written ? std::string() : SystemErrorText(error);
}

// 0666 less the process's umask, read without changing it (umask() would, for a moment, for
// every thread).
mode_t NewFileMode() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Umask:", 0) == 0)
            return 0666 & ~static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    return 0644;
}

}  // namespace

std::string SystemErrorText(int error) {
    static const locale_t english = ::newlocale(LC_ALL_MASK, "C", locale_t{});
    return english ? ::strerror_l(error, english) : std::strerror(error);
}

std::string WriteToDescriptor(int fd, std::string_view bytes) {
    return WriteAll(fd, bytes) ? std::string() : SystemErrorText(errno);
}

std::string WriteFileSafely(const std::string& given, std::string_view bytes) {
    if (given.empty()) return "no file name";
    std::string path = given, error;
    if (!FollowLinks(path, error)) return error;

    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) return SystemErrorText(EISDIR);
    if (exists && !S_ISREG(info.st_mode)) return WriteDirectly(path, bytes);

    std::string temporary = Directory(path) + "/." + BaseName(path) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);  // O_CREAT | O_EXCL, mode 0600
    if (fd < 0) return SystemErrorText(errno);
    const mode_t mode = exists ? (info.st_mode & 07777) : NewFileMode();
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0 && ::fchmod(fd, mode) == 0;
    int failure = errno;
    if (ok && exists && ::geteuid() == 0) {
        // Root keeps the owner of the file it replaces.
        ok = ::fchown(fd, info.st_uid, info.st_gid) == 0;
        failure = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return SystemErrorText(failure);
    }
    return {};
}

}  // namespace wachtrix
