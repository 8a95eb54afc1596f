// The program's verdicts for the browser tests to compare the page's with:
// for each line "expected<TAB>typed" of standard input (UTF-8), the verdict
// word (UTF-8) on a line.
#include <iostream>
#include <string>

#include "cp1252.h"
#include "verdict.h"

int main() {
  for (std::string line; std::getline(std::cin, line);) {
    const size_t tab = line.find('\t');
    const std::string expected = Cp1252FromUtf8Lossy(line.substr(0, tab));
    const std::string typed = tab == std::string::npos ? "" : Cp1252FromUtf8Lossy(line.substr(tab + 1));
    std::cout << Utf8FromCp1252(ChooseVerdict(expected.c_str(), typed.c_str())) << "\n";
  }
  return 0;
}
