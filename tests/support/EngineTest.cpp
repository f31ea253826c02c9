// The engine test fixture; see EngineTest.h.
#include "support/EngineTest.h"

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Number.h"

void* StringSink::GetInterface(const char* name) {
    if (std::strcmp(name, "Output")) return Interface::GetInterface(name);
    AddRef();
    return static_cast<Output*>(this);
}

std::string StringSink::Take() {
    std::string text;
    text.swap(text_);
    return text;
}

void EngineTest::SetUp() {
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    previous_ = cwd;
    char pattern[] = "/tmp/talvik-test-XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern));
    folder_ = pattern;
    ASSERT_EQ(chdir(folder_.c_str()), 0);
    sink_ = new StringSink;
    RootFolder()->Set("out", 3, sink_, 0);
    RootFolder()->Set("log", 3, sink_, 0);
}

void EngineTest::TearDown() {
    RootFolder()->Set("out", 3, nullptr, 0);
    RootFolder()->Set("log", 3, nullptr, 0);
    if (!previous_.empty()) (void)chdir(previous_.c_str());
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

Interface* EngineTest::Evaluate(const std::string& script) {
    return RootFolder()->Run(script.c_str(), RootFolder());
}

std::string EngineTest::Run(const std::string& script) {
    if (Interface* value = Evaluate(script)) {
        value->AddRef();
        value->Release();
    }
    return sink_->Take();
}

Interface* EngineTest::Member(const char* path) {
    return Evaluate(path);
}

double EngineTest::NumberAt(const char* path) {
    auto* number = QueryInterface<Number>(Member(path), "Number");
    if (!number) return NAN;
    double value = number->value;
    number->Release();
    return value;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
