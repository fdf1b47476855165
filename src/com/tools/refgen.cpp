// Writes the member reference (Markdown) from the type library in Brevanto.dll: every class
// with its programmatic identifier, creatability and default member, every member as a VBA
// declaration and as a table of its parameters, and the enumerations. The prose comes from
// hand-written notes, one file per class (<notes>/<Class>.md) and <notes>/Overview.md, merged
// in as they are; the rest is generated, so the committed reference always matches the DLL.
//
// Usage (under Wine): refgen <Brevanto.dll> <notes folder> <output.md>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "com/tools/typelib_reader.h"

namespace {

using namespace brv::typelib;

// The library's types by name, and which class each interface is the default of.
struct Index {
    const Library& lib;
    std::map<std::string, const Enum*> enums;
    std::map<std::string, const Interface*> interfaces;
    std::map<std::string, std::string> classOf;  // default interface -> class
};

Index indexOf(const Library& lib) {
    Index ix{lib, {}, {}, {}};
    for (const auto& entry : lib.entries) {
        if (auto* e = std::get_if<Enum>(&entry)) ix.enums[e->name] = e;
        if (auto* i = std::get_if<Interface>(&entry)) ix.interfaces[i->name] = i;
        if (auto* c = std::get_if<CoClass>(&entry))
            for (const auto& impl : c->interfaces)
                if (impl.isDefault) ix.classOf[impl.name] = c->name;
    }
    return ix;
}

const Type& pointee(const Type& t) {
    return t.vt == VT_PTR && !t.inner.empty() ? t.inner[0] : t;
}

// The type as VBA names it; an array's parentheses go on the parameter's name instead.
std::string vbaType(const Index& ix, const Type& t) {
    switch (t.vt) {
        case VT_PTR:
            return vbaType(ix, t.inner.at(0));
        case VT_SAFEARRAY:
            return vbaType(ix, t.inner.at(0));
        case VT_USERDEFINED: {
            auto c = ix.classOf.find(t.name);
            return c != ix.classOf.end() ? c->second : t.name;
        }
        case VT_BSTR:
            return "String";
        case VT_I2:
            return "Integer";
        case VT_I4:
        case VT_INT:
            return "Long";
        case VT_UI1:
            return "Byte";
        case VT_BOOL:
            return "Boolean";
        case VT_R8:
            return "Double";
        case VT_DATE:
            return "Date";
        case VT_VARIANT:
            return "Variant";
        case VT_DISPATCH:
            return "Object";
        case VT_UNKNOWN:
            return "IUnknown";
        default:
            return "vt" + std::to_string(t.vt);
    }
}

bool isArray(const Type& t) {
    return pointee(t).vt == VT_SAFEARRAY;
}

// A default as VBA writes it: Strings quoted, Booleans as True/False, enumeration values by
// their member's name (with the number).
std::string defaultText(const Index& ix, const Param& p) {
    if (p.stringDefault) return "\"" + p.defaultText + "\"";
    const Type& t = pointee(p.type);
    if (t.vt == VT_BOOL) return p.defaultText == "0" ? "False" : "True";
    if (t.vt == VT_USERDEFINED) {
        auto e = ix.enums.find(t.name);
        if (e != ix.enums.end())
            for (const auto& v : e->second->values)
                if (v.value == p.defaultText) return v.name + " (" + p.defaultText + ")";
    }
    return p.defaultText;
}

// The name a parameter goes by: the library's, or RHS for the value a property assigns.
std::string paramName(const Param& p) {
    return p.name.empty() ? "RHS" : p.name;
}

std::string passing(const Param& p) {
    return p.type.vt == VT_PTR ? "ByRef" : "ByVal";
}

std::string declaration(const Index& ix, const Member& m) {
    std::string head;
    bool hasResult = m.result.has_value();
    switch (m.kind) {
        case INVOKE_PROPERTYGET:
            head = "Property Get ";
            break;
        case INVOKE_PROPERTYPUT:
            head = "Property Let ";
            break;
        case INVOKE_PROPERTYPUTREF:
            head = "Property Set ";
            break;
        default:
            head = hasResult ? "Function " : "Sub ";
    }
    std::string out = head + m.name + "(";
    for (size_t i = 0; i < m.params.size(); ++i) {
        const Param& p = m.params[i];
        if (i) out += ", ";
        if (p.flags & PARAMFLAG_FOPT) out += "Optional ";
        out += passing(p) + " " + paramName(p) + (isArray(p.type) ? "()" : "") + " As " +
               vbaType(ix, p.type);
        if (p.hasDefault) out += " = " + defaultText(ix, p);
    }
    out += ")";
    if (hasResult) out += " As " + vbaType(ix, *m.result);
    return out;
}

const char* kindName(const Member& m) {
    switch (m.kind) {
        case INVOKE_PROPERTYGET:
            return "Property Get";
        case INVOKE_PROPERTYPUT:
            return "Property Let";
        case INVOKE_PROPERTYPUTREF:
            return "Property Set";
        default:
            return m.result ? "Function" : "Sub";
    }
}

std::string enumValueText(const std::string& value) {
    char* end = nullptr;
    long n = std::strtol(value.c_str(), &end, 10);
    if (end == value.c_str() || *end || n >= 0) return value;
    char hex[24];
    std::snprintf(hex, sizeof hex, " (&H%08lX)", static_cast<unsigned long>(n) & 0xFFFFFFFFul);
    return value + hex;
}

// GitHub's anchor for a heading that is one identifier.
std::string anchor(const std::string& name) {
    std::string a = "#";
    for (char c : name) a += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return a;
}

std::wstring widen(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
    if (n <= 1) return {};
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, w.data(), n);
    w.resize(static_cast<size_t>(n - 1));
    return w;
}

using File = std::unique_ptr<FILE, int (*)(FILE*)>;
File open(const std::wstring& path, const wchar_t* mode) {
    return File(_wfopen(path.c_str(), mode), &std::fclose);
}

class Writer {
  public:
    Writer(const Library& lib, std::wstring notes) : ix_(indexOf(lib)), notes_(std::move(notes)) {}

    bool write(FILE* out) {
        out_ = out;
        const Library& lib = ix_.lib;
        put("<!-- Generated by scripts/reference.sh from the type library in Brevanto.dll and the "
            "notes in docs/reference/. Edit those, not this file. -->\n\n");
        put("# " + lib.name + " " + std::to_string(lib.major) + "." + std::to_string(lib.minor) +
            " reference\n\n");
        if (!merge(L"Overview")) return false;
        put("\n## Class index\n\n| Class | ProgID | Creatable | Default member | Members |\n"
            "|---|---|---|---|---|\n");
        for (const auto& entry : lib.entries)
            if (auto* c = std::get_if<CoClass>(&entry)) {
                const Interface* itf = defaultInterface(*c);
                put("| [" + c->name + "](" + anchor(c->name) + ") | " + progId(*c) + " | " +
                    (c->creatable ? "yes" : "no") + " | " + defaultMember(itf) + " | " +
                    std::to_string(memberCount(itf)) + " |\n");
            }
        put("\n## Enumeration index\n\n| Enumeration | Values | Used by |\n|---|---|---|\n");
        for (const auto& entry : lib.entries)
            if (auto* e = std::get_if<Enum>(&entry))
                put("| [" + e->name + "](" + anchor(e->name) + ") | " +
                    std::to_string(e->values.size()) + " | " + usersOf(*e) + " |\n");
        for (const auto& entry : lib.entries)
            if (auto* c = std::get_if<CoClass>(&entry))
                if (!writeClass(*c)) return false;
        put("\n## Enumerations\n");
        for (const auto& entry : lib.entries)
            if (auto* e = std::get_if<Enum>(&entry)) writeEnum(*e);
        return true;
    }

  private:
    void put(const std::string& s) { std::fwrite(s.data(), 1, s.size(), out_); }

    // Copies <notes>/<name>.md, which must exist.
    bool merge(const std::wstring& name) {
        std::wstring path = notes_ + L"\\" + name + L".md";
        File in = open(path, L"rb");
        if (!in) {
            std::fprintf(stderr, "refgen: cannot read the notes %ls\n", path.c_str());
            return false;
        }
        std::string text;
        char buf[4096];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, in.get())) > 0;) text.append(buf, n);
        std::string clean;
        for (char c : text)
            if (c != '\r') clean += c;
        while (!clean.empty() && clean.back() == '\n') clean.pop_back();
        put(clean + "\n");
        return true;
    }

    const Interface* defaultInterface(const CoClass& c) const {
        for (const auto& impl : c.interfaces)
            if (impl.isDefault) {
                auto i = ix_.interfaces.find(impl.name);
                if (i != ix_.interfaces.end()) return i->second;
            }
        return nullptr;
    }

    std::string progId(const CoClass& c) const {
        return c.creatable ? "`" + ix_.lib.name + "." + c.name + "`" : "none";
    }

    // Members by name: a property's accessors count once.
    static size_t memberCount(const Interface* itf) {
        std::set<std::string> names;
        if (itf)
            for (const auto& m : itf->members) names.insert(m.name);
        return names.size();
    }

    static const Member* memberWithId(const Interface* itf, MEMBERID id) {
        if (itf)
            for (const auto& m : itf->members)
                if (m.id == id) return &m;
        return nullptr;
    }

    static std::string defaultMember(const Interface* itf) {
        const Member* m = memberWithId(itf, DISPID_VALUE);
        return m ? "`" + m->name + "`" : "none";
    }

    // Where instances of a class that clients cannot create come from.
    std::string returnedBy(const CoClass& c) const {
        std::string out;
        for (const auto& [name, itf] : ix_.interfaces)
            for (const auto& m : itf->members)
                if (m.result && pointee(*m.result).vt == VT_USERDEFINED &&
                    ix_.classOf.count(pointee(*m.result).name) &&
                    ix_.classOf.at(pointee(*m.result).name) == c.name) {
                    auto owner = ix_.classOf.find(name);
                    out += (out.empty() ? "`" : ", `") +
                           (owner != ix_.classOf.end() ? owner->second : name) + "." + m.name + "`";
                }
        return out;
    }

    bool writeClass(const CoClass& c) {
        const Interface* itf = defaultInterface(c);
        put("\n## " + c.name + "\n\n");
        if (c.creatable)
            put("- ProgID " + progId(c) + ": `Set o = CreateObject(\"" + ix_.lib.name + "." +
                c.name + "\")`, or `New " + c.name + "` with a reference to the library.\n");
        else
            put("- Not creatable" +
                (returnedBy(c).empty() ? std::string() : ": instances come from " + returnedBy(c)) +
                ".\n");
        if (itf) put("- Interface `" + itf->name + "`" + (itf->dual ? " (dual)" : "") + ".\n");
        if (c.help) put("- Help string: \"" + *c.help + "\"\n");
        if (const Member* m = memberWithId(itf, DISPID_VALUE))
            put("- Default member: `" + m->name + "`, so `o(x)` means `o." + m->name + "(x)`.\n");
        if (const Member* m = memberWithId(itf, DISPID_NEWENUM))
            put("- `For Each` walks the items (through the restricted `" + m->name + "`).\n");
        put("\n");
        if (!merge(widen(c.name))) return false;
        if (!itf) return true;
        put("\n### " + c.name + " members\n\n```vb\n");
        for (const auto& m : itf->members) put(declaration(ix_, m) + "\n");
        put("```\n\n| Member | Kind | DispID | Parameter | Type | Passed | Optional, default | "
            "Returns "
            "|\n|---|---|---|---|---|---|---|---|\n");
        for (const auto& m : itf->members) writeMemberRows(m);
        for (const auto& m : itf->members)
            if (m.help) put("\n`" + m.name + "`: " + *m.help + "\n");
        return true;
    }

    void writeMemberRows(const Member& m) {
        std::string lead = "| `" + m.name + "`" + (m.restricted ? " (restricted)" : "") + " | " +
                           kindName(m) + " | " + std::to_string(m.id) + " | ";
        std::string result = m.result ? vbaType(ix_, *m.result) : "";
        if (m.params.empty()) {
            put(lead + " |  |  |  | " + result + " |\n");
            return;
        }
        for (size_t i = 0; i < m.params.size(); ++i) {
            const Param& p = m.params[i];
            std::string opt;
            if (p.flags & PARAMFLAG_FOPT) opt = p.hasDefault ? "= " + defaultText(ix_, p) : "yes";
            put((i ? "|  |  |  | " : lead) + "`" + paramName(p) + "` | " + vbaType(ix_, p.type) +
                (isArray(p.type) ? "()" : "") + " | " + passing(p) + " | " + opt + " | " +
                (i ? "" : result) + " |\n");
        }
    }

    void writeEnum(const Enum& e) {
        put("\n### " + e.name + "\n\n");
        if (e.help) put("Help string: \"" + *e.help + "\"\n\n");
        std::string users = usersOf(e);
        if (!users.empty()) put("Used by " + users + ".\n\n");
        put("| Name | Value |\n|---|---|\n");
        for (const auto& v : e.values)
            put("| `" + v.name + "` | " + enumValueText(v.value) + " |\n");
    }

    // The members that take or return the enumeration, as `Class.Member` in a list.
    std::string usersOf(const Enum& e) const {
        std::set<std::string> users;
        auto uses = [&](const Type& t) {
            return pointee(t).vt == VT_USERDEFINED && pointee(t).name == e.name;
        };
        for (const auto& entry : ix_.lib.entries)
            if (auto* itf = std::get_if<Interface>(&entry))
                for (const auto& m : itf->members) {
                    bool used = m.result && uses(*m.result);
                    for (const auto& p : m.params) used = used || uses(p.type);
                    if (used) users.insert(className(itf->name) + "." + m.name);
                }
        std::string list;
        for (const auto& u : users) list += (list.empty() ? "`" : ", `") + u + "`";
        return list;
    }

    std::string className(const std::string& itf) const {
        auto c = ix_.classOf.find(itf);
        return c != ix_.classOf.end() ? c->second : itf;
    }

    Index ix_;
    std::wstring notes_;
    FILE* out_ = nullptr;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: refgen <Brevanto.dll> <notes folder> <output.md>\n");
        return 2;
    }
    Library lib;
    if (HRESULT hr = load(argv[1], lib); FAILED(hr)) {
        std::fprintf(stderr, "refgen: LoadTypeLibEx failed: 0x%08lx\n",
                     static_cast<unsigned long>(hr));
        return 1;
    }
    File out = open(argv[3], L"wb");
    if (!out) {
        std::fprintf(stderr, "refgen: cannot write %ls\n", argv[3]);
        return 1;
    }
    bool ok = Writer(lib, argv[2]).write(out.get()) && !std::ferror(out.get());
    return std::fclose(out.release()) == 0 && ok ? 0 : 1;
}
