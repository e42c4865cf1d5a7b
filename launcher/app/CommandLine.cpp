#include "CommandLine.h"
#include "PathLimit.h"
#include <windows.h>

namespace lhl {
namespace {

bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

std::wstring WithoutTrailingBlanks(std::wstring text) {
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
    return text;
}

// Paths compare as Windows compares them, without regard to case.
bool EndsWithNoCase(const std::wstring& text, const std::wstring& end) {
    if (end.size() > text.size()) return false;
    return ::CompareStringOrdinal(text.c_str() + (text.size() - end.size()), static_cast<int>(end.size()),
                                  end.c_str(), static_cast<int>(end.size()), TRUE) == CSTR_EQUAL;
}

// Windows took the part of `name` before a blank as the program and left the rest as the tail.
bool IsRestAfterBlank(const std::wstring& name, const std::wstring& tail) {
    return tail.size() < name.size() && EndsWithNoCase(name, tail) && IsBlank(name[name.size() - tail.size() - 1]);
}

} // namespace

bool IsOwnPathRemnant(const std::wstring& tail, const std::wstring& programPath) {
    const std::wstring rest = WithoutTrailingBlanks(tail);
    if (rest.empty()) return false;
    if (IsRestAfterBlank(programPath, rest)) return true;
    const std::wstring exe = L".exe";
    return EndsWithNoCase(programPath, exe) &&
           IsRestAfterBlank(programPath.substr(0, programPath.size() - exe.size()), rest);
}

std::wstring WithoutEnclosingQuotes(const std::wstring& text) {
    const std::wstring trimmed = WithoutTrailingBlanks(text);
    const bool oneQuotedString = trimmed.size() >= 2 && trimmed.front() == L'"' &&
                                 trimmed.find(L'"', 1) == trimmed.size() - 1;
    return oneQuotedString ? trimmed.substr(1, trimmed.size() - 2) : text;
}

std::wstring PathFromCommandLine(const std::wstring& tail, const std::wstring& programPath) {
    // Started from the Run key with an unquoted path, the launcher must not add a piece of itself.
    if (IsOwnPathRemnant(tail, programPath)) return {};
    std::wstring path = WithoutEnclosingQuotes(tail);
    return path.size() <= kMaxPathChars ? path : std::wstring();
}

} // namespace lhl
