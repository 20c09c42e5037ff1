// The environment the host contract runs in: a fake one natively, the real system under
// Wine. Each provides the panel as the program creates it and the means to observe what
// the host services did.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/host.h"
#include "desktops/window_system.h"

namespace skelvo::testing {

class HostEnv {
public:
    virtual ~HostEnv() = default;
    virtual WindowSystem& windows() = 0;
    virtual PanelHost& host() = 0;
    // The screen the environment runs on.
    virtual Rect expectedScreen() = 0;
    // Creates the panel window with the program's class, styles and position.
    virtual WindowHandle createPanel() = 0;
    virtual WindowHandle createCaptioned(const std::string& title, bool visible) = 0;
    virtual void setCursor(Point screen) = 0;
    // The bounding box of a window's region, in window coordinates; nullopt without one.
    virtual std::optional<Rect> regionBox(WindowHandle window) = 0;
    // Runs the message loop until the timer fires on window, or the deadline passes.
    virtual bool timerFires(WindowHandle window, unsigned id, int deadlineMs) = 0;
    // Arranges for the next message box with this caption to be answered with button.
    virtual void answerNextMessageBox(const std::string& caption, int button) = 0;
    virtual bool setCurrentDirectory(const std::string& directory) = 0;
    // A directory that exists in this environment, without a trailing separator.
    virtual std::string someDirectory() = 0;
};

std::unique_ptr<HostEnv> makeHostEnv();

}  // namespace skelvo::testing
