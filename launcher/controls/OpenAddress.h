#pragma once
// Opens a web or mail address through the shell and, when nothing is registered for it, with
// the program registered for ".htm" pages.
#include <windows.h>
#include <string>

namespace lhl {

// ShellExecuteW's result, or WinExec's when the fallback ran: above 32 means it opened.
INT_PTR OpenAddress(HWND owner, const std::wstring& address, int show);

} // namespace lhl
