// The host contract's environment on the fakes.

#include "tests/contract/host_env.h"
#include "tests/fakes/fake_host.h"
#include "tests/fakes/fake_window_system.h"

namespace skelvo::testing {
namespace {

class FakeHostEnv : public HostEnv {
public:
    FakeHostEnv() : host_(windows_) {}
    WindowSystem& windows() override { return windows_; }
    PanelHost& host() override { return host_; }
    Rect expectedScreen() override { return Rect{0, 0, 1024, 768}; }
    WindowHandle createPanel() override {
        return windows_.add(panelWindow());
    }
    WindowHandle createCaptioned(const std::string& title, bool visible) override {
        FakeWindow w;
        w.title = title;
        w.visible = visible;
        return windows_.add(w);
    }
    void setCursor(Point p) override { host_.moveCursor(p); }
    std::optional<Rect> regionBox(WindowHandle) override {
        if (host_.regions.empty()) return std::nullopt;
        return host_.regions.back();
    }
    bool timerFires(WindowHandle, unsigned id, int) override { return host_.timerRunning(id); }
    void answerNextMessageBox(const std::string&, int button) override {
        host_.answers.push_back(button);
    }
    bool setCurrentDirectory(const std::string& directory) override {
        host_.directory = directory;
        return true;
    }
    std::string someDirectory() override { return "C:\\Skelvo\\contract"; }

private:
    FakeWindowSystem windows_;
    FakeHost host_;
};

}  // namespace

std::unique_ptr<HostEnv> makeHostEnv() {
    return std::make_unique<FakeHostEnv>();
}

}  // namespace skelvo::testing
