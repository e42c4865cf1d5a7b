#include "Registrar.h"
#include <cwctype>

namespace qx {
namespace {

class Lexer {
public:
    Lexer(const std::wstring& text, const Replacements& replacements) : m_text(text), m_replacements(replacements) {}

    // The next token: a brace, "=", or a word (quoted or bare). False at the end.
    bool Next(std::wstring& token, bool& quoted) {
        while (m_pos < m_text.size() && std::iswspace(m_text[m_pos])) ++m_pos;
        if (m_pos >= m_text.size()) return false;
        quoted = false;
        const wchar_t ch = m_text[m_pos];
        if (ch == L'\'') return Quoted(token, quoted);
        if (ch == L'{' && LooksLikeGuid()) {
            token = m_text.substr(m_pos, 38);
            m_pos += 38;
            return true;
        }
        if (ch == L'{' || ch == L'}' || ch == L'=') {
            token.assign(1, ch);
            ++m_pos;
            return true;
        }
        const size_t start = m_pos;
        while (m_pos < m_text.size() && !std::iswspace(m_text[m_pos]) && !wcschr(L"={}", m_text[m_pos])) ++m_pos;
        token = Replace(m_text.substr(start, m_pos - start));
        return true;
    }
    bool Peek(std::wstring& token, bool& quoted) {
        const size_t saved = m_pos;
        const bool got = Next(token, quoted);
        m_pos = saved;
        return got;
    }

private:
    // A bare key name such as {10846745-...} starts with a brace too.
    bool LooksLikeGuid() const {
        return m_pos + 37 < m_text.size() && m_text[m_pos + 37] == L'}' && m_text[m_pos + 9] == L'-';
    }
    bool Quoted(std::wstring& token, bool& quoted) {
        std::wstring raw;
        for (++m_pos; m_pos < m_text.size(); ++m_pos) {
            if (m_text[m_pos] == L'\'') {
                if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == L'\'') {
                    raw += L'\'';
                    ++m_pos;
                    continue;
                }
                ++m_pos;
                token = Replace(raw);
                quoted = true;
                return true;
            }
            raw += m_text[m_pos];
        }
        return false;
    }
    std::wstring Replace(const std::wstring& raw) const {
        std::wstring out;
        for (size_t i = 0; i < raw.size(); ++i) {
            const size_t end = raw[i] == L'%' ? raw.find(L'%', i + 1) : std::wstring::npos;
            if (end == std::wstring::npos) {
                out += raw[i];
                continue;
            }
            const auto found = m_replacements.find(raw.substr(i + 1, end - i - 1));
            out += found != m_replacements.end() ? found->second : raw.substr(i, end - i + 1);
            i = end;
        }
        return out;
    }

    const std::wstring& m_text;
    const Replacements& m_replacements;
    size_t m_pos = 0;
};

bool IsKeyword(const std::wstring& token, bool quoted, const wchar_t* word) {
    return !quoted && _wcsicmp(token.c_str(), word) == 0;
}

// "= s 'text'"
bool ParseStringValue(Lexer& lexer, std::wstring& value) {
    std::wstring token;
    bool quoted = false;
    if (!lexer.Next(token, quoted) || token != L"=") return false;
    if (!lexer.Next(token, quoted) || !IsKeyword(token, quoted, L"s")) return false;
    return lexer.Next(value, quoted) && quoted;
}

bool ParseEntries(Lexer& lexer, std::vector<RegScriptKey>& keys,
                  std::vector<std::pair<std::wstring, std::wstring>>* values);

bool ParseKey(Lexer& lexer, std::wstring token, bool quoted, RegScriptKey& key) {
    if (IsKeyword(token, quoted, L"NoRemove") || IsKeyword(token, quoted, L"ForceRemove")) {
        (IsKeyword(token, quoted, L"NoRemove") ? key.noRemove : key.forceRemove) = true;
        if (!lexer.Next(token, quoted)) return false;
    }
    key.name = token;
    std::wstring next;
    if (lexer.Peek(next, quoted) && next == L"=" && !quoted) {
        if (!ParseStringValue(lexer, key.defaultValue)) return false;
        key.hasDefault = true;
    }
    if (lexer.Peek(next, quoted) && next == L"{" && !quoted) {
        lexer.Next(next, quoted);
        return ParseEntries(lexer, key.children, &key.values);
    }
    return true;
}

// Entries up to the closing brace: keys, and ("val name = s 'x'") values of the enclosing key.
bool ParseEntries(Lexer& lexer, std::vector<RegScriptKey>& keys,
                  std::vector<std::pair<std::wstring, std::wstring>>* values) {
    std::wstring token;
    bool quoted = false;
    while (lexer.Next(token, quoted)) {
        if (token == L"}" && !quoted) return true;
        if (IsKeyword(token, quoted, L"val")) {
            std::wstring name, value;
            if (!values || !lexer.Next(name, quoted) || !ParseStringValue(lexer, value)) return false;
            values->emplace_back(name, value);
            continue;
        }
        RegScriptKey key;
        if (!ParseKey(lexer, token, quoted, key)) return false;
        keys.push_back(std::move(key));
    }
    return false; // no closing brace
}

} // namespace

bool ParseRegScript(const std::wstring& text, const Replacements& replacements, std::vector<RegScriptKey>& keys) {
    Lexer lexer(text, replacements);
    std::wstring token;
    bool quoted = false;
    if (!lexer.Next(token, quoted) || !IsKeyword(token, quoted, L"HKCR")) return false;
    if (!lexer.Next(token, quoted) || token != L"{") return false;
    return ParseEntries(lexer, keys, nullptr);
}

namespace {

HRESULT Result(LONG rc) { return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc); }

HRESULT WriteKey(HKEY parent, const RegScriptKey& key) {
    if (key.forceRemove) ::RegDeleteTreeW(parent, key.name.c_str());
    HKEY h = nullptr;
    LONG rc = ::RegCreateKeyExW(parent, key.name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &h, nullptr);
    if (rc != ERROR_SUCCESS) return Result(rc);
    auto set = [h](const wchar_t* name, const std::wstring& value) {
        return ::RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    if (key.hasDefault) rc = set(nullptr, key.defaultValue);
    for (const auto& [name, value] : key.values)
        if (rc == ERROR_SUCCESS) rc = set(name.c_str(), value);
    HRESULT hr = Result(rc);
    for (const RegScriptKey& child : key.children)
        if (SUCCEEDED(hr)) hr = WriteKey(h, child);
    ::RegCloseKey(h);
    return hr;
}

bool IsEmptyKey(HKEY h) {
    DWORD subKeys = 0, values = 0;
    return ::RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                              nullptr, nullptr) == ERROR_SUCCESS && subKeys == 0 && values == 0;
}

// Removes what the script wrote; a key that holds something the script does not name stays.
void RemoveKey(HKEY parent, const RegScriptKey& key) {
    if (key.forceRemove && !key.noRemove) {
        ::RegDeleteTreeW(parent, key.name.c_str());
        return;
    }
    HKEY h = nullptr;
    if (::RegOpenKeyExW(parent, key.name.c_str(), 0, KEY_READ | KEY_WRITE, &h) != ERROR_SUCCESS) return;
    for (const RegScriptKey& child : key.children) RemoveKey(h, child);
    if (!key.noRemove) {
        for (const auto& value : key.values) ::RegDeleteValueW(h, value.first.c_str());
        if (key.hasDefault) ::RegDeleteValueW(h, nullptr);
    }
    const bool empty = IsEmptyKey(h);
    ::RegCloseKey(h);
    if (!key.noRemove && empty) ::RegDeleteKeyW(parent, key.name.c_str());
}

} // namespace

HRESULT ApplyRegScript(HKEY root, const std::vector<RegScriptKey>& keys, bool registering) {
    HRESULT hr = S_OK;
    for (const RegScriptKey& key : keys) {
        if (registering) {
            hr = WriteKey(root, key);
            if (FAILED(hr)) return hr;
        } else {
            RemoveKey(root, key);
        }
    }
    return hr;
}

} // namespace qx
