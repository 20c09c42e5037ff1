// The panel's two modes (function and size) and docking the panel to the top window.
#pragma once

#include "app/application.h"

namespace skelvo {

inline constexpr Rect SmallRegion{202, 124, 234, 156};
inline constexpr Rect FullRegion{0, 0, 236, 157};

int switchFunction(int& functionMode);
int switchSize(Services& services, WindowHandle panel, int& sizeState, SkinSet& skin);
int dockPanelToTopWindow(Services& services, WindowHandle panel);

}  // namespace skelvo
