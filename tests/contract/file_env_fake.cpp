// The file store contract's environment on the fake store.
#include "tests/contract/file_env.h"
#include "tests/fakes/fake_file_store.h"

namespace skelvo::testing {
namespace {

class FakeFileEnv : public FileEnv {
public:
    FileStore& store() override { return files_; }
    std::string directory() override { return "C:\\contract"; }
    void create(const std::string& path, const std::string& bytes) override {
        files_.files[path] = bytes;
    }
    void hold(const std::string& path, bool shareReadWrite) override {
        files_.held[path] =
            shareReadWrite ? FakeFileStore::ShareReadWrite : FakeFileStore::ShareNothing;
    }
    void release(const std::string& path) override { files_.held.erase(path); }
    void setReadOnly(const std::string& path, bool readOnly) override {
        if (readOnly) {
            files_.readOnly.insert(path);
        } else {
            files_.readOnly.erase(path);
        }
    }

private:
    FakeFileStore files_;
};

}  // namespace

std::unique_ptr<FileEnv> makeFileEnv() {
    return std::make_unique<FakeFileEnv>();
}

}  // namespace skelvo::testing
