// Platform-neutral names for the handles, geometry and Win32 constants the core uses.
// The core never includes <windows.h>; these values equal the SDK's so the Win32 edge
// can pass them through unchanged.
#pragma once

#include <cstdint>

namespace skelvo {

using WindowHandle = std::uintptr_t;    // HWND; 0 is null
using InstanceHandle = std::uintptr_t;  // HINSTANCE
using IconHandle = std::uintptr_t;      // HICON
using DcHandle = std::uintptr_t;        // HDC
using Colour = std::uint32_t;           // COLORREF, 0x00BBGGRR

inline constexpr WindowHandle NullWindow = 0;

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

namespace win {
// Window messages.
inline constexpr unsigned WmCreate = 0x0001;
inline constexpr unsigned WmDestroy = 0x0002;
inline constexpr unsigned WmSetFocus = 0x0007;
inline constexpr unsigned WmKillFocus = 0x0008;
inline constexpr unsigned WmPaint = 0x000F;
inline constexpr unsigned WmClose = 0x0010;
inline constexpr unsigned WmQueryEndSession = 0x0011;
inline constexpr unsigned WmEndSession = 0x0016;
inline constexpr unsigned WmDisplayChange = 0x007E;
inline constexpr unsigned WmCommand = 0x0111;
inline constexpr unsigned WmTimer = 0x0113;
inline constexpr unsigned WmLButtonDown = 0x0201;
inline constexpr unsigned WmLButtonUp = 0x0202;
inline constexpr unsigned WmLButtonDblClk = 0x0203;
inline constexpr unsigned WmRButtonDown = 0x0204;
inline constexpr unsigned WmRButtonUp = 0x0205;
inline constexpr unsigned WmDropFiles = 0x0233;
inline constexpr unsigned WmHotKey = 0x0312;
inline constexpr unsigned WmApp = 0x8000;

// ShowWindow commands.
inline constexpr int SwHide = 0;
inline constexpr int SwShowNormal = 1;
inline constexpr int SwShowMinimized = 2;
inline constexpr int SwShowMaximized = 3;
inline constexpr int SwShowNoActivate = 4;
inline constexpr int SwShow = 5;
inline constexpr int SwMinimize = 6;
inline constexpr int SwShowMinNoActive = 7;
inline constexpr int SwShowNa = 8;
inline constexpr int SwRestore = 9;

// GetWindow relations.
inline constexpr int GwHwndFirst = 0;
inline constexpr int GwHwndLast = 1;
inline constexpr int GwHwndNext = 2;
inline constexpr int GwHwndPrev = 3;
inline constexpr int GwOwner = 4;
inline constexpr int GwChild = 5;

// Window styles.
inline constexpr std::uint32_t WsPopup = 0x80000000u;
inline constexpr std::uint32_t WsVisible = 0x10000000u;
inline constexpr std::uint32_t WsDisabled = 0x08000000u;
inline constexpr std::uint32_t WsMinimize = 0x20000000u;
inline constexpr std::uint32_t WsMaximize = 0x01000000u;
inline constexpr std::uint32_t WsCaption = 0x00C00000u;
inline constexpr std::uint32_t WsBorder = 0x00800000u;
inline constexpr std::uint32_t WsSysMenu = 0x00080000u;
inline constexpr std::uint32_t WsThickFrame = 0x00040000u;
inline constexpr std::uint32_t WsMinimizeBox = 0x00020000u;
inline constexpr std::uint32_t WsMaximizeBox = 0x00010000u;
inline constexpr std::uint32_t WsOverlappedWindow = 0x00CF0000u;

inline constexpr std::uint32_t WsExTopmost = 0x00000008u;
inline constexpr std::uint32_t WsExAcceptFiles = 0x00000010u;
inline constexpr std::uint32_t WsExToolWindow = 0x00000080u;

// Class styles.
inline constexpr std::uint32_t CsVRedraw = 0x0001;
inline constexpr std::uint32_t CsHRedraw = 0x0002;
inline constexpr std::uint32_t CsDblClks = 0x0008;

// MessageBox flags and answers.
inline constexpr unsigned MbOk = 0x00000000u;
inline constexpr unsigned MbYesNo = 0x00000004u;
inline constexpr unsigned MbIconExclamation = 0x00000030u;
inline constexpr unsigned MbIconQuestion = 0x00000020u;
inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;
inline constexpr int IdYes = 6;
inline constexpr int IdNo = 7;

// Shell_NotifyIcon operations and flags.
inline constexpr unsigned NimAdd = 0;
inline constexpr unsigned NimModify = 1;
inline constexpr unsigned NimDelete = 2;
inline constexpr unsigned NifMessage = 0x1;
inline constexpr unsigned NifIcon = 0x2;
inline constexpr unsigned NifTip = 0x4;

// Tooltip control styles, tool flags and messages.
inline constexpr std::uint32_t TtsAlwaysTip = 0x01;
inline constexpr unsigned TtfSubclass = 0x10;
inline constexpr unsigned TtmAddToolA = 0x0404;        // WM_USER + 4
inline constexpr unsigned TtmUpdateTipTextA = 0x040C;  // WM_USER + 12

// Raster operations.
inline constexpr std::uint32_t RopSrcCopy = 0x00CC0020u;
inline constexpr std::uint32_t RopSrcPaint = 0x00EE0086u;
inline constexpr std::uint32_t RopSrcAnd = 0x008800C6u;
inline constexpr std::uint32_t RopMergePaint = 0x00BB0226u;
inline constexpr std::uint32_t RopWhiteness = 0x00FF0062u;

// DrawText formats.
inline constexpr unsigned DtCenter = 0x0001;
inline constexpr unsigned DtVCenter = 0x0004;
inline constexpr unsigned DtWordBreak = 0x0010;
inline constexpr unsigned DtSingleLine = 0x0020;
inline constexpr unsigned DtEndEllipsis = 0x8000;

inline constexpr int ShiftJisCharset = 128;
}  // namespace win

}  // namespace skelvo
