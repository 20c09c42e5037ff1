// The shell contract's environment on the real system: files in the temporary directory,
// drops built with GlobalAlloc as the shell builds them, and the fixture program.
#include <windows.h>

#include <shlobj.h>

#include <cstdlib>
#include <cstring>

#include "base/utf8_file_store_win.h"
#include "tests/contract/shell_env.h"
#include "ui/shell_win.h"

namespace skelvo::testing {
namespace {

class Win32ShellEnv : public ShellEnv {
public:
    Win32ShellEnv() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir_ = std::string(temp) + "skelvo-shell-contract";
        CreateDirectoryA(dir_.c_str(), nullptr);
        HANDLE f = CreateFileA(document().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(f);
    }
    ~Win32ShellEnv() override {
        for (const std::string& path : made_) {
            wchar_t wide[MAX_PATH];
            if (toWidePath(path, wide, MAX_PATH)) DeleteFileW(wide);
        }
        DeleteFileA(document().c_str());
        RemoveDirectoryA(dir_.c_str());
    }
    Shell& shell() override { return shell_; }
    InstanceHandle instance() override {
        return reinterpret_cast<InstanceHandle>(GetModuleHandleA(nullptr));
    }
    std::string program() override {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, MAX_PATH);
        return std::string(windows) + "\\notepad.exe";
    }
    std::string document() override { return dir_ + "\\notes.txt"; }
    std::string folder() override { return dir_; }
    std::string missing() override { return dir_ + "\\missing.txt"; }
    DropHandle makeDrop(const std::vector<std::string>& names) override {
        std::size_t bytes = sizeof(DROPFILES) + 1;
        for (const std::string& n : names) bytes += n.size() + 1;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = FALSE;
        char* at = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
        for (const std::string& n : names) {
            std::memcpy(at, n.c_str(), n.size() + 1);
            at += n.size() + 1;
        }
        GlobalUnlock(memory);
        return reinterpret_cast<DropHandle>(memory);
    }
    bool dropReleased(DropHandle drop) override {
        return GlobalFlags(reinterpret_cast<HGLOBAL>(drop)) == GMEM_INVALID_HANDLE;
    }
    std::string fixture() override {
        // CTest passes the Unix path; Wine's Z: drive is the Unix root.
        std::string path = std::string("Z:") + std::getenv("SKELVO_FIXTURE");
        for (char& c : path)
            if (c == '/') c = '\\';
        return path;
    }
    bool marked(const std::string& file, int deadlineMs) override {
        const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(deadlineMs);
        while (GetTickCount64() < deadline) {
            if (GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
                DeleteFileA(file.c_str());
                return true;
            }
            Sleep(50);
        }
        return false;
    }
    std::string scratchFile(const std::string& name) override { return dir_ + "\\" + name; }
    std::string makeFile(const std::string& name) override {
        const std::string path = dir_ + "\\" + name;
        wchar_t wide[MAX_PATH];
        if (!toWidePath(path, wide, MAX_PATH)) return {};
        CloseHandle(CreateFileW(wide, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        made_.push_back(path);
        return path;
    }
    bool existsAnsi(const std::string& path) override {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    Win32Shell shell_;
    std::string dir_;
    std::vector<std::string> made_;
};

}  // namespace

std::unique_ptr<ShellEnv> makeShellEnv() {
    return std::make_unique<Win32ShellEnv>();
}

}  // namespace skelvo::testing
