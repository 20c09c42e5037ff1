// The shell services the panel uses: the notification-area icon, the open-file dialog,
// file titles, associated icons, dropped files and opening a path with its "open" action.
// Win32 in shell_win.cpp; a scripted recorder in the tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "base/platform.h"

namespace skelvo {

using DropHandle = std::uintptr_t;  // HDROP

// DragQueryFileA's index that asks for the number of dropped items.
inline constexpr unsigned DropCountIndex = 0xFFFFFFFFu;

// The fields of the first NOTIFYICONDATAA layout that the panel fills; the Win32 edge
// translates it into the SDK structure of NOTIFYICONDATAA_V1_SIZE bytes.
struct TrayIconData {
    WindowHandle window = NullWindow;
    unsigned id = 0;
    unsigned flags = 0;
    unsigned callbackMessage = 0;
    IconHandle icon = 0;
    char tip[64] = {};
};

// The OPENFILENAMEW members the panel sets; every other member is zero. The panel's
// texts are code page 932; the names are UTF-8, which holds any name, in buffers of
// FileChoiceBytes(size) bytes for a dialog limit of size characters.
struct OpenFileRequest {
    WindowHandle owner = NullWindow;
    const char* filter = nullptr;  // pairs of strings, the list ended by an empty one
    const char* title = nullptr;
    unsigned flags = 0;
    char* file = nullptr;  // in: the initial file name; out: the chosen path
    unsigned fileSize = 0;      // nMaxFile, in characters
    char* fileTitle = nullptr;  // out: the chosen file's title
    unsigned fileTitleSize = 0;  // nMaxFileTitle, in characters
};

// A UTF-8 buffer for names of up to size UTF-16 characters: three bytes each at most.
constexpr unsigned FileChoiceBytes(unsigned size) {
    return 3 * size;
}

class Shell {
public:
    virtual ~Shell() = default;
    // Shell_NotifyIconA; returns its result.
    virtual bool notifyIcon(unsigned operation, const TrayIconData& data) = 0;

    // GetOpenFileNameW (the structure of OPENFILENAME_SIZE_VERSION_400W bytes); false when
    // cancelled or failed.
    virtual bool openFileDialog(const OpenFileRequest& request) = 0;
    // GetFileTitleA; returns its result (0 done).
    virtual int fileTitle(const char* path, char* title, unsigned size) = 0;
    // ExtractAssociatedIconA with icon index 0 on a copy of path: the call may write the
    // file it took the icon from into its argument, and the caller's path stays as given.
    virtual IconHandle associatedIcon(InstanceHandle instance, const char* path) = 0;
    virtual bool destroyIcon(IconHandle icon) = 0;
    // An icon group of the module at its own size (LoadImageA, LR_DEFAULTCOLOR); 0 if none.
    virtual IconHandle loadIcon(InstanceHandle instance, int resourceId) = 0;
    // DragQueryFileA: with DropCountIndex the number of items, with a null buffer the
    // length of item index, otherwise the bytes copied (at most size - 1, terminated).
    virtual unsigned dragQueryFile(DropHandle drop, unsigned index, char* buffer,
                                   unsigned size) = 0;
    // DragQueryFileW: item index in UTF-8, which holds any name; empty when there is none.
    virtual std::string droppedPath(DropHandle drop, unsigned index) = 0;
    virtual void dragFinish(DropHandle drop) = 0;
    // ShellExecuteExA with SEE_MASK_FLAG_NO_UI, so that the shell shows no error box of its
    // own; returns 0 when done, otherwise the Win32 error code.
    virtual unsigned shellExecute(WindowHandle owner, const char* operation, const char* file,
                                  const char* parameters, const char* directory,
                                  int showCommand) = 0;
    // Paths between UTF-8, which holds any name, and the system's ANSI code page, in which
    // the slots and the settings file keep them. toAnsi converts without best fit (no
    // look-alike such as "e" for "é") and is nullopt when any character has no exact form;
    // toUtf8 is empty for bytes that are not text in the code page.
    virtual std::optional<std::string> toAnsi(const std::string& utf8) = 0;
    virtual std::string toUtf8(const std::string& ansi) = 0;
    // GetShortPathNameW: the existing path with each part that has an 8.3 name shortened to
    // it, in UTF-8; empty when the path does not exist or the call fails.
    virtual std::string shortPath(const std::string& utf8) = 0;
    // The system's text for a Win32 error code in the ANSI code page, without its line
    // end; empty when the system has none.
    virtual std::string errorText(unsigned error) = 0;
};

// An icon the panel obtained from the shell: destroyed through it when replaced, reset or
// destroyed itself. An icon built from a bare handle (a shared or borrowed one) is not
// owned and never destroyed. Values 0 and 1 are no icon.
class OwnedIcon {
public:
    OwnedIcon() = default;
    OwnedIcon(IconHandle borrowed) : handle_(borrowed) {}
    OwnedIcon(Shell& shell, IconHandle owned) : shell_(&shell), handle_(owned) {}
    OwnedIcon(OwnedIcon&& other) noexcept
        : shell_(std::exchange(other.shell_, nullptr)), handle_(std::exchange(other.handle_, 0)) {}
    OwnedIcon& operator=(OwnedIcon&& other) noexcept {
        if (this != &other) {
            reset();
            shell_ = std::exchange(other.shell_, nullptr);
            handle_ = std::exchange(other.handle_, 0);
        }
        return *this;
    }
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    ~OwnedIcon() { reset(); }

    void reset() {
        if (shell_ != nullptr && handle_ > 1) shell_->destroyIcon(handle_);
        shell_ = nullptr;
        handle_ = 0;
    }
    IconHandle get() const { return handle_; }
    operator IconHandle() const { return handle_; }

private:
    Shell* shell_ = nullptr;
    IconHandle handle_ = 0;
};

}  // namespace skelvo
