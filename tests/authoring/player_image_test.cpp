// The quiz resources of a player program, read and written in small programs
// built here as the linkers lay them out (the real player is written under
// wine, in player_image_windows_test.cpp), and where a program keeps its
// answers.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>

#include "file_paths.h"
#include "player_image.h"
#include "resource_tree.h"

namespace {

ResourceKey Id(uint16_t id) { return {false, id, u""}; }
ResourceKey Named(const char16_t* name) { return {true, 0, name}; }
Resource R(ResourceKey type, uint16_t name, uint16_t language, Bytes data) {
  return {type, Id(name), Id(language), 0, data};
}

// Like the player's: two dialogs, an icon, and a type known by its name.
const std::vector<Resource> Player = {R(Id(5), 101, 0x409, Bytes(60, 1)), R(Id(5), 102, 0x409, Bytes(60, 2)),
                                      R(Id(3), 1, 0x409, Bytes(300, 3)), R(Named(u"TEXT"), 7, 0x40C, {4})};
const QuizPayloads Small{Bytes(40, 'q'), Bytes(9, 'c')}, Large{Bytes(9000, 'Q'), Bytes(3000, 'C')};

std::vector<Resource> With(std::vector<Resource> list, const std::vector<Resource>& more) {
  list.insert(list.end(), more.begin(), more.end());
  return list;
}

enum : size_t { Optional = 0x58, Directories = Optional + 112, Table = Optional + 240 };

// A stripped 64-bit program (32-bit when pe32): headers, .text, .rsrc with
// resources (none without), .reloc with one fix-up in .text.
Bytes Image(const std::vector<Resource>* resources, bool relocations = true, bool pe32 = false) {
  std::vector<std::pair<std::string, Bytes>> sections = {{".text", Bytes(0x180, 0xC3)}};
  if (resources) sections.push_back({".rsrc", LayOutResources(*resources, 0x2000)});
  if (relocations) sections.push_back({".reloc", {0, 0x10, 0, 0, 12, 0, 0, 0, 0x10, 0xA0, 0, 0}});
  Bytes image(0x200, 0);
  const auto set = [&image](size_t at, uint32_t value) { WriteLe32(image, at, value); };
  const size_t directories = pe32 ? Optional + 96 : Directories, table = pe32 ? Table - 16 : Table;
  set(0, 'M' | 'Z' << 8);
  set(0x3C, 0x40);
  set(0x40, 'P' | 'E' << 8);
  set(0x46 - 2, uint32_t(sections.size()) << 16);
  set(0x54, uint32_t(table - Optional));
  set(Optional, pe32 ? 0x10B : 0x20B);
  set(Optional + 32, 0x1000);  // section alignment
  set(Optional + 36, 0x200);   // file alignment
  set(Optional + 60, 0x200);   // headers
  set(directories - 4, 16);
  uint32_t address = 0x1000;
  for (size_t k = 0; k < sections.size(); ++k) {
    const auto& [name, content] = sections[k];
    const size_t at = table + 40 * k, entry = name == ".rsrc" ? 2 : name == ".reloc" ? 5 : 0;
    std::copy(name.begin(), name.end(), image.begin() + at);
    set(at + 8, uint32_t(content.size()));
    set(at + 12, address);
    set(at + 16, uint32_t(AlignUp(content.size(), 0x200)));
    set(at + 20, uint32_t(image.size()));
    set(at + 36, 0x40000040);
    if (entry != 0) {
      set(directories + 8 * entry, address);
      set(directories + 8 * entry + 4, uint32_t(content.size()));
    }
    image.insert(image.end(), content.begin(), content.end());
    image.resize(AlignUp(image.size(), 0x200));
    address += uint32_t(AlignUp(content.size(), 0x1000));
  }
  set(Optional + ImageSizeField, address);
  set(Optional + ChecksumField, PeChecksum(image, Optional + ChecksumField));
  return image;
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

// Where the first entry of the first language table points: the file offset of that field.
size_t FirstLanguageTarget(const Bytes& image) {
  const size_t start = Headers(image).sections[1].rawOffset;
  size_t field = start + 20;  // the root's first entry
  for (int level = 1; level < 3; ++level) field = start + (ReadLe32(image, field) & 0x7FFFFFFF) + 20;
  return field;
}

// Every entry of each level leads to the one table below: 45 x 45 x 45 resources in 1 kB.
Bytes FanOut(Bytes image) {
  const size_t at = Headers(image).sections[1].rawOffset, table = 16 + 8 * 45;
  for (size_t level = 0; level < 3; ++level) {
    WriteLe32(image, at + table * level + 12, 45 << 16);
    for (uint32_t k = 0; k < 45; ++k) {
      WriteLe32(image, at + table * level + 16 + 8 * k, k);
      WriteLe32(image, at + table * level + 20 + 8 * k,
                uint32_t(level < 2 ? 0x80000000 | table * (level + 1) : table * 3));
    }
  }
  WriteLe32(image, at + table * 3, 0x2000);  // an empty resource
  WriteLe32(image, at + table * 3 + 4, 0);
  return image;
}

TEST(PlayerImage, ChecksumAndResourceOrder) {
  EXPECT_EQ(PeChecksum({1, 2, 3}, 100), 0x0201u + 0x0003 + 3);
  EXPECT_EQ(PeChecksum({0xFF, 0xFF, 2, 0, 9, 9, 9, 9}, 4), 0x0002u + 8);  // 0xFFFF + 2 folds to 2; the field is skipped
  EXPECT_TRUE(Named(u"B") < Named(u"BA") && Named(u"BA") < Named(u"C") && Named(u"C") < Id(1) && Id(1) < Id(2));
  EXPECT_FALSE(R(Id(1), 1, 0, {1}) == R(Id(1), 1, 0, {2}) || R(Id(1), 1, 0, {1}) == R(Id(1), 1, 9, {1}));
}

// Each program gets the streams, keeps its other resources, and moves its
// relocations after the resources; packing a packed program again gives
// what packing the program did.
TEST(PlayerImage, WritesTheQuizIntoEveryKindOfProgram) {
  const std::vector<Resource> languages =
      With(Player, {R(Named(u"PATCH"), 104, 0x409, {1}), R(Named(u"PATCH"), 104, 0x40C, {2})});
  // clang-format off
  const struct { const char* name; Bytes image; QuizPayloads streams; uint32_t relocations, imageSize; } cases[] = {
      {"Player", Image(&Player), Small, 0x3000, 0x4000},
      {"PlayerGrows", Image(&Player), Large, 0x6000, 0x7000},
      {"LanguagesOf104NoCodes", Image(&languages), Small, 0x3000, 0x4000},
      {"PackedShrinks", Written(Image(&Player), Large), Small, 0x3000, 0x4000},
      {"NoRelocations", Image(&Player, false), Large, 0, 0x6000},
      {"NoResourceSection", Image(nullptr), Small, 0x3000, 0x4000},
      {"NoSectionNoRelocations", Image(nullptr, false), Small, 0, 0x3000},
      {"Pe32", Image(&Player, true, true), Small, 0x3000, 0x4000},
      {"SectionAlignment64K", Changed(Image(&Player), Optional + 32, 0x10000), Small, 0x10000, 0x20000},
      {"TableEndsWhereResourcesStart", Changed(Changed(Image(&Player), Directories + 48, 0x1FF0), Directories + 52, 16), Small, 0x3000, 0x4000},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes program = Written(c.image, c.streams);
    QuizPayloads back;
    std::string error;
    ASSERT_TRUE(ReadQuizResources(program, back, error)) << error;
    EXPECT_EQ(back.quiz, c.streams.quiz);
    EXPECT_EQ(back.codes, c.streams.codes);
    std::vector<Resource> expected;
    for (const Resource& r : ResourcesOf(c.image)) {
      if (!(r.type == Named(u"PATCH"))) expected.push_back(r);
    }
    expected =
        With(expected, {R(Named(u"PATCH"), 104, 0, c.streams.quiz), R(Named(u"PATCH"), 105, 0, c.streams.codes)});
    SortResources(expected);
    EXPECT_EQ(ResourcesOf(program), expected);
    const PeImage before = Headers(c.image), after = Headers(program);
    EXPECT_EQ(DirectoryOf(after, RelocationDirectory).address, c.relocations);
    EXPECT_EQ(ReadLe32(program, Optional + ImageSizeField), c.imageSize);
    EXPECT_EQ(ReadLe32(program, after.optionalOffset + ChecksumField),
              PeChecksum(program, after.optionalOffset + ChecksumField));
    const PeSection& resources = after.sections[1];
    EXPECT_EQ(DirectoryOf(after, ResourceDirectory).size, resources.virtualSize);
    EXPECT_EQ(program.size(), 0x400 + resources.rawSize + (c.relocations ? 0x200 : 0));
    const uint32_t rawBefore = before.sections.size() == after.sections.size() ? before.sections[1].rawSize : 0;
    EXPECT_EQ(
        ReadLe32(program, Optional + InitializedDataSizeField) - ReadLe32(c.image, Optional + InitializedDataSizeField),
        resources.rawSize - rawBefore);
    EXPECT_EQ(Written(program, c.streams), program);
    EXPECT_EQ(Written(Written(c.image, Large), c.streams), program);
    EXPECT_EQ(ReadLe32(program, resources.rawOffset + ReadLe32(program, FirstLanguageTarget(program))) % 8, 0u);
  }
}

// A program the writer cannot rewrite safely, or cannot read, is refused with the reason.
TEST(PlayerImage, RefusesWhatItCannotRewriteSafely) {
  const Bytes player = Image(&Player), bare = Image(nullptr);
  const Bytes quiz = Written(player, Small);
  const size_t relocations = Headers(quiz).sections[2].rawOffset, resources = Headers(quiz).sections[1].rawOffset;
  const size_t target = FirstLanguageTarget(quiz), dataEntry = resources + ReadLe32(quiz, target);
  const Bytes noRelocations = Written(Image(&Player, false), Small);
  Bytes overlay = quiz, truncated(quiz.begin(), quiz.end() - 0x100),
        cutData(quiz.begin(), quiz.begin() + resources + 0x200);
  overlay.push_back(0);
  Bytes relocationsFirst =
      Changed(quiz, Table + 100, 0x200);  // .reloc's data where .text's is, the file ending with .rsrc
  relocationsFirst.resize(relocations);
  // clang-format off
  const struct { const char* name; Bytes image; bool readable; const char* words; } cases[] = {
      {"NotMz", Bytes(100, 0), false, "pas d'en-tête MZ"},
      {"NotPe", Changed(quiz, 0x3C, 0x300), false, "pas d'en-tête PE"},
      {"PeHeaderPastTheEnd", Changed(quiz, 0x3C, 0xFFFFFFF0), false, "pas d'en-tête PE"},
      {"OptionalHeaderPastTheEnd", Changed(quiz, 0x54, 0xFFFF), false, "il dépasse la fin du fichier"},
      {"UnknownOptionalHeader", Changed(quiz, Optional, 0x999), false, "en-tête optionnel inconnu"},
      {"TooManySections", Changed(quiz, 0x46, 97), false, "table des sections"},
      {"FileAlignment", Changed(quiz, Optional + 36, 0x300), false, "alignements"},
      {"HugeAlignment", Changed(Changed(quiz, Optional + 32, 1u << 17), Optional + 36, 1u << 17), true, "hors de l'ordinaire"},
      {"Symbols", Changed(quiz, 0x4C, 0x800), true, "enlevez-la d'abord"},
      {"Signed", Changed(quiz, Directories + 36, 16), true, "signé"},
      {"Overlay", overlay, true, "des données suivent la dernière section du programme (1 octet :"},
      {"TruncatedSection", truncated, true, "tronqué : sa section .reloc"},
      {"TruncatedResourceData", cutData, false, "tronqué : sa section .rsrc"},
      {"HeadersPastTheEnd", Changed(quiz, Optional + 60, 0x10000), true, "tronqué : son en-tête"},
      {"SectionAfterResources", Changed(quiz, Directories + 40, 0), true, "la section .reloc suit les ressources"},
      {"TableInWhatMoves", Changed(Changed(quiz, Directories + 48, 0x3000), Directories + 52, 28), true, "l'entrée 6 du répertoire"},
      {"RelocationInResources", Changed(quiz, relocations, 0x2000), true, "une relocation du programme touche"},
      {"RelocationsDamaged", Changed(quiz, relocations + 4, 4), true, "relocations du programme sont abîmées"},
      {"RelocationsOutside", Changed(quiz, Directories + 44, 0x10000), true, "relocations du programme sortent"},
      {"RelocationTableInResources", Changed(Changed(noRelocations, Directories + 40, 0x2000), Directories + 44, 8), true, "l'entrée 5 du répertoire"},
      {"RelocationsFirstInTheFile", relocationsFirst, true, "pas rangées"},
      {"EmptyResourceSectionFarAway", Changed(Changed(quiz, Table + 56, 0), Table + 60, 0xFFFF0000), false, "pas rangées"},
      {"ResourcesInsideASection", Changed(quiz, Directories + 16, 0x2010), false, "ne commencent pas une section"},
      {"ResourcesInNoSection", Changed(quiz, Directories + 16, 0x9000), false, "ne commencent pas une section"},
      {"SectionsOverlap", Changed(quiz, Table + 20, uint32_t(resources)), true, "pas rangées"},
      {"DirectoryLoops", Changed(quiz, resources + 20, 0x80000000), false, "tourne en rond"},
      {"TableOutside", Changed(quiz, resources + 20, 0x8000FFF0), false, "une table sort de la section"},
      {"DataWithoutLanguage", Changed(quiz, resources + 20, 0), false, "une donnée sans langue"},
      {"NameOutside", Changed(quiz, resources + 16, 0x8000FFF0), false, "un nom sort de la section"},
      {"DataEntryOutside", Changed(quiz, target, 0xFFF0), false, "entrée de données sort"},
      {"DataOutside", Changed(quiz, dataEntry, 0x7FFFFF00), false, "des données sortent du fichier"},
      {"NoRoomForASection", Changed(bare, Table + 90, 1), false, "n'a pas la place d'en ajouter une"},
      {"NoResourceEntry", Changed(quiz, Directories - 4, 2), false, "n'a pas la place d'en ajouter une"},
      {"SharedTablesFanOut", FanOut(Written(player, Large)), false, "trop d'entrées"},
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

// Of several languages, the neutral one, else the first; a stream missing makes no quiz.
TEST(PlayerImage, ReadsTheStreamWindowsPrefers) {
  const ResourceKey patch = Named(u"PATCH");
  // clang-format off
  const struct { const char* name; std::vector<Resource> resources; const char* quiz; const char* error; } cases[] = {
      {"NeutralFirst", {R(patch, 104, 0x409, {'a'}), R(patch, 104, 0, {'b'}), R(patch, 105, 0x40C, {'c'})}, "b", ""},
      {"ElseTheFirst", {R(patch, 104, 0x40C, {'a'}), R(patch, 104, 0x409, {'b'}), R(patch, 105, 0x40C, {'c'})}, "b", ""},
      {"LowerCaseType", {R(Named(u"patch"), 104, 0, {'a'}), R(patch, 105, 0, {'c'})}, "", NotAQuizProgram},
      {"NoCodes", {R(patch, 104, 0, {'a'}), R(patch, 106, 0, {'c'})}, "a", NotAQuizProgram},
      {"NoResources", {}, "", NotAQuizProgram},
  };
  // clang-format on
  for (const auto& c : cases) {
    QuizPayloads streams;
    std::string error;
    EXPECT_EQ(ReadQuizResources(Image(&c.resources), streams, error), !*c.error) << c.name;
    EXPECT_EQ(std::string(streams.quiz.begin(), streams.quiz.end()), c.quiz) << c.name;
    EXPECT_EQ(error.substr(0, *c.error ? std::string(c.error).size() : std::string::npos), c.error) << c.name;
  }
}

// The program's answers file, named after it in its folder, must not be the
// source, however either path is written.
TEST(FilePaths, AnswersFileOverTheSource) {
  char folder[] = "/tmp/ludex-paths.XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string here = folder, previous = FullPath(".");
  ASSERT_EQ(chdir(folder), 0);
  ASSERT_EQ(symlink(folder, "lien"), 0);
  ASSERT_EQ(mkdir("sous", 0700), 0);
  for (const char* name : {"quiz.txt", "\xC3\xA9t\xC3\xA9.txt"}) std::ofstream(name) << "titre: T\n";
  // clang-format off
  const struct { const char* source; std::string program; bool clash; } cases[] = {
      {"quiz.txt", "quiz.exe", true}, {"quiz.txt", "./sous/../quiz.exe", true}, {"quiz.txt", here + "/quiz.exe", true},
      {"quiz.txt", "lien/quiz.exe", true}, {"sous/../quiz.txt", "quiz.exe", true}, {"neuf.txt", "sous/../neuf.exe", true},
      {"quiz.txt", "quiz-jeu.exe", false}, {"quiz.txt", "sous/quiz.exe", false}, {"quiz.txt", "quiz", false},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(AnswersFileClash(c.source, c.program).empty(), !c.clash) << c.program;
  EXPECT_EQ(AnswersFileClash("\xC3\xA9t\xC3\xA9.txt", "\xC3\xA9t\xC3\xA9.exe"),
            "le programme \xE9t\xE9.exe garderait les réponses des élèves dans \xE9t\xE9.txt, sa source, et "
            "l'écraserait : donnez un autre nom à la source ou au programme");
  EXPECT_EQ(FullPath("a/./b//../c"), here + "/a/c");
  EXPECT_EQ(FullPath("/x/../../y/"), "/y");
  EXPECT_EQ(FullPath("/.."), "/");
  ASSERT_EQ(chdir(previous.c_str()), 0);
  EXPECT_EQ(system(("rm -rf " + here).c_str()), 0);
}

}  // namespace
