// Prints a type library (from a .tlb or from a DLL's resource) as canonical text: the library,
// each enumeration with its values, each interface with its members in slot order (kind,
// dispatch id, parameters with passing, optional flags and defaults, result) and each class.
// The client test runner compares the dump of the built DLL with typelib.expected.
#include <cstdio>
#include <string>

#include "com/tools/typelib_reader.h"

namespace {

using namespace brv::typelib;

std::string helpText(const std::optional<std::string>& help) {
    return help ? " \"" + *help + "\"" : std::string();
}

std::string typeText(const Type& t) {
    switch (t.vt) {
        case VT_PTR:
            return typeText(t.inner.at(0)) + "*";
        case VT_SAFEARRAY:
            return "SAFEARRAY(" + typeText(t.inner.at(0)) + ")";
        case VT_USERDEFINED:
            return t.name;
        case VT_BSTR:
            return "BSTR";
        case VT_I2:
            return "short";
        case VT_I4:
            return "long";
        case VT_INT:
            return "int";
        case VT_UI1:
            return "byte";
        case VT_BOOL:
            return "VARIANT_BOOL";
        case VT_R8:
            return "double";
        case VT_DATE:
            return "DATE";
        case VT_VARIANT:
            return "VARIANT";
        case VT_DISPATCH:
            return "IDispatch*";
        case VT_UNKNOWN:
            return "IUnknown*";
        case VT_HRESULT:
            return "HRESULT";
        case VT_VOID:
            return "void";
        default:
            return "vt" + std::to_string(t.vt);
    }
}

const char* kindText(INVOKEKIND k) {
    switch (k) {
        case INVOKE_FUNC:
            return "method";
        case INVOKE_PROPERTYGET:
            return "get";
        case INVOKE_PROPERTYPUT:
            return "let";
        case INVOKE_PROPERTYPUTREF:
            return "set";
    }
    return "?";
}

void print(const Enum& e) {
    std::printf("enum %s%s\n", e.name.c_str(), helpText(e.help).c_str());
    for (const auto& v : e.values) std::printf("  %s = %s\n", v.name.c_str(), v.value.c_str());
}

void print(const Interface& itf) {
    std::printf("interface %s%s%s\n", itf.name.c_str(), itf.dual ? " dual" : "",
                helpText(itf.help).c_str());
    for (const auto& m : itf.members) {
        std::string line = "  " + std::to_string(m.slot) + " " + kindText(m.kind) + " " + m.name +
                           " id " + std::to_string(m.id);
        if (m.restricted) line += " restricted";
        line += " (";
        bool first = true;
        for (const auto& p : m.params) {
            if (!first) line += ", ";
            first = false;
            line += typeText(p.type);
            if (!p.name.empty()) line.append(" ").append(p.name);
            line += (p.flags & PARAMFLAG_FOUT) ? " [in,out]" : " [in]";
            if (p.flags & PARAMFLAG_FOPT) line += " optional";
            if (p.hasDefault)
                line.append(" = ").append(p.stringDefault ? "\"" + p.defaultText + "\""
                                                          : p.defaultText);
        }
        line.append(") -> ").append(m.result ? typeText(*m.result) : "none");
        std::printf("%s\n", line.c_str());
    }
}

void print(const CoClass& c) {
    std::string line = "coclass " + c.name + (c.creatable ? " creatable" : " noncreatable");
    for (const auto& i : c.interfaces) line += (i.isDefault ? " default " : " ") + i.name;
    std::printf("%s%s\n", line.c_str(), helpText(c.help).c_str());
}

void print(const Other& o) {
    std::printf("other %s kind %d\n", o.name.c_str(), o.kind);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: typelib_dump <file.tlb|file.dll>\n");
        return 2;
    }
    Library lib;
    if (HRESULT hr = load(argv[1], lib); FAILED(hr)) {
        std::printf("LoadTypeLibEx failed: 0x%08lx\n", static_cast<unsigned long>(hr));
        return 1;
    }
    std::printf("library %s %u.%u lcid %lu\n", lib.name.c_str(), lib.major, lib.minor, lib.lcid);
    for (const auto& entry : lib.entries) std::visit([](const auto& e) { print(e); }, entry);
    return 0;
}
