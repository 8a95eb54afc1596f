// What the session shows: its display tables (the fields, the settings'
// labels, the list's columns, the reveal modes the player knows), the
// window's title and status texts, the questions list's cells, the chosen
// question's fields with their counters, the choices of the settings.
#include <algorithm>

#include "accepted_suggestions.h"
#include "editor_session.h"
#include "session_text.h"

const FieldDisplay HeaderFieldDisplays[3] = {
    {QuizField::Title, u8"&Titre :", false, "title"},
    {QuizField::Author, u8"A&uteur :", false, "author"},
    {QuizField::Explanation, u8"E&xplication :", true, "explanation"},
};
const FieldDisplay RowFieldDisplays[8] = {
    {QuizField::Question, u8"Qu&estion :", true, "question"},
    {QuizField::Answer1, u8"Répon&se :", false, "answer"},
    {QuizField::Accepted1, u8"&Acceptées aussi :", true, "accepted"},
    {QuizField::Answer2, u8"Réponse &2 :", false, "answer2"},
    {QuizField::Accepted2, u8"Auss&i :", true, "accepted2"},
    {QuizField::Reveal1, u8"Ré&vélation :", true, "reveal"},
    {QuizField::Reveal2, u8"Révélati&on 2 :", true, "reveal2"},
    {QuizField::Code, u8"&Code de score :", false, "code"},
};
const char* const AnswerCaptions[4] = {"OK", "Annuler", "Oui", "Non"};
const char* const SaveChangesCaptions[2] = {"&Enregistrer", "&Ne pas enregistrer"};
const char* const AnswersLabel = u8"Ré&ponses par question :";
const char* const RevealModeLabel = u8"&Mode de révélation :";
const char* const ColourLabel = u8"Couleur de fond :";
const char* const SuggestionsLabel = u8"Suggestions :";
const char* const ListColumnTitles[ListColumnCount] = {u8"N°", u8"Question", u8"Réponse(s) attendue(s)", u8"Révélation",
                                                       u8"Code"};

namespace {

// The reveal modes the player knows; any other plays as 0.
const struct {
  int mode;
  const char* text;
} RevealModes[] = {
    {0, u8"0 : aucun texte révélé"},
    {2, u8"2 : le texte d'une question trouvée"},
    {3, u8"3 : comme 2, avec un second texte"},
    {4, u8"4 : tous les textes, une fois tout trouvé"},
};

// A quiz text on one line, for a cell: its line breaks shown as ¶.
std::string OneLine(const std::string& cp1252) {
  std::string text = Utf8(cp1252);
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) text.replace(at, 2, u8" ¶ ");
  return text;
}

// An expected answer for a cell, with how many more it accepts: "La Chine (+1)".
std::string WithAccepted(const std::string& answer, const std::string& accepted) {
  const size_t more = AcceptedAnswerLines(accepted).size();
  return OneLine(answer) + (more > 0 ? " (+" + std::to_string(more) + ")" : "");
}

}  // namespace

void EditorSession::chooseRevealMode(int choice) {
  const int known = static_cast<int>(sizeof RevealModes / sizeof RevealModes[0]);
  if (choice < 0 || choice >= known) return;  // the odd mode of a hand-written source: kept as it is
  if (document_.setRevealMode(RevealModes[choice].mode)) problems_.keepQuiet(false);
}

// ---- what the front end shows ----

std::string EditorSession::notice() const {
  if (host_.keepsCopies()) return "";
  return u8"Ce navigateur ne garde pas de copie de secours : une page fermée perd ce qui n'est pas enregistré. "
         u8"« Enregistrer » (Ctrl+S) garde le quiz dans un fichier.";
}

std::string EditorSession::windowTitle() const {
  std::string title = document_.path().empty() ? "Sans titre" : FileNameOf(document_.path());
  return title + (document_.modified() ? "*" : "") + " - Ludex Atelier";
}

std::string EditorSession::questionCountText() const {
  return Counted(document_.questionCount(), "question", "questions");
}

std::string EditorSession::cell(int row, int column) const {
  if (row < 0 || row >= document_.questionCount()) return "";
  const AuthoredQuiz& quiz = document_.quiz();
  const AuthoredQuestion& question = quiz.questions[static_cast<size_t>(row)];
  switch (column) {
    case 0: return std::to_string(row + 1) + (rowHasError(row) ? " !" : "");  // marked, as a selected row is not red
    case 1: return OneLine(question.questionText);
    case 2:
      return HasSecondAnswer(quiz.answersPerQuestion)
                 ? WithAccepted(question.answer1, question.accepted1) + "  |  " +
                       WithAccepted(question.answer2, question.accepted2)
                 : WithAccepted(question.answer1, question.accepted1);
    case 3:
      return FieldInUse(QuizField::Reveal1, quiz.answersPerQuestion, quiz.revealMode) ? OneLine(question.revealText)
                                                                                      : "";
    case 4: return OneLine(question.scoreCode);
    default: return "";
  }
}

int EditorSession::shownRow() const { return document_.selection().empty() ? -1 : document_.selection().front(); }

std::string EditorSession::rowLabel() const {
  if (shownRow() < 0) return u8"Aucune question choisie : ajoutez-en une (Inser) ou choisissez-en une dans la liste.";
  std::string text = "Question " + std::to_string(shownRow() + 1) + " sur " + std::to_string(document_.questionCount());
  const size_t selected = document_.selection().size();
  if (selected > 1) text += u8" (" + std::to_string(selected) + u8" questions sélectionnées)";
  return text;
}

std::string EditorSession::fieldText(QuizField field) const {
  if (IsQuestionField(field) && shownRow() < 0) return "";
  return Utf8(document_.text(field, shownRow()));
}

bool EditorSession::fieldEnabled(QuizField field) const {
  const AuthoredQuiz& quiz = document_.quiz();
  return !(IsQuestionField(field) && shownRow() < 0) && FieldInUse(field, quiz.answersPerQuestion, quiz.revealMode);
}

std::string EditorSession::counter(QuizField field) const {
  if (!fieldEnabled(field)) return u8"—";
  const std::string& text = document_.text(field, shownRow());
  if (IsAcceptedField(field)) {
    return std::to_string(AcceptedAnswerLines(text).size()) + " / " + std::to_string(MaxAcceptedAnswers);
  }
  return std::to_string(text.size()) + " / " + std::to_string(MaxTextLength);
}

bool EditorSession::counterOverLimit(QuizField field) const {
  if (!fieldEnabled(field)) return false;
  const std::string& text = document_.text(field, shownRow());
  if (!IsAcceptedField(field)) return text.size() > static_cast<size_t>(MaxTextLength);
  const std::vector<std::string> answers = AcceptedAnswerLines(text);
  return answers.size() > static_cast<size_t>(MaxAcceptedAnswers) ||
         std::any_of(answers.begin(), answers.end(),
                     [](const std::string& answer) { return answer.size() > static_cast<size_t>(MaxTextLength); });
}

std::vector<std::string> EditorSession::suggestions(QuizField answerField) const {
  std::vector<std::string> offered;
  if (!fieldEnabled(answerField) || IsAcceptedField(answerField) ||
      (answerField != QuizField::Answer1 && answerField != QuizField::Answer2)) {
    return offered;
  }
  const std::vector<std::string> accepted =
      AcceptedAnswerLines(document_.text(AcceptedFieldOf(answerField), shownRow()));
  for (const std::string& suggestion : SuggestAcceptedAnswers(document_.text(answerField, shownRow()), accepted)) {
    offered.push_back(Utf8(suggestion));
  }
  return offered;
}

std::vector<std::string> EditorSession::answersChoices() const {
  std::vector<std::string> choices;
  for (int count = MinAnswersPerQuestion; count <= MaxAnswersPerQuestion; ++count) {
    choices.push_back(std::to_string(count));
  }
  return choices;
}

int EditorSession::answersChoice() const { return document_.quiz().answersPerQuestion - MinAnswersPerQuestion; }

std::vector<std::string> EditorSession::revealModeChoices() const {
  std::vector<std::string> choices;
  for (const auto& choice : RevealModes) choices.push_back(choice.text);
  // A mode from a hand-written source, kept as it is.
  if (revealModeChoice() == static_cast<int>(choices.size())) {
    choices.push_back(std::to_string(document_.quiz().revealMode) + " : sans effet, comme 0");
  }
  return choices;
}

int EditorSession::revealModeChoice() const {
  int index = 0;
  for (const auto& choice : RevealModes) {
    if (choice.mode == document_.quiz().revealMode) return index;
    ++index;
  }
  return index;
}

void EditorSession::colour(uint8_t& red, uint8_t& green, uint8_t& blue) const {
  red = document_.quiz().red;
  green = document_.quiz().green;
  blue = document_.quiz().blue;
}
