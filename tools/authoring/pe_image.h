// The headers of a Windows program file (the PE format), read from its bytes
// with every offset checked against the file's size. Portable: no windows.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "quiz_payloads.h"

// The largest program file the tools read or write: the player is about
// 230 kB, a program that carries it (the editor) about 1 MB.
const size_t MaxProgramBytes = 32 << 20;

// Where each field lies in its structure: the reader, the writer and the
// tests name them from here.
enum : size_t {
  MzHeaderSize = 0x40,
  PeOffsetField = 0x3C,  // in the MZ header: where "PE\0\0" starts
  PeSignatureSize = 4,
  // The file header (COFF), after the signature.
  SectionCountField = 2,
  SymbolTableField = 8,  // a file offset; the long section names follow the symbols
  SymbolCountField = 12,
  OptionalSizeField = 16,
  FileHeaderSize = 20,
  LongNamesHeaderSize = 4,  // the long section names: their size (this field included), then the names
  // The optional header: the same fields in 32 and 64 bits up to the checksum.
  MagicField = 0,
  InitializedDataSizeField = 8,
  SectionAlignmentField = 32,
  FileAlignmentField = 36,
  ImageSizeField = 56,
  HeadersSizeField = 60,
  ChecksumField = 64,
  // The data directory, from 96 (32 bits) or 112 (64 bits): after the count
  // of its entries, each entry is an address and a size.
  Pe32DirectoryStart = 96,
  Pe32PlusDirectoryStart = 112,
  DirectoryCountSize = 4,
  DirectoryAddressField = 0,
  DirectorySizeField = 4,
  DirectoryEntrySize = 8,
  // A section header.
  SectionNameSize = 8,
  VirtualSizeField = 8,
  VirtualAddressField = 12,
  RawSizeField = 16,
  RawOffsetField = 20,
  CharacteristicsField = 36,
  SectionHeaderSize = 40,
  // A block of base relocations: the page it fixes, its size, then entries
  // of a type (4 bits) and an offset in the page (12 bits).
  RelocationPageField = 0,
  RelocationBlockSizeField = 4,
  RelocationBlockHeaderSize = 8,
  RelocationEntrySize = 2,
};

enum : uint16_t {
  Pe32Magic = 0x10B,
  Pe32PlusMagic = 0x20B,
};

enum : int {
  ResourceDirectory = 2,     // entries of the data directory
  CertificateDirectory = 4,  // a file offset, not an address: the signature after the sections
  RelocationDirectory = 5,
};

enum : uint32_t {
  InitializedData = 0x40,  // section characteristics
  ReadableSection = 0x40000000,
};

struct PeSection {
  size_t headerOffset;  // its 40 bytes in the section table
  std::string name;
  uint32_t virtualSize, virtualAddress, rawSize, rawOffset, characteristics;
};

struct PeAddressRange {
  uint32_t address;  // relative to the image base
  uint32_t size;
};

struct PeImage {
  size_t coffOffset;       // the file header, just after "PE\0\0"
  size_t optionalOffset;   // the optional header
  size_t directoryOffset;  // its data directory
  size_t sectionTableOffset;
  uint32_t fileAlignment, sectionAlignment, headersSize;
  uint32_t symbolTable, symbolCount;
  std::vector<PeAddressRange> directories;  // at most 16
  std::vector<PeSection> sections;          // in the table's order
};

// Little-endian numbers; the bytes past the end read as zeros, so a damaged
// offset gives a wrong number, which the checks then refuse, never a read
// past the buffer.
uint16_t ReadLe16(const Bytes& bytes, size_t offset);
uint32_t ReadLe32(const Bytes& bytes, size_t offset);
void WriteLe16(Bytes& bytes, size_t offset, uint16_t value);
void WriteLe32(Bytes& bytes, size_t offset, uint32_t value);

// Reads the headers and the section table. False, with a French message,
// when bytes are not a PE program or its headers do not fit in the file.
bool ReadPeImage(const Bytes& bytes, PeImage& image, std::string& error);

// The directory entry, or an empty range when the image has none.
PeAddressRange DirectoryOf(const PeImage& image, int entry);

// The bytes of a section's raw data that are loaded: the loader leaves out
// what passes its virtual size.
uint32_t LoadedRawSize(const PeSection& section);

// Where size bytes at address lie in the file: inside the loaded raw data of
// one section, and inside the file. False when they do not.
bool FileOffsetOf(const PeImage& image, size_t fileSize, uint32_t address, uint32_t size, size_t& offset);

// The sum that Windows keeps in the optional header (CheckSum) and checks for
// drivers and system files: 16-bit words added with their carries, the field
// itself counted as zero, plus the file's length.
uint32_t PeChecksum(const Bytes& bytes, size_t checksumOffset);

// value rounded up to a multiple of alignment (a power of two).
uint64_t AlignUp(uint64_t value, uint32_t alignment);
