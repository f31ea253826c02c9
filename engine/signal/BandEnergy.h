// BandEnergyRect and BandEnergyTriang (spectrum, sound, scale, X, n, W): band energies
// of a magnitude spectrum on an auditory scale. The n bands have the same width W on
// the scale ("Bark" or "Greenwood"), start at position 0 and end at the position of
// the upper frequency X; their edges, in whole Hz, are fixed at construction.
//
// Each block, a frequency f maps to the bin trunc(f * 2B / sps) of the spectrum's B
// bands (clamped to the bins there are), with the sound buffer's current rate. A
// rectangular band sums its bins from the low edge's up to, not including, the high
// edge's; a triangular band of m bins weights them rising from 1/h to 1 and falling to
// 0 at the high bin (h = m / 2), and a band of a single bin is that bin. A sound
// buffer without a rate yet gives zeros.
#pragma once
#include <string>
#include <vector>

#include "SoundBuffer.h"
#include "signal/MapModule.h"

enum class BandScale { kBark, kGreenwood };

struct BandEdge {
    int low, high; // Hz
};

// The scale a name asks for, by its first 4 ("Bark") or 9 ("Greenwood") characters;
// false for any other name.
bool ParseBandScale(const std::string& name, BandScale* scale);
// The edges of count bands of the given width up to the frequency upper.
std::vector<BandEdge> BandEdges(BandScale scale, int upper, int count, float width);

class BandEnergy : public MapModule {
  public:
    enum Shape { kRectangular, kTriangular };

    BandEnergy(Map* spectrum, SoundBuffer* sound, std::vector<BandEdge> edges, Shape shape);
    ~BandEnergy() override;

    int Process() override;

  private:
    // The bin of a frequency in a spectrum of the given bands at the given rate.
    static int Bin(int hz, int bands, double sps);
    // Adds weight times the spectrum's bin to the sums of the block's frames.
    void Add(int bin, double weight, int frameCount);

    SoundBuffer* sound_;
    std::vector<BandEdge> edges_;
    Shape shape_;
    std::vector<double> sum_;
};
