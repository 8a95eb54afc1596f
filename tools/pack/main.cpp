// ludex-pack: checks a quiz source, packs it into a copy of the player, and
// extracts the source back from a packed player.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include "cp1252.h"
#include "file_replacement.h"
#include "pe_file.h"
#include "quiz_fit.h"
#include "quiz_payloads.h"
#include "quiz_resources.h"
#include "quiz_source.h"

namespace {

const char* const Usage =
    "utilisation :\n"
    "  ludex-pack check SOURCE\n"
    "      lit la source d'un quiz et signale toutes ses erreurs et tous ses avertissements\n"
    "  ludex-pack build SOURCE -o QUIZ.exe [--player LECTEUR.exe]\n"
    "      emballe le quiz dans une copie du lecteur (par défaut build/windows/ludex.exe,\n"
    "      sinon le ludex.exe posé à côté de ludex-pack)\n"
    "  ludex-pack extract QUIZ.exe [-o SOURCE]\n"
    "      écrit la source d'un quiz emballé (sur la sortie standard sans -o)\n"
    "  ludex-pack --help\n"
    "Le format des sources est décrit dans docs/quiz-format.md.\n";

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

// One line of the tool's own words (Windows-1252, like the file names from the command line).
void Say(FILE* stream, const std::string& line) { WriteOutput(stream, Utf8FromCp1252(line + "\n")); }

std::string Plural(size_t count, const char* word, const char* words) {
  return std::to_string(count) + " " + (count > 1 ? words : word);
}

bool ReadWholeFile(const std::string& path, Bytes& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool Exists(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return static_cast<bool>(in);
}

// Writes through a temporary file in the same folder, so a failure never
// leaves a half-written file behind.
bool WriteFileSafely(const std::string& path, const std::string& text, std::string& error) {
  const bool ok = ReplaceFileContent(path, text.data(), text.size());
  if (!ok) error = "impossible d'écrire " + path;
  return ok;
}

void Print(const Diagnostics& diagnostics) {
  for (const Diagnostic& d : diagnostics.items) Say(stderr, diagnostics.format(d));
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

// Reads, parses and compresses a source; prints what it found.
bool PackSource(const std::string& sourcePath, AuthoredQuiz& quiz, QuizPayloads& streams) {
  Diagnostics diagnostics;
  diagnostics.fileName = sourcePath;
  Bytes bytes;
  if (!ReadWholeFile(sourcePath, bytes)) {
    Say(stderr, "ludex-pack: impossible de lire " + sourcePath);
    return false;
  }
  const std::string source(bytes.begin(), bytes.end());
  bool ok = ParseQuizSource(source, quiz, diagnostics, &ToolMetrics());
  if (ok) ok = CompressPayloads(EncodePayloads(quiz), streams, diagnostics);
  std::stable_sort(diagnostics.items.begin(), diagnostics.items.end(),  // in the order of the lines, the file first
                   [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
  Print(diagnostics);
  return ok;
}

std::string DefaultPlayer(const char* self) {
  const std::string inBuild = "build/windows/ludex.exe";
  if (Exists(inBuild)) return inBuild;
  std::string beside = self;
  const size_t slash = beside.find_last_of("/\\");
  beside = slash == std::string::npos ? "" : beside.substr(0, slash + 1);
  return beside + "ludex.exe";
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
  Say(stdout, sourcePath + ": " + Plural(quiz.questions.size(), "question", "questions") + " ; une fois compressés, " +
                  "le quiz fait " + Plural(streams.quiz.size(), "octet", "octets") + " et les codes " +
                  Plural(streams.codes.size(), "octet", "octets"));
  return 0;
}

int Build(const std::string& sourcePath, const std::string& outputPath, const std::string& playerPath) {
  AuthoredQuiz quiz;
  QuizPayloads streams;
  if (!PackSource(sourcePath, quiz, streams)) return 1;
  const std::string clash = AnswersFileClash(sourcePath, outputPath);
  if (!clash.empty()) return Fail(clash);
  Bytes player;
  if (!ReadWholeFile(playerPath, player)) return Fail("impossible de lire le lecteur " + playerPath);
  const std::string problem = PlayerImageProblem(player);
  if (!problem.empty()) return Fail(playerPath + ": " + problem);
  std::string error;
  if (!WriteQuizResources(player, outputPath, streams, error)) return Fail(outputPath + ": " + error);
  const size_t count = quiz.questions.size();
  Say(stdout, sourcePath + ": " + Plural(count, "question emballée", "questions emballées") + " dans " + outputPath);
  return 0;
}

int Extract(const std::string& programPath, const std::string& outputPath) {
  QuizPayloads streams;
  std::string error;
  if (!ReadQuizResources(programPath, streams, error)) return Fail(programPath + ": " + error);
  Diagnostics diagnostics;
  diagnostics.fileName = programPath;
  QuizPayloads payloads;
  if (!DecompressStreams(streams, payloads, diagnostics)) {
    Print(diagnostics);
    return 1;
  }
  // A damaged quiz is still written out as the player plays it, so that
  // nothing is lost; the errors say what the player cut or filled in.
  AuthoredQuiz quiz;
  const bool whole = DecodePayloads(payloads.quiz, payloads.codes, quiz, diagnostics);
  if (whole) {
    const QuizPayloads again = EncodePayloads(quiz);
    if (again.quiz != payloads.quiz || again.codes != payloads.codes) {
      diagnostics.warning(0,
                          "ce quiz n'a pas été emballé par ludex-pack : la source extraite, emballée à son tour, "
                          "donne des ressources qui se jouent de la même façon mais diffèrent de quelques octets");
    }
  }
  Print(diagnostics);
  const std::string source = WriteQuizSource(quiz, "Extrait de " + AsciiBaseName(programPath) + " par ludex-pack.");
  if (outputPath.empty()) {
    WriteOutput(stdout, source);
    return std::fflush(stdout) == 0 && whole ? 0 : 1;
  }
  if (!WriteFileSafely(outputPath, source, error)) return Fail(error);
  Say(stdout, programPath + ": source de " + Plural(quiz.questions.size(), "question", "questions") + " écrite dans " +
                  outputPath);
  return whole ? 0 : 1;
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
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    WriteOutput(stdout, Utf8FromCp1252(Usage));
    return 0;
  }
  std::string input, output, player;
  for (int i = 2; i < argc; ++i) {
    const std::string argument = argv[i];
    if ((argument == "-o" || argument == "--player") && i + 1 < argc) {
      (argument == "-o" ? output : player) = argv[++i];
    } else if (!argument.empty() && argument[0] == '-') {
      return Fail("option inconnue " + argument + " (voir ludex-pack --help)");
    } else if (input.empty()) {
      input = argument;
    } else {
      return Fail("argument en trop " + argument + " (voir ludex-pack --help)");
    }
  }
  if (input.empty()) return Fail(command + " : quel fichier ? (voir ludex-pack --help)");
  if (command == "check") {
    if (!output.empty() || !player.empty()) return Fail("check ne prend que la source");
    return Check(input);
  }
  if (command == "build") {
    if (output.empty()) return Fail("build demande -o QUIZ.exe");
    return Build(input, output, player.empty() ? DefaultPlayer(argv[0]) : player);
  }
  if (command == "extract") {
    if (!player.empty()) return Fail("extract ne prend pas --player");
    return Extract(input, output);
  }
  return Fail("commande inconnue " + command + " (voir ludex-pack --help)");
}
