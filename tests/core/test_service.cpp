// The network service over real sockets on the loopback address: sessions in folders of
// their own, clients that leave without a word or in the middle of a line, the HTTP
// terminal answering a curl-style request, and the attacks a safe service refuses.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <thread>

#include "core/EngineLock.h"
#include "core/NetworkSession.h"
#include "core/Service.h"
#include "support/EngineTest.h"

namespace {
// A port that nothing listens on right now.
int FreePort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at);
    socklen_t size = sizeof at;
    getsockname(fd, reinterpret_cast<sockaddr*>(&at), &size);
    close(fd);
    return ntohs(at.sin_port);
}

class Client {
  public:
    explicit Client(int port, const char* address = "127.0.0.1") {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, address, &at.sin_addr);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
    }
    ~Client() { Close(); }
    bool Connected() const { return connected_; }
    void Send(const std::string& text) {
        size_t at = 0;
        while (at < text.size()) {
            ssize_t n = send(fd_, text.data() + at, text.size() - at, MSG_NOSIGNAL);
            if (n <= 0) return;
            at += static_cast<size_t>(n);
        }
    }
    // Everything received until the text shows up, the peer closes, or 20 s pass (a
    // guard against hanging, not a measure).
    std::string Until(const std::string& wanted) {
        for (;;) {
            if (!wanted.empty() && received_.find(wanted) != std::string::npos) break;
            pollfd ready{fd_, POLLIN, 0};
            if (poll(&ready, 1, 20000) <= 0) break;
            char buffer[4096];
            ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
            closed_ = n == 0;
            if (n <= 0) break;
            received_.append(buffer, static_cast<size_t>(n));
        }
        return received_;
    }
    // Everything until the peer closes.
    std::string All() { return Until(""); }
    // Whether the peer closed the connection (as the last read found).
    bool ClosedByPeer() const { return closed_; }
    void EndSending() { shutdown(fd_, SHUT_WR); }
    void Close() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

  private:
    int fd_ = -1;
    bool connected_ = false;
    bool closed_ = false;
    std::string received_;
};

class ServiceTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        threads_ = LiveServiceThreads();
        port = FreePort();
    }
    void TearDown() override {
        Locked("svc = 0");
        listening_ = 0;
        EXPECT_TRUE(Settled()) << "service threads or connection folders left behind";
        EngineTest::TearDown();
    }
    std::string Locked(const std::string& script) {
        EngineGuard guard;
        return Run(script);
    }
    void Serve(const std::string& arguments = "") {
        std::string said = Locked("svc = new Service(" + std::to_string(port) + arguments + ")");
        ASSERT_EQ(said.find("cannot listen"), std::string::npos) << said;
        listening_ = 1;
    }
    // The connection folders in "proc" now.
    std::string Proc() { return Locked("list proc"); }
    // Waits (up to 20 s, as a guard) until every connection is gone.
    bool Settled() {
        for (int i = 0; i < 2000; ++i) {
            if (LiveServiceThreads() == threads_ + listening_ &&
                Proc().find(" p") == std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    int port = 0;
    int threads_ = 0;
    int listening_ = 0; // the service's listening thread
};

TEST_F(ServiceTest, AnswersStatementsAndLeavesNothingWhenTheClientGoes) {
    Serve();
    Client client(port);
    ASSERT_TRUE(client.Connected());
    client.Send("x = 5\r\nlist x\r\n");
    EXPECT_NE(client.Until("5\r\n").find("> "), std::string::npos);
    EXPECT_NE(Proc().find(" p"), std::string::npos);
    client.Close();
    EXPECT_TRUE(Settled());
}

TEST_F(ServiceTest, TwoClientsGetTheirOwnFoldersAndOutput) {
    Serve();
    Client a(port), b(port);
    a.Send("who = \"first\"\r\nlist who\r\n");
    b.Send("who = \"second\"\r\nlist who\r\n");
    EXPECT_NE(a.Until("first").find("first"), std::string::npos);
    EXPECT_NE(b.Until("second").find("second"), std::string::npos);
    std::string folders = Proc();
    EXPECT_EQ(std::count(folders.begin(), folders.end(), 'p') >= 2, true) << folders;
    a.Send("list port\r\nlist who\r\n");
    std::string seenByA = a.Until("first\r\n> ");
    EXPECT_EQ(seenByA.find("second"), std::string::npos);
    EXPECT_EQ(b.Until("second").find("first"), std::string::npos);
}

// Leaving without a word, in the middle of a line, or with a line longer than the
// socket's buffer: each leaves no folder and no thread.
TEST_F(ServiceTest, ClientsLeavingAnyWayLeaveNothingBehind) {
    Serve();
    struct Case {
        const char* name;
        std::string send;
        const char* told;
    } cases[] = {
        {"silent", "", nullptr},
        {"mid-line", "x = 1\r\nlist x", nullptr},
        {"over-long line", std::string(20000, 'a'), "Line longer than 8191"},
    };
    for (const Case& c : cases) {
        Client client(port);
        ASSERT_TRUE(client.Connected()) << c.name;
        client.Send(c.send);
        if (c.told) {
            EXPECT_NE(client.All().find(c.told), std::string::npos) << c.name;
        }
        client.Close();
        EXPECT_TRUE(Settled()) << c.name;
    }
    Client next(port);
    next.Send("list 7\r\n");
    EXPECT_NE(next.Until("7\r\n").find("7"), std::string::npos);
}

// A client that stops sending in the middle of a statement gets its connection closed:
// an unfinished "a = " stores the session's folder in itself, which must not keep the
// socket open.
TEST_F(ServiceTest, AClientEndingMidStatementIsClosed) {
    Serve();
    for (const char* send : {"a = ", "f = new Folder; f.p = port; f.f = f; a = ", "list ("}) {
        Client client(port);
        client.Send(send);
        client.EndSending();
        client.All();
        EXPECT_TRUE(client.ClosedByPeer()) << send;
        EXPECT_TRUE(Settled()) << send;
    }
}

TEST_F(ServiceTest, TheHttpTerminalAnswersACurlRequest) {
    WriteFile("hello", "list x;list y;");
    Serve(", \"HTTPTerminal\"");
    Client client(port);
    client.Send("GET /hello?x=1&y=two+words HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: "
                "curl/7.88.1\r\nAccept: */*\r\n\r\n");
    std::string answer = client.All();
    EXPECT_EQ(answer.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << answer;
    EXPECT_NE(answer.find("two words"), std::string::npos) << answer;
}

// What a session tries and is refused, after which the service serves the next client.
TEST_F(ServiceTest, AttacksAreRefused) {
    WriteFile("inside", "list \"inside ran\"");
    Serve();
    struct Case {
        const char* name;
        const char* script;
        const char* forbidden;
    } cases[] = {
        {"absolute file", "list root.mnt.'/etc/passwd'\r\n", "root:"},
        {"absolute run", "root.mnt.'/etc/passwd'()\r\n", "root:"},
        {"root folder", "list root.mnt.'/'\r\n", " etc"},
        {"dot dot", "list root.mnt.'../../../../../../etc/passwd'\r\n", "root:"},
        {"directory", "d = new Directory(\"/etc\");list d.passwd\r\n", "root:"},
        {"typing", "w = new ActiveWindow();list w\r\n", "ActiveWindow\r\n"},
        {"via sys", "root.sys(\"list root.mnt.'/etc/passwd'\")\r\n", "root:"},
    };
    for (const Case& c : cases) {
        Client client(port);
        client.Send(std::string(c.script) + "list \"done\"\r\n");
        std::string answer = client.Until("done\r\n");
        // What went to the engine's own log (a script run by "sys") counts too.
        std::string seen = answer + Locked("");
        EXPECT_EQ(seen.find(c.forbidden), std::string::npos) << c.name << ": " << seen;
        EXPECT_NE(answer.find("done"), std::string::npos) << c.name << ": " << answer;
    }
    // The working folder's own name shows in a listing of its parent.
    std::string here = folder_.substr(folder_.rfind('/') + 1);
    Client parent(port);
    parent.Send("list root.mnt.'..'\r\nlist \"done\"\r\n");
    EXPECT_EQ(parent.Until("done\r\n").find(here), std::string::npos);
    Client typing(port);
    typing.Send("new ActiveWindow()\r\nlist \"done\"\r\n");
    EXPECT_NE(typing.Until("done\r\n").find("Not available to network sessions"),
              std::string::npos);
    Client inside(port);
    inside.Send("root.mnt.inside()\r\n");
    std::string ran = inside.Until("inside ran");
    EXPECT_NE(ran.find("inside ran"), std::string::npos) << ran;
}

// Clients one after another, each leaving just as the next arrives: the next one is
// often accepted under the handle number the last one's session has just closed, and
// the last one's thread must not end it.
TEST_F(ServiceTest, ClientsOneAfterAnotherAreEachServed) {
    Serve();
    for (int i = 0; i < 200; ++i) {
        Client client(port);
        std::string wanted = std::to_string(i + 1000) + "\r\n";
        client.Send("list " + wanted);
        ASSERT_NE(client.Until(wanted).find(wanted), std::string::npos) << i;
    }
}

TEST_F(ServiceTest, AFloodBeyondTheLimitIsToldAndClosed) {
    Serve();
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < kMaxConnections; ++i) {
        clients.push_back(std::make_unique<Client>(port));
        clients.back()->Send("list 1\r\n");
        ASSERT_NE(clients.back()->Until("1\r\n").find("1"), std::string::npos) << i;
    }
    Client extra(port);
    EXPECT_NE(extra.All().find("Too many connections"), std::string::npos);
    clients.clear();
    ASSERT_TRUE(Settled());
    Client next(port);
    next.Send("list 2\r\n");
    EXPECT_NE(next.Until("2\r\n").find("2"), std::string::npos);
}

// While a script holds the engine, a burst of clients is still accepted (each gets its
// thread at once) rather than left to overflow the listening queue, and every one of
// them is answered when the engine is free.
TEST_F(ServiceTest, ABurstIsAcceptedWhileTheEngineIsBusy) {
    Serve();
    std::vector<std::unique_ptr<Client>> clients;
    {
        EngineGuard busy;
        for (int i = 0; i < kMaxConnections - 4; ++i)
            clients.push_back(std::make_unique<Client>(port));
        // Up to 20 s, as a guard: accepting takes no engine lock.
        for (int i = 0; i < 2000 && LiveServiceThreads() < threads_ + 1 + kMaxConnections - 4; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(LiveServiceThreads(), threads_ + 1 + kMaxConnections - 4);
    }
    for (size_t i = 0; i < clients.size(); ++i) {
        clients[i]->Send("list " + std::to_string(i + 100) + "\r\n");
        std::string wanted = std::to_string(i + 100) + "\r\n";
        EXPECT_NE(clients[i]->Until(wanted).find(wanted), std::string::npos) << i;
    }
}

// A named address asks for the key first; the key file is the user's alone.
TEST_F(ServiceTest, ANamedAddressAsksForTheKey) {
    char folder[] = "keys";
    setenv("TALVIK_KEY_DIR", folder, 1);
    mkdir(folder, 0700);
    Serve(", \"Terminal\", \"127.0.0.2\"");
    std::string path = std::string(folder) + "/talvik-service-" + std::to_string(port) + ".key";
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    std::string key = ReadFile(path);
    key.pop_back();
    struct Case {
        const char* name;
        std::string first;
        bool served;
    } cases[] = {{"no key", "list 1\r\n", false},
                 {"wrong key", std::string(64, '0') + "\r\nlist 1\r\n", false},
                 {"right key", key + "\r\nlist 1\r\n", true}};
    for (const Case& c : cases) {
        Client client(port, "127.0.0.2");
        ASSERT_TRUE(client.Connected()) << c.name;
        client.Send(c.first);
        std::string answer = client.Until("1\r\n");
        EXPECT_EQ(answer.find("Key refused") == std::string::npos, c.served) << c.name;
        EXPECT_EQ(answer.find("1\r\n") != std::string::npos, c.served) << c.name;
    }
    Client loopback(port);
    EXPECT_FALSE(loopback.Connected());
    unsetenv("TALVIK_KEY_DIR");
}

TEST_F(ServiceTest, FactoryRefusesWhatItCannotServe) {
    struct Case {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"\"x\"", "Service: First parameter must be 'Number' Interface"},
        {"70000", "Service: First parameter must be 'Number' Interface"},
        {"1234, \"Terminal(port);x\"", "is no class name"},
        {"1234, \"Terminal\", \"anywhere\"", "Third parameter must be an IPv4 address"},
        {"new Socket(0)", "Socket: First parameter must be 'Number' Interface"},
    };
    for (const Case& c : cases)
        EXPECT_NE(Locked(std::string("bad = new Service(") + c.arguments + ")").find(c.message),
                  std::string::npos)
            << c.arguments;
    EXPECT_NE(Locked("s = new Socket(1)").find("Socket: First parameter"), std::string::npos);
}

TEST(NetworkSessionPaths, LeavingTheWorkingFolder) {
    struct Case {
        const char* path;
        bool leaves;
    } cases[] = {{"data\\hello", false}, {"a/b", false}, {"/etc/passwd", true},
                 {"\\etc", true},        {"..", true},   {"data\\..\\..\\x", true},
                 {"a..b", false},        {"~/x", true},  {"", false}};
    for (const Case& c : cases)
        EXPECT_EQ(PathLeavesWorkingFolder(c.path), c.leaves) << c.path;
}
} // namespace
