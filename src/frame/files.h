// Files as the runtime numbers them: a table of numbers 1 to 255 over files that the platform
// opens. The frame declares only what the numbered-file routines need; the platform's file system
// implements it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "frame/text.h"

namespace brv {

enum class OpenMode { Input, Output, Append };

// One open file. Failures throw brv::Error with the runtime's file error numbers.
class File {
  public:
    virtual ~File() = default;
    virtual std::string read(std::size_t maxBytes) = 0;  // fewer bytes only at the end
    virtual void write(std::string_view bytes) = 0;
    virtual int64_t length() = 0;
    virtual bool atEnd() = 0;
};

class FileOpener {
  public:
    virtual ~FileOpener() = default;
    // Opens without creating for Input; creates (Output truncates) otherwise. Errors: 52 bad
    // name, 53 file not found, 68 device unavailable, 70 permission denied, 75 path/file
    // access error (a folder given as a file), 76 path not found.
    virtual std::unique_ptr<File> open(StringView path, OpenMode mode) const = 0;
};

// The runtime's table of file numbers; closes whatever is still open when it goes away.
class FileTable {
  public:
    explicit FileTable(const FileOpener& fs) : fs_(fs) {}
    FileTable(const FileTable&) = delete;
    FileTable& operator=(const FileTable&) = delete;

    int freeFile() const;  // lowest unused number; error 67 when all are in use
    void open(int number, StringView path, OpenMode mode);  // 52 bad number, 55 in use
    void close(int number) noexcept;                        // closing an unused number: no-op
    File& file(int number);                                 // 52 when not open

  private:
    const FileOpener& fs_;
    std::array<std::unique_ptr<File>, 256> files_{};
};

// Closes its number on every path out of a scope.
class FileNumber {
  public:
    FileNumber(FileTable& table) : table_(table), number_(table.freeFile()) {}
    ~FileNumber() { table_.close(number_); }
    FileNumber(const FileNumber&) = delete;
    FileNumber& operator=(const FileNumber&) = delete;
    int number() const { return number_; }

  private:
    FileTable& table_;
    int number_;
};

}  // namespace brv
