// What the quiz becomes (a try, the program given to the pupils, its web
// page, the printed pages, a CSV file, a GIFT bank for Moodle) and what
// comes in from a spreadsheet or a bank (pasted rows, a CSV or TSV file, a
// GIFT bank, through the preview).
#include <algorithm>
#include <iterator>

#include "editor_session.h"
#include "file_names.h"
#include "file_paths.h"
#include "gift_bank.h"
#include "player_image.h"
#include "print_html.h"
#include "quiz_page.h"
#include "quiz_program.h"
#include "scorm_package.h"
#include "session_text.h"

namespace {

// The fields a column may go in, in the choosers' order.
const int ColumnChoices[] = {static_cast<int>(QuizField::Question),  static_cast<int>(QuizField::Answer1),
                             static_cast<int>(QuizField::Accepted1), static_cast<int>(QuizField::Answer2),
                             static_cast<int>(QuizField::Accepted2), static_cast<int>(QuizField::Reveal1),
                             static_cast<int>(QuizField::Reveal2),   static_cast<int>(QuizField::Code),
                             LeftOutColumn};

const FileFilter CsvFiles = {"Tableaux CSV (*.csv)", "*.csv"};
const FileFilter GiftFiles = {"Banques GIFT de Moodle (*.gift)", "*.gift"};

Prompt SaveFilePrompt(const std::string& title, const std::string& path, const std::string& folder,
                      const FileFilter& filter, const std::string& extension) {
  Prompt choice;
  choice.kind = PromptKind::SaveFile;
  choice.text = title;
  choice.path = path;
  choice.folder = folder;
  choice.filters = {filter};
  choice.extension = extension;
  return choice;
}

// A row's problems, without its place: the preview's row is no question yet.
std::string RowProblems(const ImportRow& row, const std::string& separator) {
  std::string text;
  for (QuizProblem problem : row.problems) {
    problem.row = -1;
    text += (text.empty() ? "" : separator) + ProblemLineText(problem);
  }
  return text;
}

}  // namespace

// ---- packing ----

// The quiz's two compressed streams, or false after telling the author why
// it cannot be built: every error of the problems list blocks it, and the
// list then shows every one of them.
bool EditorSession::packOrRefuse(QuizPayloads& streams, const std::string& refusal) {
  checkSizes();
  problems_.keepQuiet(false);
  std::string errors;
  size_t shown = 0;
  for (const ProblemLine& line : problems()) {
    if (!line.isError) continue;
    if (shown++ == 8) {
      errors += u8"…\n";
      break;
    }
    errors += line.text + "\n";
  }
  if (!errors.empty()) {
    tell(Tone::Warning, refusal + " : le quiz a encore des erreurs.\n\n" + errors +
                            u8"\nCorrigez-les (elles sont dans la liste des problèmes), puis recommencez.");
    return false;
  }
  Diagnostics diagnostics;
  if (!PackQuiz(document_.quiz(), streams, diagnostics)) {
    tell(Tone::Error, refusal + " :\n\n" + DiagnosticsText(diagnostics));
    return false;
  }
  return true;
}

// The player with the quiz, made and read back in memory.
bool EditorSession::programOf(const QuizPayloads& streams, Bytes& program, std::string& error) {
  Bytes player;
  std::string failure;
  if (host_.playerImage(player) && WriteQuizResources(player, streams, program, failure)) return true;
  error = u8"le lecteur contenu dans Ludex Atelier est abîmé" + (failure.empty() ? "" : " (" + Utf8(failure) + ")") +
          u8" : retéléchargez Ludex Atelier";
  return false;
}

// The name first offered for what the quiz becomes: named after its title,
// beside its source when it has one.
std::string EditorSession::besideSource(const std::string& extension) const {
  return JoinPath(FolderOf(document_.path()), Utf8(QuizFileStem(document_.quiz().title)) + extension);
}

// The author's own name for what was written, or that it was offered for download.
std::string EditorSession::writtenOrOffered(const std::string& path, const std::string& written,
                                            const std::string& offered) {
  return (host_.offersDownload(path) ? offered : written) + path;
}

// A try plays apart from the editor: the program, or in a browser its web
// page beside the editor (whose answers the browser keeps apart).
void EditorSession::tryQuiz() {
  const std::string refusal = u8"Le quiz ne peut pas être essayé";
  QuizPayloads streams;
  if (!packOrRefuse(streams, refusal)) return;
  Bytes program;
  std::string error, page;
  if (host_.showsPages()) {
    if (!MakeQuizPage(host_.pageTemplate(), streams, document_.quiz().title, "essai", page, error)) {
      return tell(Tone::Error, refusal + " : " + Utf8(error) + ".");
    }
    host_.showPage(ShownPage::Try, "essai.html", page);
  } else if (!programOf(streams, program, error)) {
    return tell(Tone::Error, refusal + " : " + error + ".");
  }
  if (!host_.showsPages() && !host_.startTry(program, error)) {
    return tell(Tone::Error, refusal + u8" : le lecteur ne démarre pas (" + error + ").");
  }
  say(u8"Essai lancé : jouez le quiz comme vos élèves le joueront.");
}

void EditorSession::buildProgram() {
  QuizPayloads streams;
  if (!packOrRefuse(streams, u8"Le programme ne peut pas être créé")) return;
  ask(SaveFilePrompt(u8"Créer le programme du quiz", besideSource(".exe"), host_.documentsFolder(),
                     {"Programmes (*.exe)", "*.exe"}, "exe"),
      [this, streams](const Reply& reply) {
        if (reply.answer == Answer::Ok) writeProgram(reply.path, streams);
      });
}

// The program keeps the pupils' answers in a file named after itself: it
// must not be the source that the author goes on editing.
void EditorSession::writeProgram(const std::string& path, const QuizPayloads& streams) {
  const std::string source = document_.path();
  if (!source.empty() && host_.sameFile(AnswersFileOf(path), source)) {
    const std::string clash = AnswersFileClashMessage(ForCore(FileNameOf(path)), ForCore(FileNameOf(source)));
    return tell(Tone::Warning, u8"Le programme ne peut pas être créé : " + Utf8(clash) + ".");
  }
  Bytes program;
  std::string error;
  if (!programOf(streams, program, error) ||
      !host_.writeFile(path, std::string(program.begin(), program.end()), error)) {
    return tell(Tone::Error, u8"Le programme n'a pas pu être créé :\n" + path + "\n\n" + error + ".");
  }
  lastBuilt_ = path;
  say(writtenOrOffered(path, u8"Programme créé : ", u8"Programme proposé au téléchargement : "));
  tell(Tone::Information, writtenOrOffered(path, u8"Le programme du quiz est prêt :\n",
                                           u8"Le programme du quiz est proposé au téléchargement :\n") +
                              u8"\n\nIl contient le lecteur et le quiz : donnez ce seul fichier à vos élèves.");
}

// The quiz as one web page that plays in any browser, offline: the same
// checks and resources as the program, the page template the front end carries.
void EditorSession::buildPage() {
  QuizPayloads streams;
  if (!packOrRefuse(streams, u8"La page web ne peut pas être créée")) return;
  // Beside the program just built, which the page goes with.
  const std::string name = lastBuilt_.empty()
                               ? besideSource(".html")
                               : JoinPath(FolderOf(lastBuilt_), Utf8(QuizFileStem(document_.quiz().title)) + ".html");
  ask(SaveFilePrompt(u8"Créer la page web du quiz", name, host_.documentsFolder(),
                     {"Pages web (*.html)", "*.html"}, "html"),
      [this, streams](const Reply& reply) {
        if (reply.answer == Answer::Ok) writePage(reply.path, streams);
      });
}

void EditorSession::writePage(const std::string& path, const QuizPayloads& streams) {
  std::string page, error;
  if (!MakeQuizPage(host_.pageTemplate(), streams, document_.quiz().title, PageFileStem(FileNameOf(path)), page,
                    error)) {
    error = Utf8(error);
  } else if (host_.writeFile(path, page, error)) {
    say(writtenOrOffered(path, u8"Page web créée : ", u8"Page web proposée au téléchargement : "));
    return tell(Tone::Information,
                writtenOrOffered(path, u8"La page web du quiz est prête :\n",
                                 u8"La page web du quiz est proposée au téléchargement :\n") +
                    u8"\n\nElle se joue dans tout navigateur (ordinateur, tablette, téléphone), sans connexion : "
                    u8"donnez ce seul fichier aux élèves. Leurs réponses restent dans leur navigateur ; « Sauver » "
                    u8"les télécharge.");
  }
  tell(Tone::Error, u8"La page web n'a pas pu être créée :\n" + path + "\n\n" + error + ".");
}

// The quiz for the school's platform (Moodle, Éléa, an ENT): its SCORM
// package, the page that sends the platform each pupil's score and answers.
void EditorSession::buildScorm() {
  QuizPayloads streams;
  if (!packOrRefuse(streams, u8"Le paquet SCORM ne peut pas être créé")) return;
  ask(SaveFilePrompt(u8"Exporter le quiz pour l'ENT (SCORM)", besideSource(".zip"), host_.documentsFolder(),
                     {"Paquets SCORM (*.zip)", "*.zip"}, "zip"),
      [this, streams](const Reply& reply) {
        if (reply.answer == Answer::Ok) writeScorm(reply.path, streams);
      });
}

void EditorSession::writeScorm(const std::string& path, const QuizPayloads& streams) {
  std::string package, error;
  if (!MakeScormPackage(host_.pageTemplate(), streams, document_.quiz().title, package, error)) {
    error = Utf8(error);
  } else if (host_.writeFile(path, package, error)) {
    status_ = writtenOrOffered(path, u8"Paquet SCORM créé : ", u8"Paquet SCORM proposé au téléchargement : ");
    return tell(Tone::Information,
                writtenOrOffered(path, u8"Le paquet SCORM du quiz est prêt :\n",
                                 u8"Le paquet SCORM du quiz est proposé au téléchargement :\n") +
                    u8"\n\nDans Moodle ou Éléa : « Ajouter une activité ou une ressource », « Paquetage SCORM », "
                    u8"puis déposez ce fichier. Le score de chaque élève arrive dans le carnet de notes, et ses "
                    u8"réponses le suivent d'un appareil à l'autre.");
  }
  tell(Tone::Error, u8"Le paquet SCORM n'a pas pu être créé :\n" + path + "\n\n" + error + ".");
}

// The printed pages go beside the source, where the author finds them
// again; for a quiz never saved, or a folder that does not take them, to
// Documents\Ludex. The browser opens them, when the system has one.
void EditorSession::print() {
  const AuthoredQuiz& quiz = document_.quiz();
  const std::string stem = Utf8(QuizFileStem(quiz.title));
  const std::string names[] = {stem + "-feuille-eleve.html", stem + "-corrige.html"};
  const std::string texts[] = {PupilSheetHtml(quiz), AnswerKeyHtml(quiz, metrics_)};
  if (host_.showsPages()) {
    host_.showPage(ShownPage::PupilSheet, names[0], texts[0]);
    host_.showPage(ShownPage::AnswerKey, names[1], texts[1]);
    say(u8"Pages à imprimer : " + QuotedUtf8(names[0]) + " et " + QuotedUtf8(names[1]) +
              u8", à côté du quiz : imprimez-les de là.");
    return;
  }
  const std::string documents = host_.documentsFolder();
  std::string folder, error;
  for (const std::string& candidate :
       {FolderOf(document_.path()), documents.empty() ? std::string() : JoinPath(documents, "Ludex")}) {
    if (candidate.empty()) continue;
    host_.makeFolder(candidate);
    if (host_.writeFile(JoinPath(candidate, names[0]), texts[0], error) &&
        host_.writeFile(JoinPath(candidate, names[1]), texts[1], error)) {
      folder = candidate;
      break;
    }
  }
  if (folder.empty()) return tell(Tone::Error, u8"Les pages à imprimer n'ont pas pu être écrites :\n\n" + error);
  const std::string written = QuotedUtf8(names[0]) + " et " + QuotedUtf8(names[1]) + ", dans " + folder;
  bool opened = host_.openPage(JoinPath(folder, names[0]));
  opened = host_.openPage(JoinPath(folder, names[1])) && opened;
  if (!opened) {
    return tell(Tone::Information, u8"Les pages à imprimer sont écrites : " + written +
                                       u8".\n\nLe navigateur ne les a pas ouvertes : double-cliquez-les dans ce "
                                       u8"dossier pour les imprimer.");
  }
  say(u8"Pages à imprimer : " + written + ". Le navigateur les ouvre ; sinon, double-cliquez-les.");
}

// ---- tables: CSV out, CSV and pasted rows in ----

void EditorSession::exportCsv() {
  ask(SaveFilePrompt("Exporter les questions en CSV", besideSource(".csv"), host_.documentsFolder(), CsvFiles, "csv"),
      [this](const Reply& reply) {
        if (reply.answer != Answer::Ok) return;
        std::string error;
        if (!host_.writeFile(reply.path, WriteCsvTable(document_.quiz()), error)) {
          return tell(Tone::Error,
                      u8"Les questions n'ont pas pu être exportées dans " + QuotedUtf8(reply.path) + " :\n\n" + error);
        }
        say(writtenOrOffered(reply.path, u8"Questions exportées : ", u8"Questions proposées au téléchargement : "));
      });
}

void EditorSession::exportGift() {
  ask(SaveFilePrompt("Exporter les questions pour Moodle (GIFT)", besideSource(".gift"), host_.documentsFolder(),
                     GiftFiles, "gift"),
      [this](const Reply& reply) {
        if (reply.answer != Answer::Ok) return;
        std::vector<std::string> notes;
        const std::string bank = WriteGiftBank(document_.quiz(), notes);
        std::string error;
        if (!host_.writeFile(reply.path, bank, error)) {
          return tell(Tone::Error,
                      u8"Les questions n'ont pas pu être exportées dans " + QuotedUtf8(reply.path) + " :\n\n" + error);
        }
        status_ = writtenOrOffered(reply.path, u8"Questions exportées pour Moodle : ",
                                   u8"Questions pour Moodle proposées au téléchargement : ");
        std::string text = u8"Dans Moodle : Banque de questions, Importer, format GIFT. Les questions y sont à "
                           u8"réponse courte ; les codes de score n'y vont pas.";
        for (const std::string& note : notes) text += "\n\n" + Sentence(note);
        tell(Tone::Information, text);
      });
}

void EditorSession::importCsv() {
  Prompt choice;
  choice.kind = PromptKind::OpenFile;
  choice.text = "Importer des questions (CSV, TSV, GIFT)";
  choice.folder = document_.path().empty() ? host_.documentsFolder() : FolderOf(document_.path());
  choice.filters = {{"Tableaux et banques de questions (*.csv, *.tsv, *.gift, *.txt)", "*.csv;*.tsv;*.gift;*.txt"},
                    CsvFiles,
                    GiftFiles,
                    {"Tous les fichiers", "*.*"}};
  choice.extension = "csv";
  ask(choice, [this](const Reply& reply) {
    if (reply.answer == Answer::Ok) importFile(reply.path);
  });
}

void EditorSession::importPath(const std::string& path) {
  if (pending_ || closed_) return;
  importFile(path);
}

void EditorSession::importFile(const std::string& path) {
  std::string bytes, error;
  const ReadResult read = host_.readFile(path, MaxTableBytes, bytes, error);
  if (read == ReadResult::TooLarge) error = u8"le fichier est trop grand pour un tableau de questions (plus de 1 Mo)";
  if (read != ReadResult::Read) {
    return tell(Tone::Error, QuotedUtf8(FileNameOf(path)) + u8" ne peut pas être importé : " + error + ".");
  }
  addRows(std::make_shared<TableText>(ReadQuestionFile(FileNameOf(path), bytes)), true);
}

void EditorSession::paste(const std::string& utf8) {
  if (pending_ || closed_) return;
  say("");
  if (utf8.empty()) {
    say(u8"Le presse-papiers ne contient pas de texte à coller.");
    return;
  }
  addRows(std::make_shared<TableText>(ReadPastedTable(utf8)), false);
}

// Adds the rows of a table at the selection. A paste whose rows are all
// clean, in columns that cannot be misplaced, goes in at once (undo takes
// it back); an import, or a paste the author should look at, is shown first.
void EditorSession::addRows(std::shared_ptr<TableText> table, bool alwaysPreview) {
  import_.reset(new TableImport{table, ChooseMapping(*table, document_.quiz()), {}});
  import_->switchMode = document_.questionCount() == 0;  // a new quiz takes the mode its rows need
  previewRows();
  if (import_->preview.rows.empty()) {
    std::string text = u8"Aucune question à ajouter.";
    for (const std::string& note : import_->preview.notes) text += "\n\n" + Sentence(note);
    import_.reset();
    return tell(Tone::Information, text);
  }
  if (!alwaysPreview && !import_->preview.needsReview()) return addPreviewRows();
  showPreview();
  Prompt preview;
  preview.kind = PromptKind::Preview;
  preview.text = u8"Questions à ajouter";
  ask(preview, [this](const Reply& reply) {
    if (reply.answer == Answer::Ok) return addPreviewRows();
    import_.reset();
  });
}

// The rows under the mapping and the quiz's settings, the reveal mode offered taken when the author took it.
void EditorSession::previewRows() {
  AuthoredQuiz quiz = document_.quiz();
  const ImportPreview asItIs = PreviewImport(*import_->table, import_->mapping, quiz);
  import_->offeredMode = RevealModeForMapping(asItIs, import_->mapping, quiz);
  if (import_->offeredMode < 0 || !import_->switchMode) {
    import_->preview = asItIs;
    return;
  }
  quiz.revealMode = import_->offeredMode;
  import_->preview = PreviewImport(*import_->table, import_->mapping, quiz);
}

void EditorSession::addPreviewRows() {
  const size_t count = import_->preview.rows.size();
  const std::string mapping = Utf8(MappingText(import_->mapping));
  const int mode = import_->switchMode ? import_->offeredMode : -1;
  if (mode >= 0) document_.setRevealMode(mode);
  const bool added = document_.insertQuestions(insertionRow(), QuestionsOf(import_->preview));
  import_.reset();
  if (!added) return;
  problems_.keepQuiet(false);
  say(Counted(count, u8"question ajoutée", u8"questions ajoutées") +
      ", colonnes lues " + mapping + (mode >= 0 ? u8", mode de révélation " + std::to_string(mode) : "") +
      ". Ctrl+Z les retire.");
}

// The author gives a column another field: the rows are read again.
void EditorSession::chooseColumn(int column, int choice) {
  if (!import_ || choice < 0 || choice >= static_cast<int>(std::size(ColumnChoices))) return;
  ChooseColumn(import_->mapping, column, ColumnChoices[choice]);
  previewRows();
  showPreview();
}

void EditorSession::switchRevealMode(bool on) {
  if (!import_) return;
  import_->switchMode = on;
  previewRows();
  showPreview();
}

void EditorSession::showPreview() {
  const TableText& table = *import_->table;
  const ImportPreview& preview = import_->preview;
  AuthoredQuiz quiz = document_.quiz();  // with the reveal mode the rows would bring
  if (import_->switchMode && import_->offeredMode >= 0) quiz.revealMode = import_->offeredMode;
  PreviewView view;
  const size_t count = preview.rows.size();
  view.summary = Counted(count, u8"question à ajouter", u8"questions à ajouter") + ", colonnes lues " +
                 Utf8(MappingText(import_->mapping)) + ".";
  if (preview.rowsWithErrors > 0) {
    view.summary += " " + Counted(preview.rowsWithErrors, "a une erreur", "ont une erreur") +
                    u8" (en rouge) : vous pourrez les corriger après l'ajout.";
  }
  view.summary += u8" Choisissez le champ où va chaque colonne.";
  for (const std::string& note : preview.notes) view.notes += Sentence(note) + "\n";
  view.columnTitles.push_back("Ligne");
  for (int column = 0; column < table.columnCount; ++column) {
    const size_t k = static_cast<size_t>(column);
    const std::string name = k < table.columnNames.size() ? table.columnNames[k] : "";
    view.columnTitles.push_back("Colonne " + std::to_string(column + 1) + (name.empty() ? "" : " (" + name + ")"));
  }
  view.columnTitles.push_back(u8"Problèmes");
  for (int field : ColumnChoices) {
    const bool unused =
        field != LeftOutColumn && !FieldInUse(static_cast<QuizField>(field), quiz.answersPerQuestion, quiz.revealMode);
    view.choices.push_back(Utf8(ColumnName(field)) + (unused ? u8" (inutilisée)" : ""));
  }
  for (int column = 0; column < table.columnCount; ++column) {
    const int field = import_->mapping.fields[static_cast<size_t>(column)];
    view.chosen.push_back(static_cast<int>(std::find(std::begin(ColumnChoices), std::end(ColumnChoices), field) -
                                           std::begin(ColumnChoices)));
  }
  for (const ImportRow& row : preview.rows) {
    PreviewRowView shown;
    shown.cells.push_back(std::to_string(row.line));
    const std::vector<std::string>& cells = table.rows[row.tableRow].cells;
    for (int column = 0; column < table.columnCount; ++column) {  // as pasted, a character the player lacks too
      std::string cell = column < static_cast<int>(cells.size()) ? cells[static_cast<size_t>(column)] : "";
      for (size_t at = 0; (at = cell.find("\r\n", at)) != std::string::npos;) cell.replace(at, 2, u8" ¶ ");
      shown.cells.push_back(cell);
    }
    shown.cells.push_back(RowProblems(row, " ; "));
    shown.hasError = AnyError(row.problems);
    shown.detail = "Ligne " + std::to_string(row.line) + " : " +
                   (row.problems.empty() ? u8"aucun problème." : RowProblems(row, "\n"));
    view.rows.push_back(shown);
  }
  view.rowsToAdd = static_cast<int>(count);
  view.addButton = "&Ajouter " + std::to_string(count);
  view.focusMapping = !import_->mapping.sure;
  if (import_->offeredMode >= 0) {
    view.revealOffer = u8"Passer le quiz en mode de révélation " + std::to_string(import_->offeredMode) +
                       u8" : le texte de la colonne « révélation » s'affiche quand la question est trouvée";
    view.revealSwitched = import_->switchMode;
  }
  previewView_ = view;
}
