// The zip of stored files: CRC-32 as the format computes it, and the fields
// every unzip reads, at their places.
#include <gtest/gtest.h>

#include "zip_file.h"

namespace {

TEST(ZipFile, StoredEntriesWithTheirFieldsAtTheirPlaces) {
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);  // the format's check value
  const std::string zip = StoredZip({{"a.txt", "hi"}, {"b", ""}});
  const auto at16 = [&zip](size_t k) { return uint32_t(uint8_t(zip[k]) | uint8_t(zip[k + 1]) << 8); };
  const auto at32 = [&](size_t k) { return at16(k) | at16(k + 2) << 16; };
  const size_t second = 30 + 5 + 2, central = second + 30 + 1, end = central + 46 + 5 + 46 + 1;
  ASSERT_EQ(zip.size(), end + 22);
  // signature, version needed (1.0: stored), flags, method (stored), time, date (1980-01-01), CRC-32, sizes, name
  const uint32_t local[] = {0x04034B50, 10, 0, 0, 0, 33};
  for (size_t k = 0; k < 6; ++k) EXPECT_EQ(k == 0 ? at32(0) : at16(2 + 2 * k), local[k]) << k;
  EXPECT_EQ(std::make_tuple(at32(14), at32(18), at32(22), at16(26)), std::make_tuple(Crc32("hi"), 2u, 2u, 5u));
  EXPECT_EQ(zip.substr(30, 7), "a.txthi");
  EXPECT_EQ(std::make_tuple(at32(second), at32(central), at32(central + 42), at32(central + 46 + 5 + 42)),
            std::make_tuple(0x04034B50u, 0x02014B50u, 0u, static_cast<uint32_t>(second)));
  // the end record: both entries, where the central directory is and its size
  EXPECT_EQ(std::make_tuple(at32(end), at16(end + 10), at32(end + 12), at32(end + 16)),
            std::make_tuple(0x06054B50u, 2u, static_cast<uint32_t>(end - central), static_cast<uint32_t>(central)));
}

}  // namespace
