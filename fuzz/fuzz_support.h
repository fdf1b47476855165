// What every fuzz target shares: the decoding of the fuzzer's bytes into member choices and
// automation values, a platform that never reaches the disk, and the rule for outcomes: a
// brv::Error is an answer, anything else thrown (or a difference from an oracle) is a finding
// and aborts the run so that libFuzzer keeps the input.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <initializer_list>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "frame/error.h"
#include "frame/object.h"
#include "frame/variant.h"
#include "platform/platform.h"

namespace fuzz {

using brv::String;
using brv::StringView;
using brv::Variant;

[[noreturn]] inline void finding(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "FINDING: %s %s\n", what, detail.c_str());
    std::abort();
}

// Runs one member call: true when it returned, false when it raised a brv::Error.
template <typename F>
bool attempt(F&& call) {
    try {
        call();
        return true;
    } catch (const brv::Error&) {
        return false;
    } catch (const std::exception& e) {
        finding("exception other than brv::Error:", e.what());
    } catch (...) {
        finding("non-standard exception");
    }
}

template <typename F>
void attemptOrThrow(F&& call) {
    try {
        call();
    } catch (const brv::Error&) {
        throw;
    } catch (const std::exception& e) {
        finding("exception other than brv::Error:", e.what());
    }
}

// The number raised by `call`, 0 when it returned.
template <typename F>
int32_t errorOf(F&& call) {
    try {
        attemptOrThrow(call);
    } catch (const brv::Error& e) {
        return e.number();
    }
    return 0;
}
inline std::string show(StringView s) {
    std::string out;
    for (const char16_t c : s) {
        if (c >= 32 && c < 127)
            out += static_cast<char>(c);
        else
            out += "\\u" + std::to_string(static_cast<unsigned>(c));
    }
    return '"' + out + '"';
}

template <typename T>
void expectSame(const T& fast, const T& oracle, const char* what, const std::string& input) {
    if (!(fast == oracle)) finding(what, "differs from its oracle for " + input);
}

// A late-bound object that answers every get with Empty and takes every let: a stand-in for a
// client's control or value object whose members the class under test may probe.
class QuietObject : public brv::Object {
  public:
    std::map<String, Variant> props;
    Variant invoke(StringView name, brv::CallKind kind, std::span<Variant> args) override {
        if (kind == brv::CallKind::PropertyLet || kind == brv::CallKind::PropertySet) {
            if (!args.empty()) props[String(name)] = args.back();
            return {};
        }
        const auto it = props.find(String(name));
        if (it == props.end()) brv::raise(brv::err::NoSuchMember);
        return it->second;
    }
};

// A file system that has nothing on it and refuses every change: no target touches the disk.
class NoFiles final : public brv::platform::FileSystem {
  public:
    std::unique_ptr<brv::File> open(StringView, brv::OpenMode) const override {
        brv::raise(brv::err::PathNotFound);
    }
    void makeFolder(StringView) const override { brv::raise(brv::err::PathNotFound); }
    std::optional<String> firstEntry(StringView) const override { return std::nullopt; }
    bool createNewFile(StringView) const override { brv::raise(brv::err::PermissionDenied); }
    void deleteFile(StringView) const override { brv::raise(brv::err::FileNotFound); }
};

// The stand-in platform with the file system replaced by NoFiles.
inline brv::platform::Platform standIns() {
    static const NoFiles noFiles;
    brv::platform::Platform p = brv::platform::host();
    p.files = &noFiles;
    return p;
}

// The fuzzer's bytes as a sequence of decisions.
class Input {
  public:
    Input(const uint8_t* data, std::size_t size) : p_(data, size) {}

    bool more() { return p_.remaining_bytes() > 0; }
    bool flag() { return p_.ConsumeBool(); }
    template <typename T>
    T number(T lo, T hi) {
        return p_.ConsumeIntegralInRange<T>(lo, hi);
    }
    template <typename T>
    T any() {
        return p_.ConsumeIntegral<T>();
    }
    // 0 to n - 1: a member or case to take.
    int choice(int n) { return p_.ConsumeIntegralInRange<int>(0, n - 1); }
    template <typename T>
    T pick(std::initializer_list<T> items) {
        return items.begin()[choice(static_cast<int>(items.size()))];
    }
    FuzzedDataProvider& provider() { return p_; }

    // Text made of up to `maxPieces` pieces, each a word of `words` (the target's own
    // keywords and separators) or one code unit taken as it comes.
    String text(std::span<const StringView> words, std::size_t maxPieces = 24) {
        String out;
        const std::size_t n = p_.ConsumeIntegralInRange<std::size_t>(0, maxPieces);
        for (std::size_t i = 0; i < n && more(); ++i) {
            const int k = p_.ConsumeIntegralInRange<int>(0, static_cast<int>(words.size()) + 1);
            if (k < static_cast<int>(words.size()))
                out += words[static_cast<std::size_t>(k)];
            else if (k == static_cast<int>(words.size()))
                out += static_cast<char16_t>(p_.ConsumeIntegralInRange<int>(0, 127));
            else
                out += p_.ConsumeIntegral<char16_t>();
        }
        return out;
    }
    // A text of `length` copies of one character: for the 16-bit limits.
    String longText(std::size_t base = 32760) {
        return String(base + p_.ConsumeIntegralInRange<std::size_t>(0, 16),
                      pick({u'a', u' ', u'\0', u'\n'}));
    }

    // Any value a late-bound client can pass: Empty, Null, Missing, every scalar type,
    // Nothing, an object, and arrays of those (one or two dimensions, any lower bound).
    Variant value(std::span<const StringView> words, int depth = 0) {
        switch (choice(depth > 1 ? 15 : 17)) {
            case 0:
                return {};
            case 1:
                return brv::Null{};
            case 2:
                return Variant::missing();
            case 3:
                return any<int16_t>();
            case 4:
                return any<int32_t>();
            case 5:
                return p_.ConsumeFloatingPoint<double>();
            case 6:
                return static_cast<float>(number<int>(-100, 100)) / 4;
            case 7:
                return brv::Currency{any<int64_t>() / 1000};
            case 8:
                return brv::Date{static_cast<double>(number<int>(-700000, 2958465))};
            case 9:
                return flag();
            case 10:
                return any<uint8_t>();
            case 11:
                return Variant(nullptr);
            case 12:
                return Variant(brv::ObjectRef(std::make_shared<QuietObject>()));
            case 13:
                return brv::ErrorValue{any<int32_t>()};
            case 14:
            case 15:
                return text(words);
            default:
                return array(words, depth + 1);
        }
    }

    Variant array(std::span<const StringView> words, int depth = 1) {
        const auto type = pick({brv::VarType::Variant, brv::VarType::String, brv::VarType::Long,
                                brv::VarType::Integer, brv::VarType::Byte, brv::VarType::Double});
        const int32_t lower = pick({0, 0, 1, -1, 5});
        const int32_t count = number<int32_t>(0, 8);
        std::vector<brv::Bound> bounds{{lower, count}};
        if (choice(6) == 0) bounds.push_back({number<int32_t>(-1, 1), number<int32_t>(0, 3)});
        brv::Array a(type, bounds);
        for (auto& item : a.items()) {
            if (type != brv::VarType::Variant) {
                Variant v = value(words, depth);
                // Elements conform to the array's type; keep the neutral one when they do not.
                if (v.type() == type && !v.isArray()) item = std::move(v);
            } else {
                item = value(words, depth);
            }
        }
        return a;
    }

  private:
    FuzzedDataProvider p_;
};

}  // namespace fuzz
