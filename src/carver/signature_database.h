#pragma once
// Reading the "Signature" database and reducing it to the selected types.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "carver/signature_record.h"

namespace salvor::carver {

using SignatureList = std::vector<SignatureRecord>;

// Reads 848-byte records one after the other and stops after the first whose
// link is 0. A read that finds no bytes left gives an all-zero record, which
// ends the list; a short last record is completed with zeros. nullopt when
// not even one record could be read (an empty file).
std::optional<SignatureList> ReadSignatureDatabase(std::span<const std::uint8_t> bytes);

// The database file beside the program: <program folder>/Signature.
std::filesystem::path SignatureFilePath(const std::filesystem::path& program_dir);
// Reads the file; nullopt when it is missing, unreadable or empty.
std::optional<SignatureList> LoadSignatureFile(const std::filesystem::path& path);

// Writes records in stored form, the last with link 0 and the others with 1.
std::vector<std::uint8_t> StoreSignatureDatabase(const SignatureList& list);

// Keeps copies of the records whose selected byte is nonzero, each with the
// user's maximum size in bytes, in reverse file order. A size that does not
// fit the 32-bit field (4 GiB itself) is kept as 4 GiB - 1 rather than
// wrapping to 0, which would mean "no maximum".
SignatureList KeepSelected(const SignatureList& list, std::uint64_t maximum_bytes);

}  // namespace salvor::carver
