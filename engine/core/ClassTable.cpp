// The one registration table of the engine's classes. Every class is listed here
// with its factory; the library's load hook stores them into "classes" in this
// order, before any script runs, so no class can be dropped by the linker or
// registered twice.
#include <cstring>

#include "core/ClassObject.h"
#include "core/Root.h"

Interface* NewDirectory(Input* lexer, Interface* context);
Interface* NewWinSys(Input* lexer, Interface* context);
Interface* NewFile(Input* lexer, Interface* context);
Interface* NewFolder(Input* lexer, Interface* context);
Interface* NewConsole(Input* lexer, Interface* context);
Interface* NewTerminal(Input* lexer, Interface* context);
Interface* NewHTTPTerminal(Input* lexer, Interface* context);
Interface* NewActiveWindow(Input* lexer, Interface* context);
Interface* NewModuleFolder(Input* lexer, Interface* context);
Interface* NewWait(Input* lexer, Interface* context);
Interface* NewDummySoundBuffer(Input* lexer, Interface* context);
Interface* NewSpectrum(Input* lexer, Interface* context);
Interface* NewWavFileIn(Input* lexer, Interface* context);
Interface* NewWavFileOut(Input* lexer, Interface* context);
Interface* NewWavOutput(Input* lexer, Interface* context);
Interface* NewFeatureMap(Input* lexer, Interface* context);
Interface* NewFAGC(Input* lexer, Interface* context);
Interface* NewFBand(Input* lexer, Interface* context);
Interface* NewFDerivative(Input* lexer, Interface* context);
Interface* NewFNoiseGate(Input* lexer, Interface* context);
Interface* NewFNormMeanDevOnline(Input* lexer, Interface* context);
Interface* NewFRasta(Input* lexer, Interface* context);
Interface* NewFShortAdapt(Input* lexer, Interface* context);
Interface* NewFSMedian(Input* lexer, Interface* context);
Interface* NewFSum(Input* lexer, Interface* context);
Interface* NewFWSum(Input* lexer, Interface* context);
Interface* NewACuesDump(Input* lexer, Interface* context);
Interface* NewACBegin(Input* lexer, Interface* context);
Interface* NewACDiff(Input* lexer, Interface* context);
Interface* NewACDuration(Input* lexer, Interface* context);
Interface* NewACEnd(Input* lexer, Interface* context);
Interface* NewACMaxMin(Input* lexer, Interface* context);
Interface* NewACMean(Input* lexer, Interface* context);
Interface* NewACMiddle(Input* lexer, Interface* context);
Interface* NewACModS(Input* lexer, Interface* context);

namespace {
struct ClassEntry {
    const char* name;
    Factory factory;
    ClassObject::Kind kind;
    const char* help;
};

constexpr ClassObject::Kind kCalled = ClassObject::kCalled;
constexpr ClassObject::Kind kEvaluated = ClassObject::kEvaluated;

const ClassEntry kClasses[] = {
    {"Directory", NewDirectory, kCalled, nullptr},
    {"WinSys", NewWinSys, kEvaluated, nullptr},
    {"File", NewFile, kEvaluated, nullptr},
    {"Folder", NewFolder, kEvaluated, nullptr},
    {"Console", NewConsole, kEvaluated, nullptr},
    {"Terminal", NewTerminal, kCalled, nullptr},
    {"HTTPTerminal", NewHTTPTerminal, kCalled, nullptr},
    {"ActiveWindow", NewActiveWindow, kCalled, nullptr},
    {"ModuleFolder", NewModuleFolder, kCalled, nullptr},
    {"Wait", NewWait, kCalled, nullptr},
    {"DummySoundBuffer", NewDummySoundBuffer, kCalled, nullptr},
    {"Spectrum", NewSpectrum, kCalled, nullptr},
    {"WavFileIn", NewWavFileIn, kCalled, nullptr},
    {"WavFileOut", NewWavFileOut, kCalled, nullptr},
    {"WavOutput", NewWavOutput, kCalled, nullptr},
    // Feature streams, online filters and acoustic cues.
    {"FeatureMap", NewFeatureMap, kCalled, nullptr},
    {"FAGC", NewFAGC, kCalled, nullptr},
    {"FBand", NewFBand, kCalled, nullptr},
    {"FDerivative", NewFDerivative, kCalled, nullptr},
    {"FNoiseGate", NewFNoiseGate, kCalled, nullptr},
    {"FNormMeanDevOnline", NewFNormMeanDevOnline, kCalled, nullptr},
    {"FRasta", NewFRasta, kCalled, nullptr},
    {"FShortAdapt", NewFShortAdapt, kCalled, nullptr},
    {"FSMedian", NewFSMedian, kCalled, nullptr},
    {"FSum", NewFSum, kCalled, nullptr},
    {"FWSum", NewFWSum, kCalled, nullptr},
    {"ACuesDump", NewACuesDump, kCalled, nullptr},
    {"ACBegin", NewACBegin, kCalled, nullptr},
    {"ACDiff", NewACDiff, kCalled, nullptr},
    {"ACDuration", NewACDuration, kCalled, nullptr},
    {"ACEnd", NewACEnd, kCalled, nullptr},
    {"ACMaxMin", NewACMaxMin, kCalled, nullptr},
    {"ACMean", NewACMean, kCalled, nullptr},
    {"ACMiddle", NewACMiddle, kCalled, nullptr},
    {"ACModS", NewACModS, kCalled, nullptr},
};
} // namespace

void RegisterClasses() {
    FolderBase* classes = ClassFolder();
    for (const ClassEntry& entry : kClasses) {
        auto* object = new ClassObject(entry.factory, entry.kind, entry.help);
        classes->Set(entry.name, static_cast<int>(std::strlen(entry.name)), object, 1);
    }
}
