// The recogniser's trainer: standardises cue vectors and trains a perceptron with one
// logistic hidden layer and a softmax output on them, then writes the network and its
// transformation in the files ANNEvaluator reads (see engine/recognition/Network.h and
// ANNEvaluator.cpp). Deterministic for a seed.
//
// Several members may be trained, from the seeds seed, seed + 1, ..., each on the same
// standardised cues (in parallel, a thread each): their output sums are averaged, and
// they are written as one perceptron whose hidden layer is all the members' hidden
// units side by side and whose output sums are the mean of theirs. A retraining moves
// a single net's held-out figures by several points; the mean of a few is steadier
// and generalises better than any one of them.
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
    int members = 1;      // networks averaged into the one written
};

class Trainer {
  public:
    explicit Trainer(TrainerOptions options) : options_(options) {}

    void Train(const Samples& samples);
    // The most probable class (from 1) of one raw cue vector.
    int Classify(const float* cues) const { return Classify(cues, 1, 0); }
    // The most probable of the classes first ... last (last 0: up to the last class).
    int Classify(const float* cues, int first, int last) const;
    // The share of lines classified right, by the mean of the members or by one alone.
    double Accuracy(const Samples& samples) const { return Accuracy(samples, -1); }
    double Accuracy(const Samples& samples, int member) const;
    int Members() const { return static_cast<int>(members_.size()); }
    // Writes "name" (the network) and "name" with its extension replaced by "trf".
    bool Write(const std::string& name, std::string* error) const;

  private:
    struct Member {
        std::vector<double> w1, b1, w2, b2; // hidden x inputs, hidden, classes x hidden, classes
    };
    void TrainMember(const Samples& samples, unsigned seed, Member* m) const;
    // One member's output sums (logits) for a raw cue vector; hidden activations into *h.
    void Forward(const Member& m, const float* cues, std::vector<double>* h,
                 std::vector<double>* z) const;
    // The members' mean output sums for a raw cue vector (member -1), or one member's.
    std::vector<double> Sums(const float* cues, int member) const;
    // The class (from 1) of the largest sum among first ... last (last 0: up to the last).
    int Best(const std::vector<double>& z, int first, int last) const;

    TrainerOptions options_;
    size_t inputs_ = 0, classes_ = 0;
    std::vector<double> mean_, deviation_;
    std::vector<Member> members_;
};
