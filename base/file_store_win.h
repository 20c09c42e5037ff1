// The file store on Win32.
#pragma once

#include "base/file_store.h"

namespace skelvo {

class Win32FileStore : public FileStore {
public:
    FileRead readFile(const std::string& path) override;
    bool replace(const std::string& path, std::string_view bytes) override;
    bool remove(const std::string& path) override;
    std::vector<std::string> list(const std::string& directory, const std::string& prefix) override;
    bool isLeadByte(unsigned char byte) const override;
};

}  // namespace skelvo
