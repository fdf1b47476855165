' ArrayHelper and ArrayCollectionHelper through the DLL: arrays written back into the caller's
' Variant variables, the bounds and the error numbers.
Const kAh = "Brevanto.ArrayHelper"
Const kAc = "Brevanto.ArrayCollectionHelper"

' The elements joined with "," (the script host has no Join).
Function Items(a)
    Dim i, s
    If Not IsArray(a) Then
        Items = "<not an array>"
        Exit Function
    End If
    s = ""
    For i = LBound(a) To UBound(a)
        If i > LBound(a) Then s = s & ","
        If IsNull(a(i)) Then s = s & "<Null>" Else s = s & a(i)
    Next
    Items = s
End Function

Dim h, a, b, g, r, n, c, i, big, started
Set h = CreateObject(kAh)

Group "AddElementToArray"
a = Empty
h.AddElementToArray a, "x"
Check "Empty becomes a one-element array", Items(a), "x"
Check "zero-based", LBound(a), CLng(0)
a = "scalar"
h.AddElementToArray a, 5
Check "a scalar is replaced", Items(a), "5"
a = Array()
h.AddElementToArray a, "x", True, 1, 7
Check "an empty array ignores the position", Items(a), "x"
a = Array("a", "b")
h.AddElementToArray a, "B"
Check "unique, text comparison", Items(a), "a,b"
h.AddElementToArray a, "B", True, 0
Check "binary comparison adds", Items(a), "a,b,B"
h.AddElementToArray a, "A", True, 2
Check "database comparison ignores case", Items(a), "a,b,B"
a = Array("a", "b", "c")
h.AddElementToArray a, "x", False, 1, 1
Check "insert at 1", Items(a), "a,x,b,c"
a = Array("a", "b", "c")
h.AddElementToArray a, "x", False, 1, 3
Check "insert at the end position", Items(a), "a,b,c,x"
a = Array("a", "b", "c")
h.AddElementToArray a, "a", False
Check "not unique appends", Items(a), "a,b,c,a"
a = Array(Null, "n")
h.AddElementToArray a, Null
Check "Null never equals: added", UBound(a), CLng(2)
CheckTrue "Null kept", IsNull(a(2))

Group "IsElementInArray"
a = Array(Null, "Apple", 42)
Check "text comparison", h.IsElementInArray(a, "APPLE"), True
Check "binary comparison", h.IsElementInArray(a, "APPLE", 0), False
Check "numbers as text", h.IsElementInArray(a, "42"), True
Check "Null is never found", h.IsElementInArray(a, Null), False

Group "RemoveArrayItem and RemoveStringArrayItem"
a = Array("a", "b", "c")
Check "removed", h.RemoveArrayItem(a, 1), True
Check "shrunk in place", Items(a), "a,c"
a = Array("a", "b", "c")
Check "beyond the end", h.RemoveArrayItem(a, 7), False
Check "last dropped all the same", Items(a), "a,b"
a = Array("a")
Check "the only element", h.RemoveArrayItem(a, 0), True
CheckTrue "leaves an empty array", IsArray(a)
Check "empty: upper bound", UBound(a), CLng(-1)
a = Array("a", "b")
Check "negative index", h.RemoveArrayItem(a, -1), False
Check "negative index empties", UBound(a), CLng(-1)
a = Array("a", "b", "c")
Check "string array", h.RemoveStringArrayItem(a, 0), True
Check "string array shrunk", Items(a), "b,c"
a = Array("only")
h.RemoveStringArrayItem a, 0
Check "string array keeps one empty element", UBound(a), CLng(0)
Check "that element", a(0), ""

Group "ListToArray"
r = "was a string"
n = h.ListToArray(r, " a , b ,c ,", ",")
Check "separators counted", n, 2
Check "items", Items(r), "a,b,c"
Check "an array of Variants", VarType(r), vbArray + vbVariant
Check "each a String", VarType(r(0)), vbString
n = h.ListToArray(r, "abc", ",")
Check "no separator gives 1", n, 1
Check "one item", Items(r), "abc"
n = h.ListToArray(r, "", ",")
Check "empty list", Items(r) & "|" & UBound(r), "|0"
n = h.ListToArray(r, ",a", ",")
Check "leading separator", Items(r), ",a"
n = h.ListToArray(r, "a,b", "")
Check "empty separator splits nothing", Items(r) & "|" & n, "a,b|1"

Group "ArrayHelper errors"
On Error Resume Next
a = Array("a")
h.AddElementToArray a, "x", False, 1, 5
CheckError "position beyond the new bound", 9, kAh, "Subscript out of range"
Check "the array grew before the error", UBound(a), CLng(1)
CheckTrue "by an Empty element", IsEmpty(a(1))
ReDim g(1, 1)
h.AddElementToArray g, "x", False
CheckError "two dimensions", 9, kAh, Empty
r = h.IsElementInArray(g, "x")
CheckError "two dimensions, search", 9, kAh, Empty
r = h.IsElementInArray("abc", "a")
CheckError "no array", 13, kAh, "Type mismatch"
r = h.IsElementInArray(Array(), "a")
CheckError "no elements", 9, kAh, Empty
r = h.RemoveArrayItem("abc", 0)
CheckError "remove from no array", 13, kAh, Empty
r = h.IsElementInArray(Array(h), "x")
CheckError "an object without a value", 438, Empty, Empty
r = h.IsElementInArray(Array("a"), "a", 3)
CheckError "unknown comparison", 5, kAh, Empty
ReDim big(32768)
h.AddElementToArray big, "x", False
CheckError "upper bound beyond an Integer", 6, kAh, "Overflow"
Check "left as it was", UBound(big), CLng(32768)
n = h.ListToArray(r, String(32767, "x") & ",y", ",")
CheckError "separator beyond an Integer position", 6, kAh, Empty
On Error GoTo 0

Group "ArrayCollectionHelper"
Set c = CreateObject(kAc)
Check "ArrayIsUnique starts False", c.ArrayIsUnique, False
Check "RejectEmptyItems starts True", c.RejectEmptyItems, True
CheckTrue "ClientArray starts Empty", IsEmpty(c.ClientArray)
c.ArrayIsUnique = True
c.ClientArray = Array("a", "A", "b")
Check "unique assignment", Items(c.ClientArray), "a,b"
Check "Count is a Long", c.Count, CLng(2)
c.Add "x", , 1
c.Add "z"
Check "Add in front and at the end", Items(c.ClientArray), "x,a,b,z"
c.Add "b", "k2"
Check "Add under its own key", Items(c.ClientArray), "x,a,b,z,b"
c.Remove 1
Check "Remove", Items(c.ClientArray), "a,b,z,b"
c.ArrayIsUnique = False
c.ClientArray = Array("a", "a", Null)
Check "not unique keeps all", c.Count, CLng(3)
a = c.ClientArray
CheckTrue "Null kept", IsNull(a(2))
c.ClientArray = Array("only")
c.Remove 1
CheckTrue "the last removal drops the collection", IsEmpty(c.ClientArray)
n = c.ListToArray(r, " a , b ,c ,", ",")
Check "ListToArray shared", Items(r) & "|" & n, "a,b,c|2"

Group "ArrayCollectionHelper errors"
On Error Resume Next
n = c.Count
CheckError "Count without a collection", 91, kAc, "Object variable or With block variable not set"
c.Remove 1
CheckError "Remove without a collection", 91, kAc, Empty
c.ArrayIsUnique = True
c.ClientArray = Array("a", "b")
c.Add "B"
CheckError "duplicate key", 457, kAc, Empty
c.Add "w", , 0
CheckError "position 0", 9, kAc, Empty
c.Add "w", , 3
CheckError "position beyond the count", 9, kAc, Empty
c.Remove 5
CheckError "remove beyond the count", 9, kAc, Empty
Check "left as it was", Items(c.ClientArray), "a,b"
c.ClientArray = "scalar"
CheckNoError "a scalar assignment never fails"
n = c.Count
CheckError "and leaves no collection", 91, kAc, Empty
On Error GoTo 0

Group "scale"
ReDim big(29999)
For i = 0 To 29999
    big(i) = "item" & i
Next
started = Timer
Set c = CreateObject(kAc)
c.ArrayIsUnique = True
c.ClientArray = big
For i = 1 To 2000
    c.Add "new" & i
Next
a = c.ClientArray
CheckTrue "30,000 assigned, 2,000 added, read back in " & (Timer - started) & " s", Timer - started < 10
Check "all there", UBound(a), CLng(31999)
Check "in order", a(30000), "new1"

Done
