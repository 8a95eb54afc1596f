#include "file_paths.h"

#include <cstring>

#include "answers_file.h"

std::string AnswersFileClash(const std::string& sourcePath, const std::string& programPath) {
  const std::string program = FullPath(programPath);
#ifdef _WIN32
  const char* const separators = "\\/";
#else
  const char* const separators = "/";
#endif
  const size_t slash = program.find_last_of(separators);
  const std::string folder = slash == std::string::npos ? "" : program.substr(0, slash + 1);
  char answers[260];
  AnswersFileName(program.substr(folder.size()).c_str(), answers);
  if (!NamesSameFile(folder + answers, sourcePath)) return "";
  return "le programme " + PathInMessage(programPath) + " garderait les réponses des élèves dans " +
         PathInMessage(sourcePath) + ", sa source, et l'écraserait : donnez un autre nom à la source ou au programme";
}
