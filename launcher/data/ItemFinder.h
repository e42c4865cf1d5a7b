#pragma once
// Finding items by a few typed letters: every page's items ranked against a query. Pure: the
// caller gives each item's title and target as it knows them, and nothing here asks the shell.
#include <cstdint>
#include <string>
#include <vector>

namespace lhl {

struct FindableItem {
    uint32_t page = 0; // 0-based
    uint32_t cell = 0; // 1-based
    std::wstring title;
    std::wstring target; // what else names it: a file's name, an address, the start of a text
    size_t source = 0;   // the caller's own index of the item
};

// Better matches have lower ranks.
enum FindRank : int {
    kTitleStarts = 0,
    kWordStarts = 1,
    kTitleContains = 2,
    kTargetContains = 3,
};

struct FoundItem {
    size_t index = 0; // into the finder's items
    FindRank rank = kTitleStarts;
};

// The text as the comparison sees it: the platform's canonical decomposition with the combining
// marks left out, in the locale's linguistic lower case, so "É" and "e" are one letter.
std::wstring FoldForFind(const std::wstring& text);

class ItemFinder {
public:
    // The items are folded once here, so each keystroke only searches.
    void SetItems(std::vector<FindableItem> items);
    // The matches best first; equal ranks keep page, then cell order. An empty query finds nothing.
    std::vector<FoundItem> Find(const std::wstring& query) const;
    const FindableItem& Item(size_t index) const { return m_items[index]; }
    size_t Size() const { return m_items.size(); }

private:
    struct Folded {
        std::wstring title;
        std::wstring target;
    };
    std::vector<FindableItem> m_items; // in page, then cell order
    std::vector<Folded> m_folded;
};

} // namespace lhl
