#include "ItemText.h"
#include <windows.h>
#include <vector>

namespace lhl {
namespace {

std::wstring LowerAsciiPrefix(const std::wstring& text, size_t count) {
    std::wstring prefix = text.substr(0, count);
    for (wchar_t& ch : prefix)
        if (ch >= L'A' && ch <= L'Z') ch = static_cast<wchar_t>(ch - L'A' + L'a');
    return prefix;
}

} // namespace

std::wstring ShortenFileTitle(const std::wstring& title) {
    return title.size() > 32 ? title.substr(0, 32) + L" ..." : title;
}

std::wstring ShortenItemTitle(const std::wstring& title) {
    return title.size() > 16 ? title.substr(0, 16) + L"..." : title;
}

std::wstring NormaliseLinkAddress(const std::wstring& address) {
    if (address.find(L'@') != std::wstring::npos)
        return LowerAsciiPrefix(address, 6) == L"mailto" ? address : L"mailto:" + address;
    if (address.find(L"://") != std::wstring::npos) return address;
    return LowerAsciiPrefix(address, 4) == L"http" ? address : L"http://" + address;
}

std::wstring CutBeforePlaceholder(const std::wstring& command) {
    const size_t quoted = command.find(L"\"%1\"");
    if (quoted != std::wstring::npos) return command.substr(0, quoted);
    const size_t bare = command.find(L"%1");
    return bare != std::wstring::npos ? command.substr(0, bare) : command;
}

unsigned RunAnsiCommand(const std::wstring& commandLine, int show) {
    const int size = ::WideCharToMultiByte(CP_THREAD_ACP, 0, commandLine.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return 0;
    std::vector<char> ansi(static_cast<size_t>(size));
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, commandLine.c_str(), -1, ansi.data(), size, nullptr, nullptr);
    return ::WinExec(ansi.data(), static_cast<UINT>(show));
}

std::wstring ContainingFolderOf(const std::wstring& shownTarget) {
    const size_t slash = shownTarget.find_last_of(L'\\');
    if (slash == std::wstring::npos) return shownTarget;
    if (shownTarget.find(L'.', slash + 1) == std::wstring::npos) return shownTarget;
    return shownTarget.substr(0, slash);
}

std::wstring ExtensionOf(const std::wstring& path) {
    const size_t dot = path.find_last_of(L'.');
    return dot == std::wstring::npos ? path : path.substr(dot);
}

std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace lhl
