#include "scorm_package.h"

#include <algorithm>

#include "cp1252.h"
#include "quiz_page.h"
#include "zip_file.h"

namespace {

const size_t MaxPageStem = 60;

// An ASCII letter for the accented letters of Windows-1252 from 0xC0 on;
// '-' where there is none (×, ÷).
const char FoldedLetters[] = "AAAAAAACEEEEIIIIDNOOOOO-OUUUUYTsaaaaaaaceeeeiiiidnooooo-ouuuuyty";

std::string Folded(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return std::string(1, c);
  switch (c) {
    case 0x8A: return "S";
    case 0x8C: return "OE";
    case 0x8E: return "Z";
    case 0x9A: return "s";
    case 0x9C: return "oe";
    case 0x9E: return "z";
    case 0x9F: return "Y";
    case 0xC6: return "AE";
    case 0xDF: return "ss";
    case 0xE6: return "ae";
    default: return c >= 0xC0 ? std::string(1, FoldedLetters[c - 0xC0]) : "-";
  }
}

// The title on one line, as XML 1.0 may hold it: a line break or any other
// control character is a space.
std::string XmlTitle(const std::string& title) {
  std::string line;
  for (size_t k = 0; k < title.size(); ++k) {
    const unsigned char c = static_cast<unsigned char>(title[k]);
    const bool control = c < 0x20 || c == 0x7F;
    if (control && k > 0 && title[k - 1] == '\r' && c == '\n') continue;
    line += control ? ' ' : static_cast<char>(c);
  }
  const size_t first = line.find_first_not_of(' ');
  if (first == std::string::npos) return "Quiz Ludex";
  line = line.substr(first, line.find_last_not_of(' ') - first + 1);
  return EscapeHtml(Utf8FromCp1252(line));
}

}  // namespace

std::string ScormPageName(const std::string& title) {
  std::string stem;
  for (unsigned char c : title) {
    for (char folded : Folded(c)) {
      if (folded == '-' && (stem.empty() || stem.back() == '-')) continue;
      stem += folded;
    }
    if (stem.size() >= MaxPageStem) break;
  }
  stem.resize(std::min(stem.size(), MaxPageStem));
  while (!stem.empty() && stem.back() == '-') stem.pop_back();
  return (stem.empty() ? "quiz" : stem) + ".html";
}

// The identifiers are the same for every quiz: a platform that is given the
// package of a corrected quiz in place of the first keeps its pupils' results.
std::string ScormManifest(const std::string& title, const std::string& pageName) {
  const std::string shown = XmlTitle(title);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<manifest identifier=\"ludex-quiz\" version=\"1.0\"\n"
         "          xmlns=\"http://www.imsproject.org/xsd/imscp_rootv1p1p2\"\n"
         "          xmlns:adlcp=\"http://www.adlnet.org/xsd/adlcp_rootv1p2\"\n"
         "          xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
         "          xsi:schemaLocation=\"http://www.imsproject.org/xsd/imscp_rootv1p1p2 imscp_rootv1p1p2.xsd "
         "http://www.imsglobal.org/xsd/imsmd_rootv1p2p1 imsmd_rootv1p2p1.xsd "
         "http://www.adlnet.org/xsd/adlcp_rootv1p2 adlcp_rootv1p2.xsd\">\n"
         "  <metadata>\n"
         "    <schema>ADL SCORM</schema>\n"
         "    <schemaversion>1.2</schemaversion>\n"
         "  </metadata>\n"
         "  <organizations default=\"ludex-organization\">\n"
         "    <organization identifier=\"ludex-organization\">\n"
         "      <title>" + shown + "</title>\n"
         "      <item identifier=\"ludex-item\" identifierref=\"ludex-page\" isvisible=\"true\">\n"
         "        <title>" + shown + "</title>\n"
         "      </item>\n"
         "    </organization>\n"
         "  </organizations>\n"
         "  <resources>\n"
         "    <resource identifier=\"ludex-page\" type=\"webcontent\" adlcp:scormtype=\"sco\" href=\"" + pageName + "\">\n"
         "      <file href=\"" + pageName + "\"/>\n"
         "    </resource>\n"
         "  </resources>\n"
         "</manifest>\n";
}

bool MakeScormPackage(const std::string& pageTemplate, const QuizPayloads& streams, const std::string& title,
                      std::string& package, std::string& error) {
  const std::string pageName = ScormPageName(title);
  std::string page;
  if (!MakeQuizPage(pageTemplate, streams, title, PageFileStem(pageName), page, error)) return false;
  package = StoredZip({{"imsmanifest.xml", ScormManifest(title, pageName)}, {pageName, page}});
  return true;
}
