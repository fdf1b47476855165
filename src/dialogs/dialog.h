// CDialog: the system's open-file and save-file dialogs, driven by properties, with filter
// lists built for a target control and the transfer of the chosen file into or out of it.
#pragma once

#include <vector>

#include "frame/files.h"
#include "frame/roster.h"
#include "platform/platform.h"

namespace brv {

// The dialog flags the class itself tests or sets.
namespace ofn {
inline constexpr int32_t ReadOnly = 1;
inline constexpr int32_t OverwritePrompt = 2;
inline constexpr int32_t HideReadOnly = 4;
inline constexpr int32_t NoChangeDir = 8;
inline constexpr int32_t HelpButton = 16;
inline constexpr int32_t AllowMultiselect = 512;
inline constexpr int32_t PathMustExist = 2048;
inline constexpr int32_t FileMustExist = 4096;
inline constexpr int32_t CreatePrompt = 8192;
inline constexpr int32_t NoReadOnlyReturn = 32768;
inline constexpr int32_t Explorer = 524288;
inline constexpr int32_t LongNames = 2097152;
}  // namespace ofn

class CDialog : public ClassObject {
  public:
    explicit CDialog(const platform::Platform& platform);

    bool get_CancelError() const { return cancelError_; }
    void let_CancelError(bool v) { cancelError_ = v; }
    int32_t get_Flags() const { return flags_; }
    void let_Flags(int32_t v) { flags_ = v; }
    String get_Tag() const { return tag_; }
    void let_Tag(const String& v) { tag_ = v; }
    String get_HelpFile() const { return helpFile_; }
    void let_HelpFile(const String& v) { helpFile_ = v; }
    int32_t get_HelpCommand() const { return helpCommand_; }
    void let_HelpCommand(int32_t v) { helpCommand_ = v; }
    int32_t get_HelpContext() const { return helpContext_; }
    void let_HelpContext(int32_t v) { helpContext_ = v; }
    String get_HelpKey() const { return helpKey_; }
    void let_HelpKey(const String& v) { helpKey_ = v; }
    String get_DialogTitle() const { return dialogTitle_; }
    void let_DialogTitle(const String& v) { dialogTitle_ = v; }
    String get_Filename() const { return filename_; }
    void let_Filename(const String& v) { filename_ = v; }
    String get_FileTitle() const { return fileTitle_; }
    void let_FileTitle(const String& v) { fileTitle_ = v; }
    String get_InitDir() const { return initDir_; }
    void let_InitDir(const String& v) { initDir_ = v; }
    int16_t get_FilterIndex() const { return filterIndex_; }
    void let_FilterIndex(int16_t v) { filterIndex_ = v; }
    String get_DefaultExt() const { return defaultExt_; }
    void let_DefaultExt(const String& v) { defaultExt_ = v; }
    int16_t get_MaxFileSize() const { return maxFileSize_; }
    void let_MaxFileSize(int16_t v) { maxFileSize_ = v; }
    String get_CustomFilter() const { return customFilter_; }
    void let_CustomFilter(const String& v) { customFilter_ = v; }
    String get_CustomFilterFilespec() const { return customFilterFilespec_; }
    void let_CustomFilterFilespec(const String& v) { customFilterFilespec_ = v; }
    int16_t get_Error() const { return error_; }
    void let_Error(int16_t v) { error_ = v; }

    // 1 shows the open dialog, 2 the save dialog, without a target; anything else nothing.
    void let_Action(int16_t newValue);
    int16_t get_MultiSelect() const;
    void let_MultiSelect(int16_t newValue);
    // Filename without its last four characters, then "." and DefaultExt (5 when shorter).
    String get_FileNameDefaultFilter() const;
    String get_Filter() const { return filter_; }
    void let_Filter(const String& newValue);
    void AddFilter(const String& Description, const String& filespec,
                   const Variant& defaultFilter = Variant::missing());
    int16_t get_FileReadOnly() const;
    void let_FileReadOnly(int16_t newValue);
    int16_t get_FileMustExist() const;
    void let_FileMustExist(int16_t newValue);
    bool get_FileMustBeWriteable() const { return (flags_ & ofn::NoReadOnlyReturn) != 0; }
    void let_FileMustBeWriteable(bool newValue);
    // Adds the filter set that suits the kind of `ctrl`, behind "All Files".
    void AddDefaultFilters(const Variant& ctrl);

    int16_t get_SelectedFileCount() const { return selectedCount_; }
    String get_SelectedFile(int16_t Index) const;
    // A cancel answers False whatever CancelError says; failures are raised with the source
    // "CDialog"; the transfer to or from `target` cannot make them fail.
    bool ShowOpen(const ObjectRef& target);
    bool ShowSave(const ObjectRef& target);
    // Move the single chosen file out of or into `target`, after the matching dialog only.
    void SaveFrom(const ObjectRef& target);
    void LoadInto(const ObjectRef& target);

  private:
    enum class LastDialog : int16_t { None = 0, Open = 1, Save = 2 };

    bool runDialog();
    void readChosenName(std::string_view buffer, const String& separator);
    void splitSelection();
    void setFlag(int32_t bit, bool on);

    const platform::Regional& regional_;
    const platform::Dialogs& dialogs_;
    FileTable files_;

    bool cancelError_ = true;
    int32_t flags_ = 0;
    String tag_, helpFile_, helpKey_, dialogTitle_, filename_, fileTitle_, initDir_;
    int32_t helpCommand_ = 0;
    int32_t helpContext_ = 0;
    int16_t filterIndex_ = 1;
    String defaultExt_;
    int16_t maxFileSize_ = 256;
    String customFilter_, customFilterFilespec_;
    int16_t error_ = 0;

    String filter_;
    bool restartFilter_ = false;
    String separator_;
    LastDialog lastDialog_ = LastDialog::None;
    int16_t selectedCount_ = 0;
    std::vector<String> selected_{String()};  // positions from 1
};

}  // namespace brv
