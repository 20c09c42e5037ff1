// switch_bench: the time of a desktop switch by the core (selectCell over the Win32 window
// system: capture of the desktop left, its windows hidden, the other desktop's shown and
// updated) against the bare ShowWindow/UpdateWindow calls that switch has to make, timed
// in the same run with QueryPerformanceCounter, and the capture alone.
//
//   switch_bench [--round-trips N] [--warm-up W] [--same-thread]
//   switch_bench --processes [--round-trips N] [--warm-up W]
//
// Two sets of 15 captioned windows belong to this process, on a thread of their own with
// its own message loop (so every call crosses threads as it does for other programs'
// windows), or with --same-thread on the timing thread itself. Desktop 1 lists set B
// (captured while shown, then hidden), desktop 0 set A (captured from the screen). Each
// round trip is 0 -> 1 -> 0, a core one and a bare one in turn; every switch is checked,
// outside the timed span, to have left exactly the entered set visible. Prints median,
// mean, min and max per switch. Run under Wine with tests/bench/run-switch-bench.sh.
//
// With --processes, as users have them: 15 windows, each of a process of its own (this
// program started again with --child), all on desktop 0; a round trip takes them to the
// empty desktop 1 and back. It is answered when both switches have returned, and settled
// when, read from this process, every window has reached the state each switch asked for.
// Core and bare round trips alternate; medians and spreads of both, and their ratios.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "app/panel_state.h"
#include "app/window_guard.h"
#include "base/utf8_file_store_win.h"
#include "base/process_win.h"
#include "desktops/awaited_windows.h"
#include "desktops/switching.h"
#include "desktops/window_system_win.h"

namespace {

using skelvo::WindowHandle;

constexpr int SetSize = 15;
constexpr char WindowClass[] = "SkelvoSwitchBench";

struct Options {
    int roundTrips = 50;
    int warmUp = 2;
    bool sameThread = false;
    bool processes = false;
    bool noJournal = false;  // the core's calls without the journal, to tell its share
    int child = -1;  // this process is the window of child number child
};

struct Windows {
    std::vector<HWND> a;
    std::vector<HWND> b;
};

double nowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / frequency;
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        // A real paint, so that UpdateWindow costs what it costs an ordinary program.
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(dc, &r, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        char title[64];
        int n = GetWindowTextA(hwnd, title, sizeof title);
        TextOutA(dc, 4, 4, title, n);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void registerClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = WindowClass;
    RegisterClassA(&wc);
}

// Set B is created shown and set A hidden; positions cascade over the screen.
void createWindows(Windows& w) {
    registerClass();
    for (int set = 0; set < 2; ++set) {
        for (int i = 0; i < SetSize; ++i) {
            char title[32];
            std::snprintf(title, sizeof title, "bench %c %d", set == 0 ? 'B' : 'A', i + 1);
            HWND h =
                CreateWindowExA(0, WindowClass, title, WS_OVERLAPPEDWINDOW, 20 + 40 * i,
                                20 + 30 * i, 320, 220, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
            if (set == 0) {
                ShowWindow(h, SW_SHOWNORMAL);
                UpdateWindow(h);
                w.b.push_back(h);
            } else {
                w.a.push_back(h);
            }
        }
    }
}

struct ThreadStart {
    Windows* windows;
    HANDLE ready;
};

DWORD WINAPI windowThread(void* p) {
    auto* start = static_cast<ThreadStart*>(p);
    createWindows(*start->windows);
    SetEvent(start->ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

// Lets queued messages of windows on this thread through between timed spans.
void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Lets the windows' thread work off what the last switch left it (sent messages, X events
// and the paints they cause) before the next timed span: each round trip through its queue
// takes what had arrived before it.
void settle(const Windows& w) {
    for (int round = 0; round < 3; ++round) {
        SendMessageA(w.a.front(), WM_NULL, 0, 0);
        pump();
    }
}

bool onlyVisible(const std::vector<HWND>& shown, const std::vector<HWND>& hidden) {
    for (HWND h : shown)
        if (!IsWindowVisible(h)) return false;
    for (HWND h : hidden)
        if (IsWindowVisible(h)) return false;
    return true;
}

// Every entry of the desktop is one of set, and each of set is listed.
bool listsExactly(const skelvo::VirtualDesktop& d, const std::vector<HWND>& set) {
    if (d.count != static_cast<int>(set.size())) return false;
    for (HWND h : set) {
        if (!d.findEntry(reinterpret_cast<WindowHandle>(h))) return false;
    }
    return true;
}

// The capture as it read windows before: the whole filter (style, text, visible, enabled
// and three FindWindow calls) for every window walked, then the entry filled by a second
// read of style and text, the rectangle, the screen twice and IsIconic/IsZoomed. Kept to
// time the capture against it.
int legacyCapture(skelvo::WindowSystem& ws, skelvo::VirtualDesktop& d) {
    using namespace skelvo;
    const WindowHandle bottom =
        ws.relative(ws.relative(ws.desktopWindow(), win::GwChild), win::GwHwndLast);
    if (bottom == NullWindow) return d.count;
    int n = 0;
    auto fill = [&](WindowHandle h) {
        WindowEntry& e = d.entries[n];
        e.assignFromWindow(ws, h);
        e.captureIndex = n;
        e.desktopIndex = d.index;
        e.updateMapRect(ws);
        e.setShowState(liveShowState(ws, h));
        ++n;
    };
    WindowHandle h = ws.relative(bottom, win::GwHwndPrev);
    if (isManagedWindow(ws, h)) fill(h);
    while (h != NullWindow && n < CaptureLimit) {
        h = ws.relative(h, win::GwHwndPrev);
        if (isManagedWindow(ws, h)) fill(h);
    }
    d.count = n;
    return n;
}

struct Stats {
    double median, mean, min, max;
};

Stats stats(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v) sum += x;
    const size_t n = v.size();
    const double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return Stats{median, sum / static_cast<double>(n), v.front(), v.back()};
}

void print(const char* label, const std::vector<double>& samples, const char* unit) {
    const Stats s = stats(samples);
    std::printf("%-24s median %9.3f ms  mean %9.3f ms  min %9.3f ms  max %9.3f ms  (%zu %s)\n",
                label, s.median, s.mean, s.min, s.max, samples.size(), unit);
}

int fail(const char* why) {
    std::fprintf(stderr, "switch_bench: %s\n", why);
    return 1;
}

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--round-trips") && i + 1 < argc) {
            o.roundTrips = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--warm-up") && i + 1 < argc) {
            o.warmUp = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--same-thread")) {
            o.sameThread = true;
        } else if (!std::strcmp(argv[i], "--processes")) {
            o.processes = true;
        } else if (!std::strcmp(argv[i], "--no-journal")) {
            o.noJournal = true;
        } else if (!std::strcmp(argv[i], "--child") && i + 1 < argc) {
            o.child = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr,
                         "usage: switch_bench [--processes] [--round-trips N] [--warm-up W] "
                         "[--same-thread]\n");
            std::exit(2);
        }
    }
    if (o.roundTrips < 1 || o.warmUp < 0) {
        std::fprintf(stderr, "switch_bench: --round-trips must be at least 1\n");
        std::exit(2);
    }
    return o;
}


// ---- Windows of separate processes -------------------------------------------------------

void childTitle(int n, char (&title)[32]) {
    std::snprintf(title, sizeof title, "bench P %d", n + 1);
}

// One shown window and its message loop, until the bench ends the process.
int runChild(int n) {
    registerClass();
    char title[32];
    childTitle(n, title);
    HWND h = CreateWindowExA(0, WindowClass, title, WS_OVERLAPPEDWINDOW, 20 + 40 * n, 20 + 30 * n,
                             320, 220, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (h == nullptr) return 1;
    ShowWindow(h, SW_SHOWNORMAL);
    UpdateWindow(h);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

struct Children {
    std::vector<PROCESS_INFORMATION> processes;
    ~Children() {
        for (PROCESS_INFORMATION& p : processes) {
            TerminateProcess(p.hProcess, 0);
            WaitForSingleObject(p.hProcess, 5000);
            CloseHandle(p.hProcess);
            CloseHandle(p.hThread);
        }
    }
};

// Every window hidden (shown false) or shown normal and not minimised, read from here.
bool allIn(const std::vector<HWND>& set, bool shown) {
    for (HWND h : set) {
        if ((IsWindowVisible(h) != 0) != shown) return false;
        if (shown && IsIconic(h)) return false;
    }
    return true;
}

double untilAllIn(const std::vector<HWND>& set, bool shown, double t0) {
    while (!allIn(set, shown) && nowMs() - t0 < 5000) Sleep(0);
    return nowMs() - t0;
}

// Each window's thread works off what the last switch left it before the next span.
void settleAll(const std::vector<HWND>& set) {
    for (int round = 0; round < 2; ++round)
        for (HWND h : set) SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_NORMAL, 2000, nullptr);
}

void printPair(const char* label, const std::vector<double>& core, const std::vector<double>& bare) {
    const auto spread = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return std::pair{v[n / 10], v[n - 1 - n / 10]};
    };
    const Stats c = stats(core), b = stats(bare);
    const auto [c10, c90] = spread(core);
    const auto [b10, b90] = spread(bare);
    std::printf("%-10s core median %8.2f ms (p10 %8.2f, p90 %8.2f, min %8.2f, max %8.2f)\n", label,
                c.median, c10, c90, c.min, c.max);
    std::printf("%-10s bare median %8.2f ms (p10 %8.2f, p90 %8.2f, min %8.2f, max %8.2f)\n", label,
                b.median, b10, b90, b.min, b.max);
    std::printf("%-10s core / bare %.3f by median\n", label, c.median / b.median);
}

int runProcesses(const Options& opt) {
    char exe[MAX_PATH];
    if (GetModuleFileNameA(nullptr, exe, MAX_PATH) == 0) return fail("no own path");
    Children children;
    std::vector<HWND> set;
    for (int i = 0; i < SetSize; ++i) {
        char command[MAX_PATH + 32];
        std::snprintf(command, sizeof command, "\"%s\" --child %d", exe, i);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                            &pi))
            return fail("could not start a window's process");
        children.processes.push_back(pi);
    }
    for (int i = 0; i < SetSize; ++i) {
        char title[32];
        childTitle(i, title);
        HWND h = nullptr;
        for (const double t0 = nowMs(); h == nullptr && nowMs() - t0 < 30000; Sleep(10)) {
            HWND found = FindWindowA(WindowClass, title);
            if (found != nullptr && IsWindowVisible(found)) h = found;
        }
        if (h == nullptr) return fail("a window's process showed no window");
        set.push_back(h);
    }
    settleAll(set);

    skelvo::Win32WindowSystem raw;
    skelvo::Win32Utf8FileStore files;  // the panel's journal store
    skelvo::Win32ProcessSystem processes;
    skelvo::WindowGuard guard(raw, files, processes);
    skelvo::GuardedWindowSystem guarded(raw, guard);
    skelvo::AwaitedWindows ws(opt.noJournal ? static_cast<skelvo::WindowSystem&>(raw) : guarded);
    auto app = std::make_unique<skelvo::Application>();
    if (!opt.noJournal) guard.attach(*app);
    skelvo::DesktopArray& desktops = app->desktops;
    for (int k = 0; k < skelvo::DesktopCount; ++k) desktops[k].reset(ws, k);
    desktops[0].capture();
    if (!listsExactly(desktops[0], set))
        return fail("desktop 0 does not list exactly the 15 windows (other windows on screen?)");
    std::printf("switch_bench: 15 windows of 15 processes, %d round trips after %d warm-up\n",
                opt.roundTrips, opt.warmUp);

    // The panel's own state, which the journal reads: the desktop on screen is not named.
    int& current = app->state.currentDesktop;
    int& slot = app->state.selectedSlot;
    std::vector<double> coreAnswered, coreSettled, bareAnswered, bareSettled;
    std::vector<double> coreHide, coreShow, bareHide, bareShow;  // settled, each way
    int writesBefore = 0;
    for (int r = 0; r < opt.warmUp + opt.roundTrips; ++r) {
        const bool counted = r >= opt.warmUp;
        if (r == opt.warmUp) writesBefore = guard.writes();
        double answered = 0, settled = 0;
        for (int target : {1, 0}) {
            ws.beginCommand();
            const double t0 = nowMs();
            skelvo::selectCell(target + 1, skelvo::FunctionDesktop, current, slot, desktops);
            guard.sync();
            answered += nowMs() - t0;
            const double way = untilAllIn(set, target == 0, t0);
            settled += way;
            if (counted) (target == 1 ? coreHide : coreShow).push_back(way);
            if (!allIn(set, target == 0)) return fail("a switch left the wrong windows shown");
            settleAll(set);
        }
        if (counted) {
            coreAnswered.push_back(answered);
            coreSettled.push_back(settled);
        }
        // The same calls, bare and waiting: the order of a capture taken just before.
        answered = settled = 0;
        desktops[0].capture();
        const skelvo::VirtualDesktop& d = desktops[0];
        double t0 = nowMs();
        for (int i = 0; i < d.count; ++i)
            ShowWindow(reinterpret_cast<HWND>(d.entries[i].window), SW_HIDE);
        answered += nowMs() - t0;
        double way = untilAllIn(set, false, t0);
        settled += way;
        if (counted) bareHide.push_back(way);
        settleAll(set);
        t0 = nowMs();
        for (int i = d.count - 1; i >= 0; --i) {
            HWND h = reinterpret_cast<HWND>(d.entries[i].window);
            ShowWindow(h, d.entries[i].showState == 0 ? SW_SHOWNA : d.entries[i].showState);
            UpdateWindow(h);
        }
        answered += nowMs() - t0;
        way = untilAllIn(set, true, t0);
        settled += way;
        if (counted) bareShow.push_back(way);
        if (!allIn(set, true)) return fail("a bare switch left the wrong windows shown");
        settleAll(set);
        if (counted) {
            bareAnswered.push_back(answered);
            bareSettled.push_back(settled);
        }
    }
    printPair("answered", coreAnswered, bareAnswered);
    printPair("settled", coreSettled, bareSettled);
    printPair("hides", coreHide, bareHide);
    printPair("shows", coreShow, bareShow);
    std::printf("journal writes per core round trip: %.1f\n",
                static_cast<double>(guard.writes() - writesBefore) / opt.roundTrips);
    for (auto& d : desktops) d.count = 0;
    guard.sync();
    app.reset();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const Options opt = parse(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (opt.child >= 0) return runChild(opt.child);
    if (opt.processes) return runProcesses(opt);

    Windows w;
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    ThreadStart start{&w, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    if (opt.sameThread) {
        createWindows(w);
    } else {
        thread = CreateThread(nullptr, 0, windowThread, &start, 0, &threadId);
        if (WaitForSingleObject(start.ready, 30000) != WAIT_OBJECT_0) return fail("no windows");
    }
    if (w.a.size() != SetSize || w.b.size() != SetSize) return fail("could not create the windows");
    pump();

    // The switch as the panel makes it: through the guarded window system, with the
    // journal brought up to date after it.
    skelvo::Win32WindowSystem raw;
    skelvo::Win32Utf8FileStore files;  // the panel's journal store
    skelvo::Win32ProcessSystem processes;
    skelvo::WindowGuard guard(raw, files, processes);
    skelvo::GuardedWindowSystem guarded(raw, guard);
    skelvo::AwaitedWindows ws(guarded);
    auto app = std::make_unique<skelvo::Application>();
    guard.attach(*app);
    skelvo::DesktopArray& desktops = app->desktops;
    for (int k = 0; k < skelvo::DesktopCount; ++k) desktops[k].reset(ws, k);

    // Desktop 1: set B captured while on screen, then hidden; desktop 0: set A from the screen.
    desktops[1].capture();
    if (!listsExactly(desktops[1], w.b))
        return fail("desktop 1 does not list exactly set B (other windows on screen?)");
    for (HWND h : w.b) ShowWindow(h, SW_HIDE);
    for (HWND h : w.a) {
        ShowWindow(h, SW_SHOWNORMAL);
        UpdateWindow(h);
    }
    pump();
    desktops[0].capture();
    if (!listsExactly(desktops[0], w.a)) return fail("desktop 0 does not list exactly set A");

    const char* wine = nullptr;
    if (HMODULE ntdll = GetModuleHandleA("ntdll.dll")) {
        using Version = const char*(__cdecl*)();
        if (auto f = reinterpret_cast<Version>(
                reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version"))))
            wine = f();
    }
    std::printf(
        "switch_bench: %d + %d windows on %s, %d round trips (%d switches) after %d "
        "warm-up round trips; %s\n",
        SetSize, SetSize, opt.sameThread ? "the timing thread" : "a thread of their own",
        opt.roundTrips, 2 * opt.roundTrips, opt.warmUp, wine ? wine : "not under Wine");

    // The same calls, bare: hide the left set in the order of a capture taken just before
    // (untimed; the order matters, as hiding the active window first passes activation on
    // at every call), show the entered one from the last entry to the first with its
    // recorded state, each followed by UpdateWindow.
    auto bareSwitch = [](const skelvo::VirtualDesktop& leaving,
                         const skelvo::VirtualDesktop& entering) {
        for (int i = 0; i < leaving.count; ++i)
            ShowWindow(reinterpret_cast<HWND>(leaving.entries[i].window), SW_HIDE);
        for (int i = entering.count - 1; i >= 0; --i) {
            const auto& e = entering.entries[i];
            HWND h = reinterpret_cast<HWND>(e.window);
            ShowWindow(h, e.showState == 0 ? SW_SHOWNA : e.showState);
            UpdateWindow(h);
        }
    };

    // Core and bare round trips alternate, so that both meet the same load on the machine.
    // The panel's own state, which the journal reads: the desktop on screen is not named.
    int& current = app->state.currentDesktop;
    int& slot = app->state.selectedSlot;
    std::vector<double> core, bare, capture, legacy, coreSettled, bareSettled;
    // Until every window of the set left is hidden and every one of the set entered shown.
    auto settledAfter = [&](int target, double t0) {
        const auto& shown = target == 1 ? w.b : w.a;
        const auto& hidden = target == 1 ? w.a : w.b;
        while (!onlyVisible(shown, hidden) && nowMs() - t0 < 5000) Sleep(0);
        return nowMs() - t0;
    };
    int writesBefore = 0;
    for (int r = 0; r < opt.warmUp + opt.roundTrips; ++r) {
        if (r == opt.warmUp) writesBefore = guard.writes();
        for (int target : {1, 0}) {
            ws.beginCommand();
            const double t0 = nowMs();
            skelvo::selectCell(target + 1, skelvo::FunctionDesktop, current, slot, desktops);
            guard.sync();
            const double t1 = nowMs();
            const double settled = settledAfter(target, t0);
            if (r >= opt.warmUp) coreSettled.push_back(settled);
            settle(w);
            const bool ok = target == 1 ? onlyVisible(w.b, w.a) : onlyVisible(w.a, w.b);
            if (current != target || !ok) {
                int a = 0, b = 0;
                for (HWND h : w.a) a += IsWindowVisible(h) ? 1 : 0;
                for (HWND h : w.b) b += IsWindowVisible(h) ? 1 : 0;
                std::fprintf(stderr, "switch %d -> %d in round trip %d: %d of A and %d of B shown\n",
                             1 - target, target, r, a, b);
                return fail("a switch left the wrong windows shown");
            }
            if (r >= opt.warmUp) core.push_back(t1 - t0);
        }
        for (int target : {1, 0}) {
            desktops[1 - target].capture();
            const double t0 = nowMs();
            bareSwitch(desktops[1 - target], desktops[target]);
            const double t1 = nowMs();
            const double settled = settledAfter(target, t0);
            if (r >= opt.warmUp) bareSettled.push_back(settled);
            settle(w);
            const bool ok = target == 1 ? onlyVisible(w.b, w.a) : onlyVisible(w.a, w.b);
            if (!ok) return fail("a bare switch left the wrong windows shown");
            if (r >= opt.warmUp) bare.push_back(t1 - t0);
        }
        // The part of a switch that the bare calls lack: reading the desktop from the screen.
        const double t0 = nowMs();
        desktops[0].capture();
        const double t1 = nowMs();
        settle(w);
        if (r >= opt.warmUp) capture.push_back(t1 - t0);
        const double t2 = nowMs();
        legacyCapture(ws, desktops[0]);
        const double t3 = nowMs();
        settle(w);
        if (r >= opt.warmUp) legacy.push_back(t3 - t2);
    }
    const int journalWrites = guard.writes() - writesBefore;
    if (!listsExactly(desktops[0], w.a) || !listsExactly(desktops[1], w.b))
        return fail("the desktops' lists changed during the switches");

    print("selectCell (core):", core, "switches");
    print("bare Show/UpdateWindow:", bare, "switches");
    print("core, until settled:", coreSettled, "switches");
    print("bare, until settled:", bareSettled, "switches");
    print("capture of 15 alone:", capture, "captures");
    print("capture of 15, before:", legacy, "captures");
    std::printf("journal writes during the timed switches: %d (%s)\n", journalWrites,
                guard.journalFile().c_str());
    const Stats c = stats(core);
    const Stats b = stats(bare);
    std::printf("core - bare: %.3f ms by median, %.3f ms by mean; core / bare %.2f by median\n",
                c.median - b.median, c.mean - b.mean, c.median / b.median);
    std::printf("settled: core / bare %.2f by median\n",
                stats(coreSettled).median / stats(bareSettled).median);

    // Nothing left listed, so the records' teardown shows nothing more.
    for (auto& d : desktops) d.count = 0;
    guard.sync();
    app.reset();
    if (thread) {
        PostThreadMessageA(threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(thread, 10000);
    }
    return 0;
}
