// The context-menu handler as Explorer uses it: the real library loaded into this process, a
// data object of the test's own offering CF_HDROP, and a stand-in launcher that records how it
// was started.
#include "ComInit.h"
#include "DropData.h"
#include "Guids.h"
#include "LHLExtension.h"
#include "RegKey.h"
#include "TestSupport.h"
#include <shellapi.h>
#include <shlobj.h>

using lhltest::DropData;

namespace {

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using CanUnloadFn = HRESULT(WINAPI*)();

class ExtensionTest : public lhltest::CleanLauncherState {
protected:
    void SetUp() override {
        CleanLauncherState::SetUp();
        m_library = ::LoadLibraryW((lhltest::BinFolder() + L"QuenvidExtension.dll").c_str());
        ASSERT_NE(m_library, nullptr) << "the extension library did not load";
        m_getClassObject = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(::GetProcAddress(m_library, "DllGetClassObject")));
        m_canUnload = reinterpret_cast<CanUnloadFn>(reinterpret_cast<void*>(::GetProcAddress(m_library, "DllCanUnloadNow")));
        ASSERT_TRUE(m_getClassObject && m_canUnload);
    }
    void TearDown() override {
        ::FreeLibrary(m_library);
        lhltest::RemoveFolder(StandInFolder());
        CleanLauncherState::TearDown();
    }
    template <typename T>
    void Create(fw::ComPtr<T>& out, REFIID riid) {
        fw::ComPtr<IClassFactory> factory;
        ASSERT_EQ(m_getClassObject(qx::kClsidExtension, IID_IClassFactory, factory.PutVoid()), S_OK);
        ASSERT_EQ(factory->CreateInstance(nullptr, riid, out.PutVoid()), S_OK);
    }
    // "Path" as a setup writes it; `withTerminator` false stores the text without its zero.
    static void SetLauncherPath(const std::wstring& folder, DWORD type = REG_SZ, bool withTerminator = true) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\QuenvidWorks\\Lanternhop", 0, nullptr, 0, KEY_WRITE,
                                    nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const DWORD bytes = static_cast<DWORD>((folder.size() + (withTerminator ? 1 : 0)) * sizeof(wchar_t));
        EXPECT_EQ(::RegSetValueExW(key, L"Path", 0, type, reinterpret_cast<const BYTE*>(folder.c_str()), bytes),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    static std::wstring StandInFolder() { return lhltest::DataFolder() + L"stand-in\\"; }
    // A harmless program under the launcher's name that records its command line.
    static void MakeStandInLauncher() {
        ::CreateDirectoryW(lhltest::DataFolder().c_str(), nullptr);
        ::CreateDirectoryW(StandInFolder().c_str(), nullptr);
        ASSERT_TRUE(::CopyFileW((lhltest::BinFolder() + L"lhl_record_run.exe").c_str(),
                                (StandInFolder() + L"Lanternhop Launcher.exe").c_str(), FALSE));
    }
    static HRESULT Invoke(IContextMenu* menu, UINT_PTR verb) {
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof(info);
        info.lpVerb = reinterpret_cast<LPCSTR>(verb);
        return menu->InvokeCommand(&info);
    }
    static std::wstring RecordPath() { return StandInFolder() + L"ran.txt"; }
    // The command line the stand-in launcher recorded; empty when it did not run in time.
    static std::wstring RecordedCommandLine(DWORD timeoutMs = 20000) {
        // Under load, Wine can refuse to open a file for a moment after another process renamed
        // it into place; the record counts once its bytes can be read.
        std::vector<uint8_t> bytes;
        lhltest::PumpUntil([&] {
            if (lhltest::FileExists(RecordPath())) bytes = lhltest::ReadBytes(RecordPath());
            return !bytes.empty();
        }, timeoutMs);
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    }
    static bool EndsWith(const std::wstring& text, const std::wstring& tail) {
        return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
    }

    fw::ComScope m_com;
    HMODULE m_library = nullptr;
    GetClassObjectFn m_getClassObject = nullptr;
    CanUnloadFn m_canUnload = nullptr;
};

} // namespace

// A path of a deep folder, longer than MAX_PATH, as the shell hands such paths over.
std::wstring LongPath() {
    std::wstring path = L"D:\\Deep Folder";
    while (path.size() < 300) path += L"\\level " + std::to_wstring(path.size());
    return path + L"\\the file.txt";
}

TEST_F(ExtensionTest, TheFirstSelectedItemIsKeptWholeAndABadSelectionIsRefused) {
    qx::CLHLExtension* extension = new qx::CLHLExtension(nullptr);
    DropData several({L"C:\\first one.txt", L"C:\\second.txt"});
    EXPECT_EQ(extension->Initialize(nullptr, &several, nullptr), S_OK);
    EXPECT_EQ(extension->SelectedPath(), L"C:\\first one.txt") << "not the first of the selection";
    const std::wstring deep = LongPath();
    DropData deepFirst({deep, L"C:\\second.txt"});
    EXPECT_EQ(extension->Initialize(nullptr, &deepFirst, nullptr), S_OK);
    EXPECT_EQ(extension->SelectedPath(), deep) << "a path of " << deep.size() << " characters was cut";
    DropData none({});
    EXPECT_EQ(extension->Initialize(nullptr, &none, nullptr), E_INVALIDARG);
    EXPECT_EQ(extension->Initialize(nullptr, nullptr, nullptr), E_INVALIDARG);
    extension->Release();
}

// "Path" may be REG_EXPAND_SZ; it is taken as written, and with or without its terminating zero.
TEST_F(ExtensionTest, ThePathValueIsReadAsStringOrExpandableStringUnexpanded) {
    const struct {
        DWORD type;
        bool terminator;
        const wchar_t* folder;
    } cases[] = {{REG_SZ, true, L"D:\\Tools\\"},
                 {REG_EXPAND_SZ, true, L"%LOCALAPPDATA%\\Programs\\Lanternhop Launcher\\"},
                 {REG_EXPAND_SZ, false, L"D:\\No Zero"},
                 {REG_SZ, false, L"D:\\Tools"}};
    for (const auto& c : cases) {
        SetLauncherPath(c.folder, c.type, c.terminator);
        qx::CLHLExtension* extension = new qx::CLHLExtension(nullptr);
        EXPECT_EQ(extension->LauncherFolder(), c.folder) << "type " << c.type << ", terminator " << c.terminator;
        extension->Release();
    }
    SetLauncherPath(L"D:\\Tools", REG_BINARY);
    qx::CLHLExtension* extension = new qx::CLHLExtension(nullptr);
    EXPECT_EQ(extension->LauncherFolder(), L"") << "a value of another type is no folder";
    extension->Release();
}

TEST_F(ExtensionTest, TheMenuGetsOneEntryExceptForTheDefaultAction) {
    fw::ComPtr<IContextMenu> menu;
    Create(menu, IID_IContextMenu);
    HMENU popup = ::CreatePopupMenu();
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 100, 200, CMF_DEFAULTONLY), MAKE_HRESULT(0, 0, 0));
    EXPECT_EQ(::GetMenuItemCount(popup), 0);
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 100, 200, CMF_NORMAL), MAKE_HRESULT(0, 0, 1));
    ASSERT_EQ(::GetMenuItemCount(popup), 1);
    wchar_t text[64] = {};
    ::GetMenuStringW(popup, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"AddTo Lanternhop Launcher");
    EXPECT_EQ(::GetMenuItemID(popup, 0), 100u);
    ::DestroyMenu(popup);
}

TEST_F(ExtensionTest, TheHelpTextFitsTheBufferInWideAndNarrowFormAndNoIconIsNamed) {
    fw::ComPtr<IContextMenu> menu;
    Create(menu, IID_IContextMenu);
    wchar_t wide[64] = {};
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(wide), 64), S_OK);
    EXPECT_STREQ(wide, L"Add a file to the Lanternhop Launcher panel.");
    char narrow[10] = {};
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, narrow, 10), S_OK);
    EXPECT_STREQ(narrow, "Add a fil") << "cut to the buffer, terminator included";
    EXPECT_EQ(menu->GetCommandString(1, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(wide), 64), E_INVALIDARG);
    EXPECT_EQ(menu->GetCommandString(0, GCS_VALIDATEA, nullptr, narrow, 10), E_INVALIDARG);
    EXPECT_EQ(menu->GetCommandString(0, GCS_VERBA, nullptr, narrow, 10), E_INVALIDARG);
    wchar_t verb[8] = {};
    EXPECT_EQ(menu->GetCommandString(0, GCS_VERBW, nullptr, reinterpret_cast<CHAR*>(verb), 8), S_OK);
    EXPECT_STREQ(verb, L"Add a f") << "the wide verb request gets the help text too";
    wchar_t icon[64] = L"untouched";
    EXPECT_EQ(menu->GetCommandString(0, GCS_VERBICONW, nullptr, reinterpret_cast<CHAR*>(icon), 64), E_NOTIMPL);
    EXPECT_STREQ(icon, L"untouched") << "Explorer reads what is written here as the path of the entry's icon";
}

// Reserves a page at an address above 4 GB whose bits 16 to 31 are zero, where a text verb
// looks like command offset 0 to a HIWORD test, and writes the text there; null when no such
// address is free.
char* TextAboveFourGigabytes(const char* text) {
    for (uintptr_t high = 2; high < 64; ++high) {
        void* page = ::VirtualAlloc(reinterpret_cast<void*>(high << 32), 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (!page) continue;
        if ((reinterpret_cast<uintptr_t>(page) & 0xFFFF0000u) == 0) return lstrcpyA(static_cast<char*>(page), text);
        ::VirtualFree(page, 0, MEM_RELEASE);
    }
    return nullptr;
}

TEST_F(ExtensionTest, StringVerbsAndOtherOffsetsAreRefused) {
    MakeStandInLauncher();
    SetLauncherPath(StandInFolder());
    fw::ComPtr<IShellExtInit> init;
    Create(init, IID_IShellExtInit);
    DropData selection({L"C:\\a.txt"});
    ASSERT_EQ(init->Initialize(nullptr, &selection, nullptr), S_OK);
    fw::ComPtr<IContextMenu> menu;
    ASSERT_EQ(init->QueryInterface(IID_IContextMenu, menu.PutVoid()), S_OK);
    static const char verb[] = "open";
    EXPECT_EQ(Invoke(menu.Get(), reinterpret_cast<UINT_PTR>(verb)), E_INVALIDARG);
    EXPECT_EQ(Invoke(menu.Get(), 1), E_INVALIDARG);
    char* high = TextAboveFourGigabytes("open");
    ASSERT_NE(high, nullptr) << "no free page above 4 GB for the test";
    EXPECT_EQ(Invoke(menu.Get(), reinterpret_cast<UINT_PTR>(high)), E_INVALIDARG)
        << "a text verb at " << static_cast<const void*>(high) << " was taken for command 0";
    ::VirtualFree(high, 0, MEM_RELEASE);
    CMINVOKECOMMANDINFOEX wide{};
    wide.cbSize = sizeof(wide);
    wide.fMask = CMIC_MASK_UNICODE;
    wide.lpVerb = MAKEINTRESOURCEA(0);
    wide.lpVerbW = L"open";
    EXPECT_EQ(menu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&wide)), E_INVALIDARG)
        << "a wide text verb was taken for command 0";
    EXPECT_TRUE(RecordedCommandLine(1500).empty()) << "a refused verb started the launcher";
}

TEST_F(ExtensionTest, WithoutAPathNothingStartsUntilThePathExists) {
    fw::ComPtr<IShellExtInit> init;
    Create(init, IID_IShellExtInit);
    fw::ComPtr<IContextMenu> menu;
    ASSERT_EQ(init->QueryInterface(IID_IContextMenu, menu.PutVoid()), S_OK);
    EXPECT_EQ(Invoke(menu.Get(), 0), S_FALSE);
    MakeStandInLauncher();
    SetLauncherPath(StandInFolder(), REG_EXPAND_SZ);
    fw::ComPtr<IContextMenu> later;
    Create(later, IID_IContextMenu);
    DropData selection({L"D:\\My Files\\a b.txt"});
    fw::ComPtr<IShellExtInit> laterInit;
    ASSERT_EQ(later->QueryInterface(IID_IShellExtInit, laterInit.PutVoid()), S_OK);
    laterInit->Initialize(nullptr, &selection, nullptr);
    EXPECT_EQ(Invoke(later.Get(), 0), S_OK);
    const std::wstring commandLine = RecordedCommandLine();
    ASSERT_FALSE(commandLine.empty()) << "the launcher was not started";
    EXPECT_TRUE(EndsWith(commandLine, L" D:\\My Files\\a b.txt")) << "the path must arrive whole and unquoted";
}

TEST_F(ExtensionTest, APathLongerThanMaxPathArrivesWhole) {
    MakeStandInLauncher();
    SetLauncherPath(StandInFolder());
    fw::ComPtr<IShellExtInit> init;
    Create(init, IID_IShellExtInit);
    const std::wstring deep = LongPath();
    DropData selection({deep});
    ASSERT_EQ(init->Initialize(nullptr, &selection, nullptr), S_OK);
    fw::ComPtr<IContextMenu> menu;
    ASSERT_EQ(init->QueryInterface(IID_IContextMenu, menu.PutVoid()), S_OK);
    EXPECT_EQ(Invoke(menu.Get(), 0), S_OK);
    const std::wstring commandLine = RecordedCommandLine();
    ASSERT_FALSE(commandLine.empty()) << "the launcher was not started";
    EXPECT_TRUE(EndsWith(commandLine, L" " + deep)) << "the launcher got a cut path";
}

TEST(ExtensionPath, AFolderWithOrWithoutItsBackslashNamesTheSameProgram) {
    EXPECT_EQ(qx::LauncherPathIn(L"D:\\Tools\\"), L"D:\\Tools\\Lanternhop Launcher.exe");
    EXPECT_EQ(qx::LauncherPathIn(L"D:\\Tools"), L"D:\\Tools\\Lanternhop Launcher.exe");
}

TEST_F(ExtensionTest, TheLibraryStaysLoadedWhileAnObjectLivesAndAggregationWorks) {
    {
        fw::ComPtr<IContextMenu> menu;
        Create(menu, IID_IContextMenu);
        EXPECT_EQ(m_canUnload(), S_FALSE);
        fw::ComPtr<IDispatch> dispatch;
        ASSERT_EQ(menu->QueryInterface(IID_IDispatch, dispatch.PutVoid()), S_OK);
        UINT count = 0;
        EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
        EXPECT_EQ(count, 1u);
        fw::ComPtr<ITypeInfo> info;
        EXPECT_EQ(dispatch->GetTypeInfo(0, 0, info.Put()), S_OK) << "IDispatch is served from the type library";
    }
    EXPECT_EQ(m_canUnload(), S_OK);

    fw::ComPtr<IClassFactory> factory;
    ASSERT_EQ(m_getClassObject(qx::kClsidExtension, IID_IClassFactory, factory.PutVoid()), S_OK);
    DropData outer({}); // any IUnknown will do as the controlling object
    fw::ComPtr<IUnknown> inner;
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IContextMenu, inner.PutVoid()), CLASS_E_NOAGGREGATION);
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, inner.PutVoid()), S_OK);
    fw::ComPtr<IContextMenu> aggregated;
    ASSERT_EQ(inner->QueryInterface(IID_IContextMenu, aggregated.PutVoid()), S_OK);
    aggregated.Reset(); // releases through the outer object, which keeps the inner one
    factory->LockServer(TRUE);
    inner.Reset();
    factory.Reset();
    EXPECT_EQ(m_canUnload(), S_FALSE) << "a server lock must keep the library";
    ASSERT_EQ(m_getClassObject(qx::kClsidExtension, IID_IClassFactory, factory.PutVoid()), S_OK);
    factory->LockServer(FALSE);
    EXPECT_EQ(m_canUnload(), S_FALSE) << "the library could go while its class object is held";
    factory.Reset();
    EXPECT_EQ(m_canUnload(), S_OK);
}

// Loaded from a folder deeper than MAX_PATH, the library still finds its own file, where its
// IDispatch reads the type library from.
TEST_F(ExtensionTest, FromAFolderDeeperThanMaxPathTheTypeLibraryIsFound) {
    ::CreateDirectoryW(lhltest::DataFolder().c_str(), nullptr);
    const lhltest::LongPathFile deep(lhltest::DataFolder(), 300);
    const std::wstring copy = L"\\\\?\\" + deep.Path().substr(0, deep.Path().rfind(L'\\') + 1) + L"QuenvidExtension.dll";
    ASSERT_TRUE(::CopyFileW((lhltest::BinFolder() + L"QuenvidExtension.dll").c_str(), copy.c_str(), FALSE));
    HMODULE library = ::LoadLibraryW(copy.c_str());
    ASSERT_NE(library, nullptr) << "the copy in the deep folder did not load";
    const auto getClassObject =
        reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(::GetProcAddress(library, "DllGetClassObject")));
    HRESULT typeInfo = E_FAIL;
    {
        fw::ComPtr<IClassFactory> factory;
        fw::ComPtr<IDispatch> dispatch;
        fw::ComPtr<ITypeInfo> info;
        if (getClassObject && SUCCEEDED(getClassObject(qx::kClsidExtension, IID_IClassFactory, factory.PutVoid())) &&
            SUCCEEDED(factory->CreateInstance(nullptr, IID_IDispatch, dispatch.PutVoid())))
            typeInfo = dispatch->GetTypeInfo(0, 0, info.Put());
    }
    ::FreeLibrary(library);
    ::DeleteFileW(copy.c_str());
    EXPECT_EQ(typeInfo, S_OK) << "the library's own path was cut";
}
