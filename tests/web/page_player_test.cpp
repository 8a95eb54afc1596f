// The web page's player natively: loading as the program loads, verdicts,
// reveal texts, score and F1 through the program's own code, the answers
// file both ways.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "cp1252.h"
#include "loaded_page.h"
#include "support/accepted_answer_cases.h"
#include "support/fill_restore_cases.h"

namespace {

const std::string Capitals =
    "titre: Capitales\nmode revelation: 2\n"
    "question: France ?\nreponse: Paris\nrevelation: Seine\ncode: UN\n"
    "question: Italie ?\nreponse: Rome\nrevelation: Tibre\ncode: DEUX\n"
    "question: Espagne ?\nreponse: Madrid\nrevelation: Manzanares\ncode: TROIS\n"
    "question: Grece ?\nreponse: Athenes\nrevelation: Acropole\ncode: QUATRE\n";
const std::string Elements =
    "titre: Elements\nreponses par question: 2\nmode revelation: 4\n"
    "question: H ?\nreponse: H\nreponse2: 1\nrevelation: Bravo,\ncode: A\n"
    "question: He ?\nreponse: He\nreponse2: 2\nrevelation: tout est juste\ncode: B\n";

void Restore(PagePlayer& player, const std::string& file) {
  player.restore(reinterpret_cast<const uint8_t*>(file.data()), file.size());
}

TEST(PagePlayer, LoadsAsTheProgramLoads) {
  const QuizPayloads good = Streams(Capitals);
  const Bytes broken = {1, 2, 3}, empty;
  const struct {
    const char* name;
    Bytes quiz;
    const Bytes* codes;  // null: no codes resource
    QuizLoadResult result;
    const char* title;
    int rows;
    const char* firstCode;
  } cases[] = {
      {"Whole", good.quiz, &good.codes, QuizLoadResult::Loaded, "Capitales", 4, "UN"},
      {"NoQuizTestQuiz", {}, &good.codes, QuizLoadResult::Loaded, "Nom du ludex", 30, ""},
      {"QuizUndecodable", broken, &good.codes, QuizLoadResult::QuizUndecodable, "nom du ludex", 2, ""},
      {"CodesMissing", good.quiz, nullptr, QuizLoadResult::CodesMissing, "Capitales", 4, ""},
      {"CodesEmpty", good.quiz, &empty, QuizLoadResult::CodesEmpty, "Capitales", 4, ""},
      {"CodesUndecodable", good.quiz, &broken, QuizLoadResult::CodesUndecodable, "Capitales", 4, ""},
  };
  for (const auto& c : cases) {
    PagePlayer player;
    // An empty resource is there all the same: a pointer of its own, no bytes.
    const uint8_t* codes = c.codes == nullptr ? nullptr : c.codes->empty() ? broken.data() : c.codes->data();
    EXPECT_EQ(player.load(c.quiz.data(), c.quiz.size(), codes, c.codes ? c.codes->size() : 0), c.result) << c.name;
    EXPECT_STREQ(player.quiz().title, c.title) << c.name;
    EXPECT_EQ(player.rowCount(), c.rows) << c.name;
    EXPECT_STREQ(player.quiz().scoreCodes[0], c.firstCode) << c.name;
    EXPECT_EQ(player.text(IDC_SCORE), " 0 / " + std::to_string(c.rows)) << c.name;
    EXPECT_EQ(player.text(5001), "?") << c.name;
  }
}

// Each step types into a field and reads the label, the four reveal labels and the header.
TEST(PagePlayer, VerdictsRevealsAndScoreOfOneAnswerRows) {
  PagePlayer player;
  Load(player, Capitals);
  const struct {
    int field;
    const char* typed;
    const char* word;
    const char* reveals;  // the four reveal labels, '/' after each
    const char* score;
    const char* code;
  } steps[] = {
      {4001, "paris", "BRAVO", "Seine////", " 1 / 4", "UN"},
      {4002, "Rmoe", "Anagramme", "Seine////", " 1 / 4", "UN"},
      {4002, "rome", "BRAVO", "Seine/Tibre///", " 2 / 4", "DEUX"},
      {4003, "Madri", "Quasiment", "Seine/Tibre///", " 2 / 4", "DEUX"},
      {4003, " madrid ", "BRAVO", "Seine/Tibre///", " 3 / 4", "TROIS"},  // trimmed for the verdict only
      {4001, "Lyon", "FAUX", "/Tibre///", " 2 / 4", "DEUX"},
      {4004, "athenes", "BRAVO", "/Tibre//Acropole/", " 3 / 4", "TROIS"},
      {4001, "", "?", "/Tibre//Acropole/", " 3 / 4", "TROIS"},
      {4002, "x", "FAUX", "///Acropole/", " 2 / 4", "DEUX"},
      {4004, "nothing", "FAUX", "////", " 1 / 4", "UN"},
      {4003, "x", "FAUX", "////", " 0 / 4", "      "},
  };
  for (const auto& s : steps) {
    Type(player, s.field, s.typed);
    std::string reveals;
    for (int id = 8001; id <= 8004; ++id) reveals += player.text(id) + "/";
    EXPECT_EQ(player.text(s.field + 1000), s.word) << s.typed;
    EXPECT_EQ(reveals, s.reveals) << s.typed;
    EXPECT_EQ(player.text(IDC_SCORE), s.score) << s.typed;
    EXPECT_EQ(player.text(IDC_SCORE_CODE), s.code) << s.typed;
  }
  EXPECT_EQ(player.text(4009), "");  // no such field
  Type(player, 4009, "Paris");
  EXPECT_EQ(player.text(IDC_SCORE), " 0 / 4");
}

// The page judges accepted answers as the program does: every case is a
// question of one quiz whose source gives them as "aussi" lines.
TEST(PagePlayer, AcceptedAnswersAsTheProgram) {
  std::string source = "titre: Accept\xC3\xA9" "es\n";
  for (const AcceptedAnswerCase& c : AcceptedAnswerCases()) {
    source += "question: " + std::string(c.name) + "\nr\xC3\xA9ponse: " + Utf8FromCp1252(c.expected) + "\ncode: C\n";
    for (const std::string& answer : c.accepted) source += "aussi: " + Utf8FromCp1252(answer) + "\n";
  }
  PagePlayer player;
  ASSERT_EQ(Load(player, source), QuizLoadResult::Loaded);
  int field = IDC_ANSWER_BASE;
  for (const AcceptedAnswerCase& c : AcceptedAnswerCases()) {
    Type(player, ++field, c.typed);
    EXPECT_EQ(player.text(FeedbackLabelId(field)), c.verdict) << c.name;
  }
}

TEST(PagePlayer, TwoAnswersRevealEverythingAtOnce) {
  PagePlayer player;
  Load(player, Elements);
  ASSERT_EQ(player.fieldsPerRow(), 2);
  const struct {
    int field;
    const char* typed;
    const char* reveals;
    const char* score;
  } steps[] = {
      {4001, "h", "//", " 0 / 2"},
      {4002, "1", "//", " 1 / 2"},
      {4003, "he", "//", " 1 / 2"},
      {4004, "2", "Bravo,/tout est juste/", " 2 / 2"},
      {4003, "hE", "Bravo,/tout est juste/", " 2 / 2"},  // already revealed
      {4004, "3", "Bravo,//", " 1 / 2"},
  };
  for (const auto& s : steps) {
    Type(player, s.field, s.typed);
    EXPECT_EQ(player.text(8001) + "/" + player.text(8002) + "/", s.reveals) << s.field << s.typed;
    EXPECT_EQ(player.text(IDC_SCORE), s.score) << s.field << s.typed;
  }
  EXPECT_EQ(player.text(IDC_SCORE_CODE), "A");
}

// The page's side of the table that the program's question panel also plays.
class PageUnderTest final : public PlayerUnderTest {
 public:
  void start(const CaseQuiz& quiz, const std::string& answersFile) override {
    const char* const rows[][4] = {{"Paris", "France", "Seine"}, {"Rome", "Italie", "Tibre"},
                                   {"Berlin", "Allemagne", "Spree"}, {"Paris", "France", "Louvre"}};
    std::string source = "titre: T\nreponses par question: " + std::to_string(quiz.answers) +
                         "\nmode revelation: " + std::to_string(quiz.revealMode) + "\n";
    for (int q = 0; q < quiz.questions; ++q) {
      source += std::string("question: Q\nreponse: ") + rows[q][0] + "\n";
      if (quiz.answers == 2) source += std::string("reponse2: ") + rows[q][1] + "\n";
      if (quiz.revealMode >= 2) source += std::string("revelation: ") + rows[q][2] + "\n";
      if (quiz.revealMode == 3) source += "revelation2: autre\n";
      source += "code: CODE" + std::to_string(q + 1) + "\n";
    }
    player_ = std::make_unique<PagePlayer>();
    Load(*player_, source);
    Restore(*player_, answersFile);
  }
  void type(int id, const std::string& text, bool judged) override {
    player_->setField(id, text);
    if (judged) player_->judge(id);
  }
  void pressF1(int id) override { player_->fillUnsolved(id); }
  void resume(const std::string& answersFile) override { Restore(*player_, answersFile); }
  std::string text(int id) override { return player_->text(id); }

 private:
  std::unique_ptr<PagePlayer> player_;
};

TEST(PagePlayer, FillAndRestoreAsTheProgram) {
  PageUnderTest page;
  RunFillRestoreCases(page);
}

TEST(PagePlayer, AnswersFileBothWays) {
  const struct {
    const char* name;
    std::string source;
    std::string file;
    std::string fields;  // the fields after restoring, '/' after each
    std::string saved;
  } cases[] = {
      {"Lines", Capitals, "Paris\r\n\r\n42\r\n", "Paris//42//", "Paris\r\n\r\n42\r\n\r\n"},
      {"LoneLfAndJunkAfterCr", Capitals, "a\nb\r\nabc\rx\ndef", "a\nb/abc/def//", "a\nb\r\nabc\r\ndef\r\n\r\n"},
      {"LongLineCut", Capitals, std::string(300, 'x'), std::string(271, 'x') + "////",
       std::string(259, 'x') + "\r\n\r\n\r\n\r\n"},
      {"TwoAnswers", Elements, "H\r\n1\r\nHe\r\n2", "H/1/He/2/", "H\r\n1\r\nHe\r\n2\r\n"},
      {"Hidden", "questions visibles: non\n" + Capitals, "Paris\r\n", "", "\r\n\r\n\r\n\r\n"},
  };
  for (const auto& c : cases) {
    PagePlayer player;
    Load(player, c.source);
    Restore(player, c.file);
    std::string fields;
    for (int id = 4001; player.isControl(id); ++id) fields += player.text(id) + "/";
    EXPECT_EQ(fields, c.fields) << c.name;
    EXPECT_EQ(player.answersFile(), c.saved) << c.name;
  }
}

const AnswersOfferFacts& Offer(PagePlayer& player, const std::string& file, long long lackingAt = -1) {
  return player.offer("r.txt", reinterpret_cast<const uint8_t*>(file.data()), file.size(), lackingAt);
}

// Offered to a quiz of four answer fields holding Paris and Rome: what fits
// (any line end) says how many answers it changes; what this quiz's player
// could not have written is refused at its first fault, in one sentence.
TEST(PagePlayer, OfferedFilesFitOrAreRefusedSayingWhy) {
  PagePlayer player;
  Load(player, Capitals);
  Restore(player, "Paris\r\nRome\r\n");
  const std::string x259(259, 'x');
  const struct {
    std::string file;
    long long lackingAt;
    AnswersFileRefusal refusal;
    int changes;
    const char* message;  // a part of it
  } cases[] = {
      {"Paris\r\nRome\r\n", -1, AnswersFileRefusal::None, 0, "\xAB r.txt \xBB contient d\xE9j\xE0 vos r\xE9ponses"},
      {"Paris\nLyon\nMadrid\n", -1, AnswersFileRefusal::None, 2, "\xAB r.txt \xBB remplacera 2 de vos 4 r\xE9ponses."},
      {"a\rb\r\n\r" + x259, -1, AnswersFileRefusal::None, 3, "remplacera 3 de vos 4"},
      {"a\r\nb\r\nc\r\nd\r\n\r\n\n", -1, AnswersFileRefusal::None, 4, "remplacera 4"},
      {"\r\n\r\n\r\n\r\nx\r\n", -1, AnswersFileRefusal::TooManyAnswers, 0,
       "de ce quiz : sa 5e ligne est remplie, ce quiz n'en a que 4. Vos r\xE9ponses n'ont pas chang\xE9."},
      {std::string(200000, 'a'), -1, AnswersFileRefusal::LineTooLong, 0,
       "sa 1re ligne a 200000 caract\xE8res, une r\xE9ponse en garde au plus 259."},
      {"Paris\r\n" + x259 + "x", -1, AnswersFileRefusal::LineTooLong, 0, "sa 2e ligne a 260 caract\xE8res"},
      {std::string("a\0b", 3), -1, AnswersFileRefusal::NotText, 0, "sa 1re ligne contient autre chose que du texte."},
      {"\x89PNG\r\n\x1a\n", -1, AnswersFileRefusal::NotText, 0, "sa 2e ligne contient autre chose"},
      {"Paris\r\n?x\r\n", 7, AnswersFileRefusal::LacksCharacter, 0, "sa 2e ligne contient un caract\xE8re"},
      {"Ath\xE8nes\r\nx?\r\n", 10, AnswersFileRefusal::LacksCharacter, 0,
       "\xAB r.txt \xBB ne peut pas \xEAtre repris : sa 2e ligne contient un caract\xE8re que ce quiz ne sait pas \xE9" "crire"},
      {"", -1, AnswersFileRefusal::Empty, 0, "\xAB r.txt \xBB est vide : ce n'est pas un fichier de r\xE9ponses."},
      {std::string(MaxAnswersFileSize + 1, 'a'), -1, AnswersFileRefusal::TooLarge, 0, "bien trop gros"},
  };
  for (const auto& c : cases) {
    const AnswersOfferFacts& facts = Offer(player, c.file, c.lackingAt);
    EXPECT_EQ(facts.refusal, c.refusal) << c.file.substr(0, 20);
    EXPECT_EQ(facts.changes, c.changes) << c.file.substr(0, 20);
    EXPECT_NE(OfferMessage(facts).find(c.message), std::string::npos) << OfferMessage(facts);
    EXPECT_EQ(player.resumeOffer(), c.changes > 0) << c.file.substr(0, 20);
    EXPECT_EQ(player.undoResume(), c.changes > 0) << c.file.substr(0, 20);
    EXPECT_EQ(player.answersFile(), "Paris\r\nRome\r\n\r\n\r\n");  // refused or undone: nothing changed
  }
}

TEST(PagePlayer, ResumedFileJudgedThenUndone) {
  PagePlayer player;
  Load(player, Capitals);
  Restore(player, "Paris\r\nRmoe\r\n");
  Offer(player, "Lyon\nRome\n\nathenes");
  ASSERT_TRUE(player.resumeOffer());
  EXPECT_EQ(ResumedMessage(player.offerFacts()), "R\xE9ponses reprises de \xAB r.txt \xBB : 3 r\xE9ponses ont chang\xE9.");
  const auto labels = [&player] { return player.text(5001) + "/" + player.text(5002) + "/" + player.text(5004); };
  EXPECT_EQ(labels(), "FAUX/BRAVO/BRAVO");
  EXPECT_EQ(player.text(IDC_SCORE_CODE), "DEUX");
  EXPECT_FALSE(player.resumeOffer());  // taken once
  ASSERT_TRUE(player.undoResume());
  EXPECT_EQ(UndoneMessage(player.offerFacts()), "Vos r\xE9ponses d'avant \xAB r.txt \xBB sont revenues.");
  EXPECT_EQ(labels(), "BRAVO/Anagramme/?");
  EXPECT_EQ(player.answersFile(), "Paris\r\nRmoe\r\n\r\n\r\n");
  EXPECT_FALSE(player.undoResume());
}

// Two tabs of one page and the browser's storage between them: each keeps
// the fields it changed and takes the others', judged; none erases a field
// typed in the other.
TEST(PagePlayer, TabsShareTheAnswersFieldByField) {
  PagePlayer a, b;
  std::string storage;
  const auto store = [&storage](PagePlayer& tab) {
    storage = tab.mergeForStore(reinterpret_cast<const uint8_t*>(storage.data()), storage.size());
  };
  const auto take = [&storage](PagePlayer& tab) {
    tab.takeKept(reinterpret_cast<const uint8_t*>(storage.data()), storage.size());
  };
  for (PagePlayer* tab : {&a, &b}) {
    Load(*tab, Capitals);
    Restore(*tab, storage);
  }
  Type(a, 4001, "Paris");
  Type(a, 4003, "Madrid");
  store(a);
  Type(b, 4002, "Rome");  // b has not taken a's answers yet
  store(b);
  EXPECT_EQ(storage, "Paris\r\nRome\r\nMadrid\r\n\r\n");
  take(a);
  EXPECT_EQ(a.text(5002) + a.text(IDC_SCORE), "BRAVO 3 / 4");
  a.setField(4004, "Athenes");  // typed in a, not kept yet
  Type(b, 4004, "Ath");
  Type(b, 4001, "Lyon");
  store(b);
  take(a);
  EXPECT_EQ(a.text(4004) + "/" + a.text(4001) + "/" + a.text(5001), "Athenes/Lyon/FAUX");
  store(a);
  take(b);
  EXPECT_EQ(storage, "Lyon\r\nRome\r\nMadrid\r\nAthenes\r\n");
  EXPECT_EQ(b.text(4004) + "/" + b.text(5004), "Athenes/BRAVO");
  // A tab opened now keeps what it restored as it was: the last field that
  // another tab changes after it is that tab's.
  PagePlayer c;
  Load(c, Capitals);
  Restore(c, storage);
  Type(a, 4004, "Atenes");
  store(a);
  Type(c, 4001, "Paris");
  store(c);
  EXPECT_EQ(storage, "Paris\r\nRome\r\nMadrid\r\nAtenes\r\n");
}

TEST(PagePlayer, AnnouncementsSayWhatChanged) {
  PagePlayer player;
  Load(player, Capitals);
  const struct {
    int field;
    const char* typed;
    bool always;
    const char* said;
  } steps[] = {
      {4001, "Lyon", true, "Question 1 : FAUX."},
      {4001, "Lyon", false, ""},
      {4001, "Paris", false, "Question 1 : BRAVO. Score : 1 / 4, code UN. R\xE9v\xE9lation : Seine"},
      {4002, "Rome", true, "Question 2 : BRAVO. Score : 2 / 4, code DEUX. R\xE9v\xE9lation : Tibre"},
      {4001, "", false, "Question 1 : ?. Score : 1 / 4, code UN."},
      {4002, "x", false, "Question 2 : FAUX. Score : 0 / 4, pas de code."},
  };
  for (const auto& s : steps) {
    player.clearChanges();
    Type(player, s.field, s.typed);
    EXPECT_EQ(player.verdictAnnouncement(s.field, s.always), s.said) << s.typed;
  }
  player.setField(4003, "Athenes");
  player.clearChanges();
  player.fillUnsolved(4003);
  EXPECT_EQ(player.fillAnnouncement(4003),
            "\xAB Athenes \xBB essay\xE9 sur les questions non trouv\xE9" "es. Score : 1 / 4, code UN.");
  EXPECT_EQ(SaveLine("quiz.txt", 9, 5), "\xAB quiz.txt \xBB propos\xE9 au t\xE9l\xE9" "chargement \xE0 9 h 05 : s'il est "
                                        "accept\xE9, il est dans les t\xE9l\xE9" "chargements du navigateur.");
}

TEST(PagePlayer, KeyNamesTheResources) {
  const QuizPayloads a = Streams(Capitals), b = Streams(Elements);
  PagePlayer first, again, otherQuiz, otherCodes, noCodes;
  first.load(a.quiz.data(), a.quiz.size(), a.codes.data(), a.codes.size());
  again.load(a.quiz.data(), a.quiz.size(), a.codes.data(), a.codes.size());
  otherQuiz.load(b.quiz.data(), b.quiz.size(), a.codes.data(), a.codes.size());
  otherCodes.load(a.quiz.data(), a.quiz.size(), b.codes.data(), b.codes.size());
  noCodes.load(a.quiz.data(), a.quiz.size(), nullptr, 0);
  EXPECT_EQ(first.quizKey(), again.quizKey());
  for (const PagePlayer* other : {&otherQuiz, &otherCodes, &noCodes}) EXPECT_NE(first.quizKey(), other->quizKey());
  EXPECT_EQ(first.quizKey().size(), 16u);
  // The key is what a pupil's kept answers are found by: a later page must
  // compute the same one (FNV-1a 64 of the quiz, a byte for "codes follow", the codes).
  const uint8_t none = 0;
  PagePlayer bare, emptyCodes;
  bare.load(&none, 0, nullptr, 0);
  emptyCodes.load(&none, 0, &none, 0);
  EXPECT_EQ(bare.quizKey(), "af63bd4c8601b7df");
  EXPECT_EQ(emptyCodes.quizKey(), "af63bc4c8601b62c");
}

// Identifiers past either end name no control; a text that does not change is no change.
TEST(PagePlayer, ControlsByIdentifierAndWhatChanged) {
  PagePlayer player;
  Load(player, "titre: T\nquestion: A ?\nreponse: a\ncode: C\nquestion: B ?\nreponse: b\ncode: D\n");
  for (int id : {4000, 4003, 5000, 5003, 8000, 8001, 31, 0, -1}) EXPECT_FALSE(player.isControl(id)) << id;
  for (int id : {4001, 4002, 5001, 5002, IDC_SCORE, IDC_SCORE_CODE}) EXPECT_TRUE(player.isControl(id)) << id;
  player.setField(4001, std::string(300, 'a'));
  player.setField(4002, std::string("b\0c", 3));
  EXPECT_EQ(player.text(4001), std::string(271, 'a'));
  EXPECT_EQ(player.text(4002), "b");
  player.clearChanges();
  player.judge(4002);
  EXPECT_EQ(player.changes(), (std::vector<int>{5002, IDC_SCORE, IDC_SCORE_CODE}));
  player.clearChanges();
  player.judge(4002);
  player.judge(4001);  // no reveal label to empty
  EXPECT_EQ(player.changes(), std::vector<int>{5001});
  EXPECT_EQ(player.text(5001), "Trop long");  // judged on its first 259 bytes
}

}  // namespace
