// Records the shell calls the panel makes.
#pragma once

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
        return true;
    }
    struct Notification {
        unsigned operation;
        TrayIconData data;
    };
    std::vector<Notification> notifications;

private:
    EventLog* log_;
};

}  // namespace skelvo::testing
