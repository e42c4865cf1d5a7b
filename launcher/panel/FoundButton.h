#pragma once
// An item button of the find view: it shows a match and opens it as a click on its page would,
// but it is not the item. What would change the item is asked of its owner, which does it to the
// real item on the item's own page; what would move the item is greyed.
#include "ButtonEx.h"

namespace lhl {

class CFoundButton;

class FoundButtonOwner {
public:
    // The user agreed to clear the item that cannot be opened.
    virtual void ClearRealItem(const CFoundButton* button) = 0;
    // Properties of a text or an address edit the item.
    virtual void EditRealItem(const CFoundButton* button) = 0;
    // False for a mouse move the system sends to a button shown under a cursor at rest.
    virtual bool CursorMoved() = 0;
    virtual void HoverStarted(const CFoundButton* button) = 0;
    // The mouse left a button, or a menu or another window took it: the lit match and the query
    // are shown again.
    virtual void HoverEnded() = 0;

protected:
    ~FoundButtonOwner() = default;
};

class CFoundButton : public CButtonEx {
public:
    explicit CFoundButton(FoundButtonOwner* owner) : m_pOwner(owner) {}
    // Drawn as under the mouse: the match Enter opens.
    void SetLit(bool lit);
    void DeleteItem() override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void ShowFoundMenu();

    FoundButtonOwner* m_pOwner;
};

} // namespace lhl
