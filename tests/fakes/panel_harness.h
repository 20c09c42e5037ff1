// Wires an Application and a Panel to the fakes, with a panel window on a simulated
// desktop, so tests can drive whole messages and gestures.
#pragma once

#include <memory>

#include "app/application.h"
#include "app/panel.h"
#include "tests/fakes/fake_file_store.h"
#include "tests/fakes/fake_graphics.h"
#include "tests/fakes/fake_host.h"
#include "tests/fakes/fake_keyboard_host.h"
#include "tests/fakes/fake_shell.h"
#include "tests/fakes/fake_window_system.h"

namespace skelvo::testing {

struct PanelHarness {
    explicit PanelHarness(Rect screen = Rect{0, 0, 1024, 768},
                          FakeGraphics::BitmapSource bitmaps = {});
    ~PanelHarness();

    // Adds the panel window (topmost, at 200,200, 236x157) and runs WM_CREATE.
    void create();
    // Sends a message through the panel's dispatch, as the window procedure does.
    std::optional<std::intptr_t> send(unsigned message, std::uintptr_t wParam = 0,
                                      std::intptr_t lParam = 0);
    // Adds an ordinary captioned window at the top of the normal band, of a program that
    // looks at its queue every answerMs.
    WindowHandle addWindow(const std::string& title, Rect rect = Rect{100, 100, 500, 400},
                           bool minimised = false, bool maximised = false);
    // Places the cursor over a client point of the panel.
    void pointAt(int x, int y);
    void tick(unsigned timerId) { send(win::WmTimer, timerId); }
    // A right click at a client point; the popup it opens answers with command (0: Escape),
    // which is then delivered as the queued WM_COMMAND it is.
    void rightClick(int x, int y, unsigned command = 0);
    // Delivers, in order, the messages of this kind posted to the panel so far.
    void deliverPosted(unsigned message);

    unsigned answerMs = 0;
    EventLog log;
    FakeWindowSystem windows;
    AwaitedWindows awaited{windows};  // what the core calls
    FakeHost host;
    FakeGraphics graphics;
    FakeShell shell;
    FakeFileStore files;
    FakeKeyboardHost keyboard{windows};
    std::unique_ptr<Application> app;
    std::unique_ptr<Panel> panel;
    WindowHandle panelWindow = NullWindow;
    PanelState& state() { return app->state; }
};

}  // namespace skelvo::testing
