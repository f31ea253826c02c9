// Sounds of the controls on SDL's dummy audio driver: the sound box's sound from a file
// or the sound bank, looping while the mouse is over it and stopped when it leaves, and
// the click sound the dispatcher plays once for a click and not for a release elsewhere.
#include <SDL.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "media/LxSoundDevice.h"
#include "media/LxSoundHelpers.h"
#include "media/LxSoundServer.h"
#include "test_controls_support.h"
#include "ui/LxGroup.h"
#include "ui/LxSoundBox.h"

using namespace ui_test;

namespace {
// A WAV file of the program's format (22050 Hz, 16-bit mono) with samples samples.
std::string Wave(unsigned samples) {
    unsigned bytes = samples * 2;
    std::string w = "RIFF" + Le32(36 + bytes) + "WAVEfmt " + Le32(16) + Le16(1) + Le16(1) +
                    Le32(22050) + Le32(44100) + Le16(2) + Le16(16) + "data" + Le32(bytes);
    for (unsigned i = 0; i < samples; ++i)
        w += Le16(static_cast<int>(i % 64) * 256);
    return w;
}

class Sounds : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        g_pPlayer = new CLxSoundDevice(false);
        ASSERT_TRUE(g_pPlayer->OpenPlayer(-1, -1));
        g_pSoundServer = new CLxSoundServer;
        WriteFile("data/sounds/click.wav", Wave(44100)); // 2 s: still playing when checked
        WriteFile("data/sounds/asterisk.wav", Wave(100));
        WriteFile("data/sounds/loop.wav", Wave(22050));
        WriteFile("data/speech/a.wav", Wave(22050));
        WriteFile("data/speech/b.wav", Wave(22050));
        WriteFile("data/speech/soundbank.xml",
                  "<bank>\n<sound name=\"a\" wave=\"a.wav\" range=\"0,100\"/>\n"
                  "<sound name=\"b\" wave=\"b.wav\"/>\n</bank>\n");
    }
    void TearDown() override {
        gui_.reset();
        delete g_pSoundServer;
        g_pSoundServer = nullptr;
        delete g_pPlayer;
        g_pPlayer = nullptr;
        SDL_AudioQuit();
        UiTest::TearDown();
    }
    static bool Playing(CBSoundBuffer* sound) {
        int status = SoundStatus(sound);
        return status == CBSoundBuffer::kPlaying || status == CBSoundBuffer::kPlayWrapped;
    }
    std::unique_ptr<CLxCGUI> gui_;
};

TEST_F(Sounds, SoundBoxLoopsItsSoundWhileTheMouseIsOverIt) {
    struct Case {
        const char* file;
        const char* name;
        const char* key; // null: no sound
    } cases[] = {
        {"data\\sounds\\loop.wav", nullptr, "data\\sounds\\loop.wav"},
        {"data\\sounds\\loop.wav", "a", "data\\sounds\\loop.wav"}, // the file wins
        {nullptr, "a", "data\\speech\\a.wav@0-100"},
        {nullptr, "b", "data\\speech\\b.wav"},
        {nullptr, "nincs", nullptr},
        {"data\\sounds\\nincs.wav", nullptr, nullptr},
        {nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        gui_ = std::make_unique<CLxCGUI>(nullptr);
        CLxGroup::Descriptor gd{gui_.get(), "g", {}, 0, 0};
        auto* group = new CLxGroup(&gd);
        RECT area{100, 100, 200, 200};
        CLxSoundBox::Descriptor d{{gui_.get(), group, "box", &area, 1}, c.file, c.name};
        auto* box = new CLxSoundBox(&d);
        EXPECT_EQ(box->m_nType, kSoundBox);
        if (!c.key) {
            EXPECT_EQ(box->m_pSound, nullptr) << (c.name ? c.name : "-");
        } else {
            ASSERT_NE(box->m_pSound, nullptr) << c.key;
            EXPECT_STREQ(g_pSoundServer->GetKey(box->m_pSound), c.key);
        }
        gui_->DispatchMouse(WM_MOUSEMOVE, 0, At(150, 150));
        EXPECT_EQ(gui_->m_pHot, box);
        if (c.key) {
            EXPECT_TRUE(Playing(box->m_pSound)) << c.key;
            EXPECT_TRUE(box->m_pSound->IsLooping()) << c.key;
        }
        gui_->DispatchMouse(WM_MOUSEMOVE, 0, At(300, 300));
        EXPECT_EQ(SoundStatus(box->m_pSound), c.key ? CBSoundBuffer::kIdle : 2);
        // Deleting the box while its sound plays gives the sound back to the server.
        gui_->DispatchMouse(WM_MOUSEMOVE, 0, At(150, 150));
        CBSoundBuffer* sound = box->m_pSound;
        delete box;
        EXPECT_EQ(g_pSoundServer->GetUseCount(sound), 0);
    }
}

// Notes the click sound's status at every event the screen hears and, at the click,
// stops the sound's device from advancing and marks its position.
class ClickWatch : public ILxMouseListener {
  public:
    static constexpr unsigned kMark = 1234;
    int OnMouseEvent(CLxMouseEvent* e) override {
        int status = SoundStatus(gui->m_pClick);
        seen.emplace_back(e->m_nType, status);
        if (e->m_nType == kMouseClick && status == CBSoundBuffer::kPlaying) {
            SDL_AudioDeviceID id = g_pPlayer->GetId();
            SDL_PauseAudioDevice(id, 1);
            SDL_LockAudioDevice(id); // waits for a callback under way
            SDL_UnlockAudioDevice(id);
            gui->m_pClick->SetPosition(kMark);
        }
        return 0;
    }
    CLxCGUI* gui = nullptr;
    std::vector<std::pair<int, int>> seen;
};

TEST_F(Sounds, AClickPlaysTheClickSoundOnce) {
    WriteFile("data/c.xml", "<Lexo>\n<group name=\"g\" position=\"0,0\">\n</group>\n"
                            "<control type=\"button\" name=\"b\"><common rect=\"100,100,50,50\"/>"
                            "</control>\n</Lexo>\n");
    gui_ = std::make_unique<CLxCGUI>("data\\c.xml");
    ASSERT_NE(gui_->m_pClick, nullptr);
    ClickWatch watch;
    watch.gui = gui_.get();
    gui_->m_pListener = &watch;
    const int idle = CBSoundBuffer::kIdle, playing = CBSoundBuffer::kPlaying;

    gui_->DispatchMouse(WM_MOUSEMOVE, 0, At(120, 120));
    gui_->DispatchMouse(WM_LBUTTONDOWN, MK_LBUTTON, At(120, 120));
    gui_->DispatchMouse(WM_LBUTTONUP, 0, At(120, 120));
    std::vector<std::pair<int, int>> pressed = {
        {kMouseEnter, idle}, {kMouseDown, idle}, {kMouseUp, idle}, {kMouseClick, playing}};
    EXPECT_EQ(watch.seen, pressed);
    unsigned read = 0, write = 0;
    gui_->m_pClick->GetPositions(&read, &write);
    EXPECT_EQ(read, ClickWatch::kMark); // not started again after the screen heard the click

    // Pressed on the button and released elsewhere: no click, no sound.
    gui_->StopSounds();
    watch.seen.clear();
    gui_->DispatchMouse(WM_MOUSEMOVE, 0, At(120, 120));
    gui_->DispatchMouse(WM_LBUTTONDOWN, MK_LBUTTON, At(120, 120));
    gui_->DispatchMouse(WM_MOUSEMOVE, MK_LBUTTON, At(300, 300));
    gui_->DispatchMouse(WM_LBUTTONUP, 0, At(300, 300));
    for (const auto& [type, status] : watch.seen) {
        EXPECT_NE(type, kMouseClick);
        EXPECT_EQ(status, idle) << type;
    }
    EXPECT_EQ(SoundStatus(gui_->m_pClick), idle);
}
} // namespace
