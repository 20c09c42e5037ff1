// The process facts on Win32.
#pragma once

#include "base/process.h"

namespace skelvo {

class Win32ProcessSystem : public ProcessSystem {
public:
    std::uint32_t currentId() override;
    std::uint64_t startMark(std::uint32_t processId) override;
    std::string localDataDirectory() override;
    std::string fallbackDataDirectory() override;
    bool makeDirectory(const std::string& path) override;
};

}  // namespace skelvo
