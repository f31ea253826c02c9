// The drawing primitives of the controls and screens: fills, outlines, lines, circles,
// shading, bevels, grey conversion, flood fill and pixel reads. Each names the colour
// encoding it takes (pixel value, RGB value 0x00RRGGBB or colour reference 0x00BBGGRR),
// clips to the surface it draws on, and does nothing on a null or empty surface.
#pragma once
#include <cstdint>

#include "media/LxSurface.h"

uint32_t ColorToPixel(CLxSurface* surface, uint32_t rgb);
// The RGB value num/den of the way from a to b, channel by channel.
uint32_t MixRGB(uint32_t a, uint32_t b, int num, int den);
// The RGB value of a pixel; 0 outside the surface.
uint32_t GetPixel(CLxSurface* surface, int x, int y);
void FillRectRGB(CLxSurface* surface, const RECT* rect, uint32_t rgb);
void FillRectPixel(CLxSurface* surface, const RECT* rect, uint32_t pixel);
void FillRectColor(CLxSurface* surface, const RECT* rect, uint32_t rgb);
// Fills through the renderer with a colour reference (circles of a rectangle that is
// not square are drawn so).
void FillRectColorRef(CLxSurface* surface, const RECT* rect, uint32_t colorref);
void FrameRect(CLxSurface* surface, const RECT* rect, uint32_t colorref);
// A one-pixel outline just inside rect with an RGB value, drawn with fills, so that it
// draws on pictures of every depth (the renderer's lines skip 24-bit ones).
void OutlineRectRGB(CLxSurface* surface, const RECT* rect, uint32_t rgb);
void DrawLine(CLxSurface* surface, int x1, int y1, int x2, int y2, uint32_t colorref);
void DrawCircle(CLxSurface* surface, const RECT* rect, uint32_t value);
void FillCircle(CLxSurface* surface, const RECT* rect, uint32_t value);
// Darkens (factor below 1) or lightens toward white (above 1); negative does nothing.
void Shade(CLxSurface* surface, const RECT* rect, float factor);
void Bevel(CLxSurface* surface, const RECT* rect, float inner, float light, float dark);
void Greyscale(CLxSurface* surface, const RECT* rect, float factor);
// Fills the 4-connected area of the colour at (x, y) with rgb; returns the pixels filled
// and, when more than 8 were, their mean position in centre (else (0, 0)).
int FloodFill(CLxSurface* surface, int x, int y, uint32_t rgb, POINT* centre);
