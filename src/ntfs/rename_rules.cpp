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

}  // namespace salvor
