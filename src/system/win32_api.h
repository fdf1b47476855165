// Win32API: system queries and shell operations. Each member calls one platform function with
// the buffers and sizes that clients of this class have always seen, and turns its answer into
// a String, Boolean or Long; strings go to the platform in the system code page.
#pragma once

#include <cstdint>

#include "frame/files.h"
#include "frame/roster.h"
#include "platform/platform.h"

namespace brv {

// The values that the members pass to the platform unchanged.
enum FileOperationKind : int32_t { FileMove = 1, FileCopy = 2, FileDelete = 3, FileRename = 4 };
enum ExecuteOperationKind : int32_t { OperationOpen = 1, OperationPrint = 2 };

class Win32API : public ClassObject {
  public:
    explicit Win32API(const platform::Platform& platform)
        : ClassObject(ClassId::Win32API),
          system_(*platform.system),
          regional_(*platform.regional),
          files_(*platform.files) {}

    String GetMachineName();
    String GetFolderWindows();
    String GetFolderSystem();
    String GetFolderTemp();
    String GetFolderCurrent();
    // Trims the letter (adding ":" to a single one) and writes it back before asking; a network
    // code from the table raises that number with its message; the server and share are
    // written only on success.
    bool GetUNCPath(String& strDriveLetter, String& strServer, String& strShare);
    // The name of the type of drive `DriveLetter` + ":\", whose code goes to `DriveType`.
    String GetDriveType(const String& DriveLetter, int32_t& DriveType);
    String GetCurrentWindowsUser();
    // Writes back the lists terminated by two NULs and a Flags of 0 as 528 (no confirmation,
    // folders made without asking). Error 5 for a missing destination of anything but a
    // delete, 6 for Flags outside 16 bits, -2147221387 for a cancel, -2147221504 plus the last
    // error for any other failure.
    bool FileOperation(int32_t hwnd, int32_t Operation, String& OperateFrom, String& OperateTo,
                       int32_t& Flags);
    // The program that opens `Filename`, up to the first "exe" of its path (the whole path
    // when it has none); empty when the lookup fails. `Filename` comes back through the code
    // page.
    String GetFileAssociation(String& Filename);
    // The text before the first NUL. Error 6 for a NUL beyond position 32767.
    String StripTerminator(const String& StringToStrip);
    // Opens or prints a document through its association. Error 76 for a file that the probe
    // does not find, before any shell call; the shell's codes with source "Brevanto". The
    // result is always 0.
    int32_t ExecuteFile(const String& Filename, int32_t hwnd = 0, int32_t ShowMode = 1,
                        int32_t ExecuteOperation = OperationOpen,
                        const String& CommandParameters = {}, const String& DefaultDirectory = {});
    int32_t GetDesktopWindowHandle();

  private:
    std::string ansi(StringView text) const { return regional_.toAnsi(text); }
    String unicode(std::string_view bytes) const { return regional_.fromAnsi(bytes); }
    String bufferedName(bool (platform::System::*query)(char*, uint32_t&) const, char16_t fill,
                        uint32_t size);
    template <typename Query>
    String folder(Query query, const char* firstBuffer);

    const platform::System& system_;
    const platform::Regional& regional_;
    FileTable files_;
};

}  // namespace brv
