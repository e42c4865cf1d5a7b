// The setup as a user runs it, silently: what it installs, that the installed launcher starts,
// what its uninstaller leaves behind (only the personal data, or nothing at all), and upgrades
// and uninstalls while the launcher runs or another program holds one of its DLLs.
#include "PanelHarness.h"
#include "PanelLookup.h"
#include "ProfileSnapshot.h"
#include "Program.h"
#include "RegKey.h"
#include "ShellFolder.h"
#include "TestSupport.h"
#include <shlobj.h>

using lhltest::FileExists;
using lhltest::FolderExists;
using lhltest::Program;

namespace {

constexpr const wchar_t* kClsidServer =
    L"Software\\Classes\\CLSID\\{10846745-3ECC-4DD9-BB13-73744926CA86}\\InprocServer32";
constexpr const wchar_t* kFileHandler = L"Software\\Classes\\*\\shellex\\ContextMenuHandlers\\1LHLauncher";
constexpr const wchar_t* kFolderHandler = L"Software\\Classes\\Directory\\shellex\\ContextMenuHandlers\\1LHLauncher";
constexpr const wchar_t* kFileHandlerClass = L"*\\shellex\\ContextMenuHandlers\\1LHLauncher";
constexpr const wchar_t* kFolderHandlerClass = L"Directory\\shellex\\ContextMenuHandlers\\1LHLauncher";
constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LanternhopLauncher";
constexpr const wchar_t* kDataKey = L"Software\\QuenvidWorks\\Lanternhop";

constexpr const wchar_t* kRunOnceKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const wchar_t* kProduct = L"Lanternhop Launcher";
constexpr const wchar_t* kVendorKey = L"Software\\QuenvidWorks";
// Everything the extension's registration makes, as HKEY_CLASSES_ROOT shows it (the user's
// classes and, where Wine registers the type library for the machine, the machine's).
constexpr const wchar_t* kClassKeys[] = {
    L"CLSID\\{10846745-3ECC-4DD9-BB13-73744926CA86}", L"TypeLib\\{1FEB5240-7F06-4EDA-ABD1-74A79DBA54C4}",
    L"Interface\\{107A05F8-191B-4E85-9FCC-4DF6F181031C}", L"QuenvidExtension.LHLExtension",
    L"QuenvidExtension.LHLExtension.1", L"AppID\\{4E89DC3A-3EFD-4437-BC1C-E1336335474A}",
    L"AppID\\QuenvidExtension.DLL"};
constexpr DWORD kRestartNeeded = 3010;
constexpr DWORD kAborted = 2;
constexpr WPARAM kTrayAbout = 32860;
enum class Data { Kept, Deleted };
// The setup as built, or a build of it that acts as Windows does for a user without
// administrator rights, where Wine grants the prefix's user more.
enum class Build { AsBuilt, Restricted };

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

bool KeyExists(HKEY root, const wchar_t* key) {
    fw::CRegKey k;
    return k.Open(root, key, KEY_READ) == ERROR_SUCCESS;
}

// The file's identity on its volume: a file replaced under the same name has another one.
uint64_t FileIdentity(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = ::GetFileInformationByHandle(file, &info) != FALSE;
    ::CloseHandle(file);
    return read ? (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow : 0;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(::towlower(c));
    return text;
}

// What Windows deletes at its next start: the sources in PendingFileRenameOperations whose
// target is empty. The value is pairs of strings, the empty target among them, so it is read
// by its length rather than up to its first empty string.
std::vector<std::wstring> DeletedAtRestart() {
    const wchar_t* key = L"System\\CurrentControlSet\\Control\\Session Manager";
    const wchar_t* name = L"PendingFileRenameOperations";
    DWORD bytes = 0;
    std::vector<std::wstring> deleted;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_ANY, nullptr, nullptr, &bytes) != ERROR_SUCCESS) return deleted;
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 2, L'\0');
    ::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_ANY, nullptr, text.data(), &bytes);
    const size_t end = bytes / sizeof(wchar_t);
    for (size_t at = 0; at < end;) {
        const std::wstring source = text.data() + at;
        at += source.size() + 1;
        if (source.empty() || at >= end) break;
        const std::wstring target = text.data() + at;
        at += target.size() + 1;
        // A folder may be named with its trailing backslash.
        if (target.empty()) deleted.push_back(Lower(source.back() == L'\\' ? source.substr(0, source.size() - 1) : source));
    }
    return deleted;
}

// The deletions at restart asked for from its making on. The prefix keeps what earlier tests
// asked for, so only a new request for a path counts.
class RestartDeletions {
public:
    RestartDeletions() : m_before(DeletedAtRestart()) {}
    bool AskedFor(const std::wstring& path) const { return Count(DeletedAtRestart(), path) > Count(m_before, path); }

private:
    // Sources are NT paths (\??\C:\...): a path matches the end of one.
    static size_t Count(const std::vector<std::wstring>& deleted, const std::wstring& path) {
        const std::wstring wanted = Lower(path);
        size_t n = 0;
        for (const std::wstring& source : deleted)
            if (source.size() >= wanted.size() && source.compare(source.size() - wanted.size(), wanted.size(), wanted) == 0)
                ++n;
        return n;
    }
    std::vector<std::wstring> m_before;
};

// The user's RunOnce values of the product: the clean-up a sign-in does without administrator rights.
struct RunOnceValue {
    std::wstring name, command;
};
std::vector<RunOnceValue> RunOnceCleanups() {
    std::vector<RunOnceValue> values;
    fw::CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, kRunOnceKey, KEY_READ) != ERROR_SUCCESS) return values;
    wchar_t name[256];
    for (DWORD i = 0, length = 256;
         ::RegEnumValueW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i, length = 256) {
        RunOnceValue value{name, L""};
        if (_wcsnicmp(name, kProduct, wcslen(kProduct)) == 0 && key.QueryStringValue(name, value.command) == ERROR_SUCCESS)
            values.push_back(value);
    }
    return values;
}

// What Windows does with them at the next sign-in: each value is deleted, then its command run.
// The number of commands run.
size_t SignIn() {
    const std::vector<RunOnceValue> values = RunOnceCleanups();
    for (const RunOnceValue& value : values) {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunOnceKey, value.name.c_str());
        Program command;
        EXPECT_TRUE(command.StartCommand(value.command)) << Narrow(value.command);
        EXPECT_TRUE(command.WaitForExit(20000)) << Narrow(value.command);
    }
    return values.size();
}

// Another program holding a DLL until it is ended: loaded, as Explorer holds the extension, or
// only open and neither deletable nor renamable, as a virus scanner may hold it.
enum class Hold { Loaded, OpenOnly };
class LibraryHolder {
public:
    explicit LibraryHolder(const std::wstring& dll, Hold how = Hold::Loaded) {
        const std::wstring name = L"LhlHoldLibrary" + std::to_wstring(::GetCurrentProcessId());
        m_ready = ::CreateEventW(nullptr, TRUE, FALSE, name.c_str());
        m_started =
            m_process.Start(L"lhl_hold_library.exe", name + (how == Hold::OpenOnly ? L" /open " : L" ") + dll);
    }
    ~LibraryHolder() { ::CloseHandle(m_ready); }
    LibraryHolder(const LibraryHolder&) = delete;
    LibraryHolder& operator=(const LibraryHolder&) = delete;
    bool WaitUntilLoaded() {
        return m_started && lhltest::PumpUntil([this] { return ::WaitForSingleObject(m_ready, 0) == WAIT_OBJECT_0; },
                                               20000);
    }
    void End() { m_process.Kill(); }

private:
    HANDLE m_ready = nullptr;
    bool m_started = false;
    Program m_process;
};

bool UserValue(const wchar_t* key, const wchar_t* name, std::wstring& value) {
    fw::CRegKey k;
    return k.Open(HKEY_CURRENT_USER, key, KEY_READ) == ERROR_SUCCESS && k.QueryStringValue(name, value) == ERROR_SUCCESS;
}

bool UserKeyExists(const wchar_t* key) {
    fw::CRegKey k;
    return k.Open(HKEY_CURRENT_USER, key, KEY_READ) == ERROR_SUCCESS;
}

// When the key or one of its values was last written.
uint64_t LastWritten(HKEY root, const wchar_t* key) {
    fw::CRegKey k;
    FILETIME written{};
    if (k.Open(root, key, KEY_READ) != ERROR_SUCCESS ||
        ::RegQueryInfoKeyW(k.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, &written) != ERROR_SUCCESS)
        return 0;
    return (static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
}

// The handler's value as Explorer and the launcher's options read it.
bool HandlerValueShown(const wchar_t* key) {
    fw::CRegKey k;
    std::wstring value;
    return k.Open(HKEY_CLASSES_ROOT, key, KEY_READ) == ERROR_SUCCESS && k.QueryStringValue(L"", value) == ERROR_SUCCESS &&
           !value.empty();
}

// The program file of the process whose launcher panel shows within the time given, and that
// process; an empty name when no panel shows.
std::wstring RunningLauncherFile(DWORD timeoutMs, DWORD* processId = nullptr) {
    HWND panel = nullptr;
    if (!lhltest::PumpUntil([&panel] { return (panel = lhl::FindLauncherPanel()) != nullptr; }, timeoutMs)) return L"";
    DWORD id = 0;
    ::GetWindowThreadProcessId(panel, &id);
    if (processId) *processId = id;
    std::wstring file;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    wchar_t path[MAX_PATH];
    DWORD length = MAX_PATH;
    if (process && ::QueryFullProcessImageNameW(process, 0, path, &length)) file.assign(path, length);
    if (process) ::CloseHandle(process);
    return Lower(file);
}

class Installer : public lhltest::CleanLauncherState {
protected:
    void SetUp() override {
        CleanLauncherState::SetUp();
        m_setup = lhltest::BinFolder() + L"..\\..\\LanternhopSetup.exe";
        ASSERT_TRUE(FileExists(m_setup)) << "the build made no setup (is NSIS installed?)";
        m_restrictedSetup = lhltest::BinFolder() + L"..\\..\\LanternhopSetupRestricted.exe";
        ASSERT_TRUE(FileExists(m_restrictedSetup));
        m_folder = fw::ShellFolderPath(CSIDL_LOCAL_APPDATA) + L"Programs\\Lanternhop Launcher\\";
        // Not a first start: the launcher would open its manual page in a browser.
        lhltest::WriteTestSettings();
        m_profile = std::make_unique<lhltest::ProfileSnapshot>(
            std::vector<std::wstring>{m_folder, fw::ShellFolderPath(CSIDL_PROGRAMS)});
    }
    void TearDown() override {
        // A test that stopped half-way leaves no installation to the next one.
        if (FileExists(m_folder + L"Uninstall.exe")) RunUninstaller(L"/DELETEDATA");
        CleanLauncherState::TearDown();
    }
    // The setup's exit code; STILL_ACTIVE when it did not end within a minute.
    DWORD RunSetup(const std::wstring& options, Build build = Build::AsBuilt) {
        Program setup;
        const std::wstring file = build == Build::AsBuilt ? m_setup : m_restrictedSetup;
        EXPECT_TRUE(setup.StartCommand(L"\"" + file + L"\" /S " + options));
        setup.WaitForExit(60000);
        return setup.ExitCode();
    }
    // The uninstaller copies itself away and goes on from there: done once its own entry, the
    // last thing it removes, is gone.
    void RunUninstaller(const std::wstring& options) {
        Program uninstall;
        ASSERT_TRUE(uninstall.StartCommand(L"\"" + m_folder + L"Uninstall.exe\" /S " + options));
        ASSERT_TRUE(uninstall.WaitForExit(60000));
        ASSERT_TRUE(lhltest::PumpUntil([&] { return !UserKeyExists(kUninstallKey); }, 60000))
            << "the uninstaller did not finish";
    }
    // In place, the uninstaller's own exit code is its result; it cannot delete itself then.
    // It acts on the folder given, the program folder unless told otherwise.
    DWORD RunUninstallerInPlace(const std::wstring& options, std::wstring folder = L"") {
        if (folder.empty()) folder = m_folder;
        Program uninstall;
        EXPECT_TRUE(uninstall.StartCommand(L"\"" + m_folder + L"Uninstall.exe\" /S " + options + L" _?=" +
                                           folder.substr(0, folder.size() - 1)));
        EXPECT_TRUE(uninstall.WaitForExit(60000));
        return uninstall.ExitCode();
    }
    std::wstring InstallInto() const { return L"/D=" + m_folder.substr(0, m_folder.size() - 1); }
    // Every key, value and file that was not there before the test began, and the program's
    // classes as HKEY_CLASSES_ROOT shows them (where Wine may register the type library for the
    // machine). With the data kept, the data key may stay, though without the program's path.
    std::vector<std::wstring> Leftovers(Data data) {
        std::vector<std::wstring> left;
        for (const wchar_t* key : kClassKeys)
            if (KeyExists(HKEY_CLASSES_ROOT, key)) left.push_back(std::wstring(L"HKCR\\") + key);
        for (const RunOnceValue& value : RunOnceCleanups()) left.push_back(L"RunOnce: " + value.name);
        const std::wstring vendor = std::wstring(L"HKCU\\") + kVendorKey, dataKey = std::wstring(L"HKCU\\") + kDataKey;
        // Windows deletes a RunOnce value, not its key, so a sign-in leaves the key the setup made.
        const std::wstring runOnce = std::wstring(L"HKCU\\") + kRunOnceKey;
        for (const std::wstring& name : m_profile->Added()) {
            if (name == runOnce) continue;
            const bool ofTheData = name == vendor || (name.compare(0, dataKey.size(), dataKey) == 0 &&
                                                      name != dataKey + L" : Path");
            if (data == Data::Deleted || !ofTheData) left.push_back(name);
        }
        return left;
    }
    void ExpectNothingOfTheProgramLeft(Data data = Data::Deleted) {
        std::wstring listed;
        for (const std::wstring& item : Leftovers(data)) listed += L"\n  " + item;
        EXPECT_TRUE(listed.empty()) << "left after uninstalling:" << Narrow(listed);
    }
    void ExpectInstalledAsBuilt(const wchar_t* file) {
        EXPECT_EQ(lhltest::ReadBytes(m_folder + file), lhltest::ReadBytes(lhltest::BinFolder() + L"..\\..\\dist\\" + file))
            << "not the built " << Narrow(file);
    }

    std::wstring m_setup;
    std::wstring m_restrictedSetup;
    std::wstring m_folder;
    std::unique_ptr<lhltest::ProfileSnapshot> m_profile;
};

} // namespace

TEST_F(Installer, InstallsStartsAndUninstallsKeepingThePersonalData) {
    ASSERT_EQ(RunSetup(L""), 0u);
    for (const wchar_t* file : {L"Lanternhop Launcher.exe", L"QuenvidTools.dll", L"QuenvidExtension.dll",
                                L"LHLConfigDelPersonalData.exe", L"helpstart.htm", L"Lang\\ChineseSimplified.ini",
                                L"Sounds\\default_active.wav", L"Images\\default.bmp", L"Uninstall.exe"})
        EXPECT_TRUE(FileExists(m_folder + file)) << "not installed: " << std::string(file, file + wcslen(file));
    std::wstring value;
    ASSERT_TRUE(UserValue(kDataKey, L"Path", value));
    EXPECT_EQ(value, m_folder);
    ASSERT_TRUE(UserValue(kClsidServer, L"", value)) << "the extension is not registered for the user";
    EXPECT_EQ(value, m_folder + L"QuenvidExtension.dll");
    ASSERT_TRUE(UserValue(kFileHandler, L"", value));
    EXPECT_EQ(value, L"{10846745-3ECC-4DD9-BB13-73744926CA86}");
    ASSERT_TRUE(UserValue(kRunKey, L"Lanternhop Launcher", value));
    EXPECT_EQ(value, L"\"" + m_folder + L"Lanternhop Launcher.exe\"") << "unquoted, Windows would start it with a tail";
    EXPECT_TRUE(UserKeyExists(kUninstallKey)) << "no entry in Apps & features";
    EXPECT_TRUE(FileExists(fw::ShellFolderPath(CSIDL_PROGRAMS) + L"Lanternhop Launcher.lnk"));

    Program launcher;
    ASSERT_TRUE(launcher.StartCommand(L"\"" + m_folder + L"Lanternhop Launcher.exe\""));
    HWND panel = launcher.WaitForWindow(L"#32770", L"Lanternhop Launcher", 20000);
    ASSERT_NE(panel, nullptr) << "the installed launcher showed no panel";
    EXPECT_TRUE(lhltest::PumpUntil([panel] { return ::IsWindowVisible(panel) != FALSE; }, 20000))
        << "the panel never became visible";

    // The uninstaller ends the running launcher itself.
    RunUninstaller(L"");
    EXPECT_TRUE(launcher.WaitForExit(10000)) << "the launcher was left running";
    ExpectNothingOfTheProgramLeft(Data::Kept);
    EXPECT_TRUE(FileExists(lhltest::DataFolder() + L"Lanternhop_LauncherConfig.dat")) << "the data went without asking";
}

// Asked to, the silent setup starts the installed launcher; the uninstaller ends it again.
TEST_F(Installer, WithoutTheOptionsAndWithTheDataDeletedNothingIsLeft) {
    ASSERT_EQ(RunSetup(L"/NOSTARTUP /NOSHELLMENU /RUN"), 0u);
    EXPECT_EQ(RunningLauncherFile(20000), Lower(m_folder + L"Lanternhop Launcher.exe")) << "/RUN started no launcher";
    std::wstring value;
    EXPECT_FALSE(UserValue(kRunKey, L"Lanternhop Launcher", value)) << "start-up was not asked for";
    // The keys are there for the launcher's own option, but without the handler.
    EXPECT_TRUE(UserKeyExists(kFileHandler));
    EXPECT_TRUE(UserKeyExists(kFolderHandler));
    EXPECT_FALSE(UserValue(kFileHandler, L"", value) && !value.empty());

    // A restart would move it over the DLL's name in a folder that is otherwise gone.
    lhltest::WriteBytes(m_folder + L"QuenvidExtension.dll.new", {'o', 'l', 'd'});
    RunUninstaller(L"/DELETEDATA");
    ExpectNothingOfTheProgramLeft();
    EXPECT_FALSE(FolderExists(lhltest::DataFolder())) << "personal data left after choosing to delete it";
    EXPECT_FALSE(UserKeyExists(kDataKey));
    EXPECT_FALSE(UserKeyExists(kVendorKey)) << "an empty vendor key stayed";
}

// The user may install into a folder of their own, shared with other programs: their files
// outlive an upgrade and the uninstall, those whose names end, or whose short names end, in
// ".old" and those in sub-folders that share the program's own "Lang", "Sounds" and "Images".
// An uninstaller pointed at a folder without the program changes nothing at all.
TEST_F(Installer, AFolderOfTheUsersOwnKeepsItsOtherFiles) {
    m_folder = fw::ShellFolderPath(CSIDL_LOCAL_APPDATA) + L"My Tools\\";
    const std::wstring elsewhere = fw::ShellFolderPath(CSIDL_LOCAL_APPDATA) + L"Other Tools\\";
    const std::vector<std::wstring> subFolders = {L"Lang", L"Sounds", L"Images"};
    for (const std::wstring& folder : {m_folder, elsewhere}) {
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
        for (const std::wstring& sub : subFolders) ASSERT_TRUE(::CreateDirectoryW((folder + sub).c_str(), nullptr));
    }
    const std::vector<std::wstring> own = {L"notes.old",          L"budget 2025.older", L"QuenvidTools.old",
                                           L"Lang\\Deutsch.ini", L"Sounds\\chime.wav", L"Images\\logo.png"};
    const std::vector<uint8_t> mine = {'m', 'i', 'n', 'e'};
    for (const std::wstring& name : own) lhltest::WriteBytes(m_folder + name, mine);
    lhltest::WriteBytes(elsewhere + L"Lang\\Deutsch.ini", mine);
    ASSERT_EQ(RunSetup(InstallInto()), 0u);
    ASSERT_TRUE(FileExists(m_folder + L"Uninstall.exe")) << "not installed into the chosen folder";
    EXPECT_EQ(RunSetup(InstallInto()), 0u);

    EXPECT_EQ(RunUninstallerInPlace(L"/DELETEDATA", elsewhere), kAborted) << "it did not say it found no installation";
    EXPECT_EQ(lhltest::ReadBytes(elsewhere + L"Lang\\Deutsch.ini"), mine) << "a folder without the program was changed";
    EXPECT_TRUE(UserKeyExists(kUninstallKey) && UserKeyExists(kDataKey)) << "the installation elsewhere lost its entries";
    std::wstring value;
    EXPECT_TRUE(UserValue(kRunKey, kProduct, value)) << "the installation elsewhere lost its start-up value";

    RunUninstaller(L"/DELETEDATA");
    for (const std::wstring& name : own) EXPECT_EQ(lhltest::ReadBytes(m_folder + name), mine) << Narrow(name);
    EXPECT_FALSE(FileExists(m_folder + L"Lang\\ChineseSimplified.ini") || FileExists(m_folder + L"Images\\default.bmp"));
    for (const std::wstring& folder : {m_folder, elsewhere}) {
        for (const std::wstring& name : own) ::DeleteFileW((folder + name).c_str());
        for (const std::wstring& sub : subFolders) EXPECT_TRUE(::RemoveDirectoryW((folder + sub).c_str())) << Narrow(sub);
        EXPECT_TRUE(::RemoveDirectoryW(folder.c_str())) << "more was left than the user's files";
    }
}

// An upgrade offers start-up and the Explorer menu entry as they are now: switched off in the
// launcher's options since (which delete the Run value and the handler keys' values through
// HKEY_CLASSES_ROOT, the user's keys on Windows), they stay off after a silent upgrade.
TEST_F(Installer, AnUpgradeKeepsStartupAndTheMenuEntryAsTheUserSetThem) {
    ASSERT_EQ(RunSetup(L""), 0u);
    ASSERT_EQ(::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kProduct), ERROR_SUCCESS);
    for (const wchar_t* key : {kFileHandlerClass, kFolderHandlerClass}) {
        fw::CRegKey shown;
        if (shown.Open(HKEY_CLASSES_ROOT, key) == ERROR_SUCCESS) shown.DeleteValue(L"");
    }
    // Wine's HKEY_CLASSES_ROOT shows the machine's classes only: the user's values go as well.
    for (const wchar_t* key : {kFileHandler, kFolderHandler}) ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"");

    ASSERT_EQ(RunSetup(L""), 0u);
    EXPECT_EQ(RunningLauncherFile(4000), L"") << "a silent upgrade without /RUN started the launcher";
    std::wstring value;
    EXPECT_FALSE(UserValue(kRunKey, kProduct, value)) << "start-up was switched on again";
    for (const wchar_t* key : {kFileHandlerClass, kFolderHandlerClass})
        EXPECT_FALSE(HandlerValueShown(key)) << "the menu entry was switched on again: " << Narrow(key);
    EXPECT_FALSE(UserValue(kFileHandler, L"", value));
}

TEST_F(Installer, AnUpgradeEndsTheRunningLauncherAndReplacesItsFiles) {
    ASSERT_EQ(RunSetup(L""), 0u);
    // An earlier version's manual, so that the upgrade shows it wrote its own.
    lhltest::WriteBytes(m_folder + L"helpstart.htm", {'o', 'l', 'd'});
    // Left by an earlier setup for a restart to move over the DLL: it must not outlive this one.
    lhltest::WriteBytes(m_folder + L"QuenvidTools.dll.new", {'o', 'l', 'd'});
    // The user's work: a setting changed and an item on the first page.
    lhltest::WriteTestSettings(5);
    const std::wstring item = lhltest::DataFolder() + L"kept.txt";
    lhltest::WriteBytes(item, {'k'});
    ASSERT_EQ(lhltest::BareStore().Store().AddFileItem(item), 0);
    Program launcher;
    ASSERT_TRUE(launcher.StartCommand(L"\"" + m_folder + L"Lanternhop Launcher.exe\""));
    ASSERT_NE(launcher.WaitForPanel(20000), nullptr) << "the installed launcher showed no panel";

    EXPECT_EQ(RunSetup(L""), 0u) << "the upgrade did not go through";
    // The setup waits for the process itself, so it is gone by the time the setup ends.
    EXPECT_FALSE(launcher.IsRunning()) << "the setup finished while the launcher still ran";
    EXPECT_EQ(launcher.ExitCode(), 0u) << "the launcher was killed instead of ending as its Exit does";
    // The user had it running: it runs again, the new version.
    DWORD restarted = 0;
    EXPECT_EQ(RunningLauncherFile(20000, &restarted), Lower(m_folder + L"Lanternhop Launcher.exe"))
        << "the launcher the upgrade ended was not started again";
    EXPECT_NE(restarted, launcher.ProcessId());
    lhl::LauncherConfig config;
    ASSERT_EQ(config.LoadConfig(lhl::kConfigFileName), 0);
    EXPECT_EQ(config.Settings().unitsPerRow, 5) << "the changed setting was lost";
    lhltest::BareStore after;
    ASSERT_FALSE(after.Store().ItemLists().empty()) << "the pages were lost";
    std::vector<std::wstring> targets;
    for (const lhl::LauncherItem& kept : after.Store().ItemLists()[0])
        if (kept.HoldsItem()) targets.push_back(kept.target);
    EXPECT_EQ(targets, std::vector<std::wstring>{item}) << "the item on the first page was lost";
    ExpectInstalledAsBuilt(L"Lanternhop Launcher.exe");
    ExpectInstalledAsBuilt(L"QuenvidTools.dll");
    ExpectInstalledAsBuilt(L"helpstart.htm");
    EXPECT_FALSE(FileExists(m_folder + L"QuenvidTools.dll.new")) << "a restart would bring the old DLL back";
}

// A file that can be neither replaced nor renamed (a virus scanner has it open; the program
// file also while it runs in another session) stops the upgrade before anything changes: a DLL
// already moved aside is put back, and nothing waits for a restart to take a DLL's name.
class HeldFile : public Installer, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(HeldFile, StopsTheUpgradeUnchanged) {
    ASSERT_EQ(RunSetup(L""), 0u);
    lhltest::WriteBytes(m_folder + L"helpstart.htm", {'o', 'l', 'd'});
    std::vector<uint64_t> before;
    const std::vector<std::wstring> files = {L"QuenvidTools.dll", L"QuenvidExtension.dll", L"Lanternhop Launcher.exe",
                                             L"LHLConfigDelPersonalData.exe"};
    for (const std::wstring& file : files) before.push_back(FileIdentity(m_folder + file));
    LibraryHolder scanner(m_folder + GetParam(), Hold::OpenOnly);
    ASSERT_TRUE(scanner.WaitUntilLoaded());

    EXPECT_EQ(RunSetup(L""), kAborted) << "the setup went on with a file it could not replace";
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(FileIdentity(m_folder + files[i]), before[i]) << "replaced or not put back: " << Narrow(files[i]);
    EXPECT_EQ(lhltest::ReadBytes(m_folder + L"helpstart.htm"), (std::vector<uint8_t>{'o', 'l', 'd'}));
    for (const wchar_t* name : {L"QuenvidTools.dll.1.old", L"QuenvidExtension.dll.1.old", L"QuenvidTools.dll.new",
                                L"QuenvidExtension.dll.new"})
        EXPECT_FALSE(FileExists(m_folder + name)) << Narrow(name);
    EXPECT_TRUE(RunOnceCleanups().empty());

    // Once the file is free the same setup goes through.
    scanner.End();
    EXPECT_EQ(RunSetup(L""), 0u);
    ExpectInstalledAsBuilt(GetParam());
    ExpectInstalledAsBuilt(L"helpstart.htm");
}

INSTANTIATE_TEST_SUITE_P(Installer, HeldFile, ::testing::Values(L"QuenvidExtension.dll", L"Lanternhop Launcher.exe"));

// With one of its dialogs open the launcher does not end on request: the setup gives up after
// its time limit, reports it (the box is answered Cancel in a silent run), and changes nothing.
TEST_F(Installer, AnUpgradeStopsWhenTheLauncherDoesNotEnd) {
    ASSERT_EQ(RunSetup(L""), 0u);
    lhltest::WriteBytes(m_folder + L"helpstart.htm", {'o', 'l', 'd'});
    Program launcher;
    ASSERT_TRUE(launcher.StartCommand(L"\"" + m_folder + L"Lanternhop Launcher.exe\""));
    HWND panel = launcher.WaitForPanel(20000);
    ASSERT_NE(panel, nullptr);
    ::PostMessageW(panel, WM_COMMAND, kTrayAbout, 0);
    ASSERT_NE(launcher.WaitForWindow(L"#32770", L"About Lanternhop Launcher", 20000), nullptr);

    const DWORD start = ::GetTickCount();
    EXPECT_EQ(RunSetup(L""), kAborted) << "the setup did not report that it could not go on";
    EXPECT_GE(::GetTickCount() - start, 9000u) << "the setup did not wait for the launcher to end";
    EXPECT_TRUE(launcher.IsRunning());
    EXPECT_EQ(lhltest::ReadBytes(m_folder + L"helpstart.htm"), (std::vector<uint8_t>{'o', 'l', 'd'}))
        << "files were replaced under a running launcher";
    launcher.Kill();
}

// Windows lets a DLL in use be renamed but not replaced: the held copy moves aside and goes at
// the next restart, the new one takes its name at once. Under Wine a mapped DLL cannot be
// deleted either, and renaming it works as on Windows.
TEST_F(Installer, AnUpgradeReplacesTheExtensionThatExplorerHolds) {
    ASSERT_EQ(RunSetup(L""), 0u);
    const std::wstring dll = m_folder + L"QuenvidExtension.dll";
    LibraryHolder explorer(dll);
    ASSERT_TRUE(explorer.WaitUntilLoaded()) << "the helper could not load the installed extension";
    const uint64_t heldCopy = FileIdentity(dll);
    const RestartDeletions deletions;
    const size_t signInCleanups = RunOnceCleanups().size();

    EXPECT_EQ(RunSetup(L""), kRestartNeeded) << "the setup did not say that a restart completes it";
    EXPECT_NE(FileIdentity(dll), heldCopy) << "the DLL in use was not replaced";
    ExpectInstalledAsBuilt(L"QuenvidExtension.dll");
    const std::wstring aside = dll + L".1.old";
    EXPECT_EQ(FileIdentity(aside), heldCopy) << "the held copy was not moved aside";
    EXPECT_TRUE(deletions.AskedFor(aside) || RunOnceCleanups().size() > signInCleanups) << "nothing removes the old copy";
    std::wstring value;
    ASSERT_TRUE(UserValue(kClsidServer, L"", value));
    EXPECT_EQ(value, dll) << "the extension is registered under another file";

    // Once Explorer lets it go, the uninstaller takes the old copy too.
    explorer.End();
    RunUninstaller(L"/DELETEDATA");
    ExpectNothingOfTheProgramLeft();
}

// Wine lets the prefix's user ask for a deletion at restart, as an administrator may on Windows;
// a Windows user without that right gets RunOnce values instead, which this test does not see.
TEST_F(Installer, AnUninstallLeavesAHookLibraryInUseForTheRestart) {
    ASSERT_EQ(RunSetup(L""), 0u);
    const std::wstring dll = m_folder + L"QuenvidTools.dll";
    LibraryHolder hooked(dll);
    ASSERT_TRUE(hooked.WaitUntilLoaded());
    const RestartDeletions deletions;

    EXPECT_EQ(RunUninstallerInPlace(L"/DELETEDATA"), kRestartNeeded) << "the result does not say a restart completes it";
    EXPECT_FALSE(UserKeyExists(kUninstallKey));
    EXPECT_FALSE(FileExists(dll)) << "the name stays taken, so a new installation could not use it";
    const std::wstring aside = dll + L".1.old";
    EXPECT_TRUE(FileExists(aside));
    EXPECT_TRUE(deletions.AskedFor(aside)) << "the held copy is not deleted at the next restart";
    std::wstring pending;
    for (const std::wstring& source : DeletedAtRestart()) pending += L"\n  " + source;
    EXPECT_TRUE(deletions.AskedFor(m_folder.substr(0, m_folder.size() - 1)))
        << "the program folder does not go with it; deleted at restart:" << Narrow(pending);
    EXPECT_FALSE(FileExists(m_folder + L"Lanternhop Launcher.exe"));
    EXPECT_FALSE(UserKeyExists(kVendorKey));
    hooked.End();
    ::DeleteFileW(aside.c_str());
    ::DeleteFileW((m_folder + L"Uninstall.exe").c_str());
    ::RemoveDirectoryW(m_folder.c_str());
    ExpectNothingOfTheProgramLeft();
}

// A DLL the uninstaller can neither delete nor rename stays, and only it: its own name is never
// left for the restart to delete, where a new installation may have put a newer copy by then.
TEST_F(Installer, AnUninstallLeavesADllItCannotMoveAndLeavesNothingToTheRestart) {
    ASSERT_EQ(RunSetup(L""), 0u);
    const std::wstring dll = m_folder + L"QuenvidTools.dll";
    LibraryHolder scanner(dll, Hold::OpenOnly);
    ASSERT_TRUE(scanner.WaitUntilLoaded());
    const RestartDeletions deletions;

    RunUninstaller(L"/DELETEDATA");
    EXPECT_TRUE(FileExists(dll));
    EXPECT_FALSE(deletions.AskedFor(dll)) << "the restart would delete whatever then has this name";
    EXPECT_TRUE(RunOnceCleanups().empty());
    EXPECT_FALSE(FileExists(m_folder + L"Lanternhop Launcher.exe"));
    EXPECT_FALSE(FileExists(m_folder + L"QuenvidExtension.dll"));
    scanner.End();
    ::DeleteFileW(dll.c_str());
    ::RemoveDirectoryW(m_folder.c_str());
    ExpectNothingOfTheProgramLeft();
}

// Without the right to ask Windows for deletions at restart, the setup leaves them to RunOnce
// values of the user: the next sign-in removes the old copies, and after an uninstall the folder.
TEST_F(Installer, WithoutTheRightToAskWindowsTheNextSignInRemovesTheOldCopies) {
    ASSERT_EQ(RunSetup(L"", Build::Restricted), 0u);
    const std::wstring extension = m_folder + L"QuenvidExtension.dll", tools = m_folder + L"QuenvidTools.dll";
    LibraryHolder explorer(extension);
    ASSERT_TRUE(explorer.WaitUntilLoaded());
    const RestartDeletions deletions;
    EXPECT_EQ(RunSetup(L"", Build::Restricted), kRestartNeeded);
    EXPECT_FALSE(deletions.AskedFor(extension + L".1.old")) << "the restricted build asked Windows after all";
    explorer.End();
    EXPECT_EQ(SignIn(), 1u) << "not one clean-up for the one copy in use";
    EXPECT_FALSE(FileExists(extension + L".1.old")) << "the sign-in left the old copy";
    ExpectInstalledAsBuilt(L"QuenvidExtension.dll");
    ExpectInstalledAsBuilt(L"Lanternhop Launcher.exe");

    LibraryHolder hooked(tools);
    ASSERT_TRUE(hooked.WaitUntilLoaded());
    RunUninstaller(L"/DELETEDATA");
    hooked.End();
    EXPECT_EQ(SignIn(), 1u);
    EXPECT_FALSE(FolderExists(m_folder)) << "the sign-in left the emptied program folder";
    ExpectNothingOfTheProgramLeft();
}

// A launcher whose process the setup may not open still gets its time to end: the setup waits
// for the panel to go, rather than giving up at once.
TEST_F(Installer, WithoutAHandleToTheLauncherAnUpgradeWaitsForItsPanel) {
    ASSERT_EQ(RunSetup(L"", Build::Restricted), 0u);
    Program launcher;
    ASSERT_TRUE(launcher.StartCommand(L"\"" + m_folder + L"Lanternhop Launcher.exe\""));
    ASSERT_NE(launcher.WaitForPanel(20000), nullptr);

    // Its process may still be ending when the panel has gone, its hook library then moved
    // aside for the restart.
    const DWORD result = RunSetup(L"", Build::Restricted);
    EXPECT_TRUE(result == 0 || result == kRestartNeeded) << "the upgrade did not wait for the launcher: " << result;
    EXPECT_TRUE(launcher.WaitForExit(10000));
    EXPECT_EQ(launcher.ExitCode(), 0u);
    ExpectInstalledAsBuilt(L"Lanternhop Launcher.exe");
    SignIn();
}

// In a folder whose path holds a "%" a user without the right to ask Windows gets no sign-in
// clean-up (cmd would expand the name): nothing removes a copy in use, so neither the setup nor
// the uninstaller claims that a restart completes it. The folder's name is a valid short name,
// so that its short form keeps the "%".
TEST_F(Installer, WhenNothingRemovesACopyInUseNoRestartIsClaimed) {
    m_folder = fw::ShellFolderPath(CSIDL_LOCAL_APPDATA) + L"Tools%\\";
    ASSERT_EQ(RunSetup(InstallInto(), Build::Restricted), 0u);
    const std::wstring extension = m_folder + L"QuenvidExtension.dll", tools = m_folder + L"QuenvidTools.dll";
    {
        LibraryHolder explorer(extension);
        ASSERT_TRUE(explorer.WaitUntilLoaded());
        EXPECT_EQ(RunSetup(InstallInto(), Build::Restricted), 0u) << "a restart was said to complete the update";
        EXPECT_TRUE(FileExists(extension + L".1.old"));
        ExpectInstalledAsBuilt(L"QuenvidExtension.dll");
        explorer.End();
    }
    LibraryHolder hooked(tools);
    ASSERT_TRUE(hooked.WaitUntilLoaded());
    EXPECT_EQ(RunUninstallerInPlace(L"/DELETEDATA"), 0u) << "a restart was said to complete the removal";
    EXPECT_TRUE(RunOnceCleanups().empty());
    EXPECT_FALSE(FileExists(extension + L".1.old")) << "the uninstall left the copy no longer in use";
    hooked.End();
    ::DeleteFileW((tools + L".1.old").c_str());
    ::DeleteFileW((m_folder + L"Uninstall.exe").c_str());
    EXPECT_TRUE(::RemoveDirectoryW(m_folder.c_str())) << "more was left than the copy in use";
}

// The extension's registration writes the handler keys through HKEY_CLASSES_ROOT. Windows puts
// a key that the user's classes lack into the machine's classes when the writer holds a full
// administrator token, where an uninstaller without it can never remove it; so the user's
// handler keys are written before the registration, which then writes into them, and the
// uninstaller removes the keys from both places. Wine's HKEY_CLASSES_ROOT is the machine's
// classes alone, so here the registration always writes there, as an administrator's would on
// Windows: the test checks the order by the keys' last-write times, and that both places are
// clean after the uninstall.
TEST_F(Installer, TheHandlerKeysAreTheUsersBeforeTheRegistrationAndGoFromBothPlaces) {
    ASSERT_EQ(RunSetup(L""), 0u);
    const uint64_t registered = LastWritten(HKEY_CURRENT_USER, kClsidServer);
    ASSERT_NE(registered, 0u);
    for (const wchar_t* key : {kFileHandler, kFolderHandler}) {
        const uint64_t written = LastWritten(HKEY_CURRENT_USER, key);
        EXPECT_NE(written, 0u) << Narrow(key);
        EXPECT_LE(written, registered) << "the user's key was written after the registration: " << Narrow(key);
    }
    RunUninstaller(L"");
    for (const wchar_t* key : {kFileHandler, kFolderHandler}) {
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key)) << Narrow(key);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key)) << "left in the machine's classes: " << Narrow(key);
    }
    for (const wchar_t* key : {kFileHandlerClass, kFolderHandlerClass})
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << Narrow(key);
}
