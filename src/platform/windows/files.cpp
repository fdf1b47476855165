// Numbered-file backend over Win32 file handles, with the runtime's error numbers.
#include <windows.h>

#include "frame/error.h"
#include "platform/host.h"
#include "platform/windows/winapi.h"

namespace brv::platform {

namespace {

class WinFile final : public File {
  public:
    explicit WinFile(HANDLE h) : h_(h) {}
    ~WinFile() override {
        BRV_WINAPI("kernel32", CloseHandle);
        CloseHandle_(h_);
    }

    std::string read(std::size_t maxBytes) override {
        BRV_WINAPI("kernel32", ReadFile);
        std::string out(maxBytes, '\0');
        std::size_t got = 0;
        while (got < maxBytes) {
            DWORD n = 0;
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(maxBytes - got, 1u << 30));
            if (!ReadFile_(h_, out.data() + got, want, &n, nullptr)) raise(err::DeviceIoError);
            if (n == 0) break;
            got += n;
        }
        out.resize(got);
        return out;
    }

    void write(std::string_view bytes) override {
        BRV_WINAPI("kernel32", WriteFile);
        std::size_t done = 0;
        while (done < bytes.size()) {
            DWORD n = 0;
            const DWORD want =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
            if (!WriteFile_(h_, bytes.data() + done, want, &n, nullptr)) raise(err::DeviceIoError);
            done += n;
        }
    }

    int64_t length() override {
        BRV_WINAPI("kernel32", GetFileSizeEx);
        LARGE_INTEGER size{};
        if (!GetFileSizeEx_(h_, &size)) raise(err::DeviceIoError);
        return size.QuadPart;
    }

    bool atEnd() override {
        BRV_WINAPI("kernel32", SetFilePointerEx);
        LARGE_INTEGER zero{}, pos{};
        if (!SetFilePointerEx_(h_, zero, &pos, FILE_CURRENT)) return true;
        return pos.QuadPart >= length();
    }

  private:
    HANDLE h_;
};

bool isDirectory(const String& path) {
    BRV_WINAPI("kernel32", GetFileAttributesW);
    const DWORD a = GetFileAttributesW_(wideChars(path));
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

[[noreturn]] void raiseFileError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            raise(err::FileNotFound);
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            raise(err::PathNotFound);
        case ERROR_INVALID_DRIVE:
        case ERROR_NOT_READY:
        case ERROR_DEV_NOT_EXIST:
            raise(err::DeviceUnavailable);
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            raise(err::PermissionDenied);
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BAD_PATHNAME:
            raise(err::BadFileNameOrNumber);
        case ERROR_TOO_MANY_OPEN_FILES:
            raise(err::TooManyFiles);
        default:
            raise(err::PathFileAccess);
    }
}

bool badName(StringView path) {
    return path.empty() || path.find(u'\0') != StringView::npos;
}

}  // namespace

std::unique_ptr<File> HostFileSystem::open(StringView path, OpenMode mode) const {
    BRV_WINAPI("kernel32", CreateFileW);
    BRV_WINAPI("kernel32", GetLastError);
    BRV_WINAPI("kernel32", SetFilePointerEx);
    if (path.empty()) raise(err::PathFileAccess);
    if (path.find_first_of(u"*?\"<>|\0", 0, 7) != StringView::npos) raise(err::BadFileNameOrNumber);
    const String p(path);
    if (isDirectory(p)) raise(err::PathFileAccess);
    const DWORD access = mode == OpenMode::Input ? GENERIC_READ : GENERIC_WRITE;
    // The runtime's Open without a lock clause lets others read and write alongside.
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    const DWORD disposition = mode == OpenMode::Input    ? OPEN_EXISTING
                              : mode == OpenMode::Output ? CREATE_ALWAYS
                                                         : OPEN_ALWAYS;
    HANDLE h = CreateFileW_(wideChars(p), access, share, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        auto file = std::make_unique<WinFile>(h);
        if (mode == OpenMode::Append) {
            LARGE_INTEGER zero{};
            SetFilePointerEx_(h, zero, nullptr, FILE_END);
        }
        return file;
    }
    raiseFileError(GetLastError_());
}

void HostFileSystem::makeFolder(StringView path) const {
    BRV_WINAPI("kernel32", CreateDirectoryW);
    BRV_WINAPI("kernel32", GetLastError);
    if (badName(path)) raise(err::BadFileNameOrNumber);
    const String p(path);
    if (CreateDirectoryW_(wideChars(p), nullptr)) return;
    const DWORD error = GetLastError_();
    // Wine answers "file not found" for a drive that does not exist.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_INVALID_DRIVE) raise(err::PathNotFound);
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) raise(err::PathFileAccess);
    raiseFileError(error);
}

std::optional<String> HostFileSystem::firstEntry(StringView pattern) const {
    BRV_WINAPI("kernel32", FindFirstFileW);
    BRV_WINAPI("kernel32", FindClose);
    BRV_WINAPI("kernel32", FindNextFileW);
    BRV_WINAPI("kernel32", GetLastError);
    if (pattern.find(u'\0') != StringView::npos) raise(err::BadFileNameOrNumber);
    const String p(pattern);
    WIN32_FIND_DATAW data{};
    HANDLE h = FindFirstFileW_(wideChars(p), &data);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError_();
        if (e == ERROR_INVALID_NAME || e == ERROR_BAD_PATHNAME) raise(err::BadFileNameOrNumber);
        return std::nullopt;
    }
    const std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> search(h, FindClose_.get());
    // The directory attribute adds folders to a listing; hidden and system entries stay out.
    constexpr DWORD kLeftOut = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if (!(data.dwFileAttributes & kLeftOut)) return fromWide(data.cFileName);
    } while (FindNextFileW_(h, &data));
    return std::nullopt;
}

bool HostFileSystem::createNewFile(StringView path) const {
    BRV_WINAPI("kernel32", CreateFileW);
    BRV_WINAPI("kernel32", CloseHandle);
    BRV_WINAPI("kernel32", GetLastError);
    if (badName(path)) raise(err::BadFileNameOrNumber);
    const String p(path);
    HANDLE h = CreateFileW_(wideChars(p), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle_(h);
        return true;
    }
    const DWORD error = GetLastError_();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return false;
    raiseFileError(error);
}

void HostFileSystem::deleteFile(StringView path) const {
    BRV_WINAPI("kernel32", DeleteFileW);
    BRV_WINAPI("kernel32", GetLastError);
    if (badName(path)) raise(err::BadFileNameOrNumber);
    const String p(path);
    if (DeleteFileW_(wideChars(p))) return;
    const DWORD error = GetLastError_();
    if (error == ERROR_ACCESS_DENIED) raise(err::PathFileAccess);  // read-only, or a folder
    raiseFileError(error);
}

}  // namespace brv::platform
