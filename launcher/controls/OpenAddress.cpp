#include "OpenAddress.h"
#include "ButtonEx.h"
#include "ItemText.h"
#include <shellapi.h>

namespace lhl {

INT_PTR OpenAddress(HWND owner, const std::wstring& address, int show) {
    const auto result =
        reinterpret_cast<INT_PTR>(::ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, show));
    if (result > 32) return result;
    std::wstring docClass, command;
    if (CButtonEx::QueryClassesRootDefault(L".htm", docClass) != ERROR_SUCCESS || docClass.empty()) return result;
    if (CButtonEx::QueryClassesRootDefault(docClass + L"\\shell\\open\\command", command) != ERROR_SUCCESS ||
        command.empty())
        return result;
    return static_cast<INT_PTR>(RunAnsiCommand(CutBeforePlaceholder(command) + L" " + address, show));
}

} // namespace lhl
