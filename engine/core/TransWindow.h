// TransWindow: a terminal dialog. Its member "put" is an Output that replaces the
// text of the dialog's output field; "get" is an Input whose Read waits until OK or
// Quit is pressed and then takes (and clears) the input field's text, and get() runs
// what the user sends as script statements until a closing bracket at the outermost
// level. The dialog is shown where the host asks for engine windows on a display
// (TransDialog.h); Press stands for its buttons (tests, hosts without a display).
// OK and Quit pulse one process-wide event: a press wakes the reads already waiting
// in every TransWindow, and a press while nobody waits is lost.
#pragma once
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "core/FolderBase.h"

class TransWindow : public FolderBase {
  public:
    // The input field's text is cut to this many characters when it is taken.
    static constexpr int kMaxText = 1024;

    // What the object, its members and its dialog on the screen share.
    struct Fields {
        mutable std::mutex mutex; // guards the texts and quitted
        std::string input, output;
        bool quitted = false;
        std::atomic<int> screenId{0}; // the dialog on the screen, 0 when not shown
    };

    TransWindow();
    ~TransWindow() override;

    // "p", "pu", "put" give the output member, "g", "ge", "get" the input member.
    Interface* Find(const char* name, int length) override;

    // The user typed text into the input field and pressed OK (or Quit).
    void Press(const std::string& typed, bool quit);
    std::string OutputField() const;
    std::string InputField() const;
    bool Quitted() const;
    // Reads of any TransWindow now waiting for a press.
    static int Waiting();
    // Wakes the reads waiting now, as OK and Quit do.
    static void Pulse();

  private:
    std::shared_ptr<Fields> fields_;
    Interface* put_;
    Interface* get_;
};
