// The server from JScript, which passes every argument by value and omits trailing ones.
var passed = 0, failed = 0;
function check(name, actual, expected) {
    if (actual === expected) passed++;
    else { failed++; WScript.Echo("FAIL " + name + ": " + actual + " <> " + expected); }
}

var t = new ActiveXObject("Brevanto.TextHelper");
check("defaults", t.BooleanSearch("red", "Colour"), "Colour Like '%red%'");
check("all arguments", t.BooleanSearch("a AND b", "F", 1, "%"), "WHERE F = 'a' AND F = 'b'");
check("number converted", t.BooleanSearch(7, "F", 1), "F = '7'");

var phrase = new Array(32772).join("a") + " AND b";
try {
    t.BooleanSearch(phrase, "F");
    check("overflow raises", "no error", "error");
} catch (e) {
    check("error number", e.number & 0xFFFF, 6);
    check("error facility", (e.number >>> 16) & 0x1FFF, 10);
    check("error description", e.description, "Overflow");
}
try {
    new ActiveXObject("Brevanto.clsCommandParam");
    check("clsCommandParam", "created", "not creatable");
} catch (e) {
    check("clsCommandParam not creatable", e.number & 0xFFFF, 429);
}
try {
    t.BooleanSearch("x");
    check("missing argument", "no error", "error");
} catch (e) {
    check("missing argument", e.number, -2147352561);  // DISP_E_PARAMNOTOPTIONAL
}

// Collections: Item called as a method, the same object each time, and Enumerator over NewEnum.
var cp = new ActiveXObject("Brevanto.CommandParams");
cp.CommandLine = "/a 1 /b 2";
cp.ParseCommandLine();
check("Item as a method", cp.Item("b").ParamValue, "2");
check("one object, one reference", cp.Item("a") === cp.Item(1), true);
var names = [];
for (var e = new Enumerator(cp); !e.atEnd(); e.moveNext()) names.push(e.item().ParamName);
check("Enumerator", names.join(","), "a,b");

WScript.Echo(passed + " passed, " + failed + " failed");
