' Shared checks for the client suites. scripts/client-tests.sh runs every tests/client/*.vbs
' with this file put in front of it, so a suite calls these directly and ends with Done.
Option Explicit

Dim gPassed, gFailed, gGroup
gPassed = 0
gFailed = 0
gGroup = ""

Sub Group(name)
    gGroup = name
End Sub

Sub Pass()
    gPassed = gPassed + 1
End Sub

Sub Fail(name, detail)
    gFailed = gFailed + 1
    WScript.Echo "FAIL " & gGroup & ": " & name & " - " & detail
End Sub

Function Show(v)
    If IsObject(v) Then
        If v Is Nothing Then Show = "Nothing" Else Show = "<object>"
    ElseIf IsNull(v) Then
        Show = "Null"
    ElseIf IsEmpty(v) Then
        Show = "Empty"
    ElseIf IsArray(v) Then
        Show = "<array>"
    Else
        Show = TypeName(v) & " " & Chr(171) & CStr(v) & Chr(187)
    End If
End Function

' Same value and same type.
Sub Check(name, actual, expected)
    If IsObject(actual) Or IsObject(expected) Or IsArray(actual) Or IsArray(expected) Then
        Fail name, "Check does not compare objects or arrays"
    ElseIf IsNull(actual) Or IsNull(expected) Then
        If IsNull(actual) And IsNull(expected) Then Pass Else Fail name, Show(actual) & " <> " & Show(expected)
    ElseIf VarType(actual) = VarType(expected) And actual = expected Then
        Pass
    Else
        Fail name, Show(actual) & " <> " & Show(expected)
    End If
End Sub

Sub CheckTrue(name, condition)
    If condition Then Pass Else Fail name, "not true"
End Sub

' Call right after the statement under test, with On Error Resume Next in force; reads and
' clears Err. Use Empty for the source or description to leave it unchecked.
Sub CheckError(name, number, source, description)
    Dim n, s, d
    n = Err.Number: s = Err.Source: d = Err.Description
    Err.Clear
    If n <> number Then
        Fail name, "error " & n & " (" & d & "), expected " & number
    ElseIf Not IsEmpty(source) And s <> source Then
        Fail name, "source " & Chr(171) & s & Chr(187) & ", expected " & Chr(171) & source & Chr(187)
    ElseIf Not IsEmpty(description) And d <> description Then
        Fail name, "description " & Chr(171) & d & Chr(187) & ", expected " & Chr(171) & description & Chr(187)
    Else
        Pass
    End If
End Sub

' Call after statements that must not fail, with On Error Resume Next in force.
Sub CheckNoError(name)
    CheckError name, 0, Empty, Empty
End Sub

Sub Done()
    WScript.Echo gPassed & " passed, " & gFailed & " failed"
End Sub
