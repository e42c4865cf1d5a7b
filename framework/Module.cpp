#include "Module.h"
#include <vector>

namespace fw {
namespace {
HINSTANCE g_resourceInstance = nullptr;
}

HINSTANCE ResourceInstance() {
    return g_resourceInstance ? g_resourceInstance : ::GetModuleHandleW(nullptr);
}

void SetResourceInstance(HINSTANCE instance) { g_resourceInstance = instance; }

HICON LoadIconAtSize(UINT id, int size) {
    // Version 6 of the common controls has it (the manifest asks for that version); the import
    // library knows only version 5's names, so it is looked up.
    using LoadScaledFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    HMODULE controls = ::GetModuleHandleW(L"comctl32.dll");
    auto loadScaled = controls ? reinterpret_cast<LoadScaledFn>(
                                     reinterpret_cast<void*>(::GetProcAddress(controls, "LoadIconWithScaleDown")))
                               : nullptr;
    HICON icon = nullptr;
    if (loadScaled && SUCCEEDED(loadScaled(ResourceInstance(), MAKEINTRESOURCEW(id), size, size, &icon)) && icon)
        return icon;
    return static_cast<HICON>(::LoadImageW(ResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}

std::wstring ModulePath(HMODULE module) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring ModuleFolder(HMODULE module) {
    const std::wstring path = ModulePath(module);
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring LoadResString(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out a pointer into the resource itself.
    const int length = ::LoadStringW(ResourceInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

std::wstring WithTrailingBackslash(std::wstring path) {
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path;
}

} // namespace fw
