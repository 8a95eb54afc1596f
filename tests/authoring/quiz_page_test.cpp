// The page maker: a quiz's web page from the template, its streams as
// base64, its texts escaped, the name of its answers' storage.
#include <gtest/gtest.h>

#include "quiz_page.h"

namespace {

TEST(QuizPage, Base64EscapingAndStems) {
  const struct {
    std::string in, out;
  } base64[] = {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"\xff\xfe", "//4="}};
  Bytes back;
  for (const auto& c : base64) {
    const Bytes bytes(c.in.begin(), c.in.end());
    EXPECT_EQ(Base64(bytes), c.out) << c.in;
    EXPECT_TRUE(FromBase64(c.out, back) && back == bytes) << c.out;
    // As a browser reads it: the padding may be left out, blanks are skipped.
    EXPECT_TRUE(FromBase64(" " + c.out.substr(0, c.out.find('=')) + "\r\n", back) && back == bytes) << c.out;
  }
  for (const char* refused : {"Z", "Zg=", "Zm9v=", "Zg===", "Z=g=", "Zg\x80"}) EXPECT_FALSE(FromBase64(refused, back)) << refused;
  EXPECT_EQ(EscapeHtml("<img src=x onerror='a(1)'> & \"q\""),
            "&lt;img src=x onerror=&#39;a(1)&#39;&gt; &amp; &quot;q&quot;");
  const struct {
    const char *path, *stem;
  } stems[] = {{"quiz.html", "quiz"},
               {"a/b.c/G\xC3\xA9o.htm", "G\xC3\xA9o"},
               {"C:\\x\\q.v2.html", "q.v2"},
               {"noext", "noext"},
               {".html", ".html"}};
  for (const auto& c : stems) EXPECT_EQ(PageFileStem(c.path), c.stem) << c.path;
}

TEST(QuizPage, FillsEachMarkerOnce) {
  const std::string page = "<title>{{ludex:title}}</title>{{ludex:name}}|{{ludex:quiz}}|{{ludex:codes}}";
  QuizPayloads streams;
  streams.quiz = {'f', 'o', 'o'};
  streams.codes = {'f'};
  std::string made, error;
  ASSERT_TRUE(MakeQuizPage(page, streams, "A\r\n<b>{{ludex:quiz}}\xE9", "G\xC3\xA9o", made, error)) << error;
  EXPECT_EQ(made, "<title>A  &lt;b&gt;{{ludex:quiz}}\xC3\xA9</title>G\xC3\xA9o|Zm9v|Zg==");
  const struct {
    std::string page;
    const char* words;
  } broken[] = {{"", "sans emscripten"},
                {"{{ludex:title}}{{ludex:name}}{{ludex:quiz}}", "{{ludex:codes}}"},
                {page + "{{ludex:name}}", "{{ludex:name}}"}};
  for (const auto& c : broken) {
    EXPECT_FALSE(MakeQuizPage(c.page, streams, "t", "s", made, error)) << c.page;
    EXPECT_NE(error.find(c.words), std::string::npos) << error;
  }
}

}  // namespace
