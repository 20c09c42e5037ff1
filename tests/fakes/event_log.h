// A shared, ordered record of the calls the fakes received, for tests of call order.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace skelvo::testing {

struct EventLog {
    std::vector<std::string> events;
    void add(std::string e) { events.push_back(std::move(e)); }
    // Position of the first event equal to e, or -1.
    int indexOf(const std::string& e) const {
        auto it = std::find(events.begin(), events.end(), e);
        return it == events.end() ? -1 : static_cast<int>(it - events.begin());
    }
    int countOf(const std::string& e) const {
        return static_cast<int>(std::count(events.begin(), events.end(), e));
    }
    void clear() { events.clear(); }
};

}  // namespace skelvo::testing
