// Display windows and the displays drawing into them, checked on the off-screen
// canvas: the member list, redraws of selected members only, known maps giving known
// pixels, feature polylines, hypothesis boundaries, and windows outliving what draws
// into them. The terminal dialog: put, get and the shared press event.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "ClusterBound.h"
#include "Feature.h"
#include "Hypothesis.h"
#include "core/EngineLock.h"
#include "core/EngineWindow.h"
#include "core/TransDialog.h"
#include "core/TransWindow.h"
#include "signal/SignalTest.h"

namespace {
class Windows : public SignalTest {
  protected:
    EngineWindow* WindowAt(const std::string& path) {
        auto* w = dynamic_cast<EngineWindow*>(Get(path));
        return w;
    }
    std::vector<WindowView::Entry> List(EngineWindow* w) {
        std::lock_guard<std::mutex> lock(w->View()->mutex);
        return w->View()->list;
    }
    uint32_t Pixel(EngineWindow* w, int x, int y) { return w->View()->canvas.At(x, y); }
    int Process(const std::string& path) {
        auto* m = QueryInterface<Module>(Get(path), "Module");
        int r = m->Process();
        m->Release();
        return r;
    }
};

TEST_F(Windows, MembersAreListedSelectedAndRemoved) {
    In("w = new Window(); w.spec = new Folder; w.other = new Folder");
    EngineWindow* w = WindowAt("w");
    ASSERT_NE(w, nullptr);
    auto list = List(w);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "spec");
    EXPECT_TRUE(list[0].selected && list[1].selected);
    w->Set("spec", 4, nullptr, 0);
    list = List(w);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, "other");
}

TEST_F(Windows, AKnownMapGivesKnownPixels) {
    TestMap* m = AddMap("m", 3, 2);
    m->SetBlock({{0, 1, 2}, {3, 4, 5}});
    EXPECT_EQ(In("w = new Window(); d = new MapDisplay(m, w, \"spec\")"), "");
    EngineWindow* w = WindowAt("w");
    EXPECT_EQ(Process("d"), 0);
    EXPECT_EQ(w->Width(), 3);
    EXPECT_EQ(w->Height(), 2);
    EXPECT_EQ(w->View()->canvas.Width(), 53);
    // Grey: value v gives shade trunc(v * 255 / 5), shown as 255 - shade; band 0 at the
    // bottom, the picture right of the 50-pixel list.
    for (int band = 0; band < 2; ++band)
        for (int f = 0; f < 3; ++f) {
            uint32_t grey = 255 - (band * 3 + f) * 255 / 5;
            EXPECT_EQ(Pixel(w, 50 + f, 1 - band), grey * 0x010101u) << band << "," << f;
        }
    // Deselecting the display clears its picture at the next redraw.
    w->Select("spec", false);
    EXPECT_EQ(Pixel(w, 50, 1), Canvas::kBackground);
    w->Select("spec", true);
    EXPECT_EQ(Pixel(w, 50, 1), 0xFFFFFFu - 0); // value 0 is white
    EXPECT_EQ(Pixel(w, 52, 0), 0u);            // value 5 is black
}

TEST_F(Windows, ColourMapsUseThePalette) {
    TestMap* m = AddMap("m", 2, 1);
    m->SetBlock({{1.0f, 0.0f}});
    In("w = new Window(); d = new MapDisplay(m, w, \"c\", 3, 60, 0, 1)");
    Process("d");
    EngineWindow* w = WindowAt("w");
    EXPECT_EQ(Pixel(w, 50, 0), 0u);        // the reference level: palette 3 black
    EXPECT_EQ(Pixel(w, 51, 0), 0xFFFFFFu); // level 0: white
}

TEST_F(Windows, AWindowWithoutSizePaintsNothing) {
    TestMap* m = AddMap("m", 2, 2);
    m->SetBlock({{9, 9}, {9, 9}});
    In("w = new Window(); d = new MapDisplay(m, w, \"spec\")");
    EngineWindow* w = WindowAt("w");
    w->Redraw();
    int width = 0, height = 0;
    for (uint32_t p : w->View()->canvas.Snapshot(&width, &height))
        EXPECT_EQ(p, Canvas::kBackground);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 100);
}

TEST_F(Windows, FeaturePolylines) {
    In("w = new Window()");
    EngineWindow* w = WindowAt("w");
    w->SetSize(10, 20);
    In("sb = new DummySoundBuffer(512); s = new Spectrum(sb, 256, 128, 256, 0);"
       "b = new FBand(s, 0); d = new FeatureDisplay(b, w, \"f\", 255)");
    auto* feature = QueryInterface<Feature>(Get("b"), "Feature");
    ASSERT_NE(feature, nullptr);
    feature->Release();
    // An all-zero feature is a flat line at the bottom edge, in the pen's colour
    // (0x0000FF is red in the window's 0x00BBGGRR colours).
    feature->length = 3;
    for (int i = 0; i < 3; ++i)
        feature->data[i] = 0;
    Process("d");
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(Pixel(w, 50 + x, 20), 0xFF0000u) << x;
    // Values 0, 10, 5 on a 20-pixel area: heights 0, 20 and 10 from the bottom.
    feature->data[1] = 10;
    feature->data[2] = 5;
    Process("d");
    EXPECT_EQ(Pixel(w, 50, 20), 0xFF0000u);
    EXPECT_EQ(Pixel(w, 51, 0), 0xFF0000u);
    EXPECT_EQ(Pixel(w, 52, 10), 0xFF0000u);
    EXPECT_EQ(Pixel(w, 52, 20), Canvas::kBackground);
    EXPECT_EQ(Pixel(w, 58, 5), Canvas::kBackground);
}

// A chain of three hypotheses ending at boundaries 1, 2 and 3 of bounds at frames 0,
// 4, 9 and 15.
class Bounds : public ClusterBound {
  public:
    Bounds() { count = 4; }
    int32_t Boundary(int32_t i) override { return i >= 0 && i < 4 ? frames[i] : -1; }
    int32_t Label(int32_t) override { return 0; }
    void* GetInterface(const char* name) override {
        if (std::string(name) != "ClusterBound") return Interface::GetInterface(name);
        AddRef();
        return static_cast<ClusterBound*>(this);
    }
    int frames[4] = {0, 4, 9, 15};
};
class Path : public Hypothesis {
  public:
    void* GetInterface(const char* name) override {
        if (std::string(name) != "Hypothesis") return Interface::GetInterface(name);
        AddRef();
        return static_cast<Hypothesis*>(this);
    }
};

TEST_F(Windows, HypothesisBoundariesAreVerticalLines) {
    auto* home = QueryInterface<Folder>(Evaluate(folder), "Folder");
    auto* bounds = new Bounds;
    Path* chain[3];
    for (int i = 0; i < 3; ++i) {
        chain[i] = new Path;
        chain[i]->end = i + 1;
        chain[i]->parent = i ? chain[i - 1] : nullptr;
    }
    chain[2]->end = 7; // not a boundary the bounds hold: skipped
    home->Set("cb", 2, bounds, 0);
    home->Set("h0", 2, chain[0], 0);
    home->Set("h1", 2, chain[1], 0);
    home->Set("h", 1, chain[2], 0);
    home->Release();
    EXPECT_EQ(In("w = new Window(); d = new HypothesisDisplay(h, cb, w, \"hyp\", 65280)"), "");
    EngineWindow* w = WindowAt("w");
    w->SetSize(20, 5);
    Process("d");
    for (int x = 0; x < 20; ++x) {
        uint32_t expected = x == 4 || x == 9 ? 0x00FF00u : Canvas::kBackground;
        EXPECT_EQ(Pixel(w, 50 + x, 2), expected) << x;
    }
}

TEST_F(Windows, FactoryMessages) {
    AddMap("m", 1, 1);
    struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"x = new MapDisplay(5, w, \"t\")", "MapDisplay: First parameter must be 'Map' Interface"},
        {"x = new MapDisplay(m, m, \"t\")",
         "MapDisplay: Second parameter must be 'Window' Interface"},
        {"x = new MapDisplay(m, w, 5)", "MapDisplay: Third parameter must be 'Input' Interface"},
        {"x = new FeatureDisplay(m, w, \"t\")", "FeatureDisplay: First parameter error"},
        {"x = new HypothesisDisplay(m, m, w, \"t\")",
         "HypothesisDisplay: First parameter must be 'Hypothesis' Interface"},
        {"x = new FeatureDisplay(b, m, \"t\")",
         "FeatureDisplay: Second parameter must be 'Window' Interface"},
        {"x = new FeatureDisplay(b, w, 5)",
         "FeatureDisplay: Third parameter must be 'Input' Interface"},
    };
    In("w = new Window(); sb = new DummySoundBuffer(512); s = new Spectrum(sb, 256, 128, 256, 0);"
       "b = new FBand(s, 0)");
    for (auto& c : cases) {
        EXPECT_NE(In(c.script).find(c.message), std::string::npos) << c.script;
        EXPECT_EQ(Get("x"), nullptr);
    }
}

// A display keeps its window: dropping the window from every script name while the
// display still runs in a chain draws into the live window, never into freed memory.
TEST_F(Windows, DisplaysKeepTheirWindowAlive) {
    TestMap* m = AddMap("m", 2, 1);
    m->SetBlock({{1, 2}});
    In("w = new Window(); d = new MapDisplay(m, w, \"spec\"); w = 0");
    EXPECT_EQ(Process("d"), 0);
    In("d = 0");
    m->SetBlock({{3, 4}});
    // The map still runs its consumer, which still reaches its window.
    auto* module = QueryInterface<Module>(Get("m"), "Module");
    module->Process();
    module->Release();
}

// A member that drops itself from the window while it draws is held until it is done.
TEST_F(Windows, AMemberLeavingWhileItDrawsIsHeld) {
    TestMap* m = AddMap("m", 2, 1);
    m->SetBlock({{1, 2}});
    In("w = new Window(); d = new MapDisplay(m, w, \"spec\"); d = 0");
    EngineWindow* w = WindowAt("w");
    w->SetSize(2, 1);
    w->Set("spec", 4, nullptr, 0); // the window held the display's last reference
    w->Redraw();
    EXPECT_TRUE(List(w).empty());
}

class Dialog : public EngineTest {};

TEST_F(Dialog, PutReplacesTheOutputField) {
    Run("t = new TransWindow");
    auto* t = dynamic_cast<TransWindow*>(Member("t"));
    ASSERT_NE(t, nullptr);
    auto* put = QueryInterface<Output>(t->Find("put", 3), "Output");
    ASSERT_NE(put, nullptr);
    put->Write("a\nb");
    EXPECT_EQ(t->OutputField(), "a\r\nb");
    put->Write("x", 1); // counted (wide) texts show nothing
    EXPECT_EQ(t->OutputField(), "a\r\nb");
    put->Release();
    Run("t.p(\"c\")");
    EXPECT_EQ(t->OutputField(), "c");
    Run("t.put(5)");
    EXPECT_EQ(t->OutputField(), "c");
}

// Presses as the user's thread would: only once a read waits, since a press nobody
// waits for is lost.
void PressWhenWaiting(TransWindow* t, std::vector<std::string> texts) {
    for (const std::string& text : texts) {
        while (TransWindow::Waiting() == 0)
            std::this_thread::yield();
        t->Press(text, text == "quit");
        while (TransWindow::Waiting() != 0)
            std::this_thread::yield();
    }
}

TEST_F(Dialog, ReadTakesAndClearsTheInputField) {
    Run("t = new TransWindow");
    auto* t = dynamic_cast<TransWindow*>(Member("t"));
    auto* get = QueryInterface<Input>(t->Find("ge", 2), "Input");
    ASSERT_NE(get, nullptr);
    std::string longText(3000, 'a');
    std::thread user(PressWhenWaiting, t, std::vector<std::string>{longText});
    int length = 0, kind = 0;
    const char* text;
    {
        EngineGuard guard;
        text = get->Read(&length, &kind);
    }
    user.join();
    EXPECT_EQ(length, TransWindow::kMaxText);
    EXPECT_EQ(kind, 103);
    EXPECT_EQ(std::string(text, length), longText.substr(0, 1024));
    EXPECT_EQ(t->InputField(), "");
    get->Release();
}
} // namespace

namespace {
// The dialog's keys edit the shared input field in Latin-2, as a user types them.
TEST(TransDialogKeys, KeysEditTheInputField) {
    struct Case {
        std::vector<unsigned long> keys;
        std::string input;
    } cases[] = {
        {{'l', 'i', 's', 't', ' ', ';'}, "list ;"},
        {{'a', 'b', 0xff08 /* BackSpace */}, "a"},
        {{0xff08}, ""},
        {{0xe1 /* á */, 0x1f5 /* ő, a Latin-2 key */, 0x1000171 /* ű, as Unicode */},
         "\xe1\xf5\xfb"},
        {{0xff51 /* Left */, 0x1000416 /* a Cyrillic letter */, 'x'}, "x"},
    };
    for (const Case& c : cases) {
        auto fields = std::make_shared<TransWindow::Fields>();
        auto dialog = NewTransDialog(fields);
        for (unsigned long key : c.keys)
            dialog->Key(key);
        EXPECT_EQ(fields->input, c.input);
    }
}

TEST(TransDialogKeys, QuitEndsTheDialog) {
    auto fields = std::make_shared<TransWindow::Fields>();
    auto dialog = NewTransDialog(fields);
    EXPECT_FALSE(dialog->Ended());
    dialog->Click(0, 0); // outside the buttons
    EXPECT_FALSE(dialog->Ended());
    int width = 0, height = 0;
    dialog->Size(&width, &height);
    dialog->Click(width - 20, height - 20); // the Quit button, bottom right
    EXPECT_TRUE(dialog->Ended());
}
} // namespace
