#include "session_text.h"

#include "cp1252.h"
#include "source_keywords.h"

std::string Utf8(const std::string& cp1252) { return Utf8FromCp1252(cp1252); }

std::string ForCore(const std::string& utf8) { return Cp1252FromUtf8Lossy(utf8); }

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? "" : path.substr(0, slash);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '\\' || folder.back() == '/') return folder + name;
  return folder + (folder.find('\\') != std::string::npos ? "\\" : "/") + name;
}

std::string Sentence(const std::string& cp1252) {
  std::string text = Utf8(cp1252);
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  if (!text.empty() && text.back() != '.' && text.back() != '?') text += '.';
  return text;
}

std::string DiagnosticsText(const Diagnostics& diagnostics) {
  const size_t shown = 12;
  std::string text;
  for (size_t k = 0; k < diagnostics.items.size(); ++k) {
    if (k == shown) {
      text += u8"… et " + std::to_string(diagnostics.items.size() - shown) + " de plus.\n";
      break;
    }
    text += Utf8(diagnostics.format(diagnostics.items[k])) + "\n";
  }
  return text;
}

std::string ProblemLineText(const QuizProblem& problem) {
  std::string line = problem.isError ? "Erreur" : "Avertissement";
  if (problem.row >= 0) line += ", question " + std::to_string(problem.row + 1);
  if (problem.field >= 0) line += ", " + QuotedUtf8(Utf8(FieldKeyword(static_cast<QuizField>(problem.field))));
  return line + " : " + Utf8(problem.message);
}

std::string BrowserFailureText(const std::string& name) {
  const struct {
    const char* name;
    const char* text;
  } known[] = {
      {"NotAllowedError", u8"le navigateur n'a pas eu la permission d'écrire ce fichier"},
      {"AbortError", u8"l'enregistrement a été annulé"},
      {"QuotaExceededError", u8"le disque, ou la place que le navigateur se donne, est plein"},
      {"NotFoundError", u8"le fichier n'est plus à sa place (déplacé ou supprimé)"},
      {"NoModificationAllowedError", u8"le fichier est protégé en écriture, ou ouvert par un autre programme"},
      {"InvalidModificationError", u8"le fichier a été changé par un autre programme pendant l'écriture"},
      {"InvalidStateError", u8"le fichier a été changé par un autre programme"},
      {"SecurityError", u8"le navigateur interdit à cette page d'écrire ce fichier"},
      {"NotReadableError", u8"le navigateur n'a pas pu lire le fichier (déplacé, ou ouvert par un autre programme)"},
  };
  for (const auto& failure : known) {
    if (name == failure.name) return failure.text;
  }
  return u8"le navigateur n'a pas pu aller au bout";
}
