#pragma once
// The panel's drop target: each OLE drop notification becomes one of the panel's messages
// 3000 to 3004, with the drop's details in a COleDropInfo. Any program can send those numbers;
// the panel believes a COleDropInfo only while this target is forwarding that very record.
#include "OleDropTarget.h"
#include <string>

namespace lhl {

constexpr UINT UM_DROP_ENTER = 3000;
constexpr UINT UM_DROP_OVER = 3001;
constexpr UINT UM_DROP = 3002;
constexpr UINT UM_DROP_EX = 3003;
constexpr UINT UM_DROP_LEAVE = 3004;

struct COleDropInfo {
    IDataObject* m_pDataObject = nullptr; // not owned
    DWORD m_dwKeyState = 0;
    DWORD m_dropEffect = 0;
    DWORD m_dropEffectList = 0;
    POINT m_point{};
};

class COleDropTargetEx : public fw::COleDropTarget {
public:
    DWORD OnDragEnter(IDataObject* data, DWORD keyState, POINT point) override;
    DWORD OnDragOver(IDataObject* data, DWORD keyState, POINT point) override;
    BOOL OnDrop(IDataObject* data, DWORD effect, POINT point) override;
    DWORD OnDropEx(IDataObject* data, DWORD defaultEffect, DWORD effects, POINT point) override;
    void OnDragLeave() override;

    // True when `info` is the record this target is forwarding right now.
    bool IsForwarding(const COleDropInfo* info) const { return info && info == m_pForwarding; }

private:
    LRESULT Forward(UINT message, const COleDropInfo& info);

    const COleDropInfo* m_pForwarding = nullptr;
};

// True when the data offers text (Unicode or ANSI); `text` gets it when asked for.
bool DataOffersText(IDataObject* data, std::wstring* text = nullptr);

} // namespace lhl
