// The one-source map base; see MapModule.h.
#include "signal/MapModule.h"

#include <algorithm>
#include <cstring>

MapModule::MapModule(Map* source, int outputBands) : source_(source) {
    source_->AddRef();
    bands = std::max(outputBands, 0);
    maxFrames_ = std::max(source_->frames, 1);
    Map::capacity = bands * maxFrames_;
    values_ = MakeZeroed<float>(std::max(Map::capacity, 1));
    Map::data = values_.get();
    frames = maxFrames_; // a consumer made before our first block sizes itself from it
}

MapModule::~MapModule() {
    source_->Release();
}

void* MapModule::GetInterface(const char* name) {
    return AnswerAs<Map>(this, "Map", name);
}

int MapModule::BeginBlock() {
    frames = std::clamp(source_->frames, 0, maxFrames_);
    Map::complete = source_->complete;
    return frames;
}
