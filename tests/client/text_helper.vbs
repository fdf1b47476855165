' TextHelper through the DLL: every member once, the trimming quirks, the error numbers.
Const kSrc = "Brevanto.TextHelper"
Dim t, q
Set t = CreateObject("Brevanto.TextHelper")
q = Chr(34)

Group "counting, replacing, cleaning"
Check "CharacterCount is text", t.CharacterCount("a,b,,c", ","), "3"
Check "CharacterCount of nothing", t.CharacterCount("abc", ""), "0"
Check "ReplaceText trims behind each match", t.ReplaceText("a b c ", "b", "x"), "a xc"
Check "ReplaceText without a match", t.ReplaceText(" a ", "z", "x"), " a "
Check "ReplaceInvalidCharacters", t.ReplaceInvalidCharacters("a/b:c?.txt"), "a-b-c-.txt"
Check "RemoveAllSpaces keeps tabs", t.RemoveAllSpaces(" a b " & vbTab & " c "), "ab" & vbTab & "c"
Check "RemoveExtraSpaces", t.RemoveExtraSpaces("a   b  c  "), "a b c"
Check "RemoveExtraSpaces keeps a single trailing space", t.RemoveExtraSpaces("a b "), "a b "
Check "RemoveExtraSpaces of a final run", t.RemoveExtraSpaces(" a  "), " a "
Check "quotes become the constant", t.ReplaceQuotesWithConstant("Say " & q & "Hi" & q), _
      "Say " & q & " & cstrQuote & " & q & "Hi" & q & " & cstrQuote"
Check "two quotes alone", t.ReplaceQuotesWithConstant(q & q, "cQ"), "cQ & " & q & q & " & cQ"
Check "no quotes, untouched", t.ReplaceQuotesWithConstant("no quotes "), "no quotes "
Check "ReplaceChr10withCrLf", t.ReplaceChr10withCrLf(vbLf & "a" & vbCrLf & vbLf), _
      vbCrLf & "a" & vbCrLf & vbCrLf
CheckTrue "ReplaceChr10withCrLf of Null", IsNull(t.ReplaceChr10withCrLf(Null))

Group "values and letters"
CheckTrue "EmptyStringToNull", IsNull(t.EmptyStringToNull(""))
Check "EmptyStringToNull of text", t.EmptyStringToNull("x"), "x"
Check "NullToZ of Null", t.NullToZ(Null, 0), 0
Check "NullToZ of Empty", t.NullToZ(Empty, 0), Empty
Check "NumberToLetter", t.NumberToLetter(26), "Z"
Check "NumberToLetter past Z", t.NumberToLetter(27), ""
Check "LetterToNumber", t.LetterToNumber("c"), CByte(3)
Check "LetterToNumber of two letters", t.LetterToNumber("CE"), CByte(0)
Check "LetterGrouping", t.LetterGrouping("M", 5, 1), "KLMNO"
Check "LetterGrouping lower case", t.LetterGrouping("Z", 5, 2), "z"
Check "BooleanSearch", t.BooleanSearch("war AND peace", "Title"), _
      "WHERE Title Like '%war%' AND Title Like '%peace%'"

Group "numbers and literals"
Check "Round half to even", t.Round(1.25, 1), 1.2
Check "Round of a text", t.Round("2.5", 0), CDbl(2)
Check "Round of Null", t.Round(Null, 2), CDbl(0)
Check "RoundMillions", t.RoundMillions(1234567890, 2), 1234.57
Check "PadString", t.PadString("abc", 5), "abc  "
Check "PadString cuts", t.PadString("abcdef", 3), "abc"
Check "SQLHandleQuotesAndApostrophes", t.SQLHandleQuotesAndApostrophes("O'Brien", 4), "'%O''Brien%'"
Check "SQLHandleQuotesAndApostrophes wildcard", t.SQLHandleQuotesAndApostrophes("a", 2, "*"), "'a*'"
Check "SQLHandleQuotesAndApostrophes position 0", t.SQLHandleQuotesAndApostrophes("a", 0), ""

Group "errors"
On Error Resume Next
t.NumberToLetter 0
CheckError "NumberToLetter 0", 5, kSrc, "Invalid procedure call or argument"
t.LetterGrouping "m", 5, 1
CheckError "LetterGrouping lower case letter", 6, kSrc, "Overflow"
t.LetterGrouping "A", 0, 1
CheckError "LetterGrouping length 0", 5, kSrc, Empty
t.PadString "abc", -1
CheckError "PadString negative", 5, kSrc, Empty
t.Round 30000000, 2
CheckError "Round beyond a Long", 6, kSrc, "Overflow"
t.Round "abc", 2
CheckError "Round of a word", 13, kSrc, "Type mismatch"
t.CharacterCount String(32768, "a"), "a"
CheckError "CharacterCount beyond 32767", 6, kSrc, Empty
t.ReplaceText "a", String(32768, "b"), "c"
CheckError "ReplaceText long search", 6, "fnReplaceText", "Overflow"
t.RemoveAllSpaces Null
CheckError "Null for a String", 94, Empty, Empty
Check "RemoveExtraSpaces handles long text", Len(t.RemoveExtraSpaces(String(40000, " ") & "a")), CLng(2)
CheckNoError "long text"
On Error GoTo 0

Done
