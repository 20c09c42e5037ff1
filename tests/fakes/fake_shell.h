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
        if (operation == win::NimAdd) {
            if (refuseAdd || shown) return false;  // the shell takes one icon per id
            shown = true;
        } else if (operation == win::NimDelete) {
            if (!shown) return false;
            shown = false;
        }
        return true;
    }
    IconHandle loadIcon(InstanceHandle, int resourceId) override {
        loadedIcons.push_back(resourceId);
        const IconHandle icon = nextIcon++;
        liveIcons.insert(icon);
        return icon;
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
