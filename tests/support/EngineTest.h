// A fixture for engine tests: the root's "out" and "log" go to a string sink, and
// each test runs in a fresh temporary working folder that is removed afterwards.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "Output.h"
#include "core/Root.h"

// An Output that keeps everything written to it.
class StringSink : public virtual Output {
  public:
    using Output::Write;
    void Write(const char* text, int count) override { text_.append(text, count); }
    void* GetInterface(const char* name) override;
    // Everything written since the last call.
    std::string Take();

  private:
    std::string text_;
};

class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a script on the root, disposing of its value; returns what it wrote.
    std::string Run(const std::string& script);
    Interface* Evaluate(const std::string& script);
    Interface* Member(const char* path);
    // The value of the Number a script path names; NaN when there is none.
    double NumberAt(const char* path);

    StringSink* sink_ = nullptr;
    std::string folder_;
    std::string previous_;
};

// Writes a file below the current working folder, creating its folders.
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
