// Never lose a window: which windows the program holds (in any desktop's list or hidden
// by the hide-all command), the journal that names the ones it keeps hidden so that a
// later start can show them again after a hard kill, and the replay of such a journal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktops/virtual_desktop.h"

namespace skelvo {

// A held window and the show command that brings it back.
struct HeldWindow {
    WindowHandle window = NullWindow;
    int command = win::SwShowNa;
    friend bool operator==(const HeldWindow&, const HeldWindow&) = default;
};

// Enough room for every list and the hide-all list.
inline constexpr int HeldCapacity = DesktopCount * (EntryCapacity + OwnedCapacity) + 256;

// Every window of the twelve lists but skipped's (-1 skips none; the windows that go with a
// listed one included) and of extra, each once (the first listing wins, and desktop d's
// entries come in list order), with its show command: the entry's state, or SW_SHOWNA for
// extra. Writes into out without allocating, so a crash handler can use it; returns how
// many were written.
int collectHeld(const DesktopArray& desktops, int skipped, const WindowHandle* extra,
                int extraCount, HeldWindow* out, int capacity);

// The crash path: every held window is shown with ShowWindowAsync, which never waits on
// its program; one still visible, whose hide may not have landed yet, with SW_SHOWNA.
// Returns how many hidden ones were shown.
int showHeldAsync(WindowSystem& windows, const HeldWindow* held, int count);

// One window of a journal: the handle and what tells it from a later window that
// reuses the handle. A hidden window is shown with command; a window being dragged on the
// map, which may sit off screen meanwhile, goes back to place.
struct JournalRecord {
    WindowHandle window = NullWindow;
    std::uint32_t processId = 0;
    int command = win::SwShowNa;
    std::string className;
    std::optional<Rect> place;
    friend bool operator==(const JournalRecord&, const JournalRecord&) = default;
};

struct Journal {
    std::uint32_t ownerId = 0;    // the instance that wrote it
    std::uint64_t ownerMark = 0;  // its start mark (ProcessSystem::startMark)
    std::vector<JournalRecord> records;
    bool complete = false;  // the end line was read
};

inline constexpr char JournalPrefix[] = "journal-";
inline constexpr char JournalFolder[] = "Skelvo";
// Far more than the largest journal (every list full); a bigger file is read this far.
inline constexpr std::size_t JournalReadLimit = 1u << 20;

std::string formatJournal(const Journal& journal);
// nullopt when the bytes are not a journal. A cut file yields its whole lines only.
std::optional<Journal> parseJournal(std::string_view bytes);
// folder\journal-<id>.txt
std::string journalPath(const std::string& folder, std::uint32_t processId);

// The record of a live window; nullopt when it is gone.
std::optional<JournalRecord> describeWindow(WindowSystem& windows, WindowHandle window,
                                            int command);
// Shows each recorded window that still exists and belongs to the same process and class
// (one still visible with SW_SHOWNA), and puts a dragged one back at its place, with calls
// that never wait on its program. Returns how many hidden ones were shown.
int replayJournal(WindowSystem& windows, const Journal& journal);

}  // namespace skelvo
