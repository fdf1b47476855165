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

Dim sh, fso, tmp, b, a, r, s, n
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
tmp = fso.GetSpecialFolder(2) & "\brevanto-registry"

' Checks name, actual, expected triples; every actual is taken first, left to right.
Sub Checks(t)
    Dim k
    For k = 0 To UBound(t) Step 3
        Check t(k), t(k + 1), t(k + 2)
    Next
End Sub

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

' The type column that "reg query" shows for one value name, "" when absent. The padding
' gives every line the three columns looked at.
Function TypeOf(path, name)
    Dim line, parts
    TypeOf = ""
    For Each line In Split(RegQuery(path), vbCrLf)
        parts = Split(Replace(line, vbCr, "") & "        ", "    ")
        If parts(1) = name Then TypeOf = parts(2): Exit Function
    Next
End Function

' A CRegistryBasic or CRegistryAdvanced (kind) on HKCU\path.
Function NewReg(kind, path)
    Set NewReg = CreateObject("Brevanto.CRegistry" & kind)
    NewReg.Root = kHkcu
    NewReg.key = path
End Function

sh.Run "reg delete """ & kFull & """ /f", 0, True

Group "new objects"
Set b = CreateObject("Brevanto.CRegistryBasic")
Set a = CreateObject("Brevanto.CRegistryAdvanced")
Checks Array("Basic Root", b.Root, kHklm, "Basic AutoCreate", b.AutoCreate, True, _
    "Basic ValueCount", b.ValueCount, 0, "Basic SubKeyCount", b.SubKeyCount, 0, _
    "Basic Default", b.Default, "", "Basic key", b.key, "", "Basic GetName(0)", b.GetName(0), "", _
    "Basic GetSubKey(0)", b.GetSubKey(0), "", "Basic GetValue", b.GetValue("x"), "", _
    "Advanced Root", a.Root, kHklm, "Advanced Access", a.Access, CLng(131103), _
    "Advanced AutoCreate", a.AutoCreate, True, "Advanced ValueCount", a.ValueCount, 0)
On Error Resume Next
s = a.GetName(0): CheckError "Advanced GetName(0)", 1200, "Registry Collection", "Invalid Index"
b.ValueCount = 3: CheckError "Basic ValueCount let", kNoLet, "CRegistry.Let ValueCount", "The Let Property is not available"
a.ValueCount = 3: CheckError "Advanced ValueCount let", kNoLet, "CRegistry.Let ValueCount", "The Let Property is not available"
b.Default = "ignored": CheckNoError "Default let"
On Error GoTo 0
b.SubKeyCount = 4
Checks Array("Default stays empty", b.Default, "", "SubKeyCount let", b.SubKeyCount, 4)

Group "Basic: loading a key"
On Error Resume Next
Set b = NewReg("Basic", kPath): CheckNoError "assigning a missing path creates it"
On Error GoTo 0
Checks Array("the key exists", KeyExists(kFull), True, "no values", b.ValueCount, 0)
sh.RegWrite kFull & "\a1", "one", "REG_SZ"
sh.RegWrite kFull & "\a2", "two", "REG_SZ"
sh.RegWrite kFull & "\a3", 3, "REG_DWORD"
sh.RegWrite kFull & "\a4", "after the number", "REG_SZ"
sh.RegWrite kFull & "\k1\", ""
sh.RegWrite kFull & "\k2\deep\", ""
b.Refresh
Checks Array("stops at the first value that is not text", b.ValueCount, 2, _
    "GetName(0)", b.GetName(0), "a1", "GetName(1)", b.GetName(1), "a2", _
    "the spare column", b.GetName(2), "", "past the spare column", b.GetName(3), "", _
    "GetValue by name, any case", b.GetValue("A2"), "two", "GetValue by column", b.GetValue(0), "one", _
    "GetValue of a Long is a name", b.GetValue(CLng(0)), "", _
    "GetValue of the spare column", b.GetValue(2), "", "GetValue past the number", b.GetValue("a4"), "", _
    "SubKeyCount", b.SubKeyCount, 2, "GetSubKey(0)", b.GetSubKey(0), "k1", _
    "GetSubKey(1)", b.GetSubKey(1), "k2", "GetSubKey(SubKeyCount)", b.GetSubKey(2), "", _
    "GetSubKey(-1)", b.GetSubKey(-1), "")
On Error Resume Next
s = b.GetValue(3): CheckError "GetValue of a column past the table", 9, Empty, Empty
s = b.GetValue(Null): CheckError "GetValue of Null", 94, Empty, Empty
On Error GoTo 0
b.key = kPath & "\k2"
Check "a second path replaces the tables", b.GetName(0) & "|" & b.SubKeyCount & "|" & b.GetSubKey(0), "|1|deep"
b.AutoCreate = False
On Error Resume Next
b.key = kPath & "\missing": CheckError "a missing path without AutoCreate", kOpenFail, "GetKeyInfo", "Unable to open Key"
On Error GoTo 0
Check "nothing created", KeyExists(kFull & "\missing"), False

Group "Basic: writing and deleting"
Set b = NewReg("Basic", kPath)
Checks Array("SetValue by column", b.SetValue(0, "uno"), True, _
    "the column's value changed", sh.RegRead(kFull & "\a1"), "uno")
Set b = NewReg("Basic", kPath & "\w")
Checks Array("SetValue", b.SetValue("b1", "abc"), True, "read back", sh.RegRead(kFull & "\w\b1"), "abc", _
    "as REG_SZ", TypeOf(kFull & "\w", "b1"), "REG_SZ", "not reloaded", b.GetValue("b1"), "")
b.Refresh
Checks Array("after Refresh", b.GetValue("b1"), "abc", _
    "SetValue percent stays REG_SZ", b.SetValue("b2", "50%"), True, "REG_SZ", TypeOf(kFull & "\w", "b2"), "REG_SZ", _
    "DeleteValue", b.DeleteValue("b2"), True, "gone", TypeOf(kFull & "\w", "b2"), "", _
    "DeleteValue again", b.DeleteValue("b2"), False, _
    "a value of 64 KiB", b.SetValue("big", String(65536, "x")), True, _
    "read back whole", Len(sh.RegRead(kFull & "\w\big")), CLng(65536))
s = "caf" & Chr(233) & " " & Chr(252)
Checks Array("non-ASCII text", b.SetValue("na", s), True, _
    "read back through the code page", sh.RegRead(kFull & "\w\na"), s)
b.Refresh
Check "and loaded back", b.GetValue("na"), s
On Error Resume Next
r = b.SetValue(String(20000, "n"), "x"): CheckError "a refused write", -2147221504 + 87, "CRegistry", "Couldn't write value to registry"
r = b.SetValue(Null, "x"): CheckError "Null for a name", 94, Empty, Empty
On Error GoTo 0
Set b = CreateObject("Brevanto.CRegistryBasic")
b.Root = kHkcu
b.AutoCreate = False
Check "SetValue without a key", b.SetValue("v", "x"), False

Group "Basic: Create and DeleteKey"
Set b = NewReg("Basic", kPath)
Checks Array("Create a sub-key", b.Create("c1"), -1, "the object keeps the longer path", b.key, kPath & "\c1", _
    "created", KeyExists(kFull & "\c1"), True, _
    "Create the key itself with a value", b.Create(kPath & "\c1", "v", "x"), -1, _
    "the value", sh.RegRead(kFull & "\c1\v"), "x", _
    "a refused write gives the disposition", b.Create("c2", String(20000, "n"), "x"), 1, _
    "an existing key's disposition", b.Create(kPath & "\c1\c2", String(20000, "n"), "x"), 2)
Set b = NewReg("Basic", kPath)
sh.RegWrite kFull & "\t\l1\l2\l3\", ""
sh.RegWrite kFull & "\t\l1\l2\v", "x", "REG_SZ"
sh.RegWrite kFull & "\t\l1\m2\", ""
sh.RegWrite kFull & "\t\keep\", ""
Checks Array("DeleteKey of a tree three levels deep", b.DeleteKey("t\l1"), True, _
    "the tree is gone", KeyExists(kFull & "\t\l1"), False, "its sibling stays", KeyExists(kFull & "\t\keep"), True, _
    "the key is unchanged", b.key, kPath, "DeleteKey of a missing key", b.DeleteKey("t\l1"), False, _
    "DeleteKey of an empty name", b.DeleteKey(""), False, "the key itself stays", KeyExists(kFull & "\t\keep"), True)

Group "Basic: bad roots and paths"
Set b = CreateObject("Brevanto.CRegistryBasic")
b.Root = 0
On Error Resume Next
b.key = kPath: CheckError "root 0", kOpenFail, "GetKeyInfo", "Unable to open Key"
Check "root 0: SetValue opens nothing", b.SetValue("v", "x"), False
b.Root = 12345: CheckNoError "a nonsense root is stored"
r = b.SetValue("v", "x"): CheckError "a nonsense root when writing", -2147220983, "CreateEx", "Unknown Error: 6"
Checks Array("DeleteKey under a nonsense root", b.DeleteKey("x"), False, _
    "Create under a nonsense root", b.Create("x"), 0)
Set b = NewReg("Basic", kPath)
b.key = kPath & "\" & String(300, "p"): CheckError "a path of 300 characters", kOpenFail, "GetKeyInfo", "Unable to open Key"
On Error GoTo 0

Group "Basic: ExportKey and ImportKey"
Set b = NewReg("Basic", kPath & "\x")
b.SetValue "v", "saved"
If fso.FileExists(tmp & ".hiv") Then fso.DeleteFile tmp & ".hiv"
On Error Resume Next
b.ExportKey tmp & ".hiv": CheckNoError "ExportKey raises nothing"
b.ImportKey tmp & ".hiv": CheckNoError "ImportKey raises nothing"
b.ImportKey tmp & ".missing": CheckNoError "ImportKey of a missing file raises nothing"
On Error GoTo 0
Check "the value is still there", sh.RegRead(kFull & "\x\v"), "saved"
If fso.FileExists(tmp & ".hiv") Then fso.DeleteFile tmp & ".hiv"

Group "Advanced: loading every type"
sh.RegWrite kFull & "\adv\", "dflt"
sh.RegWrite kFull & "\adv\b", "text", "REG_SZ"
sh.RegWrite kFull & "\adv\c", 7, "REG_DWORD"
sh.RegWrite kFull & "\adv\d", 513, "REG_BINARY"
sh.RegWrite kFull & "\adv\e", "%TEMP%", "REG_EXPAND_SZ"
Set a = NewReg("Advanced", " \" & kPath & "\adv ")
Checks Array("key let trims", a.key, kPath & "\adv", "ValueCount", a.ValueCount, 5, _
    "the unnamed value comes first", a.GetName(1), "<DEFAULT>", "GetValue of the empty name", a.GetValue(""), "dflt", _
    "GetValue of <DEFAULT>", a.GetValue("<DEFAULT>"), "dflt", "GetValue by name, any case", a.GetValue("B"), "text", _
    "GetValue by position", a.GetValue(2), "text", "REG_DWORD as text", a.GetValue("c"), "7", _
    "REG_BINARY gives nothing", a.GetValue("d"), "", "REG_EXPAND_SZ unexpanded", a.GetValue("e"), "%TEMP%", _
    "a missing name", a.GetValue("zz"), "", "a position past the end", a.GetValue(99), "")
On Error Resume Next
s = a.GetName(6): CheckError "GetName past the end", 1200, "Registry Collection", "Invalid Index"
On Error GoTo 0
a.AutoCreate = False
a.key = kPath & "\nothere"
Checks Array("a missing path leaves the values", a.ValueCount & "|" & a.GetValue("b"), "5|text", _
    "and creates nothing", KeyExists(kFull & "\nothere"), False)

Group "Advanced: writing with derived and chosen types"
Set a = NewReg("Advanced", kPath & "\adv2")
n = kFull & "\adv2"
Checks Array("text", a.SetValue("s1", "abc"), True, "REG_SZ", TypeOf(n, "s1"), "REG_SZ", _
    "read back", a.GetValue("s1"), "abc")
a.SetValue "s2", "%PATH%"
a.SetValue "s3", "a" & Chr(0) & "b" & Chr(0)
s = a.GetValue("s3")
Checks Array("percent gives REG_EXPAND_SZ", TypeOf(n, "s2"), "REG_EXPAND_SZ", _
    "a NUL gives REG_MULTI_SZ", TypeOf(n, "s3"), "REG_MULTI_SZ", "held with its NULs", Len(s), CLng(5), _
    "first item", Left(s, 1) & Mid(s, 3, 1), "ab", "RegRead sees two items", UBound(sh.RegRead(n & "\s3")), CLng(1))
a.SetValue "s4", 5
a.SetValue "s5", "5", 4
a.SetValue "s6", "%x%", 1
a.SetValue "s7", CLng(-1)
a.SetValue "s8", 2.5
Checks Array("an Integer gives REG_DWORD", TypeOf(n, "s4"), "REG_DWORD", "its value", sh.RegRead(n & "\s4"), CLng(5), _
    "regType 4 with text", sh.RegRead(n & "\s5"), CLng(5), "regType 1 keeps REG_SZ", TypeOf(n, "s6"), "REG_SZ", _
    "a negative Long", a.GetValue("s7"), "-1", "a Double as its text", sh.RegRead(n & "\s8"), "2.5")
On Error Resume Next
r = a.SetValue("s9", "five", 4): CheckError "regType 4 with words", 13, Empty, Empty
r = a.SetValue("s9", "x", 7): CheckError "regType 7 needs an array", 13, Empty, Empty
r = a.SetValue(String(20000, "n"), "x"): CheckError "a refused write", -2147221504 + 87, "CRegistry", "Couldn't write value to registry"
r = a.SetValue(0, "x"): CheckError "a position that is not there", 1200, "Registry Collection", "Invalid Index"
On Error GoTo 0
Checks Array("a type without a data form succeeds", a.SetValue("s9", "x", 9), True, _
    "a Null in automatic mode succeeds", a.SetValue("s9", Null), True, "nothing written for s9", TypeOf(n, "s9"), "", _
    "SetValue by position", a.SetValue(1, "first"), True, "the first value changed", sh.RegRead(n & "\s1"), "first", _
    "DeleteValue", a.DeleteValue("s1"), True, "reloaded", a.GetValue("s1"), "", _
    "DeleteValue again", a.DeleteValue("s1"), False, "Create with a value", a.Create("sub", "v", "50%"), -1, _
    "the object moved down", a.key, kPath & "\adv2\sub", "the value's type", TypeOf(n & "\sub", "v"), "REG_EXPAND_SZ", _
    "loaded from the new key", a.GetValue("v"), "50%", "DeleteKey", a.DeleteKey("x"), False)
a.Access = 1
Check "Access let", a.Access, CLng(1)

Group "Advanced: bad roots"
Set a = CreateObject("Brevanto.CRegistryAdvanced")
On Error Resume Next
a.Root = 12345
a.key = kPath: CheckNoError "the key let raises nothing"
r = a.SetValue("v", "x"): CheckError "a nonsense root when writing", -2147221504 + 6, "Brevanto.CRegistryAdvanced", "Unknown error"
On Error GoTo 0

Group "bad input"
Set a = NewReg("Advanced", kPath)
Set b = NewReg("Basic", kPath)
On Error Resume Next
a.key = Null: CheckError "Null for the Advanced path", 94, Empty, Empty
b.key = Null: CheckError "Null for the Basic path", 94, Empty, Empty
s = b.GetValue(CreateObject("Scripting.Dictionary"))
CheckTrue "an object without a value for a name fails cleanly", Err.Number <> 0
Err.Clear
r = a.SetValue(CreateObject("Scripting.Dictionary"), "x")
CheckTrue "an object for a value name fails cleanly", Err.Number <> 0
Err.Clear
a.key = "": CheckNoError "an empty Advanced path raises nothing"
a.key = kPath
r = a.SetValue("a\b", "slash"): CheckNoError "a value name with a backslash"
On Error GoTo 0
Check "is read back by name", a.GetValue("a\b"), "slash"

Group "clean-up"
Set b = NewReg("Basic", "Software")
Checks Array("DeleteKey removes the test key", b.DeleteKey("BrevantoRegistryTest"), True, _
    "gone", KeyExists(kFull), False)
sh.Run "reg delete """ & kFull & """ /f", 0, True
If fso.FileExists(tmp & ".txt") Then fso.DeleteFile tmp & ".txt"
Done
