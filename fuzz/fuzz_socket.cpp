// Sends arbitrary bytes to the engine's TCP service, as a client on the loopback
// address would: connect, send everything, end the sending side, read every answer
// until the service closes. The first byte picks the service: a console-style
// Terminal, an HTTPTerminal, or one bound to 127.0.0.2 (a named address, so a key is
// asked for) with the right key sent first or the input as it is. After each input
// the connection's thread must end and its folder in "proc" must go.
//
// Network sessions reach files only inside the working folder, a temporary one made
// here. Classes that would wait for the console, sleep or open more listening sockets
// are taken away first.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ClassObjects.h"
#include "core/EngineLock.h"
#include "core/FolderBase.h"
#include "core/Root.h"
#include "core/Service.h"

namespace {
enum Kind { kTerminal, kHttp, kKeyed, kKeyRaw, kKinds };

struct Target {
    const char* address;
    int port;
};
Target g_targets[3];
std::string g_key;
int g_baseline = 0; // service threads between inputs: the listening ones

int FreePort(const char* address) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    inet_pton(AF_INET, address, &at.sin_addr);
    if (bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) std::abort();
    socklen_t size = sizeof at;
    getsockname(fd, reinterpret_cast<sockaddr*>(&at), &size);
    close(fd);
    return ntohs(at.sin_port);
}

void Serve(int index, const char* terminal, const char* address) {
    g_targets[index] = {address, FreePort(address)};
    std::string script = "svc" + std::to_string(index) + " = new Service(" +
                         std::to_string(g_targets[index].port) + ", \"" + terminal + "\", \"" +
                         address + "\")";
    EngineGuard guard;
    RootFolder()->Run(script.c_str(), RootFolder());
}

// Sends the bytes and reads until the service closes; the two interleaved, so neither
// side's buffers can fill up and stall the other.
void Exchange(const Target& target, const std::string& bytes) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(static_cast<uint16_t>(target.port));
    inet_pton(AF_INET, target.address, &at.sin_addr);
    if (connect(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) std::abort();
    size_t sent = 0;
    if (bytes.empty()) shutdown(fd, SHUT_WR);
    for (;;) {
        pollfd ready{fd, static_cast<short>(POLLIN | (sent < bytes.size() ? POLLOUT : 0)), 0};
        // The service answers or closes well within a minute; otherwise it hangs.
        if (poll(&ready, 1, 60000) <= 0) std::abort();
        if (ready.revents & POLLOUT) {
            ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            sent = n > 0 ? sent + static_cast<size_t>(n) : bytes.size();
            if (sent == bytes.size()) shutdown(fd, SHUT_WR);
        }
        if (ready.revents & (POLLIN | POLLHUP | POLLERR)) {
            char answer[65536];
            if (recv(fd, answer, sizeof answer, 0) <= 0) break;
        }
    }
    close(fd);
}

// Waits until the connection's thread has ended and "proc" is empty again.
void Settle() {
    for (int i = 0; i < 60000; ++i) {
        if (LiveServiceThreads() == g_baseline) {
            EngineGuard guard;
            auto* proc = dynamic_cast<FolderBase*>(RootFolder()->Find("proc", 4));
            if (proc && proc->PlainMembers().Nodes().empty()) return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::abort(); // a thread or a folder left behind
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    KeepClassObjectsReachable();
    char folder[] = "/tmp/talvik-fuzz-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    setenv("TALVIK_KEY_DIR", folder, 1);
    for (const char* name : {"Console", "ActiveWindow", "Wait", "WinSys", "Service"}) {
        int length = static_cast<int>(strlen(name));
        if (name == std::string("Service")) {
            Serve(0, "Terminal", "127.0.0.1");
            Serve(1, "HTTPTerminal", "127.0.0.1");
            Serve(2, "Terminal", "127.0.0.2");
        }
        ClassFolder()->Set(name, length, nullptr, 0);
    }
    std::ifstream key(std::string(folder) + "/talvik-service-" + std::to_string(g_targets[2].port) +
                      ".key");
    if (!std::getline(key, g_key)) std::abort();
    g_baseline = LiveServiceThreads();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    auto kind = static_cast<Kind>(data[0] % kKinds);
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (kind == kKeyed) bytes = g_key + "\r\n" + bytes;
    Exchange(g_targets[kind == kKeyRaw ? kKeyed : kind], bytes);
    Settle();
    return 0;
}
