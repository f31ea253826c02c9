// The network session's socket; see Socket.h.
#include "core/Socket.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <mutex>
#include <set>

#include "core/Arguments.h"
#include "core/EngineLock.h"
#include "core/Report.h"

namespace {
std::mutex g_mutex;
std::set<int>& Waiting() {
    static auto* handles = new std::set<int>;
    return *handles;
}
} // namespace

void OfferHandle(int handle) {
    std::lock_guard<std::mutex> lock(g_mutex);
    Waiting().insert(handle);
}

bool TakeHandle(int handle) {
    std::lock_guard<std::mutex> lock(g_mutex);
    return Waiting().erase(handle) == 1;
}

void EndConnection(int handle) {
    shutdown(handle, SHUT_WR);
    char drain[4096];
    pollfd ready{handle, POLLIN, 0};
    for (int i = 0; i < 16 && poll(&ready, 1, 0) > 0; ++i)
        if (recv(handle, drain, sizeof drain, MSG_DONTWAIT) <= 0) break;
    close(handle);
}

void Socket::Close() {
    if (handle_ < 0) return;
    EndConnection(handle_);
    handle_ = -1;
    ended_ = true;
}

const char* Socket::Read(int* length, int* kind) {
    if (ended_) return nullptr;
    ssize_t n;
    {
        EngineUnlocked unlocked;
        do
            n = recv(handle_, buffer_, kBuffer, 0);
        while (n < 0 && errno == EINTR);
    }
    if (n <= 0 || !LinesFit(buffer_, static_cast<int>(n))) {
        ended_ = true;
        received_ = 0;
        return nullptr;
    }
    received_ = static_cast<int>(n);
    buffer_[received_] = 0;
    *length = received_;
    *kind = kKindText;
    return buffer_;
}

const char* Socket::Current(int* length, int* kind) {
    if (received_ == 0) return nullptr;
    *length = received_;
    *kind = kKindText;
    return buffer_;
}

bool Socket::LinesFit(const char* bytes, int count) {
    for (int i = 0; i < count; ++i) {
        line_ = bytes[i] == '\n' ? 0 : line_ + 1;
        if (line_ <= kMaxLine) continue;
        Write("Socket: Line longer than 8191 characters, connection closed\r\n");
        return false;
    }
    return true;
}

void Socket::Write(const char* text, int count) {
    while (count > 0 && !ended_) {
        ssize_t sent = send(handle_, text, count, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) {
            // The peer left, or stopped reading: the session ends at its next read.
            ended_ = true;
            shutdown(handle_, SHUT_RDWR);
            return;
        }
        text += sent;
        count -= static_cast<int>(sent);
    }
}

// Socket(handle): the accepted connection with that handle.
Interface* NewSocket(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 1);
    double handle = 0;
    if (!args.GetNumber(0, &handle) || !(std::fabs(handle) < 1e9) ||
        !TakeHandle(static_cast<int>(handle))) {
        report("Socket: First parameter must be 'Number' Interface");
        return nullptr;
    }
    return new Socket(static_cast<int>(handle));
}
