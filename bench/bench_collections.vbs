' Keyed collections through the DLL against Scripting.Dictionary, all in one cscript run (best
' of three rounds, fresh objects each round):
'   A  CommandParams: ParseCommandLine of a line of 3,000 switches, then 10,000 keyed reads
'      through Item; the dictionary does 3,000 adds and 10,000 keyed reads.
'   B  ArrayCollectionHelper: 10,000 keyed Add calls, then ClientArray read back; the dictionary
'      does 10,000 adds and reads its items back (Items), or 10,000 keyed reads.
' Prints the times and the ratios ours / dictionary. Not part of the pass/fail suites.
Const kSwitches = 3000
Const kReads = 10000
Const kAdds = 10000

Dim line, keys, vals, i, k, t0, dt, best(4), round_, cp, ac, d, p, x, a

ReDim keys(kAdds - 1)
ReDim vals(kAdds - 1)
For i = 0 To kAdds - 1
    keys(i) = "k" & i
    vals(i) = "v" & i
Next
line = ""
For i = 0 To kSwitches - 1
    line = line & "/k" & i & " x "
Next

For k = 0 To 4: best(k) = 1E+30: Next
For round_ = 1 To 3
    ' A, ours
    t0 = Timer
    Set cp = CreateObject("Brevanto.CommandParams")
    cp.CommandLine = line
    cp.ParseCommandLine
    For i = 0 To kReads - 1
        Set p = cp.Item(keys(i Mod kSwitches))
    Next
    dt = Timer - t0: If dt < best(0) Then best(0) = dt
    If cp.Count <> kSwitches Or p.ParamValue <> "x" Then WScript.Echo "CommandParams: wrong result"

    ' A, dictionary
    t0 = Timer
    Set d = CreateObject("Scripting.Dictionary")
    For i = 0 To kSwitches - 1
        d.Add keys(i), "x"
    Next
    For i = 0 To kReads - 1
        x = d.Item(keys(i Mod kSwitches))
    Next
    dt = Timer - t0: If dt < best(1) Then best(1) = dt

    ' B, ours
    t0 = Timer
    Set ac = CreateObject("Brevanto.ArrayCollectionHelper")
    ac.ArrayIsUnique = True
    For i = 0 To kAdds - 1
        ac.Add vals(i), keys(i)
    Next
    a = ac.ClientArray
    dt = Timer - t0: If dt < best(2) Then best(2) = dt
    If UBound(a) <> kAdds - 1 Then WScript.Echo "ArrayCollectionHelper: wrong result"

    ' B, dictionary: adds and the items read back
    t0 = Timer
    Set d = CreateObject("Scripting.Dictionary")
    For i = 0 To kAdds - 1
        d.Add keys(i), vals(i)
    Next
    a = d.Items
    dt = Timer - t0: If dt < best(3) Then best(3) = dt

    ' B, dictionary: adds and keyed reads
    t0 = Timer
    Set d = CreateObject("Scripting.Dictionary")
    For i = 0 To kAdds - 1
        d.Add keys(i), vals(i)
    Next
    For i = 0 To kAdds - 1
        x = d.Item(keys(i))
    Next
    dt = Timer - t0: If dt < best(4) Then best(4) = dt
Next

Function Ms(seconds)
    Ms = Int(seconds * 10000 + 0.5) / 10  ' Round(x, 1) ignores its digits in Wine
End Function

Function Ratio(ours, theirs)
    If theirs > 0 Then Ratio = Int(ours / theirs * 100 + 0.5) / 100 Else Ratio = "n/a"
End Function

WScript.Echo "A CommandParams parse of " & kSwitches & " switches + " & kReads & " Item reads: " & Ms(best(0)) & " ms"
WScript.Echo "A Dictionary " & kSwitches & " adds + " & kReads & " Item reads: " & Ms(best(1)) & " ms"
WScript.Echo "A ratio: " & Ratio(best(0), best(1))
WScript.Echo "B ArrayCollectionHelper " & kAdds & " keyed adds + ClientArray: " & Ms(best(2)) & " ms"
WScript.Echo "B Dictionary " & kAdds & " adds + Items: " & Ms(best(3)) & " ms"
WScript.Echo "B Dictionary " & kAdds & " adds + " & kAdds & " Item reads: " & Ms(best(4)) & " ms"
WScript.Echo "B ratio (against adds + Items): " & Ratio(best(2), best(3))
WScript.Echo "B ratio (against adds + keyed reads): " & Ratio(best(2), best(4))
