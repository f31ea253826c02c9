// The trainer (see Trainer.h). Training: the cues are centred and scaled by their
// means and deviations; the hidden layer is logistic; the output is a softmax of the
// sums z; plain stochastic gradient descent with momentum on the cross-entropy, over
// a shuffled order each epoch, with a rate that falls as the epochs pass.
//
// The network file is layered (nLayers 3, weights present): weights unit by unit, each
// unit's weights in the order of the previous layer's units, then the biases of every
// unit. Members are written as one such network (see Trainer.h). In the cost form the
// output layer's weights and biases are negated and the output kind is 0 (logistic),
// so output j = 1 / (1 + e^z_j).
#include "lexora-train/Trainer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <numeric>
#include <random>
#include <sstream>
#include <thread>

namespace {
double Logistic(double a) {
    return 1.0 / (1.0 + std::exp(-a));
}

std::string TransformationName(const std::string& network) {
    size_t dot = network.rfind('.');
    size_t slash = network.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return network + ".trf";
    return network.substr(0, dot + 1) + "trf";
}
} // namespace

bool ParseSamples(const std::string& text, Samples* samples, std::string* error) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::vector<double> v;
        const char* p = line.c_str();
        char* end = nullptr;
        for (double x = std::strtod(p, &end); end != p; x = std::strtod(p, &end)) {
            v.push_back(x);
            p = end;
            while (*p == ',' || *p == ' ' || *p == '\t' || *p == '\r')
                ++p;
        }
        if (v.empty()) continue;
        int label = static_cast<int>(v.back());
        v.pop_back();
        if (samples->labels.empty()) samples->cues = v.size();
        if (v.size() != samples->cues || v.empty() || label < 1) {
            *error = "line " + std::to_string(number) + ": not a training line";
            return false;
        }
        samples->values.insert(samples->values.end(), v.begin(), v.end());
        samples->labels.push_back(label);
    }
    if (samples->labels.empty()) return *error = "no training lines", false;
    return true;
}

bool ReadSamples(const std::string& path, Samples* samples, std::string* error) {
    std::ifstream in(path);
    if (!in) return *error = "cannot read " + path, false;
    std::stringstream text;
    text << in.rdbuf();
    return ParseSamples(text.str(), samples, error);
}

void Trainer::Train(const Samples& s) {
    inputs_ = s.cues;
    classes_ = static_cast<size_t>(
        std::max(*std::max_element(s.labels.begin(), s.labels.end()), options_.classes));
    const size_t n = s.labels.size();
    mean_.assign(inputs_, 0.0);
    deviation_.assign(inputs_, 0.0);
    for (size_t r = 0; r < n; ++r)
        for (size_t i = 0; i < inputs_; ++i)
            mean_[i] += s.values[r * inputs_ + i] / static_cast<double>(n);
    for (size_t r = 0; r < n; ++r)
        for (size_t i = 0; i < inputs_; ++i) {
            double d = s.values[r * inputs_ + i] - mean_[i];
            deviation_[i] += d * d / static_cast<double>(n);
        }
    // A constant cue gets deviation 0, which the evaluator reads as "contributes 0".
    for (double& d : deviation_)
        d = d > 1e-12 ? std::sqrt(d) : 0.0;

    // Each member has its own generator, so the result is the same however the threads
    // are scheduled; no more threads at a time than the machine has cores.
    members_.assign(static_cast<size_t>(std::max(options_.members, 1)), Member{});
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    for (size_t first = 0; first < members_.size(); first += cores) {
        std::vector<std::thread> threads;
        for (size_t m = first; m < std::min(first + cores, members_.size()); ++m)
            threads.emplace_back([this, &s, m] {
                TrainMember(s, options_.seed + static_cast<unsigned>(m), &members_[m]);
            });
        for (std::thread& t : threads)
            t.join();
    }
}

void Trainer::TrainMember(const Samples& s, unsigned seed, Member* m) const {
    const size_t n = s.labels.size(), H = static_cast<size_t>(options_.hidden);
    std::mt19937 random(seed);
    std::normal_distribution<double> normal(0.0, 1.0);
    std::vector<double>&w1 = m->w1, &b1 = m->b1, &w2 = m->w2, &b2 = m->b2;
    w1.resize(H * inputs_);
    for (double& w : w1)
        w = normal(random) / std::sqrt(static_cast<double>(inputs_));
    w2.resize(classes_ * H);
    for (double& w : w2)
        w = normal(random) / std::sqrt(static_cast<double>(H));
    b1.assign(H, 0.0);
    b2.assign(classes_, 0.0);
    std::vector<double> v1(w1.size(), 0.0), v2(w2.size(), 0.0), u1(H, 0.0), u2(classes_, 0.0);

    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t{0});
    std::vector<double> h, z, dz(classes_), dh(H), x(inputs_);
    std::vector<float> jittered(inputs_);
    const double momentum = 0.9, decay = 1e-4;
    for (int epoch = 0; epoch < options_.epochs; ++epoch) {
        std::shuffle(order.begin(), order.end(), random);
        double rate = 0.02 / (1.0 + 4.0 * epoch / options_.epochs);
        for (size_t r : order) {
            // Each pass sees the utterance with a little noise on its standardised cues,
            // so that the net does not lean on the fine detail of the training voices.
            for (size_t i = 0; i < inputs_; ++i)
                jittered[i] = static_cast<float>(s.values[r * inputs_ + i] +
                                                 options_.jitter * deviation_[i] * normal(random));
            const float* cues = jittered.data();
            Forward(*m, cues, &h, &z);
            double top = *std::max_element(z.begin(), z.end()), total = 0;
            for (size_t j = 0; j < classes_; ++j)
                total += dz[j] = std::exp(z[j] - top);
            for (size_t j = 0; j < classes_; ++j)
                dz[j] = dz[j] / total - (static_cast<int>(j) + 1 == s.labels[r] ? 1.0 : 0.0);
            for (size_t k = 0; k < H; ++k) {
                double sum = 0;
                for (size_t j = 0; j < classes_; ++j)
                    sum += dz[j] * w2[j * H + k];
                dh[k] = sum * h[k] * (1 - h[k]);
            }
            for (size_t j = 0; j < classes_; ++j) {
                for (size_t k = 0; k < H; ++k) {
                    double& v = v2[j * H + k];
                    v = momentum * v - rate * (dz[j] * h[k] + decay * w2[j * H + k]);
                    w2[j * H + k] += v;
                }
                u2[j] = momentum * u2[j] - rate * dz[j];
                b2[j] += u2[j];
            }
            for (size_t i = 0; i < inputs_; ++i)
                x[i] = deviation_[i] > 0 ? (cues[i] - mean_[i]) / deviation_[i] : 0.0;
            for (size_t k = 0; k < H; ++k) {
                for (size_t i = 0; i < inputs_; ++i) {
                    double& v = v1[k * inputs_ + i];
                    v = momentum * v - rate * (dh[k] * x[i] + decay * w1[k * inputs_ + i]);
                    w1[k * inputs_ + i] += v;
                }
                u1[k] = momentum * u1[k] - rate * dh[k];
                b1[k] += u1[k];
            }
        }
    }
}

void Trainer::Forward(const Member& m, const float* cues, std::vector<double>* h,
                      std::vector<double>* z) const {
    const size_t H = m.b1.size();
    h->assign(H, 0.0);
    z->assign(classes_, 0.0);
    for (size_t k = 0; k < H; ++k) {
        double a = m.b1[k];
        for (size_t i = 0; i < inputs_; ++i)
            if (deviation_[i] > 0)
                a += m.w1[k * inputs_ + i] * (cues[i] - mean_[i]) / deviation_[i];
        (*h)[k] = Logistic(a);
    }
    for (size_t j = 0; j < classes_; ++j) {
        double a = m.b2[j];
        for (size_t k = 0; k < H; ++k)
            a += m.w2[j * H + k] * (*h)[k];
        (*z)[j] = a;
    }
}

std::vector<double> Trainer::Sums(const float* cues, int member) const {
    std::vector<double> h, z;
    if (member >= 0) {
        Forward(members_[static_cast<size_t>(member)], cues, &h, &z);
        return z;
    }
    std::vector<double> mean(classes_, 0.0);
    for (const Member& m : members_) {
        Forward(m, cues, &h, &z);
        for (size_t j = 0; j < classes_; ++j)
            mean[j] += z[j] / static_cast<double>(members_.size());
    }
    return mean;
}

int Trainer::Classify(const float* cues, int first, int last) const {
    return Best(Sums(cues, -1), first, last);
}

int Trainer::Best(const std::vector<double>& z, int first, int last) const {
    const int classes = static_cast<int>(classes_);
    first = std::clamp(first, 1, classes);
    last = last < first || last > classes ? classes : last;
    return static_cast<int>(std::max_element(z.begin() + first - 1, z.begin() + last) - z.begin()) +
           1;
}

double Trainer::Accuracy(const Samples& s, int member) const {
    if (s.labels.empty() || s.cues != inputs_ || member >= Members()) return 0;
    size_t right = 0;
    for (size_t r = 0; r < s.labels.size(); ++r)
        right += Best(Sums(&s.values[r * inputs_], member), 1, 0) == s.labels[r];
    return static_cast<double>(right) / static_cast<double>(s.labels.size());
}

bool Trainer::Write(const std::string& name, std::string* error) const {
    if (members_.empty()) return *error = "nothing trained to write", false;
    // The members side by side: their hidden units one after another, and each output
    // unit fed by all of them with its weights divided by the number of members, so its
    // sum is the members' mean sum.
    const size_t H = members_[0].b1.size(), M = members_.size();
    std::unique_ptr<FILE, int (*)(FILE*)> net(std::fopen(name.c_str(), "w"), std::fclose);
    if (!net) return *error = "cannot write " + name, false;
    const double sign = options_.softmax ? 1.0 : -1.0, share = sign / static_cast<double>(M);
    std::fprintf(net.get(), "%zu %zu %zu %zu 3 %zu 1 %d\n", inputs_, classes_, H * M + classes_,
                 M * (H * inputs_ + classes_ * H), H * M, options_.softmax ? 1 : 0);
    for (const Member& m : members_)
        for (size_t k = 0; k < H; ++k) {
            for (size_t i = 0; i < inputs_; ++i)
                std::fprintf(net.get(), "%.7g ", m.w1[k * inputs_ + i]);
            std::fputc('\n', net.get());
        }
    for (size_t j = 0; j < classes_; ++j) {
        for (const Member& m : members_)
            for (size_t k = 0; k < H; ++k)
                std::fprintf(net.get(), "%.7g ", share * m.w2[j * H + k]);
        std::fputc('\n', net.get());
    }
    for (const Member& m : members_)
        for (double b : m.b1)
            std::fprintf(net.get(), "%.7g ", b);
    std::fputc('\n', net.get());
    for (size_t j = 0; j < classes_; ++j) {
        double b = 0;
        for (const Member& m : members_)
            b += m.b2[j];
        std::fprintf(net.get(), "%.7g ", share * b);
    }
    std::fputc('\n', net.get());
    if (std::ferror(net.get())) return *error = "cannot write " + name, false;

    std::string trfName = TransformationName(name);
    std::unique_ptr<FILE, int (*)(FILE*)> trf(std::fopen(trfName.c_str(), "w"), std::fclose);
    if (!trf) return *error = "cannot write " + trfName, false;
    std::fputs("#norm\n", trf.get());
    for (double m : mean_)
        std::fprintf(trf.get(), "%.9g ", m);
    std::fputc('\n', trf.get());
    for (double d : deviation_)
        std::fprintf(trf.get(), "%.9g ", d);
    std::fputc('\n', trf.get());
    // The identity transformation: the evaluator then feeds the normalised cues as they
    // are, and finds the section it looks for.
    std::fputs("#tran\n", trf.get());
    for (size_t row = 0; row < mean_.size(); ++row) {
        for (size_t column = 0; column < mean_.size(); ++column)
            std::fputs(row == column ? "1 " : "0 ", trf.get());
        std::fputc('\n', trf.get());
    }
    return !std::ferror(trf.get()) || (*error = "cannot write " + trfName, false);
}
