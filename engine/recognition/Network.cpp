// The evaluators' perceptron; see Network.h.
#include "recognition/Network.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>

#include "core/Path.h"

namespace {
// Beyond these a file is taken as damaged rather than allocated for.
constexpr long kMaxUnits = 1000000;
constexpr long kMaxWeights = 50000000;

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

class Tokens {
  public:
    explicit Tokens(FILE* f) : f_(f) {}
    bool Int(long* v) {
        int n = 0;
        if (std::fscanf(f_, "%i", &n) != 1) return false;
        *v = n;
        return true;
    }
    bool Real(float* v) { return std::fscanf(f_, "%f", v) == 1; }

  private:
    FILE* f_;
};

std::mt19937& Random() {
    static std::mt19937 generator(std::random_device{}());
    return generator;
}
} // namespace

bool Network::Load(const std::string& path, std::string* error) {
    std::unique_ptr<FILE, FileCloser> f(
        talvik::OpenRegularFile(talvik::OsPath(path, true), talvik::kMaxDataFile));
    if (!f) return *error = "cannot open the network file", false;
    Tokens in(f.get());
    long nIn = 0, nOut = 0, nNeurons = 0, nWeights = 0, nLayers = 0, flag = 0, kind = 0;
    if (!in.Int(&nIn) || !in.Int(&nOut) || !in.Int(&nNeurons) || !in.Int(&nWeights) ||
        !in.Int(&nLayers))
        return *error = "the network file is too short", false;
    if (nIn < 1 || nOut < 1 || nNeurons < nOut || nNeurons > kMaxUnits || nIn > kMaxUnits ||
        nWeights < 0 || nWeights > kMaxWeights || nLayers == 1 || nLayers < 0 ||
        nLayers > kMaxUnits)
        return *error = "impossible sizes in the network file", false;
    std::vector<long> sizes{nIn};
    for (long l = 0; nLayers && l < nLayers - 2; ++l) {
        long size = 0;
        if (!in.Int(&size) || size < 1 || size > kMaxUnits)
            return *error = "bad layer sizes in the network file", false;
        sizes.push_back(size);
    }
    if (nLayers) sizes.push_back(nOut);
    if (!in.Int(&flag) || !in.Int(&kind)) return *error = "the network file is too short", false;

    inputs_ = static_cast<int>(nIn);
    outputs_ = static_cast<int>(nOut);
    kind_ = static_cast<int>(kind);
    units_.assign(nNeurons, Unit{});
    long activations = nIn + nNeurons;
    if (nLayers) {
        long hidden = 0, used = 0;
        for (size_t l = 1; l < sizes.size(); ++l) {
            hidden += sizes[l];
            used += sizes[l] * sizes[l - 1];
        }
        if (hidden != nNeurons) return *error = "layer sizes do not add up to the units", false;
        if (used > nWeights) return *error = "fewer weights than the layers need", false;
        long unit = 0, weight = 0, first = 0; // first: activation index of the previous layer
        for (size_t l = 1; l < sizes.size(); ++l) {
            for (long u = 0; u < sizes[l]; ++u, ++unit)
                for (long s = 0; s < sizes[l - 1]; ++s)
                    units_[unit].links.push_back(
                        Link{static_cast<int>(weight++), static_cast<int>(first + s)});
            first += sizes[l - 1];
        }
    } else {
        for (Unit& unit : units_) {
            long m = 0, k = 0;
            if (!in.Int(&m) || !in.Int(&k) || m < 0 || k < 0 || m > activations || k > activations)
                return *error = "bad wiring in the network file", false;
            for (long j = 0; j < m + k; ++j) {
                long weight = 0, index = 0;
                if (!in.Int(&weight) || !in.Int(&index) || weight < 0 || weight >= nWeights ||
                    index < 0 || index >= (j < m ? activations : nNeurons))
                    return *error = "bad wiring in the network file", false;
                if (j < m)
                    unit.links.push_back(Link{static_cast<int>(weight), static_cast<int>(index)});
            }
        }
    }
    for (long u = nNeurons - nOut; u < nNeurons; ++u)
        units_[u].exponential = kind != 0;

    weights_.assign(nWeights, 0.0f);
    biases_.assign(nNeurons, 0.0f);
    if (flag) {
        for (float& w : weights_)
            if (!in.Real(&w)) return *error = "missing weights in the network file", false;
        for (float& b : biases_)
            if (!in.Real(&b)) return *error = "missing biases in the network file", false;
    } else {
        std::uniform_real_distribution<float> small(-0.05f, 0.05f);
        for (float& w : weights_)
            w = small(Random());
        for (float& b : biases_)
            b = small(Random());
    }
    activations_.assign(activations, 0.0f);
    sums_.assign(nOut, 0.0);
    return true;
}

const float* Network::Run(const float* inputs) {
    std::copy(inputs, inputs + inputs_, activations_.begin());
    int firstOutput = static_cast<int>(units_.size()) - outputs_;
    for (size_t u = 0; u < units_.size(); ++u) {
        double a = biases_[u];
        for (const Link& link : units_[u].links)
            a += static_cast<double>(weights_[link.weight]) * activations_[link.source];
        if (static_cast<int>(u) >= firstOutput) sums_[u - firstOutput] = a;
        activations_[inputs_ + u] =
            static_cast<float>(units_[u].exponential ? std::exp(a) : 1.0 / (1.0 + std::exp(-a)));
    }
    float* out = activations_.data() + inputs_ + firstOutput;
    if (kind_ == 0) return out;
    // The softmax, shifted by the largest sum: the same quotients without overflow.
    double top = *std::max_element(sums_.begin(), sums_.end()), total = 0;
    for (double a : sums_)
        total += std::exp(a - top);
    if (total > 0)
        for (int j = 0; j < outputs_; ++j)
            out[j] = static_cast<float>(std::exp(sums_[j] - top) / total);
    return out;
}
