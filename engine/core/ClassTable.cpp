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
Interface* NewService(Input* lexer, Interface* context);
Interface* NewSocket(Input* lexer, Interface* context);
Interface* NewModuleFolder(Input* lexer, Interface* context);
Interface* NewWait(Input* lexer, Interface* context);
Interface* NewDummySoundBuffer(Input* lexer, Interface* context);
Interface* NewSpectrum(Input* lexer, Interface* context);
Interface* NewWavFileIn(Input* lexer, Interface* context);
Interface* NewWavFileOut(Input* lexer, Interface* context);
Interface* NewWavOutput(Input* lexer, Interface* context);
Interface* NewMicIn(Input* lexer, Interface* context);
Interface* NewVoiceDetect(Input* lexer, Interface* context);
Interface* NewConcatSB(Input* lexer, Interface* context);
Interface* NewPreEmpSB(Input* lexer, Interface* context);
Interface* NewSoundBufferCache(Input* lexer, Interface* context);
Interface* NewSpecTextIn(Input* lexer, Interface* context);
Interface* NewNormalizeFrames(Input* lexer, Interface* context);
Interface* NewNormalizeMap(Input* lexer, Interface* context);
Interface* NewNormalizeMeanDev(Input* lexer, Interface* context);
Interface* NewNormMeanDevBand(Input* lexer, Interface* context);
Interface* NewNormMeanDevBandFile(Input* lexer, Interface* context);
Interface* NewMeanSubsMap(Input* lexer, Interface* context);
Interface* NewCombineMaps(Input* lexer, Interface* context);
Interface* NewDummyMap(Input* lexer, Interface* context);
Interface* NewLineSpectrum(Input* lexer, Interface* context);
Interface* NewLobeIntegration(Input* lexer, Interface* context);
Interface* NewSBS(Input* lexer, Interface* context);
Interface* NewSBS_Bark(Input* lexer, Interface* context);
Interface* NewANNEvaluator(Input* lexer, Interface* context);
Interface* NewEvalCache(Input* lexer, Interface* context);
Interface* NewEvalCache2(Input* lexer, Interface* context);
Interface* NewSimplePhonemes(Input* lexer, Interface* context);
Interface* NewDictionary(Input* lexer, Interface* context);
Interface* NewNumberUnit(Input* lexer, Interface* context);
// Spectral feature maps
Interface* NewBandEnergyRect(Input* lexer, Interface* context);
Interface* NewBandEnergyTriang(Input* lexer, Interface* context);
Interface* NewMFCC(Input* lexer, Interface* context);
Interface* NewLPC(Input* lexer, Interface* context);
Interface* NewLPCcepstrum(Input* lexer, Interface* context);
Interface* NewLPCspectrum(Input* lexer, Interface* context);
Interface* NewLogMap(Input* lexer, Interface* context);
Interface* NewCubRMap(Input* lexer, Interface* context);
Interface* NewRastaMap(Input* lexer, Interface* context);
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
// Search engines
Interface* NewPQEngine(Input* lexer, Interface* context);
Interface* NewMPQEngine(Input* lexer, Interface* context);
Interface* NewCalcHeuristic(Input* lexer, Interface* context);
extern const char kPQEngineHelp[];
extern const char kMPQEngineHelp[];
Interface* NewANNClusters(Input* lexer, Interface* context);
Interface* NewFakeClusters(Input* lexer, Interface* context);
Interface* NewDatFile(Input* lexer, Interface* context);
Interface* NewSegmentTrain(Input* lexer, Interface* context);
// Result comparison, result outputs and corpus traversal
Interface* NewCompareResult(Input* lexer, Interface* context);
Interface* NewCompareNumberResult(Input* lexer, Interface* context);
Interface* NewDatTravers(Input* lexer, Interface* context);
Interface* NewMakeWSP(Input* lexer, Interface* context);
Interface* NewStringFileOut(Input* lexer, Interface* context);
// Map outputs and displays, display windows, the phoneme database.
Interface* NewMapFileOut(Input* lexer, Interface* context);
Interface* NewMapOutForHTK(Input* lexer, Interface* context);
Interface* NewHTK_FBLE(Input* lexer, Interface* context);
Interface* NewFindPhoneme(Input* lexer, Interface* context);
Interface* NewModifySoundBuffer(Input* lexer, Interface* context);
Interface* NewWindow(Input* lexer, Interface* context);
Interface* NewTransWindow(Input* lexer, Interface* context);
Interface* NewMapDisplay(Input* lexer, Interface* context);
Interface* NewFeatureDisplay(Input* lexer, Interface* context);
Interface* NewHypothesisDisplay(Input* lexer, Interface* context);

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
    // The network service.
    {"Service", NewService, kCalled, nullptr},
    {"Socket", NewSocket, kCalled, nullptr},
    {"ModuleFolder", NewModuleFolder, kCalled, nullptr},
    {"Wait", NewWait, kCalled, nullptr},
    {"DummySoundBuffer", NewDummySoundBuffer, kCalled, nullptr},
    {"Spectrum", NewSpectrum, kCalled, nullptr},
    {"WavFileIn", NewWavFileIn, kCalled, nullptr},
    {"WavFileOut", NewWavFileOut, kCalled, nullptr},
    {"WavOutput", NewWavOutput, kCalled, nullptr},
    // Live input and voice detection.
    {"MicIn", NewMicIn, kCalled, nullptr},
    {"VoiceDetect", NewVoiceDetect, kCalled, nullptr},
    // Sound-buffer transforms.
    {"ConcatSB", NewConcatSB, kCalled, nullptr},
    {"PreEmpSB", NewPreEmpSB, kCalled, nullptr},
    {"SoundBufferCache", NewSoundBufferCache, kCalled, nullptr},
    {"SpecTextIn", NewSpecTextIn, kCalled, nullptr},
    // Map normalisation and combination.
    {"NormalizeFrames", NewNormalizeFrames, kCalled, nullptr},
    {"NormalizeMap", NewNormalizeMap, kCalled, nullptr},
    {"NormalizeMeanDev", NewNormalizeMeanDev, kCalled, nullptr},
    {"NormMeanDevBand", NewNormMeanDevBand, kCalled, nullptr},
    {"NormMeanDevBandFile", NewNormMeanDevBandFile, kCalled, nullptr},
    {"MeanSubsMap", NewMeanSubsMap, kCalled, nullptr},
    {"CombineMaps", NewCombineMaps, kCalled, nullptr},
    {"DummyMap", NewDummyMap, kCalled, nullptr},
    // Spectral peak maps.
    {"LineSpectrum", NewLineSpectrum, kCalled, nullptr},
    {"LobeIntegration", NewLobeIntegration, kCalled, nullptr},
    {"SBS", NewSBS, kCalled, nullptr},
    {"SBS_Bark", NewSBS_Bark, kCalled, nullptr},
    // Evaluators.
    {"ANNEvaluator", NewANNEvaluator, kCalled, nullptr},
    {"EvalCache", NewEvalCache, kCalled, nullptr},
    {"EvalCache2", NewEvalCache2, kCalled, nullptr},
    // Phoneme sets and language models.
    {"SimplePhonemes", NewSimplePhonemes, kCalled, nullptr},
    {"Dictionary", NewDictionary, kCalled, nullptr},
    {"NumberUnit", NewNumberUnit, kCalled, nullptr},
    // Spectral feature maps
    {"BandEnergyRect", NewBandEnergyRect, kCalled, nullptr},
    {"BandEnergyTriang", NewBandEnergyTriang, kCalled, nullptr},
    {"MFCC", NewMFCC, kCalled, nullptr},
    {"LPC", NewLPC, kCalled, nullptr},
    {"LPCcepstrum", NewLPCcepstrum, kCalled, nullptr},
    {"LPCspectrum", NewLPCspectrum, kCalled, nullptr},
    {"LogMap", NewLogMap, kCalled, nullptr},
    {"CubRMap", NewCubRMap, kCalled, nullptr},
    {"RastaMap", NewRastaMap, kCalled, nullptr},
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
    // Search engines
    {"PQEngine", NewPQEngine, kCalled, kPQEngineHelp},
    {"MPQEngine", NewMPQEngine, kCalled, kMPQEngineHelp},
    {"CalcHeuristic", NewCalcHeuristic, kCalled, nullptr},
    // Cluster bounds and segmentation.
    {"ANNClusters", NewANNClusters, kCalled, nullptr},
    {"FakeClusters", NewFakeClusters, kCalled, nullptr},
    {"DatFile", NewDatFile, kCalled, nullptr},
    {"SegmentTrain", NewSegmentTrain, kCalled, nullptr},
    // Result comparison, result outputs and corpus traversal.
    {"CompareResult", NewCompareResult, kCalled, nullptr},
    {"CompareNumberResult", NewCompareNumberResult, kCalled, nullptr},
    {"DatTravers", NewDatTravers, kCalled, nullptr},
    {"MakeWSP", NewMakeWSP, kCalled, nullptr},
    {"StringFileOut", NewStringFileOut, kCalled, nullptr},
    // Map outputs and displays, display windows, the phoneme database.
    {"MapFileOut", NewMapFileOut, kCalled, nullptr},
    {"MapOutForHTK", NewMapOutForHTK, kCalled, nullptr},
    {"HTK_FBLE", NewHTK_FBLE, kCalled, nullptr},
    {"FindPhoneme", NewFindPhoneme, kCalled, nullptr},
    {"ModifySoundBuffer", NewModifySoundBuffer, kCalled, nullptr},
    {"Window", NewWindow, kCalled, nullptr},
    {"TransWindow", NewTransWindow, kEvaluated, nullptr},
    {"MapDisplay", NewMapDisplay, kCalled, nullptr},
    {"FeatureDisplay", NewFeatureDisplay, kCalled, nullptr},
    {"HypothesisDisplay", NewHypothesisDisplay, kCalled, nullptr},
};
} // namespace

void RegisterClasses() {
    FolderBase* classes = ClassFolder();
    for (const ClassEntry& entry : kClasses) {
        auto* object = new ClassObject(entry.factory, entry.kind, entry.help);
        classes->Set(entry.name, static_cast<int>(std::strlen(entry.name)), object, 1);
    }
}
