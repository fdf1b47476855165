' Win32API through the DLL: the system queries compared with what other parts of the same
' machine report, the shell file operations on a scratch folder, and bad input.

Dim w, net, fso, sh, env
Set w = CreateObject("Brevanto.Win32API")
Set net = CreateObject("WScript.Network")
Set fso = CreateObject("Scripting.FileSystemObject")
Set sh = CreateObject("WScript.Shell")
Set env = sh.Environment("PROCESS")

'' A text with each NUL shown as "|" (the script engine's comparisons stop at a NUL).
Function Visible(s)
    Visible = Replace(s, Chr(0), "|")
End Function
Function ReadAll(path)
    Dim f
    Set f = fso.OpenTextFile(path, 1)
    If f.AtEndOfStream Then ReadAll = "" Else ReadAll = f.ReadAll
    f.Close
End Function
Sub WriteFile(path, text)
    Dim f
    Set f = fso.CreateTextFile(path, True)
    f.Write text
    f.Close
End Sub
Function FileCount(folder)
    FileCount = fso.GetFolder(folder).Files.Count + fso.GetFolder(folder).SubFolders.Count
End Function

Dim s, t, r, d, srv, shr, n, i, letter, from, dest, flags, scratch, before, kept, names

Group "names"
Check "user as the network object sees it", w.GetCurrentWindowsUser(), net.UserName
Check "machine as the environment names it", w.GetMachineName(), env("COMPUTERNAME")

Group "folders"
Check "windows", LCase(w.GetFolderWindows()), LCase(fso.GetSpecialFolder(0).Path)
Check "system", LCase(w.GetFolderSystem()), LCase(fso.GetSpecialFolder(1).Path)
Check "temp", LCase(w.GetFolderTemp()), LCase(fso.GetSpecialFolder(2).Path & "\")
CheckTrue "no terminator left", InStr(w.GetFolderWindows() & w.GetFolderSystem() & w.GetFolderTemp() & w.GetFolderCurrent(), Chr(0)) = 0

' Everything below runs in a scratch folder, so that a name the shell reads relative to the
' current folder can only ever reach scratch files.
scratch = fso.BuildPath(fso.GetSpecialFolder(2).Path, "brv-w32-" & fso.GetTempName())
fso.CreateFolder scratch
fso.CreateFolder scratch & "\deep"
before = sh.CurrentDirectory
sh.CurrentDirectory = scratch & "\deep"
Check "current follows the process", w.GetFolderCurrent(), scratch & "\deep"

Group "GetDriveType"
' The scripting runtime numbers the same kinds from 0 (unknown) to 5 (RAM disk); the platform
' puts "no such root" at 1 and shifts the rest by one.
names = Array("", "Invalid Drive", "Removable", "Fixed", "Remote", "CDROM", "RAMDisk")
For Each letter In Array("C", "Z")
    t = CLng(-7)
    s = w.GetDriveType(letter, t)
    n = fso.GetDrive(letter & ":").DriveType + 1
    Check letter & ": name and code", s & t, names(n) & n
Next
Check "lower case letter", w.GetDriveType("c"), w.GetDriveType("C")
letter = ""
For i = Asc("Y") To Asc("D") Step -1
    If Not fso.DriveExists(Chr(i) & ":") Then letter = Chr(i): Exit For
Next
' No such root: an unused letter, none (:\), one with its colon (C::\), one not trimmed, several.
For Each s In Array(letter, "", "C:", " C", "CD", String(40000, "C"))
    t = CLng(0)
    Check "no root for """ & Left(s, 5) & """ (" & Len(s) & ")", w.GetDriveType(s, t) & t, "Invalid Drive1"
Next
t = "3"
s = w.GetDriveType("C", t)
Check "a Variant holding digits takes the code", CLng(t), CLng(3)
On Error Resume Next
t = "text"
s = w.GetDriveType("C", t)
CheckError "a Variant holding text for the code", 13, Empty, Empty
On Error GoTo 0

Group "GetUNCPath"
On Error Resume Next
d = " c "
srv = "untouched"
shr = "untouched"
r = w.GetUNCPath(d, srv, shr)
CheckError "local drive", 2250, "Brevanto.Win32API", "Error: Not Connected"
Check "letter trimmed and given its colon; server and share untouched", d & "|" & srv & "|" & shr, "c:|untouched|untouched"
d = "Z:"
r = w.GetUNCPath(d, srv)
CheckError "share omitted", 2250, Empty, "Error: Not Connected"
Check "two characters stay", d, "Z:"
For Each s In Array("", "CD", String(40000, "x"), "1", ":")
    d = s
    r = w.GetUNCPath(d, srv, shr)
    n = Err.Number
    CheckError "not a drive: " & Left(s, 5) & " (" & Len(s) & ")", n, Empty, Empty
    CheckTrue "a network code from the table for " & Left(s, 5), n = 1200 Or n = 2250 Or n = 1203 Or n = 50
Next
On Error GoTo 0

Group "FileOperation"
WriteFile scratch & "\a.txt", "alpha"
WriteFile scratch & "\x.txt", "xray"
from = scratch & "\a.txt"
dest = scratch & "\b.txt"
flags = 0
Check "copy", w.FileOperation(0, 2, from, dest, flags), True
Check "copied, source stays", ReadAll(scratch & "\b.txt") & ReadAll(scratch & "\a.txt"), "alphaalpha"
Check "lists and flags 0 written back as 528", Visible(from & "/" & dest & "/" & flags), scratch & "\a.txt||/" & scratch & "\b.txt||/528"
' Lists that are already terminated are left as they are.
Check "terminated lists, kept", w.FileOperation(0, 2, from, dest) & Len(from), "True" & (Len(scratch & "\a.txt") + 2)
fso.CreateFolder scratch & "\moved"
from = scratch & "\b.txt" & Chr(0)
dest = scratch & "\moved\c.txt"
Check "move; one NUL gets one more", w.FileOperation(0, 1, from, dest) & Visible(from), "True" & scratch & "\b.txt||"
CheckTrue "moved", fso.FileExists(scratch & "\moved\c.txt") And Not fso.FileExists(scratch & "\b.txt")
from = scratch & "\moved\c.txt"
dest = scratch & "\moved\d.txt"
Check "rename: new name there, old one gone", w.FileOperation(0, 4, from, dest) & fso.FileExists(scratch & "\moved\d.txt") & fso.FileExists(scratch & "\moved\c.txt"), "TrueTrueFalse"
from = scratch & "\a.txt" & Chr(0) & scratch & "\x.txt"
dest = scratch & "\moved"
Check "copy two files into a folder, both copied", w.FileOperation(0, 2, from, dest) & ReadAll(scratch & "\moved\a.txt") & ReadAll(scratch & "\moved\x.txt"), "Truealphaxray"
from = scratch & "\moved"
dest = scratch & "\copied"
Check "copy a folder, its three files", w.FileOperation(0, 2, from, dest) & fso.GetFolder(scratch & "\copied").Files.Count, "True3"
from = scratch & "\copied\d.txt"
dest = ""
flags = 16 + 4
Check "delete without destination", w.FileOperation(0, 3, from, dest, flags), True
Check "deleted; destination and flags given stay", fso.FileExists(scratch & "\copied\d.txt") & "|" & dest & "|" & flags, "False||20"
from = scratch & "\copied"
Check "delete a folder, destination omitted", w.FileOperation(0, 3, from) & fso.FolderExists(scratch & "\copied"), "TrueFalse"

On Error Resume Next
kept = FileCount(scratch)
from = scratch & "\a.txt"
dest = ""
flags = 0
r = w.FileOperation(0, 2, from, dest, flags)
CheckError "copy without destination", 5, "FileOperation", _
    "Invalid Procedure Call or Argument. Missing destination parameter when FO_DELETE operation was not specified."
Check "source list written back before the error, flags not reached", Visible(from) & flags, scratch & "\a.txt||0"
r = w.FileOperation(0, 1, scratch & "\a.txt")
CheckError "move with destination omitted", 5, "FileOperation", Empty
from = scratch & "\a.txt"
dest = scratch & "\e.txt"
flags = 40000
r = w.FileOperation(0, 3, from, dest, flags)
CheckError "flags beyond 16 bits", 6, Empty, "Overflow"
Check "flags kept", flags, 40000
from = scratch & "\nothing-here.txt"
r = w.FileOperation(0, 3, from)
CheckTrue "deleting nothing fails with the platform base", Err.Number >= -2147221504 And Err.Number < -2147221504 + 65536
Err.Clear
' Lists that could reach beyond this folder (an empty first name, which some shells take for the
' current folder, or a name too long for any path) are checked against the stand-in only.
from = scratch & "\*.none"
r = w.FileOperation(0, 3, from)
Err.Clear
from = scratch & "\missing.txt"
dest = scratch & "\moved"
r = w.FileOperation(0, 2, from, dest)
CheckTrue "copying a missing file fails", Err.Number <> 0
Err.Clear
On Error GoTo 0
Check "nothing else removed", FileCount(scratch), kept
CheckTrue "files kept", fso.FileExists(scratch & "\a.txt") And fso.FileExists(scratch & "\x.txt") And fso.FileExists(scratch & "\moved\d.txt")

Group "GetFileAssociation"
WriteFile scratch & "\doc.ini", "[s]"
WriteFile scratch & "\doc.txt", "t"
s = scratch & "\doc.ini"
r = w.GetFileAssociation(s)
Check "an .ini opens with the editor, which exists", LCase(fso.GetFileName(r)) & fso.FileExists(r), "notepad.exeTrue"
Check "name unchanged", s, scratch & "\doc.ini"
For Each t In Array(scratch & "\doc.txt", scratch & "\missing.ini", "")  ' no association, no document, no name
    s = t
    Check "nothing for """ & s & """", w.GetFileAssociation(s), ""
Next
s = "caf" & Chr(233) & ".ini"
r = w.GetFileAssociation(s)
Check "a name in the code page comes back as it was", s, "caf" & Chr(233) & ".ini"
s = String(40000, "n")
Check "40,000 characters, written back", w.GetFileAssociation(s) & Len(s), "40000"

Group "ExecuteFile"
On Error Resume Next
For Each s In Array(scratch & "\missing.txt", scratch & "\moved", "")  ' a folder is no file
    r = w.ExecuteFile(s)
    CheckError "no file: " & s, 76, "Brevanto.Win32API", "Path not found"
Next
r = w.ExecuteFile(scratch & "\doc.txt")
CheckError "no association", 31, "Brevanto", "There is no association for the file type txt"
r = w.ExecuteFile(scratch & "\doc.txt", 0, 1, 7, "", "")
CheckError "another operation opens", 31, "Brevanto", Empty
r = w.ExecuteFile(scratch & "\doc.txt", w.GetDesktopWindowHandle(), 0, 1)
CheckError "a window given", 31, "Brevanto", Empty
r = w.ExecuteFile(String(40000, "f"))
CheckTrue "40,000 characters refused by the probe", Err.Number = 76 Or Err.Number = 52
Err.Clear
On Error GoTo 0

Group "StripTerminator and the desktop"
For Each t In Array(Array("abc  ", "abc  "), Array("ab" & Chr(0) & "c" & Chr(0), "ab"), Array(Chr(0) & "abc", ""), Array("", ""))
    Check "cut at the first NUL: " & Visible(t(0)), w.StripTerminator(t(0)), t(1)
Next
Check "long text without NUL", Len(w.StripTerminator(String(40000, "a"))), CLng(40000)
Check "NUL at 32767", Len(w.StripTerminator(String(32766, "a") & Chr(0))), CLng(32766)
On Error Resume Next
s = w.StripTerminator(String(32767, "a") & Chr(0))
CheckError "NUL beyond 32767", 6, "Brevanto.Win32API", "Overflow"
On Error GoTo 0
n = w.GetDesktopWindowHandle()
CheckTrue "a desktop window", n <> 0
Check "the same window each time", w.GetDesktopWindowHandle(), n

' One case per way a value reaches a parameter; the type library check pins each member's types.
Group "bad input"
On Error Resume Next
s = w.StripTerminator(Null)
CheckError "Null for a String", 94, Empty, Empty
s = w.GetDriveType()
CheckError "missing drive letter", 449, Empty, Empty
r = w.FileOperation(0, 3)
CheckError "missing source list", 449, Empty, Empty
s = w.GetDriveType(Array(1))
CheckError "array for a String", 13, Empty, Empty
r = w.ExecuteFile(scratch & "\doc.txt", "window")
CheckError "text for a window", 13, Empty, Empty
d = Null
r = w.GetUNCPath(d, srv, shr)
CheckError "Null drive for the share", 94, Empty, Empty
r = w.ExecuteFile(scratch & "\doc.txt", 0, 1, 1, Null)
CheckError "Null parameters", 94, Empty, Empty
r = w.ExecuteFile(scratch & "\doc.txt", 0, 1, 1, String(40000, "p"), String(40000, "d"))
CheckError "40,000-character parameters and folder", 31, "Brevanto", Empty
s = w.StripTerminator(Empty)
CheckNoError "Empty reads as an empty string"
Check "Empty gives empty", s, ""
On Error GoTo 0

sh.CurrentDirectory = before
fso.DeleteFolder scratch, True
Done
