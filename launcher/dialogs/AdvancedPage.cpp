// The Advanced page: how the panel shows and hides, and how it looks. Its sliders, boxes and
// language list write into the live settings at once; the hot key and the animate flag wait for
// OK. Moving the transparency slider previews it on the panel.
#include "Dpi.h"
#include "LanguageKeys.h"
#include "LanguageTable.h"
#include "LauncherConfig.h"
#include "OptionsSheet.h"
#include "Placement.h"
#include <algorithm>
#include <cwchar>

namespace lhl {
namespace {

constexpr int kMinUnits = 3;
constexpr int kMaxUnits = 16;
constexpr UINT kLanguageIds[] = {IDC_OPT_SHOW_HIDE_GROUP, IDC_OPT_USE_HOTKEY,      IDC_OPT_CTRL_TWICE,
                                 IDC_OPT_ANIMATE,         IDC_OPT_APPEARANCE_GROUP, IDC_OPT_UNITS_CAPTION,
                                 IDC_OPT_DIMENSION_CAPTION, IDC_OPT_LANGUAGE_CAPTION};
constexpr uint32_t kKeyAskSmallerGrid = 1045;
constexpr uint32_t kKeyWarning = 16;

} // namespace

CAdvancedPageOpt::~CAdvancedPageOpt() {
    if (m_hUser32) ::FreeLibrary(m_hUser32);
}

bool CAdvancedPageOpt::Checked(int id) const {
    return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
}

void CAdvancedPageOpt::SetLabel(int id, const wchar_t* format, int a, int b) {
    wchar_t text[32];
    std::swprintf(text, 32, format, a, b);
    ::SetDlgItemTextW(m_hWnd, id, text);
}

BOOL CAdvancedPageOpt::OnInitDialog() {
    m_hotKey.SubclassDlgItem(IDC_OPT_HOTKEY, this);
    m_alpha.SubclassDlgItem(IDC_OPT_ALPHA, this);
    m_units.SubclassDlgItem(IDC_OPT_UNITS, this);
    m_dimension.SubclassDlgItem(IDC_OPT_DIMENSION, this);
    m_language.SubclassDlgItem(IDC_OPT_LANGUAGE, this);
    LauncherConfig& c = *m_pConfig;
    const ConfigSettings& s = c.Settings();

    const int units = c.GetUnitsPerRow();
    m_units.SetRange(kMinUnits, kMaxUnits);
    m_units.SetPos(units);
    SetLabel(IDC_OPT_UNITS_LABEL, L"%d * %d", units, units);
    m_nUnitsAtStart = units;
    ShowItemsBeyond(units);

    // The monitor that shows the panel bounds it, in the 96-DPI units the dimension is kept in;
    // the range also holds the stored value, which a larger monitor may have given, so the
    // slider never clamps it on its own.
    const DimensionRange range = DimensionRangeOn(MonitorOfWindow(c.PanelWindow()));
    m_dimension.SetRange(std::min(range.low, s.dimension), std::max(range.high, s.dimension));
    m_dimension.SetPos(s.dimension);
    m_nDimensionAtStart = s.dimension;
    SetLabel(IDC_OPT_DIMENSION_LABEL, L"%d", s.dimension);

    m_hotKey.SetHotKey(s.hotKeyVirtualKey, s.hotKeyModifiers);
    ::CheckDlgButton(m_hWnd, IDC_OPT_USE_HOTKEY, s.useHotKey ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_OPT_CTRL_TWICE, s.ctrlTwice ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(m_hotKey.m_hWnd, s.useHotKey != 0);

    const int alpha = c.GetTransparency();
    m_nAlphaBefore = alpha;
    m_alpha.SetRange(kLowestTransparency, 255);
    m_alpha.SetPos(alpha);
    SetLabel(IDC_OPT_ALPHA_LABEL, L"%d%%", TransparencyPercent(alpha));

    // Each language by its own name; the first follows the system.
    const std::wstring system = lhl::TextOf(c.GetLanguageTable(), texts::kLanguageDefault);
    for (const wchar_t* name : {system.c_str(), L"\u7B80\u4F53\u4E2D\u6587", L"English"}) m_language.AddString(name);
    m_language.SetCurSel(s.languageIndex);

    ::CheckDlgButton(m_hWnd, IDC_OPT_ANIMATE, m_pSnapshot->animate ? BST_CHECKED : BST_UNCHECKED);
    EnableTransparency(!m_pSnapshot->animate);

    if (LanguageTable* table = c.GetLanguageTable(); table && table->IsActive()) {
        for (UINT id : kLanguageIds) {
            std::wstring text;
            table->Lookup(text, kSectionOptionsAdvanced, id);
            if (!text.empty()) ::SetDlgItemTextW(m_hWnd, static_cast<int>(id), text.c_str());
        }
    }
    m_bReady = true;
    return TRUE;
}

void CAdvancedPageOpt::EnableTransparency(bool enable) {
    ::EnableWindow(m_alpha.m_hWnd, enable);
    ::EnableWindow(GetDlgItem(IDC_OPT_ALPHA_LABEL), enable);
}

// Only the slider that moved writes its value: the others keep the settings exactly as stored.
void CAdvancedPageOpt::OnSliderMoved(HWND slider) {
    ConfigSettings& s = m_pConfig->Settings();
    if (slider == m_units.m_hWnd) {
        const int units = m_units.GetPos();
        s.unitsPerRow = units;
        SetLabel(IDC_OPT_UNITS_LABEL, L"%d * %d", units, units);
        ShowItemsBeyond(units);
    } else if (slider == m_alpha.m_hWnd) {
        const int alpha = m_alpha.GetPos();
        s.transparency = alpha;
        SetLabel(IDC_OPT_ALPHA_LABEL, L"%d%%", TransparencyPercent(alpha));
        if (!s.animate) PreviewTransparency(alpha);
    } else if (slider == m_dimension.m_hWnd) {
        const int dimension = m_dimension.GetPos();
        s.dimension = dimension;
        SetLabel(IDC_OPT_DIMENSION_LABEL, L"%d", dimension);
    }
}

void CAdvancedPageOpt::PreviewTransparency(int alpha) {
    using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    if (!m_hUser32) m_hUser32 = ::LoadLibraryW(L"User32.DLL");
    if (!m_hUser32) return;
    auto setLayered = reinterpret_cast<SetLayeredFn>(
        reinterpret_cast<void*>(::GetProcAddress(m_hUser32, "SetLayeredWindowAttributes")));
    if (setLayered && m_pConfig->PanelWindow())
        setLayered(m_pConfig->PanelWindow(), 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void CAdvancedPageOpt::OnLanguageChosen() {
    const int index = m_language.GetCurSel();
    if (index < 0) return;
    if (LanguageTable* table = m_pConfig->GetLanguageTable()) {
        if (index == 1 || (index == 0 && ::GetSystemDefaultLangID() == 2052)) {
            table->SetLanguage(LanguageTable::kChinese);
            table->LoadSection(kSectionMain);
        } else {
            table->SetLanguage(LanguageTable::kOff);
        }
    }
    m_pConfig->Settings().languageIndex = index;
}

// Items beyond a smaller grid are not lost: they keep their cells in their pages' files. The
// page says so while the slider moves, and asks once more before such a grid is kept.
void CAdvancedPageOpt::ShowItemsBeyond(int units) {
    const size_t count = m_countBeyond ? m_countBeyond(units) : 0;
    std::wstring text;
    if (count > 0) {
        const std::wstring format = TextOf(kSectionOptionsAdvanced, IDC_OPT_UNITS_HIDDEN, L"Items out of view: %d (kept on their pages)");
        text = FormatNumbers(format, {static_cast<int>(count)});
    }
    ::SetDlgItemTextW(m_hWnd, IDC_OPT_UNITS_HIDDEN, text.c_str());
}

void CAdvancedPageOpt::AskBeforeHidingItems() {
    ConfigSettings& s = m_pConfig->Settings();
    const int units = s.unitsPerRow;
    // Only a lowered grid hides items it did not hide before: a larger one shows more of them,
    // even when some still lie beyond it.
    const size_t count = m_countBeyond && units < m_nUnitsAtStart ? m_countBeyond(units) : 0;
    if (count == 0) return;
    const std::wstring format = TextOf(kSectionOptionsAdvanced, kKeyAskSmallerGrid,
        L"Items out of view with a %d x %d grid: %d.\nThey stay in their cells on their pages and appear "
        L"again when the grid is made larger.\n\nUse the smaller grid?");
    const std::wstring text = FormatNumbers(format, {units, units, static_cast<int>(count)});
    const std::wstring caption = TextOf(kSectionMain, kKeyWarning, L"Warning");
    if (::MessageBoxW(m_hWnd, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        s.unitsPerRow = m_nUnitsAtStart;
}

std::wstring CAdvancedPageOpt::TextOf(uint32_t section, uint32_t key, const wchar_t* english) const {
    LanguageTable* table = m_pConfig->GetLanguageTable();
    if (!table || !table->IsActive()) return english;
    return table->TextOr(section, key, english);
}

// The transparency is only tried out until OK: Cancel puts back the alpha the panel had. The
// grid and the dimension too: a smaller one chosen and cancelled must not hide items or shrink
// the panel at the next start unasked.
void CAdvancedPageOpt::OnCancel() {
    ConfigSettings& s = m_pConfig->Settings();
    if (m_nUnitsAtStart) s.unitsPerRow = m_nUnitsAtStart;
    if (m_nDimensionAtStart) s.dimension = m_nDimensionAtStart;
    if (s.transparency == m_nAlphaBefore) return;
    s.transparency = m_nAlphaBefore;
    if (!s.animate) PreviewTransparency(m_nAlphaBefore);
}

void CAdvancedPageOpt::OnOK() {
    AskBeforeHidingItems();
    WORD key = 0, modifiers = 0;
    m_hotKey.GetHotKey(key, modifiers);
    ConfigSettings& s = m_pConfig->Settings();
    s.hotKeyVirtualKey = key;
    s.hotKeyModifiers = modifiers;
    s.hotKeyName = m_hotKey.GetHotKeyName().substr(0, kMaxHotKeyNameChars);
    m_pSnapshot->animate = Checked(IDC_OPT_ANIMATE) ? 1 : 0;
}

bool CAdvancedPageOpt::OnCommand(WORD id, WORD code, HWND control) {
    if (id == IDC_OPT_LANGUAGE && code == CBN_SELCHANGE) {
        OnLanguageChosen();
        return true;
    }
    if (code != BN_CLICKED) return fw::CPropertyPage::OnCommand(id, code, control);
    switch (id) {
    case IDC_OPT_USE_HOTKEY:
        ::EnableWindow(m_hotKey.m_hWnd, Checked(id));
        m_pConfig->Settings().useHotKey = Checked(id) ? 1 : 0;
        return true;
    case IDC_OPT_CTRL_TWICE: m_pConfig->Settings().ctrlTwice = Checked(id) ? 1 : 0; return true;
    case IDC_OPT_ANIMATE: EnableTransparency(!Checked(id)); return true;
    case IDOK:
    case IDCANCEL: return true;
    default: return fw::CPropertyPage::OnCommand(id, code, control);
    }
}

LRESULT CAdvancedPageOpt::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Setting up the sliders can report scrolls of its own (Wine's track bars do); those must
    // not write half-initialised positions into the settings.
    if (msg == WM_HSCROLL && m_bReady && lParam) OnSliderMoved(reinterpret_cast<HWND>(lParam));
    return fw::CPropertyPage::WindowProc(msg, wParam, lParam);
}

} // namespace lhl
