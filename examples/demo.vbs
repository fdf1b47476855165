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
