// lexora-train: trains the recogniser's letter network from training lines and writes
// it in the formats the engine's ANNEvaluator reads.
//
//   lexora-train [-hidden H] [-epochs E] [-seed S] [-jitter J] [-softmax] [-test FILE] TRAIN
//   OUT.net
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
// accuracy on held-out lines in the same format. -jitter J (default 0.15) is the
// deviation of the noise added to the standardised cues while training.
#include "lexora-train/Trainer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    TrainerOptions options;
    std::string test;
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
        } else if (!std::strcmp(argv[i], "-jitter")) {
            options.jitter = std::atof(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "-test")) {
            test = argv[i + 1];
        } else {
            break;
        }
    }
    if (argc - i != 2 || options.hidden < 1 || options.epochs < 1) {
        std::fprintf(stderr,
                     "usage: lexora-train [-hidden H] [-epochs E] [-seed S] [-jitter J] [-softmax] "
                     "[-test FILE] TRAIN OUT.net\n");
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
    if (!test.empty()) {
        Samples held;
        if (!ReadSamples(test, &held, &error)) {
            std::fprintf(stderr, "lexora-train: %s\n", error.c_str());
            return 1;
        }
        std::printf("held-out accuracy %.2f %% over %zu lines\n", 100 * trainer.Accuracy(held),
                    held.labels.size());
    }
    if (!trainer.Write(argv[i + 1], &error)) {
        std::fprintf(stderr, "lexora-train: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
