// Processes by id with their start marks, and data folders that can be refused.
#pragma once

#include <map>
#include <set>
#include <string>

#include "base/process.h"

namespace skelvo::testing {

class FakeProcessSystem : public ProcessSystem {
public:
    std::uint32_t currentId() override { return current; }
    std::uint64_t startMark(std::uint32_t processId) override {
        const auto it = running.find(processId);
        return it == running.end() ? 0 : it->second;
    }
    std::string localDataDirectory() override { return localData; }
    std::string fallbackDataDirectory() override { return fallbackData; }
    bool makeDirectory(const std::string& path) override { return refused.count(path) == 0; }

    std::uint32_t current = 100;
    std::map<std::uint32_t, std::uint64_t> running{{100, 7}};
    std::string localData = "C:\\Users\\u\\AppData\\Local";
    std::string fallbackData = "C:\\Users\\u\\AppData\\Local\\Temp";
    std::set<std::string> refused;  // folders makeDirectory cannot make
};

}  // namespace skelvo::testing
