// Registration as the system's tool does it: regsvr32 run as a real process on the built library,
// and the registered class used the way Explorer uses it.
#include "Program.h"
#include "Registrar.h"
#include "TestSupport.h"

namespace {

constexpr const wchar_t* kClsidKey = L"CLSID\\{10846745-3ECC-4DD9-BB13-73744926CA86}";
constexpr const wchar_t* kFileHandler = L"*\\shellex\\ContextMenuHandlers\\1LHLauncher";
constexpr const wchar_t* kFolderHandler = L"Directory\\shellex\\ContextMenuHandlers\\1LHLauncher";
constexpr const wchar_t* kClsidText = L"{10846745-3ECC-4DD9-BB13-73744926CA86}";
constexpr const wchar_t* kTypeLibKey = L"TypeLib\\{1FEB5240-7F06-4EDA-ABD1-74A79DBA54C4}";
constexpr const wchar_t* kInterfaceKey = L"Interface\\{107A05F8-191B-4E85-9FCC-4DF6F181031C}";

bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

// The value's text, or "<none>" when the key or value is missing.
std::wstring Value(HKEY root, const std::wstring& path, const wchar_t* name = nullptr) {
    wchar_t buffer[600] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    if (::RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS) return L"<none>";
    return buffer;
}

DWORD SubKeyCount(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    DWORD count = 0;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    ::RegCloseKey(key);
    return count;
}

void RemoveEverything() {
    HKEY userClasses = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &userClasses, nullptr);
    for (HKEY root : {HKEY_CLASSES_ROOT, userClasses}) {
        for (const wchar_t* key : {kClsidKey, L"QuenvidExtension.LHLExtension", L"QuenvidExtension.LHLExtension.1",
                                   L"AppID\\{4E89DC3A-3EFD-4437-BC1C-E1336335474A}", L"AppID\\QuenvidExtension.DLL",
                                   kTypeLibKey, kInterfaceKey, kFileHandler, kFolderHandler})
            ::RegDeleteTreeW(root, key), ::RegDeleteKeyW(root, key);
    }
    ::RegCloseKey(userClasses);
}

// regsvr32 writes the machine's and the user's class keys: only in the throwaway prefix.
class Registration : public lhltest::ThrowawayPrefixOnly {
protected:
    void SetUp() override { RemoveEverything(); }
    void TearDown() override {
        RemoveEverything();
        lhltest::DeleteLauncherRegistryKey();
        lhltest::RemoveFolder(StandInFolder());
    }
    static std::wstring Library() { return lhltest::BinFolder() + L"QuenvidExtension.dll"; }
    static std::wstring StandInFolder() { return lhltest::BinFolder() + L"stand-in launcher\\"; }

    static void RegSvr32(const std::wstring& switches) {
        wchar_t system[MAX_PATH] = {};
        ::GetSystemDirectoryW(system, MAX_PATH);
        lhltest::Program tool;
        ASSERT_TRUE(tool.StartCommand(std::wstring(L"\"") + system + L"\\regsvr32.exe\" /s " + switches + L" \"" +
                                      Library() + L"\""));
        ASSERT_TRUE(tool.WaitForExit(60000)) << "regsvr32 did not end";
        EXPECT_EQ(tool.ExitCode(), 0u) << "regsvr32 " << std::string(switches.begin(), switches.end()) << " failed";
    }
};

} // namespace

TEST_F(Registration, RegisteringWritesTheClassTheScriptsAndBothHandlerKeys) {
    RegSvr32(L"");
    const HKEY cr = HKEY_CLASSES_ROOT;
    const std::wstring clsid = kClsidKey;
    EXPECT_EQ(Value(cr, clsid), L"LHLExtension Class");
    EXPECT_EQ(Value(cr, clsid + L"\\ProgID"), L"QuenvidExtension.LHLExtension.1");
    EXPECT_EQ(Value(cr, clsid + L"\\VersionIndependentProgID"), L"QuenvidExtension.LHLExtension");
    EXPECT_TRUE(KeyExists(cr, clsid + L"\\Programmable"));
    EXPECT_EQ(Value(cr, clsid + L"\\InprocServer32"), lhltest::BinFolder() + L"QuenvidExtension.dll");
    EXPECT_EQ(Value(cr, clsid + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(Value(cr, clsid + L"\\TypeLib"), L"{1FEB5240-7F06-4EDA-ABD1-74A79DBA54C4}");
    EXPECT_EQ(Value(cr, L"QuenvidExtension.LHLExtension.1"), L"LHLExtension Class");
    EXPECT_EQ(Value(cr, L"QuenvidExtension.LHLExtension.1\\CLSID"), kClsidText);
    EXPECT_EQ(Value(cr, L"QuenvidExtension.LHLExtension"), L"LHLExtension Class");
    EXPECT_EQ(Value(cr, L"QuenvidExtension.LHLExtension\\CLSID"), kClsidText);
    EXPECT_EQ(Value(cr, L"QuenvidExtension.LHLExtension\\CurVer"), L"QuenvidExtension.LHLExtension.1");
    EXPECT_EQ(Value(cr, L"AppID\\{4E89DC3A-3EFD-4437-BC1C-E1336335474A}"), L"QuenvidExtension");
    EXPECT_EQ(Value(cr, L"AppID\\QuenvidExtension.DLL", L"AppID"), L"{4E89DC3A-3EFD-4437-BC1C-E1336335474A}");
    EXPECT_EQ(Value(cr, kFileHandler), kClsidText);
    EXPECT_EQ(Value(cr, kFolderHandler), kClsidText);
    // Under the locale the library declares, 0x0409, which is also where removal looks.
    const std::wstring typeLib = kTypeLibKey;
    EXPECT_EQ(Value(cr, typeLib + L"\\1.0\\409\\win64"), Library()) << "the type library is not registered under 409";
    EXPECT_FALSE(KeyExists(cr, typeLib + L"\\1.0\\0")) << "the type library was registered under locale 0";
    EXPECT_EQ(Value(cr, std::wstring(kInterfaceKey) + L"\\TypeLib"), L"{1FEB5240-7F06-4EDA-ABD1-74A79DBA54C4}");
}

TEST_F(Registration, RegisteringTwiceLeavesOneClassKeyAndUnregisteringKeepsEmptyHandlerKeys) {
    RegSvr32(L"");
    const DWORD classes = SubKeyCount(HKEY_CLASSES_ROOT, L"CLSID");
    RegSvr32(L"");
    EXPECT_EQ(SubKeyCount(HKEY_CLASSES_ROOT, L"CLSID"), classes);
    EXPECT_EQ(SubKeyCount(HKEY_CLASSES_ROOT, kClsidKey), 5u) << "ProgID, VersionIndependentProgID, Programmable, InprocServer32, TypeLib";
    RegSvr32(L"/u");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClsidKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"QuenvidExtension.LHLExtension"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"AppID\\QuenvidExtension.DLL"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"AppID")) << "AppID itself is never removed";
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kFileHandler)) << "the handler keys stay";
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, kFileHandler), L"<none>") << "the handler key kept its class";
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, kFolderHandler), L"<none>");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey)) << "the type library is still registered";
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kInterfaceKey)) << "the interface is still registered";
}

// Earlier builds declared no locale, so their type library went under locale 0; removing the
// current build takes such a registration of the same file away too, and nothing of another's.
TEST_F(Registration, UnregisteringAlsoRemovesAnEarlierLocaleNeutralRegistrationOfThisFile) {
    RegSvr32(L"");
    const std::wstring version = std::wstring(kTypeLibKey) + L"\\1.0";
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CLASSES_ROOT, (version + L"\\0\\win64").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring path = Library();
    ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                     static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    RegSvr32(L"/u");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey)) << "a locale-neutral registration of this file stayed";
}

// lhl_invoke_menu creates the registered class through COM and chooses the entry, as Explorer
// does: registration, "Path" and a selection longer than MAX_PATH meet end to end. Registered
// machine-wide: Wine's COM looks up classes under HKLM\Software\Classes only, not the user's.
TEST_F(Registration, TheRegisteredClassStartsTheLauncherWithTheWholePath) {
    RegSvr32(L"");
    ::CreateDirectoryW(StandInFolder().c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW((lhltest::BinFolder() + L"lhl_record_run.exe").c_str(),
                            (StandInFolder() + L"Lanternhop Launcher.exe").c_str(), FALSE));
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\QuenvidWorks\\Lanternhop", 0, nullptr, 0, KEY_WRITE,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring folder = StandInFolder();
    ::RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);

    std::wstring selected = L"C:\\Some Projects";
    while (selected.size() < 280) selected += L"\\sub folder";
    lhltest::Program menu;
    ASSERT_TRUE(menu.Start(L"lhl_invoke_menu.exe", selected));
    ASSERT_TRUE(menu.WaitForExit(30000));
    EXPECT_EQ(menu.ExitCode(), 0u) << "the registered class could not be created or refused the command";
    const std::wstring record = StandInFolder() + L"ran.txt";
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(lhltest::PumpUntil([&] {
        if (lhltest::FileExists(record)) bytes = lhltest::ReadBytes(record);
        return !bytes.empty();
    }, 20000)) << "the launcher was not started";
    const std::wstring commandLine(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    const std::wstring tail = L" " + selected;
    ASSERT_GE(commandLine.size(), tail.size());
    EXPECT_EQ(commandLine.substr(commandLine.size() - tail.size()), tail) << "the path did not arrive whole";
    RegSvr32(L"/u");
}

TEST_F(Registration, DllInstallWithUserRegistersPerUserAndWithUsersMachineWide) {
    RegSvr32(L"/n /i:USER");
    EXPECT_EQ(Value(HKEY_CURRENT_USER, std::wstring(L"Software\\Classes\\") + kClsidKey), L"LHLExtension Class");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::wstring(L"Software\\Classes\\") + kClsidKey));
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, kFileHandler), kClsidText) << "handler keys go to the classes root in either mode";
    RemoveEverything();
    RegSvr32(L"/n /i:users");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, std::wstring(L"Software\\Classes\\") + kClsidKey), L"LHLExtension Class");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::wstring(L"Software\\Classes\\") + kClsidKey));
}

TEST(Registrar, ScriptsParseWithTheirModifiersValuesAndReplacements) {
    const std::wstring script =
        L"HKCR\n{\n NoRemove Outer\n {\n  ForceRemove {10846745-3ECC-4DD9-BB13-73744926CA86} = s '%NAME% says ''hi'''\n"
        L"  {\n   val Model = s 'Apartment'\n   'Empty'\n  }\n  Plain = s '%UNKNOWN%'\n }\n}\n";
    std::vector<qx::RegScriptKey> keys;
    ASSERT_TRUE(qx::ParseRegScript(script, {{L"NAME", L"Lantern"}}, keys));
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_TRUE(keys[0].noRemove);
    ASSERT_EQ(keys[0].children.size(), 2u);
    const qx::RegScriptKey& guid = keys[0].children[0];
    EXPECT_EQ(guid.name, L"{10846745-3ECC-4DD9-BB13-73744926CA86}");
    EXPECT_TRUE(guid.forceRemove);
    EXPECT_EQ(guid.defaultValue, L"Lantern says 'hi'");
    ASSERT_EQ(guid.values.size(), 1u);
    EXPECT_EQ(guid.values[0].second, L"Apartment");
    ASSERT_EQ(guid.children.size(), 1u);
    EXPECT_FALSE(guid.children[0].hasDefault) << "an empty key";
    EXPECT_EQ(keys[0].children[1].defaultValue, L"%UNKNOWN%") << "an unknown replacement stays as written";
    for (const wchar_t* bad : {L"", L"HKLM { }", L"HKCR { Key = 'no type' }", L"HKCR { Open {", L"HKCR { val X = s 'y' }"}) {
        std::vector<qx::RegScriptKey> out;
        EXPECT_FALSE(qx::ParseRegScript(bad, {}, out)) << std::string(bad, bad + wcslen(bad)).c_str();
    }
}
