#pragma once
// The pure text rules of items: how titles are shortened, how an address becomes something the
// shell can open, and how a registered browser command is cut before its placeholder.
#include <string>

namespace lhl {

// A file's display name: more than 32 characters become the first 32 and " ...".
std::wstring ShortenFileTitle(const std::wstring& title);
// A text or link title for the window text: more than 16 characters become the first 16 and "...".
std::wstring ShortenItemTitle(const std::wstring& title);
// "mailto:" before a mail address, "http://" before an address without a scheme.
std::wstring NormaliseLinkAddress(const std::wstring& address);
// A command line cut before "%1" (before its opening quote when it is quoted); whole when none.
std::wstring CutBeforePlaceholder(const std::wstring& command);
// Runs a command line converted to the thread's ANSI code page; WinExec's result.
unsigned RunAnsiCommand(const std::wstring& commandLine, int show = 5 /* SW_SHOW */);
// What "Open Containing Folder" opens: the folder part when the last part has a ".".
std::wstring ContainingFolderOf(const std::wstring& shownTarget);
// The text from the last "." on (the whole path when there is none).
std::wstring ExtensionOf(const std::wstring& path);
// The text after the last "\".
std::wstring FileNameOf(const std::wstring& path);

} // namespace lhl
