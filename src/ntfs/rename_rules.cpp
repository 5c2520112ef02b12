#include "ntfs/rename_rules.h"

#include "disk/texts.h"

namespace salvor {

std::string_view RenameReasonText(RenameReason reason) {
  switch (reason) {
    case RenameReason::kTooLong:
      return text::kNameTooLong;
    case RenameReason::kExists:
      return text::kNameExists;
    case RenameReason::kOther:
      break;
  }
  return text::kProvideNewName;
}

bool IsForbiddenLastCharacter(char c) {
  switch (c) {
    case ' ':
    case '"':
    case '\\':
    case '/':
    case ':':
    case '*':
    case '?':
    case '<':
    case '>':
    case '|':
      return true;
    default:
      return false;
  }
}

RenameEdit CheckRenameEdit(std::string_view edit) {
  RenameEdit result;
  // The limit counts characters: never cut inside a UTF-8 sequence.
  std::size_t chars = 0;
  std::size_t end = 0;
  while (end < edit.size() && chars < kNewNameMaxLength) {
    ++end;
    while (end < edit.size() && (static_cast<unsigned char>(edit[end]) & 0xC0) == 0x80) ++end;
    ++chars;
  }
  result.text = std::string(edit.substr(0, end));
  // Removing the character changes the edit again, which checks it again:
  // a pasted run of forbidden characters goes as a whole, with one message.
  while (!result.text.empty() && IsForbiddenLastCharacter(result.text.back())) {
    result.text.pop_back();
    result.show_forbidden_message = true;
  }
  result.ok_enabled = !result.text.empty();
  return result;
}

std::string NameWithFailedExtension(std::string_view typed, std::string_view failed_name,
                                    std::size_t extension_chars) {
  std::string name(typed);
  const std::size_t dot = failed_name.rfind('.');
  if (dot == std::string_view::npos) return name;
  name += '.';
  name += failed_name.substr(dot + 1, extension_chars);
  return name;
}

namespace {

// `text` cut to at most `bytes` bytes at a UTF-8 character boundary.
std::string_view CutUtf8(std::string_view text, std::size_t bytes) {
  if (text.size() <= bytes) return text;
  while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
  return text.substr(0, bytes);
}

// `name` with `suffix` put in front of its extension, the stem shortened
// so that the whole fits in `max_bytes`. An "extension" that would take
// more than half the room is part of the name, not a type to keep.
std::string FittedName(std::string_view name, std::string_view suffix, std::size_t max_bytes) {
  const std::size_t dot = name.rfind('.');
  // A leading dot starts a hidden name, not an extension.
  const bool has_extension = dot != std::string_view::npos && dot > 0 &&
                             (name.size() <= max_bytes || name.size() - dot <= max_bytes / 2);
  const std::string_view stem = has_extension ? name.substr(0, dot) : name;
  const std::size_t extension_bytes = has_extension ? name.size() - dot : 0;
  const std::size_t room = max_bytes > suffix.size() + extension_bytes
                               ? max_bytes - suffix.size() - extension_bytes
                               : 0;
  const std::string typed = std::string(CutUtf8(stem, room)).append(suffix);
  if (!has_extension) return typed;
  std::string full = NameWithFailedExtension(typed, name, std::string_view::npos);
  return std::string(CutUtf8(full, max_bytes));
}

}  // namespace

std::string NumberedName(std::string_view name, unsigned n, std::size_t max_bytes) {
  return FittedName(name, " (" + std::to_string(n) + ")", max_bytes);
}

std::string ShortenedName(std::string_view name, std::size_t max_bytes) {
  return FittedName(name, "", max_bytes);
}

}  // namespace salvor
