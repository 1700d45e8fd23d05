#include "xml/xml_node.h"

#include "xml/references.h"
#include "xml/tag_words.h"
#include "xml/xml_text.h"

namespace cvu {

XmlNode::XmlNode(XmlDocument* document, XmlNode* parent, TXmlElementType type)
    : parent_(parent), document_(document), type_(type) {}

std::vector<std::string> XmlNode::Attributes() const { return {attributes_.begin(), attributes_.end()}; }

std::optional<std::string> XmlNode::AttributeValue(std::string_view attributeName) const {
  for (std::string_view word : attributes_) {
    if (SameXmlName(cvu::AttributeName(word), attributeName)) return cvu::AttributeValue(word);
  }
  return std::nullopt;
}

// The tree is at most as deep as the reader's nesting limit, so recursion is bounded.
XmlNode* XmlNode::FindNode(std::string_view nodeName) const {
  for (const XmlNodeRef& child : nodes_) {
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
      for (const XmlNodeRef& child : node.nodes_) {
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

bool XmlNode::IsClear() const { return name_.empty() && value_.empty() && attributes_.empty() && nodes_.empty(); }

}  // namespace cvu
