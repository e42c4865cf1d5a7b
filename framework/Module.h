#pragma once
// Where the running program lives and where its resources come from.
#include <windows.h>
#include <string>

namespace fw {

// The module whose resources (templates, strings, icons) the framework loads.
HINSTANCE ResourceInstance();
void SetResourceInstance(HINSTANCE instance);

// The full path of a module's file, however long; empty when it cannot be found.
std::wstring ModulePath(HMODULE module = nullptr);
// The folder of a module's file, ending in "\"; empty when it cannot be found.
std::wstring ModuleFolder(HMODULE module = nullptr);

// An icon resource of ResourceInstance() made size pixels square from its nearest larger image,
// as the common controls scale icons down; the caller destroys it. Null when there is none.
HICON LoadIconAtSize(UINT id, int size);

// A string resource of ResourceInstance(); empty when it does not exist.
std::wstring LoadResString(UINT id);

// Appends "\" unless the text already ends in one (an empty text stays empty).
std::wstring WithTrailingBackslash(std::wstring path);

} // namespace fw
