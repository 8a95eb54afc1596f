// The page with a school's platform, natively: the answers in the
// platform's text both ways, within its limit, and refused when they are not
// this page's; the answers restored from the platform and the browser; what
// the platform hears after each verdict.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "codec.h"
#include "loaded_page.h"

namespace {

const std::string Capitals =
    "titre: Capitales\n"
    "question: France ?\nreponse: Paris\ncode: UN\nquestion: Italie ?\nreponse: Rome\ncode: DEUX\n"
    "question: Espagne ?\nreponse: Madrid\ncode: TROIS\nquestion: Grece ?\nreponse: Athenes\ncode: QUATRE\n";
const std::string Elements =
    "titre: Elements\nreponses par question: 2\n"
    "question: H ?\nreponse: H\nreponse2: 1\ncode: A\nquestion: He ?\nreponse: He\nreponse2: 2\ncode: B\n";

std::string Fields(const PagePlayer& player, int count) {
  std::string fields;
  for (int k = 1; k <= count; ++k) fields += player.text(4000 + k) + "/";
  return fields;
}

std::vector<std::string> Words(size_t count, size_t length, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::string> words;
  for (size_t k = 0; k < count; ++k) {
    std::string word;
    for (size_t c = 0; c < length; ++c) word += static_cast<char>('a' + random() % 26);
    words.push_back(word);
  }
  return words;
}

// A text whose check and stream are right but whose answers are not what
// the page writes.
std::string Forged(const std::string& joined) {
  uint32_t hash = 2166136261u;
  for (unsigned char byte : joined) hash = (hash ^ byte) * 16777619u;
  std::string bytes = {char(hash), char(hash >> 8), char(hash >> 16), char(hash >> 24)};
  uint8_t* stream = nullptr;
  uint32_t length = 0;
  EXPECT_EQ(Compress(reinterpret_cast<const uint8_t*>(joined.data()), uint32_t(joined.size()), &stream, &length), 0);
  bytes.append(reinterpret_cast<char*>(stream), length);
  std::free(stream);
  const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  std::string text = "ludex1.";
  for (size_t bit = 0; bit < bytes.size() * 8; bit += 6) {
    unsigned value = 0;
    for (size_t b = bit; b < bit + 6; ++b) {
      value = value << 1 | (b < bytes.size() * 8 ? (static_cast<uint8_t>(bytes[b / 8]) >> (7 - b % 8) & 1) : 0);
    }
    text += alphabet[value];
  }
  return text;
}

TEST(SuspendData, AnswersComeBackAsTheyWere) {
  const std::vector<std::string> typical = Words(255, 10, 7);
  const struct {
    const char* name;
    std::vector<std::string> answers;
    std::vector<std::string> back;  // the empty answers at the end are left out
  } cases[] = {
      {"None", {}, {}},
      {"Empty", {"", "", ""}, {}},
      {"OneAndGaps", {"", "Rome", "", ""}, {"", "Rome"}},
      {"Windows1252AndTab", {"\xC9t\xE9\t\x80", "a b"}, {"\xC9t\xE9\t\x80", "a b"}},
      {"Typical255", typical, typical},
  };
  for (const auto& c : cases) {
    const SuspendData data = EncodeSuspendData(c.answers, 1);
    EXPECT_EQ(data.kept, c.answers.size()) << c.name;
    EXPECT_EQ(data.text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_.", 0),
              std::string::npos)
        << c.name;
    std::vector<std::string> back = {"stale"};
    EXPECT_TRUE(DecodeSuspendData(data.text, back)) << c.name;
    EXPECT_EQ(back, c.back) << c.name;
  }
  // 255 answers of ten letters drawn at random, the least compressible kind, leave room.
  EXPECT_LT(EncodeSuspendData(typical, 1).text.size(), 3300u);
}

// Answers too long for the platform: the first whole questions that fit, as many as fit.
TEST(SuspendData, TooLongKeepsTheFirstWholeQuestionsThatFit) {
  const std::vector<std::string> answers = Words(510, 259, 3);
  for (size_t perQuestion : {1, 2}) {
    const SuspendData data = EncodeSuspendData(answers, perQuestion);
    ASSERT_LE(data.text.size(), SuspendDataLimit);
    ASSERT_GT(data.kept, 0u);
    EXPECT_EQ(data.kept % perQuestion, 0u);
    std::vector<std::string> back;
    ASSERT_TRUE(DecodeSuspendData(data.text, back));
    EXPECT_EQ(back, std::vector<std::string>(answers.begin(), answers.begin() + data.kept));
    const std::vector<std::string> more(answers.begin(), answers.begin() + data.kept + perQuestion);
    EXPECT_LT(EncodeSuspendData(more, perQuestion).kept, more.size()) << "one more question would have fitted";
  }
  EXPECT_EQ(EncodeSuspendData(answers, 1, 20).kept, 0u);  // not even one: none, and a text that says so
  std::vector<std::string> none = {"x"};
  EXPECT_TRUE(DecodeSuspendData(EncodeSuspendData(answers, 1, 20).text, none));
  EXPECT_TRUE(none.empty());
  // All but the last question fit: the last is the one left out.
  const std::vector<std::string> twenty = Words(20, 10, 5);
  const size_t nineteen = EncodeSuspendData({twenty.begin(), twenty.end() - 1}, 1).text.size();
  EXPECT_EQ(EncodeSuspendData(twenty, 1, nineteen).kept, 19u);
  // Longer than the codec takes, yet compressing well: what fits is still found.
  const SuspendData repeated = EncodeSuspendData(std::vector<std::string>(510, std::string(259, 'a')), 2);
  EXPECT_GT(repeated.kept, 2u);
  EXPECT_LT(repeated.kept, 510u);
}

TEST(SuspendData, AnyOtherTextIsRefused) {
  const std::string good = EncodeSuspendData({"Paris", "Rome"}, 1).text;
  std::string changed = good;
  changed[10] = changed[10] == 'A' ? 'B' : 'A';
  const std::string cases[] = {
      "", "ludex1.", "ludex1.A", "ludex1.AAAA", "ludex2." + good.substr(7), "LUDEX1." + good.substr(7), changed,
      good.substr(0, good.size() - 2), good + "A", good + "AAAA", good + "=", good + "!", "ludex1.+/+/",
      std::string("ludex1.AA\0AA", 12),
      "ludex1." + std::string(5000, 'A'), "ludex1.AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", "Paris\nRome",
      Forged("Paris\r\nRome"), Forged(std::string("a\0b", 3)), Forged(std::string(600, '\n')),
  };
  for (const std::string& text : cases) {
    std::vector<std::string> answers = {"stale"};
    EXPECT_FALSE(DecodeSuspendData(text, answers)) << text.substr(0, 40);
    EXPECT_TRUE(answers.empty()) << text.substr(0, 40);
  }
  std::vector<std::string> answers;
  EXPECT_TRUE(DecodeSuspendData(Forged("Paris\nRome"), answers));  // the forger is right
}

TEST(PagePlatform, RestoresThePlatformsAnswersAndOffersTheBrowsersOwn) {
  const std::string platform = EncodeSuspendData({"Paris", "", "Madrid"}, 1).text;
  const struct {
    const char* name;
    std::string platform;
    std::string browser;
    int offered;          // fields whose browser answer differs, -1: the platform's text not used
    std::string fields;   // after the restore, '/' after each
    std::string stored;   // what the browser keeps at the next store
    std::string taken;    // the fields once the browser's answers are taken
  } cases[] = {
      {"PlatformOnly", platform, "", 0, "Paris//Madrid//", "Paris\r\n\r\nMadrid\r\n\r\n", ""},
      {"BrowserFillsAndDiffers", platform, "Lyon\r\nRome\r\n\r\n\r\n", 1, "Paris/Rome/Madrid//",
       "Lyon\r\nRome\r\nMadrid\r\n\r\n", "Lyon/Rome/Madrid//"},
      {"Same", platform, "Paris\r\n\r\nMadrid\r\n", 0, "Paris//Madrid//", "Paris\r\n\r\nMadrid\r\n\r\n", ""},
      {"PlatformEmpty", "", "Lyon\r\nRome\r\n", -1, "Lyon/Rome///", "Lyon\r\nRome\r\n\r\n\r\n", ""},
      {"PlatformDamaged", platform.substr(0, 12), "Lyon\r\n", -1, "Lyon////", "Lyon\r\n\r\n\r\n\r\n", ""},
      {"AnotherProgramsText", "{\"slide\":4}", "", -1, "////", "\r\n\r\n\r\n\r\n", ""},
  };
  for (const auto& c : cases) {
    PagePlayer player;
    Load(player, Capitals);
    const auto kept = reinterpret_cast<const uint8_t*>(c.browser.data());
    EXPECT_EQ(player.restoreWithPlatform(c.platform, kept, c.browser.size()), c.offered) << c.name;
    EXPECT_EQ(Fields(player, 4), c.fields) << c.name;
    EXPECT_EQ(player.text(5001), c.fields[0] == 'P' ? "BRAVO" : c.fields[0] == 'L' ? "FAUX" : "?") << c.name;
    EXPECT_EQ(player.mergeForStore(kept, c.browser.size()), c.stored) << c.name;
    EXPECT_TRUE(player.takeInteractions().empty()) << c.name;  // the platform heard of them already
    EXPECT_EQ(player.offerBrowserAnswers(), !c.taken.empty()) << c.name;
    if (c.taken.empty()) continue;
    EXPECT_NE(OfferMessage(player.offerFacts()).find("1 de vos r\xE9ponses"), std::string::npos) << c.name;
    ASSERT_TRUE(player.resumeOffer()) << c.name;
    EXPECT_EQ(Fields(player, 4), c.taken) << c.name;
    ASSERT_TRUE(player.undoResume()) << c.name;
    EXPECT_EQ(Fields(player, 4), c.fields) << c.name;
    EXPECT_EQ(player.keepAll(), "Paris\r\nRome\r\nMadrid\r\n\r\n") << c.name;  // "Ne rien changer"
  }
}

TEST(PagePlatform, EachJudgedAnswerOnceWithTheScoreAndCompletion) {
  PagePlayer player;
  Load(player, Capitals);
  const std::string longAnswer = std::string(200, 'x') + std::string(59, '\xE9');
  const struct {
    int field;
    std::string typed;       // -: F1 in the field instead
    std::string heard;       // id=response=correct, ';' after each
    int found;
    bool complete;
  } steps[] = {
      {4001, "paris", "q001=paris=1;", 1, false},
      {4001, "paris", "", 1, false},  // judged again, unchanged
      {4002, "Rom", "q002=Rom=0;", 1, false},
      {4003, "   ", "", 1, false},  // nothing typed: no answer
      {4003, longAnswer, "q003=" + longAnswer.substr(0, 255) + "=0;", 1, false},
      {4003, "madrid", "q003=madrid=1;", 2, false},
      {4004, "-", "q002=madrid=0;q004=madrid=0;", 2, true},  // F1 tries its text on every unsolved field
      {4002, "rome", "q002=rome=1;", 3, true},
  };
  for (const auto& s : steps) {
    if (s.typed == "-") {
      player.setField(s.field, "madrid");
      player.fillUnsolved(s.field);
    } else {
      Type(player, s.field, s.typed);
    }
    std::vector<std::string> suspended, fields;
    ASSERT_TRUE(DecodeSuspendData(player.suspendData().text, suspended));
    for (int k = 1; k <= 4; ++k) fields.push_back(player.text(4000 + k));
    while (!fields.empty() && fields.back().empty()) fields.pop_back();
    EXPECT_EQ(suspended, fields) << s.field << s.typed;
    std::string heard;
    for (const PlatformInteraction& i : player.takeInteractions()) {
      heard += i.id + "=" + i.response + "=" + (i.correct ? "1" : "0") + ";";
    }
    EXPECT_EQ(heard, s.heard) << s.field << s.typed;
    EXPECT_EQ(player.questionsFound(), s.found) << s.field << s.typed;
    EXPECT_EQ(player.everyFieldJudged(), s.complete) << s.field << s.typed;
  }
  PagePlayer two;
  Load(two, Elements);
  Type(two, 4004, "2");
  Type(two, 4001, "h");
  const std::vector<PlatformInteraction> heard = two.takeInteractions();
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].id + " " + heard[1].id, "q001-1 q002-2");
  EXPECT_EQ(two.questionsFound(), 0);
  PagePlayer hidden;  // no field: never complete
  Load(hidden, "questions visibles: non\n" + Capitals);
  EXPECT_FALSE(hidden.everyFieldJudged());
}

TEST(PagePlatform, ValuesInTheFormsAStrictPlatformTakes) {
  const struct {
    int found, questions;
    const char* score;
  } scores[] = {{0, 15, "0"},     {2, 15, "13.33"}, {1, 8, "12.5"},   {15, 15, "100"}, {2, 3, "66.67"},
                {1, 255, "0.39"}, {254, 255, "99.61"}, {1, 7, "14.29"}, {0, 0, "0"}, {9, 4, "100"}};
  for (const auto& s : scores) EXPECT_EQ(PlatformScore(s.found, s.questions), s.score) << s.found << "/" << s.questions;
  const struct {
    long long seconds;
    const char* time;
  } times[] = {{0, "00:00:00"}, {59, "00:00:59"}, {25 * 3600 + 61, "25:01:01"}, {-5, "00:00:00"},
               {1LL << 40, "9999:59:59"}};
  for (const auto& t : times) EXPECT_EQ(PlatformTimespan(t.seconds), t.time) << t.seconds;
}

}  // namespace
