// Shared helpers of the unit tests.
#pragma once

#include <gtest/gtest.h>

#include <map>

#include "frame/error.h"
#include "frame/object.h"
#include "platform/platform.h"

// The native stand-ins of every platform service. A test that needs a service to answer
// otherwise copies this and replaces that one service with its own fake.
inline const brv::platform::Platform& standIns() {
    return brv::platform::host();
}
inline const brv::Locale& standInLocale() {
    return *standIns().regional;
}

// Regional settings unlike the stand-in's: a Turkish dotted capital I, a sharp s that upper-cases
// to two letters, and day.month.year dates. The rest comes from the stand-in.
class ForeignRegional : public brv::platform::Regional {
  public:
    int compareText(brv::StringView a, brv::StringView b) const override {
        const brv::String ua = upper(a), ub = upper(b);
        return ua < ub ? -1 : (ua == ub ? 0 : 1);
    }
    brv::String upper(brv::StringView text) const override {
        brv::String out;
        for (const char16_t c : text) {
            if (c == u'i')
                out += u'\u0130';
            else if (c == u'\u00df')
                out += u"SS";
            else
                out += base().upper(brv::StringView(&c, 1));
        }
        return out;
    }
    brv::String lower(brv::StringView text) const override { return base().lower(text); }
    brv::String formatDate(double serial) const override {
        const brv::String us = base().formatDate(serial);  // m/d/yyyy
        const auto a = us.find(u'/'), b = us.find(u'/', a + 1);
        if (a == brv::String::npos || b == brv::String::npos) return us;
        return us.substr(a + 1, b - a - 1) + u"." + us.substr(0, a) + u"." + us.substr(b + 1);
    }
    std::optional<double> parseDate(brv::StringView) const override { return std::nullopt; }
    std::string toAnsi(brv::StringView text) const override { return base().toAnsi(text); }
    brv::String fromAnsi(std::string_view bytes) const override { return base().fromAnsi(bytes); }

    // The stand-in platform with these settings in it.
    brv::platform::Platform platform() const {
        brv::platform::Platform p = standIns();
        p.regional = this;
        return p;
    }

  private:
    static const brv::platform::Regional& base() { return *standIns().regional; }
};

// Runs `f` and checks that it raises the runtime error `number`.
template <typename F>
void expectError(int32_t number, F&& f, const char16_t* source = nullptr) {
    try {
        f();
        ADD_FAILURE() << "expected error " << number << ", nothing was raised";
    } catch (const brv::Error& e) {
        EXPECT_EQ(e.number(), number) << e.what();
        if (source) {
            EXPECT_EQ(e.source(), source) << e.what();
        }
    }
}

// The number of the runtime error that `f` raises, 0 when it raises none.
int errorOf(auto&& f) {
    try {
        f();
    } catch (const brv::Error& e) {
        return e.number();
    }
    return 0;
}

// A late-bound object with plain properties and a call log, standing in for a client's
// control or value object.
class FakeObject : public brv::Object {
  public:
    std::map<brv::String, brv::Variant> props;
    std::vector<brv::String> calls;

    brv::Variant invoke(brv::StringView name, brv::CallKind kind,
                        std::span<brv::Variant> args) override {
        const brv::String key(name);
        calls.push_back(key);
        if (kind == brv::CallKind::PropertyLet || kind == brv::CallKind::PropertySet) {
            props[key] = args.back();
            return {};
        }
        auto it = props.find(key);
        if (it == props.end()) brv::raise(brv::err::NoSuchMember);
        return it->second;
    }
};
