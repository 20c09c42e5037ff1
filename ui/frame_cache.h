// Skips repainting a picture identical to the one on screen. The painter draws into a
// recorder, which notes every drawing call and what it draws; the calls reach the real
// graphics only when the picture differs from the last one shown, or when the system
// asks for the window to be repainted (part of it was uncovered). The window DC itself is
// taken only then: the painter draws on a stand-in for it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/graphics.h"

namespace skelvo {

class FrameCache;

// One frame: the picture is decided when the painter gives the window DC back, so that
// whatever follows the drawing (the default procedure validating the window) still does.
class FrameRecorder : public Graphics {
public:
    FrameRecorder(Graphics& real, FrameCache& cache, bool exposed)
        : real_(real), cache_(cache), exposed_(exposed) {}
    ~FrameRecorder() override;

    DcHandle windowDc(WindowHandle window) override;
    void releaseWindowDc(WindowHandle window, DcHandle dc) override;
    DcHandle loadBitmapDc(InstanceHandle instance, WindowHandle window, const char* name) override {
        return real_.loadBitmapDc(instance, window, name);
    }
    void deleteMemoryDc(DcHandle dc) override { real_.deleteMemoryDc(dc); }
    void bitBlt(DcHandle target, int x, int y, int width, int height, DcHandle source, int sourceX,
                int sourceY, std::uint32_t rop) override;
    void rectangle(DcHandle dc, Rect rect, Colour pen, Colour brush) override;
    void drawText(DcHandle dc, const char* text, Rect rect, unsigned format,
                  const FontRequest& font, Colour colour) override;
    void drawIcon(DcHandle dc, int x, int y, IconHandle icon) override;

    // What the recorded calls draw; the same picture gives the same key.
    const std::string& key() const { return key_; }
    // Carries out the recorded calls, or forgets them.
    void play(bool draw);

private:
    template <typename... T>
    void note(char op, const T&... values);
    // The painter's window DC until the frame is played; no real DC has this value.
    static constexpr DcHandle StandIn = ~DcHandle{0};
    DcHandle real(DcHandle dc) const { return dc == StandIn ? screen_ : dc; }

    Graphics& real_;
    FrameCache& cache_;
    bool exposed_;
    bool presented_ = false;
    WindowHandle window_ = NullWindow;
    DcHandle screen_ = 0;
    std::string key_;
    std::vector<std::function<void()>> calls_;
};

class FrameCache {
public:
    // Plays the recorded frame unless it shows what the last played frame showed and the
    // window was not exposed meanwhile. Returns whether it drew.
    bool present(FrameRecorder& frame, bool exposed);
    int skipped() const { return skipped_; }

private:
    std::string shown_;
    bool any_ = false;
    int skipped_ = 0;
};

}  // namespace skelvo
