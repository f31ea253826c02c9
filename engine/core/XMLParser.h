// The engine's reader of language description files: it loads a whole file into a
// tree of elements, attributes and text, moves a cursor through the tree by slash-
// separated paths ("/LANGUAGE/AUTOMATA/AUTOMATON", "#2#ITEM", "../"), and reads the
// current element's attributes as integers and as lists of numbers or strings.
//
// It is lenient and partial: start tags, end tags (not checked against their start),
// empty-element tags and double-quoted attributes, nothing else of XML; processing
// instructions before the top element are skipped, references are not decoded. Text
// is wide throughout; a file starting with FF FE is UTF-16LE, any other is Latin-2.
// It is not a script class; the number automaton uses it directly.
#pragma once
#include <memory>
#include <string>
#include <vector>

class XMLNode {
  public:
    enum Kind { kAttribute = 0, kElement = 1, kText = 2 };

    std::wstring name, value;
    Kind kind = kElement;
    XMLNode* parent = nullptr;
    XMLNode *firstChild = nullptr, *lastChild = nullptr;
    XMLNode *previous = nullptr, *next = nullptr;
    XMLNode *firstAttribute = nullptr, *lastAttribute = nullptr;

    // The attribute of that name, or nullptr.
    XMLNode* FindAttribute(const std::wstring& attribute) const;
};

class XMLParser {
  public:
    // Discards the previous document and reads a file: true when it could be read (its
    // text is then whatever the rules make of it). A missing file is reported.
    bool Load(const std::string& file);
    // Moves the cursor step by step: true when every step was found; a step that finds
    // nothing leaves the cursor on the last element reached.
    bool Go(const std::wstring& path);

    // The length of an attribute's value of the current element; -1 when missing.
    int AttributeLength(const std::wstring& name) const;
    bool Attribute(const std::wstring& name, std::wstring* value) const;
    // The value as a decimal integer, or fallback when there is no such attribute.
    int AttributeInt(const std::wstring& name, int fallback) const;
    // The non-empty items of the value split at any of the separators; -1 when missing.
    int CountItems(const std::wstring& name, const std::wstring& separators) const;
    std::vector<int> IntItems(const std::wstring& name, const std::wstring& separators) const;
    std::vector<double> DoubleItems(const std::wstring& name, const std::wstring& separators) const;
    std::vector<std::wstring> StringItems(const std::wstring& name,
                                          const std::wstring& separators) const;

    XMLNode* Current() const { return current_; }
    const std::wstring& Path() const { return path_; }

  private:
    XMLNode* NewNode(XMLNode::Kind kind, XMLNode* parent);
    void Parse(const std::wstring& text);
    // Reads the attributes of the tag at i into element; i ends on "/", ">" or the end.
    void ParseAttributes(const std::wstring& text, size_t& i, XMLNode* element);
    // One step of a path from position i; false when it found nothing.
    bool Step(const std::wstring& path, size_t& i);

    std::vector<std::unique_ptr<XMLNode>> nodes_; // every node of the document
    XMLNode* base_ = nullptr;                     // "__ROOT"
    XMLNode* current_ = nullptr;
    std::wstring path_;
};
