' CRegistryBasic and CRegistryAdvanced through the DLL against the real registry, under
' HKCU\Software\BrevantoRegistryTest (created here and removed at the end). WScript.Shell's
' RegRead/RegWrite and "reg query" observe what the classes wrote; the registry enumerates
' names sorted, so names here sort in the order they are created.
Const kHkcu = -2147483647
Const kHklm = -2147483646
Const kPath = "Software\BrevantoRegistryTest"
Const kFull = "HKCU\Software\BrevantoRegistryTest"
Const kOpenFail = -2147220991
Const kNoLet = -2147220985

Dim sh, fso, tmp, b, a, r, s, n, i, big, nonAscii
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
tmp = fso.GetSpecialFolder(2) & "\brevanto-registry"

' The output of "reg query" for a key, or "" when it fails.
Function RegQuery(path)
    Dim f
    RegQuery = ""
    If sh.Run("cmd /c reg query """ & path & """ > """ & tmp & ".txt"" 2>&1", 0, True) <> 0 Then Exit Function
    Set f = fso.OpenTextFile(tmp & ".txt")
    If Not f.AtEndOfStream Then RegQuery = f.ReadAll
    f.Close
End Function

Function KeyExists(path)
    KeyExists = (sh.Run("reg query """ & path & """", 0, True) = 0)
End Function

' The type column that "reg query" shows for one value name, "" when absent.
Function TypeOf(path, name)
    Dim lines, k, parts
    TypeOf = ""
    lines = Split(RegQuery(path), vbCrLf)
    For k = 0 To UBound(lines)
        parts = Split(Replace(lines(k), vbCr, ""), "    ")
        If UBound(parts) >= 2 Then
            If parts(1) = name Then TypeOf = parts(2): Exit Function
        End If
    Next
End Function

Sub RemoveTestKey()
    sh.Run "reg delete """ & kFull & """ /f", 0, True
End Sub

Function NewBasic(path)
    Set NewBasic = CreateObject("Brevanto.CRegistryBasic")
    NewBasic.Root = kHkcu
    NewBasic.key = path
End Function

Function NewAdvanced(path)
    Set NewAdvanced = CreateObject("Brevanto.CRegistryAdvanced")
    NewAdvanced.Root = kHkcu
    NewAdvanced.key = path
End Function

RemoveTestKey

Group "new objects"
Set b = CreateObject("Brevanto.CRegistryBasic")
Check "Basic Root", b.Root, kHklm
Check "Basic AutoCreate", b.AutoCreate, True
Check "Basic ValueCount", b.ValueCount, 0
Check "Basic SubKeyCount", b.SubKeyCount, 0
Check "Basic Default", b.Default, ""
Check "Basic key", b.key, ""
Check "Basic GetName(0)", b.GetName(0), ""
Check "Basic GetSubKey(0)", b.GetSubKey(0), ""
Check "Basic GetValue", b.GetValue("x"), ""
Set a = CreateObject("Brevanto.CRegistryAdvanced")
Check "Advanced Root", a.Root, kHklm
Check "Advanced Access", a.Access, CLng(131103)
Check "Advanced AutoCreate", a.AutoCreate, True
Check "Advanced ValueCount", a.ValueCount, 0
On Error Resume Next
s = a.GetName(0)
CheckError "Advanced GetName(0)", 1200, "Registry Collection", "Invalid Index"
b.ValueCount = 3
CheckError "Basic ValueCount let", kNoLet, "CRegistry.Let ValueCount", "The Let Property is not available"
a.ValueCount = 3
CheckError "Advanced ValueCount let", kNoLet, "CRegistry.Let ValueCount", "The Let Property is not available"
b.Default = "ignored"
CheckNoError "Default let"
On Error GoTo 0
Check "Default stays empty", b.Default, ""
b.SubKeyCount = 4
Check "SubKeyCount let", b.SubKeyCount, 4

Group "Basic: loading a key"
On Error Resume Next
Set b = NewBasic(kPath)
CheckNoError "assigning a missing path creates it"
On Error GoTo 0
CheckTrue "the key exists", KeyExists(kFull)
Check "no values", b.ValueCount, 0
sh.RegWrite kFull & "\a1", "one", "REG_SZ"
sh.RegWrite kFull & "\a2", "two", "REG_SZ"
sh.RegWrite kFull & "\a3", 3, "REG_DWORD"
sh.RegWrite kFull & "\a4", "after the number", "REG_SZ"
sh.RegWrite kFull & "\k1\", ""
sh.RegWrite kFull & "\k2\deep\", ""
b.Refresh
Check "stops at the first value that is not text", b.ValueCount, 2
Check "GetName(0)", b.GetName(0), "a1"
Check "GetName(1)", b.GetName(1), "a2"
Check "the spare column", b.GetName(2), ""
Check "GetValue by name, any case", b.GetValue("A2"), "two"
Check "GetValue by column", b.GetValue(0), "one"
Check "GetValue of a Long is a name", b.GetValue(CLng(0)), ""
Check "GetValue of the spare column", b.GetValue(2), ""
Check "GetValue past the number", b.GetValue("a4"), ""
On Error Resume Next
s = b.GetValue(3)
CheckError "GetValue of a column past the table", 9, Empty, Empty
s = b.GetValue(Null)
CheckError "GetValue of Null", 94, Empty, Empty
On Error GoTo 0
Check "SubKeyCount", b.SubKeyCount, 2
Check "GetSubKey(0)", b.GetSubKey(0), "k1"
Check "GetSubKey(1)", b.GetSubKey(1), "k2"
Check "GetSubKey(SubKeyCount)", b.GetSubKey(2), ""
Check "GetSubKey(-1)", b.GetSubKey(-1), ""
b.key = kPath & "\k2"
Check "a second path replaces the tables", b.GetName(0) & "|" & b.SubKeyCount & "|" & b.GetSubKey(0), "|1|deep"
b.AutoCreate = False
On Error Resume Next
b.key = kPath & "\missing"
CheckError "a missing path without AutoCreate", kOpenFail, "GetKeyInfo", "Unable to open Key"
On Error GoTo 0
CheckTrue "nothing created", Not KeyExists(kFull & "\missing")

Group "Basic: writing and deleting"
Set b = NewBasic(kPath)
Check "SetValue by column", b.SetValue(0, "uno"), True
Check "the column's value changed", sh.RegRead(kFull & "\a1"), "uno"
Set b = NewBasic(kPath & "\w")
Check "SetValue", b.SetValue("b1", "abc"), True
Check "read back", sh.RegRead(kFull & "\w\b1"), "abc"
Check "as REG_SZ", TypeOf(kFull & "\w", "b1"), "REG_SZ"
Check "not reloaded", b.GetValue("b1"), ""
b.Refresh
Check "after Refresh", b.GetValue("b1"), "abc"
Check "SetValue percent stays REG_SZ", b.SetValue("b2", "50%"), True
Check "REG_SZ", TypeOf(kFull & "\w", "b2"), "REG_SZ"
Check "DeleteValue", b.DeleteValue("b2"), True
Check "gone", TypeOf(kFull & "\w", "b2"), ""
Check "DeleteValue again", b.DeleteValue("b2"), False
big = String(65536, "x")
Check "a value of 64 KiB", b.SetValue("big", big), True
Check "read back whole", Len(sh.RegRead(kFull & "\w\big")), CLng(65536)
nonAscii = "caf" & Chr(233) & " " & Chr(252)
Check "non-ASCII text", b.SetValue("na", nonAscii), True
Check "read back through the code page", sh.RegRead(kFull & "\w\na"), nonAscii
b.Refresh
Check "and loaded back", b.GetValue("na"), nonAscii
On Error Resume Next
r = b.SetValue(String(20000, "n"), "x")
CheckError "a refused write", -2147221504 + 87, "CRegistry", "Couldn't write value to registry"
r = b.SetValue(Null, "x")
CheckError "Null for a name", 94, Empty, Empty
On Error GoTo 0
Set b = CreateObject("Brevanto.CRegistryBasic")
b.Root = kHkcu
b.AutoCreate = False
Check "SetValue without a key", b.SetValue("v", "x"), False

Group "Basic: Create and DeleteKey"
Set b = NewBasic(kPath)
Check "Create a sub-key", b.Create("c1"), -1
Check "the object keeps the longer path", b.key, kPath & "\c1"
CheckTrue "created", KeyExists(kFull & "\c1")
Check "Create the key itself with a value", b.Create(kPath & "\c1", "v", "x"), -1
Check "the value", sh.RegRead(kFull & "\c1\v"), "x"
Check "a refused write gives the disposition", b.Create("c2", String(20000, "n"), "x"), 1
Check "an existing key's disposition", b.Create(kPath & "\c1\c2", String(20000, "n"), "x"), 2
Set b = NewBasic(kPath)
sh.RegWrite kFull & "\t\l1\l2\l3\", ""
sh.RegWrite kFull & "\t\l1\l2\v", "x", "REG_SZ"
sh.RegWrite kFull & "\t\l1\m2\", ""
sh.RegWrite kFull & "\t\keep\", ""
Check "DeleteKey of a tree three levels deep", b.DeleteKey("t\l1"), True
CheckTrue "the tree is gone", Not KeyExists(kFull & "\t\l1")
CheckTrue "its sibling stays", KeyExists(kFull & "\t\keep")
Check "the key is unchanged", b.key, kPath
Check "DeleteKey of a missing key", b.DeleteKey("t\l1"), False
Check "DeleteKey of an empty name", b.DeleteKey(""), False
CheckTrue "the key itself stays", KeyExists(kFull & "\t\keep")

Group "Basic: bad roots and paths"
Set b = CreateObject("Brevanto.CRegistryBasic")
b.Root = 0
On Error Resume Next
b.key = kPath
CheckError "root 0", kOpenFail, "GetKeyInfo", "Unable to open Key"
Check "root 0: SetValue opens nothing", b.SetValue("v", "x"), False
b.Root = 12345
CheckNoError "a nonsense root is stored"
r = b.SetValue("v", "x")
CheckError "a nonsense root when writing", -2147220983, "CreateEx", "Unknown Error: 6"
Check "DeleteKey under a nonsense root", b.DeleteKey("x"), False
Check "Create under a nonsense root", b.Create("x"), 0
Set b = NewBasic(kPath)
b.key = kPath & "\" & String(300, "p")
CheckError "a path of 300 characters", kOpenFail, "GetKeyInfo", "Unable to open Key"
On Error GoTo 0

Group "Basic: ExportKey and ImportKey"
Set b = NewBasic(kPath & "\x")
b.SetValue "v", "saved"
If fso.FileExists(tmp & ".hiv") Then fso.DeleteFile tmp & ".hiv"
On Error Resume Next
b.ExportKey tmp & ".hiv"
CheckNoError "ExportKey raises nothing"
b.ImportKey tmp & ".hiv"
CheckNoError "ImportKey raises nothing"
b.ImportKey tmp & ".missing"
CheckNoError "ImportKey of a missing file raises nothing"
On Error GoTo 0
Check "the value is still there", sh.RegRead(kFull & "\x\v"), "saved"
If fso.FileExists(tmp & ".hiv") Then fso.DeleteFile tmp & ".hiv"

Group "Advanced: loading every type"
sh.RegWrite kFull & "\adv\", "dflt"
sh.RegWrite kFull & "\adv\b", "text", "REG_SZ"
sh.RegWrite kFull & "\adv\c", 7, "REG_DWORD"
sh.RegWrite kFull & "\adv\d", 513, "REG_BINARY"
sh.RegWrite kFull & "\adv\e", "%TEMP%", "REG_EXPAND_SZ"
Set a = NewAdvanced(" \" & kPath & "\adv ")
Check "key let trims", a.key, kPath & "\adv"
Check "ValueCount", a.ValueCount, 5
Check "the unnamed value comes first", a.GetName(1), "<DEFAULT>"
Check "GetValue of the empty name", a.GetValue(""), "dflt"
Check "GetValue of <DEFAULT>", a.GetValue("<DEFAULT>"), "dflt"
Check "GetValue by name, any case", a.GetValue("B"), "text"
Check "GetValue by position", a.GetValue(2), "text"
Check "REG_DWORD as text", a.GetValue("c"), "7"
Check "REG_BINARY gives nothing", a.GetValue("d"), ""
Check "REG_EXPAND_SZ unexpanded", a.GetValue("e"), "%TEMP%"
Check "a missing name", a.GetValue("zz"), ""
Check "a position past the end", a.GetValue(99), ""
On Error Resume Next
s = a.GetName(6)
CheckError "GetName past the end", 1200, "Registry Collection", "Invalid Index"
On Error GoTo 0
a.AutoCreate = False
a.key = kPath & "\nothere"
Check "a missing path leaves the values", a.ValueCount & "|" & a.GetValue("b"), "5|text"
CheckTrue "and creates nothing", Not KeyExists(kFull & "\nothere")

Group "Advanced: writing with derived and chosen types"
Set a = NewAdvanced(kPath & "\adv2")
Check "text", a.SetValue("s1", "abc"), True
Check "REG_SZ", TypeOf(kFull & "\adv2", "s1"), "REG_SZ"
Check "read back", a.GetValue("s1"), "abc"
a.SetValue "s2", "%PATH%"
Check "percent gives REG_EXPAND_SZ", TypeOf(kFull & "\adv2", "s2"), "REG_EXPAND_SZ"
a.SetValue "s3", "a" & Chr(0) & "b" & Chr(0)
Check "a NUL gives REG_MULTI_SZ", TypeOf(kFull & "\adv2", "s3"), "REG_MULTI_SZ"
s = a.GetValue("s3")
Check "held with its NULs", Len(s), CLng(5)
Check "first item", Left(s, 1) & Mid(s, 3, 1), "ab"
n = sh.RegRead(kFull & "\adv2\s3")
Check "RegRead sees two items", UBound(n), CLng(1)
a.SetValue "s4", 5
Check "an Integer gives REG_DWORD", TypeOf(kFull & "\adv2", "s4"), "REG_DWORD"
Check "its value", sh.RegRead(kFull & "\adv2\s4"), CLng(5)
a.SetValue "s5", "5", 4
Check "regType 4 with text", sh.RegRead(kFull & "\adv2\s5"), CLng(5)
a.SetValue "s6", "%x%", 1
Check "regType 1 keeps REG_SZ", TypeOf(kFull & "\adv2", "s6"), "REG_SZ"
a.SetValue "s7", CLng(-1)
Check "a negative Long", a.GetValue("s7"), "-1"
a.SetValue "s8", 2.5
Check "a Double as its text", sh.RegRead(kFull & "\adv2\s8"), "2.5"
On Error Resume Next
r = a.SetValue("s9", "five", 4)
CheckError "regType 4 with words", 13, Empty, Empty
r = a.SetValue("s9", "x", 7)
CheckError "regType 7 needs an array", 13, Empty, Empty
r = a.SetValue(String(20000, "n"), "x")
CheckError "a refused write", -2147221504 + 87, "CRegistry", "Couldn't write value to registry"
r = a.SetValue(0, "x")
CheckError "a position that is not there", 1200, "Registry Collection", "Invalid Index"
On Error GoTo 0
Check "a type without a data form succeeds", a.SetValue("s9", "x", 9), True
Check "a Null in automatic mode succeeds", a.SetValue("s9", Null), True
Check "nothing written for s9", TypeOf(kFull & "\adv2", "s9"), ""
Check "SetValue by position", a.SetValue(1, "first"), True
Check "the first value changed", sh.RegRead(kFull & "\adv2\s1"), "first"
Check "DeleteValue", a.DeleteValue("s1"), True
Check "reloaded", a.GetValue("s1"), ""
Check "DeleteValue again", a.DeleteValue("s1"), False
Check "Create with a value", a.Create("sub", "v", "50%"), -1
Check "the object moved down", a.key, kPath & "\adv2\sub"
Check "the value's type", TypeOf(kFull & "\adv2\sub", "v"), "REG_EXPAND_SZ"
Check "loaded from the new key", a.GetValue("v"), "50%"
Check "DeleteKey", a.DeleteKey("x"), False
a.Access = 1
Check "Access let", a.Access, CLng(1)

Group "Advanced: bad roots"
Set a = CreateObject("Brevanto.CRegistryAdvanced")
On Error Resume Next
a.Root = 12345
a.key = kPath
CheckNoError "the key let raises nothing"
r = a.SetValue("v", "x")
CheckError "a nonsense root when writing", -2147221504 + 6, "Brevanto.CRegistryAdvanced", "Unknown error"
On Error GoTo 0

Group "bad input"
Set a = NewAdvanced(kPath)
Set b = NewBasic(kPath)
On Error Resume Next
a.key = Null
CheckError "Null for the Advanced path", 94, Empty, Empty
b.key = Null
CheckError "Null for the Basic path", 94, Empty, Empty
s = b.GetValue(CreateObject("Scripting.Dictionary"))
CheckTrue "an object without a value for a name fails cleanly", Err.Number <> 0
Err.Clear
r = a.SetValue(CreateObject("Scripting.Dictionary"), "x")
CheckTrue "an object for a value name fails cleanly", Err.Number <> 0
Err.Clear
a.key = ""
CheckNoError "an empty Advanced path raises nothing"
a.key = kPath
r = a.SetValue("a\b", "slash")
CheckNoError "a value name with a backslash"
On Error GoTo 0
Check "is read back by name", a.GetValue("a\b"), "slash"

Group "clean-up"
Set b = NewBasic("Software")
Check "DeleteKey removes the test key", b.DeleteKey("BrevantoRegistryTest"), True
CheckTrue "gone", Not KeyExists(kFull)
RemoveTestKey
If fso.FileExists(tmp & ".txt") Then fso.DeleteFile tmp & ".txt"
Done
