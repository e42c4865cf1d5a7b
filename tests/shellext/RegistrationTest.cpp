// Registration as the system's tool does it: regsvr32 run as a real process on the built library.
#include "Program.h"
#include "Registrar.h"
#include "TestSupport.h"

namespace {

constexpr const wchar_t* kClsidKey = L"CLSID\\{10846745-3ECC-4DD9-BB13-73744926CA86}";
constexpr const wchar_t* kFileHandler = L"*\\shellex\\ContextMenuHandlers\\1LHLauncher";
constexpr const wchar_t* kFolderHandler = L"Directory\\shellex\\ContextMenuHandlers\\1LHLauncher";
constexpr const wchar_t* kClsidText = L"{10846745-3ECC-4DD9-BB13-73744926CA86}";

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
                                   L"TypeLib\\{1FEB5240-7F06-4EDA-ABD1-74A79DBA54C4}", kFileHandler, kFolderHandler})
            ::RegDeleteTreeW(root, key), ::RegDeleteKeyW(root, key);
    }
    ::RegCloseKey(userClasses);
}

class Registration : public ::testing::Test {
protected:
    void SetUp() override { RemoveEverything(); }
    void TearDown() override { RemoveEverything(); }

    static void RegSvr32(const std::wstring& switches) {
        wchar_t system[MAX_PATH] = {};
        ::GetSystemDirectoryW(system, MAX_PATH);
        lhltest::Program tool;
        ASSERT_TRUE(tool.StartCommand(std::wstring(L"\"") + system + L"\\regsvr32.exe\" /s " + switches + L" \"" +
                                      lhltest::BinFolder() + L"QuenvidExtension.dll\""));
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
    EXPECT_TRUE(KeyExists(cr, L"TypeLib\\{1FEB5240-7F06-4EDA-ABD1-74A79DBA54C4}\\1.0")) << "the type library was not registered";
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
