// The environment the file store contract runs in: the fake store natively, the real file
// system under Wine. Each provides a scratch directory and another program's hold on a
// file.
#pragma once

#include <memory>
#include <string>

#include "base/file_store.h"

namespace skelvo::testing {

class FileEnv {
public:
    virtual ~FileEnv() = default;
    virtual FileStore& store() = 0;
    // An empty directory of its own; the files in it are removed at the end.
    virtual std::string directory() = 0;
    // Writes a file directly, as another program would.
    virtual void create(const std::string& path, const std::string& bytes) = 0;
    // Another handle holds path open for reading and writing, sharing reading and writing
    // (as an editor does) or nothing, until release.
    virtual void hold(const std::string& path, bool shareReadWrite) = 0;
    virtual void release(const std::string& path) = 0;
    virtual void setReadOnly(const std::string& path, bool readOnly) = 0;
};

std::unique_ptr<FileEnv> makeFileEnv();

}  // namespace skelvo::testing
