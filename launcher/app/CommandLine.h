#pragma once
// The path a start of the launcher brings on its command line.
#include <string>

namespace lhl {

// The tail after the program name, as the item to add: one string in quotes loses its quotes,
// anything else is taken whole. Empty when there is nothing to add: no tail, a tail longer
// than a path can be, or a tail that is only the rest of this program's own path, whose file is
// `programPath`.
std::wstring PathFromCommandLine(const std::wstring& tail, const std::wstring& programPath);

// True when the tail is what remains of the program's own path when that path, holding blanks,
// was started without quotes ("C:\Programs\Lanternhop Launcher\Lanternhop Launcher.exe" gives
// the tail "Launcher\Lanternhop Launcher.exe"): the tail ends the program's path and follows a
// blank in it. The ".exe" may have been left out, as Windows adds it when it searches.
bool IsOwnPathRemnant(const std::wstring& tail, const std::wstring& programPath);

// The text inside the quotes when the whole text is one quoted string; otherwise the text.
std::wstring WithoutEnclosingQuotes(const std::wstring& text);

} // namespace lhl
