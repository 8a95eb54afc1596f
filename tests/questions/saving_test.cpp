// Saving the answers in a scratch folder with real files: the temporary is
// named after the answers file, the hidden and archive attributes survive the
// replacement, and the answers go in place when no temporary can be made.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include "answers_file_win32.h"
#include "quiz.h"
#include "resource.h"

namespace {

constexpr DWORD Kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;

std::string Read(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void Write(const std::string& name, const std::string& bytes) { std::ofstream(name, std::ios::binary) << bytes; }

std::string FilesInFolder() {
  std::string names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("*", &found);
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      names += std::string(names.empty() ? "" : " ") + found.cFileName;
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  return names;
}

void Remove(std::initializer_list<std::string> names) {
  for (const std::string& name : names) {
    RemoveDirectoryA(name.c_str());
    SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(name.c_str());
  }
}

enum class Temporary { None, Stale, Blocked };

TEST(SavingAnswers, TemporaryAttributesAndWritingInPlace) {
  char previous[MAX_PATH], base[MAX_PATH], folder[MAX_PATH], answers[260];
  GetCurrentDirectoryA(sizeof previous, previous);
  GetTempPathA(sizeof base, base);
  wsprintfA(folder, "%sludex-saving-%lu", base, GetCurrentProcessId());
  CreateDirectoryA(folder, nullptr);
  ASSERT_TRUE(SetCurrentDirectoryA(folder));
  AnswersFilePath(answers);
  const std::string temporary = std::string(answers) + ".tmp";
  Remove({answers, temporary});  // left by an earlier run that stopped half-way

  Quiz quiz;
  quiz.questionCount = 2;
  quiz.answersPerQuestion = 1;
  currentQuiz = &quiz;
  HWND panel = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  for (int k = 1; k <= 2; ++k) {
    CreateWindowExA(0, "EDIT", k == 1 ? "Paris" : "42", WS_CHILD, 0, 0, 50, 20, panel,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ANSWER_BASE + k)), nullptr, nullptr);
  }

  const struct {
    const char* name;
    DWORD attributes;
    Temporary temporary;
    bool saved;
  } cases[] = {
      {"archive", FILE_ATTRIBUTE_ARCHIVE, Temporary::None, true},
      {"hidden and archive", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, Temporary::None, true},
      {"hidden, a hidden temporary left by a crash", FILE_ATTRIBUTE_HIDDEN, Temporary::Stale, true},
      {"no temporary possible: in place", FILE_ATTRIBUTE_ARCHIVE, Temporary::Blocked, true},
      {"hidden, in place", FILE_ATTRIBUTE_HIDDEN, Temporary::Blocked, true},
      {"read-only, no temporary possible: kept", FILE_ATTRIBUTE_READONLY, Temporary::Blocked, false},
  };
  for (const auto& c : cases) {
    Write(answers, "ancienne\r\n");
    SetFileAttributesA(answers, c.attributes);
    const DWORD before = GetFileAttributesA(answers);
    ASSERT_EQ(before & FILE_ATTRIBUTE_HIDDEN, c.attributes & FILE_ATTRIBUTE_HIDDEN) << "the folder keeps attributes";
    if (c.temporary == Temporary::Stale) {
      Write(temporary, "une sauvegarde interrompue");
      SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    if (c.temporary == Temporary::Blocked) CreateDirectoryA(temporary.c_str(), nullptr);

    SaveAnswers(panel);

    EXPECT_EQ(GetFileAttributesA(answers) & Kept, before & Kept) << c.name;
    EXPECT_EQ(Read(answers), c.saved ? "Paris\r\n42\r\n" : "ancienne\r\n") << c.name;
    EXPECT_EQ(FilesInFolder(), answers) << c.name << ": no temporary is left";
    Remove({answers, temporary});
  }
  DestroyWindow(panel);
  currentQuiz = nullptr;
  SetCurrentDirectoryA(previous);
  RemoveDirectoryA(folder);
}

}  // namespace
