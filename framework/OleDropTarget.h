#pragma once
// An OLE drop target for one window: IDropTarget's calls become the virtual On... functions,
// which answer with the drop effect as OLE expects.
#include <ole2.h>

namespace fw {

class COleDropTarget : public IDropTarget {
public:
    COleDropTarget() = default;
    virtual ~COleDropTarget();
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // RegisterDragDrop on the window; false when OLE refuses (files still come by WM_DROPFILES).
    bool Register(HWND window);
    void Revoke();
    HWND Window() const { return m_hWnd; }

    // In the window's client coordinates.
    virtual DWORD OnDragEnter(IDataObject* data, DWORD keyState, POINT point) = 0;
    virtual DWORD OnDragOver(IDataObject* data, DWORD keyState, POINT point) = 0;
    virtual BOOL OnDrop(IDataObject* data, DWORD effect, POINT point) = 0;
    virtual DWORD OnDropEx(IDataObject* data, DWORD defaultEffect, DWORD effects, POINT point) = 0;
    virtual void OnDragLeave() = 0;

    // IUnknown: the target lives as long as its owner, not by its reference count.
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    // IDropTarget
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

private:
    POINT ToClient(POINTL point) const;

    HWND m_hWnd = nullptr;
    IDataObject* m_pData = nullptr; // the object being dragged, between enter and leave or drop
};

} // namespace fw
