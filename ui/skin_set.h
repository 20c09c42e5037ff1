// The skin: memory DCs holding the panel's bitmaps, the off-screen canvas, and the two
// sources shown in the information bar and the corner button.
#pragma once

#include "base/platform.h"
#include "ui/graphics.h"

namespace skelvo {

inline constexpr int PanelWidth = 236;
inline constexpr int PanelHeight = 157;
inline constexpr int InfoFontHeight = 18;
inline constexpr int CellFontHeight = 10;

DcHandle loadSkinBitmap(Graphics& graphics, InstanceHandle instance, WindowHandle window,
                        const char* name);
FontRequest createTextFont(int height, int charset, const char* faceName);

class SkinSet {
public:
    SkinSet() = default;
    // The loading constructor: the same as load() on an empty set.
    SkinSet(Graphics& graphics, InstanceHandle instance, WindowHandle panel);
    SkinSet(const SkinSet&) = delete;
    SkinSet& operator=(const SkinSet&) = delete;
    // Gives back every memory DC and its bitmap.
    ~SkinSet();

    // The loading constructor's work, in its order: loads every bitmap, whitens the canvas
    // and points the information bar and the corner at INFO_OFF and OWN_OFF.
    void load(Graphics& graphics, InstanceHandle instance, WindowHandle panel);
    // Deletes the ten memory DCs with their bitmaps; only once the panel cannot paint.
    void release();
    bool loaded() const { return graphics_ != nullptr; }
    Graphics* graphics() const { return graphics_; }

    InstanceHandle moduleInstance = 0;
    WindowHandle panelWindow = NullWindow;
    DcHandle infoBarSource = 0;
    DcHandle cornerSource = 0;
    DcHandle desktopBackground = 0;
    DcHandle launcherBackground = 0;
    DcHandle cellHighlight = 0;
    DcHandle frameImage = 0;
    DcHandle frameMask = 0;
    DcHandle canvas = 0;
    DcHandle infoBarOff = 0;
    DcHandle infoBarOn = 0;
    DcHandle cornerOff = 0;
    DcHandle cornerOn = 0;

private:
    Graphics* graphics_ = nullptr;
};

}  // namespace skelvo
