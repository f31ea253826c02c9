// The network service; see Service.h. The service object and its threads share one
// state, so the object can be dropped while its threads still run: dropping it wakes
// the listening thread through a pipe, and that thread closes the listening socket.
// A connection's thread takes the engine's lock for its script and lets go of it
// only while it waits for the client (in Socket::Read).
#include "core/Service.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Exceptions.h"
#include "core/Arguments.h"
#include "core/EngineLock.h"
#include "core/NetworkSession.h"
#include "core/Report.h"
#include "core/Root.h"
#include "core/Socket.h"

namespace {
std::atomic<int> g_threads{0};

// Counts a service thread from its start to its end.
struct ThreadCount {
    ~ThreadCount() { --g_threads; }
};

struct State {
    int listener = -1;
    int stop[2] = {-1, -1}; // written when the service is dropped
    std::string terminal;
    std::string key; // empty: no key is asked for
    std::atomic<int> connections{0};

    ~State() {
        for (int fd : {listener, stop[0], stop[1]})
            if (fd >= 0) close(fd);
    }
};

// Reads the first line of a connection (at most 128 bytes, for at most 10 s) and
// compares it with the key in constant time.
bool KeyAccepted(int handle, const std::string& key) {
    std::string line;
    char c;
    while (line.size() < 128) {
        pollfd ready{handle, POLLIN, 0};
        if (poll(&ready, 1, 10000) <= 0 || recv(handle, &c, 1, 0) != 1) return false;
        if (c == '\n') break;
        if (c != '\r') line += c;
    }
    if (line.size() != key.size()) return false;
    unsigned char differ = 0;
    for (size_t i = 0; i < key.size(); ++i)
        differ |= static_cast<unsigned char>(line[i] ^ key[i]);
    return differ == 0;
}

void Say(int handle, const char* text) {
    send(handle, text, std::strlen(text), MSG_NOSIGNAL);
}

void Dispose(Interface* value) {
    if (!value) return;
    value->AddRef();
    value->Release();
}

// Runs the session's script with the connection's folder as the thread's context.
void RunSession(int handle, const std::string& terminal) {
    FolderBase* proc = nullptr;
    {
        Interface* found = RootFolder()->Find("proc", 4);
        proc = dynamic_cast<FolderBase*>(found);
    }
    std::string name = "p" + std::to_string(handle);
    auto* folder = new FolderBase(proc);
    folder->AddRef(); // ours, so a script dropping proc's entry cannot free it under us
    proc->Set(name.c_str(), static_cast<int>(name.size()), folder, 0);
    // The session's socket is also held here, so the connection ends with the session
    // even when the session's objects hold each other and are never freed.
    auto* port = new Socket(handle);
    port->AddRef();
    folder->Set("port", 4, port, 0);
    SetThreadContext(folder);
    std::string script =
        "proc." + name + "{term=new " + terminal + "(port);export out=term;term();}";
    try {
        Dispose(RootFolder()->Run(script.c_str(), RootFolder()));
    } catch (Exception* e) {
        report("Exception %d", e->code);
        delete e;
    } catch (...) {
        report("Exception %d", -1);
    }
    SetThreadContext(nullptr);
    NameList::Node* node = proc->PlainMembers().Lookup(name.c_str(), static_cast<int>(name.size()));
    if (node && node->object == folder)
        proc->Set(name.c_str(), static_cast<int>(name.size()), nullptr, 0);
    folder->Dismantle();
    folder->Release();
    port->Close();
    port->Release();
}

void Connection(std::shared_ptr<State> state, int handle, std::string address) {
    ThreadCount counted;
    // The thread takes its connection first and ends it once, through the session's
    // socket or below. Once closed, the handle's number is free for the next client
    // the listening thread accepts, so nothing here may look the number up again.
    if (!TakeHandle(handle)) {
        // A script's Socket took the connection first, and ends it.
        --state->connections;
        return;
    }
    {
        EngineGuard guard;
        report("Service: Connection request from %s", address.c_str());
    }
    if (state->key.empty() || KeyAccepted(handle, state->key)) {
        NetworkSessionScope session;
        EngineGuard guard;
        RunSession(handle, state->terminal);
    } else {
        Say(handle, "Service: Key refused\r\n");
        EndConnection(handle);
    }
    --state->connections;
}

void Listen(std::shared_ptr<State> state) {
    ThreadCount counted;
    for (;;) {
        pollfd ready[2] = {{state->listener, POLLIN, 0}, {state->stop[0], POLLIN, 0}};
        if (poll(ready, 2, -1) < 0 && errno != EINTR) return;
        if (ready[1].revents) return;
        if (!ready[0].revents) continue;
        sockaddr_in peer{};
        socklen_t size = sizeof peer;
        int handle =
            accept4(state->listener, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_CLOEXEC);
        if (handle < 0) {
            // Out of descriptors: give the running sessions a moment to end.
            if (errno == EMFILE || errno == ENFILE)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            continue;
        }
        if (state->connections >= kMaxConnections) {
            Say(handle, "Service: Too many connections\r\n");
            EndConnection(handle);
            continue;
        }
        // A peer that stops reading cannot hold a session's writes for ever.
        timeval limit{10, 0};
        setsockopt(handle, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        // An answer and the prompt after it are two small sends: without this the
        // prompt waits for the peer's delayed acknowledgement of the answer (40 ms).
        int on = 1;
        setsockopt(handle, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        // The listening thread never waits for the engine's lock (the connection's
        // thread reports the request), so a burst of clients is accepted at once.
        char address[INET_ADDRSTRLEN] = "?";
        inet_ntop(AF_INET, &peer.sin_addr, address, sizeof address);
        OfferHandle(handle);
        ++state->connections;
        ++g_threads;
        std::thread(Connection, state, handle, std::string(address)).detach();
    }
}

// 32 random bytes as hexadecimal digits.
bool MakeKey(std::string* key) {
    unsigned char bytes[32];
    if (getrandom(bytes, sizeof bytes, 0) != sizeof bytes) return false;
    static const char kHex[] = "0123456789abcdef";
    for (unsigned char b : bytes)
        *key += kHex[b >> 4], *key += kHex[b & 15];
    return true;
}

// Writes the key to a file that only this user can read; gives its path, or "".
std::string WriteKey(int port, const std::string& key) {
    const char* folder = std::getenv("TALVIK_KEY_DIR");
    if (!folder || !*folder) folder = std::getenv("XDG_RUNTIME_DIR");
    if (!folder || !*folder) folder = std::getenv("HOME");
    if (!folder || !*folder) return "";
    std::string path = std::string(folder) + "/talvik-service-" + std::to_string(port) + ".key";
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return "";
    std::string line = key + "\n";
    bool ok = fchmod(fd, 0600) == 0 &&
              write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    ok = close(fd) == 0 && ok;
    return ok ? path : "";
}

bool IsClassName(const std::string& name) {
    if (name.empty() || name.size() > 31 || std::isdigit(static_cast<unsigned char>(name[0])))
        return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

class Service : public virtual Interface {
  public:
    explicit Service(std::shared_ptr<State> state) : state_(std::move(state)) {}
    ~Service() override {
        if (state_->stop[1] >= 0) {
            char wake = 1;
            (void)!write(state_->stop[1], &wake, 1);
        }
    }

  private:
    std::shared_ptr<State> state_;
};

// Binds and listens, with room in the queue for as many clients at once as may be
// connected; false after reporting when it cannot.
bool Open(State& state, int port, in_addr address) {
    state.listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int on = 1;
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(static_cast<uint16_t>(port));
    at.sin_addr = address;
    if (state.listener < 0 ||
        setsockopt(state.listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        bind(state.listener, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
        listen(state.listener, kMaxConnections) != 0 || pipe2(state.stop, O_CLOEXEC) != 0) {
        report("Service cannot listen at port %d", port);
        return false;
    }
    return true;
}
} // namespace

int LiveServiceThreads() {
    return g_threads;
}

Interface* NewService(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 3);
    double number = 0;
    if (!args.GetNumber(0, &number) || !(std::trunc(number) >= 1 && std::trunc(number) <= 65535)) {
        report("Service: First parameter must be 'Number' Interface");
        return nullptr;
    }
    int port = static_cast<int>(std::trunc(number));
    auto state = std::make_shared<State>();
    state->terminal = "Terminal";
    if (args.Size() > 1 && args.At(1) != context && !args.GetText(1, &state->terminal)) {
        report("Service: Second parameter must be 'Input' Interface");
        return nullptr;
    }
    if (!IsClassName(state->terminal)) {
        report("Service: '%s' is no class name", state->terminal.c_str());
        return nullptr;
    }
    std::string named = "127.0.0.1";
    in_addr address{};
    if (args.Size() > 2 && args.At(2) != context && !args.GetText(2, &named)) named = "";
    if (inet_pton(AF_INET, named.c_str(), &address) != 1) {
        report("Service: Third parameter must be an IPv4 address");
        return nullptr;
    }
    if (named != "127.0.0.1") {
        std::string path;
        if (!MakeKey(&state->key) || (path = WriteKey(port, state->key)).empty()) {
            report("Service: Cannot write the key for port %d", port);
            return nullptr;
        }
        report("Service: Key for port %d in %s", port, path.c_str());
    }
    auto* service = new Service(state);
    if (!Open(*state, port, address)) return service;
    ++g_threads;
    std::thread(Listen, state).detach();
    return service;
}
