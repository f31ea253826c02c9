// The guarded accessor of features: an address past the data is "not there yet"
// (a growing stream may deliver it later), a negative one is an error; both are
// reported with the address before the throw.
#include <gtest/gtest.h>

#include <memory>

#include "Exceptions.h"
#include "Feature.h"
#include "support/EngineTest.h"

namespace {
class FeatureValue : public EngineTest {};

class Values : public Feature {
  public:
    Values() {
        data = values_;
        length = 3;
    }

  private:
    float values_[4] = {1.5f, 2.5f, 3.5f, 99.0f}; // the last one is past length
};

TEST_F(FeatureValue, ReadsInsideAndThrowsOutside) {
    struct Case {
        int address;
        int code; // 0: a value comes back
        const char* message;
    };
    const Case cases[] = {
        {0, 0, ""},
        {2, 0, ""},
        {3, 1, "Feature: address is too big (3, maximum: 3)\n"},
        {1000, 1, "Feature: address is too big (1000, maximum: 3)\n"},
        {-1, 2, "Feature: address is too small (-1)\n"},
    };
    auto feature = std::make_unique<Values>();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        int code = 0;
        try {
            EXPECT_EQ(feature->Value(c.address), 1.5f + c.address);
        } catch (Exception* e) {
            code = e->code;
            delete e;
        }
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(sink_->Take(), c.message);
    }
}
} // namespace
