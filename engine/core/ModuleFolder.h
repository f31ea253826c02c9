// ModuleFolder(): a folder of processing objects that runs them in dependency
// order. Scripts store modules into it, then call "build" once to fix the order
// and "start" for each pass:
//
//     mod = new ModuleFolder(); mod.src = new WavFileIn("a.wav");
//     mod.sp = new Spectrum(mod.src, ...);
//     mod.build(); mod.start();
//
// The folder is itself a module (one that does nothing), so folders can nest.
#pragma once
#include <memory>

#include "core/ModuleBase.h"

class ModuleFolder : public ModuleBase {
  public:
    ModuleFolder();
    ~ModuleFolder() override;

    // "build" and "start" (exactly those names) come before the members.
    Interface* Find(const char* name, int length) override;

    // Takes the modules among the members, oldest first, and gives each its run
    // list: its transitive consumers stored after it.
    void Build();
    // One pass over the modules of the last build; nothing before a build.
    void Start();

  private:
    class Operation;
    class Schedule;

    Operation* build_;
    Operation* start_;
    // Shared with a running pass, so a build or the folder's end during a pass
    // (a Wait lets other threads run scripts) does not pull it away.
    std::shared_ptr<Schedule> schedule_;
};
