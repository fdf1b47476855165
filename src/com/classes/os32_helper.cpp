// OS32Helper as clients see it: each member of _OS32Helper calls the core member of the same name.
#include "system/os32_helper.h"

#include "com/classes.h"
#include "com/idl.h"
#include "com/object.h"

namespace brv::com {
namespace {

class OS32HelperCom final : public Dispatch<_OS32Helper> {
  public:
    using Dispatch::Dispatch;

    STDMETHODIMP FileNameNoPath(BSTR FullName, BSTR* result) override {
        return call(&OS32Helper::FileNameNoPath, FullName, result);
    }
    STDMETHODIMP PathNameNoFile(BSTR FullName, BSTR* result) override {
        return call(&OS32Helper::PathNameNoFile, FullName, result);
    }
    STDMETHODIMP MakeDirectory(BSTR Folder, VARIANT_BOOL* result) override {
        return call(&OS32Helper::MakeDirectory, Folder, result);
    }
    STDMETHODIMP AddDirectorySeparator(BSTR PathName, BSTR* result) override {
        return call(&OS32Helper::AddDirectorySeparator, PathName, result);
    }
    STDMETHODIMP IsValidFolder(BSTR* strFolderPath, VARIANT_BOOL* result) override {
        return call(&OS32Helper::IsValidFolder, strFolderPath, result);
    }
    STDMETHODIMP IsValidFilePath(BSTR* Filename, VARIANT_BOOL* result) override {
        return call(&OS32Helper::IsValidFilePath, Filename, result);
    }
    STDMETHODIMP WriteAccess(BSTR strDirName, VARIANT_BOOL* result) override {
        return call(&OS32Helper::WriteAccess, strDirName, result);
    }
    STDMETHODIMP StandardErrorMessage(BSTR* ProcedureName, LONG* ErrNumber, BSTR* ErrorDescription,
                                      BSTR* OptionalDescription) override {
        return call(&OS32Helper::StandardErrorMessage, ProcedureName, ErrNumber, ErrorDescription,
                    OptionalDescription);
    }
};

}  // namespace

BREVANTO_BIND_CLASS(OS32Helper, OS32HelperCom)

}  // namespace brv::com
