// CDialog: the filter and flag members, and the dialogs through a stand-in whose answers the
// fuzzer writes: chosen folders and names (one or several) through the system's buffer rules,
// or raw bytes over the whole file buffer, with any flags, filter index and extended error.
#include "dialogs/dialog.h"

#include "fuzz_support.h"
#include "platform/native/dialogs.h"

namespace {

using namespace fuzz;
using brv::platform::native::UserAnswer;

constexpr StringView kWords[] = {u"|", u"*.txt", u"Text", u" ",  u"\0", u";",
                                 u".", u"\\",    u"a",    u"||", u"*.*"};

class FuzzedDialogs final : public brv::platform::Dialogs {
  public:
    UserAnswer answer;
    std::string raw;  // when set, written as it is over the file buffer
    bool rawResult = true;
    uint32_t version_ = 0x0A;
    mutable uint32_t error = 0;

    int getOpenFileName(brv::platform::FileDialogRequest& r) const override { return run(r); }
    int getSaveFileName(brv::platform::FileDialogRequest& r) const override { return run(r); }
    uint32_t extendedError() const override { return error; }
    uint32_t version() const override { return version_; }
    String currentDirectory() const override { return u"C:\\Work"; }
    brv::ObjectRef loadPicture(StringView) const override { brv::raise(brv::err::FileNotFound); }

  private:
    int run(brv::platform::FileDialogRequest& r) const {
        if (raw.empty()) return brv::platform::native::answerRequest(r, answer, error);
        raw.copy(r.file, std::min<std::size_t>(raw.size(), r.maxFile));
        r.flags |= answer.flagsAdded;
        error = answer.failure;
        return rawResult;
    }
};

std::string ansiText(Input& in, std::size_t max) {
    std::string s = in.provider().ConsumeRandomLengthString(max);
    return s;
}

void script(Input& in, FuzzedDialogs& d) {
    d.answer = UserAnswer{};
    d.raw.clear();
    d.answer.action = in.pick({UserAnswer::Action::Choose, UserAnswer::Action::Choose,
                               UserAnswer::Action::Cancel, UserAnswer::Action::Fail});
    d.answer.folder = in.pick<std::string>({"C:\\Work", "C:\\", "", "C:\\a b"});
    for (int i = in.choice(5); i > 0; --i) d.answer.names.push_back(ansiText(in, 24));
    d.answer.filterIndex = in.number<uint32_t>(0, 5);
    if (in.choice(4) == 0) d.answer.customPattern = ansiText(in, 12);
    d.answer.flagsAdded = in.choice(3) ? 0 : in.any<uint32_t>();
    d.answer.failure = in.pick<uint32_t>({0, 12291, 1, 0xFFFF});
    d.version_ = in.pick<uint32_t>({0x0A, 3, 0x80000004, 5});
    if (in.choice(4) == 0) {
        d.raw = ansiText(in, 600);
        d.rawResult = in.flag();
    }
}

brv::ObjectRef target(Input& in) {
    if (in.choice(3)) return nullptr;
    auto o = std::make_shared<QuietObject>();
    const StringView kinds[] = {u"TextRTF", u"Picture", u"ListIndex", u"Text", u"Value"};
    o->props[String(kinds[in.choice(5)])] = in.value(kWords);
    return o;
}

void call(Input& in, brv::CDialog& c, FuzzedDialogs& d) {
    switch (in.choice(16)) {
        case 0:
            c.let_Filter(in.text(kWords, 16));
            break;
        case 1:
            c.AddFilter(in.text(kWords, 4), in.text(kWords, 4),
                        in.flag() ? Variant::missing() : in.value(kWords));
            break;
        case 2:
            c.let_Flags(in.choice(3) ? in.pick<int32_t>({0, 512, 524288 | 512, 4096, 2, 8, 16})
                                     : in.any<int32_t>());
            break;
        case 3:
            c.let_MultiSelect(in.any<int16_t>());
            c.get_MultiSelect();
            break;
        case 4:
            c.let_FileReadOnly(in.any<int16_t>());
            c.get_FileReadOnly();
            break;
        case 5:
            c.let_FileMustExist(in.any<int16_t>());
            c.get_FileMustExist();
            break;
        case 6:
            c.let_FileMustBeWriteable(in.flag());
            break;
        case 7:
            c.let_Filename(in.text(kWords, 12));
            c.get_FileNameDefaultFilter();
            break;
        case 8:
            c.let_DefaultExt(in.text(kWords, 3));
            c.get_FileNameDefaultFilter();
            break;
        case 9:
            c.let_MaxFileSize(in.choice(3) ? in.number<int16_t>(-1, 300) : in.any<int16_t>());
            break;
        case 10:
            c.AddDefaultFilters(in.flag() ? Variant(target(in)) : in.value(kWords));
            break;
        case 11:
            c.let_FilterIndex(in.any<int16_t>());
            c.let_CancelError(in.flag());
            break;
        case 12:
            c.let_InitDir(in.text(kWords, 4));
            c.let_DialogTitle(in.text(kWords, 4));
            break;
        case 13:
            c.let_CustomFilter(in.text(kWords, 4));
            break;
        case 14:
            c.get_SelectedFile(in.number<int16_t>(-1, 8));
            break;
        default: {
            script(in, d);
            const int which = in.choice(3);
            if (which == 0)
                c.ShowOpen(target(in));
            else if (which == 1)
                c.ShowSave(target(in));
            else
                c.let_Action(in.number<int16_t>(0, 3));
            for (int16_t i = 0; i <= c.get_SelectedFileCount() && i < 64; ++i)
                c.get_SelectedFile(i);
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Input in(data, size);
    FuzzedDialogs dialogs;
    brv::platform::Platform p = standIns();
    p.dialogs = &dialogs;
    brv::CDialog c(p);
    for (int step = 0; step < 12 && in.more(); ++step) attempt([&] { call(in, c, dialogs); });
    return 0;
}
