// A zip file written the simplest way that every unzip reads: each file
// stored as it is (no compression), with its CRC-32, in the order given,
// every date the same (1 January 1980, 00:00), so that the same files
// always give the same bytes. Names are ASCII; no file passes 4 GB.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ZipEntry {
  std::string name;  // its path in the zip, '/' between folders
  std::string bytes;
};

std::string StoredZip(const std::vector<ZipEntry>& entries);

// The CRC-32 of the zip format (ISO 3309, reflected, 0xEDB88320).
uint32_t Crc32(const std::string& bytes);
