// The few Windows types the program's drawing and file code speaks in: rectangles with
// exclusive right and bottom edges, points, the 40-byte bitmap information header and
// the result codes of the surface helpers.
#pragma once
#include <climits>
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

// Rectangle helpers with the Windows meaning: a rectangle is empty when it has no
// width or no height; a union ignores empty rectangles; a failed intersection leaves an
// empty rectangle (all zero); a point lies in a rectangle when left <= x < right and
// top <= y < bottom.
inline bool IsRectEmpty(const RECT* r) {
    return !r || r->right <= r->left || r->bottom <= r->top;
}

inline void SetRectEmpty(RECT* r) {
    *r = RECT{0, 0, 0, 0};
}

inline bool IntersectRect(RECT* out, const RECT* a, const RECT* b) {
    RECT r{a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
           a->right < b->right ? a->right : b->right,
           a->bottom < b->bottom ? a->bottom : b->bottom};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(out);
        return false;
    }
    *out = r;
    return true;
}

inline bool UnionRect(RECT* out, const RECT* a, const RECT* b) {
    if (IsRectEmpty(a) && IsRectEmpty(b)) {
        SetRectEmpty(out);
        return false;
    }
    if (IsRectEmpty(a)) {
        *out = *b;
        return true;
    }
    if (IsRectEmpty(b)) {
        *out = *a;
        return true;
    }
    *out = RECT{a->left < b->left ? a->left : b->left, a->top < b->top ? a->top : b->top,
                a->right > b->right ? a->right : b->right,
                a->bottom > b->bottom ? a->bottom : b->bottom};
    return true;
}

// Moves a rectangle; coordinates from descriptions may lie near the integer limits, so
// the sums stop at them instead of overflowing.
inline void OffsetRect(RECT* r, int dx, int dy) {
    auto add = [](int& field, int delta) {
        long long sum = static_cast<long long>(field) + delta;
        field = static_cast<int>(sum > INT_MAX ? INT_MAX : sum < INT_MIN ? INT_MIN : sum);
    };
    add(r->left, dx);
    add(r->right, dx);
    add(r->top, dy);
    add(r->bottom, dy);
}

inline bool PtInRect(const RECT* r, POINT p) {
    return p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}

// The window messages the screens are fed, and what their parameters carry. Mouse
// messages pack x into the low and y into the high 16 bits of lParam.
constexpr UINT WM_KEYDOWN = 256;
constexpr UINT WM_KEYUP = 257;
constexpr UINT WM_CHAR = 258;
constexpr UINT WM_MOUSEMOVE = 512;
constexpr UINT WM_LBUTTONDOWN = 513;
constexpr UINT WM_LBUTTONUP = 514;

constexpr int MK_LBUTTON = 1;
constexpr int MK_RBUTTON = 2;
constexpr int MK_SHIFT = 4;
constexpr int MK_CONTROL = 8;

constexpr LPARAM MAKELPARAM(int x, int y) {
    return static_cast<LPARAM>((static_cast<uint32_t>(y & 0xFFFF) << 16) | (x & 0xFFFF));
}
constexpr int GET_X_LPARAM(LPARAM l) {
    return static_cast<int16_t>(l & 0xFFFF);
}
constexpr int GET_Y_LPARAM(LPARAM l) {
    return static_cast<int16_t>((l >> 16) & 0xFFFF);
}

constexpr int VK_BACK = 8;
constexpr int VK_TAB = 9;
constexpr int VK_RETURN = 13;
constexpr int VK_ESCAPE = 27;
constexpr int VK_END = 35;
constexpr int VK_HOME = 36;
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;
constexpr int VK_DELETE = 46;
constexpr int VK_F5 = 116;
