#pragma once
// Plain types and helpers that the system's classes use in the shape they had on their
// first platform: byte flags, 32-bit words, colour references and edge-exclusive rectangles.

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using BOOL = int;
using COLORREF = std::uint32_t; ///< 0x00BBGGRR

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Key and button flags of a mouse message (which buttons and keys are held)
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;

constexpr COLORREF RGB(int r, int g, int b)
{
    return COLORREF(BYTE(r)) | (COLORREF(BYTE(g)) << 8) | (COLORREF(BYTE(b)) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return BYTE(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return BYTE((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return BYTE((c >> 16) & 0xFF); }

/// A rectangle whose right and bottom edges lie outside it (left <= x < right).
struct RECT
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr bool PtInRect(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr bool operator==(const RECT&) const = default;
};

/// A point in whatever pixel space the caller names.
struct POINT
{
    int x = 0;
    int y = 0;
    constexpr bool operator==(const POINT&) const = default;
};
