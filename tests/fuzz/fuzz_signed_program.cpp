// Any bytes as the head of a signed program's file: the header reader stays inside them, the
// payload's end never lies past the file, and removing the signing fields keeps every other byte.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "archive_file.h"
#include "fuzz_scratch.h"
#include "signed_program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzScratch scratch;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  zarvane::SigningFields fields;
  if (zarvane::ReadSigningFields(bytes, fields) &&
      (fields.checksumAt + 4 > size || fields.directoryAt + 8 > size))
    std::abort();
  std::string program = bytes;
  zarvane::RemoveSigningFields(program);
  const std::string plain = zarvane::WithoutSigningFields(bytes);
  if (program.size() != size || plain.size() != size || zarvane::WithoutSigningFields(plain) != plain)
    std::abort();

  zarvane::ArchiveFile file;
  if (!file.OpenRead(scratch.Write("program.exe", data, size))) std::abort();
  bool isSigned = false;
  const std::int64_t end = zarvane::PayloadEnd(file, std::int64_t(size), &isSigned);
  if (end < 0 || end > std::int64_t(size) || (!isSigned && end != std::int64_t(size)) ||
      (isSigned && std::int64_t(fields.tableOffset) - end > 7))
    std::abort();
  return 0;
}
