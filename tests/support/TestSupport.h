#pragma once
// What every test of the launcher needs: the folders it works in, byte-level file helpers, and
// a fixture that gives each test an empty registry key and data folder.
#include "ThrowawayPrefix.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lhltest {

// The folder of the test executable, which is also the built programs' folder.
std::wstring BinFolder();
// The launcher's data folder ("...\LHLauncher\").
std::wstring DataFolder();

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
std::vector<uint8_t> ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
// Deletes everything inside a folder (read-only files too), keeping the folder.
void EmptyFolder(const std::wstring& folder);
void RemoveFolder(const std::wstring& folder);
// A 24-bit picture whose colour changes along both axes, so a piece of it shows where it came from.
void WriteGradientBitmap(const std::wstring& path, int width, int height);
// A picture file of one colour (or wholly transparent) in the given container (a WIC
// GUID_ContainerFormat...), written through the imaging component.
bool WritePicture(const std::wstring& path, const GUID& container, COLORREF colour, bool transparent = false);
// A 1 x 1 red GIF, byte by byte: header, screen, a two-colour table, one image, LZW data.
extern const std::vector<uint8_t> kRedGif;
// A real shell shortcut to `target`, saved at `path`; false when the shell could not make it.
bool MakeShortcut(const std::wstring& path, const std::wstring& target);

// The width in pixels an icon was made at; 0 for no icon.
int IconWidth(HICON icon);

// A real shortcut at `path` (any length) to the harmless helper lhl_record_run.exe, which
// records its start; the arguments tell which shortcut it was.
std::wstring MakeShortcutToRecorder(const std::wstring& path, const wchar_t* arguments = L"from-shortcut");
// Runs `open` and returns the command line the helper was started with, "" when it did not run
// within the time.
std::wstring RecordedRunOf(const std::function<void()>& open, DWORD timeoutMs = 10000);

void DeleteLauncherRegistryKey();
bool LauncherRegistryKeyExists();

// A real file whose path is at least `minLength` characters long, in folders made below
// `folder` through "\\?\" paths, as Windows needs beyond MAX_PATH; removed with the object.
class LongPathFile {
public:
    LongPathFile(const std::wstring& folder, size_t minLength);
    ~LongPathFile();
    LongPathFile(const LongPathFile&) = delete;
    LongPathFile& operator=(const LongPathFile&) = delete;
    // The plain path, without the "\\?\" prefix.
    const std::wstring& Path() const { return m_path; }

private:
    std::vector<std::wstring> m_folders; // outermost first
    std::wstring m_path;
};

// Handles messages until `done` holds or the time is up; true when it held.
template <typename Pred>
bool PumpUntil(Pred done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// The base of every fixture that changes the launcher's data folder or registry key, the
// desktop, the start-up value or the Explorer keys. Outside the throwaway prefix the test is
// skipped from its constructor, so none of its set-up, body or tear-down runs, and the empty
// data folders that a settings member makes on construction are taken away again.
class ThrowawayPrefixOnly : public ::testing::Test {
protected:
    ThrowawayPrefixOnly();
    ~ThrowawayPrefixOnly() override;

private:
    bool m_removeDataFolders = false;
};

// Each test starts with no launcher registry key and an empty data folder, and leaves them so.
class CleanLauncherState : public ThrowawayPrefixOnly {
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace lhltest
