// Script tokens; see Lexer.h.
#include "core/Lexer.h"

#include <array>
#include <cstring>

#include "core/Expander.h"

namespace {
enum : int {
    kWhite = 0,
    kSeparator = 1,
    kLetter = 2,
    kDigit = 3,
    kDoubleQuote = 4,
    kEscape = 5,
    kSign = 6,
    kExponent = 7,
    kPoint = 8,
    kOpen = 9,
    kClose = 10,
    kQuote = 12,
    kOperator = 13,
    kSlash = 14,
    kStar = 15,
    kEndOfLine = 16,
};

struct Tables {
    std::array<unsigned char, 256> a{}, b{};
};

const Tables& CharTables() {
    static const Tables tables = [] {
        Tables t;
        auto& a = t.a;
        for (int c = 0; c < 256; ++c)
            a[c] = kOperator;
        for (int c = 1; c < 32; ++c)
            a[c] = kSeparator;
        for (unsigned char c : {'\b', '\t', ' ', '!', '#', '$', '%', '&', '<'})
            a[c] = kWhite;
        a[','] = a[';'] = kSeparator;
        for (int c = 'a'; c <= 'z'; ++c)
            a[c] = kLetter;
        for (int c = 'A'; c <= 'Z'; ++c)
            a[c] = kLetter;
        a['_'] = kLetter;
        a['E'] = a['e'] = kExponent;
        for (int c = '0'; c <= '9'; ++c)
            a[c] = kDigit;
        a['"'] = kDoubleQuote;
        a['\\'] = kEscape;
        a['+'] = a['-'] = kSign;
        a['.'] = kPoint;
        a['('] = a['['] = a['{'] = kOpen;
        a[')'] = a[']'] = a['}'] = kClose;
        a['\''] = kQuote;
        a['/'] = kSlash;
        a['*'] = kStar;
        t.b = t.a;
        t.b[0] = t.b['\n'] = t.b['\r'] = kEndOfLine;
        return t;
    }();
    return tables;
}

constexpr int kDead = -1;

int StepName(int state, int a) {
    bool start = a == kLetter || a == kExponent || a == kSlash || a == kStar;
    if (state == 0) return start ? 1 : kDead;
    return start || a == kDigit ? 1 : kDead;
}

int StepNumber(int state, int a) {
    switch (state) {
    case 0:
        return a == kDigit ? 2 : a == kSign ? 1 : a == kPoint ? 3 : kDead;
    case 1:
        return a == kDigit ? 2 : a == kPoint ? 3 : kDead;
    case 2:
        return a == kDigit ? 2 : a == kExponent ? 5 : a == kPoint ? 3 : kDead;
    case 3:
        return a == kDigit ? 4 : kDead;
    case 4:
        return a == kDigit ? 4 : a == kSign ? 1 : a == kExponent ? 5 : kDead;
    case 5:
        return a == kDigit ? 7 : a == kSign ? 6 : kDead;
    case 6:
    case 7:
        return a == kDigit ? 7 : kDead;
    }
    return kDead;
}

int StepString(int state, int b) {
    switch (state) {
    case 0:
        return b == kDoubleQuote ? 1 : b == kQuote ? 3 : kDead;
    case 1:
        return b == kDoubleQuote ? 5 : b == kEscape ? 2 : b == kEndOfLine ? kDead : 1;
    case 2:
        return b == kEndOfLine ? kDead : 1;
    case 3:
        return b == kQuote ? 5 : b == kEscape ? 4 : b == kEndOfLine ? kDead : 3;
    case 4:
        return b == kEndOfLine ? kDead : 3;
    }
    return kDead;
}

int StepComment(int state, int b) {
    switch (state) {
    case 0:
        return b == kSlash ? 1 : kDead;
    case 1:
        return b == kSlash ? 3 : b == kStar ? 2 : kDead;
    case 2:
        return b == kStar ? 4 : (b == kOperator || b == kEndOfLine) ? kDead : 2;
    case 3:
        return b == kEndOfLine ? 5 : 3;
    case 4:
        return b == kSlash ? kDead : b == kStar ? 4 : 2;
    }
    return kDead;
}
} // namespace

int Lexer::ClassA(unsigned char c) {
    return CharTables().a[c];
}

Lexer::Lexer(Expander* expander) : expander_(expander) {}

bool Lexer::NextLine() {
    int length = 0, kind = 0;
    const char* line = expander_->Read(&length, &kind);
    if (!line) return false;
    line_ = line;
    position_ = 0;
    return true;
}

void Lexer::SetToken(const char* start, int length, int kind) {
    token_ = start;
    tokenLength_ = length;
    tokenKind_ = kind;
}

const char* Lexer::Read(int* length, int* kind) {
    const auto& a = CharTables().a;
    const auto& b = CharTables().b;
    if (stopped_) {
        int cls = a[At(position_)];
        // Only a separator or a closing bracket holds the lexer; anything else
        // (a caller that skipped Depth after an opening bracket) reads on.
        if (cls == kSeparator || cls == kClose) {
            SetToken(line_ + position_, 1, cls);
            if (length) *length = 1;
            if (kind) *kind = cls;
            return token_;
        }
        stopped_ = false;
    }
    for (;;) {
        while (a[At(position_)] == kWhite)
            ++position_;
        if (At(position_)) break;
        if (!NextLine()) {
            SetToken(nullptr, 0, 0);
            return nullptr;
        }
    }

    int start = position_;
    int name = 0, number = 0, string = 0, comment = 0;
    int tokenKind = 0;
    int i = start;
    for (;;) {
        unsigned char c = At(i);
        if (name != kDead) name = StepName(name, a[c]);
        if (number != kDead) number = StepNumber(number, a[c]);
        if (string != kDead) string = StepString(string, b[c]);
        if (comment != kDead) comment = StepComment(comment, b[c]);
        int alive = comment != kDead  ? kTokenComment
                    : string != kDead ? kTokenString
                    : number != kDead ? kTokenNumber
                    : name != kDead   ? kTokenName
                                      : 0;
        if (!alive || !c) break;
        tokenKind = alive;
        ++i;
    }

    const char* text = line_ + start;
    int n = i - start;
    if (n > 0) {
        position_ = i;
        if (tokenKind == kTokenString) {
            if (*text != '"') tokenKind = kTokenName;
            ++text;
            --n;
            if (n > 0 && (text[n - 1] == '"' || text[n - 1] == '\'')) --n;
        }
        if (At(position_) == '.') {
            ++position_;
            if (tokenKind == kTokenName) tokenKind = kTokenPathStep;
        }
    } else {
        tokenKind = a[At(start)];
        n = 1;
        if (tokenKind == kOpen) {
            ++position_;
            ++depth_;
            stopped_ = true;
        } else if (tokenKind == kClose) {
            stopped_ = true;
        } else if (tokenKind != kSeparator) {
            ++position_;
        }
    }
    if (a[At(position_)] == kSeparator) stopped_ = true;
    ++consumed_;
    SetToken(text, n, tokenKind);
    if (length) *length = n;
    if (kind) *kind = tokenKind;
    return text;
}

const char* Lexer::Current(int* length, int* kind) {
    if (length) *length = tokenLength_;
    if (kind) *kind = tokenKind_;
    return token_;
}

void Lexer::Rewind() {
    position_ = 0;
    stopped_ = false;
}

int Lexer::Depth() {
    stopped_ = false;
    return depth_;
}

void Lexer::SkipBlock(int level) {
    const auto& a = CharTables().a;
    bool lastWasClose = false;
    do {
        for (;;) {
            while (a[At(position_)] == kWhite)
                ++position_;
            if (At(position_)) break;
            if (!NextLine()) {
                SetToken(nullptr, 0, 0);
                stopped_ = stopAtSeparator_ = false;
                return;
            }
        }
        unsigned char c = At(position_);
        int cls = a[c];
        lastWasClose = cls == kClose;
        if (cls == kOpen) {
            ++position_;
            ++depth_;
        } else if (cls == kClose) {
            ++position_;
            --depth_;
        } else if (cls == kSeparator) {
            ++position_;
            if (depth_ < level && stopAtSeparator_) {
                while (a[At(position_)] == kSeparator)
                    ++position_;
                break;
            }
        } else if (c == '/' && At(position_ + 1) == '/') {
            position_ += static_cast<int>(std::strlen(line_ + position_));
        } else if (c == '/' && At(position_ + 1) == '*') {
            const char* end = std::strstr(line_ + position_ + 2, "*/");
            position_ = end ? static_cast<int>(end - line_) + 2
                            : position_ + static_cast<int>(std::strlen(line_ + position_));
        } else if (c == '"' || c == '\'') {
            ++position_;
            while (At(position_) && !(At(position_) == c && line_[position_ - 1] != '\\'))
                ++position_;
            if (At(position_)) ++position_;
        } else {
            ++position_;
            while (At(position_) && a[At(position_)] == cls)
                ++position_;
        }
    } while (depth_ >= level);

    stopped_ = stopAtSeparator_ = false;
    if (depth_ < level - 1) {
        depth_ = level - 1;
        if (lastWasClose) --position_;
        stopped_ = true;
        SetToken(line_ + position_, 1, kTokenClose);
        return;
    }
    SetToken(line_ + position_, 0, 0);
    if (a[At(position_)] == kSeparator) stopped_ = true;
}

void Lexer::SkipItem(int level) {
    stopAtSeparator_ = true;
    SkipBlock(level + 1);
}
