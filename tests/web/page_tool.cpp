// What the browser tests need natively (tests/web/*.py):
//   page_tool page SOURCE OUT.html   the page of a quiz source, with this build's page template
//   page_tool verdicts               for each line "expected<TAB>typed" of standard input (UTF-8),
//                                    the program's verdict word (UTF-8) on a line
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "cp1252.h"
#include "page_template.h"
#include "quiz_page.h"
#include "quiz_source.h"
#include "verdict.h"

namespace {

int MakePage(const char* sourcePath, const char* pagePath) {
  std::ifstream in(sourcePath, std::ios::binary);
  const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  QuizPayloads streams;
  std::string page, error;
  if (!in || !ParseQuizSource(source, quiz, diagnostics) ||
      !CompressPayloads(EncodePayloads(quiz), streams, diagnostics) ||
      !MakeQuizPage(BuiltPageTemplate(), streams, quiz.title, PageFileStem(pagePath), page, error)) {
    for (const Diagnostic& d : diagnostics.items) std::cerr << Utf8FromCp1252(diagnostics.format(d)) << "\n";
    std::cerr << sourcePath << ": no page " << error << "\n";
    return 1;
  }
  std::ofstream(pagePath, std::ios::binary) << page;
  return 0;
}

int PrintVerdicts() {
  for (std::string line; std::getline(std::cin, line);) {
    const size_t tab = line.find('\t');
    const std::string expected = Cp1252FromUtf8Lossy(line.substr(0, tab));
    const std::string typed = tab == std::string::npos ? "" : Cp1252FromUtf8Lossy(line.substr(tab + 1));
    std::cout << Utf8FromCp1252(ChooseVerdict(expected.c_str(), typed.c_str())) << "\n";
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "page") return MakePage(argv[2], argv[3]);
  if (argc == 2 && std::string(argv[1]) == "verdicts") return PrintVerdicts();
  std::cerr << "usage: page_tool page SOURCE OUT.html | page_tool verdicts\n";
  return 2;
}
