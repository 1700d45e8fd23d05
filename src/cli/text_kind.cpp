#include "cli/text_kind.h"

namespace cvu::cli {

std::string TextKindName(TextKind kind) {
  switch (kind) {
    case TextKind::Page:
      return "page";
    case TextKind::Full:
      return "full";
    case TextKind::Direct:
      return "direct";
    case TextKind::Thumb:
      return "thumb";
    case TextKind::Html:
      return "html";
    case TextKind::Bb:
      return "bb";
    case TextKind::Own1:
      return "own1";
    case TextKind::Own2:
      return "own2";
    case TextKind::Own3:
      return "own3";
  }
  return "";
}

std::optional<TextKind> TextKindByName(std::string_view name) {
  for (const TextKind kind : kAllTextKinds) {
    if (TextKindName(kind) == name) return kind;
  }
  return std::nullopt;
}

int TemplateNumber(TextKind kind) {
  switch (kind) {
    case TextKind::Own1:
      return 1;
    case TextKind::Own2:
      return 2;
    case TextKind::Own3:
      return 3;
    default:
      return 0;
  }
}

}  // namespace cvu::cli
