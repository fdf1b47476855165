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
