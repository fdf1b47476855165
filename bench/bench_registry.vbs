' Loading a registry key of 1,000 text values through each key class, against
' WScript.Shell.RegRead of the same 1,000 values by name, all in one cscript run (best of three
' rounds). "load" is the key assignment, which reads every value; "load and read" also fetches
' each value through GetValue. Prints the times and the ratios ours / RegRead. The key
' HKCU\Software\BrevantoBench is created here and removed at the end.
Const kHkcu = -2147483647
Const kValues = 1000
Const kPath = "Software\BrevantoBench"
Const kFull = "HKCU\Software\BrevantoBench\"

Dim sh, names, i, k, t0, dt, best(4), round_, x, labels

Set sh = CreateObject("WScript.Shell")
ReDim names(kValues - 1)
For i = 0 To kValues - 1
    names(i) = "v" & Right("000" & i, 4)
    sh.RegWrite kFull & names(i), "value number " & i, "REG_SZ"
Next

' Times one class into best(slot): the key assignment alone; into best(slot + 1): the assignment
' again with every value fetched by position (Basic counts from 0, Advanced from 1).
Sub TimeClass(progId, firstPosition, slot)
    Dim o, t0, dt, i, x
    Set o = CreateObject("Brevanto." & progId)
    o.Root = kHkcu
    t0 = Timer
    o.key = kPath
    dt = Timer - t0: If dt < best(slot) Then best(slot) = dt
    If o.ValueCount <> kValues Then WScript.Echo progId & ": wrong count " & o.ValueCount
    t0 = Timer
    o.key = kPath
    For i = firstPosition To firstPosition + kValues - 1
        x = o.GetValue(i)
    Next
    dt = Timer - t0: If dt < best(slot + 1) Then best(slot + 1) = dt
End Sub

For k = 0 To 4: best(k) = 1E+30: Next
For round_ = 1 To 3
    t0 = Timer
    For i = 0 To kValues - 1
        x = sh.RegRead(kFull & names(i))
    Next
    dt = Timer - t0: If dt < best(0) Then best(0) = dt

    TimeClass "CRegistryBasic", 0, 1
    TimeClass "CRegistryAdvanced", 1, 3
Next

labels = Array("RegRead of 1,000 values", "CRegistryBasic load", "CRegistryBasic load and read", _
               "CRegistryAdvanced load", "CRegistryAdvanced load and read")
For k = 0 To 4
    WScript.Echo labels(k) & ": " & FormatNumber(best(k) * 1000, 1) & " ms"
Next
For k = 1 To 4
    If best(0) > 0 Then WScript.Echo "ratio " & labels(k) & " / RegRead: " & FormatNumber(best(k) / best(0), 2)
Next

sh.Run "reg delete HKCU\Software\BrevantoBench /f", 0, True
