#pragma once
// A read position over the decoded UTF-8 text of a document.
#include <cstddef>
#include <optional>
#include <string_view>

namespace cvu {

class XmlScanner {
 public:
  XmlScanner() = default;
  explicit XmlScanner(std::string_view text) : text_(text) {}

  std::string_view Text() const { return text_; }
  std::size_t Position() const { return pos_; }
  void MoveTo(std::size_t pos) { pos_ = pos < text_.size() ? pos : text_.size(); }
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }
  void Skip(std::size_t count = 1) { MoveTo(pos_ + count); }
  void SkipBlanks();

  // True (and steps over it) when the text at the position spells word.
  bool Consume(std::string_view word);

  // The text up to terminator, which is stepped over. Inside a pair of equal quote
  // characters the terminator does not count when quotesRespected. Without a
  // terminator the position moves to the end and the result is none.
  std::optional<std::string_view> ReadUpTo(std::string_view terminator, bool quotesRespected);

  // The text up to the first of the given characters; stopper receives that
  // character (0 at the end of the text), which is stepped over.
  std::string_view ReadUpToAnyOf(std::string_view stoppers, char& stopper);

 private:
  std::size_t FindOutsideQuotes(std::string_view terminator) const;

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace cvu
