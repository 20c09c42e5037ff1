// The window journal's upkeep, the replay at start and the crash path.
#include "app/window_guard.h"

#include <algorithm>
#include <utility>

namespace skelvo {

namespace {

// The id in a journal's file name, "journal-<id>.txt" (or its temporary, "journal-<id>.tx~").
std::uint32_t ownerInName(const std::string& name) {
    std::uint32_t id = 0;
    for (std::size_t i = sizeof JournalPrefix - 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') break;
        id = id * 10 + static_cast<std::uint32_t>(name[i] - '0');
    }
    return id;
}

}  // namespace

WindowGuard::WindowGuard(WindowSystem& windows, FileStore& files, ProcessSystem& processes)
    : windows_(windows), files_(files), processes_(processes) {
    ownId_ = processes_.currentId();
    ownMark_ = processes_.startMark(ownId_);
    for (const std::string& base :
         {processes_.localDataDirectory(), processes_.fallbackDataDirectory()}) {
        const std::string folder = base + "\\" + JournalFolder;
        if (!base.empty() && std::find(folders_.begin(), folders_.end(), folder) == folders_.end())
            folders_.push_back(folder);
    }
    if (!folders_.empty()) path_ = journalPath(folders_[0], ownId_);
}

WindowGuard::~WindowGuard() {
    finish();
}

void WindowGuard::finish() {
    if (!onDisk_.empty()) dropJournal();
    finished_ = true;
}

void WindowGuard::release() {
    released_ = true;
}

void WindowGuard::resume() {
    released_ = false;
}

bool WindowGuard::takeWarning() {
    return std::exchange(warning_, false);
}

int WindowGuard::replayLeftovers() {
    int shown = 0;
    for (const std::string& folder : folders_) shown += replayFolder(folder);
    return shown;
}

int WindowGuard::replayFolder(const std::string& folder) {
    int shown = 0;
    for (const std::string& name : files_.list(folder, JournalPrefix)) {
        const std::string path = folder + "\\" + name;
        const std::optional<std::string> bytes = files_.readUpTo(path, JournalReadLimit);
        if (!bytes) continue;  // locked or unreadable now: the next start tries again
        const std::optional<Journal> journal = parseJournal(*bytes);
        // An instance still running keeps its journal, even one cut short in the middle of
        // a write; an id that is now this process's belonged to one that has ended.
        const std::uint32_t owner = journal ? journal->ownerId : ownerInName(name);
        const std::uint64_t mark = processes_.startMark(owner);
        const bool running =
            owner != ownId_ && mark != 0 && (!journal || mark == journal->ownerMark);
        if (running) continue;
        if (journal) shown += replayJournal(windows_, *journal);
        files_.remove(path);  // one that cannot be removed is replayed again, harmlessly
    }
    return shown;
}

int WindowGuard::collect(WindowHandle extra, bool keepNamed) {
    drag_.reset();
    if (app_ == nullptr) return 0;
    const std::vector<WindowHandle>& hidden = app_->hidden.windows();
    // The desktop on screen shows its windows: the journal names only those kept hidden.
    int n = collectHeld(app_->desktops, app_->state.currentDesktop, hidden.data(),
                        static_cast<int>(hidden.size()), held_.data(), HeldCapacity);
    // Every window was shown for the session end, and none is hidden until it is cancelled.
    if (released_) n = 0;
    const auto add = [&](const HeldWindow& h) {
        if (n < HeldCapacity &&
            std::none_of(held_.begin(), held_.begin() + n,
                         [&](const HeldWindow& x) { return x.window == h.window; }))
            held_[n++] = h;
    };
    if (keepNamed) {
        for (const HeldWindow& h : lastHeld_) add(h);
    }
    if (extra != NullWindow) add(HeldWindow{extra, win::SwShowNa});
    // By handle, so that a switch, which reorders the lists, changes nothing to write.
    std::sort(held_.begin(), held_.begin() + n,
              [](const HeldWindow& a, const HeldWindow& b) { return a.window < b.window; });

    const PanelState& st = app_->state;
    if (st.pointerState == PointerLeftDown && st.dragWindow != NullWindow &&
        st.functionMode == FunctionDesktop) {
        drag_ = std::pair{st.dragWindow, st.dragStartRect};
    } else if (keepNamed) {
        drag_ = lastDrag_;
    }
    return n;
}

void WindowGuard::beforeHide(WindowHandle window) {
    if (finished_ || app_ == nullptr) return;
    const bool named = std::any_of(lastHeld_.begin(), lastHeld_.end(),
                                   [window](const HeldWindow& h) { return h.window == window; });
    if (named) return;
    // One write ahead of the command's first hide names every window the lists now keep
    // hidden (a switch has made the desktop it leaves one of them, the hide-all command has
    // listed its windows) and keeps what the last write named, such as the entering
    // desktop's windows that are not shown yet; the write after the message drops what was
    // shown. A window that is not visible loses nothing by its hide.
    syncWith(windows_.isVisible(window) ? window : NullWindow, true);
}

void WindowGuard::syncWith(WindowHandle extra, bool keepNamed) {
    if (app_ == nullptr || finished_) return;
    const int n = collect(extra, keepNamed);
    if (std::equal(held_.begin(), held_.begin() + n, lastHeld_.begin(), lastHeld_.end()) &&
        drag_ == lastDrag_)
        return;

    std::vector<JournalRecord> records;
    records.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i < n; ++i) {
        const HeldWindow& h = held_[i];
        // A window already written keeps what identified it then; only newcomers are asked.
        const auto old =
            std::find_if(written_.begin(), written_.end(),
                         [&](const JournalRecord& r) { return r.window == h.window && !r.place; });
        if (old != written_.end()) {
            JournalRecord r = *old;
            r.command = h.command;
            records.push_back(std::move(r));
        } else if (auto r = describeWindow(windows_, h.window, h.command)) {
            records.push_back(std::move(*r));
        }
    }
    if (drag_) {
        if (auto r = describeWindow(windows_, drag_->first, win::SwShowNa)) {
            r->place = drag_->second;
            records.push_back(std::move(*r));
        }
    }
    bool ok = true;
    if (records.empty() && !onDisk_.empty()) {
        ok = dropJournal();
        ++writes_;
    } else if (!records.empty() && (records != written_ || onDisk_.empty())) {
        ok = store(formatJournal(Journal{ownId_, ownMark_, records, true}));
        ++writes_;
    }
    if (!ok) return;  // tried again after the next message
    written_ = std::move(records);
    lastHeld_.assign(held_.begin(), held_.begin() + n);
    lastDrag_ = drag_;
}

bool WindowGuard::store(const std::string& bytes) {
    // Rewritten in place through the handle kept on it: no new file, no rename.
    if (heldJournal_ != 0 && onDisk_ == path_ && files_.rewriteHeld(heldJournal_, bytes))
        return true;
    while (place_ < folders_.size()) {
        if (!folderMade_) folderMade_ = processes_.makeDirectory(folders_[place_]);
        // The handle that the crash path deletes through goes with the file it names.
        closeHeld();
        if (folderMade_ && files_.replace(path_, bytes)) {
            // A journal left in a place given up since names nothing current.
            if (!onDisk_.empty() && onDisk_ != path_) files_.remove(onDisk_);
            onDisk_ = path_;
            heldJournal_ = files_.holdForRewrite(path_);
            return true;
        }
        // This folder cannot be used (no name for it, no room, no right): the next one.
        ++place_;
        folderMade_ = false;
        if (place_ < folders_.size()) path_ = journalPath(folders_[place_], ownId_);
    }
    // Nowhere: the windows are hidden anyway, the user is told once, and the next change
    // tries the first place again.
    if (!warned_) warning_ = warned_ = true;
    place_ = 0;
    if (!folders_.empty()) path_ = journalPath(folders_[0], ownId_);
    return false;
}

void WindowGuard::closeHeld() {
    if (heldJournal_ != 0) files_.closeHeld(heldJournal_);
    heldJournal_ = 0;
}

bool WindowGuard::dropJournal() {
    closeHeld();
    if (!files_.remove(onDisk_)) return false;
    onDisk_.clear();
    return true;
}

int WindowGuard::rescue() {
    if (app_ == nullptr) return 0;
    // Every list, the one on screen too: a crash inside a switch finds the entering
    // desktop's windows still hidden. Windows that are visible keep the state they have.
    const std::vector<WindowHandle>& hidden = app_->hidden.windows();
    const int n = collectHeld(app_->desktops, -1, hidden.data(), static_cast<int>(hidden.size()),
                              held_.data(), HeldCapacity);
    const int shown = showHeldAsync(windows_, held_.data(), n);
    const PanelState& st = app_->state;
    if (st.pointerState == PointerLeftDown && st.dragWindow != NullWindow &&
        st.functionMode == FunctionDesktop)
        windows_.moveAsync(st.dragWindow, st.dragStartRect.left, st.dragStartRect.top,
                           st.dragStartRect.width(), st.dragStartRect.height(), true);
    // Its shows are on their way: a window that its program hides later is not ours. The
    // UI thread may be stopped holding the heap's lock, so the journal goes only through
    // the handle opened when it was written; without one it stays for the next start,
    // whose replay finds these windows shown.
    if (heldJournal_ != 0) files_.deleteHeld(std::exchange(heldJournal_, 0));
    finished_ = true;
    return shown;
}

}  // namespace skelvo
