#pragma once
// Splitting of a tag's text into its words, and attribute words into name and value.
#include <string>
#include <string_view>
#include <vector>

namespace cvu {

// True for a trimmed tag text that is one word as it stands: not empty, without blanks,
// quotes or "=". It is its own only word.
bool IsBareTagWord(std::string_view trimmedText);

// Trims the tag text, splits it at blanks outside quotes, then joins a word that begins
// with "=" to the word before it, and a word that begins with a quote to the word
// before it when that word holds "=" (so `a = "b"` becomes `a="b"`).
std::vector<std::string> SplitTagWords(std::string_view tagText);

// The text before the first "=" of an attribute word (the whole word without one).
std::string_view AttributeName(std::string_view word);

// The text after the first "=", without its enclosing quotes, references replaced.
std::string AttributeValue(std::string_view word);

}  // namespace cvu
