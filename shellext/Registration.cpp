// The library's exports: the class object, and registration as a COM server and as the
// context-menu handler of every file and folder.
#include "ClassFactory.h"
#include "Guids.h"
#include "Module.h"
#include "Registrar.h"
#include <oleauto.h>
#include <cwchar>
#include <string>

// In oleaut32 since Windows Vista; MinGW's headers do not declare them.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* helpDir);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libid, WORD major, WORD minor, LCID lcid, SYSKIND kind);

namespace qx {
namespace {

// Per-user registration writes the class data under HKCU\Software\Classes.
bool g_perUser = false;

class ThreadLocaleScope {
public:
    ThreadLocaleScope() : m_saved(::GetThreadLocale()) { ::SetThreadLocale(LOCALE_SYSTEM_DEFAULT); }
    ~ThreadLocaleScope() { ::SetThreadLocale(m_saved); }
    ThreadLocaleScope(const ThreadLocaleScope&) = delete;
    ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

private:
    LCID m_saved;
};

bool IsNtFamily() { return (::GetVersion() & 0x80000000u) == 0; }

void WriteHandlerKey(const wchar_t* path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS &&
        ::RegCreateKeyExW(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kClsidText),
                     static_cast<DWORD>((wcslen(kClsidText) + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

void ClearHandlerKey(const wchar_t* path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return;
    ::RegDeleteValueW(key, nullptr);
    ::RegCloseKey(key);
}

std::wstring ScriptText(UINT id) {
    HRSRC found = ::FindResourceW(ModuleInstance(), MAKEINTRESOURCEW(id), L"REGISTRY");
    HGLOBAL loaded = found ? ::LoadResource(ModuleInstance(), found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    if (!bytes) return {};
    const int size = static_cast<int>(::SizeofResource(ModuleInstance(), found));
    std::wstring text(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, bytes, size, nullptr, 0)), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes, size, text.data(), static_cast<int>(text.size()));
    return text;
}

HRESULT RunScript(UINT id, bool registering) {
    const Replacements replacements = {{L"MODULE", ModulePath()}, {L"APPID", kAppIdText}};
    std::vector<RegScriptKey> keys;
    if (!ParseRegScript(ScriptText(id), replacements, keys)) return E_UNEXPECTED;
    HKEY root = HKEY_CLASSES_ROOT;
    HKEY classes = nullptr;
    if (g_perUser) {
        const LONG rc = ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                          nullptr, &classes, nullptr);
        if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
        root = classes;
    }
    const HRESULT hr = ApplyRegScript(root, keys, registering);
    if (classes) ::RegCloseKey(classes);
    return hr;
}

// The library held as this module's resource, or null.
ITypeLib* LoadOwnTypeLibrary(HRESULT& hr) {
    ITypeLib* library = nullptr;
    hr = ::LoadTypeLibEx(ModulePathToOpen().c_str(), REGKIND_NONE, &library);
    return SUCCEEDED(hr) ? library : nullptr;
}

HRESULT RegisterTypeLibrary() {
    HRESULT hr = S_OK;
    ITypeLib* library = LoadOwnTypeLibrary(hr);
    if (!library) return hr;
    std::wstring mutablePath = ModulePath();
    hr = g_perUser ? ::RegisterTypeLibForUser(library, mutablePath.data(), nullptr)
                   : ::RegisterTypeLib(library, mutablePath.data(), nullptr);
    library->Release();
    return hr;
}

// "TypeLib\{libid}\major.minor\lcid\win64" as RegisterTypeLib writes it (numbers in hex).
std::wstring TypeLibPathKey(const TLIBATTR& attributes, LCID lcid) {
    wchar_t guid[40] = {};
    ::StringFromGUID2(attributes.guid, guid, 40);
    wchar_t key[128] = {};
    swprintf(key, 128, L"TypeLib\\%ls\\%x.%x\\%lx\\%ls", guid, attributes.wMajorVerNum, attributes.wMinorVerNum,
             static_cast<unsigned long>(lcid), attributes.syskind == SYS_WIN64 ? L"win64" : L"win32");
    return key;
}

// The module a registration of the library under `lcid` points at; empty when there is none.
std::wstring RegisteredPath(const TLIBATTR& attributes, LCID lcid) {
    wchar_t path[MAX_PATH * 2] = {};
    DWORD bytes = sizeof(path) - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CLASSES_ROOT, TypeLibPathKey(attributes, lcid).c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                       path, &bytes) != ERROR_SUCCESS)
        return {};
    return path;
}

HRESULT UnregisterTypeLibrary(const TLIBATTR& attributes, LCID lcid) {
    return g_perUser ? ::UnRegisterTypeLibForUser(attributes.guid, attributes.wMajorVerNum, attributes.wMinorVerNum,
                                                  lcid, attributes.syskind)
                     : ::UnRegisterTypeLib(attributes.guid, attributes.wMajorVerNum, attributes.wMinorVerNum, lcid,
                                           attributes.syskind);
}

// Removes the registration under the locale the library itself declares. A library that is not
// registered is nothing to remove; one that stays registered is a failure. Earlier builds
// declared no locale and registered under locale 0: such a registration of this very file is
// removed as well, or it would point at the file long after it is gone.
HRESULT UnregisterTypeLibrary() {
    HRESULT hr = S_OK;
    ITypeLib* library = LoadOwnTypeLibrary(hr);
    if (!library) return hr;
    TLIBATTR* found = nullptr;
    hr = library->GetLibAttr(&found);
    if (FAILED(hr)) {
        library->Release();
        return hr;
    }
    const TLIBATTR attributes = *found;
    library->ReleaseTLibAttr(found);
    library->Release();

    hr = S_OK;
    if (!RegisteredPath(attributes, attributes.lcid).empty()) {
        const HRESULT removed = UnregisterTypeLibrary(attributes, attributes.lcid);
        if (FAILED(removed)) hr = removed;
        else if (!RegisteredPath(attributes, attributes.lcid).empty()) hr = E_FAIL;
    }
    if (attributes.lcid != LOCALE_NEUTRAL && _wcsicmp(RegisteredPath(attributes, LOCALE_NEUTRAL).c_str(),
                                                      ModulePath().c_str()) == 0) {
        const HRESULT removed = UnregisterTypeLibrary(attributes, LOCALE_NEUTRAL);
        if (FAILED(removed) && SUCCEEDED(hr)) hr = removed;
    }
    return hr;
}

} // namespace
} // namespace qx

using namespace qx;

STDAPI DllCanUnloadNow() { return ModuleInUse() ? S_FALSE : S_OK; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, kClsidExtension)) return CLASS_E_CLASSNOTAVAILABLE;
    return ExtensionFactory().QueryInterface(riid, out);
}

STDAPI DllRegisterServer() {
    if (IsNtFamily()) {
        WriteHandlerKey(kFileHandlerKey);
        WriteHandlerKey(kFolderHandlerKey);
    }
    ThreadLocaleScope locale;
    HRESULT hr = RunScript(101, true);
    if (SUCCEEDED(hr)) hr = RunScript(102, true);
    if (SUCCEEDED(hr)) hr = RegisterTypeLibrary();
    return hr;
}

STDAPI DllUnregisterServer() {
    if (IsNtFamily()) {
        ClearHandlerKey(kFileHandlerKey);
        ClearHandlerKey(kFolderHandlerKey);
    }
    ThreadLocaleScope locale;
    HRESULT hr = RunScript(102, false);
    const HRESULT typeLibrary = UnregisterTypeLibrary();
    if (SUCCEEDED(hr)) hr = typeLibrary;
    const HRESULT appId = RunScript(101, false);
    return FAILED(hr) ? hr : appId;
}

STDAPI DllInstall(BOOL install, LPCWSTR cmdLine) {
    g_perUser = cmdLine && _wcsicmp(cmdLine, L"user") == 0;
    HRESULT hr;
    if (install) {
        hr = DllRegisterServer();
        if (FAILED(hr)) DllUnregisterServer(); // take the partial registration away again
    } else {
        hr = DllUnregisterServer();
    }
    g_perUser = false;
    return hr;
}
