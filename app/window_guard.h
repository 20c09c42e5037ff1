// Keeps every window the program hides recoverable: a journal on disk that names the
// windows this instance hid and keeps hidden (written before a command's first hide and
// after every message that changed the set), the replay of journals left by instances that
// no longer run, and the crash path that shows the hidden windows again without waiting on
// any program.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/application.h"
#include "base/process.h"
#include "desktops/rescue.h"

namespace skelvo {

class WindowGuard {
public:
    // windows is the system's own window system, not the guarded one below.
    WindowGuard(WindowSystem& windows, FileStore& files, ProcessSystem& processes);
    WindowGuard(const WindowGuard&) = delete;
    WindowGuard& operator=(const WindowGuard&) = delete;
    // A clean exit: the held windows have been shown, so the journal goes.
    ~WindowGuard();

    // Journals of instances that no longer run: their windows are shown again, a dragged
    // one put back, and the journals removed; one that cannot be read stays for the next
    // start. Returns how many windows were shown.
    int replayLeftovers();
    void attach(const Application& app) { app_ = &app; }
    // Writes the journal if what it must name changed since the last write.
    void sync() { syncWith(NullWindow, false); }
    // Makes sure the journal names window before it is hidden.
    void beforeHide(WindowHandle window);
    // The crash path: shows every listed window that is hidden, and puts a dragged window
    // back, with asynchronous calls, then removes the journal. Allocates nothing. Returns
    // how many were shown.
    int rescue();
    // Removes this instance's journal (its windows have all been shown) and writes no
    // more: the process is ending.
    void finish();
    // The session may end: every window has been shown, and none is hidden meanwhile, so
    // the journal names none; resume() when the end was cancelled, before hiding them again.
    void release();
    void resume();
    // True once, the first time no journal could be written anywhere.
    bool takeWarning();

    const std::string& journalFile() const { return path_; }
    int writes() const { return writes_; }

private:
    void syncWith(WindowHandle extra, bool keepNamed);
    int collect(WindowHandle extra, bool keepNamed);
    bool store(const std::string& bytes);
    bool dropJournal();
    void closeHeld();
    int replayFolder(const std::string& folder);

    WindowSystem& windows_;
    FileStore& files_;
    ProcessSystem& processes_;
    const Application* app_ = nullptr;
    std::vector<std::string> folders_;  // where a journal may be written, best first
    std::size_t place_ = 0;             // the folder in use
    std::string path_;                  // the journal in it
    std::string onDisk_;                // the journal written last; empty when none
    std::uintptr_t heldJournal_ = 0;    // kept open on it: rewritten, and deleted after a crash
    bool folderMade_ = false;
    std::uint32_t ownId_ = 0;
    std::uint64_t ownMark_ = 0;
    std::array<HeldWindow, HeldCapacity> held_{};
    std::optional<std::pair<WindowHandle, Rect>> drag_;  // a window dragged on the map
    std::vector<HeldWindow> lastHeld_;
    std::optional<std::pair<WindowHandle, Rect>> lastDrag_;
    std::vector<JournalRecord> written_;
    bool released_ = false;
    bool finished_ = false;
    bool warned_ = false;
    bool warning_ = false;
    int writes_ = 0;
};

// The windows as the core sees them: every hide is journalled first.
class GuardedWindowSystem : public WindowSystem {
public:
    GuardedWindowSystem(WindowSystem& inner, WindowGuard& guard) : in_(inner), guard_(guard) {}

    WindowHandle desktopWindow() override { return in_.desktopWindow(); }
    WindowHandle relative(WindowHandle w, int relation) override {
        return in_.relative(w, relation);
    }
    void topLevelWindows(std::vector<WindowHandle>& into) override { in_.topLevelWindows(into); }
    WindowHandle find(const char* c, const char* t) override { return in_.find(c, t); }
    bool isWindow(WindowHandle w) override { return in_.isWindow(w); }
    std::uint32_t style(WindowHandle w) override { return in_.style(w); }
    int text(WindowHandle w, char* b, int n) override { return in_.text(w, b, n); }
    bool isVisible(WindowHandle w) override { return in_.isVisible(w); }
    bool isEnabled(WindowHandle w) override { return in_.isEnabled(w); }
    bool isIconic(WindowHandle w) override { return in_.isIconic(w); }
    bool isZoomed(WindowHandle w) override { return in_.isZoomed(w); }
    Rect rect(WindowHandle w) override { return in_.rect(w); }
    std::optional<Rect> normalRect(WindowHandle w) override { return in_.normalRect(w); }
    bool show(WindowHandle w, int command) override {
        if (command == win::SwHide) guard_.beforeHide(w);
        return in_.show(w, command);
    }
    void update(WindowHandle w) override { in_.update(w); }
    void move(WindowHandle w, int x, int y, int cx, int cy, bool repaint) override {
        in_.move(w, x, y, cx, cy, repaint);
    }
    void minimise(WindowHandle w) override { in_.minimise(w); }
    void postMessage(WindowHandle w, unsigned m, std::uintptr_t wp, std::intptr_t lp) override {
        in_.postMessage(w, m, wp, lp);
    }
    std::uint32_t processId(WindowHandle w) override { return in_.processId(w); }
    std::uint32_t currentProcessId() override { return in_.currentProcessId(); }
    int className(WindowHandle w, char* b, int n) override { return in_.className(w, b, n); }
    bool showAsync(WindowHandle w, int command) override {
        if (command == win::SwHide) guard_.beforeHide(w);
        return in_.showAsync(w, command);
    }
    std::string exeName(WindowHandle w) override { return in_.exeName(w); }
    std::vector<WindowHandle> takeRefused() override { return in_.takeRefused(); }
    bool isHung(WindowHandle w) override { return in_.isHung(w); }
    bool ping(WindowHandle w, unsigned timeoutMs) override { return in_.ping(w, timeoutMs); }
    bool ownThread(WindowHandle w) override { return in_.ownThread(w); }
    std::uint32_t threadId(WindowHandle w) override { return in_.threadId(w); }
    void moveAsync(WindowHandle w, int x, int y, int cx, int cy, bool repaint) override {
        in_.moveAsync(w, x, y, cx, cy, repaint);
    }
    std::uint64_t clockMs() override { return in_.clockMs(); }
    void monitors(std::vector<Monitor>& into) override { in_.monitors(into); }
    Rect virtualScreen() override { return in_.virtualScreen(); }

private:
    WindowSystem& in_;
    WindowGuard& guard_;
};

}  // namespace skelvo
