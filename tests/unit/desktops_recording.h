// A window system that passes every call on to another and notes it, for tests of which
// windows the desktops examine and in what order.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "desktops/window_system.h"

namespace skelvo::testing {

class RecordingWindows : public WindowSystem {
public:
    explicit RecordingWindows(WindowSystem& inner) : inner_(inner) {}

    // (call name, window); FindWindowA is noted as "find <class>" with the window found.
    std::vector<std::pair<std::string, WindowHandle>> calls;

    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& c : calls) out.push_back(c.first);
        return out;
    }
    // Every call that named window.
    std::vector<std::string> callsOn(WindowHandle window) const {
        std::vector<std::string> out;
        for (const auto& c : calls) {
            if (c.second == window) out.push_back(c.first);
        }
        return out;
    }

    WindowHandle desktopWindow() override {
        calls.emplace_back("desktopWindow", NullWindow);
        return inner_.desktopWindow();
    }
    void topLevelWindows(std::vector<WindowHandle>& into) override {
        calls.emplace_back("topLevelWindows", NullWindow);
        inner_.topLevelWindows(into);
    }
    WindowHandle relative(WindowHandle window, int relation) override {
        calls.emplace_back("relative " + std::to_string(relation), window);
        return inner_.relative(window, relation);
    }
    WindowHandle find(const char* className, const char* title) override {
        const WindowHandle found = inner_.find(className, title);
        calls.emplace_back(std::string("find ") + (className != nullptr ? className : "*"), found);
        return found;
    }
    bool isWindow(WindowHandle window) override {
        return note("isWindow", window).isWindow(window);
    }
    std::uint32_t style(WindowHandle window) override {
        return note("style", window).style(window);
    }
    int text(WindowHandle window, char* buffer, int size) override {
        return note("text", window).text(window, buffer, size);
    }
    bool isVisible(WindowHandle window) override {
        return note("isVisible", window).isVisible(window);
    }
    bool isEnabled(WindowHandle window) override {
        return note("isEnabled", window).isEnabled(window);
    }
    bool isIconic(WindowHandle window) override {
        return note("isIconic", window).isIconic(window);
    }
    bool isZoomed(WindowHandle window) override {
        return note("isZoomed", window).isZoomed(window);
    }
    Rect rect(WindowHandle window) override { return note("rect", window).rect(window); }
    std::optional<Rect> normalRect(WindowHandle window) override {
        return note("normalRect", window).normalRect(window);
    }
    bool show(WindowHandle window, int command) override {
        return note("show " + std::to_string(command), window).show(window, command);
    }
    void update(WindowHandle window) override { note("update", window).update(window); }
    void move(WindowHandle window, int x, int y, int width, int height, bool repaint) override {
        note("move", window).move(window, x, y, width, height, repaint);
    }
    void minimise(WindowHandle window) override { note("minimise", window).minimise(window); }
    void postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                     std::intptr_t lParam) override {
        note("post", window).postMessage(window, message, wParam, lParam);
    }
    std::uint32_t processId(WindowHandle window) override {
        return note("processId", window).processId(window);
    }
    std::uint32_t currentProcessId() override {
        calls.emplace_back("currentProcessId", NullWindow);
        return inner_.currentProcessId();
    }
    int className(WindowHandle window, char* buffer, int size) override {
        return note("className", window).className(window, buffer, size);
    }
    bool showAsync(WindowHandle window, int command) override {
        return note("showAsync " + std::to_string(command), window).showAsync(window, command);
    }
    bool isHung(WindowHandle window) override { return note("isHung", window).isHung(window); }
    bool ping(WindowHandle window, unsigned ms) override {
        return note("ping", window).ping(window, ms);
    }
    bool ownThread(WindowHandle window) override { return inner_.ownThread(window); }
    std::uint32_t threadId(WindowHandle window) override { return inner_.threadId(window); }
    void moveAsync(WindowHandle window, int x, int y, int cx, int cy, bool repaint) override {
        note("moveAsync", window).moveAsync(window, x, y, cx, cy, repaint);
    }
    std::uint64_t clockMs() override { return inner_.clockMs(); }
    void monitors(std::vector<Monitor>& into) override {
        note("monitors", NullWindow).monitors(into);
    }
    Rect virtualScreen() override { return inner_.virtualScreen(); }

private:
    WindowSystem& note(std::string name, WindowHandle window) {
        calls.emplace_back(std::move(name), window);
        return inner_;
    }
    WindowSystem& inner_;
};

}  // namespace skelvo::testing
