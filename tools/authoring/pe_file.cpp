#include "pe_file.h"

namespace {

uint32_t ReadLittleEndian(const Bytes& image, size_t offset, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | image[offset + i];
  return value;
}

}  // namespace

std::string PlayerImageProblem(const Bytes& image) {
  if (image.size() < 0x40 || image[0] != 'M' || image[1] != 'Z') {
    return "ce n'est pas un programme Windows (pas d'en-tête MZ)";
  }
  const uint32_t peOffset = ReadLittleEndian(image, 0x3C, 4);
  if (peOffset > image.size() || image.size() - peOffset < 24 || image[peOffset] != 'P' || image[peOffset + 1] != 'E' ||
      image[peOffset + 2] != 0 || image[peOffset + 3] != 0) {
    return "ce n'est pas un programme Windows (pas d'en-tête PE)";
  }
  const size_t coff = peOffset + 4;
  const uint32_t symbolTable = ReadLittleEndian(image, coff + 8, 4);
  const uint32_t symbolCount = ReadLittleEndian(image, coff + 12, 4);
  if (symbolTable != 0 || symbolCount != 0) {
    return "le programme a encore sa table des symboles ; enlevez-la d'abord (x86_64-w64-mingw32-strip), car y "
           "écrire des ressources laisserait un fichier abîmé";
  }
  return "";
}
