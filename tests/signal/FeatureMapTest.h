// The fixture of the feature-map tests: hand-set source maps and sound buffers in
// the test's folder, running a map and reading its current block back as rows.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "Map.h"
#include "Module.h"
#include "signal/SampleBuffer.h"
#include "signal/SignalTest.h"

using Rows = std::vector<std::vector<float>>;

class FeatureMapTest : public SignalTest {
  protected:
    // A host-filled sound buffer stored as a member of this test's folder.
    SampleBuffer* Sound(const char* name, int capacity) {
        auto* sb = new SampleBuffer(capacity);
        Get("")->Set(name, static_cast<int>(std::string(name).size()), sb, 0);
        return sb;
    }
    Map* MapOf(const std::string& path) {
        auto* map = QueryInterface<Map>(Get(path), "Map");
        if (map) map->Release();
        return map;
    }
    void Process(const std::string& path) {
        auto* module = QueryInterface<Module>(Get(path), "Module");
        ASSERT_TRUE(module) << path;
        EXPECT_EQ(module->Process(), 0);
        module->Release();
    }
    // Runs a map and returns its current block, one row per band.
    Rows Block(const std::string& path) {
        Process(path);
        Map* map = MapOf(path);
        Rows rows(map->bands, std::vector<float>(map->frames));
        for (int b = 0; b < map->bands; ++b)
            for (int f = 0; f < map->frames; ++f)
                rows[b][f] = map->data[b * map->frames + f];
        return rows;
    }
    // The first line a script writes.
    std::string FirstLine(const std::string& script) {
        std::string written = In(script);
        return written.substr(0, written.find('\n'));
    }
};

// A number as a script writes it, with every digit a float needs.
inline std::string Num(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", v);
    return text;
}
