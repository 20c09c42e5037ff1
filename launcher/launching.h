// The double-click on the panel, by zone: launching, docking or the tray.
#pragma once

#include "app/application.h"

namespace skelvo {

int dispatchDoubleClick(Application& app, Services& services, WindowHandle panel, int zone,
                        int functionMode);

}  // namespace skelvo
