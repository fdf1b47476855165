#include "frame/shared.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "frame/convert.h"
#include "frame/error.h"

namespace brv {

namespace {

// The replace loop as a stack machine: `out` holds the text before the next possible match,
// `pending` what is still to be read, as views into the text and into the replacement.
// Finding the first occurrence from position 1 again is the same as finding the occurrence
// that ends first, because all occurrences have the same length; and no occurrence can end
// inside `out`, so the matcher simply continues. A replacement goes back to the front of
// `pending`, where it is read like any other text; that catches matches that begin before it
// and end inside or behind it. The matcher's state depends only on the last (search length - 1)
// characters read, so after a match it is recomputed from the tail of `out`.
class Replacer {
  public:
    Replacer(StringView search, StringView replacement) : match_(search), r_(replacement) {}

    // The result, or nothing when more than `budget` characters had to be read.
    std::optional<String> run(StringView text, std::size_t budget) {
        budget_ = budget;
        out_.reserve(text.size());
        pending_.push_back(text);
        while (hasPending()) {
            StringView& seg = pending_.back();
            if (!feed(seg)) return std::nullopt;
            if (seg.empty()) pending_.pop_back();
            if (state_ == match_.size() && !replace()) return std::nullopt;
        }
        return std::move(out_);
    }

    // The variant in which each search resumes behind the inserted replacement, so that the
    // replacement is never read again: the rest is always a tail of the text.
    String runFrozen(StringView text) {
        out_.reserve(text.size());
        for (StringView rest = text;;) {
            state_ = 0;
            const std::size_t used = scan(rest);
            out_.append(rest.substr(0, used));
            rest.remove_prefix(used);
            if (state_ != match_.size()) return std::move(out_);
            out_.resize(out_.size() - match_.size());
            out_.append(r_);
            rest = trimSpaces(rest);
        }
    }

  private:
    // Reads from `seg` into `out` until a match completes or `seg` ends.
    bool feed(StringView& seg) {
        const std::size_t used = scan(seg);
        out_.append(seg.substr(0, used));
        seg.remove_prefix(used);
        if (used > budget_) return false;
        budget_ -= used;
        return true;
    }

    // Reads `seg` until a match completes (state_ == search length) or `seg` ends; returns how
    // many characters were read.
    std::size_t scan(StringView seg) {
        std::size_t k = state_, i = 0;
        const char16_t first = match_.first();
        while (i < seg.size()) {
            if (k == 0) {
                const auto hit = seg.find(first, i);
                if (hit == StringView::npos) {
                    i = seg.size();
                    break;
                }
                i = hit;
            }
            k = match_.next(k, seg[i++]);
            if (k == match_.size()) break;
        }
        state_ = k;
        return i;
    }

    // Drops the match that ends `out`, trims what follows and reads the replacement. The
    // replacement is read straight away; only a match that completes inside it puts its
    // remainder back in front of `pending`.
    bool replace() {
        do {
            out_.resize(out_.size() - match_.size());
            trimPending();
            state_ = 0;
            scan(StringView(out_).substr(out_.size() - std::min(out_.size(), match_.size() - 1)));
            StringView r = r_;
            if (!feed(r)) return false;
            if (state_ == match_.size() && !r.empty()) pending_.push_back(r);
        } while (state_ == match_.size());
        return true;
    }

    void trimPending() {
        while (hasPending()) {
            StringView& f = pending_.back();
            while (!f.empty() && f.front() == u' ') f.remove_prefix(1);
            if (!f.empty()) break;
            pending_.pop_back();
        }
        while (hasPending()) {
            StringView& b = pending_[bottom_];
            while (!b.empty() && b.back() == u' ') b.remove_suffix(1);
            if (!b.empty()) break;
            ++bottom_;
        }
    }

    bool hasPending() {
        if (pending_.size() > bottom_) return true;
        pending_.clear();
        bottom_ = 0;
        return false;
    }

    Matcher match_;
    StringView r_;
    String out_;
    std::size_t state_ = 0;
    std::size_t budget_ = 0;
    // What is still to be read: pending_[bottom_] to the end, the next piece last.
    std::vector<StringView> pending_;
    std::size_t bottom_ = 0;
};

}  // namespace

String fnReplaceText(StringView text, StringView search, StringView replacement) {
    try {
        asInteger(search.size());
        if (search.empty()) return String(text);
        // Read again, a replacement that holds the search text is found without end: there
        // each search resumes behind the inserted replacement. A replacement that shares no
        // character with the search text cannot take part in a match, so both ways give the
        // same result there, and that one is the faster.
        const bool inert =
            !replacement.empty() && replacement.find_first_of(search) == StringView::npos;
        if (inert || replacement.find(search) != StringView::npos)
            return Replacer(search, replacement).runFrozen(text);
        // Some other pairs feed on their own replacements for ever, or for exponentially long;
        // the text then grows until memory runs out, and so we answer with that error early: a
        // million characters read beyond 64 per character of the text is more than any
        // replacement that ends needs, and keeps that answer well under a second.
        const std::size_t budget = 64 * text.size() + (std::size_t{1} << 20);
        if (auto out = Replacer(search, replacement).run(text, budget)) return *out;
        raise(err::OutOfMemory);
    } catch (const Error& e) {
        throw e.withSource(u"fnReplaceText");
    } catch (const std::bad_alloc&) {
        throw Error(err::OutOfMemory, u"fnReplaceText");
    }
}

int16_t fnCountCharacter(StringView text, StringView character) {
    const int16_t length = asInteger(text.size());
    if (character.size() != 1) return 0;
    int16_t count = 0;
    for (int16_t i = 0; i < length; ++i)
        if (text[static_cast<std::size_t>(i)] == character[0]) ++count;
    return count;
}

bool fnFileExists(StringView path, FileTable& files) {
    const int number = files.freeFile();
    try {
        files.open(number, path, OpenMode::Input);
        files.close(number);
        return true;
    } catch (const Error& e) {
        files.close(number);
        switch (e.number()) {
            case err::FileNotFound:
            case err::DeviceUnavailable:
            case err::PathFileAccess:
            case err::PathNotFound:
                return false;
            default:
                throw;
        }
    }
}

}  // namespace brv
