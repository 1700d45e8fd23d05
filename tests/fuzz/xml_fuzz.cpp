// libFuzzer target for the XML reader: any bytes must either load or fail with an
// XmlError, and a loaded tree must answer every query.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "xml/xml_document.h"

namespace {

void ExerciseTree(const cvu::XmlNode& node) {
  (void)node.ValueAsString();
  (void)node.AttributeValue("encoding");
  for (const auto& child : node.Nodes()) ExerciseTree(*child);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  cvu::XmlDocument document;
  try {
    document.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const cvu::XmlError&) {
    return 0;
  }
  ExerciseTree(document.RootNodes());
  if (cvu::XmlNode* root = document.Root()) {
    cvu::XmlNodeList albums;
    root->FindNodes("album", albums);
    for (std::size_t i = 0; i < albums.Count(); ++i) {
      if (cvu::XmlNode* id = albums[i]->FindNode("album_id")) (void)id->ValueAsString();
      if (cvu::XmlNode* name = albums[i]->FindNode("name")) (void)name->ValueAsString();
    }
  }
  (void)document.IsEmpty();
  return 0;
}
