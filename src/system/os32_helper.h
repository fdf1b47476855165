// OS32Helper: path and folder helpers.
#pragma once

#include "frame/roster.h"
#include "platform/platform.h"

namespace brv {

class OS32Helper : public ClassObject {
  public:
    explicit OS32Helper(const platform::Platform& platform)
        : ClassObject(ClassId::OS32Helper),
          files_(*platform.files),
          messages_(*platform.messages) {}

    // The part after the last "\" (empty for a name without one or ending in one).
    String FileNameNoPath(const String& FullName) const;
    // The part before the last "\" (empty for a name without one).
    String PathNameNoFile(const String& FullName) const;
    // Creates every missing level of a folder on a drive, from the root down. Error 5 for a
    // name that is not on a drive letter (UNC or relative).
    bool MakeDirectory(const String& Folder) const;
    // The path with one closing separator ("\" added unless it ends in "\" or "/").
    String AddDirectorySeparator(const String& PathName) const;
    // Whether a listing of the folder yields anything; the path is written back completed
    // with its separator. Never raises.
    bool IsValidFolder(String& strFolderPath) const;
    // Whether the file can be opened for reading (the shared probe and its errors).
    bool IsValidFilePath(const String& Filename) const;
    // Whether a new file can be created in the folder. Probes with a name that does not exist
    // yet, so no file of the user's is ever opened or deleted. Never raises.
    bool WriteAccess(const String& strDirName) const;
    // The standard error box; a non-empty `OptionalDescription` is written back with its
    // "Additional Information:" heading.
    void StandardErrorMessage(const String& ProcedureName, const int32_t& ErrNumber,
                              const String& ErrorDescription, String& OptionalDescription) const;

  private:
    const platform::FileSystem& files_;
    const platform::Messages& messages_;
};

}  // namespace brv
