// Fuzzes the editor session on whatever a teacher may open or paste: the
// bytes after the first are opened as a source, a program, a web page or a
// CSV file, or imported as one (the first byte chooses, and whether the
// host is a browser), then pasted as rows and typed into fields, and the quiz is tried, built and
// saved, every question the session asks answered as a hasty author would. Nothing may crash or read past a buffer, and no
// question may be left waiting.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fake_host.h"

namespace {

// Yes to every question, the file asked for, "do not save" before new work.
void AnswerEverything(Scene& scene, const std::string& path) {
  for (int asked = 0; const Prompt* prompt = scene.session().prompt(); ++asked) {
    if (asked > 100) std::abort();  // a flow that never ends
    switch (prompt->kind) {
      case PromptKind::OpenFile: scene.session().reply(Chose(path)); break;
      case PromptKind::SaveFile: scene.session().reply(Chose("/docs/sortie." + prompt->extension)); break;
      case PromptKind::YesNo: scene.session().reply(Pressed(Answer::Yes)); break;
      case PromptKind::SaveChanges: scene.session().reply(Pressed(Answer::No)); break;
      default: scene.session().reply(Pressed(Answer::Ok)); break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const char* const names[] = {"/docs/quiz.txt", "/docs/quiz.exe", "/docs/questions.csv", "/docs/quiz.html"};
  const std::string path = names[data[0] % 4];
  Scene scene;
  scene.host.browser = data[0] & 4;
  scene.host.put(path, bytes);
  scene.session().startUp("");
  if (data[0] % 4 == 2 && (data[0] & 8)) {
    scene.session().runCommand(Command::ImportCsv);
  } else {
    scene.session().openPath(path);
  }
  AnswerEverything(scene, path);
  scene.session().paste(bytes);
  AnswerEverything(scene, path);
  // Typed into a field: what the player cannot show spelled, listed, undone.
  scene.session().runCommand(Command::Add);
  scene.session().typeInto(QuizField::Question, bytes);
  scene.session().typeInto(QuizField::Title, bytes.substr(bytes.size() / 2));
  scene.session().problems();
  scene.session().runCommand(Command::Undo);
  for (Command command : {Command::Try, Command::Build, Command::Save, Command::Print}) {
    scene.session().runCommand(command);
    AnswerEverything(scene, path);
  }
  scene.session().problems();
  if (scene.session().sizeCheckDue()) scene.session().checkSizes();
  return 0;
}
