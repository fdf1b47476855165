#include "dialogs/dialog.h"

#include <algorithm>
#include <memory>

#include "frame/convert.h"

namespace brv {

namespace {

constexpr StringView kSource = u"CDialog";
constexpr int32_t kCancelled = 32755;
constexpr StringView kCancelText = u"User clicked Cancel";

// What a target is, by the first of its properties that can be read.
enum class TargetKind { RichText, Picture, List, Text, StringValue, None };

// The property probe: whether a late-bound read of `name` on `value` works. Any failure,
// including a value that is not an object, answers False.
bool hasProperty(const Variant& value, StringView name) {
    if (!value.isObject() || !value.object()) return false;
    try {
        value.object()->get(name);
        return true;
    } catch (const Error&) {
        return false;
    }
}

bool holdsString(const Variant& value) {
    if (value.isString()) return true;
    if (!value.isObject() || !value.object()) return false;
    try {
        return value.object()->defaultValue().isString();
    } catch (const Error&) {
        return false;
    }
}

TargetKind kindOf(const Variant& value) {
    if (hasProperty(value, u"TextRTF")) return TargetKind::RichText;
    if (hasProperty(value, u"Picture")) return TargetKind::Picture;
    if (hasProperty(value, u"ListIndex")) return TargetKind::List;
    if (hasProperty(value, u"Text")) return TargetKind::Text;
    if (holdsString(value)) return TargetKind::StringValue;
    return TargetKind::None;
}

// Left$(text, n): error 5 for a negative length.
String left(StringView text, std::ptrdiff_t n) {
    if (n < 0) raise(err::InvalidCall);
    return String(text.substr(0, static_cast<std::size_t>(n)));
}

// A zeroed ANSI buffer of exactly `size` bytes (so that an overrun is an overrun) holding
// `text` and at least one terminating NUL.
std::unique_ptr<char[]> ansiBuffer(const std::string& text, std::size_t size) {
    auto buffer = std::make_unique<char[]>(size);
    text.copy(buffer.get(), std::min(text.size(), size - 1));
    return buffer;
}

// The name without its folder and without everything from its first ".": scanning from the
// end, each "." moves the end mark and the first ":" or "\\" ends the scan.
String bareName(StringView path) {
    std::size_t start = 0, end = path.size();
    for (std::size_t i = path.size(); i-- > 0;) {
        if (path[i] == u'.') end = i;
        if (path[i] == u':' || path[i] == u'\\') {
            start = i + 1;
            break;
        }
    }
    return String(path.substr(start, end - start));
}

// Line Input: a line ends at CR or CR LF; a lone LF stays in the line.
std::vector<std::string> lines(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\r', start);
        if (end == std::string::npos) end = bytes.size();
        out.push_back(bytes.substr(start, end - start));
        start = end + 1;
        if (start < bytes.size() && bytes[start] == '\n') ++start;
    }
    return out;
}

}  // namespace

CDialog::CDialog(const platform::Platform& platform)
    : ClassObject(ClassId::CDialog),
      regional_(*platform.regional),
      dialogs_(*platform.dialogs),
      files_(*platform.files) {}

void CDialog::setFlag(int32_t bit, bool on) {
    flags_ = on ? (flags_ | bit) : (flags_ & ~bit);
}

void CDialog::let_Action(int16_t newValue) {
    if (newValue == 1) ShowOpen(nullptr);
    if (newValue == 2) ShowSave(nullptr);
}

int16_t CDialog::get_MultiSelect() const {
    if (!(flags_ & ofn::AllowMultiselect)) return 0;
    return (flags_ & ofn::Explorer) ? 2 : 1;
}

void CDialog::let_MultiSelect(int16_t newValue) {
    switch (newValue) {
        case 0:
            setFlag(ofn::AllowMultiselect | ofn::Explorer, false);
            break;
        case 1:
            setFlag(ofn::Explorer, false);
            setFlag(ofn::AllowMultiselect, true);
            break;
        case 2:
            setFlag(ofn::AllowMultiselect | ofn::Explorer, true);
            break;
        default:
            break;
    }
}

String CDialog::get_FileNameDefaultFilter() const {
    return left(filename_, static_cast<std::ptrdiff_t>(filename_.size()) - 4) + u"." + defaultExt_;
}

void CDialog::let_Filter(const String& newValue) {
    filter_ = newValue;
    restartFilter_ = false;
}

void CDialog::AddFilter(const String& Description, const String& filespec,
                        const Variant& defaultFilter) {
    const bool makeDefault = !defaultFilter.isMissing() && !defaultFilter.isNull() &&
                             toDouble(defaultFilter, regional_) != 0;
    if (restartFilter_) let_Filter(String());
    String text = filter_;
    if (!text.empty() && text.back() != u'|') text += u'|';
    text += Description;
    if (filespec.find(u';') == String::npos) text += u" (" + filespec + u")";
    text += u'|' + filespec;
    let_Filter(text);
    if (!makeDefault) return;
    // Pairs counted through their bars, two at a time. A text assigned with an even number
    // of bars would send the second search back to the start for ever: the count stops at
    // the first search that finds no further bar.
    int16_t count = 0;
    std::size_t pos = 0;
    do {
        count = asInteger(static_cast<std::size_t>(count) + 1);
        pos = inStr(pos + 1, filter_, u"|");
        if (pos == 0) break;
        asInteger(pos);
        pos = inStr(pos + 1, filter_, u"|");
        asInteger(pos);
    } while (pos > 0);
    filterIndex_ = count;
}

int16_t CDialog::get_FileReadOnly() const {
    if (flags_ & ofn::HideReadOnly) return 2;
    return (flags_ & ofn::ReadOnly) ? 1 : 0;
}

void CDialog::let_FileReadOnly(int16_t newValue) {
    switch (newValue) {
        case 0:
            setFlag(ofn::ReadOnly | ofn::HideReadOnly, false);
            break;
        case 1:
            setFlag(ofn::HideReadOnly, false);
            setFlag(ofn::ReadOnly, true);
            break;
        case 2:
            setFlag(ofn::HideReadOnly, true);
            break;
        default:
            break;
    }
}

int16_t CDialog::get_FileMustExist() const {
    auto has = [this](int32_t bits) { return (flags_ & bits) == bits; };
    if (has(ofn::FileMustExist | ofn::PathMustExist)) return 1;
    if (has(ofn::CreatePrompt | ofn::PathMustExist)) return 4;
    if (has(ofn::CreatePrompt)) return 3;
    if (has(ofn::OverwritePrompt | ofn::PathMustExist)) return 6;
    if (has(ofn::OverwritePrompt)) return 5;
    if (has(ofn::PathMustExist)) return 2;
    return 0;
}

void CDialog::let_FileMustExist(int16_t newValue) {
    switch (newValue) {
        case 1:
            setFlag(ofn::FileMustExist | ofn::PathMustExist, true);
            break;
        case 2:
            setFlag(ofn::PathMustExist, true);
            break;
        case 3:
            setFlag(ofn::FileMustExist | ofn::PathMustExist, false);
            setFlag(ofn::CreatePrompt, true);
            break;
        case 4:
            setFlag(ofn::FileMustExist, false);
            setFlag(ofn::CreatePrompt | ofn::PathMustExist, true);
            break;
        case 5:
            setFlag(ofn::PathMustExist, false);
            setFlag(ofn::OverwritePrompt, true);
            break;
        case 6:
            setFlag(ofn::OverwritePrompt | ofn::PathMustExist, true);
            break;
        default:
            break;
    }
}

void CDialog::let_FileMustBeWriteable(bool newValue) {
    setFlag(ofn::NoReadOnlyReturn, newValue);
}

void CDialog::AddDefaultFilters(const Variant& ctrl) {
    switch (kindOf(ctrl)) {
        case TargetKind::RichText:
            AddFilter(u"All Document files", u"*.rtf;*.txt");
            AddFilter(u"Rich Text Box files", u"*.rtf", Variant(true));
            AddFilter(u"Text Files", u"*.txt");
            break;
        case TargetKind::Picture:
            AddFilter(u"All Image files", u"*.bmp;*.dib;*.wmf;*.emf;*.ico;*.cur");
            AddFilter(u"Bitmaps", u"*.bmp;*.dib");
            AddFilter(u"Metafiles", u"*.wmf;*.emf");
            AddFilter(u"Icons", u"*.ico;*.cur");
            break;
        case TargetKind::List:
            AddFilter(u"Data Files", u"*.dat;*.lst");
            break;
        case TargetKind::Text:
        case TargetKind::StringValue:
            AddFilter(u"Text files ", u"*.txt");
            break;
        case TargetKind::None:
            return;
    }
    if (!filter_.empty()) {
        filter_ = u"All Files (*.*)|*.*|" + filter_;
        filterIndex_ = 2;
    }
}

String CDialog::get_SelectedFile(int16_t Index) const {
    if (Index < 1 || Index > selectedCount_) return String();
    return selected_[static_cast<std::size_t>(Index) - 1];
}

// The name (or the folder and names of a multiple selection) up to the end the separator
// gives: the first NUL, or the first pair of NULs. Error 5 when that end is missing.
void CDialog::readChosenName(std::string_view buffer, const String& separator) {
    const String text = regional_.fromAnsi(buffer);
    const String end = separator == u" " ? String(1, u'\0') : String(2, u'\0');
    filename_ = left(text, static_cast<std::ptrdiff_t>(inStr(1, text, end)) - 1);
}

bool CDialog::runDialog() {
    String filterText = filter_;
    for (auto& c : filterText)
        if (c == u'|') c = u'\0';
    const std::string filter = regional_.toAnsi(filterText) + std::string(2, '\0');

    platform::FileDialogRequest request;
    request.filter = filter.c_str();
    request.flags = static_cast<uint32_t>(flags_ & ~(ofn::HelpButton | ofn::LongNames));
    separator_ = u" ";
    if ((flags_ & ofn::AllowMultiselect) && (flags_ & ofn::Explorer)) {
        // Windows NT 3.x has no explorer-style dialog: the old one separates with spaces.
        if ((dialogs_.version() & 0x800000FFu) == 3)
            request.flags &= ~static_cast<uint32_t>(ofn::Explorer);
        else
            separator_ = String(1, u'\0');
    }

    std::string custom;
    std::unique_ptr<char[]> customBuffer;
    if (!customFilter_.empty()) {
        const String pattern = customFilterFilespec_.empty() ? String(u"*") : customFilterFilespec_;
        custom = regional_.toAnsi(customFilter_ + u'\0' + pattern + u'\0' + String(99, u' '));
        customBuffer = ansiBuffer(custom, custom.size() + 1);
        request.customFilter = customBuffer.get();
        request.maxCustomFilter = static_cast<uint32_t>(custom.size());
    }
    request.filterIndex = static_cast<uint32_t>(static_cast<int32_t>(filterIndex_));

    // Filename, a NUL, then spaces, cut to MaxFileSize characters (Space$ refuses a negative
    // size with 5). The buffer is never smaller than three bytes: a dialog that finds it too
    // small writes the size it needs into the first two.
    if (maxFileSize_ < 0) raise(err::InvalidCall);
    const std::size_t maxFile = static_cast<std::size_t>(maxFileSize_);
    const String fileText = (filename_ + u'\0' + String(maxFile, u' ')).substr(0, maxFile);
    const std::string fileAnsi = regional_.toAnsi(fileText);
    auto fileBuffer =
        ansiBuffer(fileAnsi, std::max({fileAnsi.size(), maxFile, std::size_t{2}}) + 1);
    request.file = fileBuffer.get();
    request.maxFile = static_cast<uint32_t>(maxFile);

    const std::string initialDir = regional_.toAnsi(initDir_);
    const std::string title = regional_.toAnsi(dialogTitle_);
    const std::string defaultExt = regional_.toAnsi(defaultExt_);
    if (!initialDir.empty()) request.initialDir = initialDir.c_str();
    if (!title.empty()) request.title = title.c_str();
    if (!defaultExt.empty()) request.defaultExt = defaultExt.c_str();

    int answer = 0;
    if (lastDialog_ == LastDialog::Open) answer = dialogs_.getOpenFileName(request);
    if (lastDialog_ == LastDialog::Save) answer = dialogs_.getSaveFileName(request);
    error_ = 0;

    if (customBuffer && request.filterIndex == 0 &&
        std::string_view(customBuffer.get(), custom.size()) != custom) {
        const String back = regional_.fromAnsi(std::string_view(customBuffer.get(), custom.size()));
        const std::size_t first = back.find(u'\0');
        const std::size_t second =
            first == String::npos ? String::npos : back.find(u'\0', first + 1);
        if (second != String::npos)
            customFilterFilespec_ = back.substr(first + 1, second - first - 1);
    }

    restartFilter_ = true;
    if (answer != 0) {
        flags_ = static_cast<int32_t>(request.flags);
        filterIndex_ = static_cast<int16_t>(request.filterIndex);
        readChosenName(std::string_view(fileBuffer.get(), std::max(fileAnsi.size(), maxFile)),
                       separator_);
        if (!(flags_ & ofn::NoChangeDir)) initDir_ = dialogs_.currentDirectory();
        fileTitle_ = bareName(filename_);
        return true;
    }
    const uint32_t code = dialogs_.extendedError();
    if (code > 32767) raise(err::Overflow);
    error_ = static_cast<int16_t>(code);
    if (error_ != 0) raise(error_);
    if (cancelError_) raise(kCancelled, String(), String(kCancelText));
    return false;
}

// The folder and names of a multiple selection as full paths, one entry each.
void CDialog::splitSelection() {
    selectedCount_ = 0;
    String text = filename_;
    std::size_t p = inStr(1, text, separator_);
    String folder;
    if (p > 0) {
        folder = text.substr(0, p - 1);
        if (folder.empty() || folder.back() != u'\\') folder += u'\\';
    }
    std::vector<String> entries;
    while (p < text.size()) {
        text.erase(0, p);
        p = inStr(1, text + separator_, separator_);
        selectedCount_ = asInteger(static_cast<std::size_t>(selectedCount_) + 1);
        entries.push_back(folder + text.substr(0, p - 1));
    }
    selected_ = std::move(entries);
}

bool CDialog::ShowOpen(const ObjectRef& target) {
    if (filter_.empty()) AddDefaultFilters(Variant(target));
    lastDialog_ = LastDialog::Open;
    try {
        if (!runDialog()) return false;
    } catch (const Error& e) {
        if (e.number() == 0 || e.number() == kCancelled) return false;
        throw e.withSource(String(kSource));
    }
    try {
        if (!(flags_ & ofn::AllowMultiselect)) {
            selectedCount_ = 1;
            selected_ = {filename_};
            LoadInto(target);
        } else {
            splitSelection();
        }
    } catch (const Error&) {
        // The dialog has chosen; a target that cannot take the file does not undo that.
    }
    return true;
}

bool CDialog::ShowSave(const ObjectRef& target) {
    if (filter_.empty()) AddDefaultFilters(Variant(target));
    setFlag(ofn::HideReadOnly, true);
    lastDialog_ = LastDialog::Save;
    try {
        if (!runDialog()) return false;
    } catch (const Error& e) {
        if (e.number() == 0 || e.number() == kCancelled) return false;
        throw e.withSource(String(kSource));
    }
    selectedCount_ = 1;
    selected_ = {filename_};
    try {
        SaveFrom(target);
    } catch (const Error&) {
        // As with ShowOpen: the file was chosen, whatever the target made of it.
    }
    return true;
}

void CDialog::SaveFrom(const ObjectRef& target) {
    if (lastDialog_ != LastDialog::Save || selectedCount_ != 1) return;
    const Variant value(target);
    // Created first, as an Output open does, then filled; closed on every path.
    auto create = [&](auto&& content) {
        FileNumber number(files_);
        files_.open(number.number(), filename_, OpenMode::Output);
        files_.file(number.number()).write(regional_.toAnsi(joinText(content(), regional_)));
    };
    switch (kindOf(value)) {
        case TargetKind::RichText:
            target->call(u"SaveFile", {Variant(filename_)});
            break;
        case TargetKind::Picture:
        case TargetKind::None:
            break;
        case TargetKind::List: {
            FileNumber number(files_);
            files_.open(number.number(), filename_, OpenMode::Output);
            const int32_t count = toLong(target->get(u"ListCount"), regional_);
            for (int32_t i = 0; i < count; ++i) {
                const Variant item =
                    target->get(u"List", {Variant(asInteger(static_cast<std::size_t>(i)))});
                files_.file(number.number())
                    .write(regional_.toAnsi(joinText(item, regional_)) + "\r\n");
            }
            break;
        }
        case TargetKind::Text:
            create([&] { return target->get(u"Text"); });
            break;
        case TargetKind::StringValue:
            create([&] { return target->defaultValue(); });
            break;
    }
}

void CDialog::LoadInto(const ObjectRef& target) {
    if (lastDialog_ != LastDialog::Open || selectedCount_ != 1) return;
    const String path = get_SelectedFile(1);
    auto readAll = [&] {
        FileNumber number(files_);
        files_.open(number.number(), path, OpenMode::Input);
        File& file = files_.file(number.number());
        return file.read(static_cast<std::size_t>(file.length()));
    };
    switch (kindOf(Variant(target))) {
        case TargetKind::RichText:
            target->call(u"LoadFile", {Variant(path)});
            break;
        case TargetKind::Picture:
            target->let(u"Picture", Variant(dialogs_.loadPicture(path)));
            break;
        case TargetKind::List: {
            target->call(u"Clear");
            for (const std::string& line : lines(readAll()))
                target->call(u"AddItem", {Variant(regional_.fromAnsi(line))});
            if (toDouble(target->get(u"ListCount"), regional_) > 0)
                target->let(u"ListIndex", Variant(int16_t{0}));
            break;
        }
        case TargetKind::Text:
            target->let(u"Text", Variant(regional_.fromAnsi(readAll())));
            break;
        case TargetKind::StringValue:
            target->let(u"", Variant(regional_.fromAnsi(readAll())));
            break;
        case TargetKind::None:
            break;
    }
}

}  // namespace brv
