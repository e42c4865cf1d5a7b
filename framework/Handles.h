#pragma once
// Move-only owners for the Win32 handles this program creates. Each holder frees its handle in
// exactly one place; non-owning uses keep the plain handle type.
#include <windows.h>
#include <utility>

namespace fw {

template <typename T, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T h) noexcept : m_h(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_h(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    T get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return Traits::IsValid(m_h); }
    T release() noexcept { return std::exchange(m_h, Traits::Invalid()); }
    void reset(T h = Traits::Invalid()) noexcept {
        if (Traits::IsValid(m_h)) Traits::Close(m_h);
        m_h = h;
    }
    // For out-parameters: frees the current handle first.
    T* put() noexcept { reset(); return &m_h; }

private:
    T m_h = Traits::Invalid();
};

template <typename T, BOOL(WINAPI* CloseFn)(T)>
struct NullTraits {
    static T Invalid() noexcept { return nullptr; }
    static bool IsValid(T h) noexcept { return h != nullptr; }
    static void Close(T h) noexcept { CloseFn(h); }
};

struct KernelTraits {
    static HANDLE Invalid() noexcept { return nullptr; }
    static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};

struct RegKeyTraits {
    static HKEY Invalid() noexcept { return nullptr; }
    static bool IsValid(HKEY h) noexcept { return h != nullptr; }
    static void Close(HKEY h) noexcept { ::RegCloseKey(h); }
};

struct FindTraits {
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::FindClose(h); }
};

template <typename T>
struct GdiTraits {
    static T Invalid() noexcept { return nullptr; }
    static bool IsValid(T h) noexcept { return h != nullptr; }
    static void Close(T h) noexcept { ::DeleteObject(h); }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, KernelTraits>;
using UniqueFindHandle = UniqueHandle<HANDLE, FindTraits>;
using UniqueHKey = UniqueHandle<HKEY, RegKeyTraits>;
using UniqueHIcon = UniqueHandle<HICON, NullTraits<HICON, ::DestroyIcon>>;
using UniqueHMenu = UniqueHandle<HMENU, NullTraits<HMENU, ::DestroyMenu>>;
using UniqueHModule = UniqueHandle<HMODULE, NullTraits<HMODULE, ::FreeLibrary>>;
using UniqueHdc = UniqueHandle<HDC, NullTraits<HDC, ::DeleteDC>>;
using UniqueHBitmap = UniqueHandle<HBITMAP, GdiTraits<HBITMAP>>;
using UniqueHFont = UniqueHandle<HFONT, GdiTraits<HFONT>>;
using UniqueHBrush = UniqueHandle<HBRUSH, GdiTraits<HBRUSH>>;

// Selects a GDI object into a DC for one scope and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) noexcept : m_dc(dc), m_old(::SelectObject(dc, obj)) {}
    ~SelectGuard() { if (m_old) ::SelectObject(m_dc, m_old); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

} // namespace fw
