#pragma once
// Registry key in the manner of the launcher's settings code: results are Win32 error codes,
// ERROR_SUCCESS (0) on success. The key is closed by the destructor or by Close.
#include "Handles.h"
#include <string>

namespace fw {

class CRegKey {
public:
    LONG Open(HKEY parent, const std::wstring& subKey, REGSAM access = KEY_READ | KEY_WRITE);
    LONG Create(HKEY parent, const std::wstring& subKey, REGSAM access = KEY_READ | KEY_WRITE);
    void Close() { m_key.reset(); }
    HKEY Get() const { return m_key.get(); }

    LONG QueryStringValue(const std::wstring& name, std::wstring& value) const;
    LONG SetStringValue(const std::wstring& name, const std::wstring& value);
    LONG QueryDWORDValue(const std::wstring& name, DWORD& value) const;
    LONG SetDWORDValue(const std::wstring& name, DWORD value);
    LONG DeleteValue(const std::wstring& name);

private:
    UniqueHKey m_key;
};

} // namespace fw
