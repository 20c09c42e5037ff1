// The shell services on Win32.
#pragma once

#include "ui/shell.h"

namespace skelvo {

class Win32Shell : public Shell {
public:
    bool notifyIcon(unsigned operation, const TrayIconData& data) override;
    bool openFileDialog(const OpenFileRequest& request) override;
    int fileTitle(const char* path, char* title, unsigned size) override;
    IconHandle associatedIcon(InstanceHandle instance, const char* path) override;
    bool destroyIcon(IconHandle icon) override;
    unsigned dragQueryFile(DropHandle drop, unsigned index, char* buffer, unsigned size) override;
    std::string droppedPath(DropHandle drop, unsigned index) override;
    void dragFinish(DropHandle drop) override;
    unsigned shellExecute(WindowHandle owner, const char* operation, const char* file,
                          const char* parameters, const char* directory, int showCommand) override;
    std::string errorText(unsigned error) override;
    std::optional<std::string> toAnsi(const std::string& utf8) override;
    std::string toUtf8(const std::string& ansi) override;
    std::string shortPath(const std::string& utf8) override;
    IconHandle loadIcon(InstanceHandle instance, int resourceId) override;

    // Called when the open-file dialog has returned.
    void (*afterDialog)() = nullptr;
};

}  // namespace skelvo
