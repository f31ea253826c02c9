// The colouring game's picture: a control (group "fo", named "cbutton") that shows its
// own 600 x 600 surface with an overlay picture over it (magenta transparent) and fills
// the area under a click with the current colour. A move over it is passed on to the
// screen, which says the letter of the area under the mouse.
//
// Beside it the area work the screen does when it builds the picture: every segment of
// the material has its colours and seed points; the seeds' areas are filled once with
// their segments' colours to map each 5 x 5 cell of the picture to the segment whose
// colour fills it (255 for none, e.g. cells on the outline), and are then given the
// uncoloured look. A seed that does not lie in a white area (outside the picture, or on
// the outline, whose fill would spread over every line) is dropped. The picture is
// finished when every seed's pixel has its segment's fill colour.
#pragma once
#include <cstdint>
#include <vector>

#include "ui/LxControl.h"

class CLxSurface;

inline constexpr int kColoringSize = 600;                            // the surface, square
inline constexpr int kColoringCell = 5;                              // pixels of a map cell
inline constexpr int kColoringCells = kColoringSize / kColoringCell; // cells per side
inline constexpr uint8_t kNoSegment = 255;
inline constexpr uint32_t kUncoloured = 0xBDA03B;

struct LxColoringSegment {
    unsigned char letter = 0;
    // c0 the fill colour, c1 and c2 the palette button's selected and hot colours, c3
    // the colour the finished picture has there; RGB values.
    uint32_t colours[4] = {};
    std::vector<POINT> seeds;
};

// Completes the colours of a segment of which the first given ones (1 to 4) are set:
// one: c1 = c2 = white - c0, c3 = c0; two: c2 = c1, c3 = c0; three: c3 = c0.
void CompleteSegmentColours(LxColoringSegment* segment, int given);

// Builds the area map of the picture on area (a 32-bit surface of kColoringSize, the
// outline already on it) and leaves the seeds' areas uncoloured; misplaced seeds are
// dropped from the segments (all of them when area is not such a surface). The map has
// kColoringCells x kColoringCells cells, row by row.
std::vector<uint8_t> BuildColoringMap(CLxSurface* area, std::vector<LxColoringSegment>* segments);
// The segment of the map cell under (x, y) of the area; kNoSegment outside the map.
uint8_t ColoringSegmentAt(const std::vector<uint8_t>& map, int x, int y);
// Whether every seed's pixel has its segment's fill colour (seeds outside are passed over).
bool ColoringFinished(CLxSurface* area, const std::vector<LxColoringSegment>& segments);

class CLxColoringButton : public CLxControl {
  public:
    // The surface and the overlay (null for none) are taken over.
    CLxColoringButton(const Descriptor* descriptor, CLxSurface* surface, CLxSurface* overlay);
    ~CLxColoringButton() override;

    void Draw() override;
    // Fills the area under the click with the current colour, when enabled.
    void OnClick(CLxMouseEvent* event) override;
    // Tells the screen, which hears no moves otherwise.
    void OnMove(CLxMouseEvent* event) override;

    // Replaces the surface (taken over); the old one is freed.
    void SetSurface(CLxSurface* surface);
    CLxSurface* Surface() const { return m_pSurface; }

    uint32_t m_nColour = 0; // RGB value of the current colour

  private:
    CLxSurface* m_pSurface;
    CLxSurface* m_pOverlay;
};
