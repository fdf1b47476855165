' SQLRoutines through the DLL: splitting with write-back, clause properties with and without a
' select number, joining, and the errors with the state they leave.
Const kSrc = "Brevanto.SQLRoutines"
Dim s, stmt, i
Set s = CreateObject("Brevanto.SQLRoutines")

Group "SQLParse"
stmt = "select a" & vbCrLf & "from t" & vbCrLf & "where b = 'x; y';"
Check "result", s.SQLParse(stmt), 0
Check "written back", stmt, "select a from t where b = 'x; y';"
Check "SelectSQL", s.SelectSQL, "select a"
Check "From", s.From(1), "from t"
Check "Where loses the semicolons", s.Where, "where b = 'xy'"

stmt = "SELECT a FROM t UNION SELECT b FROM u UNION SELECT c FROM v ORDER BY 1"
s.SQLParse stmt
Check "second select keeps its UNION", s.SelectSQL(2), "UNION SELECT b"
Check "third From", s.From(3), "FROM v"
Check "trailing ORDER BY", s.OrderBy(3), "ORDER BY 1"
stmt = "TRANSFORM Sum(v) SELECT a FROM t GROUP BY a HAVING x > 1 PIVOT b"
s.SQLParse stmt
Check "crosstab head", s.SelectSQL(1), "TRANSFORM Sum(v)"
Check "GroupBy", s.GroupBy(2), "GROUP BY a"
Check "Having", s.Having(2), "HAVING x > 1"
Check "Pivot", s.Pivot(2), "PIVOT b"
stmt = "SELECT a FROM t UNION  SELECT b FROM u"
s.SQLParse stmt
Check "UNION and two spaces", s.SelectSQL(2), "UNION  SELECT b"
s.SQLAppend
Check "joined", s.SQL, "SELECT a FROM t UNION  SELECT b FROM u "

Group "clause properties and joining"
s.Clear
Check "Clear keeps SQL", s.SQL, "SELECT a FROM t UNION  SELECT b FROM u "
s.SelectSQL = "a"
s.From = "t"
s.Where = "  where x = 1 "
s.GroupBy(1) = "Group By a"
s.Having = "count(*) > 1"
s.OrderBy = "a"
s.Pivot = "p"
Check "keywords added", s.SelectSQL & "|" & s.From & "|" & s.Where & "|" & s.GroupBy & "|" & _
      s.Having & "|" & s.OrderBy & "|" & s.Pivot, _
      "Select a|From t|where x = 1|Group By a|Having count(*) > 1|Order By a|Pivot p"
s.Pivot = ""
s.Where(3) = "y = 2"
Check "Where of select 3", s.Where(3), "WHERE y = 2"
s.WhereAppend "AND z = 3"
s.WhereAppend "w = 4", 2
Check "WhereAppend to a WHERE", s.Where, "where x = 1 AND z = 3"
Check "WhereAppend without one", s.Where(2), " WHERE w = 4"
s.SQLAppend
Check "SQLAppend spacing", s.SQL, _
      "Select a From t where x = 1 AND z = 3 Group By a Having count(*) > 1 Order By a  WHERE w = 4 WHERE y = 2 "
s.SQL = 12
Check "SQL let", s.SQL, "12"
Check "Clear result", IsEmpty(s.Clear), True
s.SQLAppend
Check "nothing to join", s.SQL, ""

Group "errors"
On Error Resume Next
stmt = ""
s.SQLParse stmt
CheckError "empty statement", 32000, kSrc, "Empty string passed to SQLParse routine"
stmt = Null
s.SQLParse stmt
CheckError "Null statement", 94, kSrc, "Invalid use of Null"
CheckTrue "Null stays", IsNull(stmt)
stmt = String(32768, "a")
s.SQLParse stmt
CheckError "too long", 6, kSrc, "Overflow"
stmt = "SELECT a0" & vbCrLf
For i = 1 To 10
    stmt = stmt & "UNION SELECT a" & i & " "
Next
s.SQLParse stmt
CheckError "eleven selects", 9, kSrc, "Subscript out of range"
Check "replaced before the failure", Left(stmt, 16), "SELECT a0 UNION "
Check "tenth select kept", s.SelectSQL(10), "UNION SELECT a9"
s.SQLAppend
CheckNoError "ten selects join"
stmt = "SELECT a FROM t ORDER BY a WHERE x = 1"
s.SQLParse stmt
CheckError "clauses out of order", 5, kSrc, "Invalid procedure call or argument"
s.Where(11) = "x"
CheckError "select 11", 9, kSrc, Empty
i = s.From(0)
CheckError "select 0", 9, kSrc, Empty
i = s.From("two")
CheckError "select number not a number", 13, kSrc, Empty
s.Where = Null
CheckError "Null clause", 94, kSrc, Empty
s.WhereAppend "x", 12
CheckError "WhereAppend select 12", 9, kSrc, Empty
On Error GoTo 0

Done
