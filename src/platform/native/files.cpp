// Native numbered-file backend over POSIX descriptors, with the runtime's error numbers.
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "frame/error.h"
#include "platform/host.h"

namespace brv::platform {

namespace {

class PosixFile final : public File {
  public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }

    std::string read(std::size_t maxBytes) override {
        std::string out(maxBytes, '\0');
        std::size_t got = 0;
        while (got < maxBytes) {
            const ssize_t n = ::read(fd_, out.data() + got, maxBytes - got);
            if (n < 0) raise(err::DeviceIoError);
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        out.resize(got);
        return out;
    }

    void write(std::string_view bytes) override {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n < 0) raise(err::DeviceIoError);
            done += static_cast<std::size_t>(n);
        }
    }

    int64_t length() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) raise(err::DeviceIoError);
        return st.st_size;
    }

    bool atEnd() override {
        const off_t pos = ::lseek(fd_, 0, SEEK_CUR);
        return pos < 0 || pos >= length();
    }

  private:
    int fd_;
};

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string parentOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Raises the runtime's error for a failed open or create of `p`.
[[noreturn]] void raiseOpenError(int error, const std::string& p) {
    switch (error) {
        case ENOENT:
            raise(isDirectory(parentOf(p)) ? err::FileNotFound : err::PathNotFound);
        case ENOTDIR:
            raise(err::PathNotFound);
        case EISDIR:
            raise(err::PathFileAccess);
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            raise(err::PermissionDenied);
        case ENAMETOOLONG:
            raise(err::BadFileNameOrNumber);
        case ENXIO:
        case ENODEV:
            raise(err::DeviceUnavailable);
        case EMFILE:
        case ENFILE:
            raise(err::TooManyFiles);
        default:
            raise(err::PathFileAccess);
    }
}

bool hasNul(StringView path) {
    return path.find(u'\0') != StringView::npos;
}

}  // namespace

std::unique_ptr<File> HostFileSystem::open(StringView path, OpenMode mode) const {
    if (path.empty()) raise(err::PathFileAccess);
    if (path.find_first_of(u"*?\0", 0, 3) != StringView::npos) raise(err::BadFileNameOrNumber);
    const std::string p = toUtf8(path);
    if (isDirectory(p)) raise(err::PathFileAccess);
    int flags = O_CLOEXEC;
    switch (mode) {
        case OpenMode::Input:
            flags |= O_RDONLY;
            break;
        case OpenMode::Output:
            flags |= O_WRONLY | O_CREAT | O_TRUNC;
            break;
        case OpenMode::Append:
            flags |= O_WRONLY | O_CREAT | O_APPEND;
            break;
    }
    const int fd = ::open(p.c_str(), flags, 0666);
    if (fd >= 0) return std::make_unique<PosixFile>(fd);
    raiseOpenError(errno, p);
}

void HostFileSystem::makeFolder(StringView path) const {
    if (path.empty() || hasNul(path)) raise(err::BadFileNameOrNumber);
    const std::string p = toUtf8(path);
    if (::mkdir(p.c_str(), 0777) == 0) return;
    if (errno == EEXIST) raise(err::PathFileAccess);
    if (errno == ENOENT) raise(err::PathNotFound);
    raiseOpenError(errno, p);
}

std::optional<String> HostFileSystem::firstEntry(StringView pattern) const {
    if (hasNul(pattern)) raise(err::BadFileNameOrNumber);
    const std::string p = toUtf8(pattern);
    const auto slash = p.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : p.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
    if (name == "*.*") name = "*";  // as on Windows, where it also matches names without a dot
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return std::nullopt;
    while (const dirent* entry = ::readdir(dir.get())) {
        // A dot-name is a hidden entry here (as Wine shows it), and a listing leaves those out;
        // the folder's own "." and ".." stay.
        const std::string_view n = entry->d_name;
        if (n.size() > 1 && n[0] == '.' && n != "..") continue;
        if (::fnmatch(name.c_str(), entry->d_name, 0) == 0) return fromUtf8(entry->d_name);
    }
    return std::nullopt;
}

bool HostFileSystem::createNewFile(StringView path) const {
    if (path.empty()) raise(err::PathFileAccess);
    if (hasNul(path)) raise(err::BadFileNameOrNumber);
    const std::string p = toUtf8(path);
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    if (errno == EEXIST) return false;
    raiseOpenError(errno, p);
}

void HostFileSystem::deleteFile(StringView path) const {
    if (path.empty() || hasNul(path)) raise(err::BadFileNameOrNumber);
    const std::string p = toUtf8(path);
    if (isDirectory(p)) raise(err::FileNotFound);  // Kill deletes files only
    if (::unlink(p.c_str()) == 0) return;
    raiseOpenError(errno, p);
}

}  // namespace brv::platform
