#include "OleDropTarget.h"

namespace fw {

COleDropTarget::~COleDropTarget() { Revoke(); }

bool COleDropTarget::Register(HWND window) {
    Revoke();
    if (FAILED(::RegisterDragDrop(window, this))) return false;
    m_hWnd = window;
    return true;
}

void COleDropTarget::Revoke() {
    if (m_hWnd) ::RevokeDragDrop(m_hWnd);
    m_hWnd = nullptr;
    if (m_pData) m_pData->Release();
    m_pData = nullptr;
}

HRESULT COleDropTarget::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *out = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

POINT COleDropTarget::ToClient(POINTL point) const {
    POINT p{point.x, point.y};
    if (m_hWnd) ::ScreenToClient(m_hWnd, &p);
    return p;
}

HRESULT COleDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    if (m_pData) m_pData->Release();
    m_pData = data;
    if (m_pData) m_pData->AddRef();
    const DWORD answer = OnDragEnter(data, keyState, ToClient(point));
    if (effect) *effect = answer;
    return S_OK;
}

HRESULT COleDropTarget::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
    const DWORD answer = m_pData ? OnDragOver(m_pData, keyState, ToClient(point)) : DROPEFFECT_NONE;
    if (effect) *effect = answer;
    return S_OK;
}

HRESULT COleDropTarget::DragLeave() {
    OnDragLeave();
    if (m_pData) m_pData->Release();
    m_pData = nullptr;
    return S_OK;
}

// As the framework does: the extended drop first; -1 from it means the plain drop decides.
HRESULT COleDropTarget::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
    const POINT p = ToClient(point);
    const DWORD offered = effect ? *effect : DROPEFFECT_COPY;
    DWORD result = OnDropEx(data, DROPEFFECT_COPY, offered, p);
    if (result == static_cast<DWORD>(-1)) result = OnDrop(data, DROPEFFECT_COPY, p) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    if (effect) *effect = result;
    if (m_pData) m_pData->Release();
    m_pData = nullptr;
    return S_OK;
}

} // namespace fw
