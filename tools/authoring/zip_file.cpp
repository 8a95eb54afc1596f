#include "zip_file.h"

namespace {

const uint16_t DosDate = 1 << 5 | 1;  // 1980-01-01: the earliest a zip can say
const uint16_t DosTime = 0;
const uint16_t VersionNeeded = 10;    // stored files
const uint16_t VersionMadeBy = 20;    // MS-DOS attributes, format 2.0

void Put16(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8 & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// What the local header and the central directory say alike of an entry:
// version needed, flags, method, time, date, CRC-32, both sizes, name length.
void PutCommonFields(std::string& out, const ZipEntry& entry, uint32_t crc) {
  Put16(out, VersionNeeded);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, DosTime);
  Put16(out, DosDate);
  Put32(out, crc);
  Put32(out, static_cast<uint32_t>(entry.bytes.size()));
  Put32(out, static_cast<uint32_t>(entry.bytes.size()));
  Put16(out, static_cast<uint32_t>(entry.name.size()));
  Put16(out, 0);  // no extra field
}

}  // namespace

uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

std::string StoredZip(const std::vector<ZipEntry>& entries) {
  std::string zip, directory;
  for (const ZipEntry& entry : entries) {
    const uint32_t offset = static_cast<uint32_t>(zip.size());
    const uint32_t crc = Crc32(entry.bytes);
    Put32(zip, 0x04034B50);
    PutCommonFields(zip, entry, crc);
    zip += entry.name + entry.bytes;
    Put32(directory, 0x02014B50);
    Put16(directory, VersionMadeBy);
    PutCommonFields(directory, entry, crc);
    Put16(directory, 0);  // no comment
    Put16(directory, 0);  // disk 0
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, offset);
    directory += entry.name;
  }
  const uint32_t directoryOffset = static_cast<uint32_t>(zip.size());
  zip += directory;
  Put32(zip, 0x06054B50);
  Put16(zip, 0);
  Put16(zip, 0);
  Put16(zip, static_cast<uint32_t>(entries.size()));
  Put16(zip, static_cast<uint32_t>(entries.size()));
  Put32(zip, static_cast<uint32_t>(directory.size()));
  Put32(zip, directoryOffset);
  Put16(zip, 0);  // no comment
  return zip;
}
