#include "resource_tree.h"

#include <algorithm>
#include <tuple>

namespace {

enum : uint32_t { HighBit = 0x80000000u };  // on a name: a string; on a target: a table
enum : size_t {
  TableHeaderSize = 16,
  EntrySize = 8,
  DataEntrySize = 16,
  Levels = 3,             // type, name, language
  MaxEntries = 1u << 16,  // far more than any program has: past it, shared tables are going round
  DataAlignment = 8,
};

// Walks the directory depth first; every offset is checked against the bytes
// from the directory's start to the end of its section.
struct DirectoryReader {
  const Bytes& bytes;
  const PeImage& image;
  size_t start, size;
  size_t entriesLeft, dataLeft;
  std::vector<Resource>& out;
  const char* problem;
};

bool Refuse(DirectoryReader& reader, const char* problem) {
  reader.problem = problem;
  return false;
}

bool ReadName(DirectoryReader& r, uint32_t offset, ResourceKey& key) {
  if (offset > r.size || r.size - offset < 2) return Refuse(r, "un nom sort de la section");
  const size_t length = ReadLe16(r.bytes, r.start + offset);
  if ((r.size - offset - 2) / 2 < length) return Refuse(r, "un nom sort de la section");
  key.named = true;
  for (size_t k = 0; k < length; ++k) key.name += char16_t(ReadLe16(r.bytes, r.start + offset + 2 + 2 * k));
  return true;
}

bool ReadData(DirectoryReader& r, uint32_t offset, Resource& resource) {
  if (offset > r.size || r.size - offset < DataEntrySize) return Refuse(r, "une entrée de données sort de la section");
  const size_t at = r.start + offset;
  const uint32_t address = ReadLe32(r.bytes, at), size = ReadLe32(r.bytes, at + 4);
  size_t file = 0;
  if (!FileOffsetOf(r.image, r.bytes.size(), address, size, file)) return Refuse(r, "des données sortent du fichier");
  // Entries may share their data; together they may not hold more than the file.
  if (size > r.dataLeft) return Refuse(r, "les données se répètent plus que le fichier ne le permet");
  r.dataLeft -= size;
  resource.codePage = ReadLe32(r.bytes, at + 8);
  resource.data.assign(r.bytes.begin() + file, r.bytes.begin() + file + size);
  r.out.push_back(resource);
  return true;
}

bool ReadTable(DirectoryReader& r, uint32_t offset, size_t level, Resource& resource) {
  if (offset > r.size || r.size - offset < TableHeaderSize) return Refuse(r, "une table sort de la section");
  const size_t at = r.start + offset;
  const size_t count = size_t(ReadLe16(r.bytes, at + 12)) + ReadLe16(r.bytes, at + 14);
  if ((r.size - offset - TableHeaderSize) / EntrySize < count) return Refuse(r, "une table sort de la section");
  if (count > r.entriesLeft) return Refuse(r, "trop d'entrées : le répertoire tourne en rond");
  r.entriesLeft -= count;
  ResourceKey& key = level == 1 ? resource.type : level == 2 ? resource.name : resource.language;
  for (size_t k = 0; k < count; ++k) {
    const size_t entry = at + TableHeaderSize + EntrySize * k;
    const uint32_t name = ReadLe32(r.bytes, entry), target = ReadLe32(r.bytes, entry + 4);
    key = ResourceKey();
    if (name & HighBit) {
      if (!ReadName(r, name & ~HighBit, key)) return false;
    } else {
      key.id = uint16_t(name);
    }
    const bool table = (target & HighBit) != 0;
    if (table != (level < Levels)) {
      return Refuse(r, table ? "plus de trois niveaux : le répertoire tourne en rond" : "une donnée sans langue");
    }
    if (!(table ? ReadTable(r, target & ~HighBit, level + 1, resource) : ReadData(r, target, resource))) return false;
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
    DirectoryReader reader{bytes, image, size_t(start), size, MaxEntries, bytes.size(), resources, ""};
    Resource resource;
    if (ReadTable(reader, 0, 1, resource)) return true;
    error = std::string("les ressources du programme sont abîmées (") + reader.problem + ")";
    return false;
  }
  error = "les ressources du programme sont abîmées (leur répertoire n'est dans aucune section du fichier)";
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
    size += TableHeaderSize + EntrySize * table.size();
  }
  const size_t dataEntries = size, namesStart = size + DataEntrySize * list.size();
  Bytes out(namesStart, 0), strings;
  for (size_t k = 0; k < tables.size(); ++k) {
    const size_t at = tableOffsets[k];
    const size_t named =
        size_t(std::count_if(tables[k].begin(), tables[k].end(), [](const LaidEntry& e) { return e.key->named; }));
    WriteLe16(out, at + 12, uint16_t(named));
    WriteLe16(out, at + 14, uint16_t(tables[k].size() - named));
    for (size_t j = 0; j < tables[k].size(); ++j) {
      const LaidEntry& entry = tables[k][j];
      uint32_t name = entry.key->id;
      if (entry.key->named) {
        name = HighBit | uint32_t(namesStart + strings.size());
        strings.push_back(uint8_t(entry.key->name.size()));
        strings.push_back(uint8_t(entry.key->name.size() >> 8));
        for (char16_t unit : entry.key->name) strings.insert(strings.end(), {uint8_t(unit), uint8_t(unit >> 8)});
      }
      const bool last = k >= firstNameTable;
      WriteLe32(out, at + TableHeaderSize + EntrySize * j, name);
      WriteLe32(
          out, at + TableHeaderSize + EntrySize * j + 4,
          last ? uint32_t(dataEntries + DataEntrySize * entry.target) : HighBit | uint32_t(tableOffsets[entry.target]));
    }
  }
  out.insert(out.end(), strings.begin(), strings.end());
  for (size_t i = 0; i < list.size(); ++i) {
    out.resize(AlignUp(out.size(), DataAlignment), 0);
    WriteLe32(out, dataEntries + DataEntrySize * i, address + uint32_t(out.size()));
    WriteLe32(out, dataEntries + DataEntrySize * i + 4, uint32_t(list[i].data.size()));
    WriteLe32(out, dataEntries + DataEntrySize * i + 8, list[i].codePage);
    out.insert(out.end(), list[i].data.begin(), list[i].data.end());
  }
  return out;
}
