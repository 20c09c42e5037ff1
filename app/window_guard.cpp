// The window journal's upkeep, the replay at start and the crash path.
#include "app/window_guard.h"

#include <algorithm>

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
    const std::string base = processes_.localDataDirectory();
    if (!base.empty()) {
        folder_ = base + "\\" + JournalFolder;
        path_ = journalPath(folder_, ownId_);
    }
}

WindowGuard::~WindowGuard() {
    finish();
}

void WindowGuard::finish() {
    if (onDisk_) files_.remove(path_);
    onDisk_ = false;
    finished_ = true;
}

int WindowGuard::replayLeftovers() {
    if (folder_.empty()) return 0;
    int shown = 0;
    for (const std::string& name : files_.list(folder_, JournalPrefix)) {
        const std::string path = folder_ + "\\" + name;
        const std::uint32_t id = ownerInName(name);
        const std::optional<std::string> bytes = files_.read(path);
        const std::optional<Journal> journal = bytes ? parseJournal(*bytes) : std::nullopt;
        // An instance still running keeps its journal; an id that is now this process's
        // belonged to one that has ended.
        const std::uint32_t owner = journal ? journal->ownerId : id;
        const std::uint64_t mark = processes_.startMark(owner);
        const bool running =
            owner != ownId_ && mark != 0 && (!journal || mark == journal->ownerMark);
        if (running) continue;
        if (journal) shown += replayJournal(windows_, *journal);
        files_.remove(path);
    }
    return shown;
}

int WindowGuard::collect(WindowHandle extra) {
    if (app_ == nullptr) return 0;
    int n =
        collectHeld(app_->desktops, app_->hidden.windows().data(),
                    static_cast<int>(app_->hidden.windows().size()), held_.data(), HeldCapacity);
    // The window about to be hidden, if no list holds it yet.
    if (extra != NullWindow && n < HeldCapacity &&
        std::none_of(held_.begin(), held_.begin() + n,
                     [extra](const HeldWindow& h) { return h.window == extra; })) {
        held_[n++] = HeldWindow{extra, win::SwShowNa};
    }
    // By handle, so that a switch, which reorders the lists, changes nothing to write.
    std::sort(held_.begin(), held_.begin() + n,
              [](const HeldWindow& a, const HeldWindow& b) { return a.window < b.window; });
    return n;
}

void WindowGuard::beforeHide(WindowHandle window) {
    const bool named = std::any_of(lastHeld_.begin(), lastHeld_.end(),
                                   [window](const HeldWindow& h) { return h.window == window; });
    if (!named) syncWith(window);
}

void WindowGuard::syncWith(WindowHandle extra) {
    if (path_.empty() || app_ == nullptr || finished_) return;
    const int n = collect(extra);
    if (std::equal(held_.begin(), held_.begin() + n, lastHeld_.begin(), lastHeld_.end())) return;

    std::vector<JournalRecord> records;
    records.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const HeldWindow& h = held_[i];
        // A window already written keeps what identified it then; only newcomers are asked.
        const auto old = std::find_if(written_.begin(), written_.end(),
                                      [&](const JournalRecord& r) { return r.window == h.window; });
        if (old != written_.end()) {
            JournalRecord r = *old;
            r.command = h.command;
            records.push_back(std::move(r));
        } else if (auto r = describeWindow(windows_, h.window, h.command)) {
            records.push_back(std::move(*r));
        }
    }
    bool ok = true;
    if (records.empty() && onDisk_) {
        ok = files_.remove(path_);
        if (ok) onDisk_ = false;
        ++writes_;
    } else if (!records.empty() && (records != written_ || !onDisk_)) {
        if (!folderMade_) folderMade_ = processes_.makeDirectory(folder_);
        ok = files_.replace(path_, formatJournal(Journal{ownId_, ownMark_, records, true}));
        if (ok) onDisk_ = true;
        ++writes_;
    }
    if (!ok) return;  // tried again after the next message
    written_ = std::move(records);
    lastHeld_.assign(held_.begin(), held_.begin() + n);
}

int WindowGuard::rescue() {
    const int n = collect(NullWindow);
    return showHeldAsync(windows_, held_.data(), n);
}

}  // namespace skelvo
