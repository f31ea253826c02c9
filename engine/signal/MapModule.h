// The base of the map classes that compute their block from one source map (band
// energies, cepstra, compressions, normalisations, peak maps). It holds the source
// with a reference, owns an output array allocated once for bands x frames, where
// frames is the source's frame count at construction (its largest block, for a
// spectrum), and answers "Map" before the module base's names. Until its first block
// it shows that many frames (of zeros), so maps built on it size themselves alike.
//
// A derived Process starts with BeginBlock, which takes the source's frame count,
// clipped to what the array holds (a source that grows past its size at our
// construction loses the extra frames of the block, never our memory), and copies
// "complete"; it then writes Row(b)[f] for every band and frame.
#pragma once
#include <memory>

#include "Map.h"
#include "core/ModuleBase.h"
#include "core/ZeroedArray.h"

class MapModule : public ModuleBase, public virtual Map {
  public:
    MapModule(Map* source, int outputBands);
    ~MapModule() override;

    void* GetInterface(const char* name) override;

  protected:
    // Sets frames (clipped to the capacity) and complete from the source; returns frames.
    int BeginBlock();
    // The output row of a band in the current block.
    float* Row(int band) { return Map::data + band * frames; }
    // The source's row of a band in its current block.
    const float* SourceRow(int band) const { return source_->data + band * source_->frames; }

    Map* source_;
    int maxFrames_;

  private:
    ZeroedArray<float> values_;
};
