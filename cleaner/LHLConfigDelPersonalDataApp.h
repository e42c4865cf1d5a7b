#pragma once
// Removes the launcher's per-user data files. It takes no arguments, shows nothing, asks
// nothing: the files directly in the data folder go; sub-folders and the folder itself stay.
#include "WinApp.h"
#include <string>

class CLHLConfigDelPersonalDataApp : public fw::CWinApp {
public:
    BOOL InitInstance() override;
};

// The data folder ("LHLauncher" under the user's application data), without a final "\".
std::wstring LauncherDataFolder();

// Deletes every file directly inside `folder`; returns how many were deleted.
int DeleteFilesIn(const std::wstring& folder);
