#include "resource_tree.h"

#include <algorithm>
#include <tuple>

namespace {

enum : size_t {
  Levels = 3,  // type, name, language
  DataAlignment = 8,
};

// Walks the directory depth first; every offset is checked against the bytes
// from the directory's start to the end of its section.
struct DirectoryReader {
  const Bytes& bytes;
  const PeImage& image;
  size_t start, size;
  size_t entriesLeft;  // a directory whose tables are each read once has no more entries than its bytes hold
  size_t memoryLeft;   // what the copies may still take
  std::vector<Resource>& out;
  std::string problem;
};

bool Refuse(DirectoryReader& reader, const std::string& problem) {
  reader.problem = problem;
  return false;
}

bool Damaged(DirectoryReader& reader, const char* detail) {
  return Refuse(reader, std::string("les ressources du programme sont ab\xEEm\xE9"
                                    "es (") +
                            detail + ")");
}

// Every copy out of the file is paid from the budget: a name each time it is
// read, a resource with its data and its three keys.
bool Spend(DirectoryReader& r, uint64_t cost) {
  if (cost > r.memoryLeft) {
    return Refuse(r,
                  "le programme est ab\xEEm\xE9 : des noms ou des donn\xE9"
                  "es y sont repris tant de fois que le lire "
                  "demanderait plus de m\xE9moire que " +
                      std::to_string(MemoryPerFileByte) + " fois sa taille");
  }
  r.memoryLeft -= size_t(cost);
  return true;
}

bool ReadName(DirectoryReader& r, uint32_t offset, ResourceKey& key) {
  if (offset > r.size || r.size - offset < 2) return Damaged(r, "un nom sort de la section");
  const size_t length = ReadLe16(r.bytes, r.start + offset);
  if ((r.size - offset - 2) / 2 < length) return Damaged(r, "un nom sort de la section");
  if (!Spend(r, 2 * length)) return false;
  key.named = true;
  for (size_t k = 0; k < length; ++k) key.name += char16_t(ReadLe16(r.bytes, r.start + offset + 2 + 2 * k));
  return true;
}

bool Keep(DirectoryReader& r, const Resource& resource, size_t file, uint32_t size) {
  if (r.out.size() == MaxResources) {
    return Refuse(r,
                  "le programme d\xE9"
                  "clare plus de " +
                      std::to_string(MaxResources) +
                      " ressources (ic\xF4nes, fen\xEAtres, textes...) : aucun programme n'en a autant, cet outil ne "
                      "le lit pas");
  }
  const uint64_t names = resource.type.name.size() + resource.name.name.size() + resource.language.name.size();
  if (!Spend(r, sizeof(Resource) + uint64_t(size) + 2 * names)) return false;
  r.out.push_back(resource);
  r.out.back().data.assign(r.bytes.begin() + file, r.bytes.begin() + file + size);
  return true;
}

bool ReadData(DirectoryReader& r, uint32_t offset, Resource& resource) {
  if (offset > r.size || r.size - offset < DataEntrySize) {
    return Damaged(r,
                   "une entr\xE9"
                   "e de donn\xE9"
                   "es sort de la section");
  }
  const size_t at = r.start + offset;
  const uint32_t address = ReadLe32(r.bytes, at + DataAddressField), size = ReadLe32(r.bytes, at + DataSizeField);
  size_t file = 0;
  if (!FileOffsetOf(r.image, r.bytes.size(), address, size, file))
    return Damaged(r,
                   "des donn\xE9"
                   "es sortent du fichier");
  resource.codePage = ReadLe32(r.bytes, at + DataCodePageField);
  return Keep(r, resource, file, size);
}

bool ReadTable(DirectoryReader& r, uint32_t offset, size_t level, Resource& resource) {
  if (offset > r.size || r.size - offset < ResourceTableHeaderSize) return Damaged(r, "une table sort de la section");
  const size_t at = r.start + offset;
  const size_t count = size_t(ReadLe16(r.bytes, at + NamedEntryCountField)) + ReadLe16(r.bytes, at + IdEntryCountField);
  if ((r.size - offset - ResourceTableHeaderSize) / ResourceEntrySize < count) {
    return Damaged(r, "une table sort de la section");
  }
  if (count > r.entriesLeft) return Damaged(r, "leur r\xE9pertoire passe plusieurs fois par les m\xEAmes tables");
  r.entriesLeft -= count;
  ResourceKey& key = level == 1 ? resource.type : level == 2 ? resource.name : resource.language;
  for (size_t k = 0; k < count; ++k) {
    const size_t entry = at + ResourceTableHeaderSize + ResourceEntrySize * k;
    const uint32_t name = ReadLe32(r.bytes, entry + EntryNameField);
    const uint32_t target = ReadLe32(r.bytes, entry + EntryTargetField);
    key = ResourceKey();
    if (name & EntryHighBit) {
      if (!ReadName(r, name & ~EntryHighBit, key)) return false;
    } else {
      key.id = uint16_t(name);
    }
    const bool table = (target & EntryHighBit) != 0;
    if (table != (level < Levels)) {
      return Damaged(r, table ? "plus de trois niveaux de tables"
                              : "une donn\xE9"
                                "e sans langue");
    }
    if (!(table ? ReadTable(r, target & ~EntryHighBit, level + 1, resource) : ReadData(r, target, resource))) {
      return false;
    }
  }
  return true;
}

// The tables of a laid-out directory: each entry leads to a table or, on the
// last level, to a resource.
struct LaidEntry {
  const ResourceKey* key;
  size_t target;  // a table's index, or a resource's
};
using LaidTable = std::vector<LaidEntry>;

// The runs of resources [first, last) that share a key at one level; appends
// a table per run to tables and an entry per run to tables[parent].
std::vector<std::pair<size_t, size_t>> AddRuns(const std::vector<Resource>& list, size_t first, size_t last,
                                               ResourceKey Resource::*level, size_t parent,
                                               std::vector<LaidTable>& tables) {
  std::vector<std::pair<size_t, size_t>> runs;
  for (size_t i = first; i < last; ++i) {
    if (i == first || !(list[i].*level == list[i - 1].*level)) {
      tables[parent].push_back({&(list[i].*level), tables.size()});
      tables.emplace_back();
      runs.push_back({i, i + 1});
    } else {
      runs.back().second = i + 1;
    }
  }
  return runs;
}

}  // namespace

bool operator<(const ResourceKey& a, const ResourceKey& b) {
  if (a.named != b.named) return a.named;
  return a.named ? a.name < b.name : a.id < b.id;
}

bool operator==(const ResourceKey& a, const ResourceKey& b) {
  return a.named == b.named && (a.named ? a.name == b.name : a.id == b.id);
}

bool operator==(const Resource& a, const Resource& b) {
  return a.type == b.type && a.name == b.name && a.language == b.language && a.codePage == b.codePage &&
         a.data == b.data;
}

bool ReadResources(const Bytes& bytes, const PeImage& image, std::vector<Resource>& resources, std::string& error) {
  resources.clear();
  const PeAddressRange directory = DirectoryOf(image, ResourceDirectory);
  if (directory.address == 0) return true;  // no resources at all
  for (const PeSection& section : image.sections) {
    const uint64_t inside = uint64_t(directory.address) - section.virtualAddress;
    if (directory.address < section.virtualAddress || inside >= LoadedRawSize(section)) continue;
    const uint64_t start = section.rawOffset + inside;
    if (start >= bytes.size()) break;
    const size_t size = size_t(std::min<uint64_t>(LoadedRawSize(section) - inside, bytes.size() - start));
    DirectoryReader reader{
        bytes, image, size_t(start), size, size / ResourceEntrySize, MemoryPerFileByte * bytes.size(), resources, ""};
    Resource resource;
    if (ReadTable(reader, 0, 1, resource)) return true;
    error = reader.problem;
    return false;
  }
  error =
      "les ressources du programme sont ab\xEEm\xE9"
      "es (leur r\xE9pertoire n'est dans aucune section du fichier)";
  return false;
}

void SortResources(std::vector<Resource>& resources) {
  std::stable_sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) {
    return std::tie(a.type, a.name, a.language) < std::tie(b.type, b.name, b.language);
  });
}

Bytes LayOutResources(std::vector<Resource> list, uint32_t address) {
  SortResources(list);
  // Breadth first: the root, the table of every type, the table of every name.
  std::vector<LaidTable> tables(1);
  const auto types = AddRuns(list, 0, list.size(), &Resource::type, 0, tables);
  std::vector<std::pair<size_t, size_t>> names;
  for (size_t t = 0; t < types.size(); ++t) {
    for (const auto& run : AddRuns(list, types[t].first, types[t].second, &Resource::name, 1 + t, tables)) {
      names.push_back(run);
    }
  }
  const size_t firstNameTable = 1 + types.size();
  for (size_t n = 0; n < names.size(); ++n) {
    for (size_t i = names[n].first; i < names[n].second; ++i)
      tables[firstNameTable + n].push_back({&list[i].language, i});
  }
  std::vector<size_t> tableOffsets;
  size_t size = 0;
  for (const LaidTable& table : tables) {
    tableOffsets.push_back(size);
    size += ResourceTableHeaderSize + ResourceEntrySize * table.size();
  }
  const size_t dataEntries = size, namesStart = size + DataEntrySize * list.size();
  Bytes out(namesStart, 0), strings;
  for (size_t k = 0; k < tables.size(); ++k) {
    const size_t at = tableOffsets[k];
    const size_t named =
        size_t(std::count_if(tables[k].begin(), tables[k].end(), [](const LaidEntry& e) { return e.key->named; }));
    WriteLe16(out, at + NamedEntryCountField, uint16_t(named));
    WriteLe16(out, at + IdEntryCountField, uint16_t(tables[k].size() - named));
    for (size_t j = 0; j < tables[k].size(); ++j) {
      const LaidEntry& entry = tables[k][j];
      uint32_t name = entry.key->id;
      if (entry.key->named) {
        name = EntryHighBit | uint32_t(namesStart + strings.size());
        strings.push_back(uint8_t(entry.key->name.size()));
        strings.push_back(uint8_t(entry.key->name.size() >> 8));
        for (char16_t unit : entry.key->name) strings.insert(strings.end(), {uint8_t(unit), uint8_t(unit >> 8)});
      }
      const bool last = k >= firstNameTable;
      const size_t field = at + ResourceTableHeaderSize + ResourceEntrySize * j;
      WriteLe32(out, field + EntryNameField, name);
      WriteLe32(out, field + EntryTargetField,
                last ? uint32_t(dataEntries + DataEntrySize * entry.target)
                     : EntryHighBit | uint32_t(tableOffsets[entry.target]));
    }
  }
  out.insert(out.end(), strings.begin(), strings.end());
  for (size_t i = 0; i < list.size(); ++i) {
    out.resize(AlignUp(out.size(), DataAlignment), 0);
    const size_t entry = dataEntries + DataEntrySize * i;
    WriteLe32(out, entry + DataAddressField, address + uint32_t(out.size()));
    WriteLe32(out, entry + DataSizeField, uint32_t(list[i].data.size()));
    WriteLe32(out, entry + DataCodePageField, list[i].codePage);
    out.insert(out.end(), list[i].data.begin(), list[i].data.end());
  }
  return out;
}
