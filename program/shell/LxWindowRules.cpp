#include "shell/LxWindowRules.h"

#include <cstring>

int GetOptionValue(const char* cmdLine, const char* key, int def) {
    if (!cmdLine || !key || !*key) return def;
    const char* p = strstr(cmdLine, key);
    if (!p) return def;
    p += strlen(key);
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p++ != '=') return def;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = *p == '-';
    if (negative) ++p;
    int digits = 0;
    long long value = 0;
    while (*p >= '0' && *p <= '9') {
        if (++digits > 63) return def;
        if (value < 1LL << 40) value = value * 10 + (*p - '0');
        ++p;
    }
    if (digits == 0 || (*p && *p != ' ' && *p != '\t')) return def;
    if (negative) value = -value;
    if (value > 0x7fffffff || value < -0x7fffffffLL - 1) return def;
    return static_cast<int>(value);
}

void KeepAspect(RECT* r, int edge, int frameWidth, int frameHeight) {
    const float ratio = 1.3333334f;
    int w = r->right - r->left - frameWidth;
    int h = r->bottom - r->top - frameHeight;
    switch (edge) {
    case kEdgeLeft:
    case kEdgeRight:
        r->bottom = r->top + frameHeight + static_cast<int>(w / ratio);
        return;
    case kEdgeTop:
    case kEdgeBottom:
        r->right = r->left + frameWidth + static_cast<int>(h * ratio);
        return;
    case kEdgeTopLeft:
    case kEdgeTopRight:
    case kEdgeBottomLeft:
    case kEdgeBottomRight:
        break;
    default:
        return;
    }
    if (h > 0 && static_cast<float>(w) / h < ratio)
        w = static_cast<int>(h * ratio);
    else
        h = static_cast<int>(w / ratio);
    if (edge == kEdgeTopLeft || edge == kEdgeTopRight)
        r->top = r->bottom - frameHeight - h;
    else
        r->bottom = r->top + frameHeight + h;
    if (edge == kEdgeTopLeft || edge == kEdgeBottomLeft)
        r->left = r->right - frameWidth - w;
    else
        r->right = r->left + frameWidth + w;
}

bool ClientToSurface(int x, int y, int clientWidth, int clientHeight, int surfaceWidth,
                     int surfaceHeight, POINT* out) {
    if (clientWidth <= 0 || clientHeight <= 0) return false;
    if (clientWidth == surfaceWidth && clientHeight == surfaceHeight) {
        *out = {x, y};
        return true;
    }
    out->x = static_cast<int>(static_cast<long long>(x) * surfaceWidth / clientWidth);
    out->y = static_cast<int>(static_cast<long long>(y) * surfaceHeight / clientHeight);
    return true;
}
