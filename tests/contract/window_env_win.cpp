// The window contract's environment on the real system: windows of this test process,
// created and shown as a program does, observed through Win32WindowSystem.
#include <windows.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/utf8_file_store_win.h"
#include "desktops/window_system_win.h"
#include "tests/contract/window_env.h"

namespace skelvo::testing {
namespace {

std::wstring wide(const std::string& utf8) {
    wchar_t buffer[512];
    return toWidePath(utf8, buffer, 512) ? std::wstring(buffer) : std::wstring();
}

HWND hwnd(WindowHandle w) {
    return reinterpret_cast<HWND>(w);
}

class Win32WindowEnv : public WindowEnv {
public:
    ~Win32WindowEnv() override {
        for (HWND w : opened_) DestroyWindow(w);
        stalled_.clear();
        settle();
    }
    WindowSystem& windows() override { return windows_; }
    WindowHandle open(const WindowRequest& request) override {
        registerClass(request.className);
        const HWND w = create(request);
        if (w == nullptr) return NullWindow;
        opened_.push_back(w);
        settle();
        return reinterpret_cast<WindowHandle>(w);
    }
    void close(WindowHandle window) override {
        DestroyWindow(hwnd(window));
        settle();
    }
    void raise(WindowHandle window) override {
        SetWindowPos(hwnd(window), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        settle();
    }
    void activate(WindowHandle window) override {
        SetForegroundWindow(hwnd(window));
        settle();
    }
    WindowHandle openStalled(const WindowRequest& request) override {
        registerClass(request.className);
        auto t = std::make_unique<Stalled>(request);
        WaitForSingleObject(t->ready, 5000);
        const HWND w = t->window;
        stalled_.push_back(std::move(t));
        settle();
        return reinterpret_cast<WindowHandle>(w);
    }
    void wake(WindowHandle window) override {
        for (auto& t : stalled_) {
            if (t->window != hwnd(window)) continue;
            SetEvent(t->wake);
            // Returns once the thread has worked off what was sent to it before.
            DWORD_PTR result = 0;
            SendMessageTimeoutA(t->window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        }
        settle();
    }
    unsigned long long clockMs() override { return GetTickCount64(); }
    // Dispatches messages until none has arrived for a short while, within a deadline:
    // the X server's answers to what Wine asked of it come back as messages.
    void settle() override {
        const ULONGLONG deadline = GetTickCount64() + 2000;
        MSG msg;
        for (;;) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (GetTickCount64() >= deadline) return;
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT) == WAIT_TIMEOUT) {
                return;
            }
        }
    }

private:
    // Creates the window on the calling thread and shows it as the request says.
    static HWND create(const WindowRequest& request) {
        const Rect& r = request.rect;
        // Unicode windows, so that any title is kept: titles are UTF-8.
        HWND w = CreateWindowExW(request.topmost ? WS_EX_TOPMOST : 0,
                                 wide(request.className).c_str(), wide(request.title).c_str(),
                                 request.style & ~WS_VISIBLE, r.left, r.top, r.width(), r.height(),
                                 hwnd(request.owner), nullptr, GetModuleHandleA(nullptr), nullptr);
        if (w == nullptr) return nullptr;
        if (request.disabled) EnableWindow(w, FALSE);
        switch (request.state) {
        case OpenState::Normal: ShowWindow(w, SW_SHOWNORMAL); break;
        case OpenState::Minimised: ShowWindow(w, SW_SHOWMINIMIZED); break;
        case OpenState::Maximised: ShowWindow(w, SW_SHOWMAXIMIZED); break;
        case OpenState::Hidden: break;
        }
        UpdateWindow(w);
        return w;
    }

    // A window whose thread opens and shows it, then waits without reading its queue
    // until woken, and afterwards answers until told to quit (when the record goes).
    struct Stalled {
        explicit Stalled(const WindowRequest& r) : request(r) {
            thread = CreateThread(nullptr, 0, &run, this, 0, nullptr);
        }
        ~Stalled() {
            SetEvent(wake);
            SetEvent(quit);
            WaitForSingleObject(thread, 5000);
            for (HANDLE h : {thread, ready, wake, quit}) CloseHandle(h);
        }
        WindowRequest request;
        HWND window = nullptr;
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE wake = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE thread = nullptr;
        static DWORD WINAPI run(void* param) {
            auto* t = static_cast<Stalled*>(param);
            t->window = create(t->request);
            SetEvent(t->ready);
            WaitForSingleObject(t->wake, INFINITE);
            MSG msg;
            while (MsgWaitForMultipleObjects(1, &t->quit, FALSE, INFINITE, QS_ALLINPUT) !=
                   WAIT_OBJECT_0) {
                while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            }
            DestroyWindow(t->window);
            return 0;
        }
    };

    // Our own classes once each; "#32770" is the system's dialog class.
    void registerClass(const std::string& name) {
        if (name == "#32770" || registered_.count(name) != 0) return;
        const std::wstring className = wide(name);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = className.c_str();
        RegisterClassExW(&wc);
        registered_.insert(name);
    }

    Win32WindowSystem windows_;
    std::vector<HWND> opened_;
    std::set<std::string> registered_;
    std::vector<std::unique_ptr<Stalled>> stalled_;
};

}  // namespace

std::unique_ptr<WindowEnv> makeWindowEnv() {
    return std::make_unique<Win32WindowEnv>();
}

}  // namespace skelvo::testing
