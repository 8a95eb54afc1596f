#include "player_image.h"

#include <algorithm>

#include "french_text.h"
#include "quiz_format.h"

const char NotAQuizProgram[] = "ce programme n'est pas un questionnaire Ludex";

namespace {

// Past these, a layout would not fit in the header's 32-bit fields; no
// program comes near them.
const uint32_t MaxAlignment = 0x10000, MaxAddress = 0x7FFFFFFF;

// Where the resources go and what follows them.
struct Rewrite {
  PeImage pe;
  size_t resources = 0;  // the resource section's index (after insertion, when one is added)
  bool added = false;
  size_t sectionsEnd = 0;  // where the last section's data ends; what follows is the long section names
};

bool Refuse(std::string& error, const std::string& why) {
  error = why;
  return false;
}

// Windows compares type names exactly, once the name asked for is in upper
// case: a type stored as "patch" is not the quiz's.
bool IsQuizType(const ResourceKey& key) {
  return key.named && key.name == std::u16string(QuizResourceType, QuizResourceType + sizeof QuizResourceType - 1);
}

bool IsQuizResource(const Resource& r) {
  return IsQuizType(r.type) && !r.name.named && (r.name.id == QuizResourceId || r.name.id == ScoreCodesResourceId);
}

Resource QuizResource(uint16_t id, const Bytes& stream) {
  Resource resource;  // language 0: neutral
  resource.type.named = true;
  resource.type.name.assign(QuizResourceType, QuizResourceType + sizeof QuizResourceType - 1);
  resource.name.id = id;
  resource.data = stream;
  return resource;
}

bool FindStream(const std::vector<Resource>& resources, uint16_t id, Bytes& data, std::string& error) {
  const Resource* found = nullptr;
  for (const Resource& r : resources) {
    if (!IsQuizType(r.type) || r.name.named || r.name.id != id) continue;
    const bool neutral = !r.language.named && r.language.id == 0;
    if (found == nullptr || (neutral && !(found->language == r.language))) found = &r;
  }
  if (found == nullptr) {
    return Refuse(error, NotAQuizProgram);
  }
  data = found->data;
  return true;
}

uint32_t Extent(const PeSection& section) { return section.virtualSize != 0 ? section.virtualSize : section.rawSize; }

bool IsRelocationSection(const PeImage& pe, const PeSection& section) {
  const PeAddressRange relocations = DirectoryOf(pe, RelocationDirectory);
  return relocations.address != 0 && relocations.address == section.virtualAddress;
}

// Nothing may follow the sections but the names of the sections whose names
// are too long for their header (".eh_frame"), which strip leaves with no
// symbol: no symbol table, signature or archive.
bool CheckFileEnd(const Bytes& image, Rewrite& plan, std::string& error) {
  const PeImage& pe = plan.pe;
  if (pe.symbolCount != 0) {
    return Refuse(
        error,
        "le programme a encore sa table des symboles, qui suit ses sections et ne serait plus \xE0 sa place : "
        "liez-le avec -s, ou passez-le \xE0 strip");
  }
  if (DirectoryOf(pe, CertificateDirectory).size != 0) {
    return Refuse(error,
                  "le programme est sign\xE9 : sa signature ne vaudrait plus rien ; prenez un lecteur non sign\xE9");
  }
  uint64_t end = std::max<uint64_t>(pe.headersSize, pe.sectionTableOffset + SectionHeaderSize * pe.sections.size());
  if (end > image.size())
    return Refuse(error, "le programme est tronqu\xE9 : son en-t\xEAte d\xE9passe la fin du fichier");
  for (const PeSection& section : pe.sections) {
    if (section.rawSize == 0) continue;
    end = std::max<uint64_t>(end, uint64_t(section.rawOffset) + section.rawSize);
    if (end > image.size()) {
      return Refuse(error,
                    "le programme est tronqu\xE9 : sa section " + section.name + " d\xE9passe la fin du fichier");
    }
  }
  plan.sectionsEnd = size_t(end);
  uint64_t names = 0;
  if (pe.symbolTable != 0) {
    names = pe.symbolTable == end ? ReadLe32(image, size_t(end)) : 0;  // its size comes first
    if (names < LongNamesHeaderSize || names > image.size() - end) {
      return Refuse(error,
                    "les noms longs des sections du programme ne sont pas \xE0 leur place, apr\xE8s ses sections");
    }
  }
  if (image.size() > end + names) {
    const uint64_t extra = image.size() - end - names;
    return Refuse(error,
                  "des donn\xE9"
                  "es suivent la derni\xE8re section du programme (" +
                      Counted(extra, "octet", "octets") +
                      " : une archive, une signature ?) : elles seraient perdues");
  }
  return true;
}

// A program without resources gets a section for them before its relocations,
// or last, when its section table has room for one more header.
bool AddResourceSection(const Bytes& image, Rewrite& plan, std::string& error) {
  PeImage& pe = plan.pe;
  const size_t count = pe.sections.size();
  size_t at = count;
  if (at > 0 && IsRelocationSection(pe, pe.sections[at - 1])) --at;
  const uint64_t slotEnd = pe.sectionTableOffset + SectionHeaderSize * (count + 1);
  bool room = pe.directories.size() > ResourceDirectory && slotEnd <= pe.headersSize;
  for (const PeSection& section : pe.sections) room = room && (section.rawSize == 0 || slotEnd <= section.rawOffset);
  for (size_t k = slotEnd - SectionHeaderSize; room && k < slotEnd; ++k) room = image[k] == 0;
  if (!room) {
    return Refuse(error,
                  "le programme n'a pas de section de ressources, et son en-t\xEAte n'a pas la place d'en ajouter une");
  }
  PeSection added{
      pe.sectionTableOffset + SectionHeaderSize * at, ".rsrc", 0, 0, 0, 0, InitializedData | ReadableSection};
  if (at < count) {
    added.virtualAddress = pe.sections[at].virtualAddress;
    added.rawOffset = pe.sections[at].rawOffset;
  } else {
    uint64_t end = std::max<uint64_t>(pe.headersSize, 1);  // the headers take the first addresses
    for (const PeSection& s : pe.sections) {
      end = std::max<uint64_t>(
          end, uint64_t(s.virtualAddress) + std::max<uint32_t>(Extent(s), 1));  // even empty, it has its address
    }
    added.virtualAddress = uint32_t(AlignUp(end, pe.sectionAlignment));
    added.rawOffset = uint32_t(AlignUp(plan.sectionsEnd, pe.fileAlignment));
  }
  for (size_t k = at; k < count; ++k) pe.sections[k].headerOffset += SectionHeaderSize;
  pe.sections.insert(pe.sections.begin() + at, added);
  plan.resources = at;
  plan.added = true;
  return true;
}

bool FindResourceSection(const Bytes& image, Rewrite& plan, std::string& error) {
  const PeAddressRange directory = DirectoryOf(plan.pe, ResourceDirectory);
  if (directory.address == 0) return AddResourceSection(image, plan, error);
  for (size_t k = 0; k < plan.pe.sections.size(); ++k) {
    if (plan.pe.sections[k].virtualAddress != directory.address) continue;
    plan.resources = k;
    return true;
  }
  return Refuse(error,
                "les ressources du programme ne commencent pas une section : elles ne peuvent pas \xEAtre r\xE9\xE9"
                "crites");
}

// How many bytes a relocation of each type rewrites: 2 for a half of an
// address (types 1, 2 and 4, whose next entry is its argument), 4 for a
// 32-bit address (3), 8 for a 64-bit one (10) and, to be safe, any other.
size_t FixUpWidth(unsigned type) { return type == 3 ? 4 : type == 1 || type == 2 || type == 4 ? 2 : 8; }

// The relocations say which bytes to fix when the program is loaded
// elsewhere: none may be a byte of what moves.
bool CheckRelocations(const Bytes& image, const PeImage& pe, uint32_t movedFrom, std::string& error) {
  const PeAddressRange relocations = DirectoryOf(pe, RelocationDirectory);
  if (relocations.address == 0 || relocations.size == 0) return true;
  size_t at = 0;
  if (!FileOffsetOf(pe, image.size(), relocations.address, relocations.size, at)) {
    return Refuse(error, "les relocations du programme sortent du fichier");
  }
  for (size_t block = at; at + relocations.size - block >= RelocationBlockHeaderSize;) {
    const uint32_t page = ReadLe32(image, block + RelocationPageField);
    const uint32_t blockSize = ReadLe32(image, block + RelocationBlockSizeField);
    if (blockSize < RelocationBlockHeaderSize || blockSize > at + relocations.size - block) {
      return Refuse(error,
                    "les relocations du programme sont ab\xEEm\xE9"
                    "es");
    }
    for (size_t entry = RelocationBlockHeaderSize; entry + RelocationEntrySize <= blockSize;
         entry += RelocationEntrySize) {
      const uint16_t fixUp = ReadLe16(image, block + entry);
      const unsigned type = fixUp >> 12;  // 0 only pads a block
      if (type != 0 && uint64_t(page) + (fixUp & 0xFFF) + FixUpWidth(type) > movedFrom) {
        return Refuse(
            error, "une relocation du programme touche ses ressources ou ce qui les suit, qui seraient d\xE9plac\xE9s");
      }
      if (type == 4) entry += RelocationEntrySize;
    }
    block += blockSize;
  }
  return true;
}

// What comes before the resources stays in place; what follows moves, which
// only the relocations may, and nothing else in the header may point there.
bool CheckWhatMoves(const Bytes& image, const Rewrite& plan, std::string& error) {
  const PeImage& pe = plan.pe;
  const PeSection& resources = pe.sections[plan.resources];
  bool ordinary = pe.fileAlignment <= MaxAlignment && pe.sectionAlignment <= MaxAlignment;
  for (const PeSection& section : pe.sections)
    ordinary = ordinary && uint64_t(section.virtualAddress) + Extent(section) <= MaxAddress;
  if (!ordinary) {
    return Refuse(error,
                  "le programme a des alignements ou des adresses hors de l'ordinaire (plus de 64 Ko, plus de 2 Go)");
  }
  const uint64_t headersEnd = pe.sectionTableOffset + SectionHeaderSize * pe.sections.size();
  bool ordered = resources.rawOffset >= std::max<uint64_t>(pe.headersSize, headersEnd) &&
                 resources.rawOffset <= AlignUp(plan.sectionsEnd, pe.fileAlignment) &&
                 resources.virtualAddress >= pe.headersSize;
  for (size_t k = 0; k < pe.sections.size(); ++k) {
    const PeSection& section = pe.sections[k];
    if (k < plan.resources) {
      ordered = ordered && uint64_t(section.virtualAddress) + Extent(section) <= resources.virtualAddress &&
                (section.rawSize == 0 || uint64_t(section.rawOffset) + section.rawSize <= resources.rawOffset);
    } else if (k > plan.resources) {
      if (k > plan.resources + 1 || !IsRelocationSection(pe, section)) {
        return Refuse(error,
                      "la section " + section.name +
                          " suit les ressources : il faudrait la d\xE9placer, et seules les relocations (.reloc) "
                          "peuvent l'\xEAtre sans risque");
      }
      ordered = ordered && section.virtualAddress >= resources.virtualAddress &&
                (section.rawSize == 0 || section.rawOffset >= resources.rawOffset);
    }
  }
  const bool relocationsMove = plan.resources + 1 < pe.sections.size();
  if (!ordered)
    return Refuse(error,
                  "les sections du programme ne sont pas rang\xE9"
                  "es dans l'ordre de leurs adresses");
  for (size_t d = 0; d < pe.directories.size(); ++d) {
    const PeAddressRange entry = pe.directories[d];
    if (d == ResourceDirectory || (d == RelocationDirectory && relocationsMove) || entry.size == 0) continue;
    if (uint64_t(entry.address) + entry.size > resources.virtualAddress) {
      return Refuse(error,
                    "l'entr\xE9"
                    "e " +
                        std::to_string(d) +
                        " du r\xE9pertoire de donn\xE9"
                        "es pointe dans les ressources ou ce qui les suit, qui seraient "
                        "d\xE9plac\xE9s");
    }
  }
  return CheckRelocations(image, pe, resources.virtualAddress, error);
}

bool PlanRewrite(const Bytes& image, Rewrite& plan, std::string& error) {
  if (image.size() > MaxProgramBytes) {
    return Refuse(error, "le programme fait plus de " + std::to_string(MaxProgramBytes >> 20) + " Mo");
  }
  return ReadPeImage(image, plan.pe, error) && CheckFileEnd(image, plan, error) &&
         FindResourceSection(image, plan, error) && CheckWhatMoves(image, plan, error);
}

void InsertSectionHeader(Bytes& program, const PeImage& pe, const PeSection& added) {
  const size_t tableEnd = pe.sectionTableOffset + SectionHeaderSize * pe.sections.size();
  std::copy_backward(program.begin() + added.headerOffset, program.begin() + tableEnd - SectionHeaderSize,
                     program.begin() + tableEnd);
  std::fill(program.begin() + added.headerOffset, program.begin() + added.headerOffset + SectionHeaderSize, 0);
  std::copy(added.name.begin(), added.name.end(), program.begin() + added.headerOffset);
  WriteLe32(program, added.headerOffset + CharacteristicsField, added.characteristics);
  WriteLe16(program, pe.coffOffset + SectionCountField, uint16_t(pe.sections.size()));
}

// The headers before the resources, the new resource section, then what
// followed it, moved; the header fields that describe them follow.
void Compose(const Bytes& image, const Rewrite& plan, const std::vector<Resource>& resources, Bytes& program) {
  PeImage pe = plan.pe;
  PeSection& section = pe.sections[plan.resources];
  const Bytes content = LayOutResources(resources, section.virtualAddress);
  program.assign(image.begin(), image.begin() + std::min<size_t>(section.rawOffset, plan.sectionsEnd));
  program.resize(section.rawOffset, 0);
  if (plan.added) InsertSectionHeader(program, pe, section);
  const uint32_t oldRawSize = section.rawSize;
  section.virtualSize = uint32_t(content.size());
  section.rawSize = uint32_t(AlignUp(content.size(), pe.fileAlignment));
  program.insert(program.end(), content.begin(), content.end());
  program.resize(section.rawOffset + section.rawSize, 0);
  PeAddressRange relocations = DirectoryOf(pe, RelocationDirectory);
  uint64_t next = AlignUp(uint64_t(section.virtualAddress) + section.virtualSize, pe.sectionAlignment);
  for (size_t k = plan.resources + 1; k < pe.sections.size(); ++k) {
    PeSection& moved = pe.sections[k];
    if (IsRelocationSection(plan.pe, plan.pe.sections[k])) relocations.address = uint32_t(next);
    if (moved.rawSize != 0) {
      const auto from = image.begin() + moved.rawOffset;
      moved.rawOffset = uint32_t(program.size());
      program.insert(program.end(), from, from + moved.rawSize);
    }
    moved.virtualAddress = uint32_t(next);
    next = AlignUp(uint64_t(moved.virtualAddress) + Extent(moved), pe.sectionAlignment);
  }
  if (plan.sectionsEnd < image.size()) {  // the long section names, after the sections as before
    WriteLe32(program, pe.coffOffset + SymbolTableField, uint32_t(program.size()));
    program.insert(program.end(), image.begin() + plan.sectionsEnd, image.end());
  }
  for (size_t k = plan.resources; k < pe.sections.size(); ++k) {
    const PeSection& s = pe.sections[k];
    WriteLe32(program, s.headerOffset + VirtualSizeField, s.virtualSize);
    WriteLe32(program, s.headerOffset + VirtualAddressField, s.virtualAddress);
    WriteLe32(program, s.headerOffset + RawSizeField, s.rawSize);
    WriteLe32(program, s.headerOffset + RawOffsetField, s.rawOffset);
  }
  const size_t optional = pe.optionalOffset;
  const size_t resourceEntry = pe.directoryOffset + DirectoryEntrySize * ResourceDirectory;
  WriteLe32(program, resourceEntry + DirectoryAddressField, section.virtualAddress);
  WriteLe32(program, resourceEntry + DirectorySizeField, section.virtualSize);
  if (relocations.address != 0) {
    WriteLe32(program, pe.directoryOffset + DirectoryEntrySize * RelocationDirectory + DirectoryAddressField,
              relocations.address);
  }
  WriteLe32(program, optional + ImageSizeField, uint32_t(next));
  if (section.characteristics & InitializedData) {
    WriteLe32(program, optional + InitializedDataSizeField,
              ReadLe32(program, optional + InitializedDataSizeField) + section.rawSize - oldRawSize);
  }
  WriteLe32(program, optional + ChecksumField, PeChecksum(program, optional + ChecksumField));
}

// Composes the program, then reads it back: it must be one this writer
// accepts again, with exactly the resources written, and its checksum right.
bool WriteWithPlan(const Bytes& image, const Rewrite& plan, std::vector<Resource> resources, Bytes& program,
                   std::string& error) {
  SortResources(resources);
  Compose(image, plan, resources, program);
  Rewrite again;
  std::vector<Resource> back;
  std::string problem;
  const size_t checksum = plan.pe.optionalOffset + ChecksumField;
  if (PlanRewrite(program, again, problem) && ReadResources(program, again.pe, back, problem) && back == resources &&
      ReadLe32(program, checksum) == PeChecksum(program, checksum)) {
    return true;
  }
  program.clear();
  return Refuse(error,
                "le programme \xE9"
                "crit, relu, ne contient pas exactement ce qui devait y \xEAtre \xE9"
                "crit" +
                    (problem.empty() ? std::string() : " (" + problem + ")"));
}

}  // namespace

bool ReadQuizResources(const Bytes& image, QuizPayloads& streams, std::string& error) {
  PeImage pe;
  std::vector<Resource> resources;
  return ReadPeImage(image, pe, error) && ReadResources(image, pe, resources, error) &&
         FindStream(resources, QuizResourceId, streams.quiz, error) &&
         FindStream(resources, ScoreCodesResourceId, streams.codes, error);
}

bool WriteResources(const Bytes& image, std::vector<Resource> resources, Bytes& program, std::string& error) {
  program.clear();
  Rewrite plan;
  return PlanRewrite(image, plan, error) && WriteWithPlan(image, plan, resources, program, error);
}

bool WriteQuizResources(const Bytes& playerImage, const QuizPayloads& streams, Bytes& program, std::string& error) {
  program.clear();
  Rewrite plan;
  std::vector<Resource> read, written;
  if (!PlanRewrite(playerImage, plan, error) || !ReadResources(playerImage, plan.pe, read, error)) return false;
  for (const Resource& resource : read) {
    if (!IsQuizResource(resource)) written.push_back(resource);
  }
  written.push_back(QuizResource(QuizResourceId, streams.quiz));
  written.push_back(QuizResource(ScoreCodesResourceId, streams.codes));
  return WriteWithPlan(playerImage, plan, written, program, error);
}
