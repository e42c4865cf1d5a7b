#include "DropTarget.h"
#include <string>

namespace lhl {

LRESULT COleDropTargetEx::Forward(UINT message, const COleDropInfo& info) {
    // The text drop runs a dialog inside the message, so a drop can arrive within a drop.
    const COleDropInfo* outer = m_pForwarding;
    m_pForwarding = &info;
    const LRESULT result = ::SendMessageW(Window(), message, reinterpret_cast<WPARAM>(&info), 0);
    m_pForwarding = outer;
    return result;
}

DWORD COleDropTargetEx::OnDragEnter(IDataObject* data, DWORD keyState, POINT point) {
    return static_cast<DWORD>(Forward(UM_DROP_ENTER, COleDropInfo{data, keyState, 0, 0, point}));
}

DWORD COleDropTargetEx::OnDragOver(IDataObject* data, DWORD keyState, POINT point) {
    return static_cast<DWORD>(Forward(UM_DROP_OVER, COleDropInfo{data, keyState, 0, 0, point}));
}

BOOL COleDropTargetEx::OnDrop(IDataObject* data, DWORD effect, POINT point) {
    return static_cast<BOOL>(Forward(UM_DROP, COleDropInfo{data, 0, effect, 0, point}));
}

DWORD COleDropTargetEx::OnDropEx(IDataObject* data, DWORD defaultEffect, DWORD effects, POINT point) {
    return static_cast<DWORD>(Forward(UM_DROP_EX, COleDropInfo{data, 0, defaultEffect, effects, point}));
}

void COleDropTargetEx::OnDragLeave() { ::SendMessageW(Window(), UM_DROP_LEAVE, 0, 0); }

namespace {

bool ReadFormat(IDataObject* data, CLIPFORMAT format, std::wstring* text) {
    FORMATETC request = {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (!text) return data->QueryGetData(&request) == S_OK;
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&request, &medium))) return false;
    if (const void* locked = ::GlobalLock(medium.hGlobal)) {
        if (format == CF_UNICODETEXT) {
            *text = static_cast<const wchar_t*>(locked);
        } else {
            const char* narrow = static_cast<const char*>(locked);
            const int length = ::MultiByteToWideChar(CP_ACP, 0, narrow, -1, nullptr, 0);
            text->assign(length > 1 ? static_cast<size_t>(length - 1) : 0, L'\0');
            if (length > 1) ::MultiByteToWideChar(CP_ACP, 0, narrow, -1, text->data(), length);
        }
        ::GlobalUnlock(medium.hGlobal);
    }
    ::ReleaseStgMedium(&medium);
    return true;
}

} // namespace

// Unicode first, so that no character is lost to the ANSI code page; ANSI text as the fallback.
bool DataOffersText(IDataObject* data, std::wstring* text) {
    if (!data) return false;
    return ReadFormat(data, CF_UNICODETEXT, text) || ReadFormat(data, CF_TEXT, text);
}

} // namespace lhl
