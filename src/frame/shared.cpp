#include "frame/shared.h"

#include <deque>
#include <vector>

#include "frame/convert.h"
#include "frame/error.h"

namespace brv {

namespace {

// The replace loop as a stack machine: `out` holds the text before the next possible match
// together with the matcher state after each of its characters; `pending` holds what is still
// to be read, as views into the text and into the replacement. Finding the first occurrence
// from position 1 again is the same as finding the occurrence that ends first, because all
// occurrences have the same length; and no occurrence can end inside `out`, so the matcher
// simply continues. A replacement goes back to the front of `pending`, where it is read like
// any other text; that catches matches that begin before it and end inside or behind it.
class Replacer {
  public:
    Replacer(StringView search, StringView replacement) : s_(search), r_(replacement) {
        fail_.assign(s_.size(), 0);
        for (std::size_t i = 1, k = 0; i < s_.size(); ++i) {
            while (k > 0 && s_[i] != s_[k]) k = fail_[k - 1];
            if (s_[i] == s_[k]) ++k;
            fail_[i] = k;
        }
        // Read again, a replacement holding the search text would match without end.
        frozen_ = r_.find(s_) != StringView::npos;
    }

    String run(StringView text) {
        pending_.push_back(text);
        while (!pending_.empty()) {
            StringView& front = pending_.front();
            if (front.empty()) {
                pending_.pop_front();
                continue;
            }
            const char16_t c = front.front();
            front.remove_prefix(1);
            std::size_t k = out_.size() > floor_ ? states_.back() : 0;
            while (k > 0 && (k == s_.size() || s_[k] != c)) k = fail_[k - 1];
            if (s_[k] == c) ++k;
            out_.push_back(c);
            states_.push_back(k);
            if (k == s_.size()) replace();
        }
        return out_;
    }

  private:
    void replace() {
        out_.resize(out_.size() - s_.size());
        states_.resize(states_.size() - s_.size());
        trimPending();
        if (frozen_) {
            // Resume the search behind the inserted replacement.
            out_.append(r_);
            states_.resize(out_.size(), 0);
            floor_ = out_.size();
        } else if (!r_.empty()) {
            pending_.push_front(r_);
        }
    }

    void trimPending() {
        while (!pending_.empty()) {
            StringView& f = pending_.front();
            while (!f.empty() && f.front() == u' ') f.remove_prefix(1);
            if (!f.empty()) break;
            pending_.pop_front();
        }
        while (!pending_.empty()) {
            StringView& b = pending_.back();
            while (!b.empty() && b.back() == u' ') b.remove_suffix(1);
            if (!b.empty()) break;
            pending_.pop_back();
        }
    }

    StringView s_, r_;
    std::vector<std::size_t> fail_;
    bool frozen_ = false;
    String out_;
    std::vector<std::size_t> states_;
    std::size_t floor_ = 0;
    std::deque<StringView> pending_;
};

}  // namespace

String fnReplaceText(StringView text, StringView search, StringView replacement) {
    try {
        asInteger(search.size());
        if (search.empty()) return String(text);
        return Replacer(search, replacement).run(text);
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

bool fnFileExists(StringView path, platform::FileTable& files) {
    const int number = files.freeFile();
    try {
        files.open(number, path, platform::OpenMode::Input);
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
