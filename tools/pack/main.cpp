// ludex-pack: checks a quiz source, packs it into a copy of the player or into
// its web page or SCORM package, extracts the source back from a packed player,
// makes a source of a table of questions or a GIFT bank, and writes a quiz as a
// GIFT bank for Moodle.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>
#endif

#include "cp1252.h"
#include "file_paths.h"
#include "file_replacement.h"
#include "french_text.h"
#include "gift_bank.h"
#include "page_template.h"
#include "player_image.h"
#include "quiz_fit.h"
#include "quiz_page.h"
#include "quiz_payloads.h"
#include "quiz_program.h"
#include "quiz_source.h"
#include "scorm_package.h"
#include "table_text.h"

namespace {

const char* const Usage =
    "utilisation :\n"
    "  ludex-pack check SOURCE\n"
    "      lit la source d'un quiz et signale toutes ses erreurs et tous ses avertissements\n"
    "  ludex-pack build SOURCE -o QUIZ.exe [--player LECTEUR.exe]\n"
    "      emballe le quiz dans une copie du lecteur (par défaut le ludex.exe posé à côté\n"
    "      de ludex-pack)\n"
    "  ludex-pack extract QUIZ.exe [-o SOURCE]\n"
    "      écrit la source d'un quiz emballé (sur la sortie standard sans -o)\n"
    "  ludex-pack web SOURCE|QUIZ.exe -o QUIZ.html\n"
    "      écrit la page web du quiz (d'une source ou d'un quiz emballé) : un seul fichier\n"
    "      qui se joue dans tout navigateur, hors ligne, avec les mêmes verdicts\n"
    "  ludex-pack scorm SOURCE|QUIZ.exe -o QUIZ.zip\n"
    "      écrit le paquet SCORM du quiz pour Moodle, Éléa ou l'ENT : la page web qui y envoie\n"
    "      le score de chaque élève et y garde ses réponses\n"
    "  ludex-pack import TABLEAU.csv|TABLEAU.tsv|BANQUE.gift [-o SOURCE] [--colonnes CHAMPS]\n"
    "      fait la source d'un quiz d'un tableau de questions ou d'une banque GIFT de Moodle\n"
    "      (sur la sortie standard sans -o) ; les colonnes sont lues d'après la ligne d'en-tête,\n"
    "      sinon devinées ; --colonnes les donne une à une, séparées par des virgules :\n"
    "      --colonnes \"-,question,réponse,-,révélation\" (« - » laisse une colonne de côté)\n"
    "  ludex-pack export-gift SOURCE|QUIZ.exe -o BANQUE.gift\n"
    "      écrit le quiz en questions à réponse courte au format GIFT, que Moodle importe\n"
    "  ludex-pack --help\n"
    "Le format des sources est décrit dans ecrire-un-quiz.html, la marche à suivre dans\n"
    "LISEZMOI.txt (tous deux à côté de ludex-pack).\n";

// Writes UTF-8 text. A console gets it as UTF-16, which shows every accent
// whatever the console's code page (850 on a French Windows, where the
// Windows-1252 bytes of the messages would come out wrong); a pipe or a file
// gets the UTF-8 bytes, the encoding of the quiz sources.
void WriteOutput(FILE* stream, const std::string& utf8) {
#ifdef _WIN32
  HANDLE handle = GetStdHandle(stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode)) {
    std::fflush(stream);
    const int length = utf8.empty() ? 0 : MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &wide[0], length);
    // Small pieces: old consoles refuse one large write.
    for (size_t done = 0; done < wide.size();) {
      DWORD piece = static_cast<DWORD>(std::min<size_t>(wide.size() - done, 8192));
      if (piece < wide.size() - done && IS_HIGH_SURROGATE(wide[done + piece - 1])) --piece;
      DWORD written = 0;
      if (!WriteConsoleW(handle, wide.data() + done, piece, &written, nullptr) || written == 0) break;
      done += written;
    }
    return;
  }
#endif
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

// One line of the tool's own words, in Windows-1252 (what the command line
// gave goes through PathInMessage first).
void Say(FILE* stream, const std::string& line) { WriteOutput(stream, Utf8FromCp1252(line + "\n")); }

// A size as an author reads it: "4 Mo", "350 Ko".
std::string SizeText(size_t bytes) {
  return bytes >= (1u << 20) ? std::to_string(bytes >> 20) + " Mo" : std::to_string((bytes + 1023) >> 10) + " Ko";
}

std::string TooLarge(const std::string& what, const std::string& path, size_t limit) {
  return what + PathInMessage(path) + " fait plus de " + SizeText(limit);
}

// Reads a whole file of at most limit bytes; what names it in the messages.
bool ReadWholeFile(const std::string& path, size_t limit, const std::string& what, Bytes& bytes, std::string& error) {
  bytes.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = "impossible de lire " + what + PathInMessage(path);
    return false;
  }
  uint8_t chunk[1 << 16];
  size_t got = 0;
  bool tooLarge = false;
  while (!tooLarge && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    tooLarge = got > limit - bytes.size();
    if (!tooLarge) bytes.insert(bytes.end(), chunk, chunk + got);
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (tooLarge) {
    error = TooLarge(what, path, limit);
  } else if (failed) {
    error = "impossible de lire " + what + PathInMessage(path);
  }
  return !tooLarge && !failed;
}

// Writes through a temporary file in the same folder, so a failure never
// leaves a half-written file behind.
bool WriteFileSafely(const std::string& path, const void* data, size_t size, std::string& error) {
  const bool ok = ReplaceFileContent(path, data, size);
  if (!ok) error = "impossible d'écrire " + PathInMessage(path);
  return ok;
}

void Print(const Diagnostics& diagnostics) {
  for (const Diagnostic& d : diagnostics.items) Say(stderr, diagnostics.format(d));
}

// "3 erreurs, 1 avertissement": the last line of a check that failed.
std::string CountsText(size_t errors, size_t warnings) {
  return Counted(errors, "erreur", "erreurs") + ", " + Counted(warnings, "avertissement", "avertissements");
}

void SayCounts(const std::string& path, const Diagnostics& diagnostics) {
  const size_t errors = diagnostics.errorCount();
  Say(stderr, PathInMessage(path) + ": " + CountsText(errors, diagnostics.items.size() - errors));
}

int Fail(const std::string& message) {
  Say(stderr, "ludex-pack: " + message);
  return 1;
}

// The player's fonts as this system draws them, to warn about texts it will
// cut; a conservative table where there is no Windows to ask.
const PlayerMetrics& ToolMetrics() {
#ifdef _WIN32
  static const PlayerMetrics metrics = MeasurePlayerMetrics();
  return metrics;
#else
  return ConservativeMetrics();
#endif
}

// Whether a file that is no source is a table of questions or a GIFT bank,
// by its name or by its content: rows of as many cells, two at least.
bool LooksLikeQuestionFile(const std::string& path, const std::string& bytes) {
  if (QuestionFileKindOf(path, bytes) != QuestionFileKind::NotQuestions) return true;
  const TableText table = ReadCsvTable(bytes);
  if (table.rows.size() < 2 || table.columnCount < 2) return false;
  size_t even = 0;
  for (const TableRow& row : table.rows) even += row.cellCount == table.columnCount;
  return 4 * even >= 3 * table.rows.size();
}

std::string NotASourceHint(const std::string& path, const std::string& bytes) {
  const bool gift = QuestionFileKindOf(path, bytes) == QuestionFileKind::Gift;
  return std::string(gift ? "c'est une banque de questions GIFT (Moodle)" : "c'est un tableau de questions") +
         ", pas une source de quiz : « ludex-pack import " + PathInMessage(path) +
         " -o quiz.txt » en fait une source ; Ludex Atelier l'ouvre aussi (Fichier > Ouvrir, ou Fichier > "
         "Importer des questions pour l'ajouter au quiz ouvert)";
}

// Parses and compresses a source's bytes; prints what it found, with the
// counts when it found an error.
bool PackSourceBytes(const std::string& sourcePath, const Bytes& bytes, AuthoredQuiz& quiz, QuizPayloads& streams) {
  Diagnostics diagnostics;
  diagnostics.fileName = PathInMessage(sourcePath);
  const std::string source(bytes.begin(), bytes.end());
  bool ok = QuestionFileKindOf(sourcePath, source) == QuestionFileKind::NotQuestions &&
            ParseQuizSource(source, quiz, diagnostics, &ToolMetrics());
  // A table or a bank read as a source gives an error a line: one sentence says what reads it instead.
  if (!ok && quiz.questions.empty() && LooksLikeQuestionFile(sourcePath, source)) {
    diagnostics.items.clear();
    diagnostics.error(0, NotASourceHint(sourcePath, source));
  }
  if (ok) ok = PackQuiz(quiz, streams, diagnostics);
  std::stable_sort(diagnostics.items.begin(), diagnostics.items.end(),  // in the order of the lines, the file first
                   [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
  Print(diagnostics);
  if (!ok) SayCounts(sourcePath, diagnostics);
  return ok;
}

// Reads, parses and compresses a source; prints what it found.
bool PackSource(const std::string& sourcePath, AuthoredQuiz& quiz, QuizPayloads& streams) {
  Bytes bytes;
  std::string error;
  if (!ReadWholeFile(sourcePath, MaxSourceBytes, "", bytes, error)) {
    Fail(error);
    return false;
  }
  return PackSourceBytes(sourcePath, bytes, quiz, streams);
}

// This program's own file: Windows says it; elsewhere argv[0], looked up in
// PATH when it holds no folder, with its links followed.
std::string OwnPath(const char* argv0) {
#ifdef _WIN32
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(path) : std::string(argv0);
#else
  std::string self = argv0;
  const char* const searched = std::getenv("PATH");
  for (std::string path = searched && self.find('/') == std::string::npos ? searched : ""; !path.empty();) {
    const size_t colon = path.find(':');
    const std::string candidate = path.substr(0, colon) + "/" + argv0;
    path = colon == std::string::npos ? "" : path.substr(colon + 1);
    if (access(candidate.c_str(), X_OK) == 0) {
      self = candidate;
      break;
    }
  }
  char resolved[PATH_MAX];
  return realpath(self.c_str(), resolved) != nullptr ? std::string(resolved) : self;
#endif
}

// The player beside this program, as the release archives place it.
std::string DefaultPlayer(const char* argv0) {
  const std::string self = OwnPath(argv0);
  const size_t slash = self.find_last_of("/\\");
  return (slash == std::string::npos ? "" : self.substr(0, slash + 1)) + "ludex.exe";
}

// A file name as plain ASCII, for the comment at the top of an extracted source.
std::string AsciiBaseName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
  }
  return name;
}

int Check(const std::string& sourcePath) {
  AuthoredQuiz quiz;
  QuizPayloads streams;
  if (!PackSource(sourcePath, quiz, streams)) return 1;
  Say(stdout, PathInMessage(sourcePath) + ": " + Counted(quiz.questions.size(), "question", "questions") +
                  ", sans erreur ; le quiz remplit " + std::to_string(RoomTakenPercent(quiz, streams)) +
                  " % de la place que lui laisse le lecteur");
  return 0;
}

int Build(const std::string& sourcePath, const std::string& outputPath, const std::string& playerPath,
          bool playerGiven) {
  AuthoredQuiz quiz;
  QuizPayloads streams;
  if (!PackSource(sourcePath, quiz, streams)) return 1;
  const std::string clash = AnswersFileClash(sourcePath, outputPath);
  if (!clash.empty()) return Fail(clash);
  Bytes player, program;
  std::string error;
  if (!ReadWholeFile(playerPath, MaxProgramBytes, "le lecteur ", player, error)) {
    return Fail(error + (playerGiven ? "" : " (posez ludex.exe à côté de ludex-pack, ou donnez-le avec --player)"));
  }
  if (!WriteQuizResources(player, streams, program, error)) return Fail(PathInMessage(playerPath) + ": " + error);
  if (!WriteFileSafely(outputPath, program.data(), program.size(), error)) return Fail(error);
  const size_t count = quiz.questions.size();
  Say(stdout, PathInMessage(sourcePath) + ": " + Counted(count, "question emballée", "questions emballées") + " dans " +
                  PathInMessage(outputPath));
  return 0;
}

// The quiz of a built program as the player reads it; false after saying
// why it cannot be read.
bool ReadProgramQuiz(const std::string& programPath, const Bytes& program, BuiltQuiz& built) {
  std::string error;
  built.diagnostics.fileName = PathInMessage(programPath);
  switch (ReadBuiltQuiz(program, built, error)) {
    case BuiltQuizRead::Read: return true;
    case BuiltQuizRead::Undecodable: Print(built.diagnostics); return false;
    default: Fail(PathInMessage(programPath) + ": " + error); return false;
  }
}

int Extract(const std::string& programPath, const std::string& outputPath) {
  Bytes program;
  std::string error;
  if (!ReadWholeFile(programPath, MaxProgramBytes, "", program, error)) return Fail(error);
  BuiltQuiz built;
  if (!ReadProgramQuiz(programPath, program, built)) return 1;
  const AuthoredQuiz& quiz = built.quiz;
  const bool whole = built.whole;
  // A damaged quiz is still written out as the player plays it, so that
  // nothing is lost; the errors say what the player cut or filled in.
  if (whole) {
    const QuizPayloads again = EncodePayloads(quiz);
    if (again.quiz != built.payloads.quiz || again.codes != built.payloads.codes) {
      built.diagnostics.warning(0,
                                "ce quiz n'a pas été emballé par ludex-pack : la source extraite, emballée à son tour, "
                                "donne un quiz qui se joue de la même façon mais n'est pas écrit tout à fait pareil");
    }
  }
  Print(built.diagnostics);
  const std::string source = WriteQuizSource(quiz, "Extrait de " + AsciiBaseName(programPath) + " par ludex-pack.");
  if (outputPath.empty()) {
    WriteOutput(stdout, source);
    return std::fflush(stdout) == 0 && whole ? 0 : 1;
  }
  if (!WriteFileSafely(outputPath, source.data(), source.size(), error)) return Fail(error);
  Say(stdout, PathInMessage(programPath) + ": source de " + Counted(quiz.questions.size(), "question", "questions") +
                  " écrite dans " + PathInMessage(outputPath));
  return whole ? 0 : 1;
}

// The quiz of a source or of a built program, which web and export-gift
// take alike; false after saying why there is none.
bool ReadSourceOrProgram(const std::string& inputPath, BuiltQuiz& built) {
  Bytes bytes;
  std::string error;
  if (!ReadWholeFile(inputPath, MaxProgramBytes, "", bytes, error)) {
    Fail(error);
    return false;
  }
  const std::string head(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 2));
  if (IsProgramFile(head)) {
    if (!ReadProgramQuiz(inputPath, bytes, built)) return false;
    Print(built.diagnostics);
    return true;
  }
  if (bytes.size() > MaxSourceBytes) {
    Fail(TooLarge("", inputPath, MaxSourceBytes));
    return false;
  }
  return PackSourceBytes(inputPath, bytes, built.quiz, built.streams);
}

int Web(const std::string& inputPath, const std::string& outputPath) {
  BuiltQuiz built;
  std::string error;
  if (!ReadSourceOrProgram(inputPath, built)) return 1;
  std::string stem = PageFileStem(outputPath);
#ifdef _WIN32
  stem = Utf8FromCp1252(stem);  // the command line comes in the ANSI code page
#endif
  std::string page;
  if (!MakeQuizPage(BuiltPageTemplate(), built.streams, built.quiz.title, stem, page, error)) return Fail(error);
  if (!WriteFileSafely(outputPath, page.data(), page.size(), error)) return Fail(error);
  Say(stdout, PathInMessage(inputPath) + ": page web écrite dans " + PathInMessage(outputPath) + " (" +
                  SizeText(page.size()) + ") ; elle se joue dans tout navigateur, sans réseau");
  return 0;
}

int Scorm(const std::string& inputPath, const std::string& outputPath) {
  BuiltQuiz built;
  if (!ReadSourceOrProgram(inputPath, built)) return 1;
  std::string package, error;
  if (!MakeScormPackage(BuiltPageTemplate(), built.streams, built.quiz.title, package, error)) return Fail(error);
  if (!WriteFileSafely(outputPath, package.data(), package.size(), error)) return Fail(error);
  Say(stdout, PathInMessage(inputPath) + ": paquet SCORM écrit dans " + PathInMessage(outputPath) + " (" +
                  SizeText(package.size()) + ") ; dans Moodle ou Éléa, ajoutez une activité « Paquetage SCORM » "
                  "et déposez-y ce fichier");
  return 0;
}

// The file's name without its folder and extension: the title of a quiz made of it.
std::string FileStem(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// A row's problems as "file:line: erreur: « réponse » : message".
void AddRowProblems(const ImportRow& row, Diagnostics& diagnostics) {
  for (const QuizProblem& problem : row.problems) {
    const std::string text = (problem.field >= 0 ? "\xAB " + ColumnName(problem.field) + " \xBB : " : "") + problem.message;
    if (problem.isError)
      diagnostics.error(row.line, text);
    else
      diagnostics.warning(row.line, text);
  }
}

// The rows of a table or a bank as a new quiz, its settings those its columns need.
int Import(const std::string& inputPath, const std::string& outputPath, const std::string& columns) {
  Bytes bytes;
  std::string error;
  if (!ReadWholeFile(inputPath, MaxTableBytes, "", bytes, error)) return Fail(error);
  const std::string text(bytes.begin(), bytes.end());
  const TableText table = QuestionFileKindOf(inputPath, text) == QuestionFileKind::Gift ? ReadGiftBank(text)
                                                                                         : ReadCsvTable(text);
  AuthoredQuiz quiz;
  quiz.title = PathInMessage(FileStem(inputPath));
  ColumnMapping mapping = ChooseMapping(table, quiz);
  std::string unknown;
  if (!columns.empty() && !ParseMapping(columns, mapping, unknown)) {
    return Fail("--colonnes : \xAB " + Cp1252FromUtf8Lossy(unknown) +
                " \xBB n'est pas un champ (question, r\xE9ponse, accept\xE9" "es aussi, r\xE9ponse 2, "
                "r\xE9v\xE9lation, r\xE9v\xE9lation 2, code, ou - pour laisser la colonne de c\xF4t\xE9)");
  }
  AdoptMappingSettings(PreviewImport(table, mapping, quiz), mapping, quiz);
  const ImportPreview preview = PreviewImport(table, mapping, quiz);
  Diagnostics diagnostics;
  diagnostics.fileName = PathInMessage(inputPath);
  for (const std::string& note : preview.notes) diagnostics.warning(0, note);
  for (const ImportRow& row : preview.rows) AddRowProblems(row, diagnostics);
  Print(diagnostics);
  const std::string read = "colonnes lues " + MappingText(mapping) +
                           (columns.empty() && table.headerRow ? "" : " (--colonnes les donne autrement)");
  if (preview.rows.empty()) {
    SayCounts(inputPath, diagnostics);
    return Fail(PathInMessage(inputPath) + ": aucune question \xE0 importer, " + read);
  }
  quiz.questions = QuestionsOf(preview);
  const std::string source = WriteQuizSource(quiz, Utf8FromCp1252("Import\xE9 de ") + AsciiBaseName(inputPath) + " par ludex-pack.");
  if (outputPath.empty()) {
    WriteOutput(stdout, source);
  } else if (!WriteFileSafely(outputPath, source.data(), source.size(), error)) {
    return Fail(error);
  }
  Say(stderr, PathInMessage(inputPath) + ": " + Counted(quiz.questions.size(), "question import\xE9" "e", "questions import\xE9" "es") +
                  (outputPath.empty() ? "" : " dans " + PathInMessage(outputPath)) + ", " + read);
  if (!diagnostics.hasErrors()) return 0;
  SayCounts(inputPath, diagnostics);
  return 1;
}

int ExportGift(const std::string& inputPath, const std::string& outputPath) {
  BuiltQuiz built;
  std::string error;
  if (!ReadSourceOrProgram(inputPath, built)) return 1;
  std::vector<std::string> notes;
  const std::string bank = WriteGiftBank(built.quiz, notes);
  for (const std::string& note : notes) Say(stderr, PathInMessage(inputPath) + ": avertissement: " + note);
  if (!WriteFileSafely(outputPath, bank.data(), bank.size(), error)) return Fail(error);
  Say(stdout, PathInMessage(inputPath) + ": banque GIFT \xE9" "crite dans " + PathInMessage(outputPath) +
                  " ; Moodle l'importe en questions \xE0 r\xE9ponse courte (Banque de questions > Importer > "
                  "format GIFT)");
  return 0;
}

// What the command line asks for.
struct Arguments {
  std::string command, input, output, player, columns;
};

// The options after the command; an exit code when one is wrong, else -1.
int ReadOptions(int argc, char** argv, Arguments& a) {
  for (int i = 2; i < argc; ++i) {
    const std::string argument = argv[i];
    if ((argument == "-o" || argument == "--player" || argument == "--colonnes") && i + 1 < argc) {
      (argument == "-o" ? a.output : argument == "--player" ? a.player : a.columns) = argv[++i];
    } else if (!argument.empty() && argument[0] == '-') {
      return Fail("option inconnue " + PathInMessage(argument) + " (voir ludex-pack --help)");
    } else if (a.input.empty()) {
      a.input = argument;
    } else {
      return Fail("argument en trop " + PathInMessage(argument) + " (voir ludex-pack --help)");
    }
  }
  if (a.input.empty()) return Fail(PathInMessage(a.command) + " : quel fichier ? (voir ludex-pack --help)");
  if (!a.columns.empty() && a.command != "import") return Fail("seul import prend --colonnes");
  return -1;
}

int RunCommand(Arguments& a, const char* program) {
  const std::string& command = a.command;
  if (command == "import") {
    if (!a.player.empty()) return Fail("import ne prend pas --player");
#ifdef _WIN32
    a.columns = Utf8FromCp1252(a.columns);  // the command line comes in the ANSI code page
#endif
    return Import(a.input, a.output, a.columns);
  }
  if (command == "check") {
    if (!a.output.empty() || !a.player.empty()) return Fail("check ne prend que la source");
    return Check(a.input);
  }
  if (command == "build") {
    if (a.output.empty()) return Fail("build demande -o QUIZ.exe");
    return Build(a.input, a.output, a.player.empty() ? DefaultPlayer(program) : a.player, !a.player.empty());
  }
  // The commands that take a source or a program, and nothing else.
  const struct {
    const char *name, *output;
    int (*run)(const std::string&, const std::string&);
  } simple[] = {{"export-gift", "BANQUE.gift", ExportGift}, {"web", "QUIZ.html", Web}, {"scorm", "QUIZ.zip", Scorm},
                {"extract", nullptr, Extract}};
  for (const auto& c : simple) {
    if (command != c.name) continue;
    if (!a.player.empty()) return Fail(command + " ne prend pas --player");
    if (c.output != nullptr && a.output.empty()) return Fail(command + " demande -o " + c.output);
    return c.run(a.input, a.output);
  }
  return Fail("commande inconnue " + PathInMessage(command) + " (voir ludex-pack --help)");
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The source goes out with LF line ends, byte for byte.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  if (argc < 2) {
    WriteOutput(stderr, Utf8FromCp1252(Usage));
    return 2;
  }
  Arguments arguments;
  arguments.command = argv[1];
  if (arguments.command == "--help" || arguments.command == "-h" || arguments.command == "help") {
    WriteOutput(stdout, Utf8FromCp1252(Usage));
    return 0;
  }
  const int failed = ReadOptions(argc, argv, arguments);
  return failed >= 0 ? failed : RunCommand(arguments, argv[0]);
}
