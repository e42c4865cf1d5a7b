#pragma once
// A small registrar for the two registry scripts the extension carries: nested keys, default and
// named string values, empty keys, NoRemove and ForceRemove, and %NAME% replacements.
#include <windows.h>
#include <map>
#include <string>
#include <vector>

namespace qx {

struct RegScriptKey {
    std::wstring name;
    bool noRemove = false;
    bool forceRemove = false;
    bool hasDefault = false;
    std::wstring defaultValue;
    std::vector<std::pair<std::wstring, std::wstring>> values;
    std::vector<RegScriptKey> children;
};

using Replacements = std::map<std::wstring, std::wstring>;

// Parses a script whose root is HKCR; false on a syntax it does not know.
bool ParseRegScript(const std::wstring& text, const Replacements& replacements, std::vector<RegScriptKey>& keys);

// Writes or removes the keys under `root` (HKEY_CLASSES_ROOT, or HKCU\Software\Classes per user).
HRESULT ApplyRegScript(HKEY root, const std::vector<RegScriptKey>& keys, bool registering);

} // namespace qx
