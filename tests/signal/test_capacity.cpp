// Arrays sized for a capacity: they read as zeros until written, and the part of them a
// chain never reaches costs no resident memory, so a large recogniser starts lean.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "SoundBuffer.h"
#include "core/ZeroedArray.h"
#include "signal/SignalTest.h"

namespace {
// Resident bytes of this process, from /proc/self/statm; -1 when unreadable.
long ResidentBytes() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return -1;
    long size = 0, resident = -1;
    if (std::fscanf(f, "%ld %ld", &size, &resident) != 2) resident = -1;
    std::fclose(f);
    return resident < 0 ? -1 : resident * sysconf(_SC_PAGESIZE);
}

TEST(ZeroedArray, ReadsAsZerosUntilWrittenWhateverItsSize) {
    for (size_t count : {size_t{0}, size_t{1}, size_t{1000}, size_t{3000000}}) {
        SCOPED_TRACE(count);
        ZeroedArray<float> values = MakeZeroed<float>(count);
        ASSERT_NE(values.get(), nullptr);
        size_t last = count > 0 ? count - 1 : 0;
        EXPECT_EQ(values[0], 0.0f);
        EXPECT_EQ(values[last / 2], 0.0f);
        EXPECT_EQ(values[last], 0.0f);
        values[last] = 5.0f;
        EXPECT_EQ(values[last], 5.0f);
    }
}

class Capacity : public SignalTest {};

TEST_F(Capacity, ABuiltChainLeavesTheCapacityItNeverReachedUntouched) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's allocator keeps every array resident";
#endif
    long before = ResidentBytes();
    ASSERT_GT(before, 0);
    // About 40 MB of capacity: a second of samples, the spectrum and bands of a whole
    // buffer, 40 feature streams and the running sums of their 40 mean cues.
    In("sb = new DummySoundBuffer(1000000); s = new Spectrum(sb, 512, 220, 512, 1); "
       "b = new BandEnergyTriang(s, sb, \"Bark\", 11025, 20, 1.5); l = new LogMap(b);\n"
       "for i 0..39 f[i] = new FBand(l, 0); c[i] = new ACMean(f[i], 0, 1);\n");
    ASSERT_EQ(Buffer("sb")->capacity, 1000000);
    ASSERT_NE(Get("c39"), nullptr);
    long grown = ResidentBytes() - before;
    EXPECT_LT(grown, 10L << 20) << "resident growth of the built chain: " << grown << " bytes";
}
} // namespace
