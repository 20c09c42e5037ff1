// The panel painter and the desktop map.
#include "ui/painter.h"

#include "app/pointer.h"
#include "ui/skin_set.h"

namespace skelvo {

namespace {

void drawText(Graphics& graphics, DcHandle dc, const char* text, Rect rect, unsigned format,
              int height, Colour colour) {
    graphics.drawText(dc, text, rect, format, createTextFont(height, win::ShiftJisCharset, nullptr),
                      colour);
}

// Whether the entry's window still exists; the geometry of a shown window follows the
// live window at every paint. A normal window's placement tells both at once.
bool refreshGeometry(WindowEntry& entry, WindowSystem& ws, ScreenOnce& screen) {
    if (entry.showState == win::SwShowNormal) {
        const std::optional<Rect> normal = ws.normalRect(entry.window);
        if (!normal) return false;
        entry.windowRect = *normal;
    } else {
        if (!ws.isWindow(entry.window)) return false;
        if (entry.showState != win::SwShowMaximized) return true;
        // Over the whole of its own monitor, whatever its frame reaches past the edges.
        const ScreenLayout& layout = screen.get();
        entry.windowRect =
            layout.several() ? layout.nearest(ws.rect(entry.window)) : layout.primary();
    }
    entry.updateMapRect(screen.get());
    return true;
}

}  // namespace

void drawEntryTitle(const WindowEntry& entry, Graphics& graphics, DcHandle dc, Rect rect) {
    drawText(graphics, dc, entry.title, rect, MapTitleFormat, CellFontHeight, MapTitleColour);
}

void drawEntryInfo(const WindowEntry& entry, Graphics& graphics, DcHandle dc) {
    drawText(graphics, dc, entry.title, InfoTextRect, InfoTextFormat, InfoFontHeight,
             InfoTitleColour);
}

void drawSlotInfo(const LauncherSlot& slot, Graphics& graphics, DcHandle dc) {
    if (!slot.hasIcon() || slot.fileTitle[0] == '\0') return;
    drawText(graphics, dc, slot.fileTitle, InfoTextRect, InfoTextFormat, InfoFontHeight,
             SlotInfoColour);
}

void drawSlotCaption(const LauncherSlot& slot, Graphics& graphics, DcHandle dc, int x, int y) {
    if (!slot.hasIcon() || slot.fileTitle[0] == '\0') return;
    drawText(graphics, dc, slot.fileTitle, Rect{x + 36, y + 3, x + 50, y + 40}, win::DtWordBreak,
             CellFontHeight, SlotCaptionColour);
}

namespace {

void drawMap(VirtualDesktop& desktop, Services& services, DcHandle dc, ScreenOnce& screen) {
    if (dc == 0 || desktop.count <= 0) return;
    WindowSystem& ws = services.windows;
    Graphics& graphics = services.graphics;
    bool minimised = false;
    for (int i = 0; i < desktop.count && i < EntryCapacity; ++i) {
        WindowEntry& entry = desktop.entries[i];
        if (!refreshGeometry(entry, ws, screen)) continue;
        if (entry.showState == win::SwMinimize) {
            minimised = true;
            continue;
        }
        if (entry.mapRect == NoMapRect) continue;
        const bool top = entry.captureIndex == desktop.count - 1;
        graphics.rectangle(dc, entry.mapRect, top ? TopWindowPen : OtherWindowPen,
                           top ? TopWindowBrush : OtherWindowBrush);
        drawEntryTitle(entry, graphics, dc, entry.mapRect);
    }
    if (minimised) {
        const int column = desktop.index % 4;
        const int row = desktop.index / 4;
        graphics.rectangle(dc,
                           Rect{50 * column + 2, 40 * row + 39, 50 * column + 52, 40 * row + 42},
                           MinimisedMarkerPen, MinimisedMarkerBrush);
    }
}

}  // namespace

void drawDesktopMap(VirtualDesktop& desktop, Services& services, DcHandle dc) {
    ScreenOnce screen(services.windows);
    drawMap(desktop, services, dc, screen);
}

std::intptr_t paintPanel(Application& app, Services& services, WindowHandle panel,
                         std::uintptr_t wParam, std::intptr_t lParam, bool validate,
                         ScreenOnce* shared) {
    SkinSet& skin = app.skin;
    const PanelState& st = app.state;
    Graphics& g = services.graphics;
    if (!skin.loaded()) return services.host.defaultProcedure(panel, win::WmPaint, wParam, lParam);

    const WindowHandle window = skin.panelWindow;
    const DcHandle screen = g.windowDc(window);
    const DcHandle canvas = skin.canvas;
    const bool desktopFunction = st.functionMode == FunctionDesktop;
    const Point cell = highlightCell(st.functionMode, st.currentDesktop, st.selectedSlot);

    g.bitBlt(canvas, 0, 0, PanelWidth, 124,
             desktopFunction ? skin.desktopBackground : skin.launcherBackground, 0, 0,
             win::RopSrcCopy);
    if (desktopFunction) {
        ScreenOnce own(services.windows);
        ScreenOnce& screen = shared != nullptr ? *shared : own;
        for (VirtualDesktop& desktop : app.desktops) drawMap(desktop, services, canvas, screen);
    } else {
        for (const LauncherSlot& slot : app.slots) {
            if (!slot.hasIcon() || slot.registered == 0) continue;
            const int column = slot.slotIndex % 4;
            const int row = slot.slotIndex / 4;
            g.drawIcon(canvas, 50 * column + 4, 40 * row + 4, slot.icon);
            drawSlotCaption(slot, g, canvas, 50 * column, 40 * row);
        }
    }
    g.bitBlt(canvas, 50 * cell.x + 3, 40 * cell.y + 4, 48, 38, skin.cellHighlight, 0, 0,
             win::RopMergePaint);
    g.bitBlt(canvas, 0, 0, PanelWidth, PanelHeight, skin.frameMask, 0, 0, win::RopSrcPaint);
    g.bitBlt(canvas, 0, 0, PanelWidth, PanelHeight, skin.frameImage, 0, 0, win::RopSrcAnd);
    g.bitBlt(canvas, 0, 124, 202, 33, skin.infoBarSource, 0, 0, win::RopSrcCopy);
    g.bitBlt(canvas, 202, 124, 34, 33, skin.cornerSource, 0, 0, win::RopSrcCopy);

    const int index = 4 * cell.y + cell.x;
    if (desktopFunction) {
        const VirtualDesktop& d = app.desktops[index];
        if (d.count > 0) {
            // The highest captureIndex; on a tie the lowest position wins.
            int best = -1;
            int chosen = 0;
            for (int i = d.count - 1; i >= 0; --i) {
                if (d.entries[i].captureIndex >= best) {
                    best = d.entries[i].captureIndex;
                    chosen = i;
                }
            }
            drawEntryInfo(d.entries[chosen], g, canvas);
        }
    } else {
        drawSlotInfo(app.slots[index], g, canvas);
    }

    g.bitBlt(screen, 0, 0, PanelWidth, PanelHeight, canvas, 0, 0, win::RopSrcCopy);
    g.releaseWindowDc(window, screen);
    if (validate) services.host.defaultProcedure(panel, win::WmPaint, wParam, lParam);
    return 0;
}

}  // namespace skelvo
