#include "system/os32_helper.h"

#include "frame/convert.h"
#include "frame/shared.h"

namespace brv {

namespace {
// The probe names WriteAccess tries, in order: "test.000" to "test.999".
constexpr int kProbeNames = 1000;

String probeName(int k) {
    String n = numberText(int64_t{k});
    return u"test." + String(3 - n.size(), u'0') + n;
}
}  // namespace

String OS32Helper::FileNameNoPath(const String& FullName) const {
    if (!FullName.empty() && FullName.back() == u'\\') return {};
    // The scan position is an Integer.
    for (std::size_t p = asInteger(FullName.size()); p > 0; --p)
        if (FullName[p - 1] == u'\\') return FullName.substr(p);
    return {};
}

String OS32Helper::PathNameNoFile(const String& FullName) const {
    for (std::size_t p = asInteger(FullName.size()); p > 0; --p)
        if (FullName[p - 1] == u'\\') return FullName.substr(0, p - 1);
    return {};
}

String OS32Helper::AddDirectorySeparator(const String& PathName) const {
    const StringView trimmed = trimSpaces(PathName);
    if (!trimmed.empty() && (trimmed.back() == u'/' || trimmed.back() == u'\\'))
        return String(trimmed);
    return String(trimTrailingSpaces(PathName)) + u"\\";
}

bool OS32Helper::IsValidFolder(String& strFolderPath) const {
    try {
        if (strFolderPath.empty()) return false;
        strFolderPath = AddDirectorySeparator(strFolderPath);
        return files_.firstEntry(strFolderPath + u"*.*").has_value();
    } catch (const std::exception&) {
        return false;
    }
}

bool OS32Helper::IsValidFilePath(const String& Filename) const {
    FileTable table(files_);
    return fnFileExists(Filename, table);
}

bool OS32Helper::MakeDirectory(const String& Folder) const {
    String folder(trimSpaces(Folder));
    if (!folder.empty() && folder.back() == u'\\') folder.pop_back();
    if (folder.size() < 2 || folder[1] != u':')
        raise(err::InvalidCall, {},
              u"MakeDirectory does not support the use of UNC path names. Please use a fully "
              u"qualified drive mapping.");
    // Each pass creates at most one level; a folder that keeps failing the listing after all
    // its levels were made would send the search round again, so the passes are bounded.
    std::size_t position = 4;
    for (std::size_t pass = 0; pass <= folder.size() + 1; ++pass) {
        // The whole folder goes by reference, so it comes back with its closing separator.
        if (IsValidFolder(folder)) return true;
        position = asInteger(inStr(position + 1, folder, u"\\"));
        const String partial = position == 0 ? folder : folder.substr(0, position - 1);
        String probe = partial;
        if (!IsValidFolder(probe)) files_.makeFolder(partial);
    }
    raise(err::PathFileAccess);
}

bool OS32Helper::WriteAccess(const String& strDirName) const {
    try {
        const String folder = AddDirectorySeparator(strDirName);
        for (int k = 0; k < kProbeNames; ++k) {
            const String probe = folder + probeName(k);
            bool created = false;
            try {
                created = files_.createNewFile(probe);
            } catch (const Error&) {
                // A folder of that name refuses the create; any other failure is the answer.
                if (!files_.firstEntry(probe)) return false;
            }
            if (!created) continue;
            try {
                files_.deleteFile(probe);
            } catch (const Error&) {
                // The folder took the new file: that is write access, even if it stays.
            }
            return true;
        }
        return false;
    } catch (const std::exception&) {
        return false;
    }
}

void OS32Helper::StandardErrorMessage(const String& ProcedureName, const int32_t& ErrNumber,
                                      const String& ErrorDescription,
                                      String& OptionalDescription) const {
    if (!OptionalDescription.empty())
        OptionalDescription = u"\r\nAdditional Information:\r\n" + OptionalDescription;
    const String text = u"The following error has occured in " + ProcedureName + u":" +
                        u"\r\nError #" + numberText(int64_t{ErrNumber}) + u"\r\nError Text: " +
                        ErrorDescription + OptionalDescription;
    messages_.showMessage(text, kAppTitle);
}

}  // namespace brv
