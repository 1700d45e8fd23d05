#include "xml/xml_node.h"

#include <cstddef>
#include <type_traits>

#include "xml/references.h"
#include "xml/tag_words.h"
#include "xml/xml_text.h"

namespace cvu {
namespace {

// The larger layout a node is the first member of (pointer-interconvertible with it).
template <typename Shape>
const Shape& Whole(const XmlNode* node) {
  static_assert(std::is_standard_layout_v<Shape> && offsetof(Shape, node) == 0);
  return *reinterpret_cast<const Shape*>(node);
}

}  // namespace

static_assert(sizeof(XmlNode) <= 48, "a node of a large album list stays small");

std::span<const XmlNodeRef> XmlNode::Nodes() const {
  switch (layout_) {
    case Layout::WithChildren:
      return Whole<WithChildren>(this).nodes;
    case Layout::WithAttributes:
      return Whole<WithAttributes>(this).nodes;
    case Layout::WithDocument:
      return Whole<WithDocument>(this).nodes;
    default:
      return {};
  }
}

std::span<const std::string_view> XmlNode::attributes() const {
  return layout_ == Layout::WithAttributes ? Whole<WithAttributes>(this).attributes
                                           : std::span<const std::string_view>();
}

XmlDocument* XmlNode::Document() const {
  const XmlNode* top = this;
  while (top->parent_) top = top->parent_;
  return top->layout_ == Layout::WithDocument ? Whole<WithDocument>(top).document : nullptr;
}

std::vector<std::string> XmlNode::Attributes() const {
  const std::span<const std::string_view> words = attributes();
  return {words.begin(), words.end()};
}

std::optional<std::string> XmlNode::AttributeValue(std::string_view attributeName) const {
  for (std::string_view word : attributes()) {
    if (SameXmlName(cvu::AttributeName(word), attributeName)) return cvu::AttributeValue(word);
  }
  return std::nullopt;
}

// The tree is at most as deep as the reader's nesting limit, so recursion is bounded.
XmlNode* XmlNode::FindNode(std::string_view nodeName) const {
  for (const XmlNodeRef& child : Nodes()) {
    if (SameXmlName(child->name_, nodeName)) return child.get();
    if (XmlNode* found = child->FindNode(nodeName)) return found;
  }
  return nullptr;
}

void XmlNode::FindNodes(std::string_view nodeName, XmlNodeList& list) const {
  list.Clear();
  struct Collector {
    std::string_view name;
    XmlNodeList& list;
    void Walk(const XmlNode& node) const {
      for (const XmlNodeRef& child : node.Nodes()) {
        if (SameXmlName(child->name_, name)) list.Add(child.get());
        Walk(*child);
      }
    }
  };
  Collector{nodeName, list}.Walk(*this);
}

std::string XmlNode::ValueAsString() const {
  if (type_ == TXmlElementType::xeoNormal) return ReplaceReferences(TrimXmlBlanks(value_));
  return ReplaceReferences(value_);
}

bool XmlNode::IsClear() const { return name_.empty() && value_.empty() && attributes().empty() && Nodes().empty(); }

}  // namespace cvu
