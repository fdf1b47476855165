' DateHelper and VBObjectHelper through the DLL: month arithmetic on the edge cases, a leap-year
' sweep, the ends of the date range, and the display helpers.
Dim d, v, a, b, r, y, bad, firstBad, t, frac

Set d = CreateObject("Brevanto.DateHelper")
Set v = CreateObject("Brevanto.VBObjectHelper")

Function IsLeap(year)
    IsLeap = (year Mod 4 = 0 And year Mod 100 <> 0) Or year Mod 400 = 0
End Function

Group "days in a month"
Check "31 December 2023", d.DaysInMonth(#12/31/2023#), 31
Check "15 February 2024", d.DaysInMonth(#2/15/2024#), 29
Check "15 February 2023", d.DaysInMonth(#2/15/2023#), 28
Check "first month of the range", d.DaysInMonth(#1/1/100#), 31
Check "date text converts", d.DaysInMonth("2/1/2000"), 29

Group "first and last day"
Check "first keeps the time", d.FirstDayOfMonth(#3/17/2024 10:30#), #3/1/2024 10:30#
Check "last of a last day", d.LastDayOfMonth(#1/31/2023#), #1/31/2023#
Check "last of a leap February keeps the time", d.LastDayOfMonth(#2/15/2024 18:00#), #2/29/2024 18:00#
Check "first before 1900 keeps the time", d.FirstDayOfMonth(CDate("7/20/1800 9:00")), CDate("7/1/1800 9:00")
Check "last before 1900 keeps the time", d.LastDayOfMonth(CDate("12/3/1899 9:00")), CDate("12/31/1899 9:00")
Check "first of the last month", d.FirstDayOfMonth(#12/31/9999 23:59#), #12/1/9999 23:59#
Check "last of the first month", d.LastDayOfMonth(#1/1/100#), #1/31/100#

Group "leap-year sweep 1600 to 2400"
bad = 0
firstBad = ""
For y = 1600 To 2400
    b = 28
    If IsLeap(y) Then b = 29
    If d.DaysInMonth(DateSerial(y, 2, 10)) <> b Or d.LastDayOfMonth(DateSerial(y, 2, 1)) <> DateSerial(y, 2, b) _
       Or d.FirstDayOfMonth(DateSerial(y, 2, b)) <> DateSerial(y, 2, 1) Or d.DaysInMonth(DateSerial(y, 3, 31)) <> 31 Then
        bad = bad + 1
        If firstBad = "" Then firstBad = y
    End If
Next
Check "years with a wrong February (first: " & firstBad & ")", bad, 0

Group "ends of the date range"
On Error Resume Next
r = d.DaysInMonth(#12/1/9999#)
CheckError "days of the last month", 5, "Brevanto.DateHelper", "Invalid procedure call or argument"
r = d.LastDayOfMonth(#12/15/9999#)
CheckError "last day of the last month", 5, "Brevanto.DateHelper", "Invalid procedure call or argument"
r = d.DaysInMonth("not a date")
CheckError "text that is no date", 13, Empty, Empty
r = d.DaysInMonth(Null)
CheckError "Null", 94, Empty, Empty
r = d.DaysInMonth()
CheckError "missing argument", 449, Empty, Empty
On Error GoTo 0

Group "month number as text"
Check "April to June", d.MonthNumberAsText(#4/30/2024#, #6/1/2024#), "03"
Check "days do not count", d.MonthNumberAsText(#1/30/2024#, #2/1/2024#), "02"
Check "same month", d.MonthNumberAsText(#5/1/2024#, #5/31/2024 23:00#), "01"
Check "one month before", d.MonthNumberAsText(#5/1/2024#, #4/30/2024#), "00"
Check "earlier months are negative", d.MonthNumberAsText(#5/1/2024#, #1/1/2024#), "-03"
Check "two years later", d.MonthNumberAsText(#5/1/2024#, #5/1/2026#), "25"
Check "largest Integer", d.MonthNumberAsText(#1/1/100#, #7/1/2830#), "32767"
a = #1/15/2024#
b = #3/1/2024#
Check "variables", d.MonthNumberAsText(a, b), "03"
Check "start unchanged", a, #1/15/2024#
Check "month unchanged", b, #3/1/2024#
On Error Resume Next
r = d.MonthNumberAsText(#1/1/100#, #8/1/2830#)
CheckError "beyond an Integer", 6, "Brevanto.DateHelper", "Overflow"
r = d.MonthNumberAsText(#12/31/9999#, #1/1/100#)
CheckError "far below an Integer", 6, "Brevanto.DateHelper", "Overflow"
On Error GoTo 0

Group "full date and time"
r = d.FullDateTime("3/15/2024")
t = Now
frac = CDbl(t) - Int(CDbl(t))
CheckTrue "a Double", VarType(r) = vbDouble
Check "the date", Int(r), CDbl(#3/15/2024#)
CheckTrue "the current time of day (" & (r - Int(r)) & " against " & frac & ")", Abs((r - Int(r)) - frac) < 5 / 86400 Or Abs((r - Int(r)) - frac) > 1 - 5 / 86400
r = d.FullDateTime("3/15/2024 6:00")
CheckTrue "its own time plus the current one", Abs(r - CDbl(#3/15/2024 6:00#) - frac) < 5 / 86400 Or frac > 0.74
Check "no date", d.FullDateTime("no date"), CDbl(0)
Check "long text", d.FullDateTime(String(40000, "1")), CDbl(0)
Check "number as text", d.FullDateTime("3.5x"), CDbl(0)

Group "row captions"
Check "none", v.fnRowsReturned(0), "No Rows Returned"
Check "one", v.fnRowsReturned(1), "1 Row Returned"
Check "negative", v.fnRowsReturned(-3), "-3 Rows Returned"
Check "largest Long", v.fnRowsReturned(2147483647), "2147483647 Rows Returned"
On Error Resume Next
r = v.fnRowsReturned(3000000000)
CheckError "beyond a Long", 6, Empty, Empty
r = v.fnRowsReturned("many")
CheckError "text for a count", 13, Empty, Empty
On Error GoTo 0

Group "hourglass"
On Error Resume Next
v.MouseHourGlass True
CheckNoError "on"
v.MouseHourGlass False
CheckNoError "off"
v.MouseHourGlass
CheckError "missing argument", 449, Empty, Empty
On Error GoTo 0

Done
