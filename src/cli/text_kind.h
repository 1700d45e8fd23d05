#pragma once
// The text printed for each uploaded image: one of the link forms or an own-code template.
#include <optional>
#include <string>
#include <string_view>

namespace cvu::cli {

enum class TextKind { Page, Full, Direct, Thumb, Html, Bb, Own1, Own2, Own3 };

// "page", "full", "direct", "thumb", "html", "bb", "own1", "own2", "own3"; nothing for
// any other name.
std::optional<TextKind> TextKindByName(std::string_view name);
std::string TextKindName(TextKind kind);

// 1..3 for the own-code kinds, 0 for the link forms.
int TemplateNumber(TextKind kind);

// Every kind in the order above.
inline constexpr TextKind kAllTextKinds[] = {TextKind::Page,  TextKind::Full, TextKind::Direct,
                                             TextKind::Thumb, TextKind::Html, TextKind::Bb,
                                             TextKind::Own1,  TextKind::Own2, TextKind::Own3};

}  // namespace cvu::cli
