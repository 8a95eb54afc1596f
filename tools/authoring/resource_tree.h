// The resources of a program: its resource directory (type, name, language,
// then the data) read as a flat list, and a list laid out again as the
// content of a resource section. Portable: no windows.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "pe_image.h"

// The structures of a resource directory: tables of entries, each entry a
// name and a target, on the last level a data entry.
enum : size_t {
  ResourceTableHeaderSize = 16,
  NamedEntryCountField = 12,  // the entries named by strings come first
  IdEntryCountField = 14,
  ResourceEntrySize = 8,
  EntryNameField = 0,    // a number, or with the high bit a string's offset: its length, then UTF-16
  EntryTargetField = 4,  // with the high bit a table's offset, else a data entry's
  DataEntrySize = 16,
  DataAddressField = 0,
  DataSizeField = 4,
  DataCodePageField = 8,
};
enum : uint32_t { EntryHighBit = 0x80000000u };

// What the reader takes from a file at most: the writer counts each table's
// entries in 16 bits, and what it copies out (every resource, its data, its
// names) may take four times the file's size.
const size_t MaxResources = 65535;
const size_t MemoryPerFileByte = 4;

// A type, a name or a language: a number, or a UTF-16 string.
struct ResourceKey {
  bool named = false;
  uint16_t id = 0;
  std::u16string name;
};

// The order of a directory, which the Windows loader searches by halves:
// strings first, by their UTF-16 units, then numbers.
bool operator<(const ResourceKey& a, const ResourceKey& b);
bool operator==(const ResourceKey& a, const ResourceKey& b);

struct Resource {
  ResourceKey type, name, language;
  uint32_t codePage = 0;
  Bytes data;
};
bool operator==(const Resource& a, const Resource& b);

// Every resource of the image, in the directory's order. False, with a
// French message, when the directory is damaged (a table or a name outside
// its section, more than three levels, data outside the file, tables gone
// through more than once) or asks for more than the bounds above.
bool ReadResources(const Bytes& bytes, const PeImage& image, std::vector<Resource>& resources, std::string& error);

// Sorts resources in the order of their directory: by type, name, then
// language; resources with the same three keep their order.
void SortResources(std::vector<Resource>& resources);

// The content of a resource section at address for these resources, sorted:
// every directory table, then the data entries, the names, and the data,
// each piece of data at a multiple of 8 bytes. Directory tables carry no
// date and no version.
Bytes LayOutResources(std::vector<Resource> resources, uint32_t address);
