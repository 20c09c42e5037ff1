// The settings file's store on Win32: paths in UTF-8 through the wide file API; isLeadByte
// answers for the system's ANSI code page, in which the file holds its paths.
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
