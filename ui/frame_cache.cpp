// The drawing recorder and the cache of the picture on screen.
#include "ui/frame_cache.h"

#include <cstring>

namespace skelvo {

template <typename... T>
void FrameRecorder::note(char op, const T&... values) {
    key_.push_back(op);
    (key_.append(reinterpret_cast<const char*>(&values), sizeof values), ...);
}

DcHandle FrameRecorder::windowDc(WindowHandle window) {
    window_ = window;
    return StandIn;
}

FrameRecorder::~FrameRecorder() {
    if (!presented_ && !calls_.empty()) cache_.present(*this, exposed_);
}

void FrameRecorder::releaseWindowDc(WindowHandle, DcHandle) {
    if (!presented_) cache_.present(*this, exposed_);
    presented_ = true;
}

void FrameRecorder::bitBlt(DcHandle target, int x, int y, int width, int height, DcHandle source,
                           int sourceX, int sourceY, std::uint32_t rop) {
    note('b', target, x, y, width, height, source, sourceX, sourceY, rop);
    calls_.push_back([=, this] {
        real_.bitBlt(real(target), x, y, width, height, real(source), sourceX, sourceY, rop);
    });
}

void FrameRecorder::rectangle(DcHandle dc, Rect rect, Colour pen, Colour brush) {
    note('r', dc, rect, pen, brush);
    calls_.push_back([=, this] { real_.rectangle(real(dc), rect, pen, brush); });
}

void FrameRecorder::drawText(DcHandle dc, const char* text, Rect rect, unsigned format,
                             const FontRequest& font, Colour colour) {
    const std::string t = text != nullptr ? text : "";
    const std::string face = font.faceName != nullptr ? font.faceName : "";
    note('t', dc, rect, format, font.height, font.charset, colour);
    key_ += t;
    key_.push_back('\0');
    key_ += face;
    key_.push_back('\0');
    calls_.push_back([=, this] {
        FontRequest f = font;
        f.faceName = font.faceName != nullptr ? face.c_str() : nullptr;
        real_.drawText(real(dc), t.c_str(), rect, format, f, colour);
    });
}

void FrameRecorder::drawIcon(DcHandle dc, int x, int y, IconHandle icon) {
    note('i', dc, x, y, icon);
    calls_.push_back([=, this] { real_.drawIcon(real(dc), x, y, icon); });
}

void FrameRecorder::play(bool draw) {
    if (draw) {
        // The window DC is taken only for the frame that is drawn, and only if the
        // painter asked for one.
        if (window_ != NullWindow) screen_ = real_.windowDc(window_);
        for (auto& call : calls_) call();
        if (window_ != NullWindow) real_.releaseWindowDc(window_, screen_);
    }
    calls_.clear();
}

bool FrameCache::present(FrameRecorder& frame, bool exposed) {
    const bool same = any_ && !exposed && frame.key() == shown_;
    frame.play(!same);
    if (same) {
        ++skipped_;
        return false;
    }
    shown_ = frame.key();
    any_ = true;
    return true;
}

}  // namespace skelvo
