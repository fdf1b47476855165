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
        return notWired(u"CancelError", result);
    }
    STDMETHODIMP put_CancelError(VARIANT_BOOL vNewValue) override {
        return notWired(u"CancelError", vNewValue);
    }
    STDMETHODIMP get_Flags(kupEnumCDialogFlags* result) override {
        return notWired(u"Flags", result);
    }
    STDMETHODIMP put_Flags(kupEnumCDialogFlags vNewValue) override {
        return notWired(u"Flags", vNewValue);
    }
    STDMETHODIMP get_Tag(BSTR* result) override { return notWired(u"Tag", result); }
    STDMETHODIMP put_Tag(BSTR vNewValue) override { return notWired(u"Tag", vNewValue); }
    STDMETHODIMP get_HelpFile(BSTR* result) override { return notWired(u"HelpFile", result); }
    STDMETHODIMP put_HelpFile(BSTR vNewValue) override { return notWired(u"HelpFile", vNewValue); }
    STDMETHODIMP get_HelpCommand(LONG* result) override { return notWired(u"HelpCommand", result); }
    STDMETHODIMP put_HelpCommand(LONG vNewValue) override {
        return notWired(u"HelpCommand", vNewValue);
    }
    STDMETHODIMP get_HelpContext(LONG* result) override { return notWired(u"HelpContext", result); }
    STDMETHODIMP put_HelpContext(LONG vNewValue) override {
        return notWired(u"HelpContext", vNewValue);
    }
    STDMETHODIMP get_HelpKey(BSTR* result) override { return notWired(u"HelpKey", result); }
    STDMETHODIMP put_HelpKey(BSTR vNewValue) override { return notWired(u"HelpKey", vNewValue); }
    STDMETHODIMP get_DialogTitle(BSTR* result) override { return notWired(u"DialogTitle", result); }
    STDMETHODIMP put_DialogTitle(BSTR vNewValue) override {
        return notWired(u"DialogTitle", vNewValue);
    }
    STDMETHODIMP get_Filename(BSTR* result) override { return notWired(u"Filename", result); }
    STDMETHODIMP put_Filename(BSTR vNewValue) override { return notWired(u"Filename", vNewValue); }
    STDMETHODIMP get_FileTitle(BSTR* result) override { return notWired(u"FileTitle", result); }
    STDMETHODIMP put_FileTitle(BSTR vNewValue) override {
        return notWired(u"FileTitle", vNewValue);
    }
    STDMETHODIMP get_InitDir(BSTR* result) override { return notWired(u"InitDir", result); }
    STDMETHODIMP put_InitDir(BSTR vNewValue) override { return notWired(u"InitDir", vNewValue); }
    STDMETHODIMP get_FilterIndex(short* result) override {
        return notWired(u"FilterIndex", result);
    }
    STDMETHODIMP put_FilterIndex(short vNewValue) override {
        return notWired(u"FilterIndex", vNewValue);
    }
    STDMETHODIMP get_DefaultExt(BSTR* result) override { return notWired(u"DefaultExt", result); }
    STDMETHODIMP put_DefaultExt(BSTR vNewValue) override {
        return notWired(u"DefaultExt", vNewValue);
    }
    STDMETHODIMP get_MaxFileSize(short* result) override {
        return notWired(u"MaxFileSize", result);
    }
    STDMETHODIMP put_MaxFileSize(short vNewValue) override {
        return notWired(u"MaxFileSize", vNewValue);
    }
    STDMETHODIMP get_CustomFilter(BSTR* result) override {
        return notWired(u"CustomFilter", result);
    }
    STDMETHODIMP put_CustomFilter(BSTR vNewValue) override {
        return notWired(u"CustomFilter", vNewValue);
    }
    STDMETHODIMP get_CustomFilterFilespec(BSTR* result) override {
        return notWired(u"CustomFilterFilespec", result);
    }
    STDMETHODIMP put_CustomFilterFilespec(BSTR vNewValue) override {
        return notWired(u"CustomFilterFilespec", vNewValue);
    }
    STDMETHODIMP get_Error(short* result) override { return notWired(u"Error", result); }
    STDMETHODIMP put_Error(short vNewValue) override { return notWired(u"Error", vNewValue); }
    STDMETHODIMP put_Action(short* newValue) override { return notWired(u"Action", newValue); }
    STDMETHODIMP get_MultiSelect(short* result) override {
        return notWired(u"MultiSelect", result);
    }
    STDMETHODIMP put_MultiSelect(short* newValue) override {
        return notWired(u"MultiSelect", newValue);
    }
    STDMETHODIMP get_FileNameDefaultFilter(BSTR* result) override {
        return notWired(u"FileNameDefaultFilter", result);
    }
    STDMETHODIMP get_Filter(BSTR* result) override { return notWired(u"Filter", result); }
    STDMETHODIMP put_Filter(BSTR* newValue) override { return notWired(u"Filter", newValue); }
    STDMETHODIMP AddFilter(BSTR* Description, BSTR* filespec, VARIANT* defaultFilter) override {
        return notWired(u"AddFilter", Description, filespec, defaultFilter);
    }
    STDMETHODIMP get_FileReadOnly(short* result) override {
        return notWired(u"FileReadOnly", result);
    }
    STDMETHODIMP put_FileReadOnly(short* newValue) override {
        return notWired(u"FileReadOnly", newValue);
    }
    STDMETHODIMP get_FileMustExist(short* result) override {
        return notWired(u"FileMustExist", result);
    }
    STDMETHODIMP put_FileMustExist(short* newValue) override {
        return notWired(u"FileMustExist", newValue);
    }
    STDMETHODIMP get_FileMustBeWriteable(VARIANT_BOOL* result) override {
        return notWired(u"FileMustBeWriteable", result);
    }
    STDMETHODIMP put_FileMustBeWriteable(VARIANT_BOOL* newValue) override {
        return notWired(u"FileMustBeWriteable", newValue);
    }
    STDMETHODIMP AddDefaultFilters(VARIANT* ctrl) override {
        return notWired(u"AddDefaultFilters", ctrl);
    }
    STDMETHODIMP get_SelectedFileCount(short* result) override {
        return notWired(u"SelectedFileCount", result);
    }
    STDMETHODIMP get_SelectedFile(short Index, BSTR* result) override {
        return notWired(u"SelectedFile", Index, result);
    }
    STDMETHODIMP ShowOpen(IDispatch** target, VARIANT_BOOL* result) override {
        return notWired(u"ShowOpen", target, result);
    }
    STDMETHODIMP ShowSave(IDispatch** target, VARIANT_BOOL* result) override {
        return notWired(u"ShowSave", target, result);
    }
    STDMETHODIMP SaveFrom(IDispatch** target) override { return notWired(u"SaveFrom", target); }
    STDMETHODIMP LoadInto(IDispatch** target) override { return notWired(u"LoadInto", target); }
};

}  // namespace

BREVANTO_BIND_CLASS(CDialog, CDialogCom)

}  // namespace brv::com
