#include "signed_program.h"

#include "archive_file.h"
#include "archive_format.h"

namespace zarvane {
namespace {

constexpr std::size_t kHeadSize = 4096;  // a linker puts the PE header within the first page
constexpr unsigned kAlignment = 8;       // signing tools align the table to 8 bytes

std::uint32_t U16At(const std::string& b, std::size_t at) {
  return std::uint32_t(static_cast<unsigned char>(b[at])) |
         std::uint32_t(static_cast<unsigned char>(b[at + 1])) << 8;
}

std::uint32_t U32At(const std::string& b, std::size_t at) {
  return GetU32LE(reinterpret_cast<const unsigned char*>(b.data() + at));
}

}  // namespace

bool ReadSigningFields(const std::string& head, SigningFields& fields) {
  if (head.size() < 0x40 || head.compare(0, 2, "MZ") != 0) return false;
  const std::size_t pe = U32At(head, 0x3C);
  if (pe > head.size() || head.size() - pe < 24 + 2 ||
      head.compare(pe, 4, std::string("PE\0\0", 4)) != 0)
    return false;
  const std::size_t optional = pe + 24;
  const std::uint32_t magic = U16At(head, optional);
  if (magic != 0x10B && magic != 0x20B) return false;  // PE32, PE32+
  const std::size_t count = optional + (magic == 0x10B ? 92 : 108);
  const std::size_t directories = count + 4;
  if (head.size() < directories + 5 * 8 || U32At(head, count) < 5) return false;
  fields.checksumAt = optional + 64;
  fields.directoryAt = directories + 4 * 8;
  fields.tableOffset = U32At(head, fields.directoryAt);
  fields.tableSize = U32At(head, fields.directoryAt + 4);
  return true;
}

std::int64_t PayloadEnd(ArchiveFile& file, std::int64_t fileSize, bool* isSigned) {
  if (isSigned) *isSigned = false;
  if (fileSize < 0) return -1;
  std::string head(static_cast<std::size_t>(fileSize < std::int64_t(kHeadSize) ? fileSize : kHeadSize), '\0');
  if (!file.Seek(0) || (!head.empty() && file.Read(&head[0], head.size()) != head.size()))
    return -1;
  SigningFields fields;
  if (!ReadSigningFields(head, fields) || fields.tableSize == 0 ||
      std::int64_t(fields.tableOffset) + fields.tableSize != fileSize ||
      fields.tableOffset < head.size())
    return fileSize;
  unsigned char before[kAlignment - 1];
  const std::int64_t start = fields.tableOffset - std::int64_t(sizeof before);
  if (!file.Seek(start) || file.Read(before, sizeof before) != sizeof before) return -1;
  std::int64_t end = fields.tableOffset;
  for (int i = int(sizeof before) - 1; i >= 0 && before[i] == 0; --i) --end;
  if (isSigned) *isSigned = true;
  return end;
}

namespace {

void ClearSigningFields(std::string& program, const SigningFields& fields) {
  program.replace(fields.checksumAt, 4, 4, '\0');
  program.replace(fields.directoryAt, 8, 8, '\0');
}

}  // namespace

void RemoveSigningFields(std::string& program) {
  SigningFields fields;
  if (ReadSigningFields(program.substr(0, kHeadSize), fields) &&
      (fields.tableOffset != 0 || fields.tableSize != 0))
    ClearSigningFields(program, fields);
}

std::string WithoutSigningFields(std::string program) {
  SigningFields fields;
  if (ReadSigningFields(program.substr(0, kHeadSize), fields)) ClearSigningFields(program, fields);
  return program;
}

}  // namespace zarvane
