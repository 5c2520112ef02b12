#pragma once
// The rules of the rename question asked when a recovered item cannot be
// created under its own name: which reason text goes with a failure, what
// the new-name edit accepts, and the extension that OK adds back.

#include <cstddef>
#include <string>
#include <string_view>

namespace salvor {

// Why a target name could not be used.
enum class RenameReason { kTooLong, kExists, kOther };

// The message line of the question for a reason.
std::string_view RenameReasonText(RenameReason reason);

// The new-name edit holds at most this many characters.
inline constexpr std::size_t kNewNameMaxLength = 40;

// True when `c` may not end a name: a blank, the double quote, or one of
// \ / : * ? < > |. Only the last character is looked at, as the edit checks
// each character as it is typed.
bool IsForbiddenLastCharacter(char c);

// What one change of the edit gives: the text as it stays in the edit
// (forbidden last characters removed again, input beyond the length limit
// cut), whether the forbidden-character message is shown, and whether OK is
// enabled for the text that stays.
struct RenameEdit {
  std::string text;
  bool show_forbidden_message = false;
  bool ok_enabled = false;
};
RenameEdit CheckRenameEdit(std::string_view edit);

// The name OK gives: the typed name plus "." and the first `extension_chars`
// characters of the failed name's extension (the text after its last "."),
// or the typed name alone when the failed name has no ".". The dialog keeps
// three characters: "report.html" renamed "new" becomes "new.htm".
inline constexpr std::size_t kDialogExtensionChars = 3;
std::string NameWithFailedExtension(std::string_view typed, std::string_view failed_name,
                                    std::size_t extension_chars = kDialogExtensionChars);

// The n-th free-name candidate for a name that is taken or too long, built
// with the rule above but keeping the whole extension: "report.html" gives
// "report (1).html". The stem is shortened (never inside a UTF-8 sequence)
// so that the result fits in `max_bytes`.
std::string NumberedName(std::string_view name, unsigned n, std::size_t max_bytes);

// A name longer than a file system takes (`max_bytes` of UTF-8), shortened
// the same way without a number: the stem cut at a character boundary, the
// extension kept.
std::string ShortenedName(std::string_view name, std::size_t max_bytes);

}  // namespace salvor
