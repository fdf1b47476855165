// The keyed collection: ordered, 1-based positions, optional keys that are unique without
// regard to letter case. Errors as the runtime's Collection: 5 for an absent key, 9 for a
// position outside 1 to the count, 457 for a key already present.
//
// Items live in blocks of a few hundred, so inserting and removing anywhere costs a block's
// worth of moves rather than the whole collection's; keys are hashed.
#pragma once

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "frame/locale.h"
#include "frame/variant.h"

namespace brv {

// What a NewEnum member returns: the items in order, each as a Variant. The binding layer
// hands it out as an IEnumVARIANT.
struct Enumeration {
    std::vector<Variant> items;
};

class Collection {
  public:
    // Keys fold and numeric indexes convert under `locale`, which must outlive the collection.
    explicit Collection(const Locale& locale);
    ~Collection();
    Collection(const Collection&) = delete;
    Collection& operator=(const Collection&) = delete;

    int32_t count() const { return count_; }

    // Adds at the end, or before / after a position (1 to the count; error 9 outside, error 5
    // when both are given). A key already present raises 457 and adds nothing.
    void add(Variant item, std::optional<String> key = std::nullopt,
             std::optional<int32_t> before = std::nullopt,
             std::optional<int32_t> after = std::nullopt);

    // Lookup by a number (a position) or a String (a key).
    const Variant& item(const Variant& index) const;
    Variant& item(const Variant& index);
    const Variant& at(int32_t position) const;   // error 9 outside 1 to the count
    const Variant& byKey(StringView key) const;  // error 5 when absent
    bool containsKey(StringView key) const;

    void remove(const Variant& index);
    void removeAt(int32_t position);
    void clear();

    // The items in order, for enumeration; enumerators work on this copy, so removals during
    // a For Each cannot pull items out from under them.
    std::vector<Variant> snapshot() const;

  private:
    struct Entry;
    struct Block;

    int32_t positionOf(const Variant& index) const;  // 1-based; errors 5 and 9
    std::pair<Block*, std::size_t> locate(int32_t position0) const;
    int32_t positionOfEntry(const Entry* e) const;
    void refreshStarts() const;
    void insertAt(int32_t position0, std::unique_ptr<Entry> entry);
    String fold(StringView key) const;

    const Locale& locale_;
    std::vector<std::unique_ptr<Block>> blocks_;
    std::unordered_map<String, Entry*> keys_;
    int32_t count_ = 0;
    mutable std::vector<int32_t> starts_;
    mutable bool startsValid_ = true;
};

}  // namespace brv
