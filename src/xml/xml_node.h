#pragma once
// One node of a read XML tree, and the non-owning list that name lookups fill.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
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

// One entry of a node's child list. The child belongs to the document; the entry reads
// like a pointer to it (get, * and ->).
class XmlNodeRef {
 public:
  explicit XmlNodeRef(XmlNode* node) : node_(node) {}
  XmlNode* get() const { return node_; }
  XmlNode& operator*() const { return *node_; }
  XmlNode* operator->() const { return node_; }

 private:
  XmlNode* node_;
};

// Names, values and words are views into texts the document keeps, and the lists live
// in its arena, so a node owns nothing and needs no destructor. A node holds only its
// name, value and parent: a large album list is mostly leaves. A node with children or
// attributes is the first member of a larger layout (With... below), which it finds
// by its layout_.
class XmlNode {
 public:
  XmlNode(XmlNode* parent, TXmlElementType type) : XmlNode(parent, type, Layout::Plain) {}
  XmlNode(const XmlNode&) = delete;
  XmlNode& operator=(const XmlNode&) = delete;

  // The element name, or the fixed name of another kind ("Comment", "CData", ...).
  std::string Name() const { return std::string(name_); }
  // The text as read, references not replaced.
  std::string Value() const { return std::string(value_); }
  // One word per attribute: name, "=", and the value still in its quotes.
  std::vector<std::string> Attributes() const;
  // Children in document order.
  std::span<const XmlNodeRef> Nodes() const;
  XmlNode* Parent() const { return parent_; }
  XmlDocument* Document() const;
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
  friend class XmlDocument;
  friend class XmlParser;

  enum class Layout : std::uint8_t { Plain, WithChildren, WithAttributes, WithDocument };
  struct WithChildren;
  struct WithAttributes;
  struct WithDocument;

  XmlNode(XmlNode* parent, TXmlElementType type, Layout layout) : parent_(parent), type_(type), layout_(layout) {}
  std::span<const std::string_view> attributes() const;

  std::string_view name_;
  std::string_view value_;
  XmlNode* parent_;
  TXmlElementType type_;
  Layout layout_;
};

struct XmlNode::WithChildren {
  explicit WithChildren(XmlNode* parent, TXmlElementType type) : node(parent, type, Layout::WithChildren) {}
  XmlNode node;
  std::span<const XmlNodeRef> nodes;
};

struct XmlNode::WithAttributes {
  explicit WithAttributes(XmlNode* parent, TXmlElementType type) : node(parent, type, Layout::WithAttributes) {}
  XmlNode node;
  std::span<const XmlNodeRef> nodes;
  std::span<const std::string_view> attributes;
};

// The container of a document's top-level nodes.
struct XmlNode::WithDocument {
  explicit WithDocument(XmlDocument* owner)
      : node(nullptr, TXmlElementType::xeoNormal, Layout::WithDocument), document(owner) {}
  XmlNode node;
  std::span<const XmlNodeRef> nodes;
  XmlDocument* document;
};

}  // namespace cvu
