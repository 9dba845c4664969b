#pragma once
// A program signed with Authenticode carries its certificate table at the end of its file, where
// the PE header's security directory says; an installer's payload then ends before that table.
#include <cstddef>
#include <cstdint>
#include <string>

namespace zarvane {

class ArchiveFile;

// Where the header of the Windows program at the head of a file keeps what signing sets.
struct SigningFields {
  std::size_t checksumAt = 0;   // the optional header's CheckSum, 4 bytes
  std::size_t directoryAt = 0;  // the security directory: table offset, then size, 4 bytes each
  std::uint32_t tableOffset = 0;
  std::uint32_t tableSize = 0;
};

// False when `head` does not begin with a whole PE header that has a security directory.
bool ReadSigningFields(const std::string& head, SigningFields& fields);

// Where the data behind the program ends in the open `file` of `fileSize` bytes: at its
// certificate table, less the up to 7 zero bytes a signing tool adds to align it, when the header
// names a table that ends the file; else `fileSize`. -1 when the file cannot be read.
std::int64_t PayloadEnd(ArchiveFile& file, std::int64_t fileSize, bool* isSigned = nullptr);

// `program` holds the head of a program's file up to its payload. When it was signed, it is made
// an unsigned program: no certificate table entry, no checksum (which no longer holds).
void RemoveSigningFields(std::string& program);

// The program with its checksum and certificate table entry zeroed, signed or not: what a
// program and its signed copy have in common.
std::string WithoutSigningFields(std::string program);

}  // namespace zarvane
