#include "signed_program.h"

#include "archive_file.h"
#include "archive_format.h"

namespace zarvane {
namespace {

constexpr std::size_t kHeadSize = 4096;  // a linker puts the PE header within the first page
constexpr unsigned kAlignment = 8;       // signing tools align the table to 8 bytes

std::uint32_t U16At(const unsigned char* b, std::size_t at) { return b[at] | b[at + 1] << 8; }

bool ReadFields(const unsigned char* head, std::size_t size, SigningFields& fields) {
  if (size < 0x40 || head[0] != 'M' || head[1] != 'Z') return false;
  const std::size_t pe = GetU32LE(head + 0x3C);
  if (pe > size || size - pe < 24 + 2 || GetU32LE(head + pe) != 0x4550) return false;  // "PE\0\0"
  const std::size_t optional = pe + 24;
  const std::uint32_t magic = U16At(head, optional);
  if (magic != 0x10B && magic != 0x20B) return false;  // PE32, PE32+
  const std::size_t count = optional + (magic == 0x10B ? 92 : 108);
  const std::size_t directories = count + 4;
  if (size < directories + 5 * 8 || GetU32LE(head + count) < 5) return false;
  fields.checksumAt = optional + 64;
  fields.directoryAt = directories + 4 * 8;
  fields.tableOffset = GetU32LE(head + fields.directoryAt);
  fields.tableSize = GetU32LE(head + fields.directoryAt + 4);
  return true;
}

bool ReadFields(const std::string& program, SigningFields& fields) {
  return ReadFields(reinterpret_cast<const unsigned char*>(program.data()),
                    program.size() < kHeadSize ? program.size() : kHeadSize, fields);
}

void ClearSigningFields(std::string& program, const SigningFields& fields) {
  program.replace(fields.checksumAt, 4, 4, '\0');
  program.replace(fields.directoryAt, 8, 8, '\0');
}

}  // namespace

bool ReadSigningFields(const std::string& head, SigningFields& fields) {
  return ReadFields(reinterpret_cast<const unsigned char*>(head.data()), head.size(), fields);
}

std::int64_t PayloadEnd(ArchiveFile& file, std::int64_t fileSize, bool* isSigned) {
  if (isSigned) *isSigned = false;
  if (fileSize < 0) return -1;
  unsigned char head[kHeadSize];
  const std::size_t size = fileSize < std::int64_t(kHeadSize) ? std::size_t(fileSize) : kHeadSize;
  if (!file.Seek(0) || file.Read(head, size) != size) return -1;
  SigningFields fields;
  if (!ReadFields(head, size, fields) || fields.tableSize == 0 ||
      std::int64_t(fields.tableOffset) + fields.tableSize != fileSize || fields.tableOffset < size)
    return fileSize;
  unsigned char before[kAlignment - 1];
  if (!file.Seek(fields.tableOffset - std::int64_t(sizeof before)) ||
      file.Read(before, sizeof before) != sizeof before)
    return -1;
  std::int64_t end = fields.tableOffset;
  for (int i = int(sizeof before) - 1; i >= 0 && before[i] == 0; --i) --end;
  if (isSigned) *isSigned = true;
  return end;
}

void RemoveSigningFields(std::string& program) {
  SigningFields fields;
  if (ReadFields(program, fields) && (fields.tableOffset != 0 || fields.tableSize != 0))
    ClearSigningFields(program, fields);
}

std::string WithoutSigningFields(std::string program) {
  SigningFields fields;
  if (ReadFields(program, fields)) ClearSigningFields(program, fields);
  return program;
}

}  // namespace zarvane
