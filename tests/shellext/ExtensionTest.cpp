// The context-menu handler as Explorer uses it: the real library loaded into this process, a
// data object of the test's own offering CF_HDROP, and a stand-in launcher that records how it
// was started.
#include "ComInit.h"
#include "DropData.h"
#include "Guids.h"
#include "LHLExtension.h"
#include "RegKey.h"
#include "TestSupport.h"
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
    static void SetLauncherPath(const std::wstring& folder) {
        fw::CRegKey key;
        ASSERT_EQ(key.Create(HKEY_CURRENT_USER, L"Software\\QuenvidWorks\\Lanternhop"), ERROR_SUCCESS);
        key.SetStringValue(L"Path", folder);
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

    fw::ComScope m_com;
    HMODULE m_library = nullptr;
    GetClassObjectFn m_getClassObject = nullptr;
    CanUnloadFn m_canUnload = nullptr;
};

} // namespace

TEST_F(ExtensionTest, OnlyTheFirstSelectedItemIsTakenAndABadSelectionIsRefused) {
    fw::ComPtr<IShellExtInit> init;
    Create(init, IID_IShellExtInit);
    DropData several({L"C:\\first one.txt", L"C:\\second.txt"});
    EXPECT_EQ(init->Initialize(nullptr, &several, nullptr), S_OK);
    DropData none({});
    EXPECT_EQ(init->Initialize(nullptr, &none, nullptr), E_INVALIDARG);
    EXPECT_EQ(init->Initialize(nullptr, nullptr, nullptr), E_INVALIDARG);
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

TEST_F(ExtensionTest, TheHelpTextFitsTheBufferInWideAndNarrowForm) {
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
}

TEST_F(ExtensionTest, StringVerbsAndOtherOffsetsAreRefused) {
    fw::ComPtr<IContextMenu> menu;
    Create(menu, IID_IContextMenu);
    static const char verb[] = "open";
    EXPECT_EQ(Invoke(menu.Get(), reinterpret_cast<UINT_PTR>(verb)), E_INVALIDARG);
    EXPECT_EQ(Invoke(menu.Get(), 1), E_INVALIDARG);
}

TEST_F(ExtensionTest, WithoutAPathNothingStartsUntilThePathExists) {
    fw::ComPtr<IShellExtInit> init;
    Create(init, IID_IShellExtInit);
    fw::ComPtr<IContextMenu> menu;
    ASSERT_EQ(init->QueryInterface(IID_IContextMenu, menu.PutVoid()), S_OK);
    EXPECT_EQ(Invoke(menu.Get(), 0), S_FALSE);
    MakeStandInLauncher();
    SetLauncherPath(StandInFolder());
    fw::ComPtr<IContextMenu> later;
    Create(later, IID_IContextMenu);
    DropData selection({L"D:\\My Files\\a b.txt"});
    fw::ComPtr<IShellExtInit> laterInit;
    ASSERT_EQ(later->QueryInterface(IID_IShellExtInit, laterInit.PutVoid()), S_OK);
    laterInit->Initialize(nullptr, &selection, nullptr);
    EXPECT_EQ(Invoke(later.Get(), 0), S_OK);
    const std::wstring record = StandInFolder() + L"ran.txt";
    // Under load, Wine can refuse to open a file for a moment after another process renamed it
    // into place; the record counts once its bytes can be read.
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(lhltest::PumpUntil([&] {
        if (lhltest::FileExists(record)) bytes = lhltest::ReadBytes(record);
        return !bytes.empty();
    }, 20000)) << "the launcher was not started";
    const std::wstring commandLine(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    const std::wstring tail = L" D:\\My Files\\a b.txt";
    ASSERT_GE(commandLine.size(), tail.size());
    EXPECT_EQ(commandLine.substr(commandLine.size() - tail.size()), tail) << "the path must arrive whole and unquoted";
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
    EXPECT_EQ(m_canUnload(), S_FALSE) << "a server lock must keep the library";
    factory->LockServer(FALSE);
    EXPECT_EQ(m_canUnload(), S_OK);
}
