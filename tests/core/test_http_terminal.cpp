// The one-request web terminal: request parsing and URL decoding, which script a
// request may run, the parameters it stores, and the forms of the response.
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/HTTPTerminal.h"
#include "core/StringInput.h"
#include "support/EngineTest.h"
#include "support/FakeConnection.h"

namespace {
struct DecodeCase {
    std::string text, decoded;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.text;
}

class UrlDecodeTable : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(UrlDecodeTable, Decodes) {
    EXPECT_EQ(UrlDecode(GetParam().text), GetParam().decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UrlDecodeTable,
    ::testing::Values(DecodeCase{"two+words", "two words"}, DecodeCase{"%41", "A"},
                      DecodeCase{"%4a%4A", "JJ"}, DecodeCase{"%f5", "\xF5"},
                      DecodeCase{"%zz", std::string(1, '\0')}, DecodeCase{"%z1", "\x01"},
                      DecodeCase{"a%", "a%"}, DecodeCase{"%", "%"}, DecodeCase{"%4", "%4"},
                      DecodeCase{"x%4", "x%4"},
                      DecodeCase{"%%41", "\x04"
                                         "1"},
                      DecodeCase{"%2B+", "+ "}, DecodeCase{"plain", "plain"}, DecodeCase{"", ""}));

// Stands for a script of the working folder: counts its calls.
class Probe : public Interface {
  public:
    Interface* Call(Input* lexer, Interface*) override {
        if (lexer) lexer->SkipBlock(lexer->Depth());
        ++calls;
        return this;
    }
    int AddRef() override { return 0; }
    int Release() override { return 0; }
    int calls = 0;
};

// Stands for "mnt": every name asked for is recorded and answered by the probe.
class ScriptFolder : public FolderBase {
  public:
    Interface* Find(const char* name, int length) override {
        asked.emplace_back(name, length);
        return &probe;
    }
    std::vector<std::string> asked;
    Probe probe;
};

// The root's "mnt" is the recording folder for the test; the real one comes back after.
class HttpTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        saved_ = RootFolder()->Find("mnt", 3);
        if (saved_) saved_->AddRef();
        scripts_ = new ScriptFolder;
        RootFolder()->Set("mnt", 3, scripts_, 0);
        context_ = new FolderBase(RootFolder());
        context_->AddRef();
    }
    void TearDown() override {
        context_->Release();
        RootFolder()->Set("mnt", 3, saved_, 0);
        if (saved_) saved_->Release();
        EngineTest::TearDown();
    }
    // Serves one request line; returns what the connection received after the status line.
    std::string Serve(const std::string& line, bool* gaveItself = nullptr) {
        auto* connection = new FakeConnection({line + "\r\n", "Host: here\r\n", "\r\n"});
        connection->AddRef();
        auto* http = new HTTPTerminal(connection, connection);
        http->AddRef();
        Interface* value = http->Call(nullptr, context_);
        if (gaveItself) *gaveItself = value == http;
        http->Release();
        std::string written = connection->Written();
        connection->Release();
        EXPECT_EQ(written.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
        return written.substr(std::strlen("HTTP/1.1 200 OK\r\n"));
    }
    // The context's members as name=text, in name order.
    std::map<std::string, std::string> Parameters() {
        std::map<std::string, std::string> found;
        NameIterator* members = context_->Members(0);
        const char* name = nullptr;
        while (Interface* member = members->Next(&name)) {
            auto* text = dynamic_cast<StringInput*>(member);
            found[name] = text ? text->Text() : "?";
        }
        delete members;
        return found;
    }

    Interface* saved_ = nullptr;
    ScriptFolder* scripts_ = nullptr;
    FolderBase* context_ = nullptr;
};

struct RequestCase {
    const char* name;
    std::string line;
    std::string script; // "" when nothing may run
    std::map<std::string, std::string> parameters;
};

void PrintTo(const RequestCase& c, std::ostream* os) {
    *os << c.name;
}

class HttpRequestTable : public HttpTest, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(HttpRequestTable, RunsOnlyPlainScriptNames) {
    const RequestCase& c = GetParam();
    Serve(c.line);
    if (c.script.empty()) {
        EXPECT_TRUE(scripts_->asked.empty()) << scripts_->asked[0];
        EXPECT_EQ(scripts_->probe.calls, 0);
    } else {
        EXPECT_EQ(scripts_->asked, std::vector<std::string>{c.script});
        EXPECT_EQ(scripts_->probe.calls, 1);
    }
    EXPECT_EQ(Parameters(), c.parameters);
}

using Params = std::map<std::string, std::string>;

INSTANTIATE_TEST_SUITE_P(
    Requests, HttpRequestTable,
    ::testing::Values(
        RequestCase{"PathAndQuery", "GET /a/b/hello?x=1&y=two+words HTTP/1.0", "hello",
                    Params{{"x", "1"}, {"y", "two words"}}},
        RequestCase{"NoQuery", "GET /hello HTTP/1.1", "hello", {}},
        RequestCase{"SlashInTheQuery", "GET /play?f=data/a.wav HTTP/1.1", "play",
                    Params{{"f", "data/a.wav"}}},
        RequestCase{"DecodedName", "GET /he%6Clo?a&&b= HTTP/1.1", "hello",
                    Params{{"a", ""}, {"b", ""}}},
        RequestCase{"EncodedParameterName", "GET /s?%78=%41 HTTP/1.1", "s", Params{{"x", "A"}}},
        RequestCase{"UnderscoreAndDigits", "GET /_ok9 HTTP/1.1", "_ok9", {}},
        RequestCase{"MethodIsIgnored", "POST /hello?k=v HTTP/1.1", "hello", Params{{"k", "v"}}},
        RequestCase{
            "StatementsInTheName", "GET /x%28%29%3Bmnt.f%28%22y%22%29?z=1 HTTP/1.1", "", {}},
        RequestCase{"Wildcard", "GET /* HTTP/1.1", "", {}},
        RequestCase{"RangeInTheName", "GET /a%5B1..99999%5D HTTP/1.1", "", {}},
        RequestCase{"PathWalk", "GET /..%2Fetc%2Fpasswd HTTP/1.1", "", {}},
        RequestCase{"BlankInTheName", "GET /a%20b HTTP/1.1", "", {}},
        RequestCase{"LeadingDigit", "GET /9lives HTTP/1.1", "", {}},
        RequestCase{"EmptyName", "GET /?x=1 HTTP/1.1", "", {}},
        RequestCase{"TooLong", "GET /" + std::string(300, 'a') + " HTTP/1.1", "", {}},
        RequestCase{"OneBlankOnly", "GET /hello", "", {}},
        RequestCase{"NoBlankAtAll", "garbage", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HttpTest, RequestNamingNoScriptAnswersEmptyAndGivesTheTerminal) {
    bool gaveItself = false;
    EXPECT_EQ(Serve("GET / HTTP/1.1", &gaveItself), "Content-Length: 0\r\n\r\n");
    EXPECT_TRUE(gaveItself);
}

TEST_F(HttpTest, ReadGivesTheRequestTargetWithAnAmpersand) {
    auto* connection = new FakeConnection({"GET /a?b=c HTTP/1.0\r\n", "x\r\n"});
    HTTPTerminal http(connection, connection);
    http.AddRef(); // a stack object: counting must never reach 0
    int length = 0, kind = 0;
    const char* target = http.Read(&length, &kind);
    ASSERT_TRUE(target);
    EXPECT_EQ(std::string(target, length), "/a?b=c&");
    EXPECT_EQ(kind, kKindText);
    target = http.Read(&length, &kind);
    EXPECT_EQ(std::string(target, length), "");
    EXPECT_FALSE(http.Read(&length, &kind));
}

struct ResponseCase {
    const char* name;
    std::function<void(Output*)> write;
    std::string sent; // after the status line
};

void PrintTo(const ResponseCase& c, std::ostream* os) {
    *os << c.name;
}

class HttpResponseTable : public ::testing::TestWithParam<ResponseCase> {};

TEST_P(HttpResponseTable, FollowsTheResponseState) {
    auto* connection = new FakeConnection({});
    connection->AddRef();
    {
        HTTPTerminal http(connection, connection);
        http.AddRef();
        GetParam().write(&http);
    }
    EXPECT_EQ(connection->Written(), "HTTP/1.1 200 OK\r\n" + GetParam().sent);
    connection->Release();
}

INSTANTIATE_TEST_SUITE_P(
    Writes, HttpResponseTable,
    ::testing::Values(
        ResponseCase{"TextAfterAnEmptyLine",
                     [](Output* o) {
                         o->WriteLine("one");
                         o->WriteLine("two");
                     },
                     "\r\none\r\ntwo\r\n"},
        ResponseCase{"BlockWithTypeAndLength",
                     [](Output* o) {
                         o->SetContentType("audio/x-wav");
                         o->Write("RIFF\0x", 6);
                     },
                     "Content-Type: audio/x-wav\r\nContent-Length: 6\r\n\r\n" +
                         std::string("RIFF\0x", 6)},
        ResponseCase{"WriteAfterWriteLineSendsNothing",
                     [](Output* o) {
                         o->WriteLine("text");
                         o->Write("data", 4);
                     },
                     "\r\ntext\r\n"},
        ResponseCase{"SecondBlockIsDropped",
                     [](Output* o) {
                         o->Write("ab", 2);
                         o->Write("cd", 2);
                     },
                     "Content-Length: 2\r\n\r\nab"},
        ResponseCase{"TypeAfterTheHeadersIsDropped",
                     [](Output* o) {
                         o->WriteLine("x");
                         o->SetContentType("text/plain");
                     },
                     "\r\nx\r\n"},
        ResponseCase{"WideMessageIsATextLine", [](Output* o) { o->WriteLineWide(L"\u0151k"); },
                     "\r\n\xF5k\r\n"},
        ResponseCase{"TextWriteGoesStraightThrough", [](Output* o) { o->Write("raw"); }, "raw"}),
    [](const auto& info) { return std::string(info.param.name); });

struct HttpFactoryCase {
    const char* name;
    const char* argument;
    const char* message; // "" when the terminal is made
};

void PrintTo(const HttpFactoryCase& c, std::ostream* os) {
    *os << c.name;
}

class HttpFactory : public EngineTest, public ::testing::WithParamInterface<HttpFactoryCase> {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        connection_ = new FakeConnection({});
        RootFolder()->Set("fake", 4, connection_, 0);
        RootFolder()->Set("outonly", 7, new FakeConnection({}, false, true), 0);
    }
    void TearDown() override {
        for (const char* name : {"h", "fake", "outonly"})
            RootFolder()->Set(name, static_cast<int>(std::strlen(name)), nullptr, 0);
        EngineTest::TearDown();
    }
    FakeConnection* connection_ = nullptr;
};

TEST_P(HttpFactory, ChecksItsArgument) {
    std::string messages = Run(std::string("h = new HTTPTerminal(") + GetParam().argument + ")");
    Interface* made = RootFolder()->Find("h", 1);
    if (*GetParam().message) {
        EXPECT_NE(messages.find(GetParam().message), std::string::npos) << messages;
        EXPECT_FALSE(made);
    } else {
        EXPECT_EQ(messages, "");
        EXPECT_TRUE(made);
        EXPECT_EQ(connection_->Written(), "HTTP/1.1 200 OK\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, HttpFactory,
    ::testing::Values(HttpFactoryCase{"InputAndOutput", "fake", ""},
                      HttpFactoryCase{"OutputOnly", "outonly",
                                      "HTTPTerminal: Parameter must implement 'Input' Interface\n"},
                      HttpFactoryCase{
                          "InputOnly", "\"text\"",
                          "HTTPTerminal: Parameter must implement 'Output' Interface\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// The whole way: a script file of the working folder answers the request.
TEST_F(EngineTest, HttpRequestRunsTheScriptFileOfTheWorkingFolder) {
    if (!RootFolder()->Find("mnt", 3)) GTEST_SKIP() << "root.mnt is not there yet";
    WriteFile("hello", "list x;list y;");
    auto* connection = new FakeConnection(
        {"GET /a/b/hello?x=1&y=two+words HTTP/1.0\r\n", "Host: here\r\n", "\r\n"});
    RootFolder()->Set("fake", 4, connection, 0);
    Run("conn = new Folder; conn { h = new HTTPTerminal(root.fake); out = h; h() }");
    EXPECT_EQ(connection->Written(), "HTTP/1.1 200 OK\r\n\r\n1\r\ntwo words\r\n");
    RootFolder()->Set("conn", 4, nullptr, 0);
    RootFolder()->Set("fake", 4, nullptr, 0);
}
} // namespace
