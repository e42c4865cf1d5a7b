// The item side of CButtonEx: putting an item on the button, opening it, clearing it.
#include "ButtonEx.h"
#include "LanguageTable.h"
#include "LanguageKeys.h"
#include "ComInit.h"
#include "ItemDialogs.h"
#include "ItemText.h"
#include "OpenAddress.h"
#include "ShellCache.h"
#include "ShellFolder.h"
#include "LauncherConfig.h"
#include "Module.h"
#include "PanelMessages.h"
#include "PageRecords.h"
#include "resource.h"
#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace lhl {
namespace {


DWORD ShellAttributesOf(const std::wstring& path) {
    return ::PathIsDirectoryW(path.c_str()) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

std::wstring ShellDisplayName(const std::wstring& path) {
    std::wstring name = ShellDisplayNameOf(path);
    // The shell names only files that exist; a missing one still shows its own name.
    return name.empty() ? FileNameOf(path) : name;
}

bool ShellOpenAs(const std::wstring& file, const wchar_t* verb) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = verb;
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (::ShellExecuteExW(&info)) return true;
    const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result >= 33;
}

// The shell refuses a path of MAX_PATH characters or more, and may not fail cleanly on one; its
// short form names the same file, so it goes first. Without a short form (8.3 names switched off
// on the volume) the own path is still tried.
bool ShellOpen(const std::wstring& path, const wchar_t* verb) {
    const std::wstring shorter = fw::ShellPath(path);
    if (shorter != path && ShellOpenAs(shorter, verb)) return true;
    return ShellOpenAs(path, verb);
}

} // namespace

const std::wstring& CButtonEx::ShownTarget() const {
    if (m_bShortcutPending) {
        m_bShortcutPending = false;
        const std::wstring resolved = ResolveShortcut(m_strTarget);
        if (!resolved.empty()) m_strShownTarget = resolved;
    }
    return m_strShownTarget;
}

void CButtonEx::EmptyItem(bool keepCaption) {
    m_bShortcutPending = false;
    m_strTarget.clear();
    m_strTitle.clear();
    m_strSpare.clear();
    m_strTip.clear();
    m_nKind = kButtonFile;
    AssignIcon(nullptr);
    if (!keepCaption) SetCaption(L"");
}

bool CButtonEx::AgreeToReplace() {
    m_bReplaceAgreed = IsEmptyItem() || ::MessageBoxW(m_hWnd, TextOf(Language(), texts::kFileExists).c_str(),
                                                      TextOf(Language(), texts::kWarning).c_str(), MB_YESNO) == IDYES;
    return m_bReplaceAgreed;
}

bool CButtonEx::AskReplace() {
    if (m_bReplaceAgreed) {
        m_bReplaceAgreed = false;
        ClearForReplace();
        return true;
    }
    const int answer = ::MessageBoxW(m_hWnd, TextOf(Language(), texts::kFileExists).c_str(), TextOf(Language(), texts::kWarning).c_str(), MB_YESNO);
    if (answer != IDYES) return false;
    ClearForReplace();
    return true;
}

int CButtonEx::SetFileItem(const std::wstring& path) {
    m_nKind = kButtonFile;
    m_nPageNumber = 0;
    if (path.empty()) {
        if (!IsEmptyItem()) {
            AssignIcon(nullptr);
            SetCaption(L"");
            m_strTarget.clear();
            m_strTip.clear();
            if (m_hWnd) ::EnableWindow(m_hWnd, FALSE);
        }
        return kAssigned;
    }
    if (!IsEmptyItem()) {
        if (path == m_strTarget) return kUnchanged;
        if (!AskReplace()) return kDeclined;
    }
    m_strTarget = path;
    fw::ComScope com(COINIT_APARTMENTTHREADED);
    ShowFileIcon(path, ShellAttributesOf(path));
    m_strFullTitle = ShellDisplayName(path);
    m_strTitle = ShortenFileTitle(m_strFullTitle);
    m_strShownTarget = path;
    // Resolving a shortcut loads it and may search for its target: it waits until the target is
    // wanted (the strip text on hover, opening the folder), which a page switch never needs.
    m_bShortcutPending = ExtensionOf(path) == L".lnk";
    AssignTooltip(m_strFullTitle, true);
    SetCaption(m_strTitle);
    if (m_hWnd) ::EnableWindow(m_hWnd, TRUE);
    return kAssigned;
}

int CButtonEx::SetTextItem(const std::wstring& title, const std::wstring& text) {
    m_nPageNumber = 0;
    if (!text.empty() && title == m_strTitle && text == m_strTarget) {
        m_nKind = kButtonText;
        return kUnchanged;
    }
    if (!IsEmptyItem() && !AskReplace()) return kDeclined;
    m_bShortcutPending = false;
    m_strTarget = m_strShownTarget = text;
    m_strTip = text.substr(0, 128);
    m_strTitle = title;
    m_nKind = kButtonText;
    ShowProgramIcon(IDI_CLIPBOARD_TEXT);
    AssignTooltip(m_strTip, true);
    SetCaption(ShortenItemTitle(title));
    if (m_hWnd) ::EnableWindow(m_hWnd, TRUE);
    return kAssigned;
}

int CButtonEx::SetLinkItem(const std::wstring& title, const std::wstring& address) {
    m_nPageNumber = 0;
    if (!address.empty() && title == m_strTitle && address == m_strTarget) {
        m_nKind = kButtonLink;
        return kUnchanged;
    }
    if (!IsEmptyItem() && !AskReplace()) return kDeclined;
    m_bShortcutPending = false;
    m_strTarget = m_strTip = m_strShownTarget = address;
    m_strTitle = title;
    m_nKind = kButtonLink;
    ShowProgramIcon(address.find(L'@') != std::wstring::npos ? IDI_MAIL_ADDRESS : IDI_WEB_ADDRESS);
    AssignTooltip(m_strTip, true);
    SetCaption(ShortenItemTitle(title));
    // The address a click opens is kept to 259 characters and its terminating zero.
    lstrcpynW(m_szAddress, address.c_str(), static_cast<int>(std::size(m_szAddress)));
    if (m_hWnd) ::EnableWindow(m_hWnd, TRUE);
    return kAssigned;
}

int CButtonEx::SetItemOfKind(uint32_t kind, const std::wstring& title, const std::wstring& target) {
    switch (kind) {
    case kKindFile: return SetFileItem(target);
    case kKindClipboardText: return SetTextItem(title, target);
    case kKindLink: return SetLinkItem(title, target);
    default: return kUnchanged;
    }
}

// A cleared or replaced item's shortcut copy in the launcher's own folder stays: the panel's
// undo may bring the item back, and removes the copy once that can no longer happen.
void CButtonEx::ClearForReplace() { EmptyItem(); }

void CButtonEx::DeleteItem() {
    ::SendMessageW(Panel(), UM_ITEM_CLEARING, reinterpret_cast<WPARAM>(this), 0);
    ClearForReplace();
    if (m_hWnd) ::EnableWindow(m_hWnd, FALSE);
    ::SendMessageW(Panel(), UM_SAVE_PAGE, 0, 0);
}

void CButtonEx::ResetButton(bool hide) {
    // Setting a window's text is a round trip of its own: the next item's caption replaces it.
    EmptyItem(!hide);
    m_strShownTarget.clear();
    m_strFullTitle.clear();
    m_szAddress[0] = L'\0';
    AssignTooltip(L"", false);
    ResetColourSlots();
    if (m_hWnd && hide && HasVisibleStyle()) ShowWindow(SW_HIDE);
}

void CButtonEx::LaunchItem() {
    if (m_nPageNumber != 0) return;
    switch (m_nKind) {
    case kButtonText:
        if (m_strTarget.empty()) DeleteItem();
        else CopyTextToClipboard();
        break;
    case kButtonLink:
        if (m_szAddress[0]) OpenAddress();
        break;
    default:
        if (m_strTarget.empty()) {
            ::MessageBoxW(m_hWnd, TextOf(Language(), texts::kFileMissing).c_str(), kProductTitle, MB_OK);
        } else {
            fw::ComScope com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
            OpenWithShell(m_strTarget, nullptr);
        }
        break;
    }
    AfterLaunch();
}

void CButtonEx::OpenWithShell(const std::wstring& file, const wchar_t* verb) {
    if (ShellOpen(file, verb)) return;
    if (::MessageBoxW(Panel(), TextOf(Language(), texts::kOpenFailed).c_str(), TextOf(Language(), texts::kWarning).c_str(), MB_YESNO) == IDYES) DeleteItem();
}

void CButtonEx::CopyTextToClipboard() {
    if (!::OpenClipboard(m_hWnd)) return;
    ::EmptyClipboard();
    const size_t bytes = (m_strTarget.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* data = ::GlobalLock(block)) {
            memcpy(data, m_strTarget.c_str(), bytes);
            ::GlobalUnlock(block);
            // On success the block belongs to the clipboard.
            if (!::SetClipboardData(CF_UNICODETEXT, block)) ::GlobalFree(block);
        } else {
            ::GlobalFree(block);
        }
    }
    ::CloseClipboard();
}

void CButtonEx::OpenAddress() {
    lhl::OpenAddress(nullptr, NormaliseLinkAddress(m_szAddress), SW_SHOW);
}

void CButtonEx::AfterLaunch() {
    if (m_pConfig && m_pConfig->Settings().soundEnabled && !m_pConfig->ClickSound().empty())
        ::PlaySoundW(m_pConfig->ClickSound().c_str(), nullptr, SND_FILENAME);
    ::SendMessageW(Panel(), WM_SYSCOMMAND, SC_MINIMIZE, kHideAfterLaunch);
}

void CButtonEx::OpenContainingFolder() {
    if (m_nKind == kButtonFile && !m_strTarget.empty()) {
        fw::ComScope com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        OpenWithShell(ContainingFolderOf(ShownTarget()), L"open");
    } else {
        ::MessageBoxW(m_hWnd, TextOf(Language(), texts::kFileMissing).c_str(), kProductTitle, MB_OK);
    }
    AfterLaunch();
}

void CButtonEx::ShowItemProperties() {
    fw::CWnd* panel = fw::CWnd::FromHandle(Panel());
    if (m_nKind == kButtonText) {
        CTextClipboardDlg dialog(m_pConfig, panel);
        dialog.SetTitle(m_strTitle);
        dialog.SetText(m_strTarget);
        if (dialog.DoModal() != IDOK) return;
        SetTextItem(dialog.GetTitle(), dialog.GetText()); // a change asks before replacing
        ::SendMessageW(Panel(), UM_SAVE_PAGE, 0, 0);
        return;
    }
    if (m_nKind == kButtonLink) {
        CUrlDlg dialog(m_pConfig, panel);
        dialog.SetTitle(m_strTitle);
        dialog.SetAddress(m_strTarget);
        if (dialog.DoModal() != IDOK) return;
        SetLinkItem(dialog.GetTitle(), dialog.GetAddress());
        ::SendMessageW(Panel(), UM_SAVE_PAGE, 0, 0);
        return;
    }
    // A file shows the shell's own property sheet.
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.lpVerb = L"properties";
    info.lpFile = m_strTarget.c_str();
    info.nShow = 0;
    if (!::ShellExecuteExW(&info) && ::MessageBoxW(Panel(), TextOf(Language(), texts::kOpenFailed).c_str(), TextOf(Language(), texts::kWarning).c_str(), MB_YESNO) == IDYES) DeleteItem();
}

LONG CButtonEx::QueryClassesRootDefault(const std::wstring& subKey, std::wstring& value) {
    HKEY key = nullptr;
    const LONG opened = ::RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (opened != ERROR_SUCCESS) return opened;
    wchar_t buffer[260] = {};
    LONG bytes = sizeof(buffer) - sizeof(wchar_t); // always room for the terminating zero
    if (::RegQueryValueW(key, nullptr, buffer, &bytes) == ERROR_SUCCESS) value = buffer;
    ::RegCloseKey(key);
    return opened;
}

std::wstring CButtonEx::ResolveShortcut(const std::wstring& path) {
    fw::ComScope com(COINIT_APARTMENTTHREADED);
    fw::ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())))
        return {};
    fw::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid()))) return {};
    if (FAILED(file->Load(path.c_str(), STGM_READ))) return {};
    if (FAILED(link->Resolve(nullptr, SLR_NO_UI | SLR_ANY_MATCH))) return {};
    wchar_t target[MAX_PATH] = {};
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_UNCPRIORITY))) return {};
    std::wstring result = target;
    wchar_t arguments[MAX_PATH] = {};
    if (SUCCEEDED(link->GetArguments(arguments, MAX_PATH))) result += arguments;
    return result;
}

} // namespace lhl
