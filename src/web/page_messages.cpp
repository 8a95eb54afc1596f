#include "page_messages.h"

#include <cstdio>

#include "french_text.h"
#include "quiz_format.h"

namespace {

// "1re", "2e", ...: the line of a file, as French writes its rank.
std::string LineRank(long long line) { return std::to_string(line) + (line == 1 ? "re" : "e"); }

std::string RefusalReason(const AnswersOfferFacts& f) {
  const std::string file = Quoted(f.name);
  const std::string line = "sa " + LineRank(f.line) + " ligne";
  switch (f.refusal) {
    case AnswersFileRefusal::Empty: return file + " est vide : ce n'est pas un fichier de r\xE9ponses.";
    case AnswersFileRefusal::TooLarge: return file + " est bien trop gros pour un fichier de r\xE9ponses.";
    case AnswersFileRefusal::NotText:
      return file + " n'est pas un fichier de r\xE9ponses : " + line + " contient autre chose que du texte.";
    case AnswersFileRefusal::LineTooLong:
      return file + " n'est pas un fichier de r\xE9ponses de ce quiz : " + line + " a " +
             std::to_string(f.lineLength) + " caract\xE8res, une r\xE9ponse en garde au plus " +
             std::to_string(MaxTextLength) + ".";
    case AnswersFileRefusal::LacksCharacter:
      return file + " ne peut pas \xEAtre repris : " + line +
             " contient un caract\xE8re que ce quiz ne sait pas \xE9" "crire (un emoji, une lettre d'un autre "
             "alphabet...).";
    case AnswersFileRefusal::TooManyAnswers:
      return file + " n'est pas un fichier de r\xE9ponses de ce quiz : " + line + " est remplie, ce quiz n'en a que " +
             std::to_string(f.answerLines) + ".";
    case AnswersFileRefusal::None: break;
  }
  return "";
}

}  // namespace

std::string OfferMessage(const AnswersOfferFacts& f) {
  if (f.fromBrowser) {
    return f.changes == 1 ? "Sur cet appareil, 1 de vos r\xE9ponses n'est pas celle que l'ENT a gard\xE9" "e. "
                            "Reprendre celle de cet appareil ?"
                          : "Sur cet appareil, " + std::to_string(f.changes) +
                                " de vos r\xE9ponses ne sont pas celles que l'ENT a gard\xE9" "es. "
                                "Reprendre celles de cet appareil ?";
  }
  if (f.refusal != AnswersFileRefusal::None) return RefusalReason(f) + " Vos r\xE9ponses n'ont pas chang\xE9.";
  if (f.changes == 0) return Quoted(f.name) + " contient d\xE9j\xE0 vos r\xE9ponses : rien ne change.";
  return Quoted(f.name) + " remplacera " + std::to_string(f.changes) + " de vos " + std::to_string(f.answerLines) +
         " r\xE9ponses. Reprendre ce fichier ?";
}

std::string ResumedMessage(const AnswersOfferFacts& f) {
  return "R\xE9ponses reprises de " + (f.fromBrowser ? std::string("cet appareil") : Quoted(f.name)) + " : " +
         Counted(f.changes, "r\xE9ponse a chang\xE9.", "r\xE9ponses ont chang\xE9.");
}

std::string UndoneMessage(const AnswersOfferFacts& f) {
  if (f.fromBrowser) return "Les r\xE9ponses gard\xE9" "es par l'ENT sont revenues.";
  return "Vos r\xE9ponses d'avant " + Quoted(f.name) + " sont revenues.";
}

std::string StorageNotice() {
  return "Ce navigateur ne garde pas vos r\xE9ponses : elles seront perdues en fermant la page. "
         "\xAB Sauver \xBB les garde dans un fichier.";
}

std::string PlatformFailedNotice(bool browserKeeps) {
  return std::string("Votre score n'a pas pu \xEAtre envoy\xE9 \xE0 l'ENT : ") +
         (browserKeeps ? "vos r\xE9ponses restent gard\xE9" "es dans ce navigateur."
                       : "\xAB Sauver \xBB garde vos r\xE9ponses dans un fichier.");
}

std::string PlatformCutNotice(int questionsKept) {
  const std::string start = "Vos r\xE9ponses sont trop longues pour l'ENT : ";
  if (questionsKept <= 0) return start + "il n'en garde aucune, elles restent dans ce navigateur.";
  if (questionsKept == 1) return start + "il ne garde que celle de la question 1, les autres restent dans ce navigateur.";
  return start + "il ne garde que celles des questions 1 \xE0 " + std::to_string(questionsKept) +
         ", les autres restent dans ce navigateur.";
}

std::string SaveLine(const std::string& fileName, int hour, int minute) {
  char time[16];
  std::snprintf(time, sizeof time, "%d h %02d", hour, minute);
  return Quoted(fileName) + " propos\xE9 au t\xE9l\xE9" "chargement \xE0 " + time +
         " : s'il est accept\xE9, il est dans les t\xE9l\xE9" "chargements du navigateur.";
}

std::string VerdictAnnouncement(const VerdictNews& n) {
  std::string said;
  if (n.word != nullptr) said = "Question " + std::to_string(n.question) + " : " + n.word + ".";
  if (n.score != nullptr) {
    const std::string code = n.code;
    said += std::string(said.empty() ? "" : " ") + "Score :" + n.score +
            (code.find_first_not_of(' ') == std::string::npos ? ", pas de code." : ", code " + code + ".");
  }
  if (n.revealsShown == 1 && n.reveal != nullptr) said += std::string(" R\xE9v\xE9lation : ") + n.reveal;
  if (n.revealsShown > 1) said += " " + std::to_string(n.revealsShown) + " r\xE9v\xE9lations affich\xE9" "es.";
  return said;
}

std::string FillAnnouncement(const std::string& typed, const char* score, const char* code) {
  VerdictNews news = {0, nullptr, score, code, nullptr, 0};
  return Quoted(typed) + " essay\xE9 sur les questions non trouv\xE9" "es. " + VerdictAnnouncement(news);
}
