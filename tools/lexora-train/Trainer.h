// The recogniser's trainer: standardises cue vectors and trains a perceptron with one
// logistic hidden layer and a softmax output on them, then writes the network and its
// transformation in the files ANNEvaluator reads (see engine/recognition/Network.h and
// ANNEvaluator.cpp). Deterministic for a seed.
#pragma once
#include <string>
#include <vector>

struct Samples {
    size_t cues = 0;
    std::vector<float> values; // labels.size() rows of cues values
    std::vector<int> labels;   // classes from 1
};

// Reads training lines "v,v,...,v,class"; false, with the reason, on a line whose
// number of values differs from the first or whose class is below 1.
bool ReadSamples(const std::string& path, Samples* samples, std::string* error);
bool ParseSamples(const std::string& text, Samples* samples, std::string* error);

struct TrainerOptions {
    int hidden = 80;
    int epochs = 150;
    unsigned seed = 1;
    double jitter = 0.15; // noise on the standardised cues while training, in deviations
    bool softmax = false; // write probabilities instead of costs
    int classes = 0;      // outputs at least this many, though no line has the higher classes
};

class Trainer {
  public:
    explicit Trainer(TrainerOptions options) : options_(options) {}

    void Train(const Samples& samples);
    // The most probable class (from 1) of one raw cue vector.
    int Classify(const float* cues) const { return Classify(cues, 1, 0); }
    // The most probable of the classes first ... last (last 0: up to the last class).
    int Classify(const float* cues, int first, int last) const;
    double Accuracy(const Samples& samples) const;
    // Writes "name" (the network) and "name" with its extension replaced by "trf".
    bool Write(const std::string& name, std::string* error) const;

  private:
    // The output sums (logits) for a raw cue vector; hidden activations into *h.
    void Forward(const float* cues, std::vector<double>* h, std::vector<double>* z) const;

    TrainerOptions options_;
    size_t inputs_ = 0, classes_ = 0;
    std::vector<double> mean_, deviation_;
    std::vector<double> w1_, b1_, w2_, b2_; // hidden x inputs, hidden, classes x hidden, classes
};
