#pragma once
// The identities of the extension, shared with the launcher's handler keys and the registry
// scripts.
#include <windows.h>
#include <ole2.h>

namespace qx {

// {10846745-3ECC-4DD9-BB13-73744926CA86}
inline constexpr CLSID kClsidExtension = {0x10846745, 0x3ECC, 0x4DD9, {0xBB, 0x13, 0x73, 0x74, 0x49, 0x26, 0xCA, 0x86}};
// {107A05F8-191B-4E85-9FCC-4DF6F181031C}
inline constexpr IID kIidLHLExtension = {0x107A05F8, 0x191B, 0x4E85, {0x9F, 0xCC, 0x4D, 0xF6, 0xF1, 0x81, 0x03, 0x1C}};
// {1FEB5240-7F06-4EDA-ABD1-74A79DBA54C4}
inline constexpr GUID kLibid = {0x1FEB5240, 0x7F06, 0x4EDA, {0xAB, 0xD1, 0x74, 0xA7, 0x9D, 0xBA, 0x54, 0xC4}};

inline constexpr const wchar_t* kClsidText = L"{10846745-3ECC-4DD9-BB13-73744926CA86}";
inline constexpr const wchar_t* kAppIdText = L"{4E89DC3A-3EFD-4437-BC1C-E1336335474A}";
inline constexpr const wchar_t* kFileHandlerKey = L"*\\shellex\\ContextMenuHandlers\\1LHLauncher\\";
inline constexpr const wchar_t* kFolderHandlerKey = L"Directory\\shellex\\ContextMenuHandlers\\1LHLauncher\\";

// The extension's own interface: dual, with no methods beyond IDispatch.
struct ILHLExtension : public IDispatch {};

} // namespace qx
