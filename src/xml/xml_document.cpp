#include "xml/xml_document.h"

#include <array>
#include <string>

#include "xml/xml_parser.h"

namespace cvu {
namespace {

constexpr std::size_t kReadBufferSize = 65536;

std::string ReadWholeStream(std::istream& stream) {
  stream.clear();
  stream.seekg(0);
  std::string bytes;
  std::array<char, kReadBufferSize> buffer;
  while (stream.read(buffer.data(), buffer.size()) || stream.gcount() > 0) {
    bytes.append(buffer.data(), static_cast<std::size_t>(stream.gcount()));
  }
  return bytes;
}

}  // namespace

XmlDocument::XmlDocument() : rootNodes_(std::make_unique<XmlNode>(this, nullptr, TXmlElementType::xeoNormal)) {}

void XmlDocument::LoadFromStream(std::istream& stream) { LoadFromBytes(ReadWholeStream(stream)); }

void XmlDocument::LoadFromBytes(std::string_view bytes) {
  rootNodes_ = std::make_unique<XmlNode>(this, nullptr, TXmlElementType::xeoNormal);
  encoding_ = StringEncoding::seoAnsi;
  try {
    encoding_ = XmlParser(*rootNodes_, bytes).Parse();
  } catch (...) {
    rootNodes_ = std::make_unique<XmlNode>(this, nullptr, TXmlElementType::xeoNormal);
    throw;
  }
}

bool XmlDocument::IsEmpty() const {
  const XmlNode* root = Root();
  return root == nullptr || root->IsClear();
}

XmlNode* XmlDocument::Root() const {
  for (const auto& node : rootNodes_->Nodes()) {
    if (node->ElementType() == TXmlElementType::xeoNormal) return node.get();
  }
  return nullptr;
}

}  // namespace cvu
