#include "HyperLink.h"
#include "LanguageTable.h"
#include "LanguageKeys.h"
#include "OpenAddress.h"
#include <shellapi.h>
#include <cwchar>
#include <vector>

namespace lhl {
namespace {

constexpr UINT_PTR kHoverTimer = 100;
constexpr int kWinHelpLinkCursor = 106;

const wchar_t* ReasonFor(INT_PTR code) {
    switch (code) {
    case 0: return L"The operating system is out\nof memory or resources.";
    case SE_ERR_FNF: return L"The specified file was not found.";
    case SE_ERR_PNF: return L"The specified path was not found.";
    case SE_ERR_ACCESSDENIED: return L"The operating system denied\naccess to the specified file.";
    case SE_ERR_OOM: return L"There was not enough memory to complete the operation.";
    case ERROR_BAD_FORMAT: return L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case SE_ERR_SHARE: return L"A sharing violation occurred. ";
    case SE_ERR_ASSOCINCOMPLETE: return L"The filename association is\nincomplete or invalid.";
    case SE_ERR_DDETIMEOUT: return L"The DDE transaction could not\nbe completed because the request timed out.";
    case SE_ERR_DDEFAIL: return L"The DDE transaction failed.";
    case SE_ERR_DDEBUSY:
        return L"The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
    case SE_ERR_NOASSOC: return L"There is no application associated\nwith the given filename extension.";
    case SE_ERR_DLLNOTFOUND: return L"The specified dynamic-link library was not found.";
    default: return nullptr;
    }
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(window, buffer.data(), length + 1);
    return buffer.data();
}

} // namespace

std::wstring HyperLinkErrorText(INT_PTR code, const std::wstring& heading) {
    std::wstring text = heading + L"\n\n";
    if (const wchar_t* reason = ReasonFor(code)) return text + reason;
    wchar_t unknown[64];
    std::swprintf(unknown, 64, L"Unknown Error (%d) occurred.", static_cast<int>(code));
    return text + unknown;
}

CHyperLink::~CHyperLink() {
    if (m_bOwnsCursor && m_hLinkCursor) ::DestroyCursor(m_hLinkCursor);
}

bool CHyperLink::Attach(UINT id, fw::CWnd* parent) {
    if (!SubclassDlgItem(id, parent)) return false;
    SetUp();
    return true;
}

void CHyperLink::SetUp() {
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) | SS_NOTIFY);
    if (m_strURL.empty()) m_strURL = WindowText(m_hWnd);
    if (WindowText(m_hWnd).empty()) ::SetWindowTextW(m_hWnd, m_strURL.c_str());
    MakeFonts();
    PositionWindow();
    LoadLinkCursor();
    m_nUnderline = -1;
    SelectFont(false);
    m_hollow = static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
    m_toolTip.Create(m_hWnd);
    m_toolTip.SetToolText(m_hWnd, m_strURL);
}

void CHyperLink::MakeFonts() {
    auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (!font) font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    LOGFONTW face{};
    ::GetObjectW(font, sizeof(face), &face);
    face.lfUnderline = FALSE;
    m_normalFont.reset(::CreateFontIndirectW(&face));
    face.lfUnderline = TRUE;
    m_underlineFont.reset(::CreateFontIndirectW(&face));
}

// The help viewer's pointing hand when it is there; else the system's own hand, which every
// current Windows has and which users know from links.
void CHyperLink::LoadLinkCursor() {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring helper = std::wstring(windows) + L"\\winhlp32.exe";
    if (HMODULE module = ::LoadLibraryExW(helper.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        if (HCURSOR cursor = ::LoadCursorW(module, MAKEINTRESOURCEW(kWinHelpLinkCursor))) {
            m_hLinkCursor = static_cast<HCURSOR>(::CopyImage(cursor, IMAGE_CURSOR, 0, 0, 0));
            m_bOwnsCursor = m_hLinkCursor != nullptr;
        }
        ::FreeLibrary(module);
    }
    if (!m_hLinkCursor) m_hLinkCursor = ::LoadCursorW(nullptr, IDC_HAND);
}

void CHyperLink::PositionWindow() {
    if (!m_hWnd || !m_bAdjustToFit) return;
    HWND parent = ::GetParent(m_hWnd);
    RECT window = GetWindowRect();
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&window), 2);
    const RECT client = GetClientRect();
    const std::wstring text = WindowText(m_hWnd);
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    SIZE extent{};
    // The widest line decides the width; each line adds one line's height.
    int lines = 1;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(L'\n', start);
        const std::wstring line = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        if (size.cx > extent.cx) extent.cx = size.cx;
        if (size.cy > extent.cy) extent.cy = size.cy;
        if (end == std::wstring::npos) break;
        ++lines;
        start = end + 1;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    extent.cx += (window.right - window.left) - (client.right - client.left);
    extent.cy = (extent.cy + (window.bottom - window.top) - (client.bottom - client.top)) * lines;

    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    RECT fitted = window;
    if (style & SS_CENTERIMAGE) fitted.top = window.top + ((window.bottom - window.top) - extent.cy) / 2;
    fitted.bottom = fitted.top + extent.cy;
    if ((style & SS_TYPEMASK) == SS_CENTER) fitted.left = window.left + ((window.right - window.left) - extent.cx) / 2;
    else if ((style & SS_TYPEMASK) == SS_RIGHT) fitted.left = window.right - extent.cx;
    fitted.right = fitted.left + extent.cx;
    ::SetWindowPos(m_hWnd, nullptr, fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHyperLink::SetURL(const std::wstring& url) {
    m_strURL = url;
    if (!m_hWnd) return;
    PositionWindow();
    m_toolTip.SetToolText(m_hWnd, m_strURL);
}

void CHyperLink::SelectFont(bool underlined) {
    HFONT font = underlined ? m_underlineFont.get() : m_normalFont.get();
    if (font) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void CHyperLink::SetUnderline(int mode) {
    if (mode != m_nUnderline && m_hWnd) {
        SelectFont(mode == 1);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    m_nUnderline = mode;
}

void CHyperLink::SetVisited(bool visited) {
    m_bVisited = visited;
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

COLORREF CHyperLink::TextColour() const {
    if (m_bOverControl) return kHoverColour;
    return m_bVisited ? kVisitedColour : kLinkColour;
}

void CHyperLink::OnMouseMove() {
    if (m_bOverControl) return;
    m_bOverControl = true;
    if (m_nUnderline == -1) SelectFont(true);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::SetTimer(m_hWnd, kHoverTimer, 100, nullptr);
}

void CHyperLink::OnHoverTimer() {
    const DWORD pos = ::GetMessagePos();
    POINT point{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ::ScreenToClient(m_hWnd, &point);
    RECT client = GetClientRect();
    if (::PtInRect(&client, point)) return;
    m_bOverControl = false;
    ::KillTimer(m_hWnd, kHoverTimer);
    if (m_nUnderline != 1) SelectFont(false);
    // The underline sits at the text's foot; the parent repaints a little below it too.
    client.bottom += 10;
    ::InvalidateRect(m_hWnd, &client, TRUE);
}

void CHyperLink::OnClicked() {
    m_bOverControl = false;
    const INT_PTR result = OpenAddress(m_hWnd, m_strURL, SW_SHOW);
    if (result > 32) {
        SetVisited(true);
        return;
    }
    ::MessageBeep(MB_ICONEXCLAMATION);
    ::MessageBoxW(::GetParent(m_hWnd), HyperLinkErrorText(result, TextOf(m_pLanguage, texts::kLinkFailed)).c_str(), L"Lanternhop Launcher", MB_OK | MB_ICONEXCLAMATION);
}

bool CHyperLink::OnChildNotify(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    if (msg == WM_CTLCOLORSTATIC) {
        auto dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, TextColour());
        ::SetBkMode(dc, TRANSPARENT);
        *result = reinterpret_cast<LRESULT>(m_hollow);
        return true;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        OnClicked();
        return true;
    }
    return false;
}

LRESULT CHyperLink::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_TIMER:
        if (wParam == kHoverTimer) {
            OnHoverTimer();
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (m_hLinkCursor) {
            ::SetCursor(m_hLinkCursor);
            return TRUE;
        }
        break;
    case WM_ERASEBKGND: {
        const RECT client = GetClientRect();
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    case WM_DESTROY:
        ::KillTimer(m_hWnd, kHoverTimer);
        break;
    default:
        break;
    }
    return fw::CWnd::WindowProc(msg, wParam, lParam);
}

} // namespace lhl
