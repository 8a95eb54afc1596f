// What the quiz becomes: a try in a temporary player, the program given to
// the pupils, and the pages printed for them.
#include "atelier.h"
#include "file_access.h"
#include "file_names.h"
#include "file_paths.h"
#include "page_template.h"
#include "player_image.h"
#include "print_html.h"
#include "quiz_page.h"
#include "quiz_payloads.h"
#include "wide_text.h"

namespace {

// Tries and printed pages: their own state, for the window's life.
struct OutputState {
  std::wstring sessionFolder;                 // %TEMP%\ludex-atelier-<process>: the tries
  HANDLE sessionLock = INVALID_HANDLE_VALUE;  // held while the folder is this running editor's
  int tries = 0;
  PROCESS_INFORMATION tryProcess = {};  // the player of the last try
};
OutputState output;

const wchar_t SessionPrefix[] = L"ludex-atelier-";
const wchar_t SessionLock[] = L"\\verrou";
const int MaxLeftSessions = 50;

const size_t ErrorsShown = 8;

// The player carried inside the editor: the stripped ludex.exe of the same build.
bool PlayerImage(Bytes& image) {
  HRSRC found = FindResourceW(atelier.instance, MAKEINTRESOURCEW(IDR_PLAYER), MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL loaded = found != nullptr ? LoadResource(atelier.instance, found) : nullptr;
  const uint8_t* bytes = loaded != nullptr ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  if (bytes == nullptr) return false;
  image.assign(bytes, bytes + SizeofResource(atelier.instance, found));
  return true;
}

// The quiz's two compressed resources, or false after telling the author
// why it cannot be built: every error of the problems list blocks it.
bool PackQuiz(QuizPayloads& streams, const std::wstring& refusal) {
  const AuthoredQuiz& quiz = atelier.document.quiz();
  const std::vector<QuizProblem> problems = ValidateQuiz(quiz, true);
  if (AnyError(problems)) {
    std::wstring text = refusal + L" : le quiz a encore des erreurs.\n\n";
    size_t shown = 0;
    for (const QuizProblem& problem : problems) {
      if (!problem.isError) continue;
      if (shown++ == ErrorsShown) {
        text += L"…\n";
        break;
      }
      text += ProblemLine(problem) + L"\n";
    }
    Ask(text + L"\nCorrigez-les (elles sont dans la liste des problèmes), puis recommencez.", MB_ICONWARNING);
    return false;
  }
  Diagnostics diagnostics;
  if (!CompressPayloads(EncodePayloads(quiz), streams, diagnostics)) {
    std::wstring text = refusal + L" :\n\n";
    for (const Diagnostic& d : diagnostics.items) text += WideFromCp1252(d.message) + L"\n";
    Ask(text, MB_ICONERROR);
    return false;
  }
  return true;
}

// Writes the player with the quiz into path (made and read back in memory,
// then written through a temporary file that takes the name); error says why
// it could not.
bool WriteProgram(const std::wstring& path, const QuizPayloads& streams, std::wstring& error) {
  Bytes player, program;
  std::string failure;
  if (!PlayerImage(player) || !WriteQuizResources(player, streams, program, failure)) {
    error = L"le lecteur contenu dans Ludex Atelier est abîmé" +
            (failure.empty() ? std::wstring() : L" (" + WideFromCp1252(failure) + L")") +
            L" : retéléchargez Ludex Atelier";
  } else {
    return WriteFileSafely(path, std::string(program.begin(), program.end()), error);
  }
  return false;
}

std::wstring QuizStem() { return WideFromCp1252(QuizFileStem(atelier.document.quiz().title)); }

// The folder of the quiz's source; empty for a quiz never saved.
std::wstring SourceFolder() { return FolderOf(WideFromUtf8(atelier.document.path())); }

// The name first offered for what the quiz becomes: named after its title,
// beside its source when it has one.
std::wstring BesideSource(const wchar_t* extension) {
  const std::wstring folder = SourceFolder();
  return (folder.empty() ? L"" : folder + L"\\") + QuizStem() + extension;
}

void RemoveFolder(const std::wstring& folder, int depth) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (depth > 0) RemoveFolder(path, depth - 1);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

// Session folders of editors that stopped without removing theirs (their
// lock held by no running editor): removed, as far as no try still runs there.
void RemoveLeftSessions(const std::wstring& temporary) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((temporary + SessionPrefix + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  int seen = 0;
  do {
    const std::wstring folder = temporary + found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !LockHeld(folder + SessionLock)) RemoveFolder(folder, 1);
  } while (++seen < MaxLeftSessions && FindNextFileW(search, &found));
  FindClose(search);
}

// The try still open when the editor closes is closed too (the player saves
// its answers on the way), so that its folder can go.
void CloseLastTry() {
  const DWORD id = output.tryProcess.dwProcessId;
  if (output.tryProcess.hProcess == nullptr || WaitForSingleObject(output.tryProcess.hProcess, 0) == WAIT_OBJECT_0)
    return;
  WaitForInputIdle(output.tryProcess.hProcess, 5000);  // its window is up
  EnumWindows(
      [](HWND window, LPARAM process) -> BOOL {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == static_cast<DWORD>(process)) PostMessageW(window, WM_CLOSE, 0, 0);
        return TRUE;
      },
      static_cast<LPARAM>(id));
  WaitForSingleObject(output.tryProcess.hProcess, 5000);
}

void CloseTryHandles() {
  if (output.tryProcess.hProcess != nullptr) CloseHandle(output.tryProcess.hProcess);
  if (output.tryProcess.hThread != nullptr) CloseHandle(output.tryProcess.hThread);
  output.tryProcess = PROCESS_INFORMATION();
}

}  // namespace

// Each try gets a folder of its own, which is also the player's current
// folder: the answers file of the try lands there, never beside the source.
void TryQuiz() {
  QuizPayloads streams;
  if (!PackQuiz(streams, L"Le quiz ne peut pas être essayé")) return;
  CreateDirectoryW(output.sessionFolder.c_str(), nullptr);
  if (output.sessionLock == INVALID_HANDLE_VALUE) output.sessionLock = HoldLock(output.sessionFolder + SessionLock);
  const std::wstring folder = output.sessionFolder + L"\\essai-" + std::to_wstring(++output.tries);
  CreateDirectoryW(folder.c_str(), nullptr);
  // A plain name: the try's answers file is essai.txt, in that folder.
  const std::wstring program = folder + L"\\essai.exe";
  std::wstring error;
  if (!WriteProgram(program, streams, error)) {
    Ask(L"Le quiz ne peut pas être essayé : " + error + L".", MB_ICONERROR);
    return;
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process)) {
    Ask(L"Le quiz ne peut pas être essayé : le lecteur ne démarre pas (erreur Windows " +
            std::to_wstring(GetLastError()) + L").",
        MB_ICONERROR);
    return;
  }
  CloseTryHandles();
  output.tryProcess = process;
  SetStatus(L"Essai lancé : jouez le quiz comme vos élèves le joueront.");
}

void BuildProgram() {
  QuizPayloads streams;
  if (!PackQuiz(streams, L"Le programme ne peut pas être créé")) return;
  const std::wstring source = WideFromUtf8(atelier.document.path());
  std::wstring path = BesideSource(L".exe");
  if (!AskFileName(atelier.window, true, L"Créer le programme du quiz", L"Programmes (*.exe)\0*.exe\0", L"exe", path))
    return;
  // The program keeps the pupils' answers in a file named after itself: it
  // must not be the source that the author goes on editing.
  std::string ansiSource, ansiProgram;
  if (!source.empty() && AnsiPath(source, ansiSource) && AnsiPath(path, ansiProgram)) {
    const std::string clash = AnswersFileClash(ansiSource, ansiProgram);
    if (!clash.empty()) {
      Ask(L"Le programme ne peut pas être créé : " + WideFromCp1252(clash) + L".", MB_ICONWARNING);
      return;
    }
  }
  std::wstring error;
  if (!WriteProgram(path, streams, error)) {
    Ask(L"Le programme n'a pas pu être créé :\n" + path + L"\n\n" + error + L".", MB_ICONERROR);
    return;
  }
  SetStatus(L"Programme créé : " + path);
  Ask(L"Le programme du quiz est prêt :\n" + path +
          L"\n\nIl contient le lecteur et le quiz : donnez ce seul fichier à vos élèves.",
      MB_ICONINFORMATION);
}

// The quiz as one web page that plays in any browser, offline: the same
// checks and resources as the program, the page template this editor carries.
void BuildPage() {
  QuizPayloads streams;
  if (!PackQuiz(streams, L"La page web ne peut pas être créée")) return;
  std::wstring path = BesideSource(L".html");
  if (!AskFileName(atelier.window, true, L"Créer la page web du quiz", L"Pages web (*.html)\0*.html\0", L"html", path))
    return;
  std::string page, failure;
  std::wstring error;
  if (!MakeQuizPage(BuiltPageTemplate(), streams, atelier.document.quiz().title,
                    PageFileStem(Utf8FromWide(FileNameOf(path))), page, failure)) {
    error = WideFromCp1252(failure);
  } else if (WriteFileSafely(path, page, error)) {
    SetStatus(L"Page web créée : " + path);
    Ask(L"La page web du quiz est prête :\n" + path +
            L"\n\nElle se joue dans tout navigateur (ordinateur, tablette, téléphone), sans connexion : donnez ce "
            L"seul fichier aux élèves. Leurs réponses restent dans leur navigateur ; « Sauver » les télécharge.",
        MB_ICONINFORMATION);
    return;
  }
  Ask(L"La page web n'a pas pu être créée :\n" + path + L"\n\n" + error + L".", MB_ICONERROR);
}

// The printed pages go beside the source, where the author finds them
// again; for a quiz never saved, or a folder that does not take them, to
// Documents\Ludex. The browser opens them, when the system has one.
void PrintQuiz() {
  const AuthoredQuiz& quiz = atelier.document.quiz();
  const std::wstring source = SourceFolder();
  const std::wstring names[] = {QuizStem() + L"-feuille-eleve.html", QuizStem() + L"-corrige.html"};
  const std::string texts[] = {PupilSheetHtml(quiz), AnswerKeyHtml(quiz)};
  std::wstring folder, error;
  for (const std::wstring& candidate : {source, DocumentsFolder() + L"\\Ludex"}) {
    if (candidate.empty() || candidate == L"\\Ludex") continue;
    CreateDirectoryW(candidate.c_str(), nullptr);
    if (WriteFileSafely(candidate + L"\\" + names[0], texts[0], error) &&
        WriteFileSafely(candidate + L"\\" + names[1], texts[1], error)) {
      folder = candidate;
      break;
    }
  }
  if (folder.empty()) {
    Ask(L"Les pages à imprimer n'ont pas pu être écrites :\n\n" + error, MB_ICONERROR);
    return;
  }
  const std::wstring written = L"« " + names[0] + L" » et « " + names[1] + L" », dans " + folder;
  bool opened = atelier.openPage(folder + L"\\" + names[0]);
  opened = atelier.openPage(folder + L"\\" + names[1]) && opened;
  if (!opened) {
    Ask(L"Les pages à imprimer sont écrites : " + written +
            L".\n\nLe navigateur ne les a pas ouvertes : double-cliquez-les dans ce dossier pour les imprimer.",
        MB_ICONINFORMATION);
    return;
  }
  SetStatus(L"Pages à imprimer : " + written + L". Le navigateur les ouvre ; sinon, double-cliquez-les.");
}

void StartOutput() {
  output = OutputState();
  wchar_t temporary[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, temporary);
  RemoveLeftSessions(temporary);
  output.sessionFolder = std::wstring(temporary) + SessionPrefix + std::to_wstring(GetCurrentProcessId());
}

HANDLE LastTryProcess() { return output.tryProcess.hProcess; }

const std::wstring& SessionFolder() { return output.sessionFolder; }

void EndTries() {
  CloseLastTry();
  CloseTryHandles();
  ReleaseLock(output.sessionLock);
  if (!output.sessionFolder.empty()) RemoveFolder(output.sessionFolder, 1);
  output = OutputState();
}
