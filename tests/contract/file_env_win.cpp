// The file store contract's environment on the real file system: a directory in the
// temporary directory, and handles held as another program would hold them.
#include <windows.h>

#include <map>
#include <vector>

#include "base/file_store_win.h"
#include "base/utf8_file_store_win.h"
#include "tests/contract/file_env.h"

namespace skelvo::testing {
namespace {

// Paths are UTF-8, as the store takes them.
std::wstring wide(const std::string& path) {
    wchar_t buffer[1024];
    return toWidePath(path, buffer, 1024) ? std::wstring(buffer) : std::wstring();
}

class Win32FileEnv : public FileEnv {
public:
    Win32FileEnv() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir_ = std::string(temp) + "skelvo-file-contract";
        CreateDirectoryA(dir_.c_str(), nullptr);
    }
    ~Win32FileEnv() override {
        for (const auto& [path, handle] : held_) CloseHandle(handle);
        made_.push_back(dir_);
        for (const std::string& folder : made_) {
            for (const std::string& name : store_.list(folder, "")) {
                const std::string path = folder + "\\" + name;
                SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(wide(path).c_str());
            }
            RemoveDirectoryW(wide(folder).c_str());
        }
    }
    FileStore& store() override { return store_; }
    std::string directory() override { return dir_; }
    void create(const std::string& path, const std::string& bytes) override {
        const std::string folder = path.substr(0, path.rfind('\\'));
        if (folder != dir_ && CreateDirectoryW(wide(folder).c_str(), nullptr))
            made_.push_back(folder);
        HANDLE f = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD wrote = 0;
        WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
        CloseHandle(f);
    }
    void hold(const std::string& path, bool shareReadWrite) override {
        held_[path] = CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  shareReadWrite ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    void release(const std::string& path) override {
        CloseHandle(held_[path]);
        held_.erase(path);
    }
    void setReadOnly(const std::string& path, bool readOnly) override {
        SetFileAttributesW(wide(path).c_str(),
                           readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
    }

private:
    Win32FileStore store_;
    std::string dir_;
    std::vector<std::string> made_;
    std::map<std::string, HANDLE> held_;
};

}  // namespace

std::unique_ptr<FileEnv> makeFileEnv() {
    return std::make_unique<Win32FileEnv>();
}

}  // namespace skelvo::testing
