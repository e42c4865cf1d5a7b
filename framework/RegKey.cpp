#include "RegKey.h"
#include <vector>

namespace fw {

LONG CRegKey::Open(HKEY parent, const std::wstring& subKey, REGSAM access) {
    HKEY key = nullptr;
    LONG rc = ::RegOpenKeyExW(parent, subKey.c_str(), 0, access, &key);
    if (rc == ERROR_SUCCESS) m_key.reset(key);
    return rc;
}

LONG CRegKey::Create(HKEY parent, const std::wstring& subKey, REGSAM access) {
    HKEY key = nullptr;
    LONG rc = ::RegCreateKeyExW(parent, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                access, nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS) m_key.reset(key);
    return rc;
}

LONG CRegKey::QueryStringValue(const std::wstring& name, std::wstring& value) const {
    DWORD type = 0, bytes = 0;
    LONG rc = ::RegQueryValueExW(m_key.get(), name.c_str(), nullptr, &type, nullptr, &bytes);
    if (rc != ERROR_SUCCESS) return rc;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    rc = ::RegQueryValueExW(m_key.get(), name.c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (rc == ERROR_SUCCESS) value.assign(buffer.data());
    return rc;
}

LONG CRegKey::SetStringValue(const std::wstring& name, const std::wstring& value) {
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(m_key.get(), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

LONG CRegKey::QueryDWORDValue(const std::wstring& name, DWORD& value) const {
    DWORD type = 0, bytes = sizeof(DWORD), data = 0;
    LONG rc = ::RegQueryValueExW(m_key.get(), name.c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE*>(&data), &bytes);
    if (rc != ERROR_SUCCESS) return rc;
    if (type != REG_DWORD) return ERROR_INVALID_DATA;
    value = data;
    return rc;
}

LONG CRegKey::SetDWORDValue(const std::wstring& name, DWORD value) {
    return ::RegSetValueExW(m_key.get(), name.c_str(), 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG CRegKey::DeleteValue(const std::wstring& name) {
    return ::RegDeleteValueW(m_key.get(), name.c_str());
}

} // namespace fw
