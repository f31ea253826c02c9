// The few Windows types the program's drawing and file code speaks in: rectangles with
// exclusive right and bottom edges, points, the 40-byte bitmap information header and
// the result codes of the surface helpers.
#pragma once
#include <cstdint>

struct RECT {
    int left, top, right, bottom;
};

struct POINT {
    int x, y;
};

#pragma pack(push, 1)
struct BITMAPINFOHEADER {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPINFOHEADER) == 40);

using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

// Window messages travel as (message, wParam, lParam), as the screens expect them.
using UINT = unsigned int;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
