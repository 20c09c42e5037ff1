// The panel wired to the fakes.
#include "tests/fakes/panel_harness.h"

namespace skelvo::testing {

PanelHarness::PanelHarness(Rect screen, FakeGraphics::BitmapSource bitmaps)
    : windows(screen, &log),
      host(windows, &log),
      graphics(std::move(bitmaps)),
      shell(&log),
      app(std::make_unique<Application>()) {
    graphics.log = &log;
    files.log = &log;
    panel = std::make_unique<Panel>(
        *app, Services{awaited, host, graphics, shell, files, nullptr, &awaited, &keyboard});
    host.onSend = [this](WindowHandle, unsigned message, std::uintptr_t wParam,
                         std::intptr_t lParam) -> std::intptr_t {
        return this->send(message, wParam, lParam).value_or(0);
    };
    host.onTimer = [this](WindowHandle, unsigned id) { this->send(win::WmTimer, id); };
}

PanelHarness::~PanelHarness() {
    // Tear down before the fakes the application's destructors still call.
    panel.reset();
    app.reset();
}

void PanelHarness::create() {
    panelWindow = windows.add(testing::panelWindow());
    send(win::WmCreate);
}

std::optional<std::intptr_t> PanelHarness::send(unsigned message, std::uintptr_t wParam,
                                                std::intptr_t lParam) {
    return panel->handle(panelWindow, message, wParam, lParam);
}

WindowHandle PanelHarness::addWindow(const std::string& title, Rect rect, bool minimised,
                                     bool maximised) {
    FakeWindow w;
    w.title = title;
    w.rect = rect;
    w.minimised = minimised;
    w.maximised = maximised;
    w.answerMs = answerMs;
    return windows.add(w);
}

void PanelHarness::rightClick(int x, int y, unsigned command) {
    pointAt(x, y);
    send(win::WmRButtonDown);
    host.menuChoices.push_back(command);
    send(win::WmRButtonUp);
    host.menuChoices.clear();
    deliverPosted(win::WmCommand);
}

void PanelHarness::deliverPosted(unsigned message) {
    std::vector<PostedMessage> due;
    std::erase_if(host.posted, [&](const PostedMessage& m) {
        if (m.window != panelWindow || m.message != message) return false;
        due.push_back(m);
        return true;
    });
    for (const PostedMessage& m : due) send(m.message, m.wParam, m.lParam);
}

void PanelHarness::pointAt(int x, int y) {
    const Rect r = windows.rect(panelWindow);
    host.moveCursor(Point{r.left + x, r.top + y});
}

}  // namespace skelvo::testing
