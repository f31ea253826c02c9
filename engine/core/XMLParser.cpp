// The language-file reader; see XMLParser.h. The document owns its nodes in one list,
// so neither parsing (a loop with the open element as its state) nor destruction
// recurses: a deeply nested file cannot exhaust the stack.
#include "core/XMLParser.h"

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>

#include "core/Path.h"
#include "core/Report.h"
#include "core/TextCodec.h"

namespace {
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

void SkipBlanks(const std::wstring& text, size_t& i) {
    while (i < text.size() && IsBlank(text[i]))
        ++i;
}

// The end of a name starting at i: the first blank or one of stops.
size_t NameEnd(const std::wstring& text, size_t i, const wchar_t* stops) {
    while (i < text.size() && !IsBlank(text[i]) && !std::wcschr(stops, text[i]))
        ++i;
    return i;
}

void Append(XMLNode* node, XMLNode*& first, XMLNode*& last) {
    node->previous = last;
    (last ? last->next : first) = node;
    last = node;
}

std::vector<std::wstring> Split(const std::wstring& value, const std::wstring& separators) {
    std::vector<std::wstring> items;
    size_t at = 0;
    while (at <= value.size()) {
        size_t end = value.find_first_of(separators, at);
        if (end == std::wstring::npos) end = value.size();
        if (end > at) items.push_back(value.substr(at, end - at));
        at = end + 1;
    }
    return items;
}
} // namespace

XMLNode* XMLNode::FindAttribute(const std::wstring& attribute) const {
    for (XMLNode* a = firstAttribute; a; a = a->next)
        if (a->name == attribute) return a;
    return nullptr;
}

XMLNode* XMLParser::NewNode(XMLNode::Kind kind, XMLNode* parent) {
    nodes_.push_back(std::make_unique<XMLNode>());
    XMLNode* node = nodes_.back().get();
    node->kind = kind;
    node->parent = parent;
    if (parent && kind != XMLNode::kAttribute) Append(node, parent->firstChild, parent->lastChild);
    return node;
}

bool XMLParser::Load(const std::string& file) {
    nodes_.clear();
    base_ = current_ = NewNode(XMLNode::kElement, nullptr);
    base_->name = L"__ROOT";
    path_.clear();
    std::ifstream in(talvik::OsPath(file, true), std::ios::binary);
    if (!in) {
        report("XMLParser: File Not Found %s", file.c_str());
        return false;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bool utf16 = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                 static_cast<unsigned char>(bytes[1]) == 0xFE;
    Parse(utf16 ? talvik::Utf16LeToWide(std::string_view(bytes).substr(2))
                : talvik::Latin2ToWide(bytes));
    return true;
}

void XMLParser::ParseAttributes(const std::wstring& text, size_t& i, XMLNode* element) {
    for (;;) {
        SkipBlanks(text, i);
        if (i >= text.size() || text[i] == L'/' || text[i] == L'>') return;
        size_t end = i + 1;
        while (end < text.size() && text[end] != L'=' && !IsBlank(text[end]))
            ++end;
        std::wstring name = text.substr(i, end - i);
        size_t open = text.find_first_of(L" \"", end);
        size_t start = open == std::wstring::npos ? text.size() : open + 1;
        size_t close = text.find(L'"', start);
        if (close == std::wstring::npos) close = text.size();
        XMLNode* attribute = element->FindAttribute(name);
        if (!attribute) {
            attribute = NewNode(XMLNode::kAttribute, element);
            attribute->name = name;
            Append(attribute, element->firstAttribute, element->lastAttribute);
        }
        attribute->value = text.substr(start, close - start);
        i = close + 1;
    }
}

void XMLParser::Parse(const std::wstring& text) {
    size_t i = 0;
    for (;;) {
        i = text.find(L'<', i);
        if (i == std::wstring::npos) return;
        if (i + 1 >= text.size() || text[i + 1] != L'?') break;
        ++i;
    }
    ++i;
    SkipBlanks(text, i);
    size_t end = NameEnd(text, i, L">");
    XMLNode* open = NewNode(XMLNode::kElement, base_);
    open->name = text.substr(i, end - i);
    i = end;
    ParseAttributes(text, i, open);
    if (i < text.size()) ++i; // past "/" or ">"
    while (open != base_ && i < text.size()) {
        size_t tag = text.find(L'<', i);
        size_t stop = tag == std::wstring::npos ? text.size() : tag;
        if (stop > i) NewNode(XMLNode::kText, open)->value = text.substr(i, stop - i);
        if (tag == std::wstring::npos) return;
        i = tag + 1;
        if (i < text.size() && text[i] == L'/') {
            size_t close = text.find(L'>', i);
            i = close == std::wstring::npos ? text.size() : close + 1;
            open = open->parent;
            continue;
        }
        SkipBlanks(text, i);
        end = NameEnd(text, i, L"/>");
        XMLNode* child = NewNode(XMLNode::kElement, open);
        child->name = text.substr(i, end - i);
        i = end;
        ParseAttributes(text, i, child);
        bool empty = i < text.size() && text[i] == L'/';
        if (empty) {
            size_t close = text.find(L'>', i);
            i = close == std::wstring::npos ? text.size() : close + 1;
        } else {
            if (i < text.size()) ++i;
            open = child;
        }
    }
}

bool XMLParser::Step(const std::wstring& path, size_t& i) {
    if (path.compare(i, 2, L"./") == 0) {
        i += 2;
        return true;
    }
    if (path.compare(i, 3, L"../") == 0) {
        i += 3;
        if (current_->parent) {
            current_ = current_->parent;
            return true;
        }
        std::fputs("error: there is no more parent node", stderr);
        current_ = base_;
        return false;
    }
    if (path[i] == L'/') {
        ++i;
        current_ = base_;
        path_.clear();
        return true;
    }
    size_t end = path.find(L'/', i);
    if (end == std::wstring::npos) end = path.size();
    std::wstring step = path.substr(i, end - i);
    i = end < path.size() ? end + 1 : end;
    if (step.size() > 1 && step[0] == L'#' && std::iswdigit(step[1])) {
        size_t digits = 1;
        while (digits < step.size() && std::iswdigit(step[digits]))
            ++digits;
        long wanted = std::wcstol(step.c_str() + 1, nullptr, 10);
        std::wstring name =
            digits < step.size() && step[digits] == L'#' ? step.substr(digits + 1) : std::wstring();
        long seen = 0;
        for (XMLNode* c = current_->firstChild; c; c = c->next) {
            if (c->kind != XMLNode::kElement || (!name.empty() && c->name != name)) continue;
            if (++seen < wanted) continue;
            current_ = c;
            path_ += L"/#" + std::to_wstring(wanted) + L"#" + name;
            return true;
        }
        return false;
    }
    step = step.substr(0, 49);
    XMLNode* byId = nullptr;
    for (XMLNode* c = current_->firstChild; c; c = c->next) {
        if (c->kind != XMLNode::kElement) continue;
        if (c->name == step) {
            current_ = c;
            path_ += L"/" + step;
            return true;
        }
        XMLNode* id = c->FindAttribute(L"ID");
        if (!byId && id && id->value == step) byId = c;
    }
    if (!byId) return false;
    current_ = byId;
    path_ += L"/" + step;
    return true;
}

bool XMLParser::Go(const std::wstring& path) {
    if (!current_) return false;
    size_t i = 0;
    while (i < path.size())
        if (!Step(path, i)) return false;
    return true;
}

int XMLParser::AttributeLength(const std::wstring& name) const {
    XMLNode* a = current_ ? current_->FindAttribute(name) : nullptr;
    return a ? static_cast<int>(a->value.size()) : -1;
}

bool XMLParser::Attribute(const std::wstring& name, std::wstring* value) const {
    XMLNode* a = current_ ? current_->FindAttribute(name) : nullptr;
    if (a) *value = a->value;
    return a != nullptr;
}

int XMLParser::AttributeInt(const std::wstring& name, int fallback) const {
    std::wstring value;
    if (!Attribute(name, &value)) return fallback;
    return static_cast<int>(std::wcstol(value.substr(0, 99).c_str(), nullptr, 10));
}

int XMLParser::CountItems(const std::wstring& name, const std::wstring& separators) const {
    std::wstring value;
    if (!Attribute(name, &value)) return -1;
    return static_cast<int>(Split(value, separators).size());
}

std::vector<int> XMLParser::IntItems(const std::wstring& name,
                                     const std::wstring& separators) const {
    std::vector<int> numbers;
    for (const std::wstring& item : StringItems(name, separators)) {
        int n = 0;
        std::swscanf(item.c_str(), L"%d", &n);
        numbers.push_back(n);
    }
    return numbers;
}

std::vector<double> XMLParser::DoubleItems(const std::wstring& name,
                                           const std::wstring& separators) const {
    std::vector<double> numbers;
    for (const std::wstring& item : StringItems(name, separators)) {
        double d = 0;
        std::swscanf(item.c_str(), L"%lf", &d);
        numbers.push_back(d);
    }
    return numbers;
}

std::vector<std::wstring> XMLParser::StringItems(const std::wstring& name,
                                                 const std::wstring& separators) const {
    std::wstring value;
    if (!Attribute(name, &value)) return {};
    return Split(value, separators);
}
