// The quiz resources of a player program, read and written in real programs
// that the MinGW cross compilers built for the tests (programs/) and in
// resource directories made by hand; the real player is written under wine
// (player_image_windows_test.cpp), the written programs are read by pefile
// (pe_oracle_test.py).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "carried_bytes.h"
#include "player_image.h"

namespace {

ResourceKey Id(uint16_t id) { return {false, id, u""}; }
ResourceKey Named(const char16_t* name) { return {true, 0, name}; }
Resource R(ResourceKey type, uint16_t name, uint16_t language, Bytes data) {
  return {type, Id(name), Id(language), 0, data};
}
const ResourceKey Patch = Named(u"PATCH");
const QuizPayloads Small{Bytes(40, 'q'), Bytes(9, 'c')}, Large{Bytes(9000, 'Q'), Bytes(3000, 'C')};

// A program that the MinGW cross compilers built (programs/CMakeLists.txt).
Bytes Program(const char* file) {
  std::ifstream in(std::string(LUDEX_TEST_PROGRAMS) + "/" + file, std::ios::binary);
  const Bytes bytes(std::istreambuf_iterator<char>(in), {});
  EXPECT_FALSE(bytes.empty()) << file;
  return bytes;
}

Bytes Changed(Bytes image, size_t offset, uint32_t value) {
  WriteLe32(image, offset, value);
  return image;
}

Bytes Written(const Bytes& image, const QuizPayloads& streams) {
  Bytes program;
  std::string error;
  EXPECT_TRUE(WriteQuizResources(image, streams, program, error)) << error;
  return program;
}

PeImage Headers(const Bytes& image) {
  PeImage pe;
  std::string error;
  EXPECT_TRUE(ReadPeImage(image, pe, error)) << error;
  return pe;
}

std::vector<Resource> ResourcesOf(const Bytes& image) {
  std::vector<Resource> list;
  std::string error;
  EXPECT_TRUE(ReadResources(image, Headers(image), list, error)) << error;
  return list;
}

// What a program written with these streams must hold.
std::vector<Resource> WithQuiz(const std::vector<Resource>& list, const QuizPayloads& streams) {
  std::vector<Resource> kept = {R(Patch, 104, 0, streams.quiz), R(Patch, 105, 0, streams.codes)};
  for (const Resource& r : list) {
    if (!(r.type == Patch && (r.name == Id(104) || r.name == Id(105)))) kept.push_back(r);
  }
  SortResources(kept);
  return kept;
}

// Its relocations made one block fixing page: its last entries these, the others padding.
Bytes FixUps(Bytes image, uint32_t page, std::vector<uint16_t> entries) {
  const PeImage pe = Headers(image);
  const size_t block = pe.sections.back().rawOffset, size = DirectoryOf(pe, RelocationDirectory).size;
  entries.insert(entries.begin(), (size - RelocationBlockHeaderSize) / RelocationEntrySize - entries.size(), 0);
  WriteLe32(image, block + RelocationPageField, page);
  WriteLe32(image, block + RelocationBlockSizeField, uint32_t(size));
  for (size_t k = 0; k < entries.size(); ++k) {
    WriteLe16(image, block + RelocationBlockHeaderSize + RelocationEntrySize * k, entries[k]);
  }
  return image;
}

// The entry of the root's first entry that leads to the first language: the file offset of its target.
size_t FirstLanguageTarget(const Bytes& image, const PeSection& resources) {
  size_t field = resources.rawOffset + ResourceTableHeaderSize + EntryTargetField;
  for (int level = 1; level < 3; ++level) {
    field = resources.rawOffset + (ReadLe32(image, field) & ~EntryHighBit) + ResourceTableHeaderSize + EntryTargetField;
  }
  return field;
}

TEST(PlayerImage, BytesChecksumAndResourceOrder) {
  const Bytes three = {1, 2, 3};
  EXPECT_EQ(ReadLe16(three, 1), 0x0302u);
  EXPECT_EQ(ReadLe16(three, 2), 0x0003u);  // the bytes past the end read as zeros
  EXPECT_EQ(ReadLe32(three, 0), 0x030201u);
  EXPECT_EQ(ReadLe32(three, SIZE_MAX - 1), 0u);
  EXPECT_EQ(PeChecksum({1, 2, 3}, 100), 0x0201u + 0x0003 + 3);
  EXPECT_EQ(PeChecksum({0xFF, 0xFF, 2, 0, 9, 9, 9, 9}, 4), 0x0002u + 8);  // 0xFFFF + 2 folds to 2; the field is skipped
  EXPECT_TRUE(Named(u"B") < Named(u"BA") && Named(u"BA") < Named(u"C") && Named(u"C") < Id(1) && Id(1) < Id(2));
  EXPECT_FALSE(R(Id(1), 1, 0, {1}) == R(Id(1), 1, 0, {2}) || R(Id(1), 1, 0, {1}) == R(Id(1), 1, 9, {1}));
}

// Real programs of every kind, and a few changed where linkers could have
// made them otherwise, take the quiz, keep every other resource and the long
// names of their sections; packing a packed program again gives what packing
// the program did.
TEST(PlayerImage, WritesTheQuizIntoRealPrograms) {
  const Bytes gui = Program("gui64.exe"), bare = Program("bare64.exe");
  const PeImage pe = Headers(gui), barePe = Headers(bare);
  const size_t slotEnd = barePe.sectionTableOffset + SectionHeaderSize * (barePe.sections.size() + 1);
  const PeSection& resources = pe.sections[pe.sections.size() - 2];
  const size_t debugEntry = pe.directoryOffset + DirectoryEntrySize * 6;  // a table of the header: debugging
  // clang-format off
  const struct { const char* name; Bytes image; } cases[] = {
      {"gui64", gui}, {"gui32", Program("gui32.exe")}, {"library64", Program("library64.dll")},
      {"norelocs64", Program("norelocs64.exe")}, {"norelocs32", Program("norelocs32.exe")},
      {"bare64", bare}, {"bare32", Program("bare32.exe")},
      {"RoomForOneMoreSection", Changed(bare, barePe.optionalOffset + HeadersSizeField, uint32_t(slotEnd))},
      {"align512", Program("align512.exe")}, {"stripped32", Program("stripped32.exe")},
      {"SectionAlignment64K", Changed(gui, pe.optionalOffset + SectionAlignmentField, 0x10000)},
      {"TableEndsWhereResourcesStart", Changed(Changed(gui, debugEntry, resources.virtualAddress - 16), debugEntry + DirectorySizeField, 16)},
      {"FixUpEndsWhereResourcesStart", FixUps(gui, resources.virtualAddress - 0x1000, {0xAFF8})},
      {"HalvesEndWhereResourcesStart", FixUps(gui, resources.virtualAddress - 0x1000, {0x4FFE, 0xAFFF, 0x2FFE})},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes program = Written(c.image, Large);
    EXPECT_EQ(ResourcesOf(program), WithQuiz(ResourcesOf(c.image), Large));
    EXPECT_EQ(Written(program, Small), Written(c.image, Small));
    const PeImage before = Headers(c.image), after = Headers(program);
    const Bytes names(c.image.begin() + (before.symbolTable ? before.symbolTable : c.image.size()), c.image.end());
    EXPECT_EQ(Bytes(program.begin() + (after.symbolTable ? after.symbolTable : program.size()), program.end()), names);
  }
}

// A program the writer cannot rewrite safely, or cannot read, is refused with the reason.
TEST(PlayerImage, RefusesWhatItCannotRewriteSafely) {
  const Bytes quiz = Written(Program("gui64.exe"), Small), bare = Program("bare64.exe");
  const Bytes noRelocations = Written(Program("norelocs64.exe"), Small),
              names = Written(Program("stripped32.exe"), Small);
  const PeImage pe = Headers(quiz);
  const PeSection &code = pe.sections[0], &resources = pe.sections[pe.sections.size() - 2],
                  &relocations = pe.sections.back();
  const auto entry = [&pe](int d) { return pe.directoryOffset + DirectoryEntrySize * d; };
  const size_t coff = pe.coffOffset, optional = pe.optionalOffset, root = resources.rawOffset + ResourceTableHeaderSize;
  const size_t target = FirstLanguageTarget(quiz, resources), dataEntry = resources.rawOffset + ReadLe32(quiz, target);
  const size_t freeSlot = Headers(bare).sectionTableOffset + SectionHeaderSize * Headers(bare).sections.size();
  Bytes overlay = quiz, truncated(quiz.begin(), quiz.end() - 0x100),
        cutData(quiz.begin(), quiz.begin() + resources.rawOffset + 0x200),
        relocationsFirst = Changed(quiz, relocations.headerOffset + RawOffsetField, code.rawOffset);
  overlay.push_back(0);
  relocationsFirst.resize(relocations.rawOffset);       // the file ends with the resources
  ASSERT_GT(resources.rawSize, resources.virtualSize);  // raw bytes that the loader leaves out
  // clang-format off
  const struct { const char* name; Bytes image; bool readable; const char* words; } cases[] = {
      {"NotMz", Changed(quiz, 0, 'M' | 'X' << 8), false, "pas d'en-tête MZ"},
      {"ShorterThanMz", {'M', 'Z'}, false, "pas d'en-tête MZ"}, {"MzHeaderAlone", Bytes(quiz.begin(), quiz.begin() + MzHeaderSize), false, "pas d'en-tête PE"},
      {"NotPe", Changed(quiz, coff - 4, 'P' | 'E' << 8 | 'X' << 16), false, "pas d'en-tête PE"},
      {"PeHeaderPastTheEnd", Changed(quiz, PeOffsetField, 0xFFFFFFF0), false, "pas d'en-tête PE"},
      {"OptionalHeaderPastTheEnd", Changed(quiz, coff + OptionalSizeField, 0xFFFF), false, "il dépasse la fin du fichier"},
      {"UnknownOptionalHeader", Changed(quiz, optional + MagicField, 0x999), false, "en-tête optionnel inconnu"},
      {"TooManySections", Changed(quiz, coff + SectionCountField, 97), false, "table des sections"},
      {"FileAlignment", Changed(quiz, optional + FileAlignmentField, 0x300), false, "alignements"},
      {"HugeAlignment", Changed(Changed(quiz, optional + SectionAlignmentField, 1u << 17), optional + FileAlignmentField, 1u << 17), true, "hors de l'ordinaire"},
      {"Symbols", Program("symbols64.exe"), false, "liez-le avec -s"},
      {"LongNamesAstray", Changed(quiz, coff + SymbolTableField, 0x800), true, "noms longs des sections du programme ne sont pas à leur place"},
      {"LongNamesOfAnotherSize", Changed(names, Headers(names).symbolTable, 15), true, "noms longs des sections du programme ne sont pas à leur place"},
      {"Signed", Changed(quiz, entry(CertificateDirectory) + DirectorySizeField, 16), true, "signé"},
      {"Overlay", overlay, true, "des données suivent la dernière section du programme (1 octet :"},
      {"TruncatedSection", truncated, true, "tronqué : sa section .reloc"},
      {"TruncatedResourceData", cutData, false, "tronqué : sa section .rsrc"},
      {"HeadersPastTheEnd", Changed(quiz, optional + HeadersSizeField, 0x10000), true, "tronqué : son en-tête"},
      {"SectionAfterResources", Changed(quiz, entry(RelocationDirectory), 0), true, "la section .reloc suit les ressources"},
      {"TableInWhatMoves", Changed(Changed(quiz, entry(6), resources.virtualAddress), entry(6) + DirectorySizeField, 28), true, "l'entrée 6 du répertoire"},
      {"FixUpInResources", FixUps(quiz, resources.virtualAddress, {0xA000}), true, "une relocation du programme touche"},
      {"FixUpEndsInResources", FixUps(quiz, resources.virtualAddress - 0x1000, {0xAFF9}), true, "une relocation du programme touche"},
      {"RelocationsDamaged", Changed(quiz, relocations.rawOffset + RelocationBlockSizeField, 4), true, "relocations du programme sont abîmées"},
      {"RelocationsOutside", Changed(quiz, entry(RelocationDirectory) + DirectorySizeField, 0x10000), true, "relocations du programme sortent"},
      {"RelocationTableInResources", Changed(Changed(noRelocations, entry(RelocationDirectory), resources.virtualAddress), entry(RelocationDirectory) + DirectorySizeField, 8), true, "l'entrée 5 du répertoire"},
      {"RelocationsFirstInTheFile", relocationsFirst, true, "pas rangées"},
      {"EmptyResourceSectionFarAway", Changed(Changed(quiz, resources.headerOffset + RawSizeField, 0), resources.headerOffset + RawOffsetField, 0xFFFF0000), false, "pas rangées"},
      {"ResourcesInsideASection", Changed(quiz, entry(ResourceDirectory), resources.virtualAddress + 0x10), false, "ne commencent pas une section"},
      {"ResourcesInNoSection", Changed(quiz, entry(ResourceDirectory), 0x7FFF0000), false, "ne commencent pas une section"},
      {"SectionsOverlap", Changed(quiz, resources.headerOffset - SectionHeaderSize + RawOffsetField, resources.rawOffset), true, "pas rangées"},
      {"DirectoryLoops", Changed(quiz, root + EntryTargetField, EntryHighBit), false, "plus de trois niveaux"},
      {"TableOutside", Changed(quiz, root + EntryTargetField, EntryHighBit | 0xFFF0), false, "une table sort de la section"},
      {"DataWithoutLanguage", Changed(quiz, root + EntryTargetField, 0), false, "une donnée sans langue"},
      {"NameOutside", Changed(quiz, root + EntryNameField, EntryHighBit | 0xFFF0), false, "un nom sort de la section"},
      {"DataEntryOutside", Changed(quiz, target, 0xFFF0), false, "entrée de données sort"},
      {"DataOutside", Changed(quiz, dataEntry + DataAddressField, 0x7FFFFF00), false, "des données sortent du fichier"},
      {"DataPastTheLoadedBytes", Changed(Changed(quiz, dataEntry + DataAddressField, resources.virtualAddress + resources.virtualSize), dataEntry + DataSizeField, 1), false, "des données sortent du fichier"},
      {"NoRoomForASection", Changed(bare, freeSlot + 10, 1), false, "n'a pas la place d'en ajouter une"},
      {"NoResourceEntry", Changed(quiz, pe.directoryOffset - DirectoryCountSize, 2), false, "n'a pas la place d'en ajouter une"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes program = {1};
    std::string error;
    EXPECT_FALSE(WriteQuizResources(c.image, Small, program, error));
    EXPECT_NE(error.find(c.words), std::string::npos) << error;
    EXPECT_TRUE(program.empty());
    QuizPayloads streams;
    EXPECT_EQ(ReadQuizResources(c.image, streams, error), c.readable) << error;
  }
}

// A directory made by hand: each level one table of counts[level] entries,
// all leading to the one table below, the last to one empty resource; with a
// name length, every entry has the one name of that length.
Bytes Directory(const std::vector<size_t>& counts, size_t nameLength) {
  std::vector<size_t> tables = {0};
  for (size_t count : counts) tables.push_back(tables.back() + ResourceTableHeaderSize + ResourceEntrySize * count);
  const size_t data = tables.back(), name = data + DataEntrySize;
  Bytes bytes(name + 2 + 2 * nameLength, 0);
  for (size_t level = 0; level < counts.size(); ++level) {
    const bool last = level + 1 == counts.size(), named = nameLength > 0;
    WriteLe16(bytes, tables[level] + (named ? NamedEntryCountField : IdEntryCountField), uint16_t(counts[level]));
    for (size_t k = 0; k < counts[level]; ++k) {
      const size_t entry = tables[level] + ResourceTableHeaderSize + ResourceEntrySize * k;
      WriteLe32(bytes, entry + EntryNameField, named ? uint32_t(EntryHighBit | name) : uint32_t(k));
      WriteLe32(bytes, entry + EntryTargetField, last ? uint32_t(data) : uint32_t(EntryHighBit | tables[level + 1]));
    }
  }
  WriteLe32(bytes, data + DataAddressField, 0x1000);
  WriteLe16(bytes, name, uint16_t(nameLength));
  return bytes;
}

// The resources of a section that is the whole file, at address 0x1000.
bool ReadSection(const Bytes& bytes, std::vector<Resource>& resources, std::string& error) {
  PeImage pe{};
  pe.sections = {{0, ".rsrc", uint32_t(bytes.size()), 0x1000, uint32_t(bytes.size()), 0, 0}};
  pe.directories = {{0, 0}, {0, 0}, {0x1000, uint32_t(bytes.size())}};
  return ReadResources(bytes, pe, resources, error);
}

std::vector<Resource> Many(size_t count) {
  std::vector<Resource> list;
  for (size_t k = 0; k < count; ++k) list.push_back(R(Id(uint16_t(10 + k / 40000)), uint16_t(k % 40000), 0, {}));
  return list;
}

// What a directory asks for is bounded by the file's size (a name or data
// repeated is copied for every resource), by a count of resources, and by
// its tables, which a directory does not go through twice.
TEST(PlayerImage, DirectoriesThatAskTooMuch) {
  // clang-format off
  const struct { const char* name; Bytes section; const char* words; } cases[] = {
      {"NameOfEveryLanguage", Directory({1, 1, 2000}, 4000), "plus de mémoire que 4 fois sa taille"},
      {"NameReadAgainAndAgain", Directory({2000, 0}, 4000), "plus de mémoire que 4 fois sa taille"},
      {"DataOfEveryResource", Directory({45, 45, 45}, 0), "plus de mémoire que 4 fois sa taille"},
      {"TablesGoneThroughAgain", Directory({45, 45, 0}, 0), "passe plusieurs fois par les mêmes tables"},
      {"MoreResourcesThanCounted", LayOutResources(Many(70000), 0x1000), "plus de 65535 ressources (icônes"},
      {"ManyResources", LayOutResources(Many(33000), 0x1000), ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Resource> resources;
    std::string error;
    EXPECT_EQ(ReadSection(c.section, resources, error), !*c.words) << error;
    EXPECT_NE(error.find(c.words), std::string::npos) << error;
  }
  Bytes program;  // the writer does not give what it could not read back
  std::string error;
  EXPECT_FALSE(WriteResources(Program("bare64.exe"), Many(70000), program, error));
  EXPECT_NE(error.find("relu, ne contient pas exactement"), std::string::npos) << error;
}

// Of several languages, the neutral one, else the first; a stream missing makes no quiz.
TEST(PlayerImage, ReadsTheStreamWindowsPrefers) {
  // clang-format off
  const struct { const char* name; std::vector<Resource> resources; const char* quiz; const char* error; } cases[] = {
      {"NeutralFirst", {R(Patch, 104, 0x409, {'a'}), R(Patch, 104, 0, {'b'}), R(Patch, 105, 0x40C, {'c'}), R(Named(u"\u0152UVRE"), 1, 0, {})}, "b", ""},
      {"ElseTheFirst", {R(Patch, 104, 0x40C, {'a'}), R(Patch, 104, 0x409, {'b'}), R(Patch, 105, 0x40C, {'c'})}, "b", ""},
      {"LowerCaseType", {R(Named(u"patch"), 104, 0, {'a'}), R(Patch, 105, 0, {'c'})}, "", NotAQuizProgram},
      {"NoCodes", {R(Patch, 104, 0, {'a'}), R(Patch, 106, 0, {'c'})}, "a", NotAQuizProgram},
      {"NoResources", {}, "", NotAQuizProgram},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes program;
    QuizPayloads streams;
    std::string error;
    ASSERT_TRUE(WriteResources(Program("bare64.exe"), c.resources, program, error)) << error;
    EXPECT_EQ(ReadQuizResources(program, streams, error), !*c.error);
    EXPECT_EQ(std::string(streams.quiz.begin(), streams.quiz.end()), c.quiz);
    EXPECT_EQ(error.substr(0, *c.error ? std::string(c.error).size() : std::string::npos), c.error);
  }
}

}  // namespace

namespace {

// A player carried in the editor's page: its pieces come back whole, a piece
// that would compress past the codec's buffer halved first; pieces cut,
// emptied or past the limit are refused.
TEST(CarriedBytes, PiecesComeBackWholeOrAreRefused) {
  std::mt19937 random(11);
  Bytes noise(40000), zeros(100000, 0);
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
  for (const Bytes& bytes : {Bytes(), noise, zeros}) {
    Bytes packed, back;
    ASSERT_TRUE(PackPieces(bytes, packed)) << bytes.size();
    EXPECT_TRUE(UnpackPieces(packed, bytes.size(), back) && back == bytes) << bytes.size();
    if (bytes.empty()) continue;
    EXPECT_FALSE(UnpackPieces(packed, bytes.size() - 1, back)) << bytes.size();
    EXPECT_FALSE(UnpackPieces(Bytes(packed.begin(), packed.end() - 1), bytes.size(), back)) << bytes.size();
  }
  Bytes back;
  EXPECT_FALSE(UnpackPieces({0, 0}, 10, back));           // an empty piece
  EXPECT_FALSE(UnpackPieces({5, 0, 1, 2, 3, 4, 5}, 10, back));  // no codec stream
}

}  // namespace
