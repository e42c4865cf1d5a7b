#include "LHLExtension.h"
#include "Module.h"
#include <shellapi.h>
#include <cwchar>

namespace qx {
namespace {

constexpr const wchar_t* kMenuText = L"AddTo Lanternhop Launcher";
constexpr const wchar_t* kHelpText = L"Add a file to the Lanternhop Launcher panel.";
constexpr const wchar_t* kLauncherKey = L"Software\\QuenvidWorks\\Lanternhop\\";

// Releases a storage medium and unlocks its memory on every path out.
class LockedDrop {
public:
    explicit LockedDrop(STGMEDIUM& medium) : m_medium(medium), m_drop(static_cast<HDROP>(::GlobalLock(medium.hGlobal))) {}
    ~LockedDrop() {
        if (m_drop) ::GlobalUnlock(m_medium.hGlobal);
        ::ReleaseStgMedium(&m_medium);
    }
    LockedDrop(const LockedDrop&) = delete;
    LockedDrop& operator=(const LockedDrop&) = delete;
    HDROP Get() const { return m_drop; }

private:
    STGMEDIUM& m_medium;
    HDROP m_drop;
};

} // namespace

std::wstring LauncherPathIn(const std::wstring& folder) {
    const bool hasBackslash = !folder.empty() && folder.back() == L'\\';
    return folder + (hasBackslash ? L"" : L"\\") + L"Lanternhop Launcher.exe";
}

CLHLExtension::CLHLExtension(IUnknown* outer) : m_outer(outer ? outer : &m_inner) {
    m_inner.self = this;
    ModuleAddRef();
    ReadLauncherFolder();
}

CLHLExtension::~CLHLExtension() {
    if (m_typeInfo) m_typeInfo->Release();
    ModuleRelease();
}

HRESULT CLHLExtension::InnerUnknown::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, IID_IUnknown)) *out = static_cast<IUnknown*>(this);
    else if (IsEqualIID(riid, kIidLHLExtension) || IsEqualIID(riid, IID_IDispatch))
        *out = static_cast<ILHLExtension*>(self);
    else if (IsEqualIID(riid, IID_IShellExtInit)) *out = static_cast<IShellExtInit*>(self);
    else if (IsEqualIID(riid, IID_IContextMenu)) *out = static_cast<IContextMenu*>(self);
    else return E_NOINTERFACE;
    static_cast<IUnknown*>(*out)->AddRef();
    return S_OK;
}

ULONG CLHLExtension::InnerUnknown::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&self->m_refs)); }

ULONG CLHLExtension::InnerUnknown::Release() {
    const LONG refs = ::InterlockedDecrement(&self->m_refs);
    if (refs == 0) delete self;
    return static_cast<ULONG>(refs);
}

// REG_EXPAND_SZ is taken as it is, not expanded: the folder is written by the setup as a plain
// path either way. The value may be of any length and may or may not carry its terminator.
void CLHLExtension::ReadLauncherFolder() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kLauncherKey, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return;
    DWORD type = 0, bytes = 0;
    if (::RegQueryValueExW(key, L"Path", nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::wstring folder(bytes / sizeof(wchar_t) + 1, L'\0');
        if (::RegQueryValueExW(key, L"Path", nullptr, &type, reinterpret_cast<BYTE*>(folder.data()), &bytes) ==
            ERROR_SUCCESS) {
            folder.resize(wcsnlen(folder.c_str(), bytes / sizeof(wchar_t)));
            m_strFolder = folder;
        }
    }
    ::RegCloseKey(key);
}

HRESULT CLHLExtension::LoadTypeInfo() {
    if (m_typeInfo) return S_OK;
    ITypeLib* library = nullptr;
    HRESULT hr = ::LoadTypeLibEx(ModulePathToOpen().c_str(), REGKIND_NONE, &library);
    if (FAILED(hr)) return hr;
    hr = library->GetTypeInfoOfGuid(kIidLHLExtension, &m_typeInfo);
    library->Release();
    return hr;
}

HRESULT CLHLExtension::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT CLHLExtension::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    m_typeInfo->AddRef();
    *info = m_typeInfo;
    return S_OK;
}

HRESULT CLHLExtension::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    const HRESULT hr = LoadTypeInfo();
    return FAILED(hr) ? hr : ::DispGetIDsOfNames(m_typeInfo, names, count, ids);
}

HRESULT CLHLExtension::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* exception, UINT* argError) {
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    return ::DispInvoke(static_cast<ILHLExtension*>(this), m_typeInfo, id, flags, params, result, exception, argError);
}

HRESULT CLHLExtension::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
    if (!data) return E_INVALIDARG;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium))) return E_INVALIDARG;
    LockedDrop drop(medium);
    if (!drop.Get()) return E_INVALIDARG;
    if (::DragQueryFileW(drop.Get(), 0xFFFFFFFF, nullptr, 0) == 0) return E_INVALIDARG;
    // Only the first of a multiple selection is kept, whole: a path may be longer than
    // MAX_PATH, so its length is asked first.
    const UINT length = ::DragQueryFileW(drop.Get(), 0, nullptr, 0);
    if (length == 0) return E_INVALIDARG;
    std::wstring path(length + 1, L'\0');
    const UINT copied = ::DragQueryFileW(drop.Get(), 0, path.data(), length + 1);
    if (copied == 0) return E_INVALIDARG;
    path.resize(copied);
    m_strSelected = path;
    return S_OK;
}

HRESULT CLHLExtension::QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT, UINT flags) {
    if (flags & CMF_DEFAULTONLY) return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
    ::InsertMenuW(menu, position, MF_BYPOSITION | MF_STRING, firstId, kMenuText);
    return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 1);
}

HRESULT CLHLExtension::GetCommandString(UINT_PTR offset, UINT type, UINT*, CHAR* name, UINT size) {
    if (offset != 0) return E_INVALIDARG;
    // The entry has no icon. Explorer takes whatever a GCS_VERBICONW request fills in for an
    // icon's path, so the buffer is left as it came; the request carries the wide bit as well,
    // which must not let it through to the help text.
    if ((type & GCS_VERBICONW) == GCS_VERBICONW) return E_NOTIMPL;
    if (!(type & (GCS_HELPTEXTA | GCS_UNICODE))) return E_INVALIDARG; // bits 0x1 and 0x4
    if (!name || size == 0) return E_INVALIDARG;
    if (type & GCS_UNICODE) {
        lstrcpynW(reinterpret_cast<LPWSTR>(name), kHelpText, static_cast<int>(size));
    } else {
        char narrow[128] = {};
        ::WideCharToMultiByte(CP_THREAD_ACP, 0, kHelpText, -1, narrow, sizeof(narrow), nullptr, nullptr);
        lstrcpynA(name, narrow, static_cast<int>(size));
    }
    return S_OK;
}

namespace {

// A verb given as text names no command of ours. A 64-bit pointer can have zero in bits 16 to
// 31, where HIWORD looks, so a text is told from a command offset by IS_INTRESOURCE.
bool IsTextVerb(const CMINVOKECOMMANDINFO* info) {
    if (!IS_INTRESOURCE(info->lpVerb)) return true;
    if (info->cbSize >= sizeof(CMINVOKECOMMANDINFOEX) && (info->fMask & CMIC_MASK_UNICODE)) {
        const auto* wide = reinterpret_cast<const CMINVOKECOMMANDINFOEX*>(info);
        return !IS_INTRESOURCE(wide->lpVerbW);
    }
    return false;
}

} // namespace

HRESULT CLHLExtension::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    if (!info) return E_INVALIDARG;
    if (IsTextVerb(info)) return E_INVALIDARG;
    if (LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) != 0) return E_INVALIDARG;
    // The folder may have been written since this object was made.
    if (m_strFolder.empty()) ReadLauncherFolder();
    if (m_strFolder.empty()) return S_FALSE;
    // The launcher takes its whole command-line tail as one path: no quotes, even with blanks.
    ::ShellExecuteW(nullptr, L"open", LauncherPathIn(m_strFolder).c_str(), m_strSelected.c_str(), L"", SW_SHOWNORMAL);
    return S_OK;
}

} // namespace qx
