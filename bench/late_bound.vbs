' Late-bound call cost, all in one cscript run: an empty loop, BooleanSearch with short
' arguments, RemoveAllSpaces("a") (a member that does almost nothing, so its cost is our
' dispatch alone) and Scripting.Dictionary's Item, each 200,000 times (best of three rounds).
' Prints each call's cost over the empty loop and the ratios of ours to the dictionary's.
Const N = 200000
Dim t, d, x, best(3), round_, k, i, t0, dt

Set t = CreateObject("Brevanto.TextHelper")
Set d = CreateObject("Scripting.Dictionary")
d.Add "k", "v"

For k = 0 To 3: best(k) = 1E+30: Next
For round_ = 1 To 3
    t0 = Timer
    For i = 1 To N: x = "v": Next
    dt = Timer - t0: If dt < best(0) Then best(0) = dt
    t0 = Timer
    For i = 1 To N: x = t.BooleanSearch("a", "F"): Next
    dt = Timer - t0: If dt < best(1) Then best(1) = dt
    t0 = Timer
    For i = 1 To N: x = t.RemoveAllSpaces("a"): Next
    dt = Timer - t0: If dt < best(2) Then best(2) = dt
    t0 = Timer
    For i = 1 To N: x = d.Item("k"): Next
    dt = Timer - t0: If dt < best(3) Then best(3) = dt
Next

Function Micro(seconds)
    Micro = Int(seconds / N * 1000000000 + 0.5) / 1000  ' Round(x, 3) ignores its digits in Wine
End Function

Function Ratio(ours)
    Ratio = Int((ours - best(0)) / (best(3) - best(0)) * 100 + 0.5) / 100
End Function

WScript.Echo "empty loop step: " & Micro(best(0)) & " us"
WScript.Echo "BooleanSearch call: " & Micro(best(1)) & " us, " & Micro(best(1) - best(0)) & " us over the loop"
WScript.Echo "RemoveAllSpaces call: " & Micro(best(2)) & " us, " & Micro(best(2) - best(0)) & " us over the loop"
WScript.Echo "Dictionary.Item call: " & Micro(best(3)) & " us, " & Micro(best(3) - best(0)) & " us over the loop"
If best(3) > best(0) Then
    WScript.Echo "overhead ratio (BooleanSearch / Dictionary.Item): " & Ratio(best(1))
    WScript.Echo "overhead ratio (RemoveAllSpaces / Dictionary.Item): " & Ratio(best(2))
End If
