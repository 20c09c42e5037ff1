// Records the shell calls the panel makes.
#pragma once

#include <set>
#include <vector>

#include "tests/fakes/event_log.h"
#include "ui/shell.h"

namespace skelvo::testing {

class FakeShell : public Shell {
public:
    explicit FakeShell(EventLog* log = nullptr) : log_(log) {}
    bool notifyIcon(unsigned operation, const TrayIconData& data) override {
        notifications.push_back({operation, data});
        if (log_ != nullptr) log_->add("notifyIcon " + std::to_string(operation));
        // One icon per window and id: added once, deleted only while shown.
        const bool adding = operation == win::NimAdd;
        if (adding || operation == win::NimDelete) {
            if (shown == adding || (adding && refuseAdd)) return false;
            shown = adding;
        }
        return true;
    }
    IconHandle loadIcon(InstanceHandle, int resourceId) override {
        loadedIcons.push_back(resourceId);
        liveIcons.insert(nextIcon);
        return nextIcon++;
    }
    void destroyIcon(IconHandle icon) override {
        if (log_ != nullptr) log_->add("destroyIcon");
        if (liveIcons.erase(icon) == 0) badDestroys.push_back(icon);
    }
    bool refuseAdd = false;  // the shell refuses new icons (no taskbar yet)
    bool shown = false;      // an icon is in the notification area
    std::vector<int> loadedIcons;
    std::set<IconHandle> liveIcons;
    std::vector<IconHandle> badDestroys;  // destroyed twice or never loaded
    struct Notification {
        unsigned operation;
        TrayIconData data;
    };
    std::vector<Notification> notifications;

private:
    EventLog* log_;
    IconHandle nextIcon = 0x1C00;
};

}  // namespace skelvo::testing
