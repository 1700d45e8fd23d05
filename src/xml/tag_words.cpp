#include "xml/tag_words.h"

#include "xml/references.h"
#include "xml/xml_text.h"

namespace cvu {
namespace {

std::vector<std::string> SplitAtBlanksOutsideQuotes(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  char quote = 0;
  for (char c : text) {
    if (quote == 0 && IsXmlBlank(c)) {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
      continue;
    }
    if (quote == 0 && IsXmlQuote(c)) {
      quote = c;
    } else if (c == quote) {
      quote = 0;
    }
    word += c;
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

template <typename JoinsPrevious>
std::vector<std::string> JoinWords(std::vector<std::string> words, JoinsPrevious joinsPrevious) {
  std::vector<std::string> joined;
  joined.reserve(words.size());
  for (std::string& word : words) {
    if (!joined.empty() && joinsPrevious(joined.back(), word)) {
      joined.back() += word;
    } else {
      joined.push_back(std::move(word));
    }
  }
  return joined;
}

}  // namespace

bool IsBareTagWord(std::string_view trimmedText) {
  return !trimmedText.empty() && trimmedText.find_first_of("\t\n\r \"'=") == std::string_view::npos;
}

std::vector<std::string> SplitTagWords(std::string_view tagText) {
  const std::string_view trimmed = TrimXmlBlanks(tagText);
  if (IsBareTagWord(trimmed)) return {std::string(trimmed)};  // a bare name, the usual element tag
  if (trimmed.empty()) return {};
  std::vector<std::string> words = SplitAtBlanksOutsideQuotes(trimmed);
  words = JoinWords(std::move(words), [](const std::string&, const std::string& word) { return word[0] == '='; });
  return JoinWords(std::move(words), [](const std::string& previous, const std::string& word) {
    return IsXmlQuote(word[0]) && previous.find('=') != std::string::npos;
  });
}

std::string_view AttributeName(std::string_view word) { return word.substr(0, word.find('=')); }

std::string AttributeValue(std::string_view word) {
  const std::size_t equals = word.find('=');
  if (equals == std::string_view::npos) return {};
  std::string_view value = word.substr(equals + 1);
  if (value.size() >= 2 && IsXmlQuote(value.front()) && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return ReplaceReferences(value);
}

}  // namespace cvu
