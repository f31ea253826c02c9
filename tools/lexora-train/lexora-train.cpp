// lexora-train: trains the recogniser's letter network from training lines and writes
// it in the formats the engine's ANNEvaluator reads.
//
//   lexora-train [-hidden H] [-epochs E] [-seed S] [-members M] [-jitter J] [-softmax]
//   [-classes C] [-test FILE ... [-among FIRST-LAST]] TRAIN OUT.net
//
// TRAIN holds one line per utterance, as SegmentTrain writes them: the cue values and
// the class number (1 ... C), separated by commas. The cues are standardised (their
// means and deviations go to OUT.trf's "#norm" section) and fed to a perceptron with
// one logistic hidden layer and a softmax output, trained by stochastic gradient
// descent on the cross-entropy. By default the net is written for the cost search
// (MPQEngine adds costs, lower is better): logistic outputs of the negated output
// sums, 1 / (1 + e^z), which fall as the class probability rises, so the cheapest
// class of a segment is the most probable one. -softmax writes the probabilities
// themselves (output kind 1), for evaluators read as scores. -test FILE reports the
// accuracy on held-out lines in the same format; it may be given again for other
// held-out sets (a condition each), reported in turn under their file names. -jitter J (default
// 0.15) is the deviation of the noise added to the standardised cues while training. -classes C
// gives the net at least C outputs (classes no line has stay unused). -among FIRST-LAST
// also prints, per held-out class in that range, how often the best of the classes
// FIRST ... LAST is the right one (a table), as a reader that only looks at those
// classes sees it. -members M trains M nets from the seeds S ... S + M - 1 and writes
// them as one whose output sums are their mean (M times H hidden units); the held-out
// accuracy of each member alone is printed too.
#include "lexora-train/Trainer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {
// The held-out accuracy of each class in first ... last, the best class taken among them.
void PrintAmong(const Trainer& trainer, const Samples& held, int first, int last) {
    std::map<int, std::pair<int, int>> counts; // class: right, of
    for (size_t r = 0; r < held.labels.size(); ++r) {
        int label = held.labels[r];
        if (label < first || label > last) continue;
        counts[label].first += trainer.Classify(&held.values[r * held.cues], first, last) == label;
        counts[label].second++;
    }
    int right = 0, of = 0;
    std::printf("| class | right | of | accuracy |\n|---|---|---|---|\n");
    for (const auto& [label, count] : counts) {
        std::printf("| %d | %d | %d | %.1f %% |\n", label, count.first, count.second,
                    100.0 * count.first / count.second);
        right += count.first;
        of += count.second;
    }
    if (of) std::printf("| all | %d | %d | %.1f %% |\n", right, of, 100.0 * right / of);
}
} // namespace

int main(int argc, char** argv) {
    TrainerOptions options;
    std::vector<std::string> tests;
    int first = 0, last = 0;
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == '-'; i += 2) {
        if (!std::strcmp(argv[i], "-softmax")) {
            options.softmax = true;
            --i;
        } else if (!std::strcmp(argv[i], "-hidden")) {
            options.hidden = std::atoi(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "-epochs")) {
            options.epochs = std::atoi(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "-seed")) {
            options.seed = static_cast<unsigned>(std::atol(argv[i + 1]));
        } else if (!std::strcmp(argv[i], "-members")) {
            options.members = std::atoi(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "-jitter")) {
            options.jitter = std::atof(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "-classes")) {
            options.classes = std::atoi(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "-among")) {
            if (std::sscanf(argv[i + 1], "%d-%d", &first, &last) != 2) first = last = -1;
        } else if (!std::strcmp(argv[i], "-test")) {
            tests.push_back(argv[i + 1]);
        } else {
            break;
        }
    }
    if (argc - i != 2 || options.hidden < 1 || options.epochs < 1 || options.members < 1 ||
        first < 0 || last < first) {
        std::fprintf(stderr, "usage: lexora-train [-hidden H] [-epochs E] [-seed S] [-members M] "
                             "[-jitter J] [-softmax] [-classes C] [-test FILE ... [-among "
                             "FIRST-LAST]] TRAIN OUT.net\n");
        return 2;
    }
    std::string error;
    Samples train;
    if (!ReadSamples(argv[i], &train, &error)) {
        std::fprintf(stderr, "lexora-train: %s\n", error.c_str());
        return 1;
    }
    Trainer trainer(options);
    trainer.Train(train);
    std::printf("training accuracy %.2f %% over %zu lines\n", 100 * trainer.Accuracy(train),
                train.labels.size());
    for (const std::string& test : tests) {
        Samples held;
        if (!ReadSamples(test, &held, &error)) {
            std::fprintf(stderr, "lexora-train: %s\n", error.c_str());
            return 1;
        }
        std::printf("held-out accuracy %.2f %% over %zu lines", 100 * trainer.Accuracy(held),
                    held.labels.size());
        if (tests.size() > 1) std::printf(" (%s)", test.c_str());
        if (trainer.Members() > 1) {
            std::printf("; the members alone:");
            for (int m = 0; m < trainer.Members(); ++m)
                std::printf(" %.2f %%", 100 * trainer.Accuracy(held, m));
        }
        std::printf("\n");
        if (first > 0) PrintAmong(trainer, held, first, last);
    }
    if (!trainer.Write(argv[i + 1], &error)) {
        std::fprintf(stderr, "lexora-train: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
