#include "xml/xml_document.h"

#include <array>
#include <string>
#include <utility>

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

XmlDocument::XmlDocument() { Clear(); }

void XmlDocument::LoadFromStream(std::istream& stream) {
  Clear();
  Load(arena_.Adopt(ReadWholeStream(stream)));
}

void XmlDocument::LoadFromBytes(std::string_view bytes) {
  Clear();
  Load(arena_.CopyOf(bytes));
}

void XmlDocument::LoadFromString(std::string&& bytes) {
  Clear();
  Load(arena_.Adopt(std::move(bytes)));
}

void XmlDocument::Clear() {
  arena_.Clear();
  rootNodes_ = arena_.Make<XmlNode::WithDocument>(this);
  encoding_ = StringEncoding::seoAnsi;
}

void XmlDocument::Load(std::string_view keptBytes) {
  try {
    encoding_ = XmlParser(*rootNodes_, arena_, keptBytes).Parse();
  } catch (...) {
    Clear();
    throw;
  }
}

bool XmlDocument::IsEmpty() const {
  const XmlNode* root = Root();
  return root == nullptr || root->IsClear();
}

XmlNode* XmlDocument::Root() const {
  for (const XmlNodeRef& node : rootNodes_->nodes) {
    if (node->ElementType() == TXmlElementType::xeoNormal) return node.get();
  }
  return nullptr;
}

}  // namespace cvu
