// Shared helpers of the unit tests.
#pragma once

#include <gtest/gtest.h>

#include <map>

#include "frame/error.h"
#include "frame/object.h"

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
