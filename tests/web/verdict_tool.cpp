// The program's verdicts for the browser tests to compare the page's with:
// for each line "expected<TAB>typed" of standard input (UTF-8), the verdict
// word (UTF-8) on a line. With --accepted-cases, the table of accepted
// answers every player is tried on, a case a line:
// "expected<TAB>typed<TAB>verdict<TAB>accepted answer<TAB>...".
#include <cstring>
#include <iostream>
#include <string>

#include "cp1252.h"
#include "support/accepted_answer_cases.h"
#include "verdict.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--accepted-cases") == 0) {
    for (const AcceptedAnswerCase& c : AcceptedAnswerCases()) {
      std::cout << Utf8FromCp1252(c.expected) << "\t" << Utf8FromCp1252(c.typed) << "\t" << c.verdict;
      for (const std::string& answer : c.accepted) std::cout << "\t" << Utf8FromCp1252(answer);
      std::cout << "\n";
    }
    return 0;
  }
  for (std::string line; std::getline(std::cin, line);) {
    const size_t tab = line.find('\t');
    const std::string expected = Cp1252FromUtf8Lossy(line.substr(0, tab));
    const std::string typed = tab == std::string::npos ? "" : Cp1252FromUtf8Lossy(line.substr(tab + 1));
    std::cout << Utf8FromCp1252(ChooseVerdict(expected.c_str(), typed.c_str())) << "\n";
  }
  return 0;
}
