#include <windows.h>

#include <cstring>
#include <vector>

#include "answers_file.h"
#include "file_replacement.h"
#include "quiz_resources.h"

namespace {

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) return path;
  return full;
}

std::string LastErrorText() { return "erreur Windows " + std::to_string(GetLastError()); }

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list) {
  reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
  return TRUE;
}

std::vector<WORD> LanguagesOf(HMODULE module, WORD id) {
  std::vector<WORD> languages;
  EnumResourceLanguagesA(module, QuizResourceType, MAKEINTRESOURCEA(id), CollectLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  return languages;
}

bool ReadOne(HMODULE module, WORD id, Bytes& data, std::string& error) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), QuizResourceType);
  if (found == nullptr) {
    error = "pas de ressource PATCH " + std::to_string(id) + " : ce programme ne contient pas de quiz";
    return false;
  }
  const DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  const uint8_t* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  if (bytes == nullptr && size > 0) {
    error = "la ressource PATCH " + std::to_string(id) + " ne peut pas être lue";
    return false;
  }
  data.assign(bytes, bytes + size);
  return true;
}

// Checks that the written file holds exactly the streams, each in one language.
bool ReadBack(const std::string& path, const QuizPayloads& streams, std::string& error) {
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) {
    error = "le programme écrit ne peut pas être rouvert (" + LastErrorText() + ")";
    return false;
  }
  QuizPayloads back;
  bool ok =
      ReadOne(module, QuizResourceId, back.quiz, error) && ReadOne(module, ScoreCodesResourceId, back.codes, error);
  if (ok &&
      (LanguagesOf(module, QuizResourceId).size() != 1 || LanguagesOf(module, ScoreCodesResourceId).size() != 1)) {
    error = "le programme écrit contient les ressources du quiz en plusieurs langues";
    ok = false;
  }
  if (ok && (back.quiz != streams.quiz || back.codes != streams.codes)) {
    error = "les ressources du quiz relues dans le programme écrit diffèrent de celles écrites";
    ok = false;
  }
  FreeLibrary(module);
  return ok;
}

bool UpdateResources(const std::string& path, const QuizPayloads& streams, std::string& error) {
  // The player may carry the resources already (a quiz packed before, or a
  // language variant a resource compiler chose): every variant goes.
  std::vector<WORD> oldQuiz, oldCodes;
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) {
    error = "le lecteur ne s'ouvre pas comme un programme Windows (" + LastErrorText() + ")";
    return false;
  }
  oldQuiz = LanguagesOf(module, QuizResourceId);
  oldCodes = LanguagesOf(module, ScoreCodesResourceId);
  FreeLibrary(module);

  HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
  if (update == nullptr) {
    error = "impossible de modifier les ressources de la copie (" + LastErrorText() + ")";
    return false;
  }
  bool ok = true;
  for (WORD language : oldQuiz) {
    ok = ok && UpdateResourceA(update, QuizResourceType, MAKEINTRESOURCEA(QuizResourceId), language, nullptr, 0);
  }
  for (WORD language : oldCodes) {
    ok = ok && UpdateResourceA(update, QuizResourceType, MAKEINTRESOURCEA(ScoreCodesResourceId), language, nullptr, 0);
  }
  const WORD neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
  ok = ok && UpdateResourceA(update, QuizResourceType, MAKEINTRESOURCEA(QuizResourceId), neutral,
                             const_cast<uint8_t*>(streams.quiz.data()), static_cast<DWORD>(streams.quiz.size()));
  ok = ok && UpdateResourceA(update, QuizResourceType, MAKEINTRESOURCEA(ScoreCodesResourceId), neutral,
                             const_cast<uint8_t*>(streams.codes.data()), static_cast<DWORD>(streams.codes.size()));
  if (!ok) {
    error = "impossible d'écrire les ressources du quiz (" + LastErrorText() + ")";
    EndUpdateResourceA(update, TRUE);
    return false;
  }
  // Its result is not trusted (some implementations report failure after a
  // good write, or success after a bad one): the read-back decides.
  EndUpdateResourceA(update, FALSE);
  return true;
}

}  // namespace

bool WriteQuizResources(const Bytes& playerImage, const std::string& outputPath, const QuizPayloads& streams,
                        std::string& error) {
  const std::string target = FullPath(outputPath);
  FileReplacement output;
  if (!BeginFileReplacement(output, target) || !WriteFileReplacement(output, playerImage.data(), playerImage.size()) ||
      !CloseFileReplacement(output)) {
    AbandonFileReplacement(output);
    error = "impossible d'écrire " + output.temporary;
    return false;
  }
  if (!UpdateResources(output.temporary, streams, error) || !ReadBack(output.temporary, streams, error)) {
    AbandonFileReplacement(output);
    return false;
  }
  if (!CommitFileReplacement(output)) {
    error = "impossible de renommer " + output.temporary + " en " + target + " (" + LastErrorText() + ")";
    return false;
  }
  return true;
}

bool ReadQuizResources(const std::string& programPath, QuizPayloads& streams, std::string& error) {
  HMODULE module = LoadLibraryExA(FullPath(programPath).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) {
    error = "impossible d'ouvrir " + programPath + " comme un programme Windows (" + LastErrorText() + ")";
    return false;
  }
  const bool ok = ReadOne(module, QuizResourceId, streams.quiz, error) &&
                  ReadOne(module, ScoreCodesResourceId, streams.codes, error);
  FreeLibrary(module);
  return ok;
}

std::string AnswersFileClash(const std::string& sourcePath, const std::string& programPath) {
  const std::string program = FullPath(programPath);
  char answers[260];
  AnswersFileName(program.c_str(), answers);
  const std::string folder = program.substr(0, program.size() - strnlen(answers, sizeof answers));
  if (lstrcmpiA((folder + answers).c_str(), FullPath(sourcePath).c_str()) != 0) return "";
  return "le programme " + programPath + " garderait les réponses des élèves dans " + sourcePath +
         ", sa source, et l'écraserait : donnez un autre nom à la source ou au programme";
}
