// The autopilot: plays a script of user actions while the program runs, so that a test
// can drive the real program end to end by control names instead of pixel positions.
// When LEXORA_AUTOPILOT names a file, the main loop runs its commands one at a time
// between events; a "wait" lets the loop go on (timers, sound, the driver's ticks) until
// its time is up. Mouse and key actions become the same SDL events a user's would and go
// the same way through the window procedure.
//
// Commands, one a line; blank lines and lines starting with '#' are comments:
//   message N [W [L]]   send program message N with wParam W and lParam L
//   click NAME          click the control "group.name" of the active screen at its centre
//   drag NAME X Y       press on the control's centre, move to (X, Y), release there
//   drag NAME TARGET    the same, onto the centre of the control TARGET
//   type TEXT           type the text (UTF-8), character by character
//   key KEY             press and release a key by its SDL name ("F5", "Return")
//   wait MS             let the program run MS milliseconds
//   shot                a screenshot, as F11
//   dump                one line on standard output: the screen, driver state, child, lesson
//   quit                end the program, as F12
// A script that does not parse, or a control that the active screen lacks, is reported
// on standard error with its line number, and the program ends with exit code 2.
#pragma once
#include <string>
#include <vector>

#include "media/LxWin.h"

class CLxCGUI;

class CLxAutopilot {
  public:
    enum class Kind { Message, Click, Drag, Type, Key, Wait, Shot, Dump, State, Quit };
    struct Command {
        Kind kind;
        int line;
        std::string text;     // the control's name, the text to type or the key's name
        std::string target{}; // the control a drag ends on, when it names one
        long numbers[3] = {}; // message, wParam, lParam; drag's X, Y; wait's milliseconds
    };

    // Reads a whole script; false, with Error() naming the line, when it does not parse.
    bool Parse(const std::string& script);
    const std::vector<Command>& Commands() const { return m_commands; }

    // Runs the next command when its time has come. The milliseconds until the next one
    // is due, or -1 when the script has ended or failed (Failed, Error).
    int Poll(int nowMs);
    bool Failed() const { return !m_error.empty(); }
    const std::string& Error() const { return m_error; }

  private:
    bool Fail(int line, const std::string& what);
    bool ParseLine(int line, const std::string& text);
    bool Run(const Command& command, int nowMs);
    bool Click(const Command& command);
    bool Drag(const Command& command);
    // Prints a control's flags and, for a text, its text.
    bool State(const Command& command);

    std::vector<Command> m_commands;
    size_t m_nNext = 0;
    int m_nResumeAt = 0;
    bool m_bWaiting = false;
    std::string m_error;
};

// The centre of the active screen's control fullName on the drawing surface; false
// when the screen has no such control or the control has no place.
bool ControlCentre(const CLxCGUI* gui, const char* fullName, POINT* out);

// Reads the script LEXORA_AUTOPILOT names, if it names one. False, after saying why on
// standard error, when the script cannot be read or does not parse.
bool StartAutopilot();
// The main loop's turn: runs the autopilot's next command when it is due. The
// milliseconds until it wants the loop back, -1 without (or after) a script. A failed
// command closes the window with exit code 2.
int AutopilotPoll(int nowMs);
