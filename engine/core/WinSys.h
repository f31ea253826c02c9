// The window thread "sys": a folder whose worker thread runs scripts handed to it
// with sys("text"). The caller waits up to a second for the result; a script that
// runs longer goes on alone and the caller gets its context back. The display
// windows that scripts open through sys will be served by this thread too.
#pragma once
#include <memory>

#include "core/FolderBase.h"

class WinSys : public FolderBase {
  public:
    // Starts the worker thread, which lives until the process ends or this object goes.
    WinSys();
    ~WinSys() override;

    // sys(text): runs text on the worker thread in the calling context.
    Interface* Call(Input* lexer, Interface* context) override;

    struct Job;
    struct Channel;

  private:
    static void Serve(std::shared_ptr<Channel> channel);

    // Shared with the worker, which may outlive this object.
    std::shared_ptr<Channel> channel_;
};
