#pragma once
// A read-only XML document: loads a byte stream into a node tree.
#include <istream>
#include <string>
#include <string_view>

#include "xml/xml_arena.h"

#include "xml/xml_node.h"
#include "xml/xml_types.h"

namespace cvu {

class XmlDocument {
 public:
  XmlDocument();
  // Nodes point back at their document, so it stays where it was made.
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // Reads the stream from its first byte, whatever its position, to its end and
  // replaces the tree. Raises XmlError; the tree is then empty.
  void LoadFromStream(std::istream& stream);
  // The same for bytes already in memory: the document keeps a copy, which it reads in place.
  void LoadFromBytes(std::string_view bytes);
  // The same for bytes the document takes over (the album answer), without a copy.
  void LoadFromString(std::string&& bytes);

  // True without a document element or when it is clear.
  bool IsEmpty() const;
  // The document element: the first top-level element; none when there is none.
  XmlNode* Root() const;
  // The container whose children are the top-level nodes in document order.
  const XmlNode& RootNodes() const { return rootNodes_->node; }
  // The encoding detected while reading (UTF-8 once a declaration switched to it).
  StringEncoding Encoding() const { return encoding_; }

 private:
  void Clear();
  // Reads bytes that the arena already holds.
  void Load(std::string_view keptBytes);

  XmlArena arena_;  // every node and every text the nodes view
  XmlNode::WithDocument* rootNodes_ = nullptr;
  StringEncoding encoding_ = StringEncoding::seoAnsi;
};

}  // namespace cvu
