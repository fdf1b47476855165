' The server frame as a script client sees it: creating every class, calling through IDispatch
' with defaults, by-reference variables and bad arguments, and the errors that come back.

Dim progIds, i, o, t, s, f, pos, n
progIds = Array("Win32API", "ArrayHelper", "DateHelper", "VBObjectHelper", "OS32Helper", _
                "TextHelper", "CRegistryAdvanced", "CDialog", "CRegistryBasic", "SQLRoutines", _
                "CommandParams", "ArrayCollectionHelper")

Group "creation"
On Error Resume Next
For i = 0 To UBound(progIds)
    Set o = Nothing
    Set o = CreateObject("Brevanto." & progIds(i))
    CheckNoError progIds(i)
    CheckTrue progIds(i) & " is an object", IsObject(o)
Next
Set o = CreateObject("Brevanto.clsCommandParam")
CheckError "clsCommandParam is not creatable", 429, Empty, Empty
On Error GoTo 0

Set t = CreateObject("Brevanto.TextHelper")

Group "BooleanSearch defaults"
Check "both omitted", t.BooleanSearch("red", "Colour"), "Colour Like '%red%'"
Check "position given", t.BooleanSearch("red", "Colour", 2), "Colour Like 'red%'"
Check "all given", t.BooleanSearch("red", "Colour", 3, "*"), "Colour Like '*red'"
Check "position skipped", t.BooleanSearch("red", "Colour", , "#"), "Colour Like '#red#'"
Check "two terms", t.BooleanSearch("a AND b", "C", 1), "WHERE C = 'a' AND C = 'b'"

Group "by-reference parameters"
s = "red AND blue"
f = "Colour"
pos = 2
Check "variables", t.BooleanSearch(s, f, pos), "WHERE Colour Like 'red%' AND Colour Like 'blue%'"
Check "string unchanged", s, "red AND blue"
Check "Integer variable for the Long enumeration keeps its type", pos, 2
n = 42
Check "number for a String parameter", t.BooleanSearch(n, f, 1), "Colour = '42'"
Check "number variable keeps its type", n, 42
Check "expression for a by-reference parameter", t.BooleanSearch(s & "", f & ""), _
      "WHERE Colour Like '%red%' AND Colour Like '%blue%'"
Check "empty variable reads as an empty string", t.BooleanSearch(Empty, f) = t.BooleanSearch("", f), True
Check "call statement", CallAsStatement(t), True

Group "errors raised by the core"
On Error Resume Next
s = t.BooleanSearch(String(32770, "a") & " AND b", "F")
CheckError "overflow", 6, "Brevanto.TextHelper", "Overflow"
On Error GoTo 0

Group "bad arguments"
On Error Resume Next
s = t.BooleanSearch("x")
CheckError "missing required argument", 449, Empty, Empty
s = t.BooleanSearch("x", "F", 4, "%", 5)
CheckError "too many arguments", 450, Empty, Empty
s = t.BooleanSearch("x", "F", "abc")
CheckError "text for an enumeration", 13, Empty, Empty
s = t.BooleanSearch("x", "F", 3000000000)
CheckError "number beyond a Long", 6, Empty, Empty
s = t.BooleanSearch(Null, "F")
CheckError "Null for a String", 94, "Brevanto.TextHelper", "Invalid use of Null"
s = t.NoSuchMember("x")
CheckError "unknown member", 438, Empty, Empty
s = t.BooleanSearch(Array(1, 2), "F")
CheckError "array for a String", 13, Empty, Empty
On Error GoTo 0

Group "objects and arrays across the boundary"
Dim ah, ac, dict, arr, back, strs, same
Set ah = CreateObject("Brevanto.ArrayHelper")
Set ac = CreateObject("Brevanto.ArrayCollectionHelper")
Set dict = CreateObject("Scripting.Dictionary")
arr = Array()
ah.AddElementToArray arr, dict, False
same = arr(0) Is dict
CheckTrue "a client object comes back as itself", same
ac.Add ah
back = ac.ClientArray
same = back(0) Is ah
CheckTrue "a library object comes back as itself", same
ReDim strs(1)
strs(0) = "a": strs(1) = "b"
Check "variant array for an array of String", ah.RemoveStringArrayItem(strs, 0), True
Check "written back", UBound(strs) & strs(0), "0b"

Group "fixed arrays by reference"
Const kFixed = "This array is fixed or temporarily locked"
Dim fixed(2), fixedStr(1), r
fixed(0) = "a": fixed(1) = "b": fixed(2) = "c"
Check "same size: written into it", ah.ListToArray(fixed, "x,y,z", ","), 2
Check "elements replaced", fixed(0) & fixed(2), "xz"
On Error Resume Next
ah.AddElementToArray fixed, "d", False
CheckError "growing", 10, "Brevanto.ArrayHelper", kFixed
r = ah.RemoveArrayItem(fixed, 0)
CheckError "shrinking", 10, "Brevanto.ArrayHelper", kFixed
r = ah.RemoveStringArrayItem(fixedStr, 0)
CheckError "shrinking through a String array", 10, "Brevanto.ArrayHelper", kFixed
On Error GoTo 0
Check "left as it was", UBound(fixed) & fixed(0) & UBound(fixedStr), "2x1"

Group "Set needs a set member"
Dim cp: Set cp = CreateObject("Brevanto.CommandParams")
On Error Resume Next
Set cp.CommandLine = ah
CheckError "Set on a let-only property", 438, Empty, Empty
On Error GoTo 0

Group "objects are independent"
Dim t2: Set t2 = CreateObject("Brevanto.TextHelper")
CheckTrue "two creations, two objects", Not (t Is t2)
CheckTrue "same object, same reference", t Is t

Done

Function CallAsStatement(obj)
    obj.BooleanSearch "a", "b"
    CallAsStatement = True
End Function
