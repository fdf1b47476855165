// CDialog as clients see it: each member of _CDialog calls the core member of the same name.
#include "dialogs/dialog.h"

#include "com/classes.h"
#include "com/idl.h"
#include "com/object.h"

namespace brv::com {
namespace {

class CDialogCom final : public Dispatch<_CDialog> {
  public:
    using Dispatch::Dispatch;

    STDMETHODIMP get_CancelError(VARIANT_BOOL* result) override {
        return call(&CDialog::get_CancelError, result);
    }
    STDMETHODIMP put_CancelError(VARIANT_BOOL vNewValue) override {
        return call(&CDialog::let_CancelError, vNewValue);
    }
    STDMETHODIMP get_Flags(kupEnumCDialogFlags* result) override {
        return call(&CDialog::get_Flags, result);
    }
    STDMETHODIMP put_Flags(kupEnumCDialogFlags vNewValue) override {
        return call(&CDialog::let_Flags, vNewValue);
    }
    STDMETHODIMP get_Tag(BSTR* result) override { return call(&CDialog::get_Tag, result); }
    STDMETHODIMP put_Tag(BSTR vNewValue) override { return call(&CDialog::let_Tag, vNewValue); }
    STDMETHODIMP get_HelpFile(BSTR* result) override {
        return call(&CDialog::get_HelpFile, result);
    }
    STDMETHODIMP put_HelpFile(BSTR vNewValue) override {
        return call(&CDialog::let_HelpFile, vNewValue);
    }
    STDMETHODIMP get_HelpCommand(LONG* result) override {
        return call(&CDialog::get_HelpCommand, result);
    }
    STDMETHODIMP put_HelpCommand(LONG vNewValue) override {
        return call(&CDialog::let_HelpCommand, vNewValue);
    }
    STDMETHODIMP get_HelpContext(LONG* result) override {
        return call(&CDialog::get_HelpContext, result);
    }
    STDMETHODIMP put_HelpContext(LONG vNewValue) override {
        return call(&CDialog::let_HelpContext, vNewValue);
    }
    STDMETHODIMP get_HelpKey(BSTR* result) override { return call(&CDialog::get_HelpKey, result); }
    STDMETHODIMP put_HelpKey(BSTR vNewValue) override {
        return call(&CDialog::let_HelpKey, vNewValue);
    }
    STDMETHODIMP get_DialogTitle(BSTR* result) override {
        return call(&CDialog::get_DialogTitle, result);
    }
    STDMETHODIMP put_DialogTitle(BSTR vNewValue) override {
        return call(&CDialog::let_DialogTitle, vNewValue);
    }
    STDMETHODIMP get_Filename(BSTR* result) override {
        return call(&CDialog::get_Filename, result);
    }
    STDMETHODIMP put_Filename(BSTR vNewValue) override {
        return call(&CDialog::let_Filename, vNewValue);
    }
    STDMETHODIMP get_FileTitle(BSTR* result) override {
        return call(&CDialog::get_FileTitle, result);
    }
    STDMETHODIMP put_FileTitle(BSTR vNewValue) override {
        return call(&CDialog::let_FileTitle, vNewValue);
    }
    STDMETHODIMP get_InitDir(BSTR* result) override { return call(&CDialog::get_InitDir, result); }
    STDMETHODIMP put_InitDir(BSTR vNewValue) override {
        return call(&CDialog::let_InitDir, vNewValue);
    }
    STDMETHODIMP get_FilterIndex(short* result) override {
        return call(&CDialog::get_FilterIndex, result);
    }
    STDMETHODIMP put_FilterIndex(short vNewValue) override {
        return call(&CDialog::let_FilterIndex, vNewValue);
    }
    STDMETHODIMP get_DefaultExt(BSTR* result) override {
        return call(&CDialog::get_DefaultExt, result);
    }
    STDMETHODIMP put_DefaultExt(BSTR vNewValue) override {
        return call(&CDialog::let_DefaultExt, vNewValue);
    }
    STDMETHODIMP get_MaxFileSize(short* result) override {
        return call(&CDialog::get_MaxFileSize, result);
    }
    STDMETHODIMP put_MaxFileSize(short vNewValue) override {
        return call(&CDialog::let_MaxFileSize, vNewValue);
    }
    STDMETHODIMP get_CustomFilter(BSTR* result) override {
        return call(&CDialog::get_CustomFilter, result);
    }
    STDMETHODIMP put_CustomFilter(BSTR vNewValue) override {
        return call(&CDialog::let_CustomFilter, vNewValue);
    }
    STDMETHODIMP get_CustomFilterFilespec(BSTR* result) override {
        return call(&CDialog::get_CustomFilterFilespec, result);
    }
    STDMETHODIMP put_CustomFilterFilespec(BSTR vNewValue) override {
        return call(&CDialog::let_CustomFilterFilespec, vNewValue);
    }
    STDMETHODIMP get_Error(short* result) override { return call(&CDialog::get_Error, result); }
    STDMETHODIMP put_Error(short vNewValue) override {
        return call(&CDialog::let_Error, vNewValue);
    }
    STDMETHODIMP put_Action(short* newValue) override {
        return call(&CDialog::let_Action, newValue);
    }
    STDMETHODIMP get_MultiSelect(short* result) override {
        return call(&CDialog::get_MultiSelect, result);
    }
    STDMETHODIMP put_MultiSelect(short* newValue) override {
        return call(&CDialog::let_MultiSelect, newValue);
    }
    STDMETHODIMP get_FileNameDefaultFilter(BSTR* result) override {
        return call(&CDialog::get_FileNameDefaultFilter, result);
    }
    STDMETHODIMP get_Filter(BSTR* result) override { return call(&CDialog::get_Filter, result); }
    STDMETHODIMP put_Filter(BSTR* newValue) override {
        return call(&CDialog::let_Filter, newValue);
    }
    STDMETHODIMP AddFilter(BSTR* Description, BSTR* filespec, VARIANT* defaultFilter) override {
        return call(&CDialog::AddFilter, Description, filespec, defaultFilter);
    }
    STDMETHODIMP get_FileReadOnly(short* result) override {
        return call(&CDialog::get_FileReadOnly, result);
    }
    STDMETHODIMP put_FileReadOnly(short* newValue) override {
        return call(&CDialog::let_FileReadOnly, newValue);
    }
    STDMETHODIMP get_FileMustExist(short* result) override {
        return call(&CDialog::get_FileMustExist, result);
    }
    STDMETHODIMP put_FileMustExist(short* newValue) override {
        return call(&CDialog::let_FileMustExist, newValue);
    }
    STDMETHODIMP get_FileMustBeWriteable(VARIANT_BOOL* result) override {
        return call(&CDialog::get_FileMustBeWriteable, result);
    }
    STDMETHODIMP put_FileMustBeWriteable(VARIANT_BOOL* newValue) override {
        return call(&CDialog::let_FileMustBeWriteable, newValue);
    }
    STDMETHODIMP AddDefaultFilters(VARIANT* ctrl) override {
        return call(&CDialog::AddDefaultFilters, ctrl);
    }
    STDMETHODIMP get_SelectedFileCount(short* result) override {
        return call(&CDialog::get_SelectedFileCount, result);
    }
    STDMETHODIMP get_SelectedFile(short Index, BSTR* result) override {
        return call(&CDialog::get_SelectedFile, Index, result);
    }
    STDMETHODIMP ShowOpen(IDispatch** target, VARIANT_BOOL* result) override {
        return call(&CDialog::ShowOpen, target, result);
    }
    STDMETHODIMP ShowSave(IDispatch** target, VARIANT_BOOL* result) override {
        return call(&CDialog::ShowSave, target, result);
    }
    STDMETHODIMP SaveFrom(IDispatch** target) override { return call(&CDialog::SaveFrom, target); }
    STDMETHODIMP LoadInto(IDispatch** target) override { return call(&CDialog::LoadInto, target); }
};

}  // namespace

BREVANTO_BIND_CLASS(CDialog, CDialogCom)

}  // namespace brv::com
