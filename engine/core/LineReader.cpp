// Lines out of arbitrary chunks; see LineReader.h.
#include "core/LineReader.h"

LineReader::LineReader(Input* source) : source_(source) {
    source_->AddRef();
}

LineReader::~LineReader() {
    source_->Release();
}

// The source's next chunk; false at its end, which is then remembered.
bool LineReader::Fetch() {
    if (end_) return false;
    int length = 0, kind = 0;
    const char* chunk = source_->Read(&length, &kind);
    if (!chunk) {
        end_ = true;
        chunk_ = nullptr;
        left_ = 0;
        return false;
    }
    chunk_ = chunk;
    left_ = length < 0 ? 0 : length;
    return true;
}

const char* LineReader::Read(int* length, int* kind) {
    int n = 0;
    for (;;) {
        while (left_ > 0 && n<kMaxLine&& static_cast<unsigned char>(*chunk_)> 12) {
            line_[n++] = *chunk_++;
            --left_;
        }
        // Stopped at a line end, or full: the line is done. Otherwise the chunk ran out.
        if (left_ > 0 || n == kMaxLine || !Fetch()) break;
    }
    if (left_ > 0 && static_cast<unsigned char>(*chunk_) < 32) {
        ++chunk_;
        --left_;
    }
    line_[n] = 0;
    length_ = n;
    if (n == 0 && end_) return nullptr;
    return Current(length, kind);
}

const char* LineReader::Current(int* length, int* kind) {
    if (length) *length = length_;
    if (kind) *kind = kKindText;
    return line_;
}

void LineReader::Rewind() {
    source_->Rewind();
    chunk_ = nullptr;
    left_ = 0;
    end_ = false;
}
