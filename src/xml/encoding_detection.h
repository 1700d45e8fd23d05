#pragma once
// Tells the input encoding from the first bytes of a document.
#include <cstddef>
#include <string_view>

#include "xml/xml_types.h"

namespace cvu {

struct DetectedEncoding {
  StringEncoding encoding = StringEncoding::seoAnsi;
  std::size_t skip = 0;  // length of the byte order mark to step over, 0 when none
};

// Compares up to four leading bytes with the known marks and signatures; with fewer
// bytes only as many are compared as there are, so an empty input matches the first row.
DetectedEncoding DetectEncoding(std::string_view bytes);

// True for the encodings the reader cannot decode (UCS-4 in any byte order, EBCDIC).
bool IsUnsupportedEncoding(StringEncoding encoding);

}  // namespace cvu
