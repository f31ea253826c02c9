// The one-request web terminal; see HTTPTerminal.h. The target is cut at "?" into
// the path and the query; the last "/" piece of the path, decoded, is the script
// name, and the query's "&"-separated name=value pairs become StringInputs in the
// context. The name then goes into "root.mnt.%s()", which is why it must be a
// plain identifier.
#include "core/HTTPTerminal.h"

#include <cstdio>
#include <cstring>

#include "core/Arguments.h"
#include "core/Expander.h"
#include "core/Lexer.h"
#include "core/StringInput.h"
#include "core/Terminal.h"
#include "core/TextCodec.h"

namespace {
// The longest script name run (the longest file name of the file system).
constexpr size_t kMaxScriptName = 255;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

bool IsScriptName(const std::string& name) {
    if (name.empty() || name.size() > kMaxScriptName) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
    }
    return true;
}

// Stores each name=value pair of the query as a text in the context.
void StoreParameters(std::string_view query, Interface* context) {
    int count = 0;
    while (!query.empty() && count < HTTPTerminal::kMaxParameters) {
        size_t end = query.find('&');
        std::string_view pair = query.substr(0, end);
        query = end == std::string_view::npos ? std::string_view() : query.substr(end + 1);
        if (pair.empty()) continue;
        ++count;
        size_t equals = pair.find('=');
        std::string name = UrlDecode(pair.substr(0, equals));
        if (name.empty()) continue;
        std::string value =
            equals == std::string_view::npos ? std::string() : UrlDecode(pair.substr(equals + 1));
        // Held around the store, so a context that keeps nothing lets it go again.
        auto* text = new StringInput(value);
        text->AddRef();
        context->Set(name.data(), static_cast<int>(name.size()), text, 0);
        text->Release();
    }
}
} // namespace

std::string UrlDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && text.size() - i > 2) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

HTTPTerminal::HTTPTerminal(Input* source, Output* target) : reader_(source), target_(target) {
    target_->AddRef();
    target_->Write("HTTP/1.1 200 OK\r\n");
}

HTTPTerminal::~HTTPTerminal() {
    target_->Release();
}

const char* HTTPTerminal::Read(int* length, int* kind) {
    int n = 0;
    const char* line = reader_.Read(&n, nullptr);
    if (!line) return nullptr;
    int size = 0;
    auto* first = static_cast<const char*>(std::memchr(line, ' ', n));
    auto* second = first
                       ? static_cast<const char*>(std::memchr(first + 1, ' ', line + n - first - 1))
                       : nullptr;
    if (second) {
        size = static_cast<int>(second - first - 1);
        std::memcpy(request_, first + 1, size);
        request_[size++] = '&';
    }
    request_[size] = 0;
    if (length) *length = size;
    if (kind) *kind = kKindText;
    return request_;
}

void HTTPTerminal::Write(const char* data, int count) {
    if (state_ != kHeaders) return;
    if (count < 0) count = 0;
    char header[64];
    std::snprintf(header, sizeof header, "Content-Length: %d%s%s", count, "\r\n", "\r\n");
    target_->Write(header);
    target_->Write(data, count);
    state_ = kBlockBody;
}

void HTTPTerminal::WriteLine(const char* text) {
    if (state_ == kHeaders) {
        target_->Write("\r\n", 2);
        state_ = kTextBody;
    }
    target_->Write(text);
    target_->Write("\r\n", 2);
}

// Wide messages are text lines too, not a body block.
void HTTPTerminal::WriteLineWide(const wchar_t* text) {
    WriteLine(talvik::WideToLatin2(text).c_str());
}

void HTTPTerminal::SetContentType(const char* mime) {
    if (state_ != kHeaders) return;
    target_->Write("Content-Type: ");
    target_->Write(mime);
    target_->Write("\r\n", 2);
}

Interface* HTTPTerminal::Serve(Interface* context) {
    int length = 0;
    const char* target = Read(&length, nullptr);
    if (!target) return this;
    std::string_view request(target, length);
    size_t question = request.find('?');
    std::string_view path = request.substr(0, question);
    std::string_view query =
        question == std::string_view::npos ? std::string_view() : request.substr(question + 1);
    std::string name = UrlDecode(path.substr(path.rfind('/') + 1));
    if (!name.empty() && name.back() == '&') name.pop_back();
    if (!IsScriptName(name)) return this;

    StoreParameters(query, context);
    std::string script = "root.mnt." + name + "()";
    Expander expander(script.c_str());
    Lexer lexer(&expander);
    return context->Interface::Call(&lexer, context);
}

Interface* HTTPTerminal::Call(Input* lexer, Interface* context) {
    if (lexer) lexer->SkipBlock(lexer->Depth());
    if (!context) return nullptr;
    AddRef();
    Interface* result = Serve(context);
    // A request that wrote nothing still gets a complete, empty answer.
    if (state_ == kHeaders) Write("", 0);
    if (result == this) {
        --refs_;
        return result;
    }
    Release();
    return result;
}

Interface* NewHTTPTerminal(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 1);
    Obtained<Input> in;
    Obtained<Output> out;
    if (!TerminalEnds(args.At(0), "HTTPTerminal", &in, &out)) return nullptr;
    return new HTTPTerminal(in.get(), out.get());
}
