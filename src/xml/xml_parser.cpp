#include "xml/xml_parser.h"

#include <algorithm>
#include <array>

#include "common/text.h"
#include "xml/encoding_detection.h"
#include "xml/tag_words.h"
#include "xml/utf8_decoding.h"
#include "xml/xml_text.h"

namespace cvu {
namespace {

using enum TXmlElementType;

struct Opening {
  std::string_view text;  // what follows the "<"
  TXmlElementType type;
};

// Longest first, so the first that matches is the longest the input spells.
constexpr std::array<Opening, 12> kOpenings = {{
    {"?xml-stylesheet", xeoStylesheet},
    {"!NOTATION", xeoNotation},
    {"![CDATA[", xeoCData},
    {"!DOCTYPE", xeoDoctype},
    {"!ELEMENT", xeoElement},
    {"!ATTLIST", xeoAttList},
    {"!ENTITY", xeoEntity},
    {"?xml", xeoDeclaration},
    {"!--", xeoComment},
    {"!", xeoExclam},
    {"?", xeoQuestion},
    {"", xeoNormal},
}};

std::string JoinWords(const std::vector<std::string>& words, std::size_t first, std::string_view separator) {
  std::string joined;
  for (std::size_t i = first; i < words.size(); ++i) {
    if (i > first) joined += separator;
    joined += words[i];
  }
  return joined;
}

// The length of a leading declaration (after blanks) when all its bytes are ASCII, so
// that they read the same in the 8-bit code page and in UTF-8; otherwise 0.
std::size_t AsciiDeclarationEnd(std::string_view text) {
  XmlScanner scanner(text);
  scanner.SkipBlanks();
  if (!scanner.Consume("<?xml") || scanner.Consume("-stylesheet")) return 0;
  if (!scanner.ReadUpTo("?>", true)) return 0;
  const std::string_view declaration = text.substr(0, scanner.Position());
  const bool ascii =
      std::all_of(declaration.begin(), declaration.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return ascii ? declaration.size() : 0;
}

std::string_view TrimTrailingLineEnds(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

XmlParser::XmlParser(XmlNode::WithDocument& rootNodes, XmlArena& arena, std::string_view bytes)
    : rootNodes_(rootNodes), arena_(arena), bytes_(bytes) {}

StringEncoding XmlParser::Parse() {
  const DetectedEncoding detected = DetectEncoding(bytes_);
  if (IsUnsupportedEncoding(detected.encoding)) throw XmlError("Unsupported string encoding");
  encoding_ = detected.encoding;
  StartText(detected.skip);
  while (!scanner_.AtEnd()) {
    XmlNode* node = ReadNode(rootNodes_.node, 0);
    if (!node || node->IsClear()) continue;
    if (node->type_ == xeoDeclaration) FollowDeclaration(*node);
    pending_.emplace_back(node);
    if (declarationWindow_ && scanner_.AtEnd()) StartText(textOffset_ + scanner_.Position());
  }
  if (std::none_of(pending_.begin(), pending_.end(), [](XmlNodeRef node) { return node->type_ == xeoNormal; })) {
    throw XmlError("No root element found in xml");
  }
  rootNodes_.nodes = TakeChildren(0);
  return encoding_;
}

// The parser reads decoded text from byteOffset on; UTF-8 input is read in place.
// An 8-bit document that opens with a declaration of plain ASCII reads just that
// declaration in place first, because it usually switches the rest to UTF-8 and
// decoding everything up front would be wasted.
void XmlParser::StartText(std::size_t byteOffset) {
  textOffset_ = byteOffset;
  const std::string_view rest = bytes_.substr(byteOffset);
  const std::size_t declarationEnd = encoding_ == StringEncoding::seoAnsi ? AsciiDeclarationEnd(rest) : 0;
  declarationWindow_ = declarationEnd > 0;
  if (encoding_ == StringEncoding::seoUTF8 || declarationWindow_) {
    scanner_ = XmlScanner(declarationWindow_ ? rest.substr(0, declarationEnd) : rest);
  } else {
    // Nodes read so far view the earlier text, so the arena keeps every text read.
    scanner_ = XmlScanner(arena_.Adopt(DecodeToUtf8(rest, encoding_)));
  }
}

// A declaration naming UTF-8, or no encoding, makes an 8-bit document UTF-8 from here
// on. A 16-bit document keeps its encoding: read as UTF-8 its remaining bytes would
// be garbage, and a declaration cannot change how its own bytes were written.
void XmlParser::FollowDeclaration(const XmlNode& declaration) {
  if (encoding_ != StringEncoding::seoAnsi) return;
  const std::optional<std::string> declared = declaration.AttributeValue("encoding");
  if (declared && !SameXmlName(*declared, "UTF-8")) return;
  const std::size_t consumed = AnsiBytesBehind(scanner_.Text().substr(0, scanner_.Position()));
  encoding_ = StringEncoding::seoUTF8;
  StartText(textOffset_ + consumed);
}

// One node starting at the next non-blank character; none when that is not a "<"
// (the character is used up) or the text has ended.
XmlNode* XmlParser::ReadNode(XmlNode& parent, int depth) {
  scanner_.SkipBlanks();
  if (scanner_.AtEnd()) return nullptr;
  if (scanner_.Peek() != '<') {
    scanner_.Skip();
    return nullptr;
  }
  scanner_.Skip();
  TXmlElementType type = xeoNormal;
  const char first = scanner_.AtEnd() ? '\0' : scanner_.Peek();
  for (const Opening& opening : kOpenings) {
    if (first != '!' && first != '?') break;  // only the element opening is left
    if (scanner_.Consume(opening.text)) {
      type = opening.type;
      break;
    }
  }
  Reading read(parent, type);
  ReadTagOfKind(read, depth);
  return Place(read);
}

XmlNode* XmlParser::Place(const Reading& read) {
  XmlNode* placed = nullptr;
  if (!read.attributes.empty()) {
    auto* whole = arena_.Make<XmlNode::WithAttributes>(read.node.parent_, read.node.type_);
    whole->nodes = read.nodes;
    whole->attributes = read.attributes;
    placed = &whole->node;
  } else if (!read.nodes.empty()) {
    auto* whole = arena_.Make<XmlNode::WithChildren>(read.node.parent_, read.node.type_);
    whole->nodes = read.nodes;
    placed = &whole->node;
  } else {
    placed = arena_.Make<XmlNode>(read.node.parent_, read.node.type_);
  }
  placed->name_ = read.node.name_;
  placed->value_ = read.node.value_;
  for (const XmlNodeRef& child : read.nodes) child->parent_ = placed;
  return placed;
}

void XmlParser::ReadTagOfKind(Reading& read, int depth) {
  XmlNode& node = read.node;
  switch (node.type_) {
    case xeoCData:
      node.name_ = "CData";
      return ReadSimpleValue(node, "]]>");
    case xeoComment:
      node.name_ = "Comment";
      return ReadSimpleValue(node, "-->");
    case xeoExclam:
      node.name_ = "Special";
      return ReadSimpleValue(node, ">");
    case xeoQuestion:
      node.name_ = "Special";
      return ReadSimpleValue(node, "?>");
    case xeoDoctype:
      return ReadDoctype(read, depth);
    case xeoElement:
    case xeoAttList:
    case xeoEntity:
    case xeoNotation:
      return ReadDoctypeDeclaration(node);
    case xeoStylesheet:
    case xeoDeclaration:
      return ReadProcessingTag(read);
    default:
      return ReadElement(read, depth);
  }
}

void XmlParser::ReadSimpleValue(XmlNode& node, std::string_view terminator) {
  node.value_ = scanner_.ReadUpTo(terminator, false).value_or("");
}

// "<!ELEMENT", "<!ATTLIST", "<!ENTITY", "<!NOTATION": the character after the opening
// is dropped; the first word names the node, the others form its value, one per line.
void XmlParser::ReadDoctypeDeclaration(XmlNode& node) {
  scanner_.Skip();
  const std::vector<std::string> words = SplitTagWords(scanner_.ReadUpTo(">", true).value_or(""));
  if (words.empty()) return;
  node.name_ = arena_.CopyOf(words[0]);
  node.value_ = arena_.CopyOf(JoinWords(words, 1, "\n"));
}

void XmlParser::ReadProcessingTag(Reading& read) {
  XmlNode& node = read.node;
  const std::string_view text = scanner_.ReadUpTo("?>", true).value_or("");
  read.attributes = KeepWords(SplitTagWords(text), 0);
  if (node.type_ == xeoStylesheet) {
    node.name_ = "xml-stylesheet";
    node.value_ = TrimXmlBlanks(text);
  } else {
    node.name_ = "xml";
  }
}

// "<!DOCTYPE name words [subset]>": the character after the opening is dropped.
void XmlParser::ReadDoctype(Reading& read, int depth) {
  XmlNode& node = read.node;
  scanner_.Skip();
  char stopper = 0;
  const std::string_view text = scanner_.ReadUpToAnyOf(">[", stopper);
  const std::vector<std::string> words = SplitTagWords(stopper == 0 ? std::string_view() : text);
  if (!words.empty()) {
    node.name_ = arena_.CopyOf(words[0]);
    node.value_ = arena_.CopyOf(JoinWords(words, 1, " "));
  }
  if (stopper != '[') return;
  ReadInternalSubset(read, depth + 1);
  scanner_.ReadUpTo(">", false);
}

void XmlParser::ReadInternalSubset(Reading& doctype, int depth) {
  if (depth > kMaxNesting) throw XmlError(kNestingError);
  const std::size_t firstChild = pending_.size();
  for (;;) {
    scanner_.SkipBlanks();
    if (scanner_.AtEnd()) break;
    if (scanner_.Peek() == ']') {
      scanner_.Skip();
      break;
    }
    XmlNode* child = ReadNode(doctype.node, depth);
    if (child && !child->IsClear()) pending_.emplace_back(child);
  }
  doctype.nodes = TakeChildren(firstChild);
}

// "<name attributes>" or "<name attributes/>"; an unterminated tag has no words.
void XmlParser::ReadElement(Reading& read, int depth) {
  XmlNode& element = read.node;
  std::string_view text = TrimXmlBlanks(scanner_.ReadUpTo(">", true).value_or(""));
  const bool empty = !text.empty() && text.back() == '/';
  if (empty) text.remove_suffix(1);
  if (const std::string_view trimmed = TrimXmlBlanks(text); IsBareTagWord(trimmed)) {
    element.name_ = trimmed;  // the usual tag: a name without attributes, read in place
  } else {
    const std::vector<std::string> words = SplitTagWords(text);
    if (words.empty()) throw XmlError("Missing element name");
    element.name_ = arena_.CopyOf(words[0]);
    read.attributes = KeepWords(words, 1);
  }
  if (!empty) ReadContent(read, depth + 1);
}

// Text and child nodes up to the element's close tag.
void XmlParser::ReadContent(Reading& read, int depth) {
  if (depth > kMaxNesting) throw XmlError(kNestingError);
  XmlNode& element = read.node;
  const std::string_view text = scanner_.Text();
  const std::size_t firstChild = pending_.size();
  std::size_t textStart = scanner_.Position();
  for (;;) {
    const std::size_t open = text.find('<', scanner_.Position());
    if (open == std::string_view::npos) Fail("Missing close tag in element %s", element);
    std::size_t next = open + 1;
    while (next < text.size() && IsXmlBlank(text[next])) ++next;
    if (next >= text.size()) Fail("Missing data after \"<\" in element %s", element);
    const std::string_view collected = text.substr(textStart, open - textStart);
    if (text[next] == '/') {
      scanner_.MoveTo(next + 1);
      const std::optional<std::string_view> closeName = scanner_.ReadUpTo(">", true);
      if (!closeName) Fail("Missing \">\" in close tag of element %s", element);
      if (!SameXmlName(TrimXmlBlanks(*closeName), element.name_)) Fail("Incorrect close tag in element %s", element);
      return CloseElement(read, firstChild, collected);
    }
    if (HasNonBlank(collected)) AddCharData(element, collected);
    scanner_.MoveTo(open);
    if (XmlNode* child = ReadNode(element, depth)) pending_.emplace_back(child);
    textStart = scanner_.Position();
  }
}

void XmlParser::AddCharData(XmlNode& element, std::string_view text) {
  XmlNode* run = arena_.Make<XmlNode>(&element, xeoCharData);
  run->value_ = text;
  pending_.emplace_back(run);
}

// The children read since pending_ held firstChild entries, as a list in the arena.
std::span<const XmlNodeRef> XmlParser::TakeChildren(std::size_t firstChild) {
  const std::span<const XmlNodeRef> taken = arena_.CopyOf(std::span<const XmlNodeRef>(pending_).subspan(firstChild));
  pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(firstChild), pending_.end());
  return taken;
}

std::span<const std::string_view> XmlParser::KeepWords(const std::vector<std::string>& words, std::size_t first) {
  std::vector<std::string_view> kept;
  kept.reserve(words.size());
  for (std::size_t i = first; i < words.size(); ++i) kept.push_back(arena_.CopyOf(words[i]));
  return arena_.CopyOf(std::span<const std::string_view>(kept));
}

// lastText is the text read since the last child (or since the open tag); the
// element's children are the entries of pending_ from firstChild on.
void XmlParser::CloseElement(Reading& read, std::size_t firstChild, std::string_view lastText) {
  XmlNode& element = read.node;
  if (pending_.size() == firstChild) {
    element.value_ = lastText;  // a leaf keeps its whole raw text
    return;
  }
  if (HasNonBlank(lastText)) AddCharData(element, lastText);
  const std::span<const XmlNodeRef> children = std::span<const XmlNodeRef>(pending_).subspan(firstChild);
  if (lastText.find('\r') != std::string_view::npos) {
    for (const XmlNodeRef& child : children) {
      if (child->type_ == xeoCharData) child->value_ = TrimTrailingLineEnds(child->value_);
    }
  }
  if (children.front()->type_ == xeoCharData) {
    element.value_ = children.front()->value_;
    pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(firstChild));
  }
  read.nodes = TakeChildren(firstChild);
}

void XmlParser::Fail(const char* text, const XmlNode& element) const {
  throw XmlError(ReplaceAll(text, "%s", element.name_));
}

}  // namespace cvu
