// The one error type of the library: an automation error made of a number, a source and a
// description, as a client reads them from Err. Every failure inside the core is thrown as
// this type; the binding layer turns it into an HRESULT plus IErrorInfo.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "frame/text.h"

namespace brv {

// Runtime error numbers that the library raises or maps.
namespace err {
inline constexpr int32_t InvalidCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t ArrayFixedOrLocked = 10;
inline constexpr int32_t DivisionByZero = 11;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t DllNotLoaded = 48;
inline constexpr int32_t InternalError = 51;
inline constexpr int32_t BadFileNameOrNumber = 52;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t BadFileMode = 54;
inline constexpr int32_t FileAlreadyOpen = 55;
inline constexpr int32_t DeviceIoError = 57;
inline constexpr int32_t InputPastEnd = 62;
inline constexpr int32_t TooManyFiles = 67;
inline constexpr int32_t DeviceUnavailable = 68;
inline constexpr int32_t PermissionDenied = 70;
inline constexpr int32_t PathFileAccess = 75;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t ObjectNotSet = 91;
inline constexpr int32_t InvalidUseOfNull = 94;
inline constexpr int32_t ObjectRequired = 424;
inline constexpr int32_t NoSuchMember = 438;
inline constexpr int32_t ActionNotSupported = 445;
inline constexpr int32_t ArgumentNotOptional = 449;
inline constexpr int32_t WrongArgumentCount = 450;
inline constexpr int32_t DllEntryNotFound = 453;
inline constexpr int32_t DuplicateKey = 457;
inline constexpr int32_t UnsupportedAutomationType = 458;
inline constexpr int32_t InvalidPicture = 481;
inline constexpr int32_t RegistryLookup = 1200;  // a value the registry collection lacks
// The registry classes' own numbers, 0x80040000 + 513 upward, and the base to which a failed
// registry call adds the platform's code.
inline constexpr int32_t RegistryBase = -2147221504;
inline constexpr int32_t RegErrorOpenFail = -2147220991;
inline constexpr int32_t RegErrorNoLetProperty = -2147220985;
inline constexpr int32_t RegErrorUnknown = -2147220983;
}  // namespace err

// The runtime's standard text for a number; "Application-defined or object-defined error"
// for numbers the runtime does not define.
String standardDescription(int32_t number);

class Error : public std::exception {
  public:
    // An empty description takes the runtime's standard text for the number. An empty source
    // is filled in by the binding layer with the programmatic identifier of the called class.
    explicit Error(int32_t number, String source = {}, String description = {});

    int32_t number() const noexcept { return number_; }
    const String& source() const noexcept { return source_; }
    const String& description() const noexcept { return description_; }

    // Catch-and-raise-again members keep number and description but name themselves.
    Error withSource(String source) const;

    const char* what() const noexcept override { return what_.c_str(); }

  private:
    int32_t number_;
    String source_;
    String description_;
    std::string what_;
};

[[noreturn]] void raise(int32_t number);
[[noreturn]] void raise(int32_t number, String source, String description);

}  // namespace brv
