#pragma once
// Kinds of nodes and input encodings of the XML reader, and its error type.
#include <cstdint>
#include <stdexcept>

namespace cvu {

// The kind of a node; xeoNormal is an element, xeoCharData a run of text between
// child elements. The order is part of the reader's interface (values 0 to 13).
enum class TXmlElementType : std::uint8_t {
  xeoNormal,
  xeoComment,
  xeoCData,
  xeoDeclaration,
  xeoStylesheet,
  xeoDoctype,
  xeoElement,
  xeoAttList,
  xeoEntity,
  xeoNotation,
  xeoExclam,
  xeoQuestion,
  xeoCharData,
  xeoUnknown,
};

// Input encodings the reader can tell apart by the first bytes (values 0 to 10).
enum class StringEncoding {
  seoAnsi,
  seoUCS4BE,
  seoUCS4LE,
  seoUCS4_2143,
  seoUCS4_3412,
  seo16BitBE,
  seo16BitLE,
  seoUTF8,
  seoUTF16BE,
  seoUTF16LE,
  seoEBCDIC,
};

// Raised by the reader; what() is the text the album step logs.
class XmlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace cvu
