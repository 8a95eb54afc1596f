// The session's files: the quiz source (the format ludex-pack reads), built
// quizzes opened back, the question before unsaved work goes, the last
// files, and the recovery copy.
//
// The last files live in the host's settings folder, in
// fichiers-recents.txt, one UTF-8 path per line: a plain file the author can
// read and delete. Copies of quizzes never saved go to the same folder.
#include <algorithm>

#include "cp1252.h"
#include "editor_session.h"
#include "file_names.h"
#include "gift_bank.h"
#include "player_image.h"
#include "quiz_page.h"
#include "quiz_program.h"
#include "recovery.h"
#include "session_text.h"

namespace {

const char RecentFilesName[] = "fichiers-recents.txt";
const size_t MaxSettingsBytes = 64 * 1024;

// "4 Mo", for the sizes of files.
std::string Megabytes(size_t bytes) { return std::to_string(bytes >> 20) + " Mo"; }

std::string CannotOpen(const std::string& path, const std::string& why) {
  return QuotedUtf8(FileNameOf(path)) + u8" ne peut pas être ouvert : " + why + ".";
}

// A long path cut in its middle, for a menu.
std::string ShortPath(const std::string& path) {
  std::vector<size_t> starts;  // of each character
  for (size_t k = 0; k < path.size(); ++k) {
    if ((static_cast<uint8_t>(path[k]) & 0xC0) != 0x80) starts.push_back(k);
  }
  if (starts.size() <= 70) return path;
  return path.substr(0, starts[20]) + u8"…" + path.substr(starts[starts.size() - 49]);
}

}  // namespace

// ---- unsaved work ----

// Runs next once the work may go: not changed, saved, or given up.
void EditorSession::whenDiscarded(Then next) {
  if (!document_.modified()) return next();
  const std::string name = document_.path().empty() ? "Sans titre" : FileNameOf(document_.path());
  Prompt question;
  question.kind = PromptKind::SaveChanges;
  question.tone = Tone::Question;
  question.text = "Enregistrer les modifications de " + QuotedUtf8(name) + " ?";
  ask(question, [this, next](const Reply& reply) {
    if (reply.answer == Answer::Yes) {
      save([next](bool saved) {
        if (saved) next();
      });
    } else if (reply.answer == Answer::No) {
      removeRecoveryCopy();  // the author gave this work up
      next();
    }
  });
}

void EditorSession::newQuiz() {
  startOn(AuthoredQuiz(), "", "", false);
  focus_ = {false, static_cast<int>(QuizField::Title)};
}

void EditorSession::closeEditor() {
  removeRecoveryCopy();
  closed_ = true;
}

void EditorSession::startOn(const AuthoredQuiz& quiz, const std::string& path, const std::string& heading,
                            bool modified) {
  removeRecoveryCopy();
  document_.reset(quiz, path, heading, modified);
  if (!quiz.questions.empty()) document_.select({0});
  handWrittenPath_.clear();
  say("");
  problems_.forgetRespellings();
  writing_.reset();
  problems_.keepQuiet(true);
}

// ---- opening ----

void EditorSession::askOpenFile() {
  Prompt choice;
  choice.kind = PromptKind::OpenFile;
  choice.text = "Ouvrir un quiz";
  choice.folder = document_.path().empty() ? host_.documentsFolder() : FolderOf(document_.path());
  choice.filters = {{"Quiz : sources, programmes, pages web, tableaux, banques GIFT (*.txt, *.exe, *.html, *.csv, *.gift)",
                     "*.txt;*.exe;*.html;*.htm;*.csv;*.tsv;*.gift"},
                    {"Sources de quiz (*.txt)", "*.txt"},
                    {"Programmes de quiz (*.exe)", "*.exe"},
                    {"Tous les fichiers", "*.*"}};
  choice.extension = "txt";
  ask(choice, [this](const Reply& reply) {
    if (reply.answer == Answer::Ok) openFile(reply.path);
  });
}

void EditorSession::openPath(const std::string& path) {
  if (pending_ || closed_) return;
  // The last files keep full paths: a name from the command line may be relative.
  const std::string full = host_.fullPath(path);
  whenDiscarded([this, full] { openFile(full); });
}

void EditorSession::openRecent(int index) {
  if (pending_ || closed_ || index < 0 || index >= static_cast<int>(recent_.size())) return;
  const std::string path = recent_[static_cast<size_t>(index)];
  whenDiscarded([this, path] {
    if (host_.stamp(path).exists) return openFile(path);
    recent_.erase(std::find(recent_.begin(), recent_.end(), path));
    saveRecentFiles();
    tell(Tone::Error, QuotedUtf8(path) + u8" n'existe plus.");
  });
}

// A source, a built quiz, a quiz's web page or a table of questions,
// whichever its first bytes (or, for a table, its name) say.
void EditorSession::openFile(const std::string& path) {
  std::string bytes, error;
  switch (host_.readFile(path, MaxProgramBytes, bytes, error)) {
    case ReadResult::TooLarge:
      return tell(Tone::Error, CannotOpen(path, u8"il est bien trop grand pour être un quiz (plus de " +
                                                    Megabytes(MaxProgramBytes) + ")"));
    case ReadResult::Failed: return tell(Tone::Error, CannotOpen(path, error));
    case ReadResult::Read: break;
  }
  BuiltQuiz built;
  built.diagnostics.fileName = ForCore(FileNameOf(path));
  if (IsProgramFile(bytes)) {
    const BuiltQuizRead read = ReadBuiltQuiz(Bytes(bytes.begin(), bytes.end()), built, error);
    return openBuilt(path, read, built);
  }
  if (IsPageFile(bytes)) {
    if (!ReadQuizPage(bytes, built.streams)) {
      return tell(Tone::Error,
                  QuotedUtf8(FileNameOf(path)) + u8" ne peut pas être ouvert. Cette page n'est pas un quiz Ludex.");
    }
    return openBuilt(path, DecodeBuiltQuiz(built), built);
  }
  if (IsTableName(FileNameOf(path))) return openTable(path, bytes);
  openSource(path, bytes);
}

void EditorSession::openSource(const std::string& path, const std::string& bytes) {
  const SourceRead read = ReadSource(bytes, ForCore(FileNameOf(path)));
  if (!read.notASource.empty()) return tell(Tone::Error, CannotOpen(path, Utf8(read.notASource)));
  // Moodle writes its GIFT banks as ".txt" files too.
  if (!read.ok && read.quiz.questions.empty() && LooksLikeGift(bytes)) return openTable(path, bytes);
  if (!read.ok && !read.textErrorsOnly) {
    return tell(Tone::Error, QuotedUtf8(FileNameOf(path)) +
                                 u8" ne peut pas être ouvert : cette source de quiz a des erreurs que Ludex Atelier ne "
                                 u8"saurait pas garder. Corrigez-les d'abord dans un éditeur de texte (le Bloc-notes) "
                                 u8":\n\n" +
                                 DiagnosticsText(read.diagnostics));
  }
  if (read.questionsInSource > 0) return offerFirstQuestions(path, read);
  const auto openIt = [this, path, read] {
    startOn(read.quiz, path, read.heading, false);
    // A source written by hand changes form when saved over: the author is told first.
    if (!read.canonical) handWrittenPath_ = path;
    rememberFile(path);
    say((read.ok ? u8"Ouvert : " : u8"Ouvert avec des erreurs à corriger (voir Problèmes) : ") + path);
  };
  const std::string copy = RecoveryPathFor(path);
  if (!leftCopy(copy)) return openIt();
  offerCopy(copy, path, [openIt](bool taken) {
    if (!taken) openIt();
  });
}

// The first questions of a source that has more than the player counts, on
// the author's word: a new quiz, so that the file keeps every question.
void EditorSession::offerFirstQuestions(const std::string& path, const SourceRead& read) {
  const std::string name = FileNameOf(path), limit = std::to_string(MaxQuestions);
  Prompt question;
  question.kind = PromptKind::YesNo;
  question.tone = Tone::Question;
  question.text = QuotedUtf8(name) + " a " + std::to_string(read.questionsInSource) +
                  " questions, et un quiz Ludex en a au plus " + limit + ".\n\nOuvrir ses " + limit +
                  u8" premières questions ? Elles s'ouvrent dans un nouveau quiz, à enregistrer sous un autre nom ; " +
                  QuotedUtf8(name) + " ne change pas.";
  ask(question, [this, path, name, limit, read](const Reply& reply) {
    if (reply.answer != Answer::Yes) return;
    startOn(read.quiz, "", "Les " + limit + u8" premières questions de " + name + ".", true);
    say("Les " + limit + u8" premières questions de " + path + " : enregistrez-les sous un autre nom.");
  });
}

// A built quiz or its web page: its quiz read back as ludex-pack extract
// reads it. A damaged one is opened as the player plays it, with what is wrong.
void EditorSession::openBuilt(const std::string& path, BuiltQuizRead read, const BuiltQuiz& built) {
  const std::string name = QuotedUtf8(FileNameOf(path));
  switch (read) {
    case BuiltQuizRead::NotAQuiz:
      return tell(Tone::Error, name + u8" ne peut pas être ouvert. Ce programme n'est pas un questionnaire Ludex.");
    case BuiltQuizRead::Unreadable:
      return tell(Tone::Error, CannotOpen(path, u8"ce programme est abîmé, ou ce n'est pas un questionnaire Ludex"));
    case BuiltQuizRead::Undecodable:
      return tell(Tone::Error, "Le quiz de " + name + u8" est abîmé et ne peut pas être lu :\n\n" +
                                   DiagnosticsText(built.diagnostics));
    case BuiltQuizRead::Read: break;
  }
  startOn(built.quiz, "", "Extrait de " + FileNameOf(path) + " par Ludex Atelier.", true);
  rememberFile(path);
  say("Quiz repris de " + path + " : enregistrez-le pour en garder la source.");
  if (!built.whole) {
    tell(Tone::Warning, "Le quiz de " + name + u8" est abîmé : il est ouvert tel que le lecteur le joue.\n\n" +
                            DiagnosticsText(built.diagnostics));
  } else if (!built.diagnostics.items.empty()) {
    tell(Tone::Information,
         "Le quiz de " + name + " est ouvert, avec ces remarques :\n\n" + DiagnosticsText(built.diagnostics));
  }
}

// A table of questions opens as a new quiz that takes its rows, through the preview.
void EditorSession::openTable(const std::string& path, const std::string& bytes) {
  if (bytes.size() > MaxTableBytes) {
    return tell(Tone::Error,
                CannotOpen(path, u8"le fichier est trop grand pour un tableau de questions (plus de 1 Mo)"));
  }
  startOn(AuthoredQuiz(), "", "", false);
  addRows(std::make_shared<TableText>(ReadQuestionFile(FileNameOf(path), bytes)), true);
}

// ---- saving ----

void EditorSession::save(Done done) {
  if (document_.path().empty()) return saveAs(done);
  writeSource(document_.path(), done);
}

void EditorSession::saveAs(Done done) {
  Prompt choice;
  choice.kind = PromptKind::SaveFile;
  choice.text = "Enregistrer la source du quiz";
  // Not the built program's name: its answers file would be the source.
  choice.path =
      document_.path().empty() ? Utf8(QuizFileStem(document_.quiz().title)) + "-source.txt" : document_.path();
  choice.folder = host_.documentsFolder();
  choice.filters = {{"Sources de quiz (*.txt)", "*.txt"}};
  choice.extension = "txt";
  ask(choice, [this, done](const Reply& reply) {
    if (reply.answer == Answer::Ok) return writeSource(reply.path, done);
    if (done) done(false);
  });
}

void EditorSession::writeSource(const std::string& path, Done done) {
  if (handWrittenPath_.empty() || !host_.sameFile(path, handWrittenPath_)) {
    return writeSourceNow(path, done);
  }
  Prompt notice;
  notice.kind = PromptKind::Confirm;
  notice.text = Utf8(RewriteNotice);
  ask(notice, [this, path, done](const Reply& reply) {
    if (reply.answer == Answer::Ok) return writeSourceNow(path, done);
    if (done) done(false);
  });
}

void EditorSession::writeSourceNow(const std::string& path, Done done) {
  std::string error;
  const int revision = document_.revision();
  if (!host_.writeFile(path, document_.sourceText(), error)) {
    tell(Tone::Error, u8"Le quiz n'a pas pu être enregistré dans " + QuotedUtf8(path) + " :\n\n" + error);
    if (done) done(false);
    return;
  }
  if (host_.writesLater(path)) {  // saved once the host says the write ended
    writing_.reset(new PendingWrite{path, revision, done});
    say(u8"Enregistrement de " + path + u8"…");
    return;
  }
  sourceWritten(path, revision, done);
}

void EditorSession::sourceWritten(const std::string& path, int revision, Done done) {
  document_.markSaved(path, revision);
  if (!document_.modified()) removeRecoveryCopy();
  handWrittenPath_.clear();
  rememberFile(path);
  say(writtenOrOffered(path, u8"Enregistré : ", u8"Proposé au téléchargement : ") +
      (document_.modified() ? u8" (sans les modifications faites depuis)" : ""));
  if (done) done(true);
}

void EditorSession::writeFinished(const std::string& path) {
  if (closed_ || !writing_ || !host_.sameFile(path, writing_->path)) return;
  const PendingWrite written = *writing_;
  writing_.reset();
  sourceWritten(written.path, written.revision, written.done);
}

// The quiz stays unsaved; the browser has let go of the file's place, so
// that writing it again offers it as a download.
void EditorSession::writeFailed(const std::string& path, const std::string& error) {
  if (closed_ || !writing_ || !host_.sameFile(path, writing_->path)) return;
  const Done done = writing_->done;
  writing_.reset();
  offerDownloadInstead(path, BrowserFailureText(error), done);
}

void EditorSession::offerDownloadInstead(const std::string& path, const std::string& reason, Done done) {
  const std::string failed = u8"Le quiz n'a pas pu être enregistré dans " + QuotedUtf8(FileNameOf(path)) + " : " +
                             reason + u8". Ses modifications restent à enregistrer.";
  if (pending_) {  // the author is answering another question: the status says it
    say(failed + u8" Enregistrer (Ctrl+S) le propose au téléchargement.");
    if (done) done(false);
    return;
  }
  say("");
  Prompt question;
  question.kind = PromptKind::YesNo;
  question.tone = Tone::Warning;
  question.text = failed + u8"\n\nLe télécharger à la place ?";
  ask(question, [this, path, done](const Reply& reply) {
    if (reply.answer == Answer::Yes) return writeSourceNow(path, done);
    if (done) done(false);
  });
}

void EditorSession::readFailed(const std::string& path, const std::string& error) {
  if (pending_ || closed_) return;
  tell(Tone::Error, CannotOpen(path, BrowserFailureText(error)));
}

// ---- the last files ----

void EditorSession::loadRecentFiles() {
  std::string bytes, error;
  if (host_.readFile(JoinPath(host_.settingsFolder(), RecentFilesName), MaxSettingsBytes, bytes, error) ==
      ReadResult::Read) {
    recent_ = ReadRecentFiles(bytes);
  }
}

void EditorSession::saveRecentFiles() {
  std::string error;
  host_.makeFolder(host_.settingsFolder());
  host_.writeFile(JoinPath(host_.settingsFolder(), RecentFilesName), WriteRecentFiles(recent_), error);
}

void EditorSession::rememberFile(const std::string& path) {
  AddRecentFile(recent_, path);
  saveRecentFiles();
}

std::vector<std::string> EditorSession::recentFiles() const {
  std::vector<std::string> shown;
  for (const std::string& path : recent_) shown.push_back(ShortPath(path));
  return shown;
}

// ---- the recovery copy ----

FoundFile EditorSession::findFile(const std::string& path) {
  FoundFile found;
  const FileStamp stamp = host_.stamp(path);
  std::string error;
  found.exists = stamp.exists && host_.readFile(path, MaxSourceBytes, found.bytes, error) == ReadResult::Read;
  found.modifiedTime = stamp.modifiedTime;
  return found;
}

// A copy left by an editor that stopped: there, and its lock held by no running editor.
bool EditorSession::leftCopy(const std::string& copy) {
  return host_.stamp(copy).exists && !host_.lockHeld(RecoveryLockPath(copy));
}

// This editor takes a copy as its own: its lock first, then the name. The
// copy it had before goes.
bool EditorSession::ownCopy(const std::string& copy) {
  if (!recoveryCopy_.empty() && host_.sameFile(recoveryCopy_, copy)) return true;
  if (!host_.holdLock(RecoveryLockPath(copy))) return false;
  removeRecoveryCopy();
  recoveryCopy_ = copy;
  return true;
}

void EditorSession::removeRecoveryCopy() {
  if (recoveryCopy_.empty()) return;
  host_.removeFile(recoveryCopy_);
  host_.releaseLock(RecoveryLockPath(recoveryCopy_));
  recoveryCopy_.clear();
}

// Where the document's copy goes, held by this editor: beside its source, or
// for a quiz never saved, a name of the settings folder that no copy left by
// another editor has. Empty when another editor holds the copy of the same source.
std::string EditorSession::recoveryCopyName() {
  const std::string source = document_.path();
  if (!source.empty()) {
    const std::string copy = RecoveryPathFor(source);
    return ownCopy(copy) ? copy : "";
  }
  const std::string folder = host_.settingsFolder();
  if (!recoveryCopy_.empty() && FolderOf(recoveryCopy_) == folder) return recoveryCopy_;
  host_.makeFolder(folder);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string copy = UnsavedRecoveryPath(folder, host_.editorNumber(), attempt);
    if (!host_.stamp(copy).exists && !host_.stamp(RecoveryLockPath(copy)).exists && ownCopy(copy)) return copy;
  }
  return "";
}

void EditorSession::writeRecoveryCopy() {
  if (!document_.recoveryDue()) return;
  const std::string copy = recoveryCopyName();
  if (copy.empty()) {
    say("Pas de copie de secours : un autre Ludex Atelier a ce quiz ouvert et garde la sienne.");
    return;
  }
  std::string error;
  if (!host_.writeFile(copy, RecoveryContent(document_), error)) {
    say(u8"La copie de secours n'a pas pu être écrite : " + error);
    return;
  }
  document_.markRecoveryWritten();
}

// Offers the recovery copy of a file (or of a quiz never saved, source
// empty); done(true) when it was taken: the document then holds it, unsaved.
void EditorSession::offerCopy(const std::string& copy, const std::string& source, Done done) {
  const FoundFile found = findFile(copy);
  const RecoveryVerdict verdict = JudgeRecovery(found, source.empty() ? FoundFile() : findFile(source));
  if (verdict == RecoveryVerdict::Discard) {
    host_.removeFile(copy);
    return done(false);
  }
  Prompt question;
  question.kind = PromptKind::YesNo;
  question.tone = Tone::Question;
  question.text = (source.empty() ? u8"Un quiz jamais enregistré" : "Le quiz " + QuotedUtf8(FileNameOf(source))) +
                  u8" a des modifications qui n'ont pas été enregistrées : Ludex Atelier s'est fermé sans les "
                  u8"enregistrer. Une copie de secours les a gardées.\n\nVoulez-vous reprendre cette copie ?";
  if (verdict == RecoveryVerdict::OfferOlder) {
    question.text += "\n\nAttention : " + QuotedUtf8(FileNameOf(source)) + u8" a été modifié après cette copie.";
  }
  ask(question, [this, copy, source, found, done](const Reply& reply) {
    if (reply.answer == Answer::Yes) return takeCopy(copy, source, found, done);
    host_.removeFile(copy);
    done(false);
  });
}

void EditorSession::takeCopy(const std::string& copy, const std::string& source, const FoundFile& found, Done done) {
  const SourceRead read = ReadSource(found.bytes, ForCore(FileNameOf(copy)));
  if (!read.ok && !read.textErrorsOnly) {
    return tell(Tone::Error, u8"La copie de secours ne peut pas être relue :\n\n" + DiagnosticsText(read.diagnostics),
                [done] { done(false); });
  }
  startOn(read.quiz, source, read.heading, true);
  ownCopy(copy);  // this editor's copy now, removed once the quiz is saved
  if (!source.empty()) {
    std::string bytes, error;
    if (host_.readFile(source, MaxSourceBytes, bytes, error) == ReadResult::Read && !ReadSource(bytes, "").canonical) {
      handWrittenPath_ = source;
    }
    rememberFile(source);
  }
  done(true);
}

// One copy after the other, until the author takes one; then then.
void EditorSession::offerCopies(std::vector<std::pair<std::string, std::string>> copies, size_t next, Then then) {
  if (next >= copies.size()) return then();
  const auto [copy, source] = copies[next];
  offerCopy(copy, source, [this, copies, next, then](bool taken) {
    if (taken) return then();
    offerCopies(copies, next + 1, then);
  });
}

// ---- start and end ----

// Copies of quizzes never saved left by editors no longer running, then those
// beside the last files; the first one the author takes back ends the offers.
void EditorSession::startUp(const std::string& fileToOpen) {
  loadRecentFiles();
  std::vector<std::pair<std::string, std::string>> copies;
  const std::string folder = host_.settingsFolder();
  for (const std::string& name : host_.filesIn(folder, UnsavedRecoveryPrefix, RecoverySuffix)) {
    const std::string copy = JoinPath(folder, name);
    if (IsUnsavedRecoveryName(name) && leftCopy(copy)) copies.push_back({copy, ""});
  }
  for (const std::string& recent : recent_) {
    if (leftCopy(RecoveryPathFor(recent))) copies.push_back({RecoveryPathFor(recent), recent});
  }
  offerCopies(copies, 0, [this, fileToOpen] {
    if (!fileToOpen.empty()) openPath(fileToOpen);
  });
}

void EditorSession::shutDown() {
  if (!recoveryCopy_.empty()) host_.releaseLock(RecoveryLockPath(recoveryCopy_));
  recoveryCopy_.clear();
  pending_.reset();
  closed_ = true;
}
