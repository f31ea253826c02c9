// Reading along; see LxReadAlong.h.
#include "therapy/LxReadAlong.h"

#include <cstring>

#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "shell/LxUserRecords.h"
#include "therapy/LxTasks.h"

namespace {
// Word ends; the blank of the texts is a space, or "_" where a text codes it so.
const char* const kWordEnds = " _,.?!:;";
constexpr unsigned char kMark = '$';
constexpr unsigned char kUnsureLetter = '*';

// The letter of a recogniser class: its place in the therapy letter order; none for a
// class outside it (-1 when nothing was recognised).
unsigned char ClassLetter(int bestClass) {
    const unsigned char* order = TherapyOrder();
    if (bestClass < 0 || bestClass >= int(std::strlen(reinterpret_cast<const char*>(order))))
        return 0;
    return order[bestClass];
}

void AddLetter(std::string* letters, unsigned char c) {
    if (c && letters->find(char(c)) == std::string::npos &&
        int(letters->size()) < CLxReadAlong::kMaxMarked)
        letters->push_back(char(c));
}
} // namespace

bool CLxReadAlong::EndsWord(unsigned char c) {
    return c && std::strchr(kWordEnds, c);
}

std::string CLxReadAlong::PractisedLetters() {
    std::string letters;
    for (int k = 1; k < kTaskValues; ++k) {
        unsigned char c = TaskLetter(k);
        if (!c || g_aTaskValues[k] < 0) continue;
        for (unsigned char form : {c, LongForm(c)}) {
            AddLetter(&letters, form);
            AddLetter(&letters, ToUpper(form));
        }
    }
    return letters;
}

std::string CLxReadAlong::MarkText(const std::string& text, const std::string& marked) {
    std::string out;
    for (char c : text) {
        if (int(out.size()) >= kMaxText) break;
        if (c != 0 && marked.find(c) != std::string::npos && int(out.size()) + 2 <= kMaxText)
            out.push_back(char(kMark));
        out.push_back(c);
    }
    return out;
}

unsigned char CLxReadAlong::At(int i) const {
    return i >= 0 && i < int(m_text.size()) ? static_cast<unsigned char>(m_text[size_t(i)]) : 0;
}

unsigned char CLxReadAlong::Expected() const {
    unsigned char c = At(m_nCaret);
    return c ? ShortForm(ToLower(c)) : 0;
}

int CLxReadAlong::WordEnd(int i) const {
    while (i < int(m_text.size()) && !EndsWord(At(i)))
        ++i;
    return i;
}

void CLxReadAlong::SelectFirstWord() {
    m_nSelStart = 0;
    m_nSelEnd = WordEnd(0) - 1;
}

void CLxReadAlong::SelectNextWord() {
    int start = m_nSelEnd + 2;
    while (At(start) == '_' || At(start) == ' ')
        ++start;
    int end = WordEnd(start);
    if (start >= int(m_text.size()) || end == start) return SelectFirstWord();
    m_nSelStart = start;
    m_nSelEnd = end - 1;
}

void CLxReadAlong::Start(const std::string& marked, int nowMs) {
    m_text = marked.substr(0, kMaxText);
    m_nCaret = 0;
    SelectFirstWord();
    m_nState = At(0) == kMark ? kWaiting : kPause;
    m_nTime = nowMs;
    m_cHeard = 0;
    m_cExpected = Expected();
}

void CLxReadAlong::Listen(bool silence, int bestClass, float score, int nowMs, bool* changed) {
    m_nExpectedColour = kListenColour;
    if (silence) {
        if (nowMs - m_nTime > kSilenceMs) m_nState = kPause, m_nTime = nowMs;
        return;
    }
    m_nTime = nowMs;
    unsigned char heard = score > kSure ? ClassLetter(bestClass) : 0;
    m_cHeard = heard ? heard : kUnsureLetter;
    unsigned char e = Expected();
    if (!e || EndsWord(e)) return;
    if (!(IsVowel(e) && TherapyPlace(e) > 0)) {
        if (score < kUnsure) ++m_nCaret;
        return;
    }
    if (score <= kSure) return;
    m_nState = kHeard;
    if (heard != e) {
        ++m_nCaret;
    } else if (m_nCaret > 0 && At(m_nCaret - 1) == kMark) {
        m_text.erase(size_t(m_nCaret - 1), 1);
        --m_nSelEnd;
        *changed = true;
    }
}

bool CLxReadAlong::Step(bool silence, int bestClass, float score, int nowMs) {
    bool changed = false;
    switch (m_nState) {
    case kPause:
        m_nExpectedColour = kPauseColour;
        if (silence) {
            if (nowMs - m_nTime <= kPauseMs) break;
            unsigned char e = Expected();
            if (!e || EndsWord(e)) SelectNextWord();
            m_nCaret = m_nSelStart;
            m_nState = kWaiting;
        } else {
            if (At(m_nCaret) == ' ') ++m_nCaret;
            m_nState = kListening;
            m_nTime = nowMs;
        }
        break;
    case kWaiting:
        if (!silence) m_nTime = nowMs, m_nState = kListening;
        break;
    case kListening:
        Listen(silence, bestClass, score, nowMs, &changed);
        break;
    default:
        m_nState = kListening;
        m_nTime = nowMs;
        break;
    }
    m_cExpected = Expected();
    return changed;
}
