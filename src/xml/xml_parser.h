#pragma once
// Reads a document's bytes into the node tree of an XmlDocument.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "xml/xml_arena.h"

#include "xml/xml_node.h"
#include "xml/xml_scanner.h"
#include "xml/xml_types.h"

namespace cvu {

class XmlParser {
 public:
  // Elements and document types may nest this deep; one level more fails with
  // kNestingError, so that no input can exhaust the stack.
  static constexpr int kMaxNesting = 256;
  static constexpr const char* kNestingError = "Elements nested too deeply in xml";

  // The nodes and the texts they view go into arena, which must hold bytes too, since
  // UTF-8 input is read in place.
  XmlParser(XmlNode::WithDocument& rootNodes, XmlArena& arena, std::string_view bytes);

  // Fills rootNodes with the top-level nodes; returns the encoding in force at the end.
  StringEncoding Parse();

 private:
  // A node while it is read, on the stack: its children point at it until it takes its
  // place in the arena, in the smallest layout that holds what it has.
  struct Reading {
    Reading(XmlNode& parent, TXmlElementType type) : node(&parent, type) {}
    XmlNode node;
    std::span<const XmlNodeRef> nodes;
    std::span<const std::string_view> attributes;
  };

  void StartText(std::size_t byteOffset);
  void FollowDeclaration(const XmlNode& declaration);
  XmlNode* ReadNode(XmlNode& parent, int depth);
  XmlNode* Place(const Reading& read);
  void ReadTagOfKind(Reading& read, int depth);
  void ReadSimpleValue(XmlNode& node, std::string_view terminator);
  void ReadDoctypeDeclaration(XmlNode& node);
  void ReadProcessingTag(Reading& read);
  void ReadDoctype(Reading& read, int depth);
  void ReadInternalSubset(Reading& doctype, int depth);
  void ReadElement(Reading& read, int depth);
  void ReadContent(Reading& read, int depth);
  void CloseElement(Reading& read, std::size_t firstChild, std::string_view lastText);
  void AddCharData(XmlNode& element, std::string_view text);
  std::span<const XmlNodeRef> TakeChildren(std::size_t firstChild);
  std::span<const std::string_view> KeepWords(const std::vector<std::string>& words, std::size_t first);
  [[noreturn]] void Fail(const char* text, const XmlNode& element) const;

  XmlNode::WithDocument& rootNodes_;
  XmlArena& arena_;
  std::string_view bytes_;      // the whole input
  std::size_t textOffset_ = 0;  // where in bytes_ the decoded text begins
  StringEncoding encoding_ = StringEncoding::seoAnsi;
  // The children of the nodes being read, innermost last; a node's entries move to
  // its own list in the arena when it ends.
  std::vector<XmlNodeRef> pending_;
  bool declarationWindow_ = false;  // the text is only a leading declaration, read in place
  XmlScanner scanner_;
};

}  // namespace cvu
