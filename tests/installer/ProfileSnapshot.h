#pragma once
// What a program could leave in a user's profile, listed before it is installed and compared
// after it is removed: a leftover nobody thought to look for shows up as a new name.
#include <windows.h>
#include <set>
#include <string>
#include <vector>

namespace lhltest {

class ProfileSnapshot {
public:
    // Every key and value name under HKCU\Software (HKCU\Software\Classes with it), and the
    // given folders with everything below them.
    explicit ProfileSnapshot(std::vector<std::wstring> folders = {});
    // What is there now and was not then, in order.
    std::vector<std::wstring> Added() const;

private:
    std::set<std::wstring> Take() const;

    std::vector<std::wstring> m_folders;
    std::set<std::wstring> m_names;
};

} // namespace lhltest
