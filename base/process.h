// The few facts about processes that the window journal needs: this process's id, whether
// another instance still runs, and where the user's local application data lives. Paths are
// UTF-8, so that any user name fits. Win32 in process_win.cpp; a fake in the tests.
#pragma once

#include <cstdint>
#include <string>

namespace skelvo {

class ProcessSystem {
public:
    virtual ~ProcessSystem() = default;

    virtual std::uint32_t currentId() = 0;
    // The process's start time, which tells it from a later process that reuses its id;
    // 0 when no running process has that id.
    virtual std::uint64_t startMark(std::uint32_t processId) = 0;
    // The user's local application data folder, without a trailing separator; empty when
    // it cannot be found.
    virtual std::string localDataDirectory() = 0;
    // A second per-user folder for when the first cannot be used (the temporary folder);
    // empty when there is none.
    virtual std::string fallbackDataDirectory() = 0;
    // Creates the folder if it is missing; true when it exists afterwards.
    virtual bool makeDirectory(const std::string& path) = 0;
};

}  // namespace skelvo
