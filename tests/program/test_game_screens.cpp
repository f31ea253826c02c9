// The six therapy games are reached from the games menu: each game button's message
// builds its game, which selects its own button.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "shell/LxMessages.h"
#include "shell/LxScreenTable.h"
#include "test_therapy_support.h"
#include "therapy/LxTherapyScreens.h"

using namespace therapy_test;

namespace {
class GameScreens : public TherapyTest {
  protected:
    void TearDown() override {
        ClearScreenTable();
        TherapyTest::TearDown();
    }
};

TEST_F(GameScreens, EachGameButtonBuildsItsGame) {
    RegisterTherapyScreens();
    for (int game = 1; game <= 6; ++game) {
        UINT msg = kMsgTherapyGames + game;
        LxRoute route = RouteMessage(msg, 0);
        ASSERT_EQ(route.how, LxSwitch::Create) << game;
        ASSERT_NE(route.make, nullptr) << game;
        std::unique_ptr<CLxScreen> screen(route.make(msg, 0, 0));
        EXPECT_EQ(std::string(screen->GetName()), "TGame" + std::to_string(game));
        std::string button = "jobb.j" + std::to_string(game);
        EXPECT_EQ(State(screen.get(), button.c_str()), 14) << game;
        Click(screen.get(), button.c_str()); // already selected: the game starts again
        ASSERT_FALSE(sent_.empty());
        EXPECT_EQ(sent_.back().msg, msg);
    }
}
} // namespace
