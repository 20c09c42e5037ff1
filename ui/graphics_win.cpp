// GDI calls behind the drawing interface. Pens, brushes and fonts live for one call.
#include "ui/graphics_win.h"

#include <windows.h>

#include <cstring>

#include "base/utf8_file_store_win.h"

namespace skelvo {

namespace {

// More than any title or file name the panel draws.
constexpr int TextChars = 1024;

HDC hdc(DcHandle dc) {
    return reinterpret_cast<HDC>(dc);
}

// Owns a new GDI object and keeps it selected into a DC for its lifetime; the previous
// object goes back before the deletion, since a selected object is not freed.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object, GdiTally& tally)
        : dc_(dc), object_(object), tally_(tally) {
        if (object_ == nullptr) return;
        ++tally_.created;
        previous_ = SelectObject(dc_, object_);
    }
    ~SelectedObject() {
        if (object_ == nullptr) return;
        if (previous_ != nullptr) SelectObject(dc_, previous_);
        // Counted only when the handle is really gone, not merely marked for deletion.
        if (DeleteObject(object_) && GetObjectType(object_) == 0) ++tally_.deleted;
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    GdiTally& tally_;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace

DcHandle Win32Graphics::windowDc(WindowHandle window) {
    return reinterpret_cast<DcHandle>(GetDC(reinterpret_cast<HWND>(window)));
}

void Win32Graphics::releaseWindowDc(WindowHandle window, DcHandle dc) {
    ReleaseDC(reinterpret_cast<HWND>(window), hdc(dc));
}

DcHandle Win32Graphics::loadBitmapDc(InstanceHandle instance, WindowHandle window,
                                     const char* name) {
    HWND w = reinterpret_cast<HWND>(window);
    HDC windowDc = GetDC(w);
    HBITMAP bitmap = LoadBitmapA(reinterpret_cast<HINSTANCE>(instance), name);
    HDC memory = CreateCompatibleDC(windowDc);
    // From here the bitmap belongs to the memory DC.
    if (bitmap != nullptr) SelectObject(memory, bitmap);
    ReleaseDC(w, windowDc);
    return reinterpret_cast<DcHandle>(memory);
}

void Win32Graphics::deleteMemoryDc(DcHandle dc) {
    HDC memory = hdc(dc);
    // Once the DC is gone its bitmap is no longer selected and can be deleted; for a DC
    // that never got one this is the stock bitmap, which DeleteObject leaves alone.
    HGDIOBJ bitmap = GetCurrentObject(memory, OBJ_BITMAP);
    DeleteDC(memory);
    if (bitmap != nullptr) DeleteObject(bitmap);
}

void Win32Graphics::bitBlt(DcHandle target, int x, int y, int width, int height, DcHandle source,
                           int sourceX, int sourceY, std::uint32_t rop) {
    BitBlt(hdc(target), x, y, width, height, hdc(source), sourceX, sourceY, rop);
}

void Win32Graphics::rectangle(DcHandle dc, Rect rect, Colour pen, Colour brush) {
    SelectedObject penSelection(hdc(dc), CreatePen(PS_SOLID, 1, pen), tally_);
    SelectedObject brushSelection(hdc(dc), CreateSolidBrush(brush), tally_);
    Rectangle(hdc(dc), rect.left, rect.top, rect.right, rect.bottom);
}

void Win32Graphics::drawText(DcHandle dc, const char* text, Rect rect, unsigned format,
                             const FontRequest& font, Colour colour) {
    HDC target = hdc(dc);
    SelectedObject fontSelection(
        target,
        CreateFontA(font.height, 0, 0, 0, 0, FALSE, FALSE, FALSE, static_cast<DWORD>(font.charset),
                    0, 0, 0, 0, font.faceName),
        tally_);
    const COLORREF previousColour = SetTextColor(target, colour);
    const int previousMode = SetBkMode(target, TRANSPARENT);
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    wchar_t wide[TextChars];
    if (toWidePath(text, wide, TextChars)) DrawTextW(target, wide, -1, &r, format);
    SetBkMode(target, previousMode);
    SetTextColor(target, previousColour);
}

void Win32Graphics::drawIcon(DcHandle dc, int x, int y, IconHandle icon) {
    DrawIcon(hdc(dc), x, y, reinterpret_cast<HICON>(icon));
}

}  // namespace skelvo
