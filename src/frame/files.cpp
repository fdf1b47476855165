#include "frame/files.h"

#include "frame/error.h"

namespace brv {

int FileTable::freeFile() const {
    for (int n = 1; n <= 255; ++n)
        if (!files_[n]) return n;
    raise(err::TooManyFiles);
}

void FileTable::open(int number, StringView path, OpenMode mode) {
    if (number < 1 || number > 255) raise(err::BadFileNameOrNumber);
    if (files_[number]) raise(err::FileAlreadyOpen);
    files_[number] = fs_.open(path, mode);
}

void FileTable::close(int number) noexcept {
    if (number >= 1 && number <= 255) files_[number].reset();
}

File& FileTable::file(int number) {
    if (number < 1 || number > 255 || !files_[number]) raise(err::BadFileNameOrNumber);
    return *files_[number];
}

}  // namespace brv
