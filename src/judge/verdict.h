// The verdict words and the choice of one from an expected and a typed text.
#pragma once

extern const char VerdictBravo[];     // "BRAVO"
extern const char VerdictWrong[];     // "FAUX"
extern const char VerdictAnagram[];   // "Anagramme"
extern const char VerdictAlmost[];    // "Quasiment"
extern const char VerdictNearly[];    // "Presque"
extern const char VerdictTooLong[];   // "Trop long"
extern const char VerdictTooShort[];  // "Trop court"
extern const char VerdictNotFar[];    // "pas loin"
extern const char VerdictSomeIdea[];  // "y a de l'idée"
extern const char VerdictEmpty[];     // "?"

// expected: the question's expected answer as stored; typed: the field's text
// as read (at most 259 bytes are looked at of either). Returns one of the
// words above.
const char* ChooseVerdict(const char* expected, const char* typed);

struct AcceptedAnswers;

// The best verdict of typed over the expected answer and the field's
// accepted answers (null: none), best first: "BRAVO", "Anagramme",
// "Quasiment", "Presque", "Trop long", "Trop court", "pas loin",
// "y a de l'idée", "FAUX"; "?" for nothing typed. Without accepted answers,
// ChooseVerdict's word.
const char* ChooseBestVerdict(const char* expected, const AcceptedAnswers* accepted, const char* typed);
