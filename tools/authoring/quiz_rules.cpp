#include "quiz_rules.h"

#include <cstdio>

#include "cp1252.h"

namespace {

std::string Quoted(QuizField field) { return std::string("« ") + FieldKeyword(field) + ": »"; }

bool IsAnswer(QuizField field) { return field == QuizField::Answer1 || field == QuizField::Answer2; }

std::string CodePointName(uint32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  std::string name = text;
  switch (c) {
    case 0x202F: name += " (espace fine insécable : mettez une espace ordinaire)"; break;
    case 0x2009: name += " (espace fine : mettez une espace ordinaire)"; break;
    case 0x2011: name += " (trait d'union insécable : mettez « - »)"; break;
    case 0x2212: name += " (signe moins : mettez « - »)"; break;
    case 0x2192: name += " (flèche : écrivez « -> »)"; break;
    case 0x2264: name += " (inférieur ou égal : écrivez « <= »)"; break;
    case 0x2265: name += " (supérieur ou égal : écrivez « >= »)"; break;
    default: break;
  }
  return name;
}

void Add(TextCheck& check, bool isError, int line, int column, const std::string& message) {
  check.problems.push_back({isError, line, column, message});
}

// Appends one line's characters to check.bytes, reporting each one the player cannot hold.
void ConvertLine(QuizField field, const std::string& utf8, int line, TextCheck& check) {
  size_t position = 0;
  int column = 1;
  while (position < utf8.size()) {
    uint32_t c = 0;
    if (!DecodeUtf8(utf8, position, c)) {
      Add(check, true, line, column, "UTF-8 invalide");
      return;
    }
    const int byte = Cp1252FromCodePoint(c);
    if (byte < 0) {
      Add(check, true, line, column,
          "le caractère " + CodePointName(c) + " n'existe pas en Windows-1252 : le lecteur ne peut pas l'afficher");
      check.bytes += '?';
    } else {
      if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
        Add(check, true, line, column, "caractère de contrôle " + CodePointName(c) + " dans un texte");
      } else if (byte == '|' && field != QuizField::Code) {
        Add(check, true, line, column,
            "le caractère « | » est interdit dans un texte, car le lecteur y voit la fin du texte (écrivez « / » à "
            "la place)");
      }
      check.bytes += static_cast<char>(byte);
    }
    ++column;
  }
}

void WarnAboutAnswer(QuizField field, TextCheck& check) {
  const std::string& answer = check.bytes;
  if (answer.empty()) {
    Add(check, false, 0, 0, Quoted(field) + " est vide : le lecteur n'accepte jamais une réponse vide");
  } else if (answer.find("\r\n") != std::string::npos) {
    Add(check, false, 0, 0,
        Quoted(field) +
            " contient un retour à la ligne, qu'on ne peut pas taper dans un champ "
            "de réponse");
  } else if (answer.front() == ' ' || answer.back() == ' ') {
    Add(check, false, 0, 0,
        Quoted(field) +
            " commence ou finit par une espace : le lecteur enlève les espaces de ce "
            "que tape l'élève, elle ne peut donc jamais être trouvée");
  }
}

// Splits at LF; a CR just before it belongs to the line break.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

}  // namespace

const char* FieldKeyword(QuizField field) {
  switch (field) {
    case QuizField::Title: return "titre";
    case QuizField::Author: return "auteur";
    case QuizField::Explanation: return "explication";
    case QuizField::ExtraText1: return "texte4";
    case QuizField::ExtraText2: return "texte5";
    case QuizField::Question: return "question";
    case QuizField::Answer1: return "réponse";
    case QuizField::Answer2: return "réponse2";
    case QuizField::Reveal1: return "révélation";
    case QuizField::Reveal2: return "révélation2";
    case QuizField::Code: return "code";
  }
  return "";
}

bool IsQuestionField(QuizField field) { return static_cast<int>(field) >= static_cast<int>(QuizField::Question); }

bool FieldInUse(QuizField field, int answersPerQuestion, int revealMode) {
  switch (field) {
    case QuizField::Answer2: return answersPerQuestion == 2;
    case QuizField::Reveal1: return revealMode >= 2 && revealMode <= 4;
    case QuizField::Reveal2: return revealMode == 3;
    default: return true;
  }
}

bool TextCheck::hasErrors() const {
  for (const TextProblem& problem : problems) {
    if (problem.isError) return true;
  }
  return false;
}

TextCheck CheckTextLines(QuizField field, const std::vector<std::string>& utf8Lines) {
  TextCheck check;
  for (size_t line = 0; line < utf8Lines.size(); ++line) {
    if (line > 0) {
      if (field == QuizField::Code && line == 1) Add(check, true, 1, 0, CodeLineBreakError());
      check.bytes += "\r\n";
    }
    ConvertLine(field, utf8Lines[line], static_cast<int>(line), check);
  }
  if (check.hasErrors()) return check;
  if (check.bytes.size() > static_cast<size_t>(MaxTextLength)) {
    const std::string size = std::to_string(check.bytes.size());
    if (field == QuizField::Code) {
      Add(check, true, 0, 0, "le code de score fait " + size + " octets ; le lecteur en garde au plus 259");
    } else {
      Add(check, true, 0, 0,
          "le texte de " + Quoted(field) + " fait " + size +
              " octets (un retour à la ligne compte pour 2) ; le lecteur en garde au plus 259");
    }
    return check;
  }
  if (IsAnswer(field)) WarnAboutAnswer(field, check);
  return check;
}

TextCheck CheckTextUtf8(QuizField field, const std::string& utf8) { return CheckTextLines(field, SplitLines(utf8)); }

TextCheck CheckTextBytes(QuizField field, const std::string& bytes) {
  std::vector<std::string> lines;
  for (const std::string& line : SplitLines(bytes)) lines.push_back(Utf8FromCp1252(line));
  return CheckTextLines(field, lines);
}

std::string ProblemText(int column, const std::string& message) {
  if (column <= 0) return message;
  return "colonne " + std::to_string(column) + " : " + message;
}

std::string QuestionCountError(size_t questionCount) {
  if (questionCount <= static_cast<size_t>(MaxQuestions)) return "";
  return "plus de 255 questions : le lecteur les compte sur un octet";
}

std::string ScoreCodeSlotsWarning(size_t questionCount) {
  if (questionCount <= static_cast<size_t>(ScoreCodeSlots)) return "";
  return "plus de 96 codes de score : le lecteur garde les 96 premiers et n'affiche aucun code (six espaces) pour "
         "un score de 97 ou plus";
}

std::string RevealModeWarning(int revealMode) {
  if (revealMode == 0 || (revealMode >= 2 && revealMode <= 4)) return "";
  return "le mode de révélation " + std::to_string(revealMode) + " n'affiche aucun texte de révélation, comme 0";
}

std::string NoQuestionWarning(size_t questionCount) { return questionCount == 0 ? "le quiz n'a aucune question" : ""; }

std::string FieldNeedsSettingMessage(QuizField field) {
  switch (field) {
    case QuizField::Answer2: return Quoted(field) + " demande « réponses par question: 2 » dans l'en-tête";
    case QuizField::Reveal1: return Quoted(field) + " demande « mode révélation: 2 », 3 ou 4 dans l'en-tête";
    case QuizField::Reveal2: return Quoted(field) + " demande « mode révélation: 3 » dans l'en-tête";
    default: return "";
  }
}

std::string CodeLineBreakError() { return "un code de score ne peut pas contenir de retour à la ligne"; }
