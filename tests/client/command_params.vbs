' CommandParams and clsCommandParam through the DLL: the switch grammar, the default member,
' For Each, item identity and the error numbers.
Const kCp = "Brevanto.CommandParams"
Dim q
q = Chr(34)

Function Parsed(line)
    Dim cp
    Set cp = CreateObject(kCp)
    cp.CommandLine = line
    cp.ParseCommandLine
    Set Parsed = cp
End Function

' The parameters in enumeration order as "name=value|".
Function Listing(params)
    Dim p, s
    s = ""
    For Each p In params
        s = s & p.ParamName & "=" & p.ParamValue & "|"
    Next
    Listing = s
End Function

Dim cp, p, first, again, n, line

Group "CommandLine"
Set cp = CreateObject(kCp)
cp.CommandLine = "  /a 1  "
Check "let trims, get returns", cp.CommandLine, "/a 1"
cp.CommandLine = "a 1"
Check "get stores a leading slash", cp.CommandLine, "/a 1"
cp.ParseCommandLine
Check "parsed after the added slash", Listing(cp), "a=1|"
' Nothing assigned: the script host's own arguments, "//nologo <script path>".
Set cp = CreateObject(kCp)
line = cp.CommandLine
CheckTrue "fallback to the process's arguments: " & line, _
    Left(line, 9) = "//nologo " And InStr(line, "command_params.vbs") > 0
cp.ParseCommandLine
Check "the first switch is named /nologo", cp.Count, CLng(1)
CheckTrue "its value is the script path", InStr(cp("/NOLOGO").ParamValue, "command_params.vbs") > 0

Group "grammar"
Check "value with spaces", Listing(Parsed("/title Hello World /n 2")), "title=Hello World|n=2|"
Check "a slash in a value starts a switch", Listing(Parsed("/date 12/05/2001")), "date=12|05/2001=|"
Check "text before the first switch", Listing(Parsed("report.txt /copies 2")), "report.txt=|copies=2|"
Check "a slash inside a name", Listing(Parsed("/a/b x")), "a/b=x|"
Check "empty name drops its value", Listing(Parsed("/ lost /k v")), "k=v|"
Check "trailing slash, no terminator", Listing(Parsed("/a x /")), "a=x|"
Check "spaces trimmed", Listing(Parsed("/a    x   ")), "a=x|"
Check "tabs are ordinary", Listing(Parsed("/a" & vbTab & "b c" & vbTab)), "a" & vbTab & "b=c" & vbTab & "|"
Check "quoted value", Listing(Parsed("/file " & q & "My File.txt" & q & " /n 2")), "file=My File.txt|n=2|"
Check "quote takes the space behind it", Listing(Parsed("/a " & q & "x" & q & " y")), "a=xy|"
Check "name running to the end", Listing(Parsed("/a/b/")), "a/b/=a|b/=b|"

Group "lookup and the default member"
Set cp = Parsed("/File x /b /c 3")
Check "default member by name, any case", cp("FILE").ParamValue, "x"
Check "ParamName keeps its case", cp("file").ParamName, "File"
Check "default member by position", cp(2).ParamName, "b"
Check "Item by position as Double", cp.Item(3.0).ParamValue, "3"
Check "Count is a Long", cp.Count, CLng(3)
Check "GetCommandLineItem", cp.GetCommandLineItem("C"), "3"
Check "given without a value: empty String", cp.GetCommandLineItem("b"), ""
CheckTrue "not given: Empty", IsEmpty(cp.GetCommandLineItem("zzz"))
Check "FindCommandLineItem found", cp.FindCommandLineItem("B"), True
Check "FindCommandLineItem missing", cp.FindCommandLineItem("zzz"), False
Check "FindCommandLineItem takes a name, not a position", cp.FindCommandLineItem("1"), False
n = 0
For Each p In CreateObject(kCp)
    n = n + 1
Next
Check "For Each over nothing parsed", n, 0

Group "identity"
Set first = cp("file")
Set again = cp(1)
CheckTrue "two reads give the same object", first Is again
For Each p In cp
    CheckTrue "For Each yields the stored object", p Is first
    Exit For
Next
first.ParamValue = " changed "
Check "a change is seen through the collection", cp("FILE").ParamValue, " changed "
first.ParamName = "other"
Check "the key stays", cp("file").ParamName, "other"

Group "errors"
On Error Resume Next
' Named: Wine's script host drops the error of a failing default-member call with arguments
' (the statement fails with a bare E_FAIL), whoever the server is.
Set p = cp.Item("nope")
CheckError "absent name", 5, kCp, "Invalid procedure call or argument"
Set p = cp.Item(0)
CheckError "position 0", 9, kCp, "Subscript out of range"
Set p = cp.Item(4)
CheckError "position Count + 1", 9, kCp, Empty
cp.ParseCommandLine
CheckError "second parse", 457, kCp, "This key is already associated with an element of this collection"
Check "second parse adds nothing", cp.Count, CLng(3)
Set cp = CreateObject(kCp)
cp.CommandLine = "/a 1 /b 2 /A 3 /d 4"
cp.ParseCommandLine
CheckError "duplicate name in another case", 457, kCp, Empty
Check "what came before stays", cp.Count, CLng(2)
Set cp = CreateObject(kCp)
cp.CommandLine = "/a " & String(32762, "x")
cp.ParseCommandLine
CheckNoError "32,765 characters"
Check "32,765 characters parsed", Len(cp("a").ParamValue), CLng(32762)
Set cp = CreateObject(kCp)
cp.CommandLine = "/a " & String(32763, "x")
cp.ParseCommandLine
CheckError "more than 32,765 characters", 6, kCp, "Overflow"
Check "nothing stored", cp.Count, CLng(0)
Set p = CreateObject("Brevanto.clsCommandParam")
CheckError "clsCommandParam is not creatable", 429, Empty, Empty
On Error GoTo 0

Done
