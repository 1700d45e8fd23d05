#pragma once
// One node of a read XML tree, and the non-owning list that name lookups fill.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xml/xml_types.h"

namespace cvu {

class XmlDocument;
class XmlNode;
class XmlParser;

// Node references in document order; the nodes belong to their document.
class XmlNodeList {
 public:
  std::size_t Count() const { return items_.size(); }
  XmlNode* Item(std::size_t index) const { return items_.at(index); }
  XmlNode* operator[](std::size_t index) const { return Item(index); }
  void Clear() { items_.clear(); }
  void Add(XmlNode* node) { items_.push_back(node); }

 private:
  std::vector<XmlNode*> items_;
};

class XmlNode {
 public:
  XmlNode(XmlDocument* document, XmlNode* parent, TXmlElementType type);
  XmlNode(const XmlNode&) = delete;
  XmlNode& operator=(const XmlNode&) = delete;

  // The element name, or the fixed name of another kind ("Comment", "CData", ...).
  const std::string& Name() const { return name_; }
  // The text as read, references not replaced.
  const std::string& Value() const { return value_; }
  // One word per attribute: name, "=", and the value still in its quotes.
  const std::vector<std::string>& Attributes() const { return attributes_; }
  // Children in document order.
  const std::vector<std::unique_ptr<XmlNode>>& Nodes() const { return nodes_; }
  XmlNode* Parent() const { return parent_; }
  XmlDocument* Document() const { return document_; }
  TXmlElementType ElementType() const { return type_; }

  // The value of the first attribute of that name (any letter case), quotes removed
  // and references replaced; none when the node has no such attribute.
  std::optional<std::string> AttributeValue(std::string_view attributeName) const;

  // First descendant (this node excluded) of that name, depth-first in document order.
  XmlNode* FindNode(std::string_view nodeName) const;
  // Every such descendant in the same order, nested matches after their ancestor.
  void FindNodes(std::string_view nodeName, XmlNodeList& list) const;

  // An element's value trimmed of blanks, any other node's value untrimmed; in both
  // cases with references replaced.
  std::string ValueAsString() const;

  // No name, no value, no attributes and no children.
  bool IsClear() const;

 private:
  friend class XmlParser;

  XmlNode* AddChild(TXmlElementType type);

  std::string name_;
  std::string value_;
  std::vector<std::string> attributes_;
  std::vector<std::unique_ptr<XmlNode>> nodes_;
  XmlNode* parent_;
  XmlDocument* document_;
  TXmlElementType type_;
};

}  // namespace cvu
