// Device contexts and the drawing the program and the controls need: brushes, fonts, solid
// fills, text, and copies from bitmap sections. A device context draws straight into the frame
// buffer, clipped to its window's client area and to the windows above it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/geometry.h"
#include "platform/window.h"

namespace ce {

struct HDC__;
using HDC = HDC__*;
using HFONT = HGDIOBJ;
using HBITMAP = HGDIOBJ;
using COLORREF = DWORD;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<COLORREF>(r | (g << 8) | (b << 16));
}
constexpr uint8_t GetRValue(COLORREF c) {
  return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GetGValue(COLORREF c) {
  return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t GetBValue(COLORREF c) {
  return static_cast<uint8_t>((c >> 16) & 0xFF);
}
// The frame buffer's pixel for a colour, each channel scaled with rounding.
uint16_t ColorTo565(COLORREF colour);

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = FALSE;
  RECT rcPaint{};
};
// BeginPaint validates the window and clips the context to what was invalid.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HDC GetDC(HWND window);  // null window: the whole frame buffer
int ReleaseDC(HWND window, HDC dc);
HDC CreateCompatibleDC(HDC dc);  // a memory context, for selecting a bitmap section into
BOOL DeleteDC(HDC dc);

// Brushes and stock objects.
HBRUSH CreateSolidBrush(COLORREF colour);
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int SYSTEM_FONT = 13;
HGDIOBJ GetStockObject(int which);
BOOL DeleteObject(HGDIOBJ object);             // stock objects are never deleted
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);  // fonts and bitmaps; returns the previous one
COLORREF GetBrushColor(HBRUSH brush);          // CLR_INVALID for a null brush
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);  // a 1-pixel outline
// A filled rectangle in one colour, without a brush object; for the controls' own drawing.
void FillSolidRect(HDC dc, const RECT& rect, COLORREF colour);
void DrawHorizontalLine(HDC dc, int32_t x, int32_t y, int32_t length, COLORREF colour);
void DrawVerticalLine(HDC dc, int32_t x, int32_t y, int32_t length, COLORREF colour);

// Fonts.
struct LOGFONT {
  LONG lfHeight = 0;  // > 0: cell height; < 0: character height; 0: the default
  LONG lfWidth = 0;
  LONG lfEscapement = 0;  // tenths of a degree; 900 draws text reading upwards
  LONG lfOrientation = 0;
  LONG lfWeight = 0;  // 100 thin ... 400 normal ... 700 bold
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  char16_t lfFaceName[32] = {};
};
HFONT CreateFontIndirect(const LOGFONT* font);

struct TEXTMETRIC {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
  LONG tmWeight = 0;
};
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics);

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF colour);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);

inline constexpr UINT ETO_OPAQUE = 0x0002;
inline constexpr UINT ETO_CLIPPED = 0x0004;
// Text with its cell's top-left corner at (x, y) (for a turned font, the corner of the turned
// cell: the text runs upwards from y).
BOOL ExtTextOut(HDC dc, int32_t x, int32_t y, UINT options, const RECT* rect, const char16_t* text,
                UINT count, const int* dx);
BOOL GetTextExtentPoint32(HDC dc, const char16_t* text, int count, SIZE* size);

inline constexpr UINT DT_TOP = 0x0000;
inline constexpr UINT DT_LEFT = 0x0000;
inline constexpr UINT DT_CENTER = 0x0001;
inline constexpr UINT DT_RIGHT = 0x0002;
inline constexpr UINT DT_VCENTER = 0x0004;
inline constexpr UINT DT_BOTTOM = 0x0008;
inline constexpr UINT DT_WORDBREAK = 0x0010;
inline constexpr UINT DT_SINGLELINE = 0x0020;
inline constexpr UINT DT_EXPANDTABS = 0x0040;
inline constexpr UINT DT_NOCLIP = 0x0100;
inline constexpr UINT DT_CALCRECT = 0x0400;
inline constexpr UINT DT_NOPREFIX = 0x0800;
// Lines break at \n; with DT_WORDBREAK also between words at the rectangle's width. Returns the
// height of the text drawn.
int DrawText(HDC dc, const char16_t* text, int count, RECT* rect, UINT format);

// Bitmap sections: 16-bit RGB 5-6-5 pixels in memory that both the program and the window
// system see. `stride` is in bytes (rows are padded to 4 bytes).
HBITMAP CreateDIBSection565(int32_t width, int32_t height, uint16_t** pixels, int32_t* stride);
inline constexpr DWORD SRCCOPY = 0x00CC0020;
BOOL BitBlt(HDC destination, int32_t x, int32_t y, int32_t width, int32_t height, HDC source,
            int32_t source_x, int32_t source_y, DWORD rop);

}  // namespace ce
