#include "pe_image.h"

#include <algorithm>

namespace {

enum : size_t {
  MaxSections = 96,  // what the Windows loader accepts
  MaxDirectories = 16,
};

bool IsPowerOfTwo(uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

const char* const DamagedHeader = "l'en-t\xEAte du programme est ab\xEEm\xE9";

bool ReadOptionalHeader(const Bytes& bytes, PeImage& image, size_t optionalSize, std::string& error) {
  const size_t at = image.optionalOffset;
  const uint16_t magic = optionalSize >= 2 ? ReadLe16(bytes, at + MagicField) : 0;
  const size_t directoryStart = magic == Pe32Magic       ? Pe32DirectoryStart
                                : magic == Pe32PlusMagic ? Pe32PlusDirectoryStart
                                                         : 0;
  if (directoryStart == 0 || optionalSize < directoryStart) {
    error = std::string(DamagedHeader) + " (en-t\xEAte optionnel inconnu)";
    return false;
  }
  image.directoryOffset = at + directoryStart;
  const size_t declared = ReadLe32(bytes, image.directoryOffset - DirectoryCountSize);
  const size_t count =
      std::min({declared, size_t(MaxDirectories), (optionalSize - directoryStart) / DirectoryEntrySize});
  for (size_t k = 0; k < count; ++k) {
    const size_t entry = image.directoryOffset + DirectoryEntrySize * k;
    image.directories.push_back(
        {ReadLe32(bytes, entry + DirectoryAddressField), ReadLe32(bytes, entry + DirectorySizeField)});
  }
  image.sectionAlignment = ReadLe32(bytes, at + SectionAlignmentField);
  image.fileAlignment = ReadLe32(bytes, at + FileAlignmentField);
  image.headersSize = ReadLe32(bytes, at + HeadersSizeField);
  if (!IsPowerOfTwo(image.fileAlignment) || !IsPowerOfTwo(image.sectionAlignment) ||
      image.fileAlignment > image.sectionAlignment) {
    error = std::string(DamagedHeader) + " (alignements)";
    return false;
  }
  return true;
}

}  // namespace

uint16_t ReadLe16(const Bytes& bytes, size_t offset) { return uint16_t(ReadLe32(bytes, offset)); }

uint32_t ReadLe32(const Bytes& bytes, size_t offset) {
  uint32_t value = 0;
  for (size_t k = 0; k < 4 && offset < bytes.size() && bytes.size() - offset > k; ++k) {
    value |= uint32_t(bytes[offset + k]) << 8 * k;
  }
  return value;
}

void WriteLe16(Bytes& bytes, size_t offset, uint16_t value) {
  bytes[offset] = uint8_t(value);
  bytes[offset + 1] = uint8_t(value >> 8);
}

void WriteLe32(Bytes& bytes, size_t offset, uint32_t value) {
  WriteLe16(bytes, offset, uint16_t(value));
  WriteLe16(bytes, offset + 2, uint16_t(value >> 16));
}

bool ReadPeImage(const Bytes& bytes, PeImage& image, std::string& error) {
  image = PeImage();
  if (bytes.size() < MzHeaderSize || bytes[0] != 'M' || bytes[1] != 'Z') {
    error = "ce n'est pas un programme Windows (pas d'en-t\xEAte MZ)";
    return false;
  }
  const size_t pe = ReadLe32(bytes, PeOffsetField);
  if (pe > bytes.size() || bytes.size() - pe < PeSignatureSize + FileHeaderSize || bytes[pe] != 'P' ||
      bytes[pe + 1] != 'E' || bytes[pe + 2] != 0 || bytes[pe + 3] != 0) {
    error = "ce n'est pas un programme Windows (pas d'en-t\xEAte PE)";
    return false;
  }
  image.coffOffset = pe + PeSignatureSize;
  const size_t sectionCount = ReadLe16(bytes, image.coffOffset + SectionCountField);
  image.symbolTable = ReadLe32(bytes, image.coffOffset + SymbolTableField);
  image.symbolCount = ReadLe32(bytes, image.coffOffset + SymbolCountField);
  const size_t optionalSize = ReadLe16(bytes, image.coffOffset + OptionalSizeField);
  image.optionalOffset = image.coffOffset + FileHeaderSize;
  image.sectionTableOffset = image.optionalOffset + optionalSize;
  if (image.sectionTableOffset > bytes.size()) {
    error = std::string(DamagedHeader) + " (il d\xE9passe la fin du fichier)";
    return false;
  }
  if (!ReadOptionalHeader(bytes, image, optionalSize, error)) return false;
  if (sectionCount > MaxSections || (bytes.size() - image.sectionTableOffset) / SectionHeaderSize < sectionCount) {
    error = std::string(DamagedHeader) + " (table des sections)";
    return false;
  }
  for (size_t k = 0; k < sectionCount; ++k) {
    const size_t at = image.sectionTableOffset + SectionHeaderSize * k;
    PeSection section{at,
                      "",
                      ReadLe32(bytes, at + VirtualSizeField),
                      ReadLe32(bytes, at + VirtualAddressField),
                      ReadLe32(bytes, at + RawSizeField),
                      ReadLe32(bytes, at + RawOffsetField),
                      ReadLe32(bytes, at + CharacteristicsField)};
    for (size_t c = 0; c < SectionNameSize && bytes[at + c] != 0; ++c) {
      section.name += bytes[at + c] < 0x20 || bytes[at + c] >= 0x7F ? '?' : char(bytes[at + c]);  // shown in messages
    }
    image.sections.push_back(section);
  }
  return true;
}

PeAddressRange DirectoryOf(const PeImage& image, int entry) {
  return size_t(entry) < image.directories.size() ? image.directories[entry] : PeAddressRange{0, 0};
}

uint32_t LoadedRawSize(const PeSection& section) {
  return section.virtualSize != 0 ? std::min(section.rawSize, section.virtualSize) : section.rawSize;
}

bool FileOffsetOf(const PeImage& image, size_t fileSize, uint32_t address, uint32_t size, size_t& offset) {
  for (const PeSection& section : image.sections) {
    if (address < section.virtualAddress) continue;
    const uint64_t inside = address - section.virtualAddress;
    if (inside + size > LoadedRawSize(section)) continue;
    const uint64_t at = uint64_t(section.rawOffset) + inside;
    if (at + size > fileSize) return false;
    offset = size_t(at);
    return true;
  }
  return false;
}

uint32_t PeChecksum(const Bytes& bytes, size_t checksumOffset) {
  const auto byteAt = [&](size_t p) -> uint32_t {
    const bool inField = p >= checksumOffset && p - checksumOffset < 4;
    return p < bytes.size() && !inField ? bytes[p] : 0;
  };
  uint32_t sum = 0;
  for (size_t p = 0; p < bytes.size(); p += 2) {
    sum += byteAt(p) | byteAt(p + 1) << 8;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return ((sum & 0xFFFF) + (sum >> 16)) + uint32_t(bytes.size());
}

uint64_t AlignUp(uint64_t value, uint32_t alignment) { return (value + alignment - 1) & ~uint64_t(alignment - 1); }
