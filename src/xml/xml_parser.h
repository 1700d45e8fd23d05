#pragma once
// Reads a document's bytes into the node tree of an XmlDocument.
#include <memory>
#include <string>
#include <string_view>

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

  XmlParser(XmlNode& rootNodes, std::string_view bytes);

  // Fills rootNodes with the top-level nodes; returns the encoding in force at the end.
  StringEncoding Parse();

 private:
  void StartText(std::size_t byteOffset);
  void FollowDeclaration(const XmlNode& declaration);
  std::unique_ptr<XmlNode> ReadNode(XmlNode& parent, int depth);
  void ReadTagOfKind(XmlNode& node, int depth);
  void ReadSimpleValue(XmlNode& node, std::string_view terminator);
  void ReadDoctypeDeclaration(XmlNode& node);
  void ReadProcessingTag(XmlNode& node);
  void ReadDoctype(XmlNode& node, int depth);
  void ReadInternalSubset(XmlNode& doctype, int depth);
  void ReadElement(XmlNode& element, int depth);
  void ReadContent(XmlNode& element, int depth);
  void CloseElement(XmlNode& element, std::string_view lastText);
  [[noreturn]] void Fail(const char* text, const XmlNode& element) const;

  XmlNode& rootNodes_;
  std::string_view bytes_;      // the whole input
  std::size_t textOffset_ = 0;  // where in bytes_ the decoded text begins
  StringEncoding encoding_ = StringEncoding::seoAnsi;
  std::string decoded_;             // the decoded text unless it is bytes_ itself
  bool declarationWindow_ = false;  // the text is only a leading declaration, read in place
  XmlScanner scanner_;
};

}  // namespace cvu
