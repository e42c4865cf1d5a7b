#include "WinApp.h"
#include "Module.h"

namespace fw {
namespace {
CWinApp* g_app = nullptr;
wchar_t g_emptyCmdLine[1] = L"";
}

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

int CWinApp::Run() {
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ExitInstance();
    return static_cast<int>(msg.wParam);
}

int CWinApp::WinMain(HINSTANCE instance, LPWSTR cmdLine) {
    m_hInstance = instance;
    m_lpCmdLine = cmdLine ? cmdLine : g_emptyCmdLine;
    SetResourceInstance(instance);
    if (!InitInstance()) return ExitInstance();
    return Run();
}

} // namespace fw
