#include "print_html.h"

#include "cp1252.h"
#include "french_text.h"
#include "quiz_fit.h"
#include "quiz_page.h"
#include "quiz_rules.h"

namespace {

std::string Trimmed(const std::string& bytes) {
  const size_t first = bytes.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return bytes.substr(first, bytes.find_last_not_of(' ') - first + 1);
}

std::string Page(const AuthoredQuiz& quiz, const char* kind, const std::string& body) {
  std::string out = "<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  out += HtmlText(quiz.title) + HtmlText(std::string(" \x96 ") + kind);
  out += "</title>\n<style>";
  out += PrintStyle;
  out += "</style>\n</head>\n<body>\n<h1>" + HtmlText(quiz.title) + "</h1>\n";
  const std::string author = Trimmed(quiz.author);
  if (!author.empty()) out += "<p class=\"author\">" + HtmlText("Par : " + author) + "</p>\n";
  return out + body + "</body>\n</html>\n";
}

// The code as the pupil sees it: the player's field shows what fits, and
// nothing past its last slot.
std::string CodeCell(const std::string& code, size_t row, const PlayerMetrics& metrics) {
  if (row >= static_cast<size_t>(ScoreCodeSlots)) {
    return code.empty() ? "" : "<span class=\"cut\">" + HtmlText("(jamais affich\xE9)") + "</span>";
  }
  const ShownText shown = ShownCode(code, metrics);
  if (!shown.cut) return HtmlText(code);
  return HtmlText(shown.shown) + " <span class=\"cut\">" +
         HtmlText("(" + Quoted(shown.hidden) + " ne s'affiche pas)") + "</span>";
}

}  // namespace

std::string HtmlText(const std::string& bytes) {
  std::string out;
  size_t start = 0;
  while (true) {
    const size_t end = bytes.find_first_of("\r\n", start);
    out += EscapeHtml(Utf8FromCp1252(bytes.substr(start, end == std::string::npos ? std::string::npos : end - start)));
    if (end == std::string::npos) return out;
    out += "<br>";  // CR LF, or a lone CR or LF
    start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
}

std::string PupilSheetHtml(const AuthoredQuiz& quiz) {
  std::string body;
  body += "<p class=\"pupil\">" + HtmlText("Nom : ........................................    Classe : ............") +
          "</p>\n";
  if (!quiz.explanation.empty()) body += "<p>" + HtmlText(quiz.explanation) + "</p>\n";
  body += "<ol>\n";
  const int lines = FieldsPerQuestion(quiz.answersPerQuestion);
  for (const AuthoredQuestion& question : quiz.questions) {
    body += "<li><p>" + HtmlText(question.questionText) + "</p>";
    for (int i = 0; i < lines; ++i) body += "<div class=\"line\"></div>";
    body += "</li>\n";
  }
  body += "</ol>\n";
  return Page(quiz, "feuille de l'\xE9l\xE8ve", body);
}

namespace {

// The accepted answers after their expected one: " (aussi : Chine, chine)".
std::string AlsoAccepted(const std::string& accepted) {
  std::string list;
  for (const std::string& answer : AcceptedAnswerLines(accepted)) list += (list.empty() ? "" : ", ") + answer;
  return list.empty() ? "" : " <span class=\"also\">" + HtmlText("(aussi : " + list + ")") + "</span>";
}

}  // namespace

std::string AnswerKeyHtml(const AuthoredQuiz& quiz, const PlayerMetrics& metrics) {
  const bool second = FieldInUse(QuizField::Answer2, quiz.answersPerQuestion, quiz.revealMode);
  const bool reveal = FieldInUse(QuizField::Reveal1, quiz.answersPerQuestion, quiz.revealMode);
  std::string body = "<table>\n<tr><th>" + HtmlText("N\xB0") + "</th><th>Question</th><th>" +
                     HtmlText(second ? "R\xE9ponses" : "R\xE9ponse") + "</th>";
  if (reveal) body += "<th>" + HtmlText("R\xE9v\xE9lation") + "</th>";
  body += "<th>" + HtmlText("Code (score atteint)") + "</th></tr>\n";
  for (size_t i = 0; i < quiz.questions.size(); ++i) {
    const AuthoredQuestion& question = quiz.questions[i];
    body += "<tr><td>" + std::to_string(i + 1) + "</td><td>" + HtmlText(question.questionText) + "</td><td>" +
            HtmlText(question.answer1) + AlsoAccepted(question.accepted1);
    if (second) body += "<br>" + HtmlText(question.answer2) + AlsoAccepted(question.accepted2);
    body += "</td>";
    if (reveal) body += "<td>" + HtmlText(question.revealText) + "</td>";
    body += "<td>" + CodeCell(question.scoreCode, i, metrics) + "</td></tr>\n";
  }
  body += "</table>\n";
  return Page(quiz, "corrig\xE9", body);
}
