// Line expansion for scripts; see Expander.h.
#include "core/Expander.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "core/Report.h"

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsWord(char c) {
    return IsDigit(c) || c == '_' || std::isalpha(static_cast<unsigned char>(c));
}
bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int SkipBlanks(const char* s, int i, int n) {
    while (i < n && IsBlank(s[i]))
        ++i;
    return i;
}

// Reads a run of digits at s[i..n); the value is clamped so that loop arithmetic
// cannot overflow. Returns the index after the digits (i when there are none).
int ReadDigits(const char* s, int i, int n, long long* value) {
    long long v = 0;
    int start = i;
    for (; i < n && IsDigit(s[i]); ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > 0x7fffffff) v = 0x7fffffff;
    }
    if (i > start) *value = v;
    return i;
}
} // namespace

Expander::Expander(const char* text)
    : Expander(text, text ? static_cast<int>(std::strlen(text)) : 0) {}

// A NUL ends a text, as it ends an upstream chunk.
Expander::Expander(const char* text, int length)
    : chunk_(text), chunkLength_(length), out_(new char[kCapacity + 1]) {
    out_[0] = 0;
    const void* nul = text && length > 0 ? std::memchr(text, 0, length) : nullptr;
    if (nul) chunkLength_ = static_cast<int>(static_cast<const char*>(nul) - text);
}

Expander::Expander(Input* upstream) : upstream_(upstream), out_(new char[kCapacity + 1]) {
    out_[0] = 0;
}

bool Expander::HaveChunk() {
    while (!chunk_ || position_ >= chunkLength_) {
        if (!upstream_) return false;
        int length = 0, kind = 0;
        const char* next = upstream_->Read(&length, &kind);
        if (!next) {
            chunk_ = nullptr;
            return false;
        }
        chunk_ = next;
        chunkLength_ = length < 0 ? 0 : length;
        position_ = 0;
        kind_ = kind;
        // A NUL inside a chunk ends it.
        const void* nul = std::memchr(chunk_, 0, chunkLength_);
        if (nul) chunkLength_ = static_cast<int>(static_cast<const char*>(nul) - chunk_);
    }
    return true;
}

const char* Expander::Read(int* length, int* kind) {
    if (!HaveChunk()) return nullptr;
    const char* start = chunk_ + position_;
    int rest = chunkLength_ - position_;
    int n = 0;
    while (n < rest && start[n] != '\n' && start[n] != 0)
        ++n;
    position_ += n;
    while (position_ < chunkLength_ && chunk_[position_] == '\n')
        ++position_;

    int kept = n > kMaxLine ? kMaxLine : n;
    char line[kMaxLine + 1];
    std::memcpy(line, start, kept);
    line[kept] = 0;

    outLength_ = 0;
    out_[0] = 0;
    full_ = false;
    int i = SkipBlanks(line, 0, kept);
    bool isFor = kept - i > 3 && !std::strncmp(line + i, "for", 3) && IsBlank(line[i + 3]);
    if (!isFor || !ExpandFor(line + i, kept - i)) ExpandRange(line + i, kept - i);

    if (length) *length = outLength_;
    if (kind) *kind = upstream_ ? kind_ : 0;
    return out_.get();
}

const char* Expander::Current(int* length, int* kind) {
    if (length) *length = outLength_;
    if (kind) *kind = upstream_ ? kind_ : 0;
    return out_.get();
}

void Expander::Rewind() {
    position_ = 0;
    if (!upstream_) return;
    upstream_->Rewind();
    chunk_ = nullptr;
}

bool Expander::Append(const char* text, int count) {
    if (full_) return false;
    if (outLength_ + count > kCapacity) {
        full_ = true;
        std::fputs("Ups\n", stdout);
        std::fflush(stdout);
        return false;
    }
    std::memcpy(out_.get() + outLength_, text, count);
    outLength_ += count;
    out_[outLength_] = 0;
    return true;
}

bool Expander::AppendNumber(long long number) {
    char digits[24];
    int n = std::snprintf(digits, sizeof digits, "%lld", number);
    return Append(digits, n);
}

void Expander::ExpandRange(const char* s, int n) {
    int done = 0; // s[0..done) is already in the output
    bool quoted = false;
    int i = 0;
    while (i < n) {
        char c = s[i];
        if (c == '\\') {
            i += 2;
            continue;
        }
        if (c == '"' || c == '\'') {
            quoted = !quoted;
            ++i;
            continue;
        }
        if (c != '[' || quoted) {
            ++i;
            continue;
        }
        int prefix = i;
        while (prefix > done && IsWord(s[prefix - 1]))
            --prefix;
        if (!Append(s + done, prefix - done)) return;
        done = prefix;

        long long first = 0, last = 0;
        int j = SkipBlanks(s, i + 1, n);
        int k = ReadDigits(s, j, n, &first);
        bool ok = k > j;
        if (ok) {
            j = SkipBlanks(s, k, n);
            int points = 0;
            while (j + points < n && s[j + points] == '.')
                ++points;
            ok = points == 2;
            j += points;
        }
        if (ok) {
            j = SkipBlanks(s, j, n);
            k = ReadDigits(s, j, n, &last);
            ok = k > j;
            j = ok ? SkipBlanks(s, k, n) : j;
        }
        ok = ok && j < n && s[j] == ']';
        if (!ok) {
            // Not a range: the text up to here stays as it was.
            if (!Append(s + done, j - done)) return;
            done = i = j;
            continue;
        }
        for (long long v = first; v <= last; ++v) {
            if (v > first && !Append(",", 1)) return;
            if (!Append(s + prefix, i - prefix) || !AppendNumber(v)) return;
        }
        done = i = j + 1;
    }
    Append(s + done, n - done);
}

// A for-line: "for", a loop name of letters, an optional colon, first..last, body.
// Returns false when the line does not have that form.
bool Expander::ExpandFor(const char* s, int n) {
    int i = SkipBlanks(s, 3, n);
    int nameStart = i;
    while (i < n && IsAsciiLetter(s[i]))
        ++i;
    int nameLength = i - nameStart;
    const char* name = s + nameStart;
    i = SkipBlanks(s, i, n);
    if (i < n && s[i] == ':') i = SkipBlanks(s, i + 1, n);
    long long first = 0, last = 0;
    int k = ReadDigits(s, i, n, &first);
    if (k == i) return false;
    i = k;
    int points = i;
    while (i < n && s[i] == '.')
        ++i;
    if (i == points) return false;
    k = ReadDigits(s, i, n, &last);
    if (k == i) return false;
    i = SkipBlanks(s, k, n);
    const char* body = s + i;
    int bodyLength = n - i;
    if (bodyLength == 0) return true; // nothing to repeat, however many times

    for (long long v = first; v <= last; ++v) {
        char copy[kMaxBody];
        int c = 0;
        for (int b = 0; b < bodyLength && c < kMaxBody;) {
            bool match = body[b] == '[' && bodyLength - b - 1 >= nameLength &&
                         !strncasecmp(body + b + 1, name, nameLength);
            if (!match) {
                copy[c++] = body[b++];
                continue;
            }
            int m = SkipBlanks(body, b + 1 + nameLength, bodyLength);
            long long value = v;
            char op = m < bodyLength ? body[m] : 0;
            if (op && std::strchr("+-*/%", op)) {
                long long operand = 0;
                int d = SkipBlanks(body, m + 1, bodyLength);
                if (ReadDigits(body, d, bodyLength, &operand) > d) {
                    if ((op == '/' || op == '%') && operand == 0)
                        report("Warning: division by zero in for-line, loop value used");
                    else
                        value = op == '+'   ? v + operand
                                : op == '-' ? v - operand
                                : op == '*' ? v * operand
                                : op == '/' ? v / operand
                                            : v % operand;
                }
            }
            const char* close =
                static_cast<const char*>(std::memchr(body + m, ']', bodyLength - m));
            b = close ? static_cast<int>(close - body) + 1 : bodyLength;
            char digits[24];
            int d = std::snprintf(digits, sizeof digits, "%lld", value);
            for (int x = 0; x < d && c < kMaxBody; ++x)
                copy[c++] = digits[x];
        }
        if (!Append(copy, c)) break;
    }
    return true;
}
