// A panel on a 1024 x 768 screen, wired to the pixel canvas with the generated skin, and
// the skin pictures themselves, so painting tests can say what each pixel must be.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/fakes/bitmap_file.h"
#include "tests/fakes/panel_harness.h"
#include "ui/painter.h"

namespace skelvo::testing {

inline constexpr Colour White = 0x00FFFFFF;

// Inclusive bounds of the opening of map cell (column, row).
inline Rect openingOf(int column, int row) {
    return Rect{3 + 50 * column, 4 + 40 * row, 50 + 50 * column, 41 + 40 * row};
}

struct Scene {
    Scene() : h(Rect{0, 0, 1024, 768}, skinFromDirectory(SKELVO_SKIN_DIR)) {
        // Never captured, so the windows the tests add above it all are.
        h.windows.addAtBottom(FakeWindow{.title = "bottom"});
    }

    // The skin picture as the resource holds it.
    const BitmapFile& skin(const std::string& name) {
        auto it = bitmaps.find(name);
        if (it == bitmaps.end()) {
            auto bmp = readBitmapFile(std::string(SKELVO_SKIN_DIR) + "/" + name + ".bmp");
            if (!bmp) ADD_FAILURE() << name << ".bmp is missing";
            it = bitmaps.emplace(name, bmp.value_or(BitmapFile{})).first;
        }
        return it->second;
    }

    // One paint; the records of earlier drawing calls are dropped first.
    void paint() {
        FakeGraphics& g = h.graphics;
        g.calls.clear();
        g.blits.clear();
        g.texts.clear();
        g.icons.clear();
        h.send(win::WmPaint);
    }
    const Pixels& canvas() { return *h.graphics.pixels(h.app->skin.canvas); }
    const Pixels& screen() { return *h.graphics.pixels(h.graphics.screenDc()); }
    Colour at(int x, int y) { return canvas().at(x, y); }
    VirtualDesktop& desktop(int index) { return h.app->desktops[index]; }

    // The text calls of the last paint whose rectangle is the information bar's.
    std::vector<TextCall> infoTexts() const {
        std::vector<TextCall> found;
        for (const TextCall& t : h.graphics.texts)
            if (t.rect == InfoTextRect) found.push_back(t);
        return found;
    }

    PanelHarness h;
    std::map<std::string, BitmapFile> bitmaps;
};

}  // namespace skelvo::testing
