#include "ItemFinder.h"
#include <windows.h>
#include <algorithm>
#include <cwctype>

namespace lhl {
namespace {

std::wstring Decompose(const std::wstring& text) {
    // A decomposed character takes at most a few code units more; the call says when not.
    std::wstring out(text.size() * 4 + 8, L'\0');
    const int length = ::FoldStringW(MAP_COMPOSITE, text.c_str(), static_cast<int>(text.size()), out.data(),
                                     static_cast<int>(out.size()));
    if (length <= 0) return text;
    out.resize(static_cast<size_t>(length));
    return out;
}

std::wstring WithoutMarks(const std::wstring& text) {
    std::vector<WORD> types(text.size());
    if (!::GetStringTypeW(CT_CTYPE3, text.c_str(), static_cast<int>(text.size()), types.data())) return text;
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(types[i] & (C3_NONSPACING | C3_DIACRITIC))) out += text[i];
    return out;
}

std::wstring LinguisticLower(const std::wstring& text) {
    const DWORD flags = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING;
    const int size = ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.c_str(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr, 0);
    if (size <= 0) return text;
    std::wstring out(static_cast<size_t>(size), L'\0');
    ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                    nullptr, nullptr, 0);
    return out;
}

// A word begins at the start and after anything that is neither letter nor digit ("my-notes",
// "C:\Tools\notes.txt"); Chinese has no spaces and is found by the substring rank.
bool StartsWord(const std::wstring& text, size_t at) {
    return at == 0 || !std::iswalnum(static_cast<wint_t>(text[at - 1]));
}

bool HasWordStartingWith(const std::wstring& text, const std::wstring& query) {
    for (size_t at = text.find(query); at != std::wstring::npos; at = text.find(query, at + 1))
        if (StartsWord(text, at)) return true;
    return false;
}

bool RankOf(const std::wstring& title, const std::wstring& target, const std::wstring& query, FindRank& rank) {
    const size_t first = title.find(query);
    if (first == 0) rank = kTitleStarts;
    else if (first != std::wstring::npos) rank = HasWordStartingWith(title, query) ? kWordStarts : kTitleContains;
    else if (target.find(query) != std::wstring::npos) rank = kTargetContains;
    else return false;
    return true;
}

} // namespace

std::wstring FoldForFind(const std::wstring& text) {
    if (text.empty()) return text;
    return LinguisticLower(WithoutMarks(Decompose(text)));
}

void ItemFinder::SetItems(std::vector<FindableItem> items) {
    std::stable_sort(items.begin(), items.end(), [](const FindableItem& a, const FindableItem& b) {
        return a.page != b.page ? a.page < b.page : a.cell < b.cell;
    });
    m_items = std::move(items);
    m_folded.clear();
    m_folded.reserve(m_items.size());
    for (const FindableItem& item : m_items) m_folded.push_back(Folded{FoldForFind(item.title), FoldForFind(item.target)});
}

std::vector<FoundItem> ItemFinder::Find(const std::wstring& query) const {
    std::vector<FoundItem> found;
    const std::wstring folded = FoldForFind(query);
    if (folded.empty()) return found;
    for (size_t i = 0; i < m_folded.size(); ++i) {
        FindRank rank = kTitleStarts;
        if (RankOf(m_folded[i].title, m_folded[i].target, folded, rank)) found.push_back(FoundItem{i, rank});
    }
    // The items are in page and cell order already; a stable sort keeps it within a rank.
    std::stable_sort(found.begin(), found.end(), [](const FoundItem& a, const FoundItem& b) { return a.rank < b.rank; });
    return found;
}

} // namespace lhl
