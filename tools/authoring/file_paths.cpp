#include "file_paths.h"

#include <cstring>

#include "answers_file.h"

std::string AnswersFileOf(const std::string& programPath) {
#ifdef _WIN32
  const char* const separators = "\\/";
#else
  const char* const separators = "/";
#endif
  const size_t slash = programPath.find_last_of(separators);
  const std::string folder = slash == std::string::npos ? "" : programPath.substr(0, slash + 1);
  char answers[260];
  AnswersFileName(programPath.substr(folder.size()).c_str(), answers);
  return folder + answers;
}

std::string AnswersFileClashMessage(const std::string& program, const std::string& source) {
  return "le programme " + program + " garderait les r\xE9ponses des \xE9l\xE8ves dans " + source +
         ", sa source, et l'\xE9"
         "craserait : donnez un autre nom \xE0 la source ou au programme";
}

std::string AnswersFileClash(const std::string& sourcePath, const std::string& programPath) {
  if (!NamesSameFile(AnswersFileOf(FullPath(programPath)), sourcePath)) return "";
  return AnswersFileClashMessage(PathInMessage(programPath), PathInMessage(sourcePath));
}
