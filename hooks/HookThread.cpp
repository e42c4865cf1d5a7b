#include "HookThread.h"

namespace qt {
namespace {

constexpr const wchar_t* kWindowClass = L"QuenvidToolsHookThread";
constexpr DWORD kStopWaitMs = 5000;

} // namespace

bool CHookThread::Start(HINSTANCE instance, Handler handler) {
    if (m_thread) return m_window != nullptr;
    m_instance = instance;
    m_handler = handler;
    HMODULE held = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&CHookThread::Main),
                              &held))
        return false;
    m_ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_thread = m_ready ? ::CreateThread(nullptr, 0, &CHookThread::Main, this, 0, nullptr) : nullptr;
    if (!m_thread) {
        ::FreeLibrary(held);
        if (m_ready) ::CloseHandle(m_ready);
        m_ready = nullptr;
        return false;
    }
    // The thread takes its own reference below; this one only covered its start.
    ::WaitForSingleObject(m_ready, INFINITE);
    ::FreeLibrary(held);
    if (!m_window) Stop();
    return m_window != nullptr;
}

LRESULT CHookThread::Call(UINT request, WPARAM wParam, LPARAM lParam) const {
    return m_window ? ::SendMessageW(m_window, request, wParam, lParam) : 0;
}

void CHookThread::Stop() {
    if (!m_thread) return;
    if (m_window) ::PostMessageW(m_window, WM_CLOSE, 0, 0);
    ::WaitForSingleObject(m_thread, kStopWaitMs);
    ::CloseHandle(m_thread);
    ::CloseHandle(m_ready);
    m_thread = m_ready = nullptr;
    m_window = nullptr;
}

HWND CHookThread::MakeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &CHookThread::WindowProc;
    wc.hInstance = m_instance;
    wc.lpszClassName = kWindowClass;
    ::RegisterClassW(&wc); // fails harmlessly when an earlier thread registered it
    return ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, m_instance, this);
}

DWORD WINAPI CHookThread::Main(void* param) {
    auto* self = static_cast<CHookThread*>(param);
    HMODULE held = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&CHookThread::Main), &held);
    self->m_window = self->MakeWindow();
    ::SetEvent(self->m_ready);
    MSG msg;
    while (self->m_window && ::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    // A class a DLL registered outlives the DLL's unloading, pointing at code that is gone; the
    // next load would create its window through it.
    ::UnregisterClassW(kWindowClass, self->m_instance);
    // Windows takes this thread's hooks away as it ends.
    ::FreeLibraryAndExitThread(held, 0);
    return 0;
}

LRESULT CALLBACK CHookThread::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<CHookThread*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (msg == WM_DESTROY) ::PostQuitMessage(0);
    if (self && msg >= kRequestFirst && msg < WM_APP + 0x100) return self->m_handler(msg, wParam, lParam);
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

} // namespace qt
