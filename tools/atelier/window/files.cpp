// Files: the quiz source (the format ludex-pack reads), built quizzes opened
// back, the question before unsaved work goes, the last files, and the
// recovery copy.
//
// The last files live in %APPDATA%\Ludex\fichiers-recents.txt, one UTF-8 path
// per line: a plain file the author can read and delete, no registry. Copies
// of quizzes never saved go to the same folder.
#include <windows.h>  // before the headers of the common controls and dialogs

#include "atelier.h"
#include "cp1252.h"
#include "file_access.h"
#include "file_names.h"
#include "player_image.h"
#include "quiz_payloads.h"
#include "recovery.h"
#include "wide_text.h"

namespace {

// The files' own state, started afresh with each window.
struct FilesState {
  std::wstring settingsFolder;                 // %APPDATA%\Ludex: the last files, copies of unsaved quizzes
  std::vector<std::string> recentFiles;        // UTF-8, the most recent first
  std::wstring handWrittenPath;                // a source not in the writer's form: say so before rewriting it
  std::wstring recoveryCopy;                   // the recovery copy last written, removed on a clean save or close
  HANDLE recoveryLock = INVALID_HANDLE_VALUE;  // held while this editor owns recoveryCopy
  bool recoveryTimerArmed = false;
};
FilesState files;

const wchar_t RecentFilesName[] = L"fichiers-recents.txt";
const size_t MaxSettingsBytes = 64 * 1024;
const int IdOfRecentSeparator = IDM_RECENT_BASE + 99;
const size_t DiagnosticsShown = 12;

std::string Utf8Path(const std::wstring& path) { return Utf8FromWide(path); }

// The file's name as the core quotes it in messages (Windows-1252).
std::string QuotedName(const std::wstring& path) { return Cp1252FromUtf8Lossy(Utf8FromWide(FileNameOf(path))); }

std::wstring DiagnosticsText(const Diagnostics& diagnostics) {
  std::wstring text;
  size_t shown = 0;
  for (const Diagnostic& d : diagnostics.items) {
    if (shown++ == DiagnosticsShown) {
      text += L"… et " + std::to_wstring(diagnostics.items.size() - DiagnosticsShown) + L" de plus.\n";
      break;
    }
    text += WideFromCp1252(diagnostics.format(d)) + L"\n";
  }
  return text;
}

FoundFile Find(const std::wstring& path) {
  FoundFile found;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return found;
  std::wstring error;
  found.exists = ReadFileBytes(path, MaxSourceBytes, found.bytes, error);
  found.modifiedTime =
      (static_cast<int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return found;
}

void SaveRecentFiles() {
  CreateDirectoryW(files.settingsFolder.c_str(), nullptr);
  std::wstring error;
  WriteFileSafely(files.settingsFolder + L"\\" + RecentFilesName, WriteRecentFiles(files.recentFiles), error);
}

// "&1 C:\Quiz\capitales.txt", a long path cut in its middle, '&' doubled.
std::wstring RecentMenuText(int index, const std::wstring& path) {
  std::wstring shown = path.size() <= 70 ? path : path.substr(0, 20) + L"…" + path.substr(path.size() - 49);
  for (size_t at = 0; (at = shown.find(L'&', at)) != std::wstring::npos; at += 2) shown.insert(at, 1, L'&');
  return L"&" + std::to_wstring(index + 1) + L" " + shown;
}

// The last files go between a separator of their own and the one above "Quitter".
void ShowRecentFiles() {
  HMENU menu = GetSubMenu(GetMenu(atelier.window), 0);
  if (menu == nullptr) return;
  for (int k = 0; k < MaxRecentFiles; ++k) DeleteMenu(menu, IDM_RECENT_BASE + k, MF_BYCOMMAND);
  DeleteMenu(menu, IdOfRecentSeparator, MF_BYCOMMAND);
  if (files.recentFiles.empty()) return;
  UINT position = static_cast<UINT>(GetMenuItemCount(menu) - 2);
  InsertMenuW(menu, position++, MF_BYPOSITION | MF_SEPARATOR, IdOfRecentSeparator, nullptr);
  for (size_t k = 0; k < files.recentFiles.size(); ++k) {
    const std::wstring text = RecentMenuText(static_cast<int>(k), WideFromUtf8(files.recentFiles[k]));
    InsertMenuW(menu, position++, MF_BYPOSITION | MF_STRING, IDM_RECENT_BASE + k, text.c_str());
  }
}

void RememberFile(const std::wstring& path) {
  AddRecentFile(files.recentFiles, Utf8Path(path));
  SaveRecentFiles();
  ShowRecentFiles();
}

void StartOn(const AuthoredQuiz& quiz, const std::wstring& path, const std::string& heading, bool modified) {
  RemoveRecoveryCopy();
  atelier.document.reset(quiz, Utf8Path(path), heading, modified);
  if (!quiz.questions.empty()) atelier.document.select({0});
  files.handWrittenPath.clear();
  AfterChange();
}

std::wstring LockOf(const std::wstring& copy) { return WideFromUtf8(RecoveryLockPath(Utf8FromWide(copy))); }

// This editor takes a copy as its own: its lock first, then the name. The
// copy it had before goes.
bool OwnRecoveryCopy(const std::wstring& copy) {
  if (!files.recoveryCopy.empty() && SamePath(files.recoveryCopy, copy)) return true;
  HANDLE lock = HoldLock(LockOf(copy));
  if (lock == INVALID_HANDLE_VALUE) return false;
  RemoveRecoveryCopy();
  files.recoveryCopy = copy;
  files.recoveryLock = lock;
  return true;
}

// Where the document's copy goes, held by this editor: beside its source, or
// for a quiz never saved, a name of the settings folder that no copy left by
// another editor has. Empty when another editor holds the copy of the same source.
std::wstring RecoveryCopyName() {
  const std::string source = atelier.document.path();
  if (!source.empty()) {
    const std::wstring copy = WideFromUtf8(RecoveryPathFor(source));
    return OwnRecoveryCopy(copy) ? copy : L"";
  }
  const std::string folder = Utf8Path(files.settingsFolder);
  if (!files.recoveryCopy.empty() && FolderOf(files.recoveryCopy) == files.settingsFolder) return files.recoveryCopy;
  CreateDirectoryW(files.settingsFolder.c_str(), nullptr);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring copy = WideFromUtf8(UnsavedRecoveryPath(folder, GetCurrentProcessId(), attempt));
    if (!FileExists(copy) && !FileExists(LockOf(copy)) && OwnRecoveryCopy(copy)) return copy;
  }
  return L"";
}

// Offers the recovery copy of a file (or of a quiz never saved, source
// empty). true when it was taken: the document then holds it, unsaved.
bool OfferCopy(const std::wstring& copy, const std::wstring& source) {
  const FoundFile found = Find(copy);
  const RecoveryVerdict verdict = JudgeRecovery(found, source.empty() ? FoundFile() : Find(source));
  if (verdict == RecoveryVerdict::Discard) {
    DeleteFileW(copy.c_str());
    return false;
  }
  std::wstring question = source.empty() ? L"Un quiz jamais enregistré" : L"Le quiz « " + FileNameOf(source) + L" »";
  question +=
      L" a des modifications qui n'ont pas été enregistrées : Ludex Atelier s'est fermé sans les "
      L"enregistrer. Une copie de secours les a gardées.\n\nVoulez-vous reprendre cette copie ?";
  if (verdict == RecoveryVerdict::OfferOlder) {
    question += L"\n\nAttention : « " + FileNameOf(source) + L" » a été modifié après cette copie.";
  }
  if (Ask(question, MB_YESNO | MB_ICONQUESTION) != IDYES) {
    DeleteFileW(copy.c_str());
    return false;
  }
  const SourceRead read = ReadSource(found.bytes, QuotedName(copy));
  if (!read.ok && !read.textErrorsOnly) {
    Ask(L"La copie de secours ne peut pas être relue :\n\n" + DiagnosticsText(read.diagnostics), MB_ICONERROR);
    return false;
  }
  StartOn(read.quiz, source, read.heading, true);
  OwnRecoveryCopy(copy);  // this editor's copy now, removed once the quiz is saved
  if (!source.empty()) {
    std::string bytes;
    std::wstring error;
    if (ReadFileBytes(source, MaxSourceBytes, bytes, error) && !ReadSource(bytes, "").canonical) {
      files.handWrittenPath = source;
    }
    RememberFile(source);
  }
  return true;
}

// A copy left by an editor that stopped: there, and its lock held by no running editor.
bool LeftCopy(const std::wstring& copy) { return FileExists(copy) && !LockHeld(LockOf(copy)); }

// Copies of quizzes never saved, left by editors that are no longer running.
std::vector<std::wstring> OrphanCopies() {
  std::vector<std::wstring> copies;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((files.settingsFolder + L"\\sans-titre-*.recup").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return copies;
  do {
    const std::wstring copy = files.settingsFolder + L"\\" + found.cFileName;
    if (IsUnsavedRecoveryName(Utf8FromWide(found.cFileName)) && LeftCopy(copy)) copies.push_back(copy);
  } while (FindNextFileW(search, &found) && copies.size() < 100);
  FindClose(search);
  return copies;
}

// The first questions of a source that has more than the player counts, on
// the author's word: a new quiz, so that the file keeps every question.
bool OfferFirstQuestions(const std::wstring& path, const SourceRead& read) {
  const std::wstring name = FileNameOf(path);
  const std::wstring limit = std::to_wstring(MaxQuestions);
  if (Ask(L"« " + name + L" » a " + std::to_wstring(read.questionsInSource) +
              L" questions, et un quiz Ludex en a au plus " + limit +
              L" : le lecteur les compte sur un octet.\n\nOuvrir ses " + limit +
              L" premières questions ? Elles s'ouvrent dans un nouveau quiz, à enregistrer sous un autre nom ; « " +
              name + L" » ne change pas.",
          MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return false;
  }
  StartOn(read.quiz, L"", Utf8FromWide(L"Les " + limit + L" premières questions de " + name + L"."), true);
  SetStatus(L"Les " + limit + L" premières questions de " + path + L" : enregistrez-les sous un autre nom.");
  return true;
}

bool OpenSource(const std::wstring& path, const std::string& bytes) {
  const SourceRead read = ReadSource(bytes, QuotedName(path));
  if (!read.notASource.empty()) {
    Ask(L"« " + FileNameOf(path) + L" » ne peut pas être ouvert : " + WideFromCp1252(read.notASource) + L".",
        MB_ICONERROR);
    return false;
  }
  if (!read.ok && !read.textErrorsOnly) {
    Ask(L"« " + FileNameOf(path) +
            L" » ne peut pas être ouvert : cette source de quiz a des erreurs que Ludex Atelier ne saurait pas "
            L"garder. Corrigez-les d'abord dans un éditeur de texte (le Bloc-notes) :\n\n" +
            DiagnosticsText(read.diagnostics),
        MB_ICONERROR);
    return false;
  }
  if (read.questionsInSource > 0) return OfferFirstQuestions(path, read);
  const std::wstring copy = WideFromUtf8(RecoveryPathFor(Utf8Path(path)));
  if (LeftCopy(copy) && OfferCopy(copy, path)) return true;
  StartOn(read.quiz, path, read.heading, false);
  // A source written by hand changes form when saved over: the author is told first.
  if (!read.canonical) files.handWrittenPath = path;
  RememberFile(path);
  SetStatus(read.ok ? L"Ouvert : " + path : L"Ouvert avec des erreurs à corriger (voir Problèmes) : " + path);
  return true;
}

// A built quiz: its resources read back as ludex-pack extract reads them. A
// damaged one is opened as the player plays it, with what is wrong.
bool OpenProgram(const std::wstring& path) {
  std::string bytes, error;
  std::wstring failure;
  QuizPayloads streams, payloads;
  if (!ReadFileBytes(path, MaxProgramBytes, bytes, failure)) {
    Ask(L"« " + FileNameOf(path) + L" » ne peut pas être ouvert : " + failure + L".", MB_ICONERROR);
    return false;
  }
  if (!ReadQuizResources(Bytes(bytes.begin(), bytes.end()), streams, error)) {
    Ask(L"« " + FileNameOf(path) + L" » ne peut pas être ouvert : " + WideFromCp1252(error) + L".", MB_ICONERROR);
    return false;
  }
  Diagnostics diagnostics;
  diagnostics.fileName = QuotedName(path);
  if (!DecompressStreams(streams, payloads, diagnostics)) {
    Ask(L"Le quiz de « " + FileNameOf(path) + L" » est abîmé et ne peut pas être lu :\n\n" +
            DiagnosticsText(diagnostics),
        MB_ICONERROR);
    return false;
  }
  AuthoredQuiz quiz;
  const bool whole = DecodePayloads(payloads.quiz, payloads.codes, quiz, diagnostics);
  if (!whole) {
    Ask(L"Le quiz de « " + FileNameOf(path) + L" » est abîmé : il est ouvert tel que le lecteur le joue.\n\n" +
            DiagnosticsText(diagnostics),
        MB_ICONWARNING);
  } else if (!diagnostics.items.empty()) {
    Ask(L"Le quiz de « " + FileNameOf(path) + L" » est ouvert, avec ces remarques :\n\n" + DiagnosticsText(diagnostics),
        MB_ICONINFORMATION);
  }
  StartOn(quiz, L"", Utf8FromWide(L"Extrait de " + FileNameOf(path) + L" par Ludex Atelier."), true);
  RememberFile(path);
  SetStatus(L"Quiz repris de " + path + L" : enregistrez-le pour en garder la source.");
  return true;
}

// %APPDATA%\Ludex, or a folder of %TEMP% where there is no %APPDATA%.
std::wstring SettingsFolder() {
  wchar_t folder[MAX_PATH] = L"";
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", folder, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return std::wstring(folder) + L"\\Ludex";
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + L"Ludex";
}

bool WriteSourceTo(const std::wstring& path) {
  if (!files.handWrittenPath.empty() && SamePath(path, files.handWrittenPath) &&
      Ask(WideFromCp1252(RewriteNotice), MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) {
    return false;
  }
  // Nothing the author wrote goes without a word: texts in fields the settings do not use.
  const std::string unused = UnusedTextsNotice(atelier.document.quiz());
  if (!unused.empty()) {
    if (Ask(WideFromCp1252(unused), MB_OKCANCEL | MB_ICONWARNING) != IDOK) return false;
    atelier.document.dropUnusedTexts();
    ShowDocument();
  }
  std::wstring error;
  if (!WriteFileSafely(path, atelier.document.sourceText(), error)) {
    Ask(L"Le quiz n'a pas pu être enregistré dans « " + path + L" » :\n\n" + error, MB_ICONERROR);
    return false;
  }
  RemoveRecoveryCopy();
  atelier.document.markSaved(Utf8Path(path));
  files.handWrittenPath.clear();
  RememberFile(path);
  ShowTitle();
  SetStatus(L"Enregistré : " + path);
  return true;
}

INT_PTR CALLBACK SaveChangesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const std::wstring& name = *reinterpret_cast<const std::wstring*>(lParam);
      const std::wstring question = L"Enregistrer les modifications de « " + name + L" » ?";
      SetDlgItemTextW(dialog, IDC_SAVE_QUESTION, question.c_str());
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDYES || LOWORD(wParam) == IDNO || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
      }
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

void StartFiles() {
  files = FilesState();
  files.settingsFolder = SettingsFolder();
  std::string bytes;
  std::wstring error;
  if (ReadFileBytes(files.settingsFolder + L"\\" + RecentFilesName, MaxSettingsBytes, bytes, error)) {
    files.recentFiles = ReadRecentFiles(bytes);
  }
  ShowRecentFiles();
}

bool ConfirmDiscard() {
  if (!atelier.document.modified()) return true;
  const std::wstring path = WideFromUtf8(atelier.document.path());
  const std::wstring name = path.empty() ? L"Sans titre" : FileNameOf(path);
  const INT_PTR answer = DialogBoxParamW(atelier.instance, MAKEINTRESOURCEW(IDD_SAVE_CHANGES), atelier.window,
                                         SaveChangesProc, reinterpret_cast<LPARAM>(&name));
  if (answer == IDYES) return SaveQuiz();
  if (answer == IDNO) {
    RemoveRecoveryCopy();  // the author gave this work up
    return true;
  }
  return false;
}

void NewQuiz() {
  if (!ConfirmDiscard()) return;
  StartOn(AuthoredQuiz(), L"", "", false);
  SetFocus(FieldWindow(QuizField::Title));
}

void OpenQuiz() {
  if (!ConfirmDiscard()) return;
  std::wstring path = WideFromUtf8(atelier.document.path());
  path = FolderOf(path).empty() ? L"" : FolderOf(path) + L"\\";
  if (!AskFileName(atelier.window, false, L"Ouvrir un quiz",
                   L"Quiz : sources et programmes (*.txt, *.exe)\0*.txt;*.exe\0Sources de quiz (*.txt)\0*.txt\0"
                   L"Programmes de quiz (*.exe)\0*.exe\0Tous les fichiers\0*.*\0",
                   L"txt", path)) {
    return;
  }
  OpenPath(path);
}

void OpenRecentFile(int index) {
  if (index < 0 || index >= static_cast<int>(files.recentFiles.size())) return;
  const std::wstring path = WideFromUtf8(files.recentFiles[static_cast<size_t>(index)]);
  if (!ConfirmDiscard()) return;
  if (!FileExists(path)) {
    Ask(L"« " + path + L" » n'existe plus.", MB_ICONERROR);
    files.recentFiles.erase(files.recentFiles.begin() + index);
    SaveRecentFiles();
    ShowRecentFiles();
    return;
  }
  OpenPath(path);
}

bool OpenPath(const std::wstring& name) {
  // The last files keep full paths: a name from the command line may be relative.
  wchar_t full[MAX_PATH * 4] = L"";
  const DWORD length = GetFullPathNameW(name.c_str(), MAX_PATH * 4, full, nullptr);
  const std::wstring path = length > 0 && length < MAX_PATH * 4 ? std::wstring(full) : name;
  std::string bytes;
  std::wstring error;
  if (!ReadFileBytes(path, MaxSourceBytes, bytes, error)) {
    // A built quiz may be larger than any source: only its first bytes tell.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char head[2] = {};
    DWORD read = 0;
    const bool program = file != INVALID_HANDLE_VALUE && ReadFile(file, head, 2, &read, nullptr) && read == 2 &&
                         head[0] == 'M' && head[1] == 'Z';
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (program) return OpenProgram(path);
    Ask(L"« " + path + L" » ne peut pas être ouvert : " + error + L".", MB_ICONERROR);
    return false;
  }
  if (bytes.compare(0, 2, "MZ") == 0) return OpenProgram(path);
  return OpenSource(path, bytes);
}

bool SaveQuiz() {
  const std::wstring path = WideFromUtf8(atelier.document.path());
  return path.empty() ? SaveQuizAs() : WriteSourceTo(path);
}

bool SaveQuizAs() {
  std::wstring path = WideFromUtf8(atelier.document.path());
  // Not the built program's name: its answers file would be the source.
  if (path.empty()) path = WideFromCp1252(QuizFileStem(atelier.document.quiz().title)) + L"-source.txt";
  if (!AskFileName(atelier.window, true, L"Enregistrer la source du quiz", L"Sources de quiz (*.txt)\0*.txt\0", L"txt",
                   path)) {
    return false;
  }
  return WriteSourceTo(path);
}

void ArmRecoveryTimer() {
  if (files.recoveryTimerArmed || !atelier.document.recoveryDue()) return;
  files.recoveryTimerArmed = SetTimer(atelier.window, IDT_RECOVERY, RecoveryDelayMs, nullptr) != 0;
}

void WriteRecoveryCopy() {
  files.recoveryTimerArmed = false;
  QuizDocument& document = atelier.document;
  if (!document.recoveryDue()) return;
  const std::wstring copy = RecoveryCopyName();
  if (copy.empty()) {
    SetStatus(L"Pas de copie de secours : un autre Ludex Atelier a ce quiz ouvert et garde la sienne.");
    return;
  }
  std::wstring error;
  if (!WriteFileSafely(copy, RecoveryContent(document), error)) {
    SetStatus(L"La copie de secours n'a pas pu être écrite : " + error);
    return;
  }
  document.markRecoveryWritten();
}

void RemoveRecoveryCopy() {
  if (!files.recoveryCopy.empty()) DeleteFileW(files.recoveryCopy.c_str());
  files.recoveryCopy.clear();
  ReleaseLock(files.recoveryLock);
}

void EndFiles() { ReleaseLock(files.recoveryLock); }

// At start-up: copies of quizzes never saved, then those beside the last
// files; the first one the author takes back ends the search.
void OfferRecoveryCopies() {
  for (const std::wstring& copy : OrphanCopies()) {
    if (OfferCopy(copy, L"")) return;
  }
  for (const std::string& recent : std::vector<std::string>(files.recentFiles)) {
    const std::wstring copy = WideFromUtf8(RecoveryPathFor(recent));
    if (LeftCopy(copy) && OfferCopy(copy, WideFromUtf8(recent))) return;
  }
}
