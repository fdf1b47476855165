#include "platform/native/dialogs.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "frame/error.h"
#include "platform/host.h"

namespace brv::platform {

namespace native {

namespace {

constexpr uint32_t kAllowMultiselect = 0x200;
constexpr uint32_t kExplorer = 0x80000;
constexpr uint32_t kBufferTooSmall = 0x3003;

// Reads a NUL-terminated text, as the dialog does with every string it is given.
std::string readText(const char* text) {
    return text ? std::string(text) : std::string();
}

// Reads the filter pairs up to their closing pair of NULs; the count of filters.
uint32_t filterCount(const char* filter) {
    uint32_t texts = 0;
    if (!filter) return 0;
    while (*filter) {
        filter += std::strlen(filter) + 1;
        ++texts;
    }
    return texts / 2;
}

}  // namespace

int answerRequest(FileDialogRequest& request, const UserAnswer& answer, uint32_t& error) {
    error = 0;
    const uint32_t filters = filterCount(request.filter);
    readText(request.initialDir);
    readText(request.title);
    readText(request.defaultExt);
    readText(request.file);
    if (answer.action == UserAnswer::Action::Cancel) return 0;
    if (answer.action == UserAnswer::Action::Fail) {
        error = answer.failure;
        return 0;
    }
    if (!answer.customPattern.empty() && request.customFilter) {
        // The description stays; the pattern follows its NUL, with a NUL of its own.
        const std::size_t at = std::strlen(request.customFilter) + 1;
        if (at + answer.customPattern.size() + 1 <= request.maxCustomFilter) {
            std::memcpy(request.customFilter + at, answer.customPattern.c_str(),
                        answer.customPattern.size() + 1);
            request.filterIndex = 0;
        }
    } else if (answer.filterIndex != 0 && answer.filterIndex <= filters) {
        request.filterIndex = answer.filterIndex;
    }

    const bool explorer = (request.flags & kExplorer) != 0;
    const bool multiple = (request.flags & kAllowMultiselect) != 0;
    std::string chosen;
    if (answer.names.size() > 1 && multiple) {
        const char separator = explorer ? '\0' : ' ';
        chosen = answer.folder;
        for (const auto& name : answer.names) chosen += separator + name;
    } else {
        chosen = answer.folder;
        if (!chosen.empty() && chosen.back() != '\\') chosen += '\\';
        if (!answer.names.empty()) chosen += answer.names.front();
    }
    chosen += '\0';
    if (multiple && explorer) chosen += '\0';  // the explorer style closes the list with two
    if (chosen.size() > request.maxFile) {
        const auto needed = static_cast<uint16_t>(chosen.size());
        std::memcpy(request.file, &needed, sizeof needed);
        error = kBufferTooSmall;
        return 0;
    }
    std::memcpy(request.file, chosen.data(), chosen.size());
    request.flags |= answer.flagsAdded;
    return 1;
}

}  // namespace native

// No dialog can be shown here: every request is read as the dialog reads it and answered
// as a cancel.
int HostDialogs::getOpenFileName(FileDialogRequest& request) const {
    uint32_t error = 0;
    return native::answerRequest(request, native::UserAnswer{}, error);
}

int HostDialogs::getSaveFileName(FileDialogRequest& request) const {
    return getOpenFileName(request);
}

uint32_t HostDialogs::extendedError() const {
    return 0;
}

uint32_t HostDialogs::version() const {
    return 0x0A;  // an NT line system of version 10
}

String HostDialogs::currentDirectory() const {
    std::error_code failed;
    const auto path = std::filesystem::current_path(failed);
    return failed ? String() : fromUtf8(path.string());
}

}  // namespace brv::platform

namespace brv::platform {

namespace {

// A picture as the loader here knows it: its kind (the system's picture types: 1 bitmap,
// 2 metafile, 3 icon or cursor, 4 enhanced metafile) and the file it came from.
class StandInPicture final : public SystemObject {
  public:
    StandInPicture(int16_t type, String path) : type_(type), path_(std::move(path)) {}
    void* system() const override { return nullptr; }
    Variant invoke(StringView name, CallKind kind, std::span<Variant>) override {
        if (kind == CallKind::PropertyGet && equalsAsciiNoCase(name, u"Type"))
            return Variant(type_);
        if (kind == CallKind::PropertyGet && equalsAsciiNoCase(name, u"Path"))
            return Variant(path_);
        raise(err::NoSuchMember);
    }

  private:
    int16_t type_;
    String path_;
};

int16_t pictureType(const std::string& head) {
    auto at = [&](std::size_t i) {
        return i < head.size() ? static_cast<unsigned char>(head[i]) : 0u;
    };
    if (at(0) == 'B' && at(1) == 'M') return 1;
    if ((at(0) == 0xD7 && at(1) == 0xCD && at(2) == 0xC6 && at(3) == 0x9A) ||
        (at(0) == 1 && at(1) == 0 && at(2) == 9 && at(3) == 0))
        return 2;
    if (at(0) == 0 && at(1) == 0 && (at(2) == 1 || at(2) == 2) && at(3) == 0) return 3;
    if (at(0) == 1 && at(1) == 0 && at(2) == 0 && at(3) == 0 && head.compare(40, 4, " EMF") == 0)
        return 4;
    return 0;
}

}  // namespace

ObjectRef HostDialogs::loadPicture(StringView path) const {
    const std::filesystem::path file(toUtf8(path));
    std::error_code failed;
    if (std::filesystem::is_directory(file, failed)) raise(err::PathFileAccess);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        raise(std::filesystem::exists(file.parent_path(), failed) || !file.has_parent_path()
                  ? err::FileNotFound
                  : err::PathNotFound);
    std::string head(44, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    const int16_t type = pictureType(head);
    if (type == 0) raise(err::InvalidPicture);
    return std::make_shared<StandInPicture>(type, String(path));
}

}  // namespace brv::platform
