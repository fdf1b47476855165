#include "cmdline/command_params.h"

#include <vector>

#include "frame/convert.h"
#include "frame/shared.h"

namespace brv {

namespace {

// Positions and the length of the line are 16-bit; the prepared line may grow by the " /"
// terminator, which must still fit.
constexpr std::size_t kMaxLineLength = 32765;

// A line without spaces after a slash makes every later slash start a name that runs to the
// end of the line, so the names of one parse can add up to half the square of its length.
// A 32-bit process runs out of memory long before that; we stop at a bound of our own, far
// above what any line with spaces needs (error 7, as running out of memory would give).
constexpr std::size_t kNameCharacterBudget = std::size_t{1} << 27;

}  // namespace

String CommandParams::get_CommandLine() {
    if (commandLine_.empty()) commandLine_ = String(trimSpaces(process_.commandLineArguments()));
    if (!commandLine_.empty() && commandLine_.front() != u'/') commandLine_.insert(0, 1, u'/');
    return commandLine_;
}

void CommandParams::let_CommandLine(const String& vNewValue) {
    commandLine_ = String(trimSpaces(vNewValue));
}

std::shared_ptr<clsCommandParam> CommandParams::get_Item(const Variant& vntIndexKey) const {
    // Only clsCommandParam objects are ever added.
    return std::static_pointer_cast<clsCommandParam>(params_.item(vntIndexKey).object());
}

Variant CommandParams::GetCommandLineItem(const String& strParamName) const {
    try {
        return Variant(get_Item(Variant(strParamName))->get_ParamValue());
    } catch (const Error& e) {
        if (e.number() == err::InvalidCall) return Variant();
        throw;
    }
}

bool CommandParams::FindCommandLineItem(const String& strParamName) const {
    try {
        get_Item(Variant(strParamName));
        return true;
    } catch (const Error& e) {
        if (e.number() == err::InvalidCall) return false;
        throw;
    }
}

String CommandParams::ReplaceText(StringView source, StringView search, StringView replacement) {
    try {
        return fnReplaceText(source, search, replacement);
    } catch (const Error& e) {
        throw e.withSource(u"ReplaceText");
    }
}

std::shared_ptr<clsCommandParam> CommandParams::addParam(const String& name, const String& value,
                                                         const String& key) {
    auto param = std::make_shared<clsCommandParam>();
    param->let_ParamName(name);
    param->let_ParamValue(value);
    if (key.empty())
        params_.add(Variant(ObjectRef(param)));
    else
        params_.add(Variant(ObjectRef(param)), key);
    return param;
}

void CommandParams::ParseCommandLine() {
    const String line = get_CommandLine();
    if (line.empty()) return;
    if (line.size() > kMaxLineLength) raise(err::Overflow);

    // Each double quote goes, together with the spaces right behind it.
    String text = ReplaceText(line, u"\"", u"");
    if (text.empty() || text.back() != u'/') text += u" /";
    const StringView t(text);
    const std::size_t len = t.size();

    // Where the next space lies at or after each position (len when there is none), so that
    // reading a name costs nothing however far it runs.
    std::vector<std::size_t> nextSpace(len + 1, len);
    for (std::size_t i = len; i-- > 0;) nextSpace[i] = t[i] == u' ' ? i : nextSpace[i + 1];

    // The name and value buffers are always runs of the text, so they are kept as ranges.
    std::size_t nameBegin = 0, nameEnd = 0, valueBegin = 0;
    std::size_t nameCharacters = 0;
    for (std::size_t i = 0; i < len; ++i) {
        if (t[i] != u'/') continue;  // the character joins the value
        if (nameEnd > nameBegin) {
            // A name stops at a space, so it never holds one and needs no trimming.
            const String name(t.substr(nameBegin, nameEnd - nameBegin));
            nameCharacters += name.size();
            if (nameCharacters > kNameCharacterBudget) raise(err::OutOfMemory);
            addParam(name, String(trimSpaces(t.substr(valueBegin, i - valueBegin))), name);
        }
        nameBegin = i + 1;
        nameEnd = nextSpace[i + 1];
        // At a space the scan moves on from there; a name that runs to the end of the text
        // leaves the scan at the slash, so its characters are read again as a value.
        if (nameEnd < len) i = nameEnd;
        valueBegin = i + 1;
    }
}

}  // namespace brv
