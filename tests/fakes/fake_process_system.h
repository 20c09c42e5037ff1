// Processes by id with their start marks, and a local data folder that always exists.
#pragma once

#include <map>

#include "base/process.h"

namespace skelvo::testing {

class FakeProcessSystem : public ProcessSystem {
public:
    std::uint32_t currentId() override { return current; }
    std::uint64_t startMark(std::uint32_t processId) override {
        const auto it = running.find(processId);
        return it == running.end() ? 0 : it->second;
    }
    std::string localDataDirectory() override { return "C:\\Users\\u\\AppData\\Local"; }
    bool makeDirectory(const std::string&) override { return true; }

    std::uint32_t current = 100;
    std::map<std::uint32_t, std::uint64_t> running{{100, 7}};
};

}  // namespace skelvo::testing
