#include "ColorDialog.h"
#include <commdlg.h>

namespace fw {

INT_PTR CColorDialog::DoModal(HWND owner) {
    static COLORREF custom[16] = {};
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = owner;
    choose.rgbResult = m_color;
    choose.lpCustColors = custom;
    choose.Flags = m_flags;
    if (!::ChooseColorW(&choose)) return IDCANCEL;
    m_color = choose.rgbResult;
    return IDOK;
}

} // namespace fw
