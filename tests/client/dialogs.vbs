' CDialog through the DLL: properties, flags and filters everywhere; the real open and save
' dialogs where the runner gives the suite a display and drives the windows (dialogs.windows
' lists the steps, in the order in which the dialogs below appear). What the unit tests check with
' a scripted dialog (every FileMustExist row, a filter text past an Integer, a negative
' MaxFileSize, a cancel without CancelError) is not repeated here.

' Stand-ins for a form's controls: a text box, a list box, a value object and a broken one.
Class TextTarget
    Public Text
End Class

Class ListTarget
    Public ListIndex
    Private items
    Private Sub Class_Initialize()
        Set items = CreateObject("Scripting.Dictionary")
        ListIndex = -1
    End Sub
    Public Property Get ListCount()
        ListCount = items.Count
    End Property
    Public Property Get List(i)
        List = items.Item(CLng(i))
    End Property
    Public Sub Clear()
        items.RemoveAll
        ListIndex = -1
    End Sub
    Public Sub AddItem(s)
        items.Add CLng(items.Count), s
    End Sub
End Class

Class RichTarget
    Public TextRTF
    Public Text
    Public Calls
    Public Sub LoadFile(f)
        Calls = Calls & "load " & f & ";"
    End Sub
End Class

Class PictureTarget
    Public Picture
End Class

Class BrokenText
    Public Property Get Text()
        Err.Raise 5
    End Property
End Class

Function NewDialog()
    Set NewDialog = CreateObject("Brevanto.CDialog")
End Function

Dim d, s, r, c
Set d = NewDialog()

Group "defaults and stored properties"
For Each c In Array(Array("CancelError", d.CancelError, True), Array("FilterIndex", d.FilterIndex, 1), _
        Array("MaxFileSize", d.MaxFileSize, 256), Array("SelectedFileCount", d.SelectedFileCount, 0), _
        Array("Filter", d.Filter, ""), Array("MultiSelect", d.MultiSelect, 0), _
        Array("FileReadOnly", d.FileReadOnly, 0), Array("FileMustExist", d.FileMustExist, 0), _
        Array("FileMustBeWriteable", d.FileMustBeWriteable, False), Array("SelectedFile(1)", d.SelectedFile(1), ""))
    Check c(0), c(1), c(2)
Next
d.DialogTitle = "x"
d.Tag = " tag "
d.HelpContext = 70000
d.MaxFileSize = 32767
Check "DialogTitle", d.DialogTitle, "x"
Check "Tag", d.Tag, " tag "
Check "HelpContext", d.HelpContext, 70000
Check "MaxFileSize 32767", d.MaxFileSize, 32767
On Error Resume Next
d.MaxFileSize = 32768
CheckError "MaxFileSize 32768", 6, Empty, Empty
On Error GoTo 0

Group "flag properties"
For Each c In Array(Array(2, 524800), Array(1, 512), Array(0, 0))
    d.MultiSelect = c(0)
    Check "MultiSelect " & c(0), d.Flags, CLng(c(1))
Next
d.FileReadOnly = 1
d.FileReadOnly = 2
Check "FileReadOnly 1 then 2", d.Flags, CLng(5)
Check "FileReadOnly reads 2", d.FileReadOnly, 2
d.FileMustBeWriteable = True
Check "FileMustBeWriteable", d.Flags, CLng(32773)
d.Action = 9
Check "an unknown Action does nothing", d.Flags, CLng(32773)

Group "filters"
Set d = NewDialog()
d.AddFilter "A", "*.a"
d.AddFilter "B", "*.b;*.c", True
Check "two pairs", d.Filter, "A (*.a)|*.a|B|*.b;*.c"
Check "the default is selected", d.FilterIndex, 2
d.Filter = "X|*.x|"
d.AddFilter "Y", "*.y"
Check "no second bar", d.Filter, "X|*.x|Y (*.y)|*.y"
d.Filter = "no pairs at all"
d.AddFilter "Z", "*.z", 1
Check "text without pairs", d.Filter, "no pairs at all|Z (*.z)|*.z"
Check "its count", d.FilterIndex, 2
d.Filename = "report.txt"
d.DefaultExt = "rtf"
Check "FileNameDefaultFilter", d.FileNameDefaultFilter, "report.rtf"
d.Filename = "abc"
On Error Resume Next
s = d.FileNameDefaultFilter
CheckError "FileNameDefaultFilter of 'abc'", 5, "Brevanto.CDialog", "Invalid procedure call or argument"
On Error GoTo 0

Group "default filter sets by target kind"
Dim target
For Each c In Array(Array("rich text", New RichTarget, "All Files (*.*)|*.*|All Document files|*.rtf;*.txt|Rich Text Box files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt"), _
        Array("picture", New PictureTarget, "All Files (*.*)|*.*|All Image files|*.bmp;*.dib;*.wmf;*.emf;*.ico;*.cur|Bitmaps|*.bmp;*.dib|Metafiles|*.wmf;*.emf|Icons|*.ico;*.cur"), _
        Array("list", New ListTarget, "All Files (*.*)|*.*|Data Files|*.dat;*.lst"), _
        Array("text", New TextTarget, "All Files (*.*)|*.*|Text files  (*.txt)|*.txt"), _
        Array("a String", "abc", "All Files (*.*)|*.*|Text files  (*.txt)|*.txt"))
    Set d = NewDialog()
    d.AddDefaultFilters c(1)
    Check c(0), d.Filter & " " & d.FilterIndex, c(2) & " 2"
Next
Set d = NewDialog()
d.Filter = "K|*.k"
d.AddDefaultFilters Nothing
d.AddDefaultFilters 42
d.AddDefaultFilters New BrokenText
d.AddDefaultFilters CreateObject("Scripting.Dictionary")
Check "no kind adds nothing", d.Filter & " " & d.FilterIndex, "K|*.k 1"

Group "bad input without a dialog"
Set d = NewDialog()
On Error Resume Next
d.LoadInto Nothing
CheckNoError "LoadInto Nothing"
d.SaveFrom New TextTarget
CheckNoError "SaveFrom before any dialog"
d.LoadInto 5
CheckNoError "a number as a target matches no kind"
On Error GoTo 0

' --- with a display -------------------------------------------------------------------------
Dim sh, fso, dir, haveDisplay
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
haveDisplay = InStr(sh.ExpandEnvironmentStrings("%BREVANTO_DISPLAY%"), "1") = 1
dir = Replace(sh.ExpandEnvironmentStrings("%BREVANTO_DIALOG_DIR%"), Chr(0), "")

Sub WriteFile(name, text)
    Dim f
    Set f = fso.CreateTextFile(dir & "\" & name, True)
    f.Write text
    f.Close
End Sub

Function ReadFile(name)
    Dim f
    Set f = fso.OpenTextFile(dir & "\" & name, 1)
    If f.AtEndOfStream Then ReadFile = "" Else ReadFile = f.ReadAll
    f.Close
End Function

' A new object whose dialog shows `title` over the test folder.
Function DialogIn(title)
    Set DialogIn = NewDialog()
    DialogIn.DialogTitle = title
    DialogIn.InitDir = dir
End Function

If Not haveDisplay Then
    WScript.Echo "skipped: the dialog tests need a display (the runner gives one when Xvfb is installed)"
Else
    WriteFile "a.txt", "first line" & vbCrLf & "second line"
    WriteFile "b.txt", "b"
    WriteFile "items.lst", "one" & vbCrLf & "two" & vbCr & "three" & vbLf & "still three" & vbCrLf

    Group "open one existing file"
    Set d = DialogIn("Brevanto open one")
    d.Flags = 16
    Check "ShowOpen", d.ShowOpen(), True
    Check "Filename", d.Filename, dir & "\a.txt"
    Check "FileTitle", d.FileTitle, "a"
    Check "InitDir", d.InitDir, dir
    Check "help flag cleared", d.Flags And 16, CLng(0)
    Check "SelectedFileCount", d.SelectedFileCount, 1
    Check "SelectedFile(1)", d.SelectedFile(1), dir & "\a.txt"

    Group "cancel"
    Set d = NewDialog()
    d.DialogTitle = "Brevanto cancel with CancelError"
    d.Filename = "keep"
    On Error Resume Next
    r = d.ShowOpen()
    CheckNoError "CancelError True raises nothing"
    On Error GoTo 0
    Check "False", r, False
    Check "Filename unchanged", d.Filename, "keep"
    Check "Error", d.Error, 0
    Check "SelectedFileCount", d.SelectedFileCount, 0
    d.DialogTitle = "Brevanto cancel a save"
    Check "ShowSave cancelled", d.ShowSave(), False
    Check "HideReadOnly stays set", d.Flags And 4, CLng(4)
    d.AddFilter "New", "*.new"
    Check "a dialog restarts the filter list", d.Filter, "New (*.new)|*.new"

    Group "save over an existing file"
    Set d = DialogIn("Brevanto save over")
    Set target = New TextTarget
    target.Text = "saved" & vbCrLf & "text"
    d.FileMustExist = 6
    Check "ShowSave", d.ShowSave(target), True
    Check "Filename", d.Filename, dir & "\b.txt"
    Check "written exactly", ReadFile("b.txt"), "saved" & vbCrLf & "text"

    Group "several files"
    Set d = DialogIn("Brevanto several")
    d.MultiSelect = 2
    Check "ShowOpen", d.ShowOpen(New TextTarget), True
    s = d.Filename
    Check "folder and names separated by NULs", Replace(s, Chr(0), "|"), dir & "|a.txt|b.txt"
    Check "SelectedFileCount", d.SelectedFileCount, 2
    Check "SelectedFile(1)", d.SelectedFile(1), dir & "\a.txt"
    Check "SelectedFile(2)", d.SelectedFile(2), dir & "\b.txt"

    Group "a name longer than MaxFileSize"
    Set d = DialogIn("Brevanto too long")
    d.MaxFileSize = 10
    On Error Resume Next
    r = d.ShowOpen()
    CheckError "raised", 12291, "CDialog", "Application-defined or object-defined error"
    On Error GoTo 0
    Check "Error", d.Error, 12291

    Group "load into and save from targets"
    Set d = DialogIn("Brevanto load text")
    Set target = New TextTarget
    Check "ShowOpen", d.ShowOpen(target), True
    Check "the whole file", target.Text, "first line" & vbCrLf & "second line"
    Check "text filters were chosen", d.Filter, "All Files (*.*)|*.*|Text files  (*.txt)|*.txt"
    Dim list
    Set list = New ListTarget
    list.AddItem "stale"
    d.DialogTitle = "Brevanto load list"
    Check "ShowOpen a list", d.ShowOpen(list), True
    Check "items", list.ListCount, CLng(3)
    Check "a lone CR ends an item, a lone LF stays", list.List(0) & "|" & list.List(1) & "|" & list.List(2), "one|two|three" & vbLf & "still three"
    Check "first item selected", list.ListIndex, 0
    d.DialogTitle = "Brevanto save list"
    Check "ShowSave a list", d.ShowSave(list), True
    Check "one line each", ReadFile("out.lst"), "one" & vbCrLf & "two" & vbCrLf & "three" & vbLf & "still three" & vbCrLf
    d.SaveFrom list
    d.Filename = dir & "\nowhere\x.lst"
    On Error Resume Next
    d.SaveFrom list
    CheckError "missing folder reaches a direct caller", 76, Empty, Empty
    d.LoadInto list
    CheckNoError "LoadInto after a save does nothing"
    On Error GoTo 0

    Group "a picture"
    ' A 1x1 bitmap: every byte is below 128 or 255, so the text stream writes it unchanged.
    Dim pic
    s = ""
    For Each c In Array(66, 77, 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, _
                        1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0)
        s = s & Chr(c)
    Next
    WriteFile "p.bmp", s
    Set d = DialogIn("Brevanto picture")
    Set pic = New PictureTarget
    Check "ShowOpen", d.ShowOpen(pic), True
    Check "image filters were chosen", d.FilterIndex, 2
    ' The picture arrives by a property let, so a script variable keeps its default value,
    ' the picture's handle.
    Check "the picture's handle arrived", VarType(pic.Picture) = vbLong And pic.Picture <> 0, True

    Group "a rich text target loads the file itself"
    Dim rich
    Set d = DialogIn("Brevanto rich text")
    Set rich = New RichTarget
    Check "ShowOpen", d.ShowOpen(rich), True
    Check "LoadFile called with the name", rich.Calls, "load " & dir & "\a.txt;"
    Check "rich text filters", d.FilterIndex, 2

    Group "odd settings still end cleanly"
    Set d = NewDialog()
    d.DialogTitle = "Brevanto odd index"
    d.Filter = "A|*.a|B|*.b"
    d.FilterIndex = 9
    d.InitDir = dir & "\does not exist"
    Check "a filter index out of range", d.ShowOpen(), False
    d.DialogTitle = "Brevanto broken target"
    d.InitDir = dir
    d.MaxFileSize = 32767
    Check "a target whose Text raises", d.ShowOpen(New BrokenText), True
    Check "FileTitle", d.FileTitle, "a"
    d.DialogTitle = "Brevanto action"
    d.Action = 1
    Check "Action 1 shows the open dialog", d.FileTitle, "b"
End If

Done
