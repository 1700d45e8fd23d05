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
  XmlParser(XmlNode& rootNodes, XmlArena& arena, std::string_view bytes);

  // Fills rootNodes with the top-level nodes; returns the encoding in force at the end.
  StringEncoding Parse();

 private:
  void StartText(std::size_t byteOffset);
  void FollowDeclaration(const XmlNode& declaration);
  XmlNode* ReadNode(XmlNode& parent, int depth);
  void ReadTagOfKind(XmlNode& node, int depth);
  void ReadSimpleValue(XmlNode& node, std::string_view terminator);
  void ReadDoctypeDeclaration(XmlNode& node);
  void ReadProcessingTag(XmlNode& node);
  void ReadDoctype(XmlNode& node, int depth);
  void ReadInternalSubset(XmlNode& doctype, int depth);
  void ReadElement(XmlNode& element, int depth);
  void ReadContent(XmlNode& element, int depth);
  void CloseElement(XmlNode& element, std::size_t firstChild, std::string_view lastText);
  void AddCharData(XmlNode& element, std::string_view text);
  void TakeChildren(XmlNode& node, std::size_t firstChild);
  std::span<const std::string_view> KeepWords(const std::vector<std::string>& words, std::size_t first);
  [[noreturn]] void Fail(const char* text, const XmlNode& element) const;

  XmlNode& rootNodes_;
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
