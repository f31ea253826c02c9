// Saving the last recording: numbered files in order, a word's file below the speech
// folder, nothing for an empty recording, and typed words kept inside that folder.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "media/LxFile.h"
#include "media/LxSoundBuffer.h"
#include "media/LxSoundDevice.h"
#include "reading/LxLetters.h"
#include "shell/LxProgram.h"
#include "shell/LxRecordingSave.h"
#include "support/TempFolder.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RecordingSaveTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        CLxFile::SetRoots(".\\", "data\\");
        std::filesystem::create_directories("save/speech");
        g_pPlayer = new CLxSoundDevice(false);
        g_pRecording = new CBSoundBuffer(g_pPlayer);
        ASSERT_TRUE(g_pRecording->Create(4000, 22050, 16));
        g_nOutFile = 0;
    }
    void TearDown() override {
        delete g_pRecording;
        g_pRecording = nullptr;
        delete g_pPlayer;
        g_pPlayer = nullptr;
        TempFolderTest::TearDown();
    }
};

TEST_F(RecordingSaveTest, UnnamedRecordingsAreNumberedInOrder) {
    EXPECT_TRUE(SaveRecording(nullptr, 1000));
    EXPECT_TRUE(SaveRecording(nullptr, 200));
    EXPECT_EQ(ReadFile("out000.wav").size(), 1044u);
    EXPECT_EQ(ReadFile("out001.wav").size(), 244u);
    EXPECT_EQ(g_nOutFile, 2);
}

// A new run starts counting at 0 again: it must not overwrite the last run's files.
TEST_F(RecordingSaveTest, NumberingContinuesAfterTheHighestExistingFile) {
    std::ofstream("out000.wav") << "earlier";
    std::ofstream("out007.wav") << "earlier";
    EXPECT_TRUE(SaveRecording(nullptr, 1000));
    EXPECT_EQ(ReadFile("out000.wav"), "earlier");
    EXPECT_EQ(ReadFile("out007.wav"), "earlier");
    EXPECT_EQ(ReadFile("out008.wav").size(), 1044u);
    EXPECT_EQ(g_nOutFile, 9);
}

TEST_F(RecordingSaveTest, NamedRecordingGoesToTheSpeechFolder) {
    EXPECT_TRUE(SaveRecording(TextToCodes("ősz").c_str(), 1000));
    // File names on disk are UTF-8.
    EXPECT_EQ(std::filesystem::file_size(u8"save/speech/öösz.wav"), 1044u);
    EXPECT_EQ(g_nOutFile, 0);
}

// With nothing recorded the whole buffer was once written out as a minute of noise.
TEST_F(RecordingSaveTest, NothingRecordedWritesNothing) {
    EXPECT_FALSE(SaveRecording(nullptr, 0));
    EXPECT_FALSE(SaveRecording(TextToCodes("alma").c_str(), 0));
    EXPECT_FALSE(std::filesystem::exists("out000.wav"));
    EXPECT_FALSE(std::filesystem::exists("save/speech/alma.wav"));
    EXPECT_EQ(g_nOutFile, 0);
}

TEST_F(RecordingSaveTest, TypedWordsStayInTheSpeechFolder) {
    EXPECT_TRUE(SaveRecording("../../x", 100));
    EXPECT_TRUE(std::filesystem::exists("save/speech/.._.._x.wav"));
    EXPECT_TRUE(SaveRecording("a\\b:c", 100));
    EXPECT_TRUE(std::filesystem::exists("save/speech/a_b_c.wav"));
    EXPECT_FALSE(SaveRecording("..", 100));
    EXPECT_FALSE(SaveRecording("", 100));
    EXPECT_FALSE(std::filesystem::exists("x.wav"));
}

} // namespace
