#include "UndoHistory.h"
#include "PageCodec.h"
#include <algorithm>

namespace lhl {

void UndoHistory::Push(UndoStep step) {
    m_steps.push_back(std::move(step));
    while (m_steps.size() > kMaxSteps) {
        const UndoStep oldest = std::move(m_steps.front());
        m_steps.pop_front();
        Drop(oldest);
    }
}

UndoStep UndoHistory::TakeLast() {
    UndoStep step = std::move(m_steps.back());
    m_steps.pop_back();
    return step;
}

void UndoHistory::DropAll() {
    while (!m_steps.empty()) {
        const UndoStep last = TakeLast();
        Drop(last);
    }
}

// Each step numbers the pages as they stand once every later step is undone. From the newest
// step back, the page let go therefore stands one place further on behind every deleted page
// that will come back in front of it.
void UndoHistory::ForgetPage(uint32_t position) {
    const auto renumber = [&position](PlacedItem& placed) {
        if (placed.page == PlacedItem::kNoPage || placed.page < position) return;
        placed.page = placed.page == position ? PlacedItem::kNoPage : placed.page - 1;
    };
    for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step) {
        std::for_each(step->restore.begin(), step->restore.end(), renumber);
        std::for_each(step->takeAway.begin(), step->takeAway.end(), renumber);
        if (!step->page) continue;
        // An earlier deleted page still goes back in front of the page it stood before.
        if (step->page->position > position) --step->page->position;
        else ++position;
    }
}

// A copy that a later step names too (the same shortcut dropped and cleared again) stays
// until that step goes as well.
void UndoHistory::Drop(const UndoStep& step) {
    for (const std::wstring& copy : step.copies)
        if (m_remover && !NamedByAStep(copy)) m_remover(copy);
}

namespace {

bool Opens(const LauncherItem& item, const std::wstring& file) {
    return item.kind == kKindFile && SameFileName(item.target, file);
}

bool StepNames(const UndoStep& step, const std::wstring& copy) {
    const auto same = [&copy](const std::wstring& c) { return SameFileName(c, copy); };
    const auto placedOpens = [&copy](const PlacedItem& p) { return Opens(p.item, copy); };
    const auto itemOpens = [&copy](const LauncherItem& i) { return Opens(i, copy); };
    return std::any_of(step.copies.begin(), step.copies.end(), same) ||
           std::any_of(step.restore.begin(), step.restore.end(), placedOpens) ||
           (step.page && std::any_of(step.page->items.begin(), step.page->items.end(), itemOpens));
}

} // namespace

bool UndoHistory::NamedByAStep(const std::wstring& copy) const {
    return std::any_of(m_steps.begin(), m_steps.end(), [&copy](const UndoStep& s) { return StepNames(s, copy); });
}

} // namespace lhl
