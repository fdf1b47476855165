// Shared helpers of the unit tests.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

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

// Folders and files in memory, Windows style, drive C: empty at first. Logs every change.
class MemoryFiles : public brv::platform::FileSystem {
  public:
    mutable std::set<brv::String> folders{u"C:"}, files;
    std::set<brv::String> readOnly;  // folders that refuse new files
    mutable std::vector<brv::String> log;

    static brv::String parentOf(brv::StringView p) {
        const auto slash = p.rfind(u'\\');
        return brv::String(slash == brv::StringView::npos ? brv::StringView() : p.substr(0, slash));
    }
    static brv::String strip(brv::StringView p) {
        return brv::String(!p.empty() && p.back() == u'\\' ? p.substr(0, p.size() - 1) : p);
    }

    // Every open raises `openFailure` when it is set; otherwise a file that is there opens
    // empty and any other name is not found.
    int32_t openFailure = 0;
    std::unique_ptr<brv::File> open(brv::StringView path, brv::OpenMode) const override {
        struct Empty : brv::File {
            std::string read(std::size_t) override { return {}; }
            void write(std::string_view) override {}
            int64_t length() override { return 0; }
            bool atEnd() override { return true; }
        };
        if (openFailure) throw brv::Error(openFailure, u"probe", u"as raised");
        if (!files.count(brv::String(path))) brv::raise(brv::err::FileNotFound);
        return std::make_unique<Empty>();
    }
    void makeFolder(brv::StringView path) const override {
        const brv::String p = strip(path);
        log.push_back(u"mkdir " + p);
        if (folders.count(p) || files.count(p)) brv::raise(brv::err::PathFileAccess);
        if (!folders.count(parentOf(p))) brv::raise(brv::err::PathNotFound);
        folders.insert(p);
    }
    // Only the folder listings ("*.*") the helpers make, and exact names.
    std::optional<brv::String> firstEntry(brv::StringView pattern) const override {
        const brv::String p(pattern);
        if (!p.ends_with(u"*.*")) {
            if (folders.count(p) || files.count(p)) return p.substr(p.rfind(u'\\') + 1);
            return std::nullopt;
        }
        const brv::String folder = strip(brv::StringView(p).substr(0, p.size() - 3));
        if (!folders.count(folder)) return std::nullopt;
        if (folder.find(u'\\') != brv::String::npos) return brv::String(u".");
        for (const auto& set : {folders, files})  // a root has no "." entry
            for (const brv::String& f : set)
                if (parentOf(f) == folder) return f;
        return std::nullopt;
    }
    bool createNewFile(brv::StringView path) const override {
        const brv::String p(path);
        log.push_back(u"create " + p);
        if (folders.count(p) || readOnly.count(parentOf(p))) brv::raise(brv::err::PermissionDenied);
        if (!folders.count(parentOf(p))) brv::raise(brv::err::PathNotFound);
        return files.insert(p).second;
    }
    void deleteFile(brv::StringView path) const override {
        log.push_back(u"delete " + brv::String(path));
        if (!files.erase(brv::String(path))) brv::raise(brv::err::FileNotFound);
    }
};
