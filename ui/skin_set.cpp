// Loading and releasing the skin bitmaps.
#include "ui/skin_set.h"

#include <initializer_list>

namespace skelvo {

DcHandle loadSkinBitmap(Graphics& graphics, InstanceHandle instance, WindowHandle window,
                        const char* name) {
    return graphics.loadBitmapDc(instance, window, name);
}

FontRequest createTextFont(int height, int charset, const char* faceName) {
    return FontRequest{height, charset, faceName};
}

SkinSet::SkinSet(Graphics& graphics, InstanceHandle instance, WindowHandle panel) {
    load(graphics, instance, panel);
}

SkinSet::~SkinSet() {
    release();
}

void SkinSet::load(Graphics& graphics, InstanceHandle instance, WindowHandle panel) {
    release();
    graphics_ = &graphics;
    moduleInstance = instance;
    panelWindow = panel;
    desktopBackground = loadSkinBitmap(graphics, instance, panel, "MAINSELECT");
    launcherBackground = loadSkinBitmap(graphics, instance, panel, "MAINLANCHER");
    cellHighlight = loadSkinBitmap(graphics, instance, panel, "SELECTER");
    frameImage = loadSkinBitmap(graphics, instance, panel, "MAINFLAME");
    frameMask = loadSkinBitmap(graphics, instance, panel, "FLAMEMASK");
    canvas = loadSkinBitmap(graphics, instance, panel, "FLAMEMASK");
    // One column wider than the bitmap; the excess is clipped.
    graphics.bitBlt(canvas, 0, 0, PanelWidth + 1, PanelHeight, 0, 0, 0, win::RopWhiteness);
    infoBarOff = loadSkinBitmap(graphics, instance, panel, "INFO_OFF");
    // No such resource exists: this DC stays without a bitmap and is never shown.
    infoBarOn = loadSkinBitmap(graphics, instance, panel, "INFO_ON");
    cornerOff = loadSkinBitmap(graphics, instance, panel, "OWN_OFF");
    cornerOn = loadSkinBitmap(graphics, instance, panel, "OWN_ON");
    infoBarSource = infoBarOff;
    cornerSource = cornerOff;
}

void SkinSet::release() {
    if (graphics_ == nullptr) return;
    for (DcHandle* dc : {&desktopBackground, &launcherBackground, &cellHighlight, &frameImage,
                         &frameMask, &canvas, &infoBarOff, &infoBarOn, &cornerOff, &cornerOn}) {
        if (*dc != 0) graphics_->deleteMemoryDc(*dc);
        *dc = 0;
    }
    infoBarSource = 0;
    cornerSource = 0;
    graphics_ = nullptr;
}

}  // namespace skelvo
