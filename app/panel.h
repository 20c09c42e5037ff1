// The panel window's message handling: every message of the panel arrives here from the
// window procedure and is handled on the spot or handed to its subsystem.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "app/application.h"
#include "ui/frame_cache.h"

namespace skelvo {

inline constexpr char QuitCaption[] = "終了確認";
inline constexpr char QuitText[] = "「Skelvo」を終了しますか？";
inline constexpr char JournalWarningCaption[] = "Skelvo";
inline constexpr char JournalWarningText[] =
    "非表示にしたウィンドウの記録を保存できません。"
    "Skelvoが強制終了されると、非表示のウィンドウは次の起動で元に戻りません。";

class Panel {
public:
    Panel(Application& app, Services services) : app_(app), s_(services) {}

    // The result for a handled message; nullopt sends it on to DefWindowProc.
    std::optional<std::intptr_t> handle(WindowHandle panel, unsigned message, std::uintptr_t wParam,
                                        std::intptr_t lParam);

    void onCreate(WindowHandle panel);
    void onClose(WindowHandle panel);
    void onDestroy();
    void onKillFocus(WindowHandle panel, WindowHandle gaining);
    void onCommand(WindowHandle panel, std::uintptr_t id);
    // New monitors or display modes: the map's scales are taken again, and a panel off
    // every monitor is brought onto the nearest.
    void onDisplayChange(WindowHandle panel);
    void onTimer(WindowHandle panel, unsigned id);
    void onLeftPress(WindowHandle panel);
    void onLeftRelease(WindowHandle panel);
    void onDoubleClick(WindowHandle panel);
    void onRightPress(WindowHandle panel);
    void onRightRelease(WindowHandle panel);
    // The session may end: every hidden window is shown, so that a program asking to save
    // a document is seen; the lists stay.
    void onQueryEndSession();
    // Cancelled: the windows of the desktops not on screen are hidden again, and the panel
    // goes on as it was. Ending (WM_CLOSE never comes): the settings are saved, the tray
    // icon and the journal go, and the process ends.
    void onEndSession(WindowHandle panel, bool ending);
    std::intptr_t onPaint(WindowHandle panel, std::uintptr_t wParam, std::intptr_t lParam);
    // Whether a session end is pending: no window of another program is hidden meanwhile.
    void holdHides(bool held);

    bool sessionQueried() const { return app_.state.sessionEnding; }
    Application& app() { return app_; }
    Services& services() { return s_; }

private:
    Application& app_;
    Services s_;
    // The paint of WM_PAINT, or with refresh the refresh's own, on the screen its capture read.
    std::intptr_t paint(WindowHandle panel, std::uintptr_t wParam, std::intptr_t lParam,
                        ScreenOnce* refresh);

    FrameCache frame_;  // the picture on screen

    // Messages that may start work on the desktops and arrived while a call on the window
    // system was under way (the thread handles messages sent to it while it waits on
    // another program): they run after the message being handled, in the order they came.
    struct Deferred {
        unsigned message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    std::deque<Deferred> deferred_;
    static bool startsWork(unsigned message);
    std::optional<std::intptr_t> dispatch(WindowHandle panel, unsigned message,
                                          std::uintptr_t wParam, std::intptr_t lParam);
};

}  // namespace skelvo
