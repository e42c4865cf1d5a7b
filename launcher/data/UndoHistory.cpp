#include "UndoHistory.h"
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

// A copy that a later step names too (the same shortcut dropped and cleared again) stays
// until that step goes as well.
void UndoHistory::Drop(const UndoStep& step) {
    for (const std::wstring& copy : step.copies)
        if (m_remover && !NamedByAStep(copy)) m_remover(copy);
}

bool UndoHistory::NamedByAStep(const std::wstring& copy) const {
    return std::any_of(m_steps.begin(), m_steps.end(), [&copy](const UndoStep& s) {
        return std::find(s.copies.begin(), s.copies.end(), copy) != s.copies.end();
    });
}

} // namespace lhl
