// Painting the panel: the whole picture is composed on the skin's canvas and copied to
// the window in one step.
#pragma once

#include <cstdint>

#include "app/application.h"

namespace skelvo {

// Pens, brushes and text colours of the map and the information bar.
inline constexpr Colour TopWindowPen = 0x00C8FFFF;
inline constexpr Colour TopWindowBrush = 0x006EDCA0;
inline constexpr Colour OtherWindowPen = 0x0064E1E1;
inline constexpr Colour OtherWindowBrush = 0x0046A582;
inline constexpr Colour MinimisedMarkerPen = 0x00FFFFFF;
inline constexpr Colour MinimisedMarkerBrush = 0x00FF00FF;
inline constexpr Colour MapTitleColour = 0x000000FA;
inline constexpr Colour InfoTitleColour = 0x005032FF;
inline constexpr Colour SlotInfoColour = 0x00FF4628;
inline constexpr Colour SlotCaptionColour = 0x00FF2337;

inline constexpr Rect InfoTextRect{3, 125, 201, 157};
inline constexpr unsigned InfoTextFormat =
    win::DtCenter | win::DtVCenter | win::DtSingleLine | win::DtEndEllipsis;
inline constexpr unsigned MapTitleFormat = win::DtSingleLine | win::DtVCenter;

// validate: whether the default procedure validates the window afterwards; a caller that
// knows nothing of the window is invalid passes false, since validating nothing creates a
// paint DC for no change.
// shared: the screen as the caller has it, when it read it for this same message.
std::intptr_t paintPanel(Application& app, Services& services, WindowHandle panel,
                         std::uintptr_t wParam, std::intptr_t lParam, bool validate = true,
                         ScreenOnce* shared = nullptr);

void drawDesktopMap(VirtualDesktop& desktop, Services& services, DcHandle dc);
void drawEntryTitle(const WindowEntry& entry, Graphics& graphics, DcHandle dc, Rect rect);
void drawEntryInfo(const WindowEntry& entry, Graphics& graphics, DcHandle dc);
void drawSlotInfo(const LauncherSlot& slot, Graphics& graphics, DcHandle dc);
void drawSlotCaption(const LauncherSlot& slot, Graphics& graphics, DcHandle dc, int x, int y);

}  // namespace skelvo
