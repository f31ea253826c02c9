// The window thread; see WinSys.h. Calls queue jobs on a channel that the worker
// shares with the object (it outlives a dropped WinSys). Each job holds its own
// references to the script's Input and to the context and has its own done flag,
// so a caller that stopped waiting cannot see another job's result, and a result
// that comes too late is disposed of by the worker. The worker runs each job under
// the engine lock, which the waiting caller has let go of; a call made by a script
// already running on the worker runs at once, since queueing it would only wait
// for itself.
#include "core/WinSys.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "Exceptions.h"
#include "Input.h"
#include "core/EngineLock.h"
#include "core/Expander.h"
#include "core/Lexer.h"
#include "core/NetworkSession.h"
#include "core/Report.h"

struct WinSys::Job {
    Input* input;
    Interface* context;
    bool session = false; // queued by a network session, and run as one
    Interface* result = nullptr;
    bool done = false;      // the worker finished and result holds the value
    bool abandoned = false; // the caller stopped waiting
};

struct WinSys::Channel {
    std::mutex mutex;
    std::condition_variable wake; // a job was queued, or the channel closed
    std::condition_variable done; // a job finished
    std::deque<std::shared_ptr<Job>> jobs;
    std::thread::id worker;
    bool closed = false;
};

namespace {
constexpr std::chrono::milliseconds kWait{1000};

void Dispose(Interface* value) {
    if (!value) return;
    value->AddRef();
    value->Release();
}

// The input is rewound so that a stored text or file runs whole each time it is passed.
Interface* RunScript(Input* input, Interface* context) {
    input->Rewind();
    Expander expander(input);
    Lexer lexer(&expander);
    return context->Call(&lexer, context);
}

// An engine exception ends the job, never the thread.
Interface* RunGuarded(Input* input, Interface* context) {
    try {
        return RunScript(input, context);
    } catch (Exception* e) {
        report("Exception %d", e->code);
        delete e;
    } catch (...) {
        report("Exception %d", -1);
    }
    return nullptr;
}

void Finish(WinSys::Channel& channel, WinSys::Job& job) {
    NetworkSessionScope session(job.session);
    EngineGuard guard;
    Interface* result = RunGuarded(job.input, job.context);
    bool late;
    {
        std::lock_guard<std::mutex> lock(channel.mutex);
        late = job.abandoned;
        if (!late) {
            job.result = result;
            job.done = true;
        }
    }
    if (late && result != job.context) Dispose(result);
    job.input->Release();
    job.context->Release();
    channel.done.notify_all();
}
} // namespace

WinSys::WinSys() : channel_(std::make_shared<Channel>()) {
    std::thread worker(Serve, channel_);
    std::lock_guard<std::mutex> lock(channel_->mutex);
    channel_->worker = worker.get_id();
    worker.detach();
}

// Jobs not started yet are dropped (their callers time out); the worker ends when it
// next looks at the channel.
WinSys::~WinSys() {
    std::deque<std::shared_ptr<Job>> pending;
    {
        std::lock_guard<std::mutex> lock(channel_->mutex);
        channel_->closed = true;
        pending.swap(channel_->jobs);
    }
    channel_->wake.notify_all();
    for (const std::shared_ptr<Job>& job : pending) {
        job->input->Release();
        job->context->Release();
    }
}

void WinSys::Serve(std::shared_ptr<Channel> channel) {
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock<std::mutex> lock(channel->mutex);
            // The events of the engine's display windows will be pumped here: the wait
            // then also ends when a window has an event to deliver.
            channel->wake.wait(lock, [&] { return channel->closed || !channel->jobs.empty(); });
            if (channel->closed) return;
            job = std::move(channel->jobs.front());
            channel->jobs.pop_front();
        }
        Finish(*channel, *job);
    }
}

Interface* WinSys::Call(Input* lexer, Interface* context) {
    if (!lexer) return nullptr;
    int level = lexer->Depth();
    Interface* argument = context->Interpret(lexer, context);
    lexer->SkipBlock(level);
    auto* input = QueryInterface<Input>(argument, "Input");
    if (!input) {
        if (argument != context) Dispose(argument);
        return nullptr;
    }
    // This object may go while the caller waits; the channel stays.
    std::shared_ptr<Channel> channel = channel_;
    bool onWorker;
    {
        std::lock_guard<std::mutex> lock(channel->mutex);
        onWorker = channel->worker == std::this_thread::get_id();
    }
    if (onWorker) {
        Interface* result;
        try {
            result = RunScript(input, context);
        } catch (...) {
            input->Release();
            throw;
        }
        input->Release();
        return result;
    }

    context->AddRef();
    auto job = std::make_shared<Job>();
    job->input = input;
    job->context = context;
    job->session = InNetworkSession();
    {
        std::lock_guard<std::mutex> lock(channel->mutex);
        channel->jobs.push_back(job);
    }
    channel->wake.notify_one();
    bool done;
    {
        EngineUnlocked unlocked;
        std::unique_lock<std::mutex> lock(channel->mutex);
        done = channel->done.wait_for(lock, kWait, [&] { return job->done; });
        if (!done) job->abandoned = true;
    }
    return done ? job->result : context;
}

Interface* NewWinSys(Input*, Interface*) {
    return new WinSys;
}
