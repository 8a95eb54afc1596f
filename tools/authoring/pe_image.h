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

enum : int {
  ResourceDirectory = 2,     // entries of the data directory
  CertificateDirectory = 4,  // a file offset, not an address: the signature after the sections
  RelocationDirectory = 5,
  SectionHeaderSize = 40,
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

// Field offsets in the optional header, the same in 32 and 64 bits.
enum : size_t {
  InitializedDataSizeField = 8,
  ImageSizeField = 56,
  ChecksumField = 64,
};

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
