// clang-format off
#include <windows.h>  // before the dialog and OLE headers, which need its types
#include <commdlg.h>
#include <ocidl.h>
#include <olectl.h>
// clang-format on

#include <cstddef>

#include "frame/error.h"
#include "platform/host.h"
#include "platform/windows/winapi.h"

namespace brv::platform {

namespace {

// The request without the later extension fields: the dialog refuses any other size. That is
// 76 bytes in a 32-bit process and 136 in a 64-bit one, where the pointers are wider.
constexpr DWORD kRequestSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(kRequestSize == (sizeof(void*) == 8 ? 136 : 76));

OPENFILENAMEA toSystem(const FileDialogRequest& r) {
    OPENFILENAMEA o{};
    o.lStructSize = kRequestSize;
    o.lpstrFilter = r.filter;
    o.lpstrCustomFilter = r.customFilter;
    o.nMaxCustFilter = r.maxCustomFilter;
    o.nFilterIndex = r.filterIndex;
    o.lpstrFile = r.file;
    o.nMaxFile = r.maxFile;
    o.lpstrInitialDir = r.initialDir;
    o.lpstrTitle = r.title;
    o.Flags = r.flags;
    o.lpstrDefExt = r.defaultExt;
    return o;
}

// Shows one of the two dialogs and copies back what it answers in the structure itself; the
// buffers it wrote are the caller's own.
template <typename Dialog>
int showDialog(const Dialog& dialog, FileDialogRequest& request) {
    OPENFILENAMEA o = toSystem(request);
    const int answer = dialog(&o);
    request.filterIndex = o.nFilterIndex;
    request.flags = o.Flags;
    return answer;
}

// A picture the system made: clients receive its own interface.
class SystemPicture final : public SystemObject {
  public:
    explicit SystemPicture(IDispatch* picture) : picture_(picture) {}
    ~SystemPicture() override { picture_->Release(); }
    SystemPicture(const SystemPicture&) = delete;
    SystemPicture& operator=(const SystemPicture&) = delete;
    void* system() const override { return picture_; }
    Variant invoke(StringView, CallKind, std::span<Variant>) override { raise(err::NoSuchMember); }

  private:
    IDispatch* picture_;
};

}  // namespace

int HostDialogs::getOpenFileName(FileDialogRequest& request) const {
    BRV_WINAPI("comdlg32.dll", GetOpenFileNameA);
    return showDialog(GetOpenFileNameA_, request);
}

int HostDialogs::getSaveFileName(FileDialogRequest& request) const {
    BRV_WINAPI("comdlg32.dll", GetSaveFileNameA);
    return showDialog(GetSaveFileNameA_, request);
}

uint32_t HostDialogs::extendedError() const {
    BRV_WINAPI("comdlg32.dll", CommDlgExtendedError);
    return CommDlgExtendedError_();
}

uint32_t HostDialogs::version() const {
    BRV_WINAPI("kernel32", GetVersion);
    return GetVersion_();
}

String HostDialogs::currentDirectory() const {
    BRV_WINAPI("kernel32", GetCurrentDirectoryW);
    const DWORD size = GetCurrentDirectoryW_(0, nullptr);
    std::wstring buffer(size, L'\0');
    const DWORD length = GetCurrentDirectoryW_(size, buffer.data());
    if (length == 0 || length >= size) return String();
    return String(buffer.begin(), buffer.begin() + length);
}

ObjectRef HostDialogs::loadPicture(StringView path) const {
    BRV_WINAPI("oleaut32.dll", OleLoadPicturePath);
    std::wstring wide(path.begin(), path.end());
    IDispatch* picture = nullptr;
    const HRESULT hr = OleLoadPicturePath_(wide.data(), nullptr, 0, 0, IID_IPictureDisp,
                                           reinterpret_cast<void**>(&picture));
    if (SUCCEEDED(hr) && picture) return std::make_shared<SystemPicture>(picture);
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) raise(HRESULT_CODE(hr));
    switch (HRESULT_CODE(hr)) {
        case ERROR_FILE_NOT_FOUND:
            raise(err::FileNotFound);
        case ERROR_PATH_NOT_FOUND:
            raise(err::PathNotFound);
        case ERROR_ACCESS_DENIED:
            raise(err::PermissionDenied);
        default:
            raise(err::InvalidPicture);
    }
}

}  // namespace brv::platform
