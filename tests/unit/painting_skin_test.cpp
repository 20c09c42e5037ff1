// The skin set: which bitmap each field holds and in which order they load, the white
// canvas, the missing INFO_ON, the text font, and the release of every DC at teardown.
#include <gtest/gtest.h>

#include <set>

#include "app/ids.h"
#include "tests/unit/painting_scene.h"

namespace skelvo::testing {
namespace {

TEST(SkinSet, LoadsTheBitmapsInOrderIntoTheirFields) {
    Scene s;
    s.h.create();
    const SkinSet& skin = s.h.app->skin;
    const std::vector<std::string> order = {"MAINSELECT", "MAINLANCHER", "SELECTER", "MAINFLAME",
                                            "FLAMEMASK",  "FLAMEMASK",   "INFO_OFF", "INFO_ON",
                                            "OWN_OFF",    "OWN_ON"};
    EXPECT_EQ(s.h.graphics.loaded, order);
    const FakeGraphics& g = s.h.graphics;
    EXPECT_EQ(g.bitmapName(skin.desktopBackground), "MAINSELECT");
    EXPECT_EQ(g.bitmapName(skin.launcherBackground), "MAINLANCHER");
    EXPECT_EQ(g.bitmapName(skin.cellHighlight), "SELECTER");
    EXPECT_EQ(g.bitmapName(skin.frameImage), "MAINFLAME");
    EXPECT_EQ(g.bitmapName(skin.frameMask), "FLAMEMASK");
    EXPECT_EQ(g.bitmapName(skin.canvas), "FLAMEMASK");
    EXPECT_NE(skin.canvas, skin.frameMask) << "the canvas is a second DC of its own";
    EXPECT_EQ(g.bitmapName(skin.infoBarOff), "INFO_OFF");
    EXPECT_EQ(g.bitmapName(skin.infoBarOn), "INFO_ON");
    EXPECT_EQ(g.bitmapName(skin.cornerOff), "OWN_OFF");
    EXPECT_EQ(g.bitmapName(skin.cornerOn), "OWN_ON");
    EXPECT_EQ(skin.infoBarSource, skin.infoBarOff);
    EXPECT_EQ(skin.cornerSource, skin.cornerOff);
    EXPECT_EQ(skin.moduleInstance, s.h.state().instanceHandle);
    EXPECT_EQ(skin.panelWindow, s.h.panelWindow);
}

TEST(SkinSet, CanvasIsWhiteRightAfterLoading) {
    Scene s;
    s.h.create();
    const Pixels& canvas = s.canvas();
    ASSERT_EQ(canvas.width, PanelWidth);
    ASSERT_EQ(canvas.height, PanelHeight);
    // FLAMEMASK is black on the openings; nothing of it may remain.
    for (Colour c : canvas.data) ASSERT_EQ(c, White);
    ASSERT_EQ(s.h.graphics.blits.size(), 1u);
    const BlitCall& whiten = s.h.graphics.blits[0];
    EXPECT_EQ(whiten.target, s.h.app->skin.canvas);
    EXPECT_EQ(whiten.area, (Rect{0, 0, 237, 157}));
    EXPECT_EQ(whiten.rop, win::RopWhiteness);
}

TEST(SkinSet, MissingInfoOnGivesABlankDcThatIsNeverShown) {
    Scene s;
    s.h.create();
    const DcHandle infoOn = s.h.app->skin.infoBarOn;
    EXPECT_NE(infoOn, 0u);
    EXPECT_EQ(s.h.graphics.pixels(infoOn), nullptr) << "no bitmap of its own";
    s.paint();
    s.h.send(win::WmCommand, CmdSwitchSize);
    s.paint();
    s.h.send(win::WmCommand, CmdSwitchFunction);
    s.paint();
    for (const BlitCall& b : s.h.graphics.blits) EXPECT_NE(b.source, infoOn);
}

TEST(SkinSet, TextFontIsTheSystemsShiftJisChoice) {
    const FontRequest f = createTextFont(18, win::ShiftJisCharset, nullptr);
    EXPECT_EQ(f.height, 18);
    EXPECT_EQ(f.charset, 128);
    EXPECT_EQ(f.faceName, nullptr);
}

TEST(SkinSet, TeardownDeletesEveryDcOnceAfterThePanelIsGone) {
    Scene s;
    s.h.create();
    const SkinSet& skin = s.h.app->skin;
    const std::set<DcHandle> owned = {skin.desktopBackground, skin.launcherBackground,
                                      skin.cellHighlight,     skin.frameImage,
                                      skin.frameMask,         skin.canvas,
                                      skin.infoBarOff,        skin.infoBarOn,
                                      skin.cornerOff,         skin.cornerOn};
    ASSERT_EQ(owned.size(), 10u);
    s.h.host.answers = {win::IdYes};
    s.h.send(win::WmClose);
    ASSERT_EQ(s.h.host.destroyed.size(), 1u);
    EXPECT_TRUE(s.h.graphics.deleted.empty()) << "the skin outlives the window";

    s.h.panel.reset();
    s.h.app.reset();
    const std::vector<DcHandle>& deleted = s.h.graphics.deleted;
    EXPECT_EQ(std::set<DcHandle>(deleted.begin(), deleted.end()), owned);
    EXPECT_EQ(deleted.size(), 10u) << "each once";
    EXPECT_EQ(s.h.graphics.liveMemoryDcs, 0);
    EXPECT_EQ(s.h.graphics.staleDcUses, 0);
}

TEST(SkinSet, ReleasedSetNoLongerPaints) {
    Scene s;
    s.h.create();
    s.h.app->skin.release();
    s.paint();
    EXPECT_TRUE(s.h.graphics.blits.empty());
    EXPECT_EQ(s.h.graphics.windowDcsOut, 0);
    EXPECT_EQ(s.h.graphics.staleDcUses, 0);
}

TEST(SkinSet, LoadingConstructorAndDestructorOnTheirOwn) {
    FakeGraphics g(skinFromDirectory(SKELVO_SKIN_DIR));
    {
        SkinSet skin(g, 0x400000, 0x1234);
        EXPECT_TRUE(skin.loaded());
        EXPECT_EQ(g.liveMemoryDcs, 10);
        EXPECT_EQ(skin.panelWindow, 0x1234u);
        EXPECT_EQ(skin.moduleInstance, 0x400000u);
        EXPECT_EQ(skin.cornerSource, skin.cornerOff);
        ASSERT_NE(g.pixels(skin.desktopBackground), nullptr);
        EXPECT_EQ(g.pixels(skin.desktopBackground)->width, 233);
    }
    EXPECT_EQ(g.liveMemoryDcs, 0);
    EXPECT_EQ(g.deleted.size(), 10u);
}

}  // namespace
}  // namespace skelvo::testing
