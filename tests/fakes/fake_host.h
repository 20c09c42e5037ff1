// Scripted host services of the panel window: message-box answers, timers driven by a
// manual clock, a cursor the test moves, window regions and messages to the panel.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/host.h"
#include "tests/fakes/event_log.h"
#include "tests/fakes/fake_window_system.h"

namespace skelvo::testing {

struct MessageBoxCall {
    WindowHandle owner;
    std::string text;
    std::string caption;
    unsigned flags;
};

struct PostedMessage {
    WindowHandle window;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

class FakeHost : public PanelHost {
public:
    FakeHost(FakeWindowSystem& windows, EventLog* log = nullptr) : windows_(windows), log_(log) {}

    int messageBox(WindowHandle owner, const char* text, const char* caption,
                   unsigned flags) override;
    void setTimer(WindowHandle window, unsigned id, unsigned periodMs) override;
    void killTimer(WindowHandle window, unsigned id) override;
    unsigned currentDirectory(char* buffer, unsigned size) override;
    Point cursorPos() override { return cursor; }
    Point screenToClient(WindowHandle window, Point p) override;
    Point clientToScreen(WindowHandle window, Point p) override;
    void clipCursor(std::optional<Rect> rect) override;
    void setWindowRegion(WindowHandle window, Rect rect) override;
    void postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    std::intptr_t sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
    std::intptr_t defaultProcedure(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                   std::intptr_t lParam) override;
    void postQuitMessage(int exitCode) override;
    std::optional<WaitingMessage> nextPosted(WindowHandle) override {
        if (whilePeeking) whilePeeking();
        if (waiting.empty()) return std::nullopt;
        return waiting.front();
    }
    void destroyWindow(WindowHandle window) override;
    void trackPopupMenu(WindowHandle panel, InstanceHandle instance, int templateId, int position,
                        int greyPosition, Point screen) override;
    Rect clientRect(WindowHandle window) override;
    unsigned registerWindowMessage(const char* name) override;
    void allowMessage(WindowHandle window, unsigned message) override {
        allowed.push_back({window, message});
    }
    WindowHandle createToolTipWindow(WindowHandle owner, InstanceHandle instance) override;
    void sendToolInfo(WindowHandle tooltip, unsigned message, const ToolInfo& info) override;

    bool timerRunning(unsigned id) const { return timers.count(id) != 0; }
    // The manual clock: advances by ms, firing every running timer as often as its period
    // falls due, in time order, through onTimer. Timers set or killed by a handler take
    // effect from that moment on.
    void advance(unsigned ms);
    unsigned long long now() const { return now_; }
    // Moves the cursor, honouring the clip rectangle as the system does.
    void moveCursor(Point p);

    bool needsRepaint(WindowHandle) override { return exposed; }
    bool exposed = true;  // what needsRepaint answers
    // Answers to the next message boxes. A box with no answer scripted fails the test.
    std::deque<int> answers;
    // Runs while a message box is open, as the timers of its modal loop do.
    std::function<void()> whileAsking;
    std::vector<MessageBoxCall> messageBoxes;
    std::map<unsigned, unsigned> timers;  // id -> period
    std::string directory = "C:\\Skelvo";
    Point cursor{};
    std::optional<Rect> clip;
    std::vector<Rect> regions;
    std::vector<PostedMessage> posted;
    // Messages waiting in the panel's queue behind the one it handles, the next first.
    std::deque<WaitingMessage> waiting;
    // Runs while the panel looks at its queue, as messages sent to it meanwhile are handled.
    std::function<void()> whilePeeking;
    std::vector<PostedMessage> sent;
    std::optional<int> quitCode;
    std::vector<WindowHandle> destroyed;
    struct Popup {
        WindowHandle panel;
        InstanceHandle instance;
        int templateId;
        int position;
        int greyPosition;
        Point screen;
    };
    std::vector<Popup> popups;
    // The items chosen in the next popups, posted as WM_COMMAND; 0 or none: dismissed. A
    // choice that the popup does not offer enabled (greyed, or not in it) cannot be made:
    // it is noted in refusedChoices and the popup closes without a command.
    std::deque<unsigned> menuChoices;
    std::vector<unsigned> refusedChoices;
    // Called for every message sent to the panel (the window procedure, in tests).
    std::function<std::intptr_t(WindowHandle, unsigned, std::uintptr_t, std::intptr_t)> onSend;
    std::function<void(WindowHandle, unsigned)> onTimer;
    // Registered messages by name, from 0xC000 up as the system numbers them.
    std::map<std::string, unsigned> registeredMessages;
    std::vector<std::pair<WindowHandle, unsigned>> allowed;  // through the message filter
    // The tooltip: its owner once created (nullopt: none), and every tool message sent to
    // it with the text copied, as the control copies it.
    static constexpr WindowHandle ToolTipWindow = 0x7070;
    std::optional<WindowHandle> toolTipOwner;
    struct ToolMessage {
        WindowHandle tooltip;
        unsigned message;
        ToolInfo info;
        std::string text;
    };
    std::vector<ToolMessage> toolMessages;

private:
    struct Due {
        WindowHandle window;
        unsigned long long at;
    };
    std::map<unsigned, Due> due_;
    unsigned long long now_ = 0;
    FakeWindowSystem& windows_;
    EventLog* log_;
};

}  // namespace skelvo::testing
