// The connection's end of a network session: an Input and Output over a connected TCP
// socket. Read receives what the peer sent (one receive of at most 8192 bytes, with
// the engine's lock let go while it waits); Write sends all of a text. A line longer
// than a terminal line (8191 characters) ends the input with a message, so a client
// cannot grow the engine's buffers. A peer that stops reading cannot hold a writer
// for ever: a send that cannot go on for a while ends the connection.
//
// Only handles that the service accepted and no Socket has taken yet can become a
// Socket, so a script cannot wrap (and on destruction close) any other descriptor of
// the process, nor take one connection twice.
#pragma once
#include "core/TextChannel.h"

class Socket : public TextChannel {
  public:
    enum : int { kBuffer = 8192, kMaxLine = 8191 };

    explicit Socket(int handle) : handle_(handle) {}
    // Ends the connection gracefully: what was sent still arrives.
    ~Socket() override { Close(); }
    // Ends the connection now, whoever still holds the object; later reads find the
    // input ended and writes go nowhere.
    void Close();

    const char* Read(int* length, int* kind) override;
    const char* Current(int* length, int* kind) override;
    void Rewind() override {}

    using Output::Write;
    void Write(const char* text, int count) override;

  private:
    // Counts line lengths across chunks; false when a line is too long.
    bool LinesFit(const char* bytes, int count);

    int handle_;
    char buffer_[kBuffer + 1] = {0};
    int received_ = 0;
    int line_ = 0; // characters of the unfinished line so far
    bool ended_ = false;
};

// The accepted handles waiting for their Socket.
void OfferHandle(int handle);
// Takes a waiting handle; false when it is not one.
bool TakeHandle(int handle);
// Ends a connection: shuts its sending side, reads what the peer still had in flight
// (so the peer sees the answer and not a reset), and closes it.
void EndConnection(int handle);
