#pragma once
// What the last destructive changes to pages and items took away, so that they can be put back.
// Kept for the session only: nothing of it is ever written, and a restart starts without it.
// Shortcut copies in the launcher's own folder that a change let go of are removed only when
// their step leaves the history (past its limit, or at the end), so an undone item opens again.
#include "PageRecords.h"
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lhl {

enum class UndoKind : uint32_t { DeletePage, ClearAll, ClearIcon, Replace, MoveTo };

// An item as it stood: its 0-based page and its record, cell included.
struct PlacedItem {
    // The page an item stood on was deleted, and that deletion will not be undone.
    static constexpr uint32_t kNoPage = 0xFFFFFFFF;

    uint32_t page = 0;
    LauncherItem item;
    bool added = false; // its record was added to the page's list rather than put in a spare one
};

// A deleted page, with where it stood among the pages and in its group's file.
struct DeletedPage {
    uint32_t position = 0;
    LauncherPage record;
    PageItems items;
    std::wstring groupFile;
    uint32_t groupReserved = 0;
    uint32_t indexInGroup = 0;
    bool groupRemoved = false; // it was its group's only page, and the group's file went with it
};

// A user's dropped shortcut that moved into the launcher's folder, and where it was.
struct MovedShortcut {
    std::wstring copy;
    std::wstring origin;
};

struct UndoStep {
    UndoKind kind = UndoKind::ClearIcon;
    std::optional<DeletedPage> page;
    std::vector<PlacedItem> restore;  // what goes back
    std::vector<PlacedItem> takeAway; // what the change placed instead, taken off first
    std::vector<std::wstring> copies; // shortcut copies of the items the change took away
    std::vector<MovedShortcut> movedIn; // the shortcuts of what it placed, to go back on undo
};

class UndoHistory {
public:
    static constexpr size_t kMaxSteps = 20;
    // Removes a shortcut copy nothing needs any more; the owner knows what its items still use.
    using CopyRemover = std::function<void(const std::wstring&)>;

    explicit UndoHistory(CopyRemover remover) : m_remover(std::move(remover)) {}
    ~UndoHistory() { DropAll(); }
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // The oldest step goes when the history is full.
    void Push(UndoStep step);
    bool IsEmpty() const { return m_steps.empty(); }
    size_t Size() const { return m_steps.size(); }
    const UndoStep* Last() const { return m_steps.empty() ? nullptr : &m_steps.back(); }
    UndoStep* Last() { return m_steps.empty() ? nullptr : &m_steps.back(); }
    // The last step, taken out to be undone: its copies are needed again and stay.
    UndoStep TakeLast();
    void DropAll();
    // A step taken out and let go of instead of undone: its copies go as when it drops.
    void Discard(const UndoStep& step) { Drop(step); }
    // A deleted page's step was let go: the page never comes back at `position`, so in every
    // step kept the pages after it take their present numbers, and its own items have no page.
    void ForgetPage(uint32_t position);
    // True when a step kept names the file: among its copies, or as what one of its items opens.
    bool NamedByAStep(const std::wstring& copy) const;

private:
    void Drop(const UndoStep& step);

    std::deque<UndoStep> m_steps;
    CopyRemover m_remover;
};

} // namespace lhl
