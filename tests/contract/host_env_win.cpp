// The host contract's environment on the real system: windows of this test process,
// answered message boxes and a pumped message loop.
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/host_win.h"
#include "app/startup_win.h"
#include "desktops/window_system_win.h"
#include "tests/contract/host_env.h"

namespace skelvo::testing {
namespace {

std::intptr_t __stdcall panelProcedure(void* window, unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
    return DefWindowProcA(static_cast<HWND>(window), message, wParam, lParam);
}

constexpr char CaptionedClass[] = "SkelvoContractWindow";

class Win32HostEnv : public HostEnv {
public:
    Win32HostEnv() {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = CaptionedClass;
        RegisterClassExA(&wc);  // fails harmlessly once registered
        GetCurrentDirectoryA(MAX_PATH, savedDirectory_);
    }
    ~Win32HostEnv() override {
        for (std::thread& t : answerers_) t.join();
        for (HWND w : created_) DestroyWindow(w);
        ClipCursor(nullptr);
        SetCurrentDirectoryA(savedDirectory_);
    }
    WindowSystem& windows() override { return windows_; }
    PanelHost& host() override { return host_; }
    Rect expectedScreen() override { return Rect{0, 0, 1024, 768}; }
    WindowHandle createPanel() override {
        Win32Steps steps(panelProcedure);
        const auto instance = reinterpret_cast<InstanceHandle>(GetModuleHandleA(nullptr));
        steps.registerPanelClass(instance);
        if (!steps.createPanel(instance, SW_SHOWNORMAL)) return NullWindow;
        created_.push_back(reinterpret_cast<HWND>(steps.panel()));
        return steps.panel();
    }
    WindowHandle createCaptioned(const std::string& title, bool visible) override {
        HWND w = CreateWindowExA(0, CaptionedClass, title.c_str(),
                                 WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 50, 50, 300, 200,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (w != nullptr) created_.push_back(w);
        return reinterpret_cast<WindowHandle>(w);
    }
    void setCursor(Point p) override { SetCursorPos(p.x, p.y); }
    std::optional<Rect> regionBox(WindowHandle window) override {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        const int kind = GetWindowRgn(reinterpret_cast<HWND>(window), region);
        RECT box{};
        GetRgnBox(region, &box);
        DeleteObject(region);
        if (kind == ERROR) return std::nullopt;
        return Rect{box.left, box.top, box.right, box.bottom};
    }
    bool timerFires(WindowHandle window, unsigned id, int deadlineMs) override {
        // <chrono> cannot be used: its micro suffix has no CP932 form.
        const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(deadlineMs);
        MSG msg;
        while (GetTickCount64() < deadline) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_TIMER && msg.hwnd == reinterpret_cast<HWND>(window) &&
                    msg.wParam == id) {
                    return true;
                }
                DispatchMessageA(&msg);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return false;
    }
    void answerNextMessageBox(const std::string& caption, int button) override {
        // The box runs its own modal loop on this thread; another thread presses the button.
        answerers_.emplace_back([caption, button] {
            const ULONGLONG deadline = GetTickCount64() + 10000;
            while (GetTickCount64() < deadline) {
                HWND box = FindWindowA("#32770", caption.c_str());
                if (box != nullptr) {
                    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
                    return;
                }
                Sleep(20);
            }
        });
    }
    bool setCurrentDirectory(const std::string& directory) override {
        return SetCurrentDirectoryA(directory.c_str()) != FALSE;
    }
    std::string someDirectory() override {
        char dir[MAX_PATH];
        GetWindowsDirectoryA(dir, MAX_PATH);
        return dir;
    }

private:
    Win32WindowSystem windows_;
    Win32Host host_;
    std::vector<HWND> created_;
    std::vector<std::thread> answerers_;
    char savedDirectory_[MAX_PATH] = {};
};

}  // namespace

std::unique_ptr<HostEnv> makeHostEnv() {
    return std::make_unique<Win32HostEnv>();
}

}  // namespace skelvo::testing
