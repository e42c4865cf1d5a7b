#include "ThrowawayPrefix.h"
#include <windows.h>
#include <cwctype>

namespace lhltest {
namespace {

constexpr const wchar_t* kWinePrefixMark = L"C:\\lanternhop-test-prefix";
constexpr const wchar_t* kDisposableMark = L"C:\\lanternhop-disposable-machine";

bool IsPlainFile(const wchar_t* path) {
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The first line of a small text file, ANSI as `echo %COMPUTERNAME%>` writes it.
std::wstring FirstLine(const wchar_t* path) {
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    char bytes[256] = {};
    DWORD read = 0;
    ::ReadFile(file, bytes, sizeof(bytes) - 1, &read, nullptr);
    ::CloseHandle(file);
    std::wstring text;
    for (DWORD i = 0; i < read && bytes[i] != '\r' && bytes[i] != '\n'; ++i)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    return text;
}

std::wstring Trimmed(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towupper(a[i]) != std::towupper(b[i])) return false;
    return true;
}

MachineFacts ThisMachine() {
    MachineFacts facts;
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    facts.wine = ntdll && ::GetProcAddress(ntdll, "wine_get_version");
    facts.winePrefixMark = IsPlainFile(kWinePrefixMark);
    facts.disposableMark = IsPlainFile(kDisposableMark);
    if (facts.disposableMark) facts.disposableText = FirstLine(kDisposableMark);
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (::GetComputerNameW(name, &length)) facts.computerName.assign(name, length);
    return facts;
}

} // namespace

bool MayChangeThisMachine(const MachineFacts& facts) {
    if (facts.wine) return facts.winePrefixMark;
    const std::wstring named = Trimmed(facts.disposableText);
    return facts.disposableMark && !named.empty() && SameName(named, facts.computerName);
}

bool InThrowawayPrefix() { return MayChangeThisMachine(ThisMachine()); }

} // namespace lhltest
