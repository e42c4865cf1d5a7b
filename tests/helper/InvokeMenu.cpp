// Chooses "AddTo Lanternhop Launcher" for one path through the registered extension, as
// Explorer's context menu would: lhl_invoke_menu.exe <path>. Exit code 0 when the command ran.
#include "DropData.h"
#include <shlobj.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR cmdLine, int) {
    // {10846745-3ECC-4DD9-BB13-73744926CA86}
    const CLSID extension = {0x10846745, 0x3ECC, 0x4DD9, {0xBB, 0x13, 0x73, 0x74, 0x49, 0x26, 0xCA, 0x86}};
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    int result = 1;
    IShellExtInit* init = nullptr;
    if (SUCCEEDED(::CoCreateInstance(extension, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                                     reinterpret_cast<void**>(&init)))) {
        lhltest::DropData selection({cmdLine});
        IContextMenu* menu = nullptr;
        if (SUCCEEDED(init->Initialize(nullptr, &selection, nullptr)) &&
            SUCCEEDED(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)))) {
            HMENU popup = ::CreatePopupMenu();
            menu->QueryContextMenu(popup, 0, 1, 100, CMF_NORMAL);
            CMINVOKECOMMANDINFO info{};
            info.cbSize = sizeof(info);
            info.lpVerb = MAKEINTRESOURCEA(0);
            result = menu->InvokeCommand(&info) == S_OK ? 0 : 3;
            ::DestroyMenu(popup);
            menu->Release();
        }
        init->Release();
    }
    ::CoUninitialize();
    return result;
}
