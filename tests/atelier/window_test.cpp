// Ludex Atelier's real window, opened in-process and driven with the
// messages a user's typing and clicks send: characters into the edit
// controls, keys, buttons, menu and accelerator commands. Only what needs
// real Win32 is here (the session's decisions are tested natively): the
// controls, the keys, the dialogs (answered by DialogAnswers), the clipboard,
// lock files, and the built quiz played as its own process.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "atelier.h"
#include "file_access.h"
#include "support/dialog_answers.h"
#include "table_text.h"
#include "wide_text.h"

namespace {

// Dispatches every waiting message as the editor's loop does.
void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT || TakeKeyMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Typing replaces the field's text, one character message at a time; pasting
// replaces it in one change, as Ctrl+V does.
void Type(QuizField field, const std::wstring& text, bool paste = false) {
  HWND edit = FieldWindow(field);
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  if (paste) SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  for (wchar_t c : paste ? std::wstring() : text) SendMessageW(edit, WM_CHAR, c == L'\n' ? L'\r' : c, 1);
  Pump();
}

// A menu command; from an accelerator when fromKey.
void RunCommand(Command command, bool fromKey = false) {
  SendMessageW(atelier.window, WM_COMMAND, MAKEWPARAM(CommandId(command), fromKey ? 1 : 0), 0);
  Pump();
}

void Click(int id) {
  SendMessageW(GetDlgItem(atelier.window, id), BM_CLICK, 0, 0);
  Pump();
}

void Choose(int comboId, int index) {
  HWND combo = GetDlgItem(atelier.window, comboId);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(atelier.window, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  Pump();
}

int Rows() { return static_cast<int>(SendMessageW(atelier.list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring Cell(int row, int column) {
  wchar_t text[600] = L"";
  LVITEMW item = {0, 0, column, 0, 0, text, 600};
  SendMessageW(atelier.list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

std::wstring Problems() {
  std::wstring lines;
  const int count = static_cast<int>(SendMessageW(GetDlgItem(atelier.window, IDC_PROBLEMS), LB_GETCOUNT, 0, 0));
  for (int k = 0; k < count; ++k) {
    wchar_t line[1024] = L"";
    SendMessageW(GetDlgItem(atelier.window, IDC_PROBLEMS), LB_GETTEXT, static_cast<WPARAM>(k),
                 reinterpret_cast<LPARAM>(line));
    lines += std::wstring(line) + L"\n";
  }
  return lines;
}

std::wstring Status() {
  wchar_t text[1024] = L"";
  SendMessageW(GetDlgItem(atelier.window, IDC_STATUS), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
  return text;
}

// The colour a counter's text is drawn in, as its parent chooses it.
COLORREF CounterColour(QuizField field) {
  HWND counter = GetDlgItem(atelier.window, IDC_COUNTER_BASE + static_cast<int>(field));
  HDC dc = GetDC(counter);
  SetTextColor(dc, RGB(1, 2, 3));
  SendMessageW(atelier.window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(counter));
  const COLORREF colour = GetTextColor(dc);
  ReleaseDC(counter, dc);
  return colour;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Bytes(const std::wstring& path) {
  std::string bytes;
  std::wstring error;
  ReadFileBytes(path, 1 << 24, bytes, error);
  return bytes;
}

std::string Source() { return atelier.session->document().sourceText(); }

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// Exactly count dialogs seen since the plan, the last one saying words.
testing::AssertionResult Dialogs(const DialogAnswers& dialogs, size_t count, const std::wstring& words) {
  const std::vector<SeenDialog>& seen = dialogs.seen();
  if (seen.size() == count && Contains(seen.back().text, words)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << seen.size()
                                     << " dialogs, the last: " << (seen.empty() ? L"" : seen.back().text);
}

// A fresh folder for the files of each test, made the current folder, with
// the settings folder (%APPDATA%) inside it.
class AtelierTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temporary[MAX_PATH];
    GetTempPathW(MAX_PATH, temporary);
    static int serial = 0;
    folder = std::wstring(temporary) + L"atelier-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++serial);
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\appdata").c_str(), nullptr);
    SetEnvironmentVariableW(L"APPDATA", (folder + L"\\appdata").c_str());
    GetCurrentDirectoryW(MAX_PATH, previousFolder);
    SetCurrentDirectoryW(folder.c_str());
    Start();
  }
  void Start() {
    ASSERT_TRUE(StartAtelier(GetModuleHandleW(nullptr), L""));
    Pump();
  }
  void TearDown() override {
    EndAtelier();
    SetCurrentDirectoryW(previousFolder);
    const std::wstring from = folder + L'\0';  // a list of one name
    SHFILEOPSTRUCTW removal = {nullptr, FO_DELETE, from.c_str(), nullptr, FOF_NO_UI};
    SHFileOperationW(&removal);
    for (const SeenDialog& dialog : dialogs.unexpected()) ADD_FAILURE() << "unexpected dialog: " << dialog.text;
  }
  void SaveAs(const std::wstring& name) {
    dialogs.plan({FileName(folder + L"\\" + name)});
    RunCommand(Command::SaveAs);
  }

  DialogAnswers dialogs;  // every dialog the editor opens, answered
  std::wstring folder;
  wchar_t previousFolder[MAX_PATH] = L"";
};

// ---- a quiz typed, saved, reopened, built, and played ----

// clang-format off
const struct { const wchar_t *question, *answer, *reveal, *code; } TypedQuestions[] = {
    {L"Quelle est la capitale de la France ?", L"Paris", L"La Seine la traverse.", L"ÉTOILE"},
    {L"Quelle est la capitale de l'Italie ?", L"Rome", L"Elle entoure le Vatican.", L"BOUSSOLE"},
    {L"Quelle est la capitale de l'Espagne ?", L"Madrid", L"La plus haute d'Europe\n(650 m).", L"CARAVELLE"},
};
// clang-format on

void TypeQuiz() {
  Type(QuizField::Title, L"Capitales d'Europe");
  Type(QuizField::Author, L"Mme Lefèvre");
  Type(QuizField::Explanation, L"Tapez la capitale.\nPuis Entrée.");
  Choose(IDC_REVEAL_MODE, 1);  // 2: the text of a question found
  for (const auto& typed : TypedQuestions) {
    Click(CommandId(Command::Add));
    Type(QuizField::Question, typed.question);
    Type(QuizField::Answer1, typed.answer);
    Type(QuizField::Reveal1, typed.reveal);
    Type(QuizField::Code, typed.code);
  }
}

void ExpectTypedQuiz() {
  ASSERT_EQ(Rows(), 3);
  EXPECT_EQ(WindowText(FieldWindow(QuizField::Author)), L"Mme Lefèvre");
  EXPECT_EQ(WindowText(FieldWindow(QuizField::Explanation)), L"Tapez la capitale.\r\nPuis Entrée.");
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(Cell(row, 1), TypedQuestions[row].question);
    EXPECT_EQ(Cell(row, 2), TypedQuestions[row].answer);
    EXPECT_EQ(Cell(row, 4), TypedQuestions[row].code);
  }
  EXPECT_EQ(Cell(2, 3), L"La plus haute d'Europe ¶ (650 m).");
}

// The texts of the player's controls numbered id, read from its own process (WM_GETTEXT is marshalled).
std::vector<std::wstring> PlayerTexts(HWND player, int id) {
  std::pair<int, std::vector<std::wstring>> found = {id, {}};
  const auto collect = [](HWND child, LPARAM list) -> BOOL {
    auto& [id, texts] = *reinterpret_cast<std::pair<int, std::vector<std::wstring>>*>(list);
    wchar_t text[300] = L"";
    if (GetDlgCtrlID(child) != id) return TRUE;
    SendMessageTimeoutW(child, WM_GETTEXT, 300, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    texts.push_back(text);
    return TRUE;
  };
  EnumChildWindows(player, collect, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

// The window of a try, once its question labels are up; null after 30 s.
HWND WaitForPlayer(const wchar_t* title, size_t questions) {
  for (int k = 0; k < 300; ++k) {
    HWND player = FindWindowW(L"WindowsApp", title);
    if (player != nullptr && PlayerTexts(player, 3000).size() == questions) return player;
    Sleep(100);
  }
  return nullptr;
}

TEST_F(AtelierTest, TypedQuizSavedReopenedBuiltAndPlayed) {
  TypeQuiz();
  ExpectTypedQuiz();
  EXPECT_EQ(WindowText(atelier.window), L"Sans titre* - Ludex Atelier");
  dialogs.plan({FileName(folder + L"\\capitales.txt")});
  RunCommand(Command::Save);
  ASSERT_EQ(dialogs.seen().size(), 1u);
  EXPECT_EQ(dialogs.seen()[0].proposed, L"Capitales-d'Europe-source.txt");
  EXPECT_EQ(WindowText(atelier.window), L"capitales.txt - Ludex Atelier");
  const std::string source = Bytes(folder + L"\\capitales.txt");
  // UTF-8, as any source: "réponse: Madrid", "révélation: ...", a "+" line for the line break.
  EXPECT_NE(source.find("r\xC3\xA9ponse: Madrid\nr\xC3\xA9v\xC3\xA9lation: La plus haute d'Europe\n+ (650 m).\n"
                        "code: CARAVELLE"),
            std::string::npos)
      << source;

  RunCommand(Command::New);
  EXPECT_EQ(Rows(), 0);
  dialogs.plan({FileName(folder + L"\\capitales.txt")});
  RunCommand(Command::Open);
  ExpectTypedQuiz();
  EXPECT_EQ(Source(), source);  // the file round-trips unchanged

  dialogs.plan({FileName(folder + L"\\Capitales.exe"), Press(IDOK)});  // would keep its answers in capitales.txt
  RunCommand(Command::Build);
  ASSERT_TRUE(Dialogs(dialogs, 2, L"garderait les réponses des élèves dans"));
  EXPECT_FALSE(Exists(folder + L"\\Capitales.exe"));
  const std::wstring program = folder + L"\\Capitales-quiz.exe";
  dialogs.plan({FileName(program), Press(IDOK)});
  RunCommand(Command::Build);
  ASSERT_TRUE(Dialogs(dialogs, 2, L"Le programme du quiz est prêt"));
  EXPECT_EQ(dialogs.seen()[0].proposed, L"Capitales-d'Europe.exe");
  dialogs.plan({FileName(folder + L"\\Capitales.html"), Press(IDOK)});
  RunCommand(Command::BuildPage);  // with the page template the editor carries
  ASSERT_TRUE(Dialogs(dialogs, 2, L"La page web du quiz est prête"));
  EXPECT_EQ(Bytes(folder + L"\\Capitales.html").find("<!DOCTYPE html>"), 0u);
  RunCommand(Command::New);
  dialogs.plan({FileName(program)});
  RunCommand(Command::Open);  // a built quiz opens back as its source
  ExpectTypedQuiz();
  EXPECT_EQ(WindowText(atelier.window), L"Sans titre* - Ludex Atelier");

  RunCommand(Command::Try);
  ASSERT_NE(atelier.host->lastTry(), nullptr) << Status();
  HWND player = WaitForPlayer(L"Capitales d'Europe", 3);
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(PlayerTexts(player, 29), std::vector<std::wstring>{L"Capitales d'Europe"});  // title
  EXPECT_EQ(PlayerTexts(player, 26), std::vector<std::wstring>{L"Mme Lefèvre"});         // author
  const std::vector<std::wstring> questions = PlayerTexts(player, 3000);
  ASSERT_EQ(questions.size(), 3u);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(questions[row], TypedQuestions[row].question);

  // The try's answers file lands in the try's own folder, not in the editor's
  // current folder (the test's folder, which holds the source).
  PostMessageW(player, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(atelier.host->lastTry(), 30000), WAIT_OBJECT_0);
  EXPECT_TRUE(Exists(atelier.host->triesFolder() + L"\\essai-1\\essai.txt"));
  EXPECT_FALSE(Exists(folder + L"\\essai.txt"));

  // A try still open when the editor closes is closed with it, and the tries' folder goes.
  RunCommand(Command::Try);
  ASSERT_TRUE(WaitForPlayer(L"Capitales d'Europe", 3));
  const std::wstring tries = atelier.host->triesFolder();
  EndAtelier();
  EXPECT_FALSE(Exists(tries));
  Start();
}

// ---- the commands: the session's table, in the menu, the keys and the buttons ----

TEST_F(AtelierTest, MenuKeysAndButtonsAreTheTableOfCommands) {
  std::vector<ACCEL> keys(static_cast<size_t>(CopyAcceleratorTableW(atelier.accelerators, nullptr, 0)));
  CopyAcceleratorTableW(atelier.accelerators, keys.data(), static_cast<int>(keys.size()));
  size_t bound = 0, buttons = 0;
  const auto menuText = [](UINT item, UINT by) {
    wchar_t text[200] = L"";
    GetMenuStringW(GetMenu(atelier.window), item, text, 200, by);
    return Utf8FromWide(text);
  };
  for (size_t k = 0; k < Menus.size(); ++k) EXPECT_EQ(menuText(static_cast<UINT>(k), MF_BYPOSITION), Menus[k].title);
  for (const CommandInfo& info : Commands) {
    const int id = CommandId(info.command);
    EXPECT_EQ(menuText(static_cast<UINT>(id), MF_BYCOMMAND), MenuItemText(info));
    if (HWND button = GetDlgItem(atelier.window, id)) {
      EXPECT_EQ(Utf8FromWide(WindowText(button)), WindowButtonText(info));
      ++buttons;
    }
    for (const Shortcut& key : {info.shortcut, info.also}) {
      if (key.key == Key::None || info.systemKey) continue;
      const BYTE flags = FVIRTKEY | (key.control ? FCONTROL : 0) | (key.shift ? FSHIFT : 0) | (key.alt ? FALT : 0);
      bound += std::count_if(keys.begin(), keys.end(), [&](const ACCEL& a) {
        return a.cmd == id && a.key == VirtualKey(key.key) && (a.fVirt & ~FNOINVERT) == flags;
      });
    }
  }
  EXPECT_EQ(bound, keys.size());
  EXPECT_EQ(buttons, 10u);  // beside the list, for trying and building, the colour
}

// ---- the question before unsaved work goes, in its own dialog ----

// command: 0 for closing the window; answer: Enregistrer, Ne pas enregistrer, Annuler;
// caption: the window's, afterwards (none when it is gone).
TEST_F(AtelierTest, UnsavedWorkAskedAboutInItsOwnDialog) {
  // clang-format off
  const struct { int command, answer; const char* savedTitle; const wchar_t* caption; } cases[] = {
      {0, IDCANCEL, "Avant", L"quiz.txt* - Ludex Atelier"}, {0, IDYES, "Apr\xE8s", nullptr}, {CommandId(Command::New), IDNO, "Avant", L"Sans titre - Ludex Atelier"},
  };
  // clang-format on
  for (const auto& c : cases) {
    DeleteFileW((folder + L"\\quiz.txt").c_str());  // the Save dialog would ask before replacing it
    Type(QuizField::Title, L"Avant");
    SaveAs(L"quiz.txt");
    Type(QuizField::Title, L"Après");
    dialogs.plan({Press(c.answer)});
    SendMessageW(atelier.window, c.command ? WM_COMMAND : WM_CLOSE, c.command, 0);
    Pump();
    ASSERT_TRUE(Dialogs(dialogs, 1, L"Enregistrer les modifications de « quiz.txt » ?"));
    EXPECT_EQ(IsWindow(atelier.window) != FALSE, c.caption != nullptr);
    if (c.caption != nullptr) EXPECT_EQ(WindowText(atelier.window), c.caption);
    EXPECT_EQ(ReadSource(Bytes(folder + L"\\quiz.txt"), "quiz.txt").quiz.title, c.savedTitle);
    EndAtelier();
    Start();
  }
}

// ---- the controls as the author types ----

TEST_F(AtelierTest, CountersAndRefusedCharactersInTheFields) {
  Click(CommandId(Command::Add));
  // typed: then typed at its end; a line break counts 2.
  // clang-format off
  const struct { std::wstring pasted, typed; const wchar_t* counter; bool red; } cases[] = {
      {std::wstring(257, L'a'), L"aa", L"259 / 259", false}, {std::wstring(257, L'a'), L"\nb", L"260 / 259", true},
      {std::wstring(258, L'é'), L"éé", L"260 / 259", true},
  };
  // clang-format on
  for (const auto& c : cases) {
    Type(QuizField::Question, c.pasted, true);
    for (wchar_t typed : c.typed) SendMessageW(GetFocus(), WM_CHAR, typed == L'\n' ? L'\r' : typed, 1);
    Pump();
    EXPECT_EQ(WindowText(GetDlgItem(atelier.window, IDC_COUNTER_BASE + static_cast<int>(QuizField::Question))),
              c.counter);
    EXPECT_EQ(CounterColour(QuizField::Question), c.red ? RGB(200, 0, 0) : GetSysColor(COLOR_WINDOWTEXT));
  }
  EXPECT_TRUE(Contains(Problems(), L"Erreur, question 1, « question » : le texte de « question: » fait 260"))
      << Problems();
  EXPECT_TRUE(Contains(Cell(0, 0), L"1 !"));

  // A character the player cannot show takes its nearest spelling, typed or pasted, and the list says so.
  Type(QuizField::Answer1, L"A→B");
  EXPECT_EQ(WindowText(FieldWindow(QuizField::Answer1)), L"A->B");
  Type(QuizField::Title, L"Fractions en 5\u1D49 \u2192 4\u1D49", true);
  EXPECT_EQ(WindowText(FieldWindow(QuizField::Title)), L"Fractions en 5e -> 4e");
  EXPECT_TRUE(Contains(Problems(), L"Avertissement, question 1, « réponse » : « \u2192 » (U+2192) est devenu « -> »"))
      << Problems();
  // Errors first, the heading counts them, and a long line is drawn on as many lines as it takes.
  EXPECT_EQ(Problems().rfind(L"Erreur", 0), 0u) << Problems();
  EXPECT_EQ(WindowText(GetDlgItem(atelier.window, IDC_PROBLEMS_LABEL)),
            L"Pro&blèmes : 1 erreur — la construction est impossible — et 5 avertissements");
  HWND problems = GetDlgItem(atelier.window, IDC_PROBLEMS);
  std::vector<LRESULT> heights;
  for (int k = 0; k < 6; ++k) heights.push_back(SendMessageW(problems, LB_GETITEMHEIGHT, k, 0));
  EXPECT_GE(*std::max_element(heights.begin(), heights.end()), 2 * *std::min_element(heights.begin(), heights.end()) - 4);
}

// Keys as the message loop gets them: the accelerator table, Tab out of a
// multi-line field, Esc anywhere, which never closes the editor.
TEST_F(AtelierTest, KeysReachCommandsAndFieldsAndEscClosesNothing) {
  const auto press = [](HWND window, UINT key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    Pump();
  };
  press(FieldWindow(QuizField::Explanation), VK_ESCAPE);  // nothing changed: nothing would ask before closing
  ASSERT_TRUE(IsWindow(atelier.window));
  press(FieldWindow(QuizField::Title), VK_TAB);
  EXPECT_EQ(GetFocus(), FieldWindow(QuizField::Author));
  PostMessageW(GetFocus(), WM_SYSCHAR, L'l', 1 << 29);  // Alt+L: the label of the list
  Pump();
  EXPECT_EQ(GetFocus(), atelier.list);
  press(atelier.list, VK_INSERT);  // Inser: a question, ready to type
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(GetFocus(), FieldWindow(QuizField::Question));
  press(GetFocus(), VK_TAB);
  EXPECT_EQ(GetFocus(), FieldWindow(QuizField::Answer1));
  Choose(IDC_REVEAL_MODE, 1);
  for (QuizField field : {QuizField::Explanation, QuizField::Question, QuizField::Reveal1}) {
    SetFocus(FieldWindow(field));
    press(FieldWindow(field), VK_ESCAPE);
    ASSERT_TRUE(IsWindow(atelier.window)) << static_cast<int>(field);
  }
  press(atelier.list, VK_ESCAPE);
  ASSERT_TRUE(IsWindow(atelier.window));
  Type(QuizField::Question, std::wstring(260, L'a'), true);
  dialogs.plan({Press(IDOK)});
  press(GetFocus(), VK_F5);  // Essayer, refused while an error remains, with the words of the problems list
  ASSERT_TRUE(Dialogs(dialogs, 1, L"Le quiz ne peut pas être essayé : le quiz a encore des erreurs."));
  EXPECT_TRUE(Contains(dialogs.seen()[0].text, L"Erreur, question 1, « question » : le texte de « question: » fait"));
  EXPECT_EQ(atelier.host->lastTry(), nullptr);
}

// ---- rows through the clipboard and the preview, undo in a field ----

void PutOnClipboard(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(atelier.window));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

TEST_F(AtelierTest, ClipboardRowsThroughThePreviewAndUndoInAField) {
  PutOnClipboard(L"Question\tRéponse\tCode\r\nFrance ?\tParis\tA\r\nItalie ?\tRome\tB\r\n");
  SetFocus(atelier.list);
  RunCommand(Command::Paste, true);  // Ctrl+V in the list
  EXPECT_EQ(Cell(1, 1) + Cell(1, 2) + Cell(1, 4), L"Italie ?RomeB");

  // Ctrl+Z and Ctrl+Y in a field: the editor's undo, which takes the field's typing back and gives it again.
  Type(QuizField::Answer1, L"Lutèce");
  RunCommand(Command::Undo, true);
  EXPECT_EQ(WindowText(FieldWindow(QuizField::Answer1)), L"Paris");
  EXPECT_EQ(GetFocus(), FieldWindow(QuizField::Answer1));
  RunCommand(Command::Redo, true);
  EXPECT_EQ(Cell(0, 2), L"Lutèce");
  EXPECT_EQ(Status(), L"Rétabli : la saisie dans « réponse » (question 1).");

  // Three columns without a header row: shown first, the third column given to the code there.
  Choose(IDC_REVEAL_MODE, 1);
  PutOnClipboard(L"Espagne ?\tMadrid\tBOUÉE\r\n");
  SetFocus(atelier.list);
  std::wstring title;  // the third column's, once given the code
  const auto codeForTheThirdColumn = [&title](HWND dialog) {
    for (const auto& [id, choice] : {std::pair<int, int>{IDC_PREVIEW_COLUMN, 2}, {IDC_PREVIEW_FIELD, 7}}) {  // "code"
      HWND combo = GetDlgItem(dialog, id);
      SendMessageW(combo, CB_SETCURSEL, choice, 0);
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    wchar_t text[80] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 80;
    SendDlgItemMessageW(dialog, IDC_PREVIEW_LIST, LVM_GETCOLUMNW, 3, reinterpret_cast<LPARAM>(&column));
    title = text;
  };
  dialogs.plan({Then(codeForTheThirdColumn, IDOK)});
  RunCommand(Command::Paste, true);
  ASSERT_TRUE(Dialogs(dialogs, 1, L"Le texte a 3 colonnes et pas de ligne d'en-tête, et ce quiz en a 4"));
  EXPECT_EQ(Cell(2, 1) + L"|" + Cell(2, 3) + L"|" + Cell(2, 4), L"Espagne ?||BOUÉE");
  EXPECT_EQ(title, L"Colonne 3 : code");
}

// ---- no lost work: the recovery copy held by its lock ----

// A copy belongs to a running editor only while it holds the copy's lock:
// the process number alone tells nothing, as a restarted editor may get the
// crashed one's (here the very same).
TEST_F(AtelierTest, RecoveryCopyHeldByItsLockAndOfferedAfterACrash) {
  Type(QuizField::Title, L"Brouillon");
  const std::wstring unsaved = folder + L"\\appdata\\Ludex\\sans-titre-" + std::to_wstring(GetCurrentProcessId());
  SendMessageW(atelier.window, WM_TIMER, IDT_RECOVERY, 0);  // the timer set by the change
  EXPECT_EQ(Bytes(unsaved + L".recup"), Source());
  EXPECT_TRUE(LockHeld(unsaved + L".verrou"));
  EndAtelier();  // as a crash: the copy stays, its lock goes with the editor
  EXPECT_FALSE(LockHeld(unsaved + L".verrou"));

  HANDLE otherEditor = HoldLock(unsaved + L".verrou");
  Start();  // a running editor holds the copy: not offered
  EXPECT_TRUE(dialogs.seen().empty());
  EndAtelier();
  ReleaseLock(otherEditor);
  dialogs.plan({Press(IDYES)});
  Start();
  ASSERT_TRUE(Dialogs(dialogs, 1, L"Un quiz jamais enregistré a des modifications qui n'ont pas été enregistrées"));
  EXPECT_EQ(WindowText(FieldWindow(QuizField::Title)), L"Brouillon");
  SaveAs(L"brouillon.txt");
  EXPECT_FALSE(Exists(unsaved + L".recup"));
  wchar_t recent[MAX_PATH * 2] = L"";
  GetMenuStringW(GetMenu(atelier.window), IDM_RECENT_BASE, recent, MAX_PATH * 2, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(recent), L"&1 " + folder + L"\\brouillon.txt");
}

// ---- the colour chooser ----

TEST_F(AtelierTest, ColourChosen) {
  dialogs.plan({Colour(RGB(10, 20, 30))});
  RunCommand(Command::ChooseColour);
  ASSERT_EQ(dialogs.seen().size(), 1u);
  const AuthoredQuiz& quiz = atelier.session->document().quiz();
  EXPECT_EQ(RGB(quiz.red, quiz.green, quiz.blue), RGB(10, 20, 30));
}

}  // namespace

// ---- what shows after a resize ----

// The pixels of a child as the screen holds them.
std::vector<COLORREF> ShownPixels(HWND child) {
  RECT place;
  GetWindowRect(child, &place);
  const int width = place.right - place.left, height = place.bottom - place.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, place.left, place.top, SRCCOPY);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < height; y += 2) {
    for (int x = 0; x < width; x += 2) pixels.push_back(GetPixel(memory, x, y));
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// After each size, every child shows what it shows once the whole window is
// painted again: none left blank, none showing a piece of another.
TEST_F(AtelierTest, EveryChildPaintedAfterAResize) {
  Type(QuizField::Title, L"Fractions");
  Click(CommandId(Command::Add));
  SetFocus(atelier.list);  // no caret blinking in a field
  const SIZE sizes[] = {{1000, 700}, {920, 640}, {1200, 860}, {960, 660}};
  for (const SIZE& size : sizes) {
    SetWindowPos(atelier.window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    std::vector<std::pair<HWND, std::vector<COLORREF>>> shown;
    for (HWND child = GetWindow(atelier.window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (IsWindowVisible(child)) shown.push_back({child, ShownPixels(child)});
    }
    RedrawWindow(atelier.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    for (const auto& [child, pixels] : shown) {
      EXPECT_TRUE(pixels == ShownPixels(child))
          << size.cx << "x" << size.cy << ": child " << GetDlgCtrlID(child) << " (" << WindowText(child) << ")";
    }
  }
}
