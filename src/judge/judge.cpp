#include "judge.h"

#include <cstdio>
#include <cstring>

#include "text.h"
#include "verdict.h"

namespace {

const char NoScoreCode[] = "      ";

// The expected answer of a slot, cut as a control read would cut it; empty
// for a question without a record.
void ExpectedAnswer(const QuestionRecord* record, int slot, char (&expected)[TextSize]) {
  expected[0] = 0;
  if (record != nullptr) CopyText(expected, slot == 2 ? record->answer2 : record->answer1);
}

void WriteRevealText(VerdictControls& controls, const QuestionRecord* record, int questionIndex) {
  char text[TextSize] = {};
  if (record != nullptr) CopyText(text, record->revealText);
  controls.writePanelText(RevealLabelId(questionIndex), text);
}

// Whether an upper-cased field text is one of the answers, upper-cased too.
bool SameAsUpperCased(const char* fieldText, const char* answer) {
  char upper[TextSize];
  CopyText(upper, answer);
  UpperCaseAscii(upper);
  return std::strcmp(fieldText, upper) == 0;
}

bool MatchesAnAnswer(const char* fieldText, const char* expected, const AcceptedAnswers* accepted) {
  if (SameAsUpperCased(fieldText, expected)) return true;
  for (int k = 0; accepted != nullptr && k < accepted->count; ++k) {
    if (SameAsUpperCased(fieldText, accepted->texts[k])) return true;
  }
  return false;
}

// The fields are compared as they stand, untrimmed: a right answer typed
// with a stray space earns "BRAVO" but not the reveal text.
bool EveryFieldOfQuestionRight(const QuizContent& quiz, VerdictControls& controls, const QuestionRecord* record,
                               int questionIndex) {
  for (int slot = 1; slot <= FieldsPerQuestion(quiz.answersPerQuestion); ++slot) {
    const int fieldId = AnswerFieldId(questionIndex, slot, quiz.answersPerQuestion);
    char fieldText[TextSize];
    controls.readPanelText(fieldId, fieldText, TextSize);
    UpperCaseAscii(fieldText);
    char expected[TextSize];
    ExpectedAnswer(record, slot, expected);
    if (!MatchesAnAnswer(fieldText, expected, AcceptedAnswersOf(quiz.acceptedAnswers, AnswerFieldNumber(fieldId)))) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool VerdictControls::readsBravo(int id) {
  char text[TextSize];
  readPanelText(id, text, TextSize);
  return std::strcmp(text, VerdictBravo) == 0;
}

bool VerdictControls::hasPanelControl(int) { return true; }

void VerdictControls::focusAnswerField(int) {}

void JudgeAnswerField(QuizContent& quiz, VerdictControls& controls, int answerFieldId) {
  const AnswerFieldPlace place = PlaceOfAnswerField(answerFieldId, quiz.answersPerQuestion);
  const QuestionRecord* record = quiz.questionAt(place.questionIndex);
  char expected[TextSize];
  ExpectedAnswer(record, place.slot, expected);

  char typed[TextSize];
  controls.readPanelText(answerFieldId, typed, TextSize);
  const char* word =
      ChooseBestVerdict(expected, AcceptedAnswersOf(quiz.acceptedAnswers, AnswerFieldNumber(answerFieldId)), typed);
  const bool right = word == VerdictBravo;

  if (right && RevealsEachQuestion(quiz.revealMode) &&
      EveryFieldOfQuestionRight(quiz, controls, record, place.questionIndex)) {
    WriteRevealText(controls, record, place.questionIndex);
  }
  if (!right) {
    controls.writePanelText(RevealLabelId(place.questionIndex), "");
    quiz.allRevealed = 0;
  }

  controls.writePanelText(FeedbackLabelId(answerFieldId), word);

  if (RevealsAllAtOnce(quiz.revealMode) && quiz.allRevealed == 0) {
    const int labelCount = quiz.questionCount * FieldsPerQuestion(quiz.answersPerQuestion);
    bool allBravo = true;
    for (int k = 1; k <= labelCount && allBravo; ++k) {
      allBravo = controls.readsBravo(IDC_FEEDBACK_BASE + k);
    }
    if (allBravo) {
      quiz.allRevealed = 1;
      for (int q = 0; q < quiz.questionCount; ++q) WriteRevealText(controls, quiz.questionAt(q), q);
    }
  }

  RecountScore(quiz, controls);
}

void RecountScore(const QuizContent& quiz, VerdictControls& controls) {
  const int perQuestion = FieldsPerQuestion(quiz.answersPerQuestion);
  int found = 0;
  for (int q = 0; q < quiz.questionCount; ++q) {
    bool allRight = true;
    for (int slot = 1; slot <= perQuestion && allRight; ++slot) {
      allRight = controls.readsBravo(FeedbackLabelId(AnswerFieldId(q, slot, quiz.answersPerQuestion)));
    }
    if (allRight) ++found;
  }

  char score[32];
  std::snprintf(score, sizeof score, " %d / %d", found, quiz.questionCount);
  controls.writeHeaderText(IDC_SCORE, score);

  // Score s shows code number s; a score of 0, or one past the codes that a
  // quiz can carry, has no code and shows the blank field.
  char code[TextSize];
  if (found >= 1 && found <= ScoreCodeSlots) {
    CopyText(code, quiz.scoreCodes[found - 1]);
  } else {
    std::memcpy(code, NoScoreCode, sizeof NoScoreCode);
  }
  controls.writeHeaderText(IDC_SCORE_CODE, code);
}
