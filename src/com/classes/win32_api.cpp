// Win32API as clients see it: each member of _Win32API calls the core member of the same name.
#include "system/win32_api.h"

#include "com/classes.h"
#include "com/idl.h"
#include "com/object.h"

namespace brv::com {
namespace {

class Win32APICom final : public Dispatch<_Win32API> {
  public:
    using Dispatch::Dispatch;

    STDMETHODIMP GetMachineName(BSTR* result) override {
        return call(&Win32API::GetMachineName, result);
    }
    STDMETHODIMP GetFolderWindows(BSTR* result) override {
        return call(&Win32API::GetFolderWindows, result);
    }
    STDMETHODIMP GetFolderSystem(BSTR* result) override {
        return call(&Win32API::GetFolderSystem, result);
    }
    STDMETHODIMP GetFolderTemp(BSTR* result) override {
        return call(&Win32API::GetFolderTemp, result);
    }
    STDMETHODIMP GetFolderCurrent(BSTR* result) override {
        return call(&Win32API::GetFolderCurrent, result);
    }
    STDMETHODIMP GetUNCPath(BSTR* strDriveLetter, BSTR* strServer, BSTR* strShare,
                            VARIANT_BOOL* result) override {
        return call(&Win32API::GetUNCPath, strDriveLetter, strServer, strShare, result);
    }
    STDMETHODIMP GetDriveType(BSTR DriveLetter, kupEnumDriveType* DriveType,
                              BSTR* result) override {
        return call(&Win32API::GetDriveType, DriveLetter, DriveType, result);
    }
    STDMETHODIMP GetCurrentWindowsUser(BSTR* result) override {
        return call(&Win32API::GetCurrentWindowsUser, result);
    }
    STDMETHODIMP FileOperation(LONG* hwnd, kupEnumFileOperation* Operation, BSTR* OperateFrom,
                               BSTR* OperateTo, kupEnumFileOperationFlags* Flags,
                               VARIANT_BOOL* result) override {
        return call(&Win32API::FileOperation, hwnd, Operation, OperateFrom, OperateTo, Flags,
                    result);
    }
    STDMETHODIMP GetFileAssociation(BSTR* Filename, BSTR* result) override {
        return call(&Win32API::GetFileAssociation, Filename, result);
    }
    STDMETHODIMP StripTerminator(BSTR StringToStrip, BSTR* result) override {
        return call(&Win32API::StripTerminator, StringToStrip, result);
    }
    STDMETHODIMP ExecuteFile(BSTR Filename, LONG hwnd, kupEnumShowWindow ShowMode,
                             kupEnumExecuteOperation ExecuteOperation, BSTR CommandParameters,
                             BSTR DefaultDirectory, LONG* result) override {
        return call(&Win32API::ExecuteFile, Filename, hwnd, ShowMode, ExecuteOperation,
                    CommandParameters, DefaultDirectory, result);
    }
    STDMETHODIMP GetDesktopWindowHandle(LONG* result) override {
        return call(&Win32API::GetDesktopWindowHandle, result);
    }
};

}  // namespace

BREVANTO_BIND_CLASS(Win32API, Win32APICom)

}  // namespace brv::com
