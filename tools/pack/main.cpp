// ludex-pack: checks a quiz source, packs it into a copy of the player, and
// extracts the source back from a packed player.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "file_replacement.h"
#include "pe_file.h"
#include "quiz_payloads.h"
#include "quiz_resources.h"
#include "quiz_source.h"

namespace {

const char* const Usage =
    "usage:\n"
    "  ludex-pack check SOURCE\n"
    "      reads a quiz source and reports every error and warning\n"
    "  ludex-pack build SOURCE -o QUIZ.exe [--player PLAYER.exe]\n"
    "      packs the quiz into a copy of the player (default: build/windows/ludex.exe,\n"
    "      else ludex.exe beside ludex-pack)\n"
    "  ludex-pack extract QUIZ.exe [-o SOURCE]\n"
    "      writes the source of a packed quiz (to the standard output without -o)\n"
    "  ludex-pack --help\n"
    "The source format is described in docs/quiz-format.md.\n";

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
  if (!ok) error = "cannot write " + path;
  return ok;
}

void Print(const Diagnostics& diagnostics) {
  for (const Diagnostic& d : diagnostics.items) std::fprintf(stderr, "%s\n", diagnostics.format(d).c_str());
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "ludex-pack: %s\n", message.c_str());
  return 1;
}

// Reads, parses and compresses a source; prints what it found.
bool PackSource(const std::string& sourcePath, AuthoredQuiz& quiz, QuizPayloads& streams) {
  Diagnostics diagnostics;
  diagnostics.fileName = sourcePath;
  Bytes bytes;
  if (!ReadWholeFile(sourcePath, bytes)) {
    std::fprintf(stderr, "ludex-pack: cannot read %s\n", sourcePath.c_str());
    return false;
  }
  const std::string source(bytes.begin(), bytes.end());
  bool ok = ParseQuizSource(source, quiz, diagnostics);
  if (ok) ok = CompressPayloads(EncodePayloads(quiz), streams, diagnostics);
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
  std::printf("%s: %zu questions, quiz %zu bytes and codes %zu bytes once compressed\n", sourcePath.c_str(),
              quiz.questions.size(), streams.quiz.size(), streams.codes.size());
  return 0;
}

int Build(const std::string& sourcePath, const std::string& outputPath, const std::string& playerPath) {
  AuthoredQuiz quiz;
  QuizPayloads streams;
  if (!PackSource(sourcePath, quiz, streams)) return 1;
  Bytes player;
  if (!ReadWholeFile(playerPath, player)) return Fail("cannot read the player " + playerPath);
  const std::string problem = PlayerImageProblem(player);
  if (!problem.empty()) return Fail(playerPath + ": " + problem);
  std::string error;
  if (!WriteQuizResources(player, outputPath, streams, error)) return Fail(outputPath + ": " + error);
  std::printf("%s: %zu questions packed into %s\n", sourcePath.c_str(), quiz.questions.size(), outputPath.c_str());
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
      diagnostics.warning(0, "this quiz was not packed by ludex-pack: building the extracted source gives "
                             "resources that play the same but differ in some bytes");
    }
  }
  Print(diagnostics);
  const std::string source = WriteQuizSource(quiz, "Extrait de " + AsciiBaseName(programPath) + " par ludex-pack.");
  if (outputPath.empty()) {
    std::fwrite(source.data(), 1, source.size(), stdout);
    return std::fflush(stdout) == 0 && whole ? 0 : 1;
  }
  if (!WriteFileSafely(outputPath, source, error)) return Fail(error);
  return whole ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The source goes out with LF line ends, byte for byte.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  if (argc < 2) {
    std::fputs(Usage, stderr);
    return 2;
  }
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(Usage, stdout);
    return 0;
  }
  std::string input, output, player;
  for (int i = 2; i < argc; ++i) {
    const std::string argument = argv[i];
    if ((argument == "-o" || argument == "--player") && i + 1 < argc) {
      (argument == "-o" ? output : player) = argv[++i];
    } else if (!argument.empty() && argument[0] == '-') {
      return Fail("unknown option " + argument + " (see ludex-pack --help)");
    } else if (input.empty()) {
      input = argument;
    } else {
      return Fail("unexpected argument " + argument + " (see ludex-pack --help)");
    }
  }
  if (input.empty()) return Fail(command + ": which file? (see ludex-pack --help)");
  if (command == "check") {
    if (!output.empty() || !player.empty()) return Fail("check takes only the source");
    return Check(input);
  }
  if (command == "build") {
    if (output.empty()) return Fail("build needs -o QUIZ.exe");
    return Build(input, output, player.empty() ? DefaultPlayer(argv[0]) : player);
  }
  if (command == "extract") {
    if (!player.empty()) return Fail("extract takes no --player");
    return Extract(input, output);
  }
  return Fail("unknown command " + command + " (see ludex-pack --help)");
}
