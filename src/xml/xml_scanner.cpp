#include "xml/xml_scanner.h"

#include "xml/xml_text.h"

namespace cvu {

void XmlScanner::SkipBlanks() {
  while (pos_ < text_.size() && IsXmlBlank(text_[pos_])) ++pos_;
}

bool XmlScanner::Consume(std::string_view word) {
  if (text_.substr(pos_, word.size()) != word) return false;
  pos_ += word.size();
  return true;
}

std::size_t XmlScanner::FindOutsideQuotes(std::string_view terminator) const {
  char quote = 0;
  for (std::size_t i = pos_; i < text_.size(); ++i) {
    const char c = text_[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (IsXmlQuote(c)) {
      quote = c;
    } else if (c == terminator[0] && text_.substr(i, terminator.size()) == terminator) {
      return i;
    }
  }
  return std::string_view::npos;
}

std::optional<std::string_view> XmlScanner::ReadUpTo(std::string_view terminator, bool quotesRespected) {
  const std::size_t found = quotesRespected ? FindOutsideQuotes(terminator) : text_.find(terminator, pos_);
  if (found == std::string_view::npos) {
    pos_ = text_.size();
    return std::nullopt;
  }
  const std::string_view read = text_.substr(pos_, found - pos_);
  pos_ = found + terminator.size();
  return read;
}

std::string_view XmlScanner::ReadUpToAnyOf(std::string_view stoppers, char& stopper) {
  const std::size_t found = text_.find_first_of(stoppers, pos_);
  const std::size_t end = found == std::string_view::npos ? text_.size() : found;
  const std::string_view read = text_.substr(pos_, end - pos_);
  stopper = found == std::string_view::npos ? '\0' : text_[found];
  pos_ = found == std::string_view::npos ? end : end + 1;
  return read;
}

}  // namespace cvu
