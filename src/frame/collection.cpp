#include "frame/collection.h"

#include <algorithm>

#include "frame/convert.h"

namespace brv {

namespace {
constexpr std::size_t kSplitAt = 512;
}

struct Collection::Entry {
    Variant value;
    std::optional<String> foldedKey;
    Block* block = nullptr;
};

struct Collection::Block {
    std::vector<std::unique_ptr<Entry>> entries;
    std::size_t index = 0;  // position in blocks_, valid while starts_ is
};

Collection::Collection(const Locale& locale) : locale_(locale) {}
Collection::~Collection() = default;

String Collection::fold(StringView key) const {
    return locale_.upper(key);
}

void Collection::refreshStarts() const {
    if (startsValid_) return;
    starts_.resize(blocks_.size());
    int32_t pos = 0;
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        blocks_[i]->index = i;
        starts_[i] = pos;
        pos += static_cast<int32_t>(blocks_[i]->entries.size());
    }
    startsValid_ = true;
}

std::pair<Collection::Block*, std::size_t> Collection::locate(int32_t position0) const {
    refreshStarts();
    auto it = std::upper_bound(starts_.begin(), starts_.end(), position0);
    const std::size_t b = static_cast<std::size_t>(it - starts_.begin()) - 1;
    return {blocks_[b].get(), static_cast<std::size_t>(position0 - starts_[b])};
}

int32_t Collection::positionOfEntry(const Entry* e) const {
    refreshStarts();
    const auto& entries = e->block->entries;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].get() == e) return starts_[e->block->index] + static_cast<int32_t>(i) + 1;
    return 0;  // unreachable: every entry is in its block
}

int32_t Collection::positionOf(const Variant& index) const {
    if (index.isArray()) raise(err::TypeMismatch);
    switch (index.type()) {
        case VarType::String: {
            auto it = keys_.find(fold(index.str()));
            if (it == keys_.end()) raise(err::InvalidCall);
            return positionOfEntry(it->second);
        }
        case VarType::Object:
            return positionOf(resolveDefault(index));
        case VarType::Empty:
            raise(err::InvalidCall);
        default: {
            const int32_t p = toLong(index, locale_);
            if (p < 1 || p > count_) raise(err::SubscriptOutOfRange);
            return p;
        }
    }
}

void Collection::insertAt(int32_t position0, std::unique_ptr<Entry> entry) {
    if (blocks_.empty()) blocks_.push_back(std::make_unique<Block>());
    Block* block;
    std::size_t offset;
    if (position0 == count_) {
        block = blocks_.back().get();
        offset = block->entries.size();
    } else {
        std::tie(block, offset) = locate(position0);
    }
    entry->block = block;
    block->entries.insert(block->entries.begin() + static_cast<std::ptrdiff_t>(offset),
                          std::move(entry));
    ++count_;
    startsValid_ = false;
    if (block->entries.size() >= kSplitAt) {
        refreshStarts();
        auto tail = std::make_unique<Block>();
        const auto half = block->entries.begin() + kSplitAt / 2;
        std::move(half, block->entries.end(), std::back_inserter(tail->entries));
        block->entries.erase(half, block->entries.end());
        for (auto& e : tail->entries) e->block = tail.get();
        blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(block->index) + 1,
                       std::move(tail));
        startsValid_ = false;
    }
}

void Collection::add(Variant item, std::optional<String> key, std::optional<int32_t> before,
                     std::optional<int32_t> after) {
    if (before && after) raise(err::InvalidCall);
    int32_t position0 = count_;
    if (before) {
        if (*before < 1 || *before > count_) raise(err::SubscriptOutOfRange);
        position0 = *before - 1;
    } else if (after) {
        if (*after < 1 || *after > count_) raise(err::SubscriptOutOfRange);
        position0 = *after;
    }
    auto entry = std::make_unique<Entry>();
    entry->value = std::move(item);
    if (key) {
        String folded = fold(*key);
        auto [it, inserted] = keys_.try_emplace(folded, entry.get());
        if (!inserted) raise(err::DuplicateKey);
        entry->foldedKey = std::move(folded);
    }
    insertAt(position0, std::move(entry));
}

const Variant& Collection::at(int32_t position) const {
    if (position < 1 || position > count_) raise(err::SubscriptOutOfRange);
    auto [block, offset] = locate(position - 1);
    return block->entries[offset]->value;
}

const Variant& Collection::byKey(StringView key) const {
    auto it = keys_.find(fold(key));
    if (it == keys_.end()) raise(err::InvalidCall);
    return it->second->value;
}

bool Collection::containsKey(StringView key) const {
    return keys_.count(fold(key)) != 0;
}

const Variant& Collection::item(const Variant& index) const {
    if (index.isString() && !index.isArray()) return byKey(index.str());
    return at(positionOf(index));
}

Variant& Collection::item(const Variant& index) {
    return const_cast<Variant&>(static_cast<const Collection*>(this)->item(index));
}

void Collection::remove(const Variant& index) {
    removeAt(positionOf(index));
}

void Collection::removeAt(int32_t position) {
    if (position < 1 || position > count_) raise(err::SubscriptOutOfRange);
    auto [block, offset] = locate(position - 1);
    auto& entries = block->entries;
    if (entries[offset]->foldedKey) keys_.erase(*entries[offset]->foldedKey);
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(offset));
    --count_;
    if (entries.empty()) blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(block->index));
    startsValid_ = false;
}

void Collection::clear() {
    keys_.clear();
    blocks_.clear();
    count_ = 0;
    startsValid_ = false;
}

std::vector<Variant> Collection::snapshot() const {
    std::vector<Variant> out;
    out.reserve(static_cast<std::size_t>(count_));
    for (const auto& b : blocks_)
        for (const auto& e : b->entries) out.push_back(e->value);
    return out;
}

}  // namespace brv
