// Lays rendered clip art out on the program's pictures: a drawing is cut to the part
// that is drawn (its opaque pixels), scaled to fit a box without changing its shape,
// and blended over a surface. Scaling averages the source pixels each target pixel
// covers, weighted by their alpha, so that thin lines stay visible when a big drawing
// becomes small and transparent pixels leave no dark fringe.
#pragma once
#include "PictureWriter.h"
#include "media/LxSurface.h"

// The smallest rectangle that holds every pixel whose alpha is above kDrawnAlpha; an
// empty image when nothing is drawn.
LxImage CropToDrawing(const LxImage& image);
// The image scaled to the largest size that fits width x height, keeping its shape.
LxImage FitInto(const LxImage& image, int width, int height);
// Blends the image over the surface, centred in the box (left, top)-(right, bottom).
void DrawCentredIn(CLxSurface* surface, const LxImage& image, int left, int top, int right,
                   int bottom);

constexpr int kDrawnAlpha = 16;
