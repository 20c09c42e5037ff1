// The shell services on Win32.
#pragma once

#include "ui/shell.h"

namespace skelvo {

class Win32Shell : public Shell {
public:
    bool notifyIcon(unsigned operation, const TrayIconData& data) override;
    IconHandle loadIcon(InstanceHandle instance, int resourceId) override;
    void destroyIcon(IconHandle icon) override;
};

}  // namespace skelvo
