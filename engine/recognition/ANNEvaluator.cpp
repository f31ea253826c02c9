// ANNEvaluator(file, cue, cue, ...): scores a segment with a perceptron fed by
// acoustic cues. Each cue's value is centred and scaled by the means and deviations of
// the transformation file ("file" with its extension replaced by "trf"), optionally
// multiplied by its matrix T (nInputs rows of Q values), and run through the network
// read from "file"; output j is score j + 1.
//
// The transformation file is text: a line "#norm" starts a section whose first line
// holds the Q means and second the Q deviations; "#tran" starts the rows of T; other
// "#" lines start sections that are ignored. Values are separated by blanks, commas
// or tabs. A missing file leaves mean 0, deviation 1 and no T. Without T the cues go
// to the network as they are, so their number must equal its inputs; an evaluator
// whose network or inputs do not fit is refused with a message.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ACue.h"
#include "Evaluator.h"
#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Path.h"
#include "core/Report.h"
#include "recognition/Network.h"

namespace {
std::vector<double> Values(const std::string& line) {
    std::vector<double> values;
    size_t at = line.find_first_not_of(" ,\t\r");
    while (at != std::string::npos) {
        size_t end = line.find_first_of(" ,\t\r", at);
        values.push_back(std::strtod(line.substr(at, end - at).c_str(), nullptr));
        at = end == std::string::npos ? end : line.find_first_not_of(" ,\t\r", end);
    }
    return values;
}

std::string TransformationName(const std::string& network) {
    size_t dot = network.rfind('.');
    size_t slash = network.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return network + ".trf";
    return network.substr(0, dot + 1) + "trf";
}

class ANNEvaluator : public ModuleBase, public virtual Evaluator {
  public:
    ANNEvaluator(std::unique_ptr<Network> network, std::vector<ACue*> cues)
        : network_(std::move(network)), cues_(std::move(cues)), means_(cues_.size(), 0.0f),
          inverse_(cues_.size(), 1.0f), x_(cues_.size()), y_(network_->Inputs()) {
        count = network_->Outputs() + 1;
    }
    ~ANNEvaluator() override {
        for (ACue* cue : cues_)
            cue->Release();
    }

    // Reads the transformation file; false when the result cannot feed the network.
    bool ReadTransformation(const std::string& file) {
        std::string text;
        if (!talvik::ReadRegularFile(talvik::OsPath(file, true), talvik::kMaxDataFile, &text)) {
            report("ANNEvaluator: File : %s Not Found", file.c_str());
        } else {
            std::istringstream in(text);
            Read(in, file);
        }
        if (!t_.empty() || cues_.size() == y_.size()) return true;
        report("ANNEvaluator: %s: %d cues for a network of %d inputs", file.c_str(),
               static_cast<int>(cues_.size()), static_cast<int>(y_.size()));
        return false;
    }

    float* Evaluate(int32_t begin, int32_t end) override {
        for (size_t i = 0; i < cues_.size(); ++i)
            x_[i] = (cues_[i]->Value(begin, end) - means_[i]) * inverse_[i];
        const float* input = x_.data();
        if (!t_.empty()) {
            size_t q = cues_.size();
            for (size_t k = 0; k < y_.size(); ++k) {
                double sum = 0;
                for (size_t i = 0; i < q; ++i)
                    sum += static_cast<double>(t_[k * q + i]) * x_[i];
                y_[k] = static_cast<float>(sum);
            }
            input = y_.data();
        }
        scores = const_cast<float*>(network_->Run(input)) - 1;
        return scores;
    }

    void* GetInterface(const char* name) override {
        return AnswerAs<Evaluator>(this, "Evaluator", name);
    }

  private:
    void Read(std::istream& in, const std::string& file) {
        enum { kNone, kNorm, kTran } section = kNone;
        size_t q = cues_.size(), rows = y_.size(), normLines = 0, tranRows = 0;
        bool anyTran = false;
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line[0] == '#') {
                std::string word = line.substr(1, 4);
                section = word == "norm" ? kNorm : word == "tran" ? kTran : kNone;
                if (section == kNorm) normLines = 0;
                if (section == kTran && t_.empty()) t_.assign(rows * q, 0.0f);
                anyTran = anyTran || section == kTran;
                continue;
            }
            if (section == kNone) continue;
            std::vector<double> v = Values(line);
            bool shortLine = v.size() < q;
            v.resize(q, section == kNorm && normLines == 1 ? 1.0 : 0.0);
            if (section == kNorm) {
                if (shortLine || normLines > 1)
                    report("ANNEvaluator: %s: error in vector length", file.c_str());
                if (normLines == 0)
                    for (size_t i = 0; i < q; ++i)
                        means_[i] = static_cast<float>(v[i]);
                if (normLines == 1)
                    for (size_t i = 0; i < q; ++i)
                        inverse_[i] = v[i] != 0 ? static_cast<float>(1.0 / v[i]) : 0.0f;
                ++normLines;
                continue;
            }
            if (tranRows >= rows) {
                report("ANNEvaluator: %s: too many rows in transformation", file.c_str());
                continue;
            }
            if (shortLine) report("ANNEvaluator: %s: error in vector length", file.c_str());
            for (size_t i = 0; i < q; ++i)
                t_[tranRows * q + i] = static_cast<float>(v[i]);
            ++tranRows;
        }
        if (tranRows < rows) report("ANNEvaluator: %s: few data for transformation", file.c_str());
        if (!anyTran) t_.clear();
    }

    std::unique_ptr<Network> network_;
    std::vector<ACue*> cues_;
    std::vector<float> means_, inverse_, x_, y_, t_;
};
} // namespace

Interface* NewANNEvaluator(Input* lexer, Interface* context) {
    Arguments args(lexer, context);
    std::vector<Obtained<ACue>> cues;
    for (int i = 1; i < args.Size(); ++i)
        if (auto cue = args.Get<ACue>(i, "ACue")) cues.push_back(std::move(cue));
    if (cues.empty()) return nullptr;
    std::string file;
    if (!args.GetText(0, &file)) {
        report("ANNEvaluator: First parameter must be 'Input' Interface");
        return nullptr;
    }
    auto network = std::make_unique<Network>();
    std::string error;
    if (!network->Load(file, &error)) {
        report("ANNEvaluator: %s: %s", file.c_str(), error.c_str());
        return nullptr;
    }
    auto* evaluator = new ANNEvaluator(std::move(network), HandOver(cues));
    if (!evaluator->ReadTransformation(TransformationName(file))) {
        delete evaluator; // releases the cues
        return nullptr;
    }
    Hold self(evaluator);
    for (int i = 1; i < args.Size(); ++i)
        if (args.Get<ACue>(i, "ACue")) evaluator->Link(args.At(i));
    return evaluator;
}
