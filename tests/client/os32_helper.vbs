' OS32Helper through the DLL: names and separators, and the folder members on real folders of the
' prefix (a scratch folder under the temporary folder, removed at the end).
Dim h, fso, base, p, r, s, n, f, letter, locked

Set h = CreateObject("Brevanto.OS32Helper")
Set fso = CreateObject("Scripting.FileSystemObject")
base = fso.BuildPath(fso.GetSpecialFolder(2), "brv os32 " & fso.GetTempName)
fso.CreateFolder base

Sub WriteText(path, text)
    Dim t
    Set t = fso.CreateTextFile(path, True)
    t.Write text
    t.Close
End Sub

Function ReadText(path)
    Dim t
    Set t = fso.OpenTextFile(path)
    ReadText = t.ReadAll
    t.Close
End Function

Group "file and folder names"
Check "file of a full name", h.FileNameNoPath("C:\dir\file.txt"), "file.txt"
Check "file of a bare name", h.FileNameNoPath("file.txt"), ""
Check "file of a folder", h.FileNameNoPath("C:\dir\"), ""
Check "slashes are not separators", h.FileNameNoPath("C:/dir/file.txt"), ""
Check "path of a full name", h.PathNameNoFile("C:\dir\file.txt"), "C:\dir"
Check "path of a root file", h.PathNameNoFile("C:\file.txt"), "C:"
Check "path of a folder", h.PathNameNoFile("C:\dir\"), "C:\dir"
Check "separator added, leading space kept", h.AddDirectorySeparator(" C:\dir "), " C:\dir\"
Check "separator present, both sides trimmed", h.AddDirectorySeparator(" C:\dir\ "), "C:\dir\"
Check "slash counts as a separator", h.AddDirectorySeparator("C:/dir/"), "C:/dir/"
Check "separator of empty", h.AddDirectorySeparator(""), "\"
Check "tab is not trimmed", h.AddDirectorySeparator(Chr(9) & "x" & Chr(9)), Chr(9) & "x" & Chr(9) & "\"
Check "long path gets its separator", Len(h.AddDirectorySeparator(String(40000, "a"))), 40001
Check "long name ending in a separator", h.FileNameNoPath(String(40000, "a") & "\"), ""
On Error Resume Next
s = h.FileNameNoPath(String(40000, "a"))
CheckError "long name overflows the position", 6, "Brevanto.OS32Helper", "Overflow"
s = h.PathNameNoFile(String(40000, "a"))
CheckError "long path overflows the position", 6, "Brevanto.OS32Helper", "Overflow"
s = h.FileNameNoPath(Null)
CheckError "Null for a name", 94, Empty, Empty
s = h.FileNameNoPath()
CheckError "missing name", 449, Empty, Empty
On Error GoTo 0

Group "IsValidFolder"
p = base
Check "scratch folder", h.IsValidFolder(p), True
Check "separator written back", p, base & "\"
p = fso.GetSpecialFolder(0)
Check "Windows folder", h.IsValidFolder(p), True
WriteText base & "\file.txt", "x"
p = base & "\file.txt"
Check "a file is not a folder", h.IsValidFolder(p), False
Check "file path written back", p, base & "\file.txt\"
p = base & "\missing"
Check "missing folder", h.IsValidFolder(p), False
p = ""
Check "empty", h.IsValidFolder(p), False
Check "empty stays empty", p, ""
p = String(40000, "a")
Check "long path", h.IsValidFolder(p), False
p = base & "\*"
Check "wild card in the folder name", h.IsValidFolder(p), False

Group "IsValidFilePath"
p = base & "\file.txt"
Check "existing file", h.IsValidFilePath(p), True
Check "argument unchanged", p, base & "\file.txt"
Check "missing file", h.IsValidFilePath(base & "\none.txt"), False
Check "file in a missing folder", h.IsValidFilePath(base & "\none\none.txt"), False
Check "folder as a file", h.IsValidFilePath(base), False

Group "MakeDirectory"
Check "three levels, spaces and separator around", h.MakeDirectory("  " & base & "\a\b b\c\  "), True
CheckTrue "first level", fso.FolderExists(base & "\a")
CheckTrue "second level", fso.FolderExists(base & "\a\b b")
CheckTrue "third level", fso.FolderExists(base & "\a\b b\c")
Check "existing folder", h.MakeDirectory(base & "\a\b b\c"), True
On Error Resume Next
r = h.MakeDirectory("\\server\share\x")
CheckError "UNC name", 5, "Brevanto.OS32Helper", _
    "MakeDirectory does not support the use of UNC path names. Please use a fully qualified drive mapping."
r = h.MakeDirectory("")
CheckError "empty", 5, "Brevanto.OS32Helper", _
    "MakeDirectory does not support the use of UNC path names. Please use a fully qualified drive mapping."
r = h.MakeDirectory(base & "\file.txt\x")
CheckError "a file in the way", 75, "Brevanto.OS32Helper", "Path/File access error"
CheckTrue "the file stays a file", fso.FileExists(base & "\file.txt")
letter = ""
For n = Asc("Y") To Asc("M") Step -1
    If letter = "" And Not fso.DriveExists(Chr(n)) Then letter = Chr(n)
Next
r = h.MakeDirectory(letter & ":\x\y")
CheckError "drive " & letter & ": does not exist", 76, "Brevanto.OS32Helper", "Path not found"
On Error GoTo 0

Group "WriteAccess"
n = fso.GetFolder(base).Files.Count
Check "writable folder", h.WriteAccess(base), True
Check "no file left behind", fso.GetFolder(base).Files.Count, n
WriteText base & "\test.000", "keep me"
WriteText base & "\test.001", "and me"
n = fso.GetFolder(base).Files.Count
Check "folder holding the probe names", h.WriteAccess(base), True
Check "existing test.000 untouched", ReadText(base & "\test.000"), "keep me"
Check "existing test.001 untouched", ReadText(base & "\test.001"), "and me"
Check "still no file left behind", fso.GetFolder(base).Files.Count, n
Check "missing folder", h.WriteAccess(base & "\missing"), False
Check "file as a folder", h.WriteAccess(base & "\file.txt"), False
' A folder no one may write to, whoever runs the tests: the process folder of the system.
locked = "Z:\proc\self"
If fso.FolderExists(locked) Then
    Check "read-only folder", h.WriteAccess(locked), False
Else
    WScript.Echo "SKIP read-only folder: " & locked & " is not there"
End If
fso.GetFile(base & "\test.000").Attributes = 1
Check "read-only probe file in a writable folder", h.WriteAccess(base), True
Check "read-only probe file untouched", ReadText(base & "\test.000"), "keep me"
fso.GetFile(base & "\test.000").Attributes = 0

fso.DeleteFolder base, True
Done
