// The resource writer on the real player, judged by Windows: every sample
// quiz that the native ludex-pack wrote (LUDEX_NATIVE_SAMPLES) is byte for
// byte what this build writes with its streams, Windows finds in it exactly
// the player's resources and the two streams, and its checksum is the one
// imagehlp computes.
#include <gtest/gtest.h>
#include <windows.h>

#include <imagehlp.h>

#include <fstream>
#include <iterator>
#include <map>

#include "player_image.h"

namespace {

Bytes FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using Seen = std::map<std::string, Bytes>;  // "type/name/language": data

std::string Key(LPCSTR id) { return IS_INTRESOURCE(id) ? "#" + std::to_string(uintptr_t(id)) : std::string(id); }

BOOL CALLBACK OnLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR seen) {
  HRSRC found = FindResourceExA(module, type, name, language);
  const auto* bytes = found ? static_cast<const uint8_t*>(LockResource(LoadResource(module, found))) : nullptr;
  const DWORD size = found ? SizeofResource(module, found) : 0;
  (*reinterpret_cast<Seen*>(seen))[Key(type) + "/" + Key(name) + "/" + std::to_string(language)] =
      bytes ? Bytes(bytes, bytes + size) : Bytes{'?'};
  return TRUE;
}
BOOL CALLBACK OnName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR seen) {
  return EnumResourceLanguagesA(module, type, name, OnLanguage, seen);
}
BOOL CALLBACK OnType(HMODULE module, LPSTR type, LONG_PTR seen) {
  return EnumResourceNamesA(module, type, OnName, seen);
}

// Every resource of a program file, with the file mapped as the loader maps a program.
Seen ResourcesOf(const std::string& path) {
  Seen seen;
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  EXPECT_NE(module, nullptr) << path << ": error " << GetLastError();
  if (module != nullptr) {
    EnumResourceTypesA(module, OnType, LONG_PTR(&seen));
    FreeLibrary(module);
  }
  return seen;
}

TEST(PlayerImageWindows, SamplesAsWindowsSeesThem) {
  const Bytes player = FileBytes(LUDEX_PLAYER);
  Seen expected = ResourcesOf(LUDEX_PLAYER);
  ASSERT_GE(expected.size(), 4u);  // the two panels, the cursor, the icon...
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(LUDEX_NATIVE_SAMPLES "\\*.exe", &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  int samples = 0;
  do {
    const std::string path = LUDEX_NATIVE_SAMPLES "\\" + std::string(found.cFileName);
    QuizPayloads streams;
    Bytes program;
    std::string error;
    ASSERT_TRUE(ReadQuizResources(FileBytes(path), streams, error)) << error;
    ASSERT_TRUE(WriteQuizResources(player, streams, program, error)) << error;
    EXPECT_EQ(FileBytes(path), program) << path;
    expected["PATCH/#104/0"] = streams.quiz;
    expected["PATCH/#105/0"] = streams.codes;
    EXPECT_EQ(ResourcesOf(path), expected) << path;
    DWORD header = 1, computed = 2;
    EXPECT_EQ(MapFileAndCheckSumA(path.c_str(), &header, &computed), DWORD(CHECKSUM_SUCCESS));
    EXPECT_EQ(header, computed) << path;
    ++samples;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  EXPECT_GE(samples, 2);
}

}  // namespace
