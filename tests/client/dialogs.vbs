' CDialog through the DLL: properties, flags and filters everywhere; the real open and save
' dialogs where the runner gives the suite a display and drives the windows (dialogs.windows
' lists the steps, in the order in which the dialogs below appear).

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
    Public Sub SaveFile(f)
        Calls = Calls & "save " & f & ";"
    End Sub
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

Dim d, s, r
Set d = NewDialog()

Group "defaults and stored properties"
Check "CancelError", d.CancelError, True
Check "FilterIndex", d.FilterIndex, 1
Check "MaxFileSize", d.MaxFileSize, 256
Check "SelectedFileCount", d.SelectedFileCount, 0
Check "Filter", d.Filter, ""
Check "MultiSelect", d.MultiSelect, 0
Check "FileReadOnly", d.FileReadOnly, 0
Check "FileMustExist", d.FileMustExist, 0
Check "FileMustBeWriteable", d.FileMustBeWriteable, False
Check "SelectedFile(1) before a dialog", d.SelectedFile(1), ""
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
d.MultiSelect = 2
Check "MultiSelect 2", d.Flags, CLng(524800)
d.MultiSelect = 1
Check "MultiSelect 1", d.Flags, CLng(512)
d.MultiSelect = 0
Check "MultiSelect 0", d.Flags, CLng(0)
d.Flags = 2050
Check "FileMustExist 6", d.FileMustExist, 6
d.Flags = 6144
Check "FileMustExist 1", d.FileMustExist, 1
d.Flags = 10240
Check "FileMustExist 4", d.FileMustExist, 4
d.FileMustExist = 0
Check "FileMustExist 0 changes nothing", d.Flags, CLng(10240)
d.Flags = 0
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
d.Filter = String(40000, "x")
d.FilterIndex = 1
On Error Resume Next
d.AddFilter "L", "*.l", True
CheckError "a 40,000-character filter text", 6, Empty, Empty
On Error GoTo 0
Check "index unchanged", d.FilterIndex, 1
Check "pair added all the same", Len(d.Filter), 40012
d.Filename = "report.txt"
d.DefaultExt = "rtf"
Check "FileNameDefaultFilter", d.FileNameDefaultFilter, "report.rtf"
d.Filename = "abc"
On Error Resume Next
s = d.FileNameDefaultFilter
CheckError "FileNameDefaultFilter of 'abc'", 5, "Brevanto.CDialog", "Invalid procedure call or argument"
On Error GoTo 0

Group "default filter sets by target kind"
Dim kinds, expected, i, target
Set d = NewDialog()
d.AddDefaultFilters New RichTarget
Check "rich text", d.Filter, "All Files (*.*)|*.*|All Document files|*.rtf;*.txt|Rich Text Box files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt"
Check "rich text index", d.FilterIndex, 2
Set d = NewDialog()
d.AddDefaultFilters New PictureTarget
Check "picture", d.Filter, "All Files (*.*)|*.*|All Image files|*.bmp;*.dib;*.wmf;*.emf;*.ico;*.cur|Bitmaps|*.bmp;*.dib|Metafiles|*.wmf;*.emf|Icons|*.ico;*.cur"
Set d = NewDialog()
d.AddDefaultFilters New ListTarget
Check "list", d.Filter, "All Files (*.*)|*.*|Data Files|*.dat;*.lst"
Set d = NewDialog()
d.AddDefaultFilters New TextTarget
Check "text", d.Filter, "All Files (*.*)|*.*|Text files  (*.txt)|*.txt"
Set d = NewDialog()
d.AddDefaultFilters "abc"
Check "a String", d.Filter, "All Files (*.*)|*.*|Text files  (*.txt)|*.txt"
Set d = NewDialog()
d.Filter = "K|*.k"
d.AddDefaultFilters Nothing
d.AddDefaultFilters 42
d.AddDefaultFilters New BrokenText
d.AddDefaultFilters CreateObject("Scripting.Dictionary")
Check "no kind adds nothing", d.Filter, "K|*.k"
Check "and leaves the index", d.FilterIndex, 1

Group "bad input without a dialog"
Set d = NewDialog()
d.MaxFileSize = -1
On Error Resume Next
r = d.ShowOpen()
CheckError "negative MaxFileSize", 5, "CDialog", "Invalid procedure call or argument"
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
    Check "SelectedFile(0)", d.SelectedFile(0), ""
    Check "SelectedFile(1)", d.SelectedFile(1), dir & "\a.txt"
    Check "SelectedFile(2)", d.SelectedFile(2), ""
    Check "Error", d.Error, 0

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
    d.CancelError = False
    d.DialogTitle = "Brevanto cancel without CancelError"
    Check "CancelError False", d.ShowOpen(), False
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
    Check "HideReadOnly", d.Flags And 4, CLng(4)

    Group "several files"
    Set d = DialogIn("Brevanto several")
    d.MultiSelect = 2
    Check "ShowOpen", d.ShowOpen(New TextTarget), True
    s = d.Filename
    Check "folder and names separated by NULs", Replace(s, Chr(0), "|"), dir & "|a.txt|b.txt"
    Check "its length", Len(s), Len(dir) + 12
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
    Check "item 0", list.List(0), "one"
    Check "item 1", list.List(1), "two"
    Check "a lone LF stays", list.List(2), "three" & vbLf & "still three"
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
    Dim bmp, pic
    bmp = Array(66, 77, 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, _
                1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, _
                0, 0, 255, 0)
    s = ""
    For i = 0 To UBound(bmp)
        s = s & Chr(bmp(i))
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
