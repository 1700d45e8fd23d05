#pragma once
// Replacement of the predefined entity and numeric character references.
#include <string>
#include <string_view>

namespace cvu {

// "&amp;", "&lt;", "&gt;", "&apos;", "&quot;" and "&#N;" / "&#xH;" below U+FFFF become
// their characters; every other reference, and an "&" without a ";" after it, is kept
// as written. A reference runs from "&" to the next ";".
std::string ReplaceReferences(std::string_view text);

}  // namespace cvu
