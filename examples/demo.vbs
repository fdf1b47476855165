' Brevanto demo: a few everyday chores of a database front-end, through the automation server.
' Run with: cscript //nologo demo.vbs
Option Explicit

' ---- SQL: split a stored statement, add a condition, join it again ----
Sub DemoSql()
    Dim sql, stmt, i
    Set sql = CreateObject("Brevanto.SQLRoutines")

    stmt = "SELECT Name, City FROM Customers WHERE Active = 1" & vbCrLf & _
           "UNION SELECT Name, City FROM Suppliers" & vbCrLf & _
           "ORDER BY Name;"
    WScript.Echo "Statement:       " & Replace(stmt, vbCrLf, " | ")
    sql.SQLParse stmt
    WScript.Echo "Written back:    " & stmt

    For i = 1 To 2
        WScript.Echo "Select " & i & ": [" & sql.SelectSQL(i) & "] [" & sql.From(i) & "] [" & _
                     sql.Where(i) & "] [" & sql.OrderBy(i) & "]"
    Next

    sql.WhereAppend "Country = 'NL'"          ' select 1 already has a WHERE clause
    sql.WhereAppend "AND Rating > 3", 2       ' select 2 gets its first one
    sql.SQLAppend
    WScript.Echo "Joined again:    " & sql.SQL

    sql.Clear
    sql.SelectSQL = "Name"
    sql.From = "Customers"
    sql.Where = "City = 'Delft'"
    sql.OrderBy = "Name"
    sql.SQLAppend
    WScript.Echo "Built from parts: " & sql.SQL
End Sub

DemoSql

' ---- Command line and arrays: named parameters, and arrays that grow and shrink in place ----

Function DemoJoin(items)
    Dim i, s
    s = ""
    If IsArray(items) Then
        For i = LBound(items) To UBound(items)
            If i > LBound(items) Then s = s & ", "
            s = s & items(i)
        Next
    Else
        s = "(no array)"
    End If
    DemoJoin = "[" & s & "]"
End Function

Sub DemoCommandLineAndArrays()
    Dim params, p, helper, coll, colours, n

    WScript.Echo "-- Command line"
    Set params = CreateObject("Brevanto.CommandParams")
    params.CommandLine = "report.txt /copies 2 /title ""Quarterly Figures"" /draft"
    params.ParseCommandLine
    WScript.Echo "Line: " & params.CommandLine
    WScript.Echo "Parameters: " & params.Count
    For Each p In params
        WScript.Echo "  /" & p.ParamName & " = '" & p.ParamValue & "'"
    Next
    WScript.Echo "Copies (by name, any case): " & params("COPIES").ParamValue
    WScript.Echo "Draft given: " & params.FindCommandLineItem("draft")
    If IsEmpty(params.GetCommandLineItem("printer")) Then WScript.Echo "No printer given"

    WScript.Echo "-- Arrays"
    Set helper = CreateObject("Brevanto.ArrayHelper")
    n = helper.ListToArray(colours, " red, green ,blue ,", ",")
    WScript.Echo "From a list: " & DemoJoin(colours) & " (" & n & " separators)"
    helper.AddElementToArray colours, "GREEN"
    WScript.Echo "Adding GREEN changes nothing: " & DemoJoin(colours)
    helper.AddElementToArray colours, "white", True, 1, 0
    WScript.Echo "White in front: " & DemoJoin(colours)
    helper.RemoveArrayItem colours, 2
    WScript.Echo "Without the third: " & DemoJoin(colours)
    WScript.Echo "Has blue: " & helper.IsElementInArray(colours, "Blue")

    Set coll = CreateObject("Brevanto.ArrayCollectionHelper")
    coll.ArrayIsUnique = True
    coll.ClientArray = Array("a", "A", "b")
    WScript.Echo "Unique collection of a, A, b: " & DemoJoin(coll.ClientArray)
    coll.Add "z", , 1
    coll.Add "c"
    coll.Remove 2
    WScript.Echo "After adds and a removal: " & DemoJoin(coll.ClientArray) & ", count " & coll.Count
End Sub

DemoCommandLineAndArrays

' ---- Text: a search phrase a user typed becomes a condition; text tidied for SQL ----
Sub DemoText()
    Dim txt, phrase
    Set txt = CreateObject("Brevanto.TextHelper")
    WScript.Echo "-- Text"
    phrase = "war AND peace"
    WScript.Echo "Search '" & phrase & "':   " & txt.BooleanSearch(phrase, "Title")
    WScript.Echo "Search 'smith', exact: " & txt.BooleanSearch("smith", "Name", 1)
    WScript.Echo "SQL literal:           " & txt.SQLHandleQuotesAndApostrophes("O'Brien", 2)
    WScript.Echo "Extra spaces removed:  [" & txt.RemoveExtraSpaces("too   many    spaces  ") & "]"
    WScript.Echo "Safe file name:        " & txt.ReplaceInvalidCharacters("Report 3/4: Q1?.txt")
    WScript.Echo "Rounded, half to even: 2.5 -> " & txt.Round(2.5, 0) & ", 3.5 -> " & _
                 txt.Round(3.5, 0) & "; 1234567890 in millions: " & txt.RoundMillions(1234567890, 2)
    WScript.Echo "Letter group of M:     " & txt.LetterGrouping("M", 5, 1)
End Sub

DemoText

' ---- Dates and paths: month arithmetic for a billing run, and a report folder made on demand ----
Sub DemoDatesAndPaths()
    Dim dh, vb, os, fso, folder, path, today
    Set dh = CreateObject("Brevanto.DateHelper")
    Set vb = CreateObject("Brevanto.VBObjectHelper")
    Set os = CreateObject("Brevanto.OS32Helper")
    WScript.Echo "-- Dates and paths"
    today = #1/31/2024 14:30#
    WScript.Echo "Billing date:          " & today
    WScript.Echo "Days in its month:     " & dh.DaysInMonth(today)
    WScript.Echo "First of the month:    " & dh.FirstDayOfMonth(today)
    WScript.Echo "Last of next month:    " & dh.LastDayOfMonth(DateSerial(2024, 2, 1)) & " (a leap year)"
    WScript.Echo "Instalment number:     " & dh.MonthNumberAsText(#11/15/2023#, today) & _
                 " of a plan that began in November 2023"
    WScript.Echo "Rows caption:          " & vb.fnRowsReturned(12)
    Set fso = CreateObject("Scripting.FileSystemObject")
    folder = fso.BuildPath(fso.GetSpecialFolder(2), "Brevanto demo\reports\" & Year(today))
    path = folder & "\january.txt"
    WScript.Echo "Report file name:      " & os.FileNameNoPath(path) & " in " & os.PathNameNoFile(path)
    WScript.Echo "Folder made:           " & os.MakeDirectory(folder) & ", writable: " & os.WriteAccess(folder)
    fso.DeleteFolder fso.BuildPath(fso.GetSpecialFolder(2), "Brevanto demo"), True
End Sub

DemoDatesAndPaths

' ---- Dialogs: a filter list built for the control the file goes into ----
Sub DemoDialogs()
    Dim dlg, i, showIt
    Set dlg = CreateObject("Brevanto.CDialog")
    WScript.Echo "-- Dialogs"
    dlg.AddFilter "Reports", "*.rpt"
    dlg.AddFilter "Exports", "*.csv;*.txt", True
    WScript.Echo "Filter list:          " & dlg.Filter
    WScript.Echo "Selected filter:      " & dlg.FilterIndex
    dlg.Filter = ""
    dlg.AddDefaultFilters "a text box's value"
    WScript.Echo "Filters for text:     " & dlg.Filter
    dlg.MultiSelect = 2
    dlg.FileMustExist = 1
    WScript.Echo "Flags for a multiple selection of existing files: " & dlg.Flags
    showIt = False
    For i = 0 To WScript.Arguments.Count - 1
        If LCase(WScript.Arguments(i)) = "/dialog" Then showIt = True
    Next
    If showIt Then
        dlg.DialogTitle = "Brevanto demo: choose files"
        If dlg.ShowOpen() Then
            For i = 1 To dlg.SelectedFileCount
                WScript.Echo "Chosen:               " & dlg.SelectedFile(i)
            Next
        Else
            WScript.Echo "No file chosen (cancelled, or no display to show the dialog on)."
        End If
    Else
        WScript.Echo "The open dialog needs a display and someone to answer it: run the demo with /dialog."
    End If
End Sub

DemoDialogs

' ---- Registry: a key of typed values, listed and removed again ----
Sub DemoRegistry()
    Const kHkcu = -2147483647
    Dim reg, basic, sh, fso, tmp, f, line, i
    WScript.Echo "-- Registry"
    Set reg = CreateObject("Brevanto.CRegistryAdvanced")
    reg.Root = kHkcu
    reg.key = "Software\BrevantoDemo"
    reg.SetValue "", "the unnamed value"
    reg.SetValue "Count", 42
    reg.SetValue "Folder", "%TEMP%\reports"
    reg.SetValue "Pair", "first" & Chr(0) & "second" & Chr(0)
    reg.SetValue "Title", "Quarterly report"
    reg.SetValue "Limit", "250", 4
    For i = 1 To reg.ValueCount
        WScript.Echo "  " & reg.GetName(i) & " = " & Replace(reg.GetValue(i), Chr(0), "|")
    Next
    ' The types as the registry itself reports them.
    Set sh = CreateObject("WScript.Shell")
    Set fso = CreateObject("Scripting.FileSystemObject")
    tmp = fso.GetSpecialFolder(2) & "\brevanto-demo.txt"
    sh.Run "cmd /c reg query HKCU\Software\BrevantoDemo > """ & tmp & """", 0, True
    Set f = fso.OpenTextFile(tmp)
    Do While Not f.AtEndOfStream
        line = f.ReadLine
        If InStr(line, "REG_") > 0 Then WScript.Echo "  reg query:" & line
    Loop
    f.Close
    fso.DeleteFile tmp
    Set basic = CreateObject("Brevanto.CRegistryBasic")
    basic.Root = kHkcu
    basic.key = "Software"
    WScript.Echo "Key deleted: " & basic.DeleteKey("BrevantoDemo")
End Sub

DemoRegistry

' ---- System: the machine, its user and folders; a scratch file copied and deleted by the shell ----
Sub DemoSystem()
    Dim api, fso, folder, source, target, flags, kind, drive, server, share
    Set api = CreateObject("Brevanto.Win32API")
    Set fso = CreateObject("Scripting.FileSystemObject")
    WScript.Echo "-- System"
    WScript.Echo "Machine and user:  " & api.GetMachineName() & ", " & api.GetCurrentWindowsUser()
    WScript.Echo "Windows folder:    " & api.GetFolderWindows()
    WScript.Echo "System folder:     " & api.GetFolderSystem()
    WScript.Echo "Temporary folder:  " & api.GetFolderTemp()
    WScript.Echo "Current folder:    " & api.GetFolderCurrent()
    WScript.Echo "Drive C:           " & api.GetDriveType("C", kind) & " (code " & kind & ")"
    On Error Resume Next
    drive = "c"
    api.GetUNCPath drive, server, share
    WScript.Echo "Share behind " & drive & "     " & Err.Description
    On Error GoTo 0

    folder = api.GetFolderTemp() & "brevanto-demo"
    If Not fso.FolderExists(folder) Then fso.CreateFolder folder
    fso.CreateTextFile(folder & "\note.txt", True).Write "scratch"
    source = folder & "\note.txt"
    target = folder & "\copy.txt"
    flags = 0
    api.FileOperation 0, 2, source, target, flags
    WScript.Echo "Copied by the shell: " & fso.FileExists(folder & "\copy.txt") & " (flags used " & flags & ")"
    source = folder
    api.FileOperation 0, 3, source
    WScript.Echo "Scratch folder deleted: " & (Not fso.FolderExists(folder))
    On Error Resume Next
    api.ExecuteFile folder & "\gone.txt"
    WScript.Echo "Opening a missing file: error " & Err.Number & ", " & Err.Description
    On Error GoTo 0
End Sub

DemoSystem
