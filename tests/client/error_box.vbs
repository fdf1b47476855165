' OS32Helper.StandardErrorMessage through the DLL: the box is real (the runner gives the suite a
' display and the window driver reads the box and presses OK, see error_box.windows); without a
' display the box cannot be shown and the call returns at once. Either way the description is
' written back.
Dim h, info, r

Set h = CreateObject("Brevanto.OS32Helper")

Group "StandardErrorMessage"
info = "C:\x.txt"
h.StandardErrorMessage "OpenFile", 53, "File not found", info
Check "the description written back", info, vbCrLf & "Additional Information:" & vbCrLf & "C:\x.txt"
info = ""
h.StandardErrorMessage "Save", -2147221504, "Denied", info
Check "an empty description stays empty", info, ""
Done
