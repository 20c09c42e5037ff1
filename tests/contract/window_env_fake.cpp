// The window contract's environment on the simulated desktop.
#include "tests/contract/window_env.h"
#include "tests/fakes/fake_window_system.h"

namespace skelvo::testing {
namespace {

class FakeWindowEnv : public WindowEnv {
public:
    FakeWindowEnv() : windows_(Rect{0, 0, 1024, 768}) { windows_.setMonitors(contractMonitors()); }
    WindowSystem& windows() override { return windows_; }
    WindowHandle open(const WindowRequest& request) override {
        FakeWindow w;
        w.className = request.className;
        w.title = request.title;
        w.style = request.style;
        w.rect = request.rect;
        w.visible = false;
        w.enabled = !request.disabled;
        w.topmost = request.topmost;
        w.owner = request.owner;
        w.processId = windows_.ownProcessId;  // the test process's windows
        const WindowHandle h = windows_.add(w);
        switch (request.state) {
        case OpenState::Normal: windows_.programShow(h, win::SwShowNormal); break;
        case OpenState::Minimised: windows_.programShow(h, win::SwShowMinimized); break;
        case OpenState::Maximised: windows_.programShow(h, win::SwShowMaximized); break;
        case OpenState::Hidden: break;
        }
        return h;
    }
    void close(WindowHandle window) override { windows_.destroy(window); }
    void raise(WindowHandle window) override { windows_.raise(window); }
    void activate(WindowHandle window) override { windows_.activate(window); }
    WindowHandle openStalled(const WindowRequest& request) override {
        const WindowHandle h = open(request);
        windows_.at(h).hung = true;
        return h;
    }
    void wake(WindowHandle window) override { windows_.wake(window); }
    unsigned long long clockMs() override { return windows_.clockMs(); }
    void settle() override {}

private:
    FakeWindowSystem windows_;
};

}  // namespace

std::unique_ptr<WindowEnv> makeWindowEnv() {
    return std::make_unique<FakeWindowEnv>();
}

}  // namespace skelvo::testing
