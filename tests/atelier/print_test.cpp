// The printed pages: the pupils' sheet and the answer key, as HTML.
#include <gtest/gtest.h>

#include "print_html.h"

namespace {

TEST(PrintTest, EscapesEveryTextAndDeclaresUtf8) {
  EXPECT_EQ(HtmlText("<b>&\"'\xE9\r\n\x80\n"), "&lt;b&gt;&amp;&quot;&#39;\xC3\xA9<br>\xE2\x82\xAC<br>");
  AuthoredQuiz quiz;
  quiz.title = "Q</title><script>";
  quiz.author = "  Mme L\xE9vy";
  quiz.answersPerQuestion = 2;
  quiz.revealMode = 2;
  AuthoredQuestion question = {"1 < 2 ?", "oui & non", "", "r\xE9v\xE9l\xE9", "", "<C>"};
  quiz.questions = {question, question};
  question.accepted1 = "oui\r\n<non>";
  quiz.questions.push_back(question);
  const std::string sheet = PupilSheetHtml(quiz), key = AnswerKeyHtml(quiz, ConservativeMetrics());
  for (const std::string& page : {sheet, key}) {
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find(u8"<p class=\"author\">Par : Mme Lévy</p>"), std::string::npos);
  }
  EXPECT_EQ(sheet.find("oui"), std::string::npos);  // no answer on the pupils' sheet
  EXPECT_NE(sheet.find("<li><p>1 &lt; 2 ?</p><div class=\"line\"></div><div class=\"line\"></div></li>"),
            std::string::npos);
  EXPECT_NE(
      key.find(u8"<tr><td>2</td><td>1 &lt; 2 ?</td><td>oui &amp; non<br></td><td>révélé</td><td>&lt;C&gt;</td></tr>"),
      std::string::npos);
  EXPECT_NE(key.find(u8"<td>oui &amp; non <span class=\"also\">(aussi : oui, &lt;non&gt;)</span><br></td>"),
            std::string::npos);  // the accepted answers after the expected one
}

// The answer key prints each code as the player's field shows it.
TEST(PrintTest, AnswerKeyPrintsWhatThePlayerShows) {
  AuthoredQuiz quiz;
  quiz.title = "T";
  quiz.questions.resize(ScoreCodeSlots + 1);
  quiz.questions[0].scoreCode = "PHARE";
  quiz.questions[1].scoreCode = "WWWWWWWWWWWWWWWWWW";
  quiz.questions[ScoreCodeSlots].scoreCode = "LOIN";
  const ShownText cut = ShownCode(quiz.questions[1].scoreCode, ConservativeMetrics());
  ASSERT_TRUE(cut.cut);
  const std::string key = AnswerKeyHtml(quiz, ConservativeMetrics());
  EXPECT_NE(key.find("<td>PHARE</td></tr>"), std::string::npos);
  EXPECT_NE(key.find("<td>" + cut.shown + u8" <span class=\"cut\">(« " + cut.hidden + u8" » ne s&#39;affiche pas)</span></td>"),
            std::string::npos);
  EXPECT_NE(key.find(u8"<span class=\"cut\">(jamais affiché)</span>"), std::string::npos);
  EXPECT_EQ(key.find("LOIN"), std::string::npos);
}

}  // namespace
