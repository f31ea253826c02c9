// Service(port, [terminal class], [address]): the engine served over TCP. Each accepted
// connection gets a thread and a folder "p<handle>" under "proc", where a terminal of
// the chosen class (Terminal by default, or HTTPTerminal) runs the lines the client
// sends and writes the answers back. The folder and the thread go when the client
// leaves.
//
// Safe by default: the service listens on 127.0.0.1 unless the script names another
// IPv4 address. Then it writes a fresh key to a file only its user can read
// (talvik-service-<port>.key in $TALVIK_KEY_DIR, else $XDG_RUNTIME_DIR, else $HOME),
// and a connection must send that key as its first line or is closed. Sessions run
// as network sessions (their paths stay in the working folder; no typing into
// windows), under the engine's lock like the console's statements, with bounded lines
// and at most kMaxConnections connections at once; beyond the bound a client is told
// so and closed. Dropping the service stops its listening; running sessions go on.
#pragma once

enum : int { kMaxConnections = 64 };

// The service threads (listening and connections) now running: zero once every
// service is dropped and every client has left.
int LiveServiceThreads();
