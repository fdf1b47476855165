// CommandParams: ParseCommandLine over any line (assigned, or the process's own arguments),
// against the scan as first written, then the lookups by name and position.
#include "cmdline/command_params.h"
#include "fuzz_support.h"

namespace {

using namespace fuzz;

constexpr StringView kWords[] = {u"/", u" ", u"  ", u"\"", u"a", u"A", u"b", u"/a", u"/a ", u"\t"};

// The process's arguments, as the fuzzer wrote them.
class Arguments final : public brv::platform::Process {
  public:
    String line;
    String commandLineArguments() const override { return line; }
};

// The parse as first written: every double quote goes with the spaces behind it; then a scan
// with a name and a value buffer. Gives the (name, value) pairs in order, stopping at the
// first name already given (compared without regard to case, ASCII only here).
std::vector<std::pair<String, String>> literalParse(String line, bool& duplicate) {
    std::vector<std::pair<String, String>> out;
    duplicate = false;
    if (line.empty()) return out;
    for (auto p = line.find(u'"'); p != String::npos; p = line.find(u'"'))
        line = line.substr(0, p) + String(brv::trimSpaces(StringView(line).substr(p + 1)));
    if (line.empty() || line.back() != u'/') line += u" /";
    String name, value;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != u'/') {
            value += line[i];
            continue;
        }
        if (!name.empty()) {
            const String n(brv::trimSpaces(name));
            for (const auto& [seen, v] : out)
                if (brv::equalsAsciiNoCase(seen, n)) return duplicate = true, out;
            out.emplace_back(n, String(brv::trimSpaces(value)));
        }
        name.clear();
        value.clear();
        std::size_t j = i + 1;
        while (j < line.size() && line[j] != u' ') name += line[j++];
        if (j < line.size()) i = j;
    }
    return out;
}

bool ascii(StringView s) {
    for (const char16_t c : s)
        if (c >= 128) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Input in(data, size);
    Arguments args;
    args.line = in.text(kWords, 32);
    brv::platform::Platform p = standIns();
    p.process = &args;
    brv::CommandParams c(p);
    if (in.flag()) c.let_CommandLine(in.choice(16) ? in.text(kWords, 40) : in.longText());

    String line;
    attempt([&] { line = c.get_CommandLine(); });
    const bool parsed = attempt([&] { c.ParseCommandLine(); });
    if (parsed || c.get_Count() > 0) {
        bool duplicate = false;
        const auto expected = literalParse(line, duplicate);
        if (ascii(line) && line.size() < 2000) {
            const std::string input = show(line);
            expectSame(parsed, !duplicate, "ParseCommandLine outcome", input);
            expectSame(static_cast<std::size_t>(c.get_Count()), expected.size(),
                       "ParseCommandLine count", input);
            for (std::size_t i = 0; i < expected.size(); ++i) {
                const auto item = c.get_Item(Variant(static_cast<int32_t>(i + 1)));
                expectSame(item->get_ParamName(), expected[i].first, "parameter name", input);
                expectSame(item->get_ParamValue(), expected[i].second, "parameter value", input);
            }
        }
    }
    for (int step = 0; step < 6 && in.more(); ++step) {
        switch (in.choice(4)) {
            case 0:
                attempt([&] { c.get_Item(in.value(kWords)); });
                break;
            case 1:
                attempt([&] { c.GetCommandLineItem(in.text(kWords, 4)); });
                break;
            case 2:
                attempt([&] { c.FindCommandLineItem(in.text(kWords, 4)); });
                break;
            default:
                attempt([&] { c.ParseCommandLine(); });
                break;
        }
    }
    return 0;
}
