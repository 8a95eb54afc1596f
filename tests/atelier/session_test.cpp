// The editor session in scenarios, as an author meets it: open, type, paste
// and import, undo, save, try, build, print, the recovery copy, and every
// message on the way, through a host whose files live in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <tuple>

#include "cp1252.h"
#include "fake_host.h"
#include "file_names.h"
#include "gift_bank.h"
#include "player_image.h"
#include "print_html.h"
#include "quiz_program.h"
#include "session_text.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::string Player = ReadFile(LUDEX_PLAYER_IMAGE);

// Two questions, as Save writes them.
std::string Canonical(const std::string& source) {
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  ParseQuizSource(source, quiz, diagnostics);
  return WriteQuizSource(quiz, "");
}
const std::string Source = Canonical(
    "titre: Capitales\nquestion: France ?\nreponse: Paris\ncode: A\nquestion: Italie ?\nreponse: Rome\ncode: B\n");

std::string Many(int count, const std::string& text) {
  std::string source = "titre: Long\n";
  for (int k = 1; k <= count; ++k) source += "question: Q" + std::to_string(k) + text + "\nreponse: R\ncode: C\n";
  return source;
}

// The quiz a program holds, as Save would write it; empty when none.
std::string QuizOfProgram(const std::string& program) {
  BuiltQuiz built;
  std::string error;
  if (ReadBuiltQuiz(Bytes(program.begin(), program.end()), built, error) != BuiltQuizRead::Read) return "";
  return WriteQuizSource(built.quiz, "");
}

// A scene whose host holds the player, the given files, and Source at /docs/quiz.txt.
struct SceneCase {
  const char* name;
  std::function<void(Scene&)> act;
  std::vector<std::string> said;  // each prompt's text, from its start
  std::string status;
  std::string title;
  std::function<void(Scene&)> check;
};

void Play(const SceneCase& c, Flavour flavour = Flavour::Windows) {
  SCOPED_TRACE(c.name);
  Scene scene;
  scene.host.become(flavour);
  scene.host.player.assign(Player.begin(), Player.end());
  scene.host.put("/docs/quiz.txt", Source);
  scene.session().startUp("");
  c.act(scene);
  std::vector<std::string> said = scene.said();
  for (size_t k = 0; k < said.size() && k < c.said.size(); ++k) said[k] = said[k].substr(0, c.said[k].size());
  EXPECT_EQ(said, c.said);
  EXPECT_EQ(scene.session().status(), c.status);
  EXPECT_EQ(scene.session().windowTitle(), c.title);
  if (c.check) c.check(scene);
}

void Open(Scene& s, const std::string& path, std::vector<Reply> more = {}) {
  more.insert(more.begin(), Chose(path));
  s.plan(more);
  s.runCommand(Command::Open);
}

int Rows(Scene& s) { return s.session().document().questionCount(); }

const char* const Untitled = "Sans titre - Ludex Atelier";

TEST(SessionOpen, OpensAnyFileOrSaysWhyNot) {
  // clang-format off
  const SceneCase cases[] = {
      {"Source", [](Scene& s) { Open(s, "/docs/quiz.txt"); }, {"Ouvrir un quiz"}, "Ouvert : /docs/quiz.txt", "quiz.txt - Ludex Atelier",
       [](Scene& s) { EXPECT_EQ(s.seen[0].filters.at(0).patterns, "*.txt;*.exe;*.html;*.htm;*.csv;*.tsv;*.gift"); EXPECT_EQ(s.session().recentFiles(), std::vector<std::string>{"/docs/quiz.txt"}); }},
      {"FromTheCommandLine", [](Scene& s) { s.session().openPath("quiz.txt"); }, {}, "Ouvert : /docs/quiz.txt", "quiz.txt - Ludex Atelier", nullptr},
      {"NoText", [](Scene& s) { s.host.put("/docs/image.png", std::string("\x89PNG\0", 5)); Open(s, "/docs/image.png"); },
       {"Ouvrir un quiz", u8"« image.png » ne peut pas être ouvert : ce n'est pas un fichier texte, et une source de quiz s'écrit"}, "", Untitled, nullptr},
      {"Missing", [](Scene& s) { Open(s, "/docs/absent.txt"); }, {"Ouvrir un quiz", u8"« absent.txt » ne peut pas être ouvert : fichier introuvable."}, "", Untitled, nullptr},
      {"Huge", [](Scene& s) { s.host.put("/docs/film.txt", "x"); s.host.huge.insert("/docs/film.txt"); Open(s, "/docs/film.txt"); },
       {"Ouvrir un quiz", u8"« film.txt » ne peut pas être ouvert : il est bien trop grand pour être un quiz (plus de 32 Mo)."}, "", Untitled, nullptr},
      {"ErrorsItCannotKeep", [](Scene& s) { s.host.put("/docs/q.txt", "titre: T\nmot: x\n" + Many(1, "").substr(12)); Open(s, "/docs/q.txt"); },
       {"Ouvrir un quiz", u8"« q.txt » ne peut pas être ouvert : cette source de quiz a des erreurs que Ludex Atelier ne saurait pas garder. Corrigez-les d'abord dans un éditeur de texte (le Bloc-notes) :\n\nq.txt:2: erreur: mot-clé inconnu « mot »"},
       "", Untitled, nullptr},
      {"ManyErrorsTwelveShown", [](Scene& s) {
         std::string source = "titre: T\n";
         for (int k = 0; k < 14; ++k) source += "mot: x\n";
         s.host.put("/docs/q.txt", source + Many(1, "").substr(12));
         Open(s, "/docs/q.txt"); },
       {"Ouvrir un quiz", u8"« q.txt » ne peut pas être ouvert"}, "", Untitled,
       [](Scene& s) { const std::string text = s.seen.at(1).text, end = u8"q.txt:13: erreur: mot-clé inconnu « mot »\n… et 2 de plus.\n";
                      EXPECT_EQ(text.substr(text.size() - end.size()), end); }},
      {"TextErrorsKept", [](Scene& s) { s.host.put("/docs/q.txt", Many(1, std::string(300, 'q'))); Open(s, "/docs/q.txt"); },
       {"Ouvrir un quiz"}, u8"Ouvert avec des erreurs à corriger (voir Problèmes) : /docs/q.txt", "q.txt - Ludex Atelier",
       [](Scene& s) { EXPECT_TRUE(s.session().rowHasError(0)); EXPECT_EQ(s.session().cell(0, 0), "1 !"); }},
      {"TextErrorKeptAmongTooManyQuestions", [](Scene& s) { s.host.put("/docs/q.txt", "titre: T\nquestion: a | b\nreponse: R\ncode: C\n" + Many(300, "").substr(12)); Open(s, "/docs/q.txt", {Pressed(Answer::Yes)}); },
       {"Ouvrir un quiz", u8"« q.txt » a 301 questions"}, u8"Les 255 premières questions de /docs/q.txt : enregistrez-les sous un autre nom.", "Sans titre* - Ludex Atelier", nullptr},
      {"CharacterTheWriterWouldLose", [](Scene& s) { s.host.put("/docs/q.txt", Many(1, u8"\u2192")); Open(s, "/docs/q.txt"); },
       {"Ouvrir un quiz", u8"« q.txt » ne peut pas être ouvert : cette source de quiz a des erreurs"}, "", Untitled, nullptr},
      {"ErrorsAmongTooManyQuestions", [](Scene& s) { s.host.put("/docs/q.txt", "mot: x\n" + Many(300, "")); Open(s, "/docs/q.txt"); },
       {"Ouvrir un quiz", u8"« q.txt » ne peut pas être ouvert : cette source de quiz a des erreurs"}, "", Untitled, nullptr},
      {"FirstQuestionsTaken", [](Scene& s) { s.host.put("/docs/long.txt", Many(300, "")); Open(s, "/docs/long.txt", {Pressed(Answer::Yes)}); },
       {"Ouvrir un quiz", u8"« long.txt » a 300 questions, et un quiz Ludex en a au plus 255.\n\nOuvrir ses 255 premières questions ?"},
       u8"Les 255 premières questions de /docs/long.txt : enregistrez-les sous un autre nom.", "Sans titre* - Ludex Atelier",
       [](Scene& s) { EXPECT_EQ(Rows(s), 255); EXPECT_EQ(s.session().document().sourceText().rfind(u8"# Les 255 premières questions de long.txt.\n# Format", 0), 0u); }},
      {"FirstQuestionsRefused", [](Scene& s) { s.host.put("/docs/long.txt", Many(300, "")); Open(s, "/docs/long.txt", {Pressed(Answer::No)}); },
       {"Ouvrir un quiz", u8"« long.txt » a 300"}, "", Untitled, [](Scene& s) { EXPECT_EQ(Rows(s), 0); }},
      {"BuiltQuiz", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.plan({Chose("/docs/q.exe"), Pressed(Answer::Ok)}); s.runCommand(Command::Build);
                                   s.runCommand(Command::New); Open(s, "/docs/q.exe"); },
       {"Ouvrir un quiz"}, "Quiz repris de /docs/q.exe : enregistrez-le pour en garder la source.", "Sans titre* - Ludex Atelier",
       [](Scene& s) { EXPECT_EQ(s.session().document().sourceText(), "# Extrait de q.exe par Ludex Atelier.\n" + Source); }},
      {"ProgramWithoutAQuiz", [](Scene& s) { s.host.put("/docs/lecteur.exe", Player); Open(s, "/docs/lecteur.exe"); },
       {"Ouvrir un quiz", u8"« lecteur.exe » ne peut pas être ouvert. Ce programme n'est pas un questionnaire Ludex."}, "", Untitled, nullptr},
      {"DamagedProgram", [](Scene& s) { s.host.put("/docs/x.exe", "MZ??"); Open(s, "/docs/x.exe"); },
       {"Ouvrir un quiz", u8"« x.exe » ne peut pas être ouvert : ce programme est abîmé, ou ce n'est pas un questionnaire Ludex."}, "", Untitled, nullptr},
      {"RecentFilesReadUpTo64Kilobytes", [](Scene& s) {
         for (size_t size : {size_t(64 * 1024), size_t(64 * 1024 + 1)}) {
           s.host.put("/appdata/Ludex/fichiers-recents.txt", "/docs/quiz.txt\n" + std::string(size - 15, '#'));
           s.restart({});
           EXPECT_EQ(s.session().recentFiles().size(), size == 64 * 1024 ? 1u : 0u) << size;
         } }, {}, "", Untitled, nullptr},
      {"LongRecentPathCutInItsMiddle", [](Scene& s) {
         const std::string path = u8"/docs/" + std::string(30, 'a') + u8"/é" + std::string(50, 'z') + ".txt";
         s.host.put(path, Source);
         s.session().openPath(path); },
       {}, "Ouvert : /docs/" + std::string(30, 'a') + u8"/é" + std::string(50, 'z') + ".txt", u8"é" + std::string(50, 'z') + ".txt - Ludex Atelier",
       [](Scene& s) { EXPECT_EQ(s.session().recentFiles().at(0), u8"/docs/aaaaaaaaaaaaaa…" + std::string(45, 'z') + ".txt"); }},
      {"RecentFileGone", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.host.removeFile("/docs/quiz.txt"); s.plan({}); s.session().openRecent(1); s.session().openRecent(0); s.settle(); },
       {u8"« /docs/quiz.txt » n'existe plus."}, "Ouvert : /docs/quiz.txt", "quiz.txt - Ludex Atelier",
       [](Scene& s) { EXPECT_TRUE(s.session().recentFiles().empty()); EXPECT_EQ(s.host.bytes("/appdata/Ludex/fichiers-recents.txt"), WriteRecentFiles({})); }},
  };
  // clang-format on
  for (const SceneCase& c : cases) Play(c);
}

TEST(SessionSave, WritesTheSourceAfterWhatTheAuthorMustKnow) {
  // clang-format off
  const SceneCase cases[] = {
      {"HandWrittenSourceToldFirst", [](Scene& s) { s.host.put("/docs/m.txt", "titre: M\n"); Open(s, "/docs/m.txt"); s.typeInto(QuizField::Author, "A"); s.plan({Pressed(Answer::Cancel)}); s.runCommand(Command::Save); },
       {u8"Ce fichier a été écrit à la main."}, "", "m.txt* - Ludex Atelier",
       [](Scene& s) { EXPECT_EQ(s.host.bytes("/docs/m.txt"), "titre: M\n"); }},
      {"HandWrittenSourceSavedElsewhereUntold", [](Scene& s) { s.host.put("/docs/m.txt", "titre: M\n"); Open(s, "/docs/m.txt"); s.plan({Chose("/docs/n.txt")}); s.runCommand(Command::SaveAs); },
       {"Enregistrer la source du quiz"}, u8"Enregistré : /docs/n.txt", "n.txt - Ludex Atelier", [](Scene& s) { EXPECT_EQ(s.host.bytes("/docs/m.txt"), "titre: M\n"); }},
      {"SetAsideTextsKeptAsComments", [](Scene& s) {
         Open(s, "/docs/quiz.txt"); s.session().chooseAnswersPerQuestion(1); s.session().chooseRevealMode(2); s.typeInto(QuizField::Answer2, "Lutetia");
         s.typeInto(QuizField::Accepted2, "Lut\xC3\xA8" "ce"); s.typeInto(QuizField::Reveal2, "S"); s.session().select({1}); s.typeInto(QuizField::Answer2, "Roma");
         s.plan({Pressed(Answer::Ok)}); s.session().chooseAnswersPerQuestion(0); s.settle(); s.session().chooseRevealMode(0); s.runCommand(Command::Save); },
       {u8"2 questions ont une réponse 2. Avec une seule réponse par question, le lecteur ne s'en sert pas : elles seront mises de côté"},
       u8"Enregistré : /docs/quiz.txt", "quiz.txt - Ludex Atelier", [](Scene& s) {
         EXPECT_NE(s.host.bytes("/docs/quiz.txt").find(u8"code: A\n# Mis de côté par les réglages du quiz (le lecteur ne s'en sert pas) :\n"
                                                     u8"# réponse2: Lutetia\n# aussi: Lutèce\n# révélation2: S\n"), std::string::npos) << s.host.bytes("/docs/quiz.txt");
         EXPECT_EQ(s.session().fieldText(QuizField::Answer2), "Roma");  // still in the editor, greyed
         EXPECT_EQ(s.session().problems().at(1).text, u8"Avertissement : une question a des réponses acceptées pour la réponse 2, qui ne sert qu'avec "
                                                     u8"2 réponses par question : elle est mise de côté (grisée), en commentaire dans la source."); }},
      {"SecondAnswersKeptWhenTheAuthorCancels", [](Scene& s) {
         Open(s, "/docs/quiz.txt"); s.session().chooseAnswersPerQuestion(1); s.typeInto(QuizField::Answer2, "Lutetia");
         s.plan({Pressed(Answer::Cancel)}); s.session().chooseAnswersPerQuestion(0); s.settle(); },
       {u8"Une question a une réponse 2. Avec une seule réponse par question, le lecteur ne s'en sert pas : elle sera mise de côté"}, "", "quiz.txt* - Ludex Atelier",
       [](Scene& s) { EXPECT_EQ(s.session().answersChoice(), 1); EXPECT_TRUE(s.session().fieldEnabled(QuizField::Answer2));
                      s.plan({Pressed(Answer::Ok)}); s.session().chooseAnswersPerQuestion(0); s.settle();
                      EXPECT_FALSE(s.session().fieldEnabled(QuizField::Answer2)); EXPECT_EQ(s.session().fieldText(QuizField::Answer2), "Lutetia");
                      EXPECT_EQ(s.session().problems().at(0).text, u8"Avertissement : une question a une réponse 2, qui ne sert qu'avec 2 réponses par question : "
                                                                   u8"elle est mise de côté (grisée), en commentaire dans la source."); }},
      {"WriteFails", [](Scene& s) { s.host.unwritable.insert("/docs/ro.txt"); s.plan({Chose("/docs/ro.txt")}); s.runCommand(Command::SaveAs); },
       {"Enregistrer", u8"Le quiz n'a pas pu être enregistré dans « /docs/ro.txt » :\n\nAccès refusé. (5)"}, "", Untitled, nullptr},
      {"NewAfterSavingTheChanges", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.typeInto(QuizField::Title, "Autre"); s.plan({Pressed(Answer::Yes)}); s.runCommand(Command::New); },
       {u8"Enregistrer les modifications de « quiz.txt » ?"}, "", Untitled,
       [](Scene& s) { EXPECT_NE(s.host.bytes("/docs/quiz.txt").find("titre: Autre\n"), std::string::npos); }},
      {"NewGivingTheChangesUp", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.typeInto(QuizField::Title, "Autre"); s.plan({Pressed(Answer::No)}); s.runCommand(Command::New); },
       {"Enregistrer les modifications"}, "", Untitled, [](Scene& s) { EXPECT_EQ(s.host.bytes("/docs/quiz.txt"), Source); }},
      {"NewCancelled", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.typeInto(QuizField::Title, "Autre"); s.plan({Pressed(Answer::Cancel)}); s.runCommand(Command::New); },
       {"Enregistrer les modifications"}, "", "quiz.txt* - Ludex Atelier", nullptr},
      {"NewSavingAQuizNeverSavedCancelled", [](Scene& s) { s.typeInto(QuizField::Title, "T"); s.plan({Pressed(Answer::Yes), Pressed(Answer::Cancel)}); s.runCommand(Command::New); },
       {u8"Enregistrer les modifications de « Sans titre » ?", "Enregistrer la source du quiz"}, "", "Sans titre* - Ludex Atelier", nullptr},
      {"CloseWhenNothingChanged", [](Scene& s) { s.runCommand(Command::Close); }, {}, "", Untitled,
       [](Scene& s) { EXPECT_TRUE(s.session().closed()); s.runCommand(Command::Add); EXPECT_EQ(Rows(s), 0); }},
      {"NothingElseWhileAQuestionWaits", [](Scene& s) {
         s.session().runCommand(Command::Open);
         for (Command command : {Command::Add, Command::Open}) s.session().runCommand(command);
         s.session().paste("Question\nQ\n");
         s.session().openPath("/docs/quiz.txt");
         s.session().importPath("/docs/quiz.txt");
         EXPECT_TRUE(s.session().typeInto(QuizField::Title, "T").changed);
         s.settle(); }, {"Ouvrir un quiz"}, "", Untitled, [](Scene& s) { EXPECT_EQ(Rows(s), 0); }},
      {"CloseCancelled", [](Scene& s) { s.typeInto(QuizField::Title, "T"); s.plan({}); s.runCommand(Command::Close); }, {"Enregistrer les modifications"}, "",
       "Sans titre* - Ludex Atelier", [](Scene& s) { EXPECT_FALSE(s.session().closed()); }},
  };
  // clang-format on
  for (const SceneCase& c : cases) Play(c);
}

// A browser writing a file in place ends after the call: the quiz is saved
// only then; a write refused or failed keeps it unsaved, says why in French
// and offers a download.
TEST(SessionSave, SavedOnlyOnceTheWriteEnds) {
  const auto saving = [](Scene& s) {
    s.host.browser = true;
    Open(s, "/docs/quiz.txt");
    s.host.later.insert("/docs/quiz.txt");
    s.typeInto(QuizField::Author, "M. Durand");
    s.runCommand(Command::Save);
    EXPECT_EQ(s.session().status(), u8"Enregistrement de /docs/quiz.txt…");
    EXPECT_EQ(s.session().windowTitle(), "quiz.txt* - Ludex Atelier");
  };
  const auto refused = [](Scene& s, const char* error, Answer answer) {
    s.host.later.clear();  // the browser has let the file's place go
    s.replies.push_back(Pressed(answer));
    s.session().writeFailed("/docs/quiz.txt", error);
    s.settle();
  };
  // clang-format off
  const SceneCase cases[] = {
      {"Written", [&](Scene& s) { saving(s); s.session().writeFinished("/docs/autre.txt"); EXPECT_TRUE(s.session().document().modified());
                                   s.session().writeFinished("/docs/quiz.txt"); },
       {"Ouvrir"}, u8"Enregistré : /docs/quiz.txt", "quiz.txt - Ludex Atelier", nullptr},
      {"ChangedWhileWriting", [&](Scene& s) { saving(s); s.typeInto(QuizField::Title, "Autre"); s.session().writeFinished("/docs/quiz.txt"); },
       {"Ouvrir"}, u8"Enregistré : /docs/quiz.txt (sans les modifications faites depuis)", "quiz.txt* - Ludex Atelier",
       [](Scene& s) { s.runCommand(Command::Undo); EXPECT_FALSE(s.session().document().modified()); }},
      {"RefusedThenDownloaded", [&](Scene& s) { saving(s); refused(s, "NotAllowedError", Answer::Yes); },
       {"Ouvrir", u8"Le quiz n'a pas pu être enregistré dans « quiz.txt » : le navigateur n'a pas eu la permission d'écrire ce fichier. "
                  u8"Ses modifications restent à enregistrer.\n\nLe télécharger à la place ?"},
       u8"Proposé au téléchargement : /docs/quiz.txt", "quiz.txt - Ludex Atelier", nullptr},
      {"FailedAndKeptUnsaved", [&](Scene& s) { saving(s); s.session().writeFailed("/docs/autre.txt", "AbortError"); refused(s, "TypeError", Answer::No); },
       {"Ouvrir", u8"Le quiz n'a pas pu être enregistré dans « quiz.txt » : le navigateur n'a pas pu aller au bout."}, "", "quiz.txt* - Ludex Atelier",
       [](Scene& s) { EXPECT_TRUE(s.session().recoveryDue()); }},
      {"FailedWhileAnotherQuestionWaits", [&](Scene& s) { saving(s); s.session().runCommand(Command::Open); s.session().writeFailed("/docs/quiz.txt", "AbortError"); s.settle(); },
       {"Ouvrir", u8"Enregistrer les modifications de « quiz.txt » ?"}, u8"Le quiz n'a pas pu être enregistré dans « quiz.txt » : l'enregistrement a été annulé. Ses modifications restent à "
                           u8"enregistrer. Enregistrer (Ctrl+S) le propose au téléchargement.", "quiz.txt* - Ludex Atelier", nullptr},
      {"NewWaitsForTheWrite", [&](Scene& s) { saving(s); s.typeInto(QuizField::Author, "Mme Durand"); s.replies.push_back(Pressed(Answer::Yes)); s.runCommand(Command::New);
                                              EXPECT_EQ(s.session().questionCountText(), "2 questions"); s.session().writeFinished("/docs/quiz.txt"); },
       {"Ouvrir", u8"Enregistrer les modifications de « quiz.txt » ?"}, "", Untitled, nullptr},
      {"UnreadableFileSaidInFrench", [&](Scene& s) { s.session().readFailed("photo.txt", "NotReadableError"); s.settle(); },
       {u8"« photo.txt » ne peut pas être ouvert : le navigateur n'a pas pu lire le fichier (déplacé, ou ouvert par un autre programme)."}, "", Untitled, nullptr},
  };
  // clang-format on
  for (const SceneCase& c : cases) Play(c);
}

// Rows pasted or imported go where their header row, or else the quiz's
// settings, say; the preview first when anything may be misplaced.
TEST(SessionTable, PasteAndImportFollowTheirMapping) {
  const auto paste = [](Scene& s, const std::string& text, std::vector<Reply> replies) {
    s.plan(replies);
    s.session().paste(text);
    s.settle();
  };
  const auto row = [](Scene& s, int r) {
    std::string text;
    for (int column = 1; column < 5; ++column) text += s.session().cell(r, column) + "|";
    return text;
  };
  // clang-format off
  const SceneCase cases[] = {
      {"HeaderRowGoesInAtOnce", [&](Scene& s) { paste(s, u8"Code\tQuestion\tRéponse\r\nA\tFrance ?\tParis\r\n", {}); }, {},
       u8"1 question ajoutée, colonnes lues d'après la ligne d'en-tête : code, question, réponse. Ctrl+Z les retire.", "Sans titre* - Ludex Atelier",
       [&](Scene& s) { EXPECT_EQ(row(s, 0), "France ?|Paris||A|"); }},
      {"TheQuizOwnShapeGoesInAtOnce", [&](Scene& s) { s.session().chooseRevealMode(1); paste(s, "France ?\tParis\tLa Seine.\tA\r\nItalie ?\tRome\tLe Tibre.\tB\r\n", {}); }, {},
       u8"2 questions ajoutées, colonnes lues dans l'ordre du quiz : question, réponse, révélation, code. Ctrl+Z les retire.", "Sans titre* - Ludex Atelier",
       [&](Scene& s) { EXPECT_EQ(row(s, 1), "Italie ?|Rome|Le Tibre.|B|"); }},
      {"ThreeColumnsShownFirstAndSetRight", [&](Scene& s) {
         s.session().chooseRevealMode(1);
         s.plan({});
         s.session().paste("France ?\tParis\tA\r\n");
         ASSERT_NE(s.session().prompt(), nullptr);
         EXPECT_EQ(s.session().preview().chosen, (std::vector<int>{0, 1, 5}));
         s.session().chooseColumn(2, 7);  // code
         for (int choice : {-1, 9}) s.session().chooseColumn(1, choice);  // no such field: nothing changes
         EXPECT_EQ(s.session().preview().chosen, (std::vector<int>{0, 1, 7}));
         s.session().chooseColumn(1, 0);  // the question: the first column gives it up
         EXPECT_EQ(s.session().preview().chosen, (std::vector<int>{8, 0, 7}));
         s.session().chooseColumn(0, 0);
         s.session().chooseColumn(1, 1);
         EXPECT_EQ(s.session().preview().summary, u8"1 question à ajouter, colonnes lues comme vous les avez choisies : question, réponse, code. Choisissez le champ où va chaque colonne.");
         s.session().reply(Pressed(Answer::Ok));
         s.session().chooseColumn(0, 0); },
       {}, u8"1 question ajoutée, colonnes lues comme vous les avez choisies : question, réponse, code. Ctrl+Z les retire.", "Sans titre* - Ludex Atelier",
       [&](Scene& s) { EXPECT_EQ(row(s, 0), "France ?|Paris||A|"); }},
      {"PreviewCancelled", [&](Scene& s) { paste(s, "France ?\tParis\tA\r\n", {Pressed(Answer::Cancel)}); }, {u8"Questions à ajouter"}, "", Untitled,
       [](Scene& s) { EXPECT_EQ(Rows(s), 0); EXPECT_EQ(s.seen[0].kind, PromptKind::Preview); }},
      {"ImportAlwaysShownFirst", [&](Scene& s) {
         s.host.put("/docs/q.csv", "question;r\xC3\xA9ponse;code\r\nEspagne ?;Madrid;C\r\n" + std::string(300, 'x') + ";Oslo;D\r\n");
         s.plan({Chose("/docs/q.csv"), Pressed(Answer::Ok)}); s.runCommand(Command::ImportCsv); },
       {"Importer des questions (CSV, TSV, GIFT)", u8"Questions à ajouter"}, u8"2 questions ajoutées, colonnes lues d'après la ligne d'en-tête : question, réponse, code. Ctrl+Z les retire.",
       "Sans titre* - Ludex Atelier", [](Scene& s) { EXPECT_TRUE(s.session().rowHasError(1)); }},
      {"ImportTooLarge", [&](Scene& s) { s.host.put("/docs/q.csv", ""); s.host.huge.insert("/docs/q.csv"); s.plan({Chose("/docs/q.csv")}); s.runCommand(Command::ImportCsv); },
       {"Importer", u8"« q.csv » ne peut pas être importé : le fichier est trop grand pour un tableau de questions (plus de 1 Mo)."}, "", Untitled, nullptr},
      {"NothingToAdd", [&](Scene& s) { paste(s, "Question\tCode\r\n", {}); }, {u8"Aucune question à ajouter."}, "", Untitled, nullptr},
      {"EmptyClipboard", [&](Scene& s) { paste(s, "", {}); }, {}, u8"Le presse-papiers ne contient pas de texte à coller.", Untitled, nullptr},
  };
  // clang-format on
  for (const SceneCase& c : cases) Play(c);
}

// The preview as the front end shows it: every column with its chooser, every row with its problems.
TEST(SessionTable, PreviewShowsRowsChoicesAndProblems) {
  Scene s;
  s.session().startUp("");
  s.session().paste(u8"Q1 → ?\tR\r\nQ2\t\r\n");
  ASSERT_NE(s.session().prompt(), nullptr);
  const PreviewView& view = s.session().preview();
  EXPECT_EQ(view.summary,
            u8"2 questions à ajouter, colonnes lues dans l'ordre du quiz : question, réponse. 1 a une "
            u8"erreur (en rouge) : vous pourrez les corriger après l'ajout. Choisissez le champ où va "
            u8"chaque colonne.");
  EXPECT_EQ(view.columnTitles, (std::vector<std::string>{"Ligne", "Colonne 1", "Colonne 2", u8"Problèmes"}));
  EXPECT_EQ(view.choices.at(3), u8"réponse 2 (inutilisée)");
  EXPECT_TRUE(view.focusMapping);  // two columns where the quiz has four: the choosers first
  EXPECT_EQ(view.choices.back(), u8"laissée de côté");
  ASSERT_EQ(view.rows.size(), 2u);
  const std::vector<std::string> first = {"1", u8"Q1 → ?", "R",  // as pasted, the arrow too
                                          u8"Avertissement, « question » : caractère 4 : le caractère U+2192, que le "
                                          u8"lecteur ne peut pas afficher, est remplacé par « -> »"};
  EXPECT_EQ(view.rows[0].cells, first);
  EXPECT_EQ(view.rows[1].detail,
            u8"Ligne 2 : Erreur, « réponse » : « réponse: » est vide : le lecteur n'accepte jamais "
            u8"une réponse vide, la question ne pourrait pas être trouvée");
  EXPECT_TRUE(view.rows[1].hasError);
  EXPECT_EQ(std::tie(view.rowsToAdd, view.addButton), std::make_tuple(2, std::string("&Ajouter 2")));
  EXPECT_EQ(view.notes.rfind(u8"Le texte a 2 colonnes et pas de ligne d'en-tête", 0), 0u);  // the core's notes as sentences
  EXPECT_EQ(view.notes.substr(view.notes.size() - 9), "ligne 1.\n");
}

// Banks as teachers find them: a wide table and a GIFT bank open as new
// quizzes in the reveal mode their texts need; into a quiz of another mode,
// the preview offers the switch.
TEST(SessionTable, BanksComeInWithTheirRevealTexts) {
  std::string wide;
  for (int k = 1; k <= 3; ++k)
    wide += std::to_string(k) + ";Pays " + std::to_string(k) + " ?;R" + std::to_string(k) + ";x;y;z;" +
            std::string(60, 'a') + ";https://fr.wikipedia.org/wiki/" + std::to_string(k) + ";u;v;w;t\r\n";
  const std::string gift = "::T::Capitale du Japon ?{=Tokyo =Tokio####Depuis 1868.}\n\nVrai ?{T}\n";
  const auto revealMode = [](Scene& s) { return s.session().document().quiz().revealMode; };
  // clang-format off
  const SceneCase cases[] = {
      {"WideTableOpens", [&](Scene& s) { s.host.put("/docs/banque.csv", wide); Open(s, "/docs/banque.csv", {Pressed(Answer::Ok)}); },
       {"Ouvrir un quiz", u8"Questions à ajouter"},
       u8"3 questions ajoutées, colonnes lues d'après leurs cellules : laissée de côté, question, réponse, laissée de côté, laissée de côté, laissée de côté, révélation, laissée de côté, laissée de côté, laissée de côté, laissée de côté, laissée de côté, mode de révélation 2. Ctrl+Z les retire.",
       "Sans titre* - Ludex Atelier", [&](Scene& s) { EXPECT_EQ(s.session().cell(2, 3), std::string(60, 'a')); EXPECT_EQ(revealMode(s), 2); }},
      {"GiftBankOpens", [&](Scene& s) { s.host.put("/docs/moodle.txt", gift); Open(s, "/docs/moodle.txt", {Pressed(Answer::Ok)}); },
       {"Ouvrir un quiz", u8"Questions à ajouter"},
       u8"1 question ajoutée, colonnes lues d'après le fichier GIFT : laissée de côté, question, réponse, acceptées aussi, révélation, mode de révélation 2. Ctrl+Z les retire.",
       "Sans titre* - Ludex Atelier", [&](Scene& s) { EXPECT_EQ(s.session().document().quiz().questions.at(0).accepted1, "Tokio");
                                                     EXPECT_NE(s.session().preview().notes.find(u8"vrai ou faux"), std::string::npos); }},
      {"RevealSwitchOfferedToAQuizWithout", [&](Scene& s) {
         Open(s, "/docs/quiz.txt");
         s.host.put("/docs/b.gift", gift);
         s.plan({});
         s.session().importPath("/docs/b.gift");
         EXPECT_EQ(s.session().preview().revealOffer, u8"Passer le quiz en mode de révélation 2 : le texte de la colonne « révélation » s'affiche quand la question est trouvée");
         EXPECT_FALSE(s.session().preview().revealSwitched);
         EXPECT_NE(s.session().preview().notes.find(u8"le mode de révélation du quiz n'en montre aucune"), std::string::npos);
         s.session().switchRevealMode(true);
         EXPECT_EQ(s.session().preview().notes.find(u8"n'en montre aucune"), std::string::npos);
         s.session().reply(Pressed(Answer::Ok)); },
       {}, u8"1 question ajoutée, colonnes lues d'après le fichier GIFT : laissée de côté, question, réponse, acceptées aussi, révélation, mode de révélation 2. Ctrl+Z les retire.",
       "quiz.txt* - Ludex Atelier", [&](Scene& s) { EXPECT_EQ(revealMode(s), 2); EXPECT_EQ(Rows(s), 3); }},
  };
  // clang-format on
  for (const SceneCase& c : cases) Play(c);
}

TEST(SessionOutput, TriesBuildsAndPrints) {
  const auto opened = [](Scene& s) { Open(s, "/docs/quiz.txt"); };
  // clang-format off
  const SceneCase cases[] = {
      {"TryRefusedWhileAnErrorRemains", [&](Scene& s) { opened(s); s.typeInto(QuizField::Answer1, ""); s.plan({}); s.runCommand(Command::Try); },
       {u8"Le quiz ne peut pas être essayé : le quiz a encore des erreurs.\n\nErreur, question 1, « réponse » : « réponse: » est vide : le lecteur n'accepte jamais une réponse vide, la question ne pourrait pas être trouvée\n\nCorrigez-les"},
       "", "quiz.txt* - Ludex Atelier", [](Scene& s) { EXPECT_TRUE(s.host.tries.empty()); }},
      {"BlankQuizRefusedForItsTitle", [&](Scene& s) { s.runCommand(Command::Build); },
       {u8"Le programme ne peut pas être créé : le quiz a encore des erreurs.\n\nErreur, « titre » : le quiz n'a pas de titre"}, "", Untitled,
       [](Scene& s) { EXPECT_EQ(s.session().problemsSummary(), u8"1 erreur — la construction est impossible — et 1 avertissement"); }},
      {"TryThatDoesNotStart", [&](Scene& s) { opened(s); s.host.triesStart = false; s.runCommand(Command::Try); },
       {"Ouvrir", u8"Le quiz ne peut pas être essayé : le lecteur ne démarre pas (Le fichier n'est pas un programme. (193))."}, "", "quiz.txt - Ludex Atelier", nullptr},
      {"BuildOverItsSource", [&](Scene& s) { opened(s); s.plan({Chose("/docs/quiz.exe")}); s.runCommand(Command::Build); },
       {u8"Créer", u8"Le programme ne peut pas être créé : le programme quiz.exe garderait les réponses des élèves dans quiz.txt, sa source, et l'écraserait : donnez un autre nom à la source ou au programme."},
       "", "quiz.txt - Ludex Atelier", [](Scene& s) { EXPECT_FALSE(s.host.has("/docs/quiz.exe")); }},
      {"BuildWithoutAPlayer", [&](Scene& s) { opened(s); s.host.player.clear(); s.plan({Chose("/docs/C.exe")}); s.runCommand(Command::Build); },
       {u8"Créer", u8"Le programme n'a pas pu être créé :\n/docs/C.exe\n\nle lecteur contenu dans Ludex Atelier est abîmé : retéléchargez Ludex Atelier."}, "", "quiz.txt - Ludex Atelier", nullptr},
      {"PageBesideTheProgramJustBuilt", [&](Scene& s) { s.typeInto(QuizField::Title, u8"« Le Cid »"); s.runCommand(Command::Add); s.typeInto(QuizField::Question, "Q");
                                                         s.typeInto(QuizField::Answer1, "R"); s.plan({Chose("/cle/eleves/Cid.exe"), Pressed(Answer::Ok)}); s.runCommand(Command::Build);
                                                         s.plan({}); s.runCommand(Command::BuildPage); },
       {u8"Créer la page web du quiz"}, "", "Sans titre* - Ludex Atelier",
       [](Scene& s) { EXPECT_EQ(s.seen[0].path, "/cle/eleves/Le-Cid.html"); }},
      {"PrintNeverSavedNotOpened", [&](Scene& s) { s.host.pagesOpen = false; s.typeInto(QuizField::Title, "T"); s.runCommand(Command::Print); },
       {u8"Les pages à imprimer sont écrites : « T-feuille-eleve.html » et « T-corrige.html », dans /docs/Ludex.\n\nLe navigateur ne les a pas ouvertes"}, "", "Sans titre* - Ludex Atelier",
       [](Scene& s) { EXPECT_TRUE(s.host.has("/docs/Ludex/T-corrige.html")); }},
  };
  // clang-format on
  for (const SceneCase& c : cases) Play(c);
}

// Every kind of file opens, in a browser too.
TEST(SessionOutput, OpensPagesAndTables) {
  const auto browser = [](Scene& s) { s.host.browser = true; Open(s, "/docs/quiz.txt"); };
  const auto page = [](Scene& s, const std::string& quiz) {
    return "\xEF\xBB\xBF <!DOCTYPE html><p id=\"resource-104\">" + quiz + "</script>";
  };
  const std::string table = "question;r\xC3\xA9ponse;code\r\nEspagne ?;Madrid;C\r\n";
  // clang-format off
  const SceneCase cases[] = {
      {"QuizPage", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.plan({Chose("/docs/C.html")}); s.runCommand(Command::BuildPage); Open(s, "/docs/C.html"); },
       {"Ouvrir un quiz"}, "Quiz repris de /docs/C.html : enregistrez-le pour en garder la source.", "Sans titre* - Ludex Atelier",
       [](Scene& s) { EXPECT_EQ(s.session().document().sourceText(), "# Extrait de C.html par Ludex Atelier.\n" + Source); }},
      {"PageWithoutAQuiz", [&](Scene& s) { s.host.put("/docs/x.html", "<!DOCTYPE html><title>x</title>"); Open(s, "/docs/x.html"); },
       {"Ouvrir un quiz", u8"« x.html » ne peut pas être ouvert. Cette page n'est pas un quiz Ludex."}, "", Untitled, nullptr},
      {"PageDamaged", [&](Scene& s) { s.host.put("/docs/d.html", page(s, "QUJD")); Open(s, "/docs/d.html"); },
       {"Ouvrir un quiz", u8"Le quiz de « d.html » est abîmé et ne peut pas être lu :\n\nd.html: erreur: le quiz est abîmé : il ne se décompresse pas"}, "", Untitled, nullptr},
      {"TableOpensAsANewQuiz", [&](Scene& s) { browser(s); s.host.put("/docs/Q.CSV", table); Open(s, "/docs/Q.CSV", {Pressed(Answer::Ok)}); },
       {"Ouvrir un quiz", u8"Questions à ajouter"}, u8"1 question ajoutée, colonnes lues d'après la ligne d'en-tête : question, réponse, code. Ctrl+Z les retire.",
       "Sans titre* - Ludex Atelier", [](Scene& s) { EXPECT_EQ(Rows(s), 1); }},
      {"TableImportedByItsPath", [&](Scene& s) { browser(s); s.host.put("/docs/q.csv", table); s.plan({Pressed(Answer::Ok)}); s.session().importPath("/docs/q.csv"); s.settle(); },
       {u8"Questions à ajouter"}, u8"1 question ajoutée, colonnes lues d'après la ligne d'en-tête : question, réponse, code. Ctrl+Z les retire.",
       "quiz.txt* - Ludex Atelier", [](Scene& s) { EXPECT_EQ(Rows(s), 3); }},
  };
  // clang-format on
  for (const SceneCase& c : cases) Play(c);
}

// What the quiz becomes, on each host: on Windows written where the author
// chose, a try started, the printed pages written and opened; in a browser
// that keeps no folder, offered for download, the try and the pages shown
// beside the editor, no copy kept and a notice that says so.
class SessionOnEachHost : public testing::TestWithParam<Flavour> {};

TEST_P(SessionOnEachHost, WrittenOrOfferedStartedOrShown) {
  const bool browser = GetParam() == Flavour::Browser;
  const auto opened = [](Scene& s) { Open(s, "/docs/quiz.txt"); };
  const auto built = [](Scene& s, Command command, const char* path) {
    Open(s, "/docs/quiz.txt");
    s.plan({Chose(path), Pressed(Answer::Ok)});
    s.runCommand(command);
  };
  // clang-format off
  const struct { const char* name; std::function<void(Scene&)> act; std::vector<std::string> said; std::string status[2];
                 const char* title; std::function<void(Scene&, bool)> check; } cases[] = {
      {"Save", [](Scene& s) { s.typeInto(QuizField::Title, "Les fleuves"); s.plan({Chose("/docs/f.txt")}); s.runCommand(Command::Save); },
       {"Enregistrer la source du quiz"}, {u8"Enregistré : /docs/f.txt", u8"Proposé au téléchargement : /docs/f.txt"}, "f.txt - Ludex Atelier",
       [](Scene& s, bool b) { EXPECT_EQ(s.seen[0].path, "Les-fleuves-source.txt"); EXPECT_EQ(s.seen[0].folder, b ? "" : "/docs");
                              EXPECT_EQ(s.host.bytes("/docs/f.txt"), s.session().document().sourceText()); }},
      {"Try", [&](Scene& s) { opened(s); s.runCommand(Command::Try); }, {"Ouvrir"},
       {u8"Essai lancé : jouez le quiz comme vos élèves le joueront.", u8"Essai lancé : jouez le quiz comme vos élèves le joueront."}, "quiz.txt - Ludex Atelier",
       [](Scene& s, bool b) { ASSERT_EQ(s.host.tries.size() + s.host.shown.size(), 1u);
                              if (!b) EXPECT_EQ(QuizOfProgram(std::string(s.host.tries[0].begin(), s.host.tries[0].end())), Source);
                              if (b) EXPECT_EQ(s.host.shown[0].second.rfind("essai.html\n<title>Capitales</title>essai|", 0), 0u); }},
      {"Build", [&](Scene& s) { built(s, Command::Build, "/docs/C.exe"); }, {u8"Créer le programme du quiz", u8"Le programme du quiz est "},
       {u8"Programme créé : /docs/C.exe", u8"Programme proposé au téléchargement : /docs/C.exe"}, "quiz.txt - Ludex Atelier",
       [](Scene& s, bool) { EXPECT_EQ(s.seen[0].path, "/docs/Capitales.exe"); EXPECT_EQ(QuizOfProgram(s.host.bytes("/docs/C.exe")), Source);
                            EXPECT_NE(s.seen[1].text.find(u8"\n\nIl contient le lecteur et le quiz"), std::string::npos); }},
      {"Page", [&](Scene& s) { built(s, Command::BuildPage, "/docs/C.html"); }, {u8"Créer la page web du quiz", u8"La page web du quiz est "},
       {u8"Page web créée : /docs/C.html", u8"Page web proposée au téléchargement : /docs/C.html"}, "quiz.txt - Ludex Atelier",
       [](Scene& s, bool) { EXPECT_EQ(s.host.bytes("/docs/C.html").rfind("<title>Capitales</title>C|", 0), 0u); }},
      {"Scorm", [&](Scene& s) { built(s, Command::BuildScorm, "/docs/C.zip"); }, {u8"Exporter le quiz pour l'ENT (SCORM)", u8"Le paquet SCORM du quiz est "},
       {u8"Paquet SCORM créé : /docs/C.zip", u8"Paquet SCORM proposé au téléchargement : /docs/C.zip"}, "quiz.txt - Ludex Atelier",
       [](Scene& s, bool) { EXPECT_EQ(s.seen[0].path, "/docs/Capitales.zip"); EXPECT_EQ(s.host.bytes("/docs/C.zip").find("imsmanifest.xml"), 30u); }},
      {"ExportCsv", [&](Scene& s) { built(s, Command::ExportCsv, "/docs/q.csv"); }, {"Exporter les questions en CSV"},
       {u8"Questions exportées : /docs/q.csv", u8"Questions proposées au téléchargement : /docs/q.csv"}, "quiz.txt - Ludex Atelier",
       [](Scene& s, bool) { EXPECT_EQ(s.seen[0].path, "/docs/Capitales.csv"); EXPECT_EQ(s.host.bytes("/docs/q.csv"), WriteCsvTable(s.session().document().quiz())); }},
      {"ExportGift", [&](Scene& s) { built(s, Command::ExportGift, "/docs/q.gift"); },
       {"Exporter les questions pour Moodle (GIFT)", u8"Dans Moodle : Banque de questions, Importer, format GIFT."},
       {u8"Questions exportées pour Moodle : /docs/q.gift", u8"Questions pour Moodle proposées au téléchargement : /docs/q.gift"}, "quiz.txt - Ludex Atelier",
       [](Scene& s, bool) { EXPECT_EQ(s.seen[0].path, "/docs/Capitales.gift"); EXPECT_EQ(ReadGiftBank(s.host.bytes("/docs/q.gift")).rows.size(), 2u); }},
      {"Print", [&](Scene& s) { opened(s); s.runCommand(Command::Print); }, {"Ouvrir"},
       {u8"Pages à imprimer : « Capitales-feuille-eleve.html » et « Capitales-corrige.html », dans /docs. Le navigateur les ouvre ; sinon, double-cliquez-les.",
        u8"Pages à imprimer : « Capitales-feuille-eleve.html » et « Capitales-corrige.html », à côté du quiz : imprimez-les de là."}, "quiz.txt - Ludex Atelier",
       [](Scene& s, bool b) { EXPECT_EQ(s.host.opened.size() + s.host.shown.size(), 2u);
                              if (b) EXPECT_EQ(s.host.shown[0].second, "Capitales-feuille-eleve.html\n" + PupilSheetHtml(s.session().document().quiz()));
                              if (b) EXPECT_EQ(s.host.shown[1].first, ShownPage::AnswerKey);
                              if (!b) EXPECT_EQ(s.host.opened[1], "/docs/Capitales-corrige.html"); }},
      {"RecoveryCopy", [](Scene& s) { s.typeInto(QuizField::Title, "Brouillon"); s.session().writeRecoveryCopy(); }, {},
       {"", u8"La copie de secours n'a pas pu être écrite : Accès refusé. (5)"}, "Sans titre* - Ludex Atelier",
       [](Scene& s, bool b) { EXPECT_EQ(s.host.bytes("/appdata/Ludex/sans-titre-7.recup"), b ? "" : s.session().document().sourceText());
                              EXPECT_TRUE(b || s.host.held.count("/appdata/Ludex/sans-titre-7.verrou")); EXPECT_EQ(s.session().recoveryDue(), b);
                              EXPECT_EQ(s.session().notice().rfind(u8"Ce navigateur ne garde pas de copie de secours", 0), b ? 0u : std::string::npos); }},
  };
  // clang-format on
  for (const auto& c : cases) {
    const auto check = c.check;
    Play({c.name, c.act, c.said, c.status[browser], c.title, [check, browser](Scene& s) { check(s, browser); }}, GetParam());
  }
}

INSTANTIATE_TEST_SUITE_P(Hosts, SessionOnEachHost, testing::Values(Flavour::Windows, Flavour::Browser),
                         [](const testing::TestParamInfo<Flavour>& host) {
                           return host.param == Flavour::Browser ? "BrowserKeepingNoFolder" : "Windows";
                         });

TEST(SessionRecovery, CopiesWrittenRemovedAndOfferedAfterACrash) {
  const std::string unsaved = "/appdata/Ludex/sans-titre-7.recup";
  const auto crashed = [](Scene& s, const std::string& copy, const std::string& bytes, std::vector<Reply> replies) {
    s.host.put(copy, bytes);
    s.restart(replies);
  };
  // clang-format off
  const SceneCase cases[] = {
      {"NeverSavedTakenBack", [&](Scene& s) { crashed(s, unsaved, "titre: Brouillon\n", {Pressed(Answer::Yes)}); },
       {u8"Un quiz jamais enregistré a des modifications qui n'ont pas été enregistrées : Ludex Atelier s'est fermé sans les enregistrer."}, "", "Sans titre* - Ludex Atelier",
       [&](Scene& s) { EXPECT_EQ(s.session().fieldText(QuizField::Title), "Brouillon"); s.plan({Chose("/docs/b.txt")}); s.runCommand(Command::Save); EXPECT_FALSE(s.host.has(unsaved)); }},
      {"NeverSavedGivenUp", [&](Scene& s) { crashed(s, unsaved, "titre: Brouillon\n", {Pressed(Answer::No)}); }, {u8"Un quiz jamais enregistré"}, "", Untitled,
       [&](Scene& s) { EXPECT_FALSE(s.host.has(unsaved)); }},
      {"HeldByARunningEditor", [&](Scene& s) { s.host.heldByOthers.insert("/appdata/Ludex/sans-titre-7.verrou"); crashed(s, unsaved, "titre: B\n", {}); }, {}, "", Untitled,
       [&](Scene& s) { EXPECT_TRUE(s.host.has(unsaved)); s.typeInto(QuizField::Title, "Autre"); s.session().writeRecoveryCopy(); EXPECT_TRUE(s.host.has("/appdata/Ludex/sans-titre-7-2.recup")); }},
      {"BesideARecentFileOlderThanIt", [&](Scene& s) {
         Open(s, "/docs/quiz.txt"); s.host.put("/docs/quiz.txt.recup", "titre: Copie\n"); s.host.put("/docs/quiz.txt", Source); s.restart({Pressed(Answer::Yes)}); },
       {u8"Le quiz « quiz.txt » a des modifications", }, "", "quiz.txt* - Ludex Atelier",
       [](Scene& s) { EXPECT_NE(s.seen[0].text.find(u8"\n\nAttention : « quiz.txt » a été modifié après cette copie."), std::string::npos); }},
      {"SameAsItsSourceGoesSilently", [&](Scene& s) { Open(s, "/docs/quiz.txt"); crashed(s, "/docs/quiz.txt.recup", Source, {}); }, {}, "", Untitled,
       [](Scene& s) { EXPECT_FALSE(s.host.has("/docs/quiz.txt.recup")); }},
      {"OfferedWhenItsSourceOpens", [&](Scene& s) { s.host.put("/docs/quiz.txt.recup", "titre: Copie\n"); Open(s, "/docs/quiz.txt", {Pressed(Answer::Yes)}); },
       {"Ouvrir", u8"Le quiz « quiz.txt » a des modifications"}, "", "quiz.txt* - Ludex Atelier", [](Scene& s) { EXPECT_EQ(s.session().fieldText(QuizField::Title), "Copie"); }},
      {"Unreadable", [&](Scene& s) { crashed(s, unsaved, "titre: T\nmot: x\n" + Many(1, "").substr(12), {Pressed(Answer::Yes)}); }, {"Un quiz jamais", u8"La copie de secours ne peut pas être relue :\n\nsans-titre-7.recup:2: erreur: mot-clé inconnu"}, "", Untitled, nullptr},
      {"KeptWhileItsEditorWritesAgain", [&](Scene& s) { Open(s, "/docs/quiz.txt"); for (const char* title : {"X", "Y"}) { s.typeInto(QuizField::Title, title); s.session().writeRecoveryCopy(); } },
       {"Ouvrir"}, "", "quiz.txt* - Ludex Atelier",
       [](Scene& s) { EXPECT_TRUE(s.host.held.count("/docs/quiz.txt.verrou")); EXPECT_EQ(s.host.bytes("/docs/quiz.txt.recup"), s.session().document().sourceText()); }},
      {"SourceCopyHeldByAnotherEditor", [&](Scene& s) { Open(s, "/docs/quiz.txt"); s.host.heldByOthers.insert("/docs/quiz.txt.verrou"); s.typeInto(QuizField::Title, "X"); s.session().writeRecoveryCopy(); },
       {"Ouvrir"}, "Pas de copie de secours : un autre Ludex Atelier a ce quiz ouvert et garde la sienne.", "quiz.txt* - Ludex Atelier", nullptr},
      {"NoNameLeftForACopy", [&](Scene& s) {
         s.host.put("/appdata/Ludex/sans-titre-7.verrou", "");
         for (int k = 2; k <= 99; ++k) s.host.put("/appdata/Ludex/sans-titre-7-" + std::to_string(k) + ".recup", "");
         s.typeInto(QuizField::Title, "X");
         s.session().writeRecoveryCopy();
         EXPECT_TRUE(s.host.has("/appdata/Ludex/sans-titre-7-100.recup"));
         s.session().shutDown();
         s.editor = std::make_unique<EditorSession>(s.host, ConservativeMetrics());
         s.typeInto(QuizField::Title, "Y");
         s.session().writeRecoveryCopy(); },
       {}, "Pas de copie de secours : un autre Ludex Atelier a ce quiz ouvert et garde la sienne.", "Sans titre* - Ludex Atelier", nullptr},
      {"CopyNotWritten", [&](Scene& s) { s.host.unwritable.insert(unsaved); s.typeInto(QuizField::Title, "X"); s.session().writeRecoveryCopy(); }, {},
       u8"La copie de secours n'a pas pu être écrite : Accès refusé. (5)", "Sans titre* - Ludex Atelier", [](Scene& s) { EXPECT_TRUE(s.session().recoveryDue()); }},
  };
  // clang-format on
  for (const SceneCase& c : cases) Play(c);
}

TEST(SessionEditing, TypingUndoAndWhatIsShown) {
  // clang-format off
  const SceneCase cases[] = {
      {"CharacterReplacedAndUndone", [](Scene& s) { Open(s, "/docs/quiz.txt");
         const TypingResult typed = s.session().typeInto(QuizField::Answer1, u8"A→|B");
         EXPECT_TRUE(typed.changed); EXPECT_EQ(typed.text, "A->|B"); s.runCommand(Command::Undo); }, {"Ouvrir"},
       u8"Annulé : la saisie dans « réponse » (question 1).", "quiz.txt - Ludex Atelier",
       [](Scene& s) { EXPECT_EQ(s.session().fieldText(QuizField::Answer1), "Paris"); EXPECT_EQ(s.session().problems().size(), 0u); }},
      {"CounterPastTheLimit", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.typeInto(QuizField::Question, "Q");
         EXPECT_EQ(s.session().problemsSummary(), u8"Aucun problème"); s.typeInto(QuizField::Question, std::string(259, 'a'));
         EXPECT_FALSE(s.session().counterOverLimit(QuizField::Question)); s.typeInto(QuizField::Question, std::string(257, 'a') + "\nb"); }, {"Ouvrir"}, "",
       "quiz.txt* - Ludex Atelier", [](Scene& s) { EXPECT_EQ(s.session().counter(QuizField::Question), "260 / 259"); EXPECT_TRUE(s.session().counterOverLimit(QuizField::Question));
                                               EXPECT_EQ(s.session().cell(0, 1), std::string(257, 'a') + u8" ¶ b"); EXPECT_EQ(s.session().counter(QuizField::Answer2), u8"—");
                                               EXPECT_EQ(s.session().problemsSummary(), u8"1 erreur — la construction est impossible — et 1 avertissement");
                                               std::string many;  // 16 accepted answers, 17, then one too long
                                               for (int k = 0; k < 16; ++k) many += "r" + std::to_string(k) + "\n";
                                               for (const std::string& accepted : {many, many + "r16", "a\n" + std::string(260, 'x')}) {
                                                 s.typeInto(QuizField::Accepted1, accepted); EXPECT_EQ(s.session().counterOverLimit(QuizField::Accepted1), accepted != many); } }},
      {"UndoAndRedoSayWhat", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.typeInto(QuizField::Answer1, u8"Lutèce"); s.runCommand(Command::Undo); s.runCommand(Command::Redo); }, {"Ouvrir"},
       u8"Rétabli : la saisie dans « réponse » (question 1).", "quiz.txt* - Ludex Atelier", [](Scene& s) { EXPECT_EQ(s.session().fieldText(QuizField::Answer1), u8"Lutèce"); }},
      {"NewClearsTheStatus", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.runCommand(Command::New); }, {"Ouvrir"}, "", Untitled,
       [](Scene& s) { EXPECT_EQ(s.session().takeFocus().field, int(QuizField::Title)); EXPECT_EQ(s.session().questionCountText(), "0 question"); }},
      {"TypedInABrowserOneByOne", [](Scene& s) { s.typeInto(QuizField::Title, "Les fractions en 5"); s.typeInto(QuizField::Title, u8"Les fractions en 5\u1D49"); s.typeInto(QuizField::Title, "Les fractions en 5e !"); },
       {}, "", "Sans titre* - Ludex Atelier",
       [](Scene& s) { EXPECT_EQ(s.session().problems().size(), 2u); s.runCommand(Command::Undo); EXPECT_EQ(s.session().fieldText(QuizField::Title), "Les fractions en 5e");
                       s.runCommand(Command::Undo); EXPECT_EQ(s.session().fieldText(QuizField::Title), "Les fractions en 5"); }},
      {"RowsAddedMovedAndRemoved", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.runCommand(Command::Add); EXPECT_EQ(s.session().shownRow(), 1);
         s.typeInto(QuizField::Question, "Espagne ?"); s.runCommand(Command::MoveUp);
         s.runCommand(Command::Duplicate); s.session().select({1, 2}); s.runCommand(Command::Remove); }, {"Ouvrir"}, "", "quiz.txt* - Ludex Atelier",
       [](Scene& s) { EXPECT_EQ(s.session().cell(0, 1) + "|" + s.session().cell(1, 1), "Espagne ?|Italie ?"); EXPECT_EQ(s.session().rowLabel(), "Question 2 sur 2"); }},
      {"ProblemLeadsToItsField", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.session().select({0}); s.typeInto(QuizField::Code, "a|\nb"); s.session().select({}); s.session().goToProblem(0); }, {"Ouvrir"},
       "", "quiz.txt* - Ludex Atelier", [](Scene& s) { EXPECT_EQ(s.session().shownRow(), 0); EXPECT_EQ(s.session().takeFocus().field, int(QuizField::Code)); }},
      {"OddRevealModeKept", [](Scene& s) { s.host.put("/docs/m.txt", Canonical("titre: M\nmode revelation: 7\n")); Open(s, "/docs/m.txt");
         s.session().chooseRevealMode(4); s.session().goToProblem(-1); s.session().goToProblem(2); }, {"Ouvrir"}, "Ouvert : /docs/m.txt", "m.txt - Ludex Atelier",
       [](Scene& s) { EXPECT_EQ(s.session().revealModeChoices(), (std::vector<std::string>{u8"0 : aucun texte révélé", u8"2 : le texte d'une question trouvée",
                          "3 : comme 2, avec un second texte", u8"4 : tous les textes, une fois tout trouvé", "7 : sans effet, comme 0"}));
                      EXPECT_EQ(s.session().revealModeChoice(), 4); EXPECT_EQ(s.session().problems().size(), 2u); EXPECT_EQ(s.session().takeFocus().field, -1); }},
      {"SettingsShown", [](Scene& s) { s.session().chooseRevealMode(1); s.session().chooseRevealMode(0); EXPECT_EQ(s.session().revealModeChoice(), 0);
         s.session().chooseAnswersPerQuestion(1); s.session().chooseRevealMode(2); s.session().setColour(1, 2, 3); }, {}, "", "Sans titre* - Ludex Atelier",
       [](Scene& s) { EXPECT_EQ(s.session().answersChoice(), 1); EXPECT_EQ(s.session().revealModeChoices().at(s.session().revealModeChoice()), "3 : comme 2, avec un second texte");
                      EXPECT_EQ(s.session().document().quiz().blue, 3); EXPECT_FALSE(s.session().fieldEnabled(QuizField::Reveal2)); s.runCommand(Command::Add);
                      EXPECT_TRUE(s.session().fieldEnabled(QuizField::Reveal2)); EXPECT_EQ(s.session().cell(0, 2), "  |  "); }},
      {"SuggestionTakenThenUndone", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.typeInto(QuizField::Answer1, u8"L’Égypte");
         EXPECT_EQ(s.session().suggestions(QuizField::Answer1), (std::vector<std::string>{u8"Égypte", u8"L'Égypte", u8"égypte", "Egypte"}));
         s.session().takeSuggestion(QuizField::Answer1, 2); s.session().takeSuggestion(QuizField::Answer1, 0);
         EXPECT_EQ(s.session().fieldText(QuizField::Accepted1), u8"égypte\r\nÉgypte"); EXPECT_EQ(s.session().counter(QuizField::Accepted1), "2 / 16");
         EXPECT_EQ(s.session().suggestions(QuizField::Answer1), (std::vector<std::string>{u8"L'Égypte", "Egypte"})); EXPECT_TRUE(s.session().suggestions(QuizField::Answer2).empty());
         EXPECT_EQ(s.session().takeFocus().field, -1); s.session().takeSuggestion(QuizField::Answer1, 5); }, {"Ouvrir"},
       u8"Réponse acceptée ajoutée : « Égypte ».", "quiz.txt* - Ludex Atelier", [](Scene& s) { EXPECT_EQ(s.session().cell(0, 2), u8"L’Égypte (+2)");
         s.session().takeSuggestion(QuizField::Answer1, 1); s.session().takeSuggestion(QuizField::Answer1, 0);
         EXPECT_EQ(s.session().takeFocus().field, int(QuizField::Accepted1)); s.runCommand(Command::Undo); s.runCommand(Command::Undo); s.runCommand(Command::Undo);
         EXPECT_EQ(s.session().fieldText(QuizField::Accepted1), u8"égypte"); }},
  };
  // clang-format on
  for (const SceneCase& c : cases) Play(c);
}

// The status says what the last action did while it is true: a change of the
// quiz, another command or another selection takes it away.
TEST(SessionEditing, StatusFadesWhenItsStateChanges) {
  // clang-format off
  const SceneCase cases[] = {
      {"RedoGoneOnceQuestionsAreAdded", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.runCommand(Command::Add); s.runCommand(Command::Undo); s.runCommand(Command::Redo);
                                                       EXPECT_EQ(s.session().status(), u8"Rétabli : l'ajout d'une question."); s.session().paste("Question\tCode\r\nQ\tC\r\n"); },
       {"Ouvrir"}, u8"1 question ajoutée, colonnes lues d'après la ligne d'en-tête : question, code. Ctrl+Z les retire.", "quiz.txt* - Ludex Atelier",
       [](Scene& s) { s.runCommand(Command::Undo); EXPECT_EQ(s.session().status(), u8"Annulé : l'ajout d'une question."); }},
      {"ClipboardGoneWithTheSelection", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.session().paste(""); s.session().select({0}); EXPECT_NE(s.session().status(), "");
                                                        s.session().select({1}); }, {"Ouvrir"}, "", "quiz.txt - Ludex Atelier", nullptr},
      {"SavedGoneOnTyping", [](Scene& s) { Open(s, "/docs/quiz.txt"); s.typeInto(QuizField::Author, "A"); s.runCommand(Command::Save); EXPECT_EQ(s.session().status(), u8"Enregistré : /docs/quiz.txt");
                                           s.typeInto(QuizField::Author, "AB"); }, {"Ouvrir"}, "", "quiz.txt* - Ludex Atelier", nullptr},
  };
  // clang-format on
  for (const SceneCase& c : cases) Play(c);
}

// Which commands the menu and the buttons offer, for the selection and the quiz as they are.
TEST(SessionEditing, CommandsAvailable) {
  // U(ndo) R(edo) A(dd) D(uplicate) X (remove) ^ (up) v (down) E(xport)
  // clang-format off
  const struct { int rows; RowSet selection; bool undone; const char* available; } cases[] = {
      {2, {}, false, "U.A....E"}, {2, {0}, false, "U.ADX.vE"}, {2, {1}, false, "U.ADX^.E"}, {2, {0, 1}, false, "U.ADX..E"},
      {MaxQuestions, {1}, false, "U...X^vE"}, {2, {}, true, ".RA....."},
  };
  // clang-format on
  const Command commands[] = {Command::Undo,   Command::Redo,   Command::Add,      Command::Duplicate,
                              Command::Remove, Command::MoveUp, Command::MoveDown, Command::ExportCsv};
  for (const auto& c : cases) {
    Scene s;
    std::string rows = "Question\tCode\r\n";
    for (int k = 0; k < c.rows; ++k) rows += "Q\tC\r\n";
    s.session().paste(rows);
    s.session().select(c.selection);
    if (c.undone) s.runCommand(Command::Undo);
    std::string available;
    const std::string letters = "URADX^vE";
    for (size_t k = 0; k < std::size(commands); ++k) available += s.session().available(commands[k]) ? letters[k] : '.';
    EXPECT_EQ(available, c.available) << c.rows << c.undone;
  }
}

}  // namespace
