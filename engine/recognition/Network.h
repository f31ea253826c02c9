// The perceptron of the neural evaluators: a feed-forward network of units, each
// summing weighted activations plus a bias through a logistic (1 / (1 + e^-a)) or an
// exponential (e^a) output. One activation array holds the inputs followed by every
// unit's output in unit order; the last nOutputs units are the outputs, which are
// divided by their sum when the output kind is not 0 (a softmax).
//
// The text file gives, as white-space separated tokens (integers as "%i", reals as
// "%f"): nInputs, nOutputs, nNeurons, nWeights, nLayers, the hidden layer sizes (when
// nLayers is not 0), the weights-present flag and the output kind; with nLayers 0,
// every unit's explicit wiring; then, when the flag is not 0, nWeights weights and
// nNeurons biases (otherwise both are random in [-0.05, 0.05]). Every count and index
// is checked: a file that does not describe a whole, consistent network is refused.
#pragma once
#include <string>
#include <vector>

class Network {
  public:
    // Reads the file; false, with the reason in *error, when it is refused.
    bool Load(const std::string& path, std::string* error);
    // Runs the network on nInputs values; returns the nOutputs outputs.
    const float* Run(const float* inputs);

    int Inputs() const { return inputs_; }
    int Outputs() const { return outputs_; }

  private:
    struct Link {
        int weight;
        int source; // activation index
    };
    struct Unit {
        std::vector<Link> links;
        bool exponential = false;
    };

    int inputs_ = 0, outputs_ = 0, kind_ = 0;
    std::vector<Unit> units_;
    std::vector<float> weights_, biases_, activations_;
    std::vector<double> sums_; // the output units' sums, for the softmax
};
