// The editor session driven as a front end would, through a host whose files
// live in memory, for the native scenario tests. The author's answers to the
// session's prompts are planned in advance and given in order; every prompt
// seen is kept.
#pragma once
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "editor_session.h"
#include "memory_files.h"

// The hosts a session runs on: Windows, with its folders; a browser that
// keeps no folder: it offers what the author saves for download, shows the
// try and the printed pages beside the editor, and keeps no copy.
enum class Flavour { Windows, Browser };

class FakeHost : public EditorHost {
 public:
  MemoryFiles files;
  std::set<std::string> held;          // locks this editor holds
  std::set<std::string> heldByOthers;  // locks another running editor holds
  std::set<std::string> unwritable;    // paths whose writing fails
  std::set<std::string> huge;          // paths of files larger than any limit
  std::set<std::string> later;         // paths whose writing ends after the call, as a browser's in place
  std::vector<std::string> opened;     // pages opened
  std::vector<Bytes> tries;            // programs tried
  Bytes player;                        // the player programs are built from
  bool pagesOpen = true;
  bool triesStart = true;
  bool browser = false;                                   // offers what the author saves, shows pages
  bool copiesKept = true;                                 // the settings folder outlasts the editor
  std::string documents = "/docs";
  std::vector<std::pair<ShownPage, std::string>> shown;  // pages shown beside the editor, with their names
  int64_t clock = 100;

  void become(Flavour flavour) {
    browser = flavour == Flavour::Browser;
    copiesKept = !browser;
    documents = browser ? "" : "/docs";
  }
  void put(const std::string& path, const std::string& bytes) { files.put(path, bytes, ++clock); }
  bool has(const std::string& path) const { return files.has(path); }
  const std::string& bytes(const std::string& path) const { return files.bytes(path); }

  ReadResult readFile(const std::string& path, size_t limit, std::string& bytes, std::string& error) override {
    if (huge.count(path) > 0 && has(path)) return ReadResult::TooLarge;
    return files.read(path, limit, bytes, error);
  }
  bool writeFile(const std::string& path, const std::string& bytes, std::string& error) override {
    if (unwritable.count(path) > 0 || (!copiesKept && path.rfind(settingsFolder(), 0) == 0)) {
      error = u8"Accès refusé. (5)";
      return false;
    }
    put(path, bytes);
    return true;
  }
  FileStamp stamp(const std::string& path) override { return files.stamp(path); }
  void removeFile(const std::string& path) override { files.remove(path); }
  void makeFolder(const std::string&) override {}
  std::vector<std::string> filesIn(const std::string& folder, const std::string& prefix,
                                   const std::string& suffix) override {
    return files.namesIn(folder, prefix, suffix);
  }
  std::string fullPath(const std::string& path) override { return path[0] == '/' ? path : "/docs/" + path; }
  bool sameFile(const std::string& a, const std::string& b) override { return a == b; }
  bool holdLock(const std::string& path) override {
    if (heldByOthers.count(path) > 0) return false;
    held.insert(path);
    put(path, "");
    return true;
  }
  void releaseLock(const std::string& path) override {
    if (held.erase(path) > 0) files.remove(path);
  }
  bool lockHeld(const std::string& path) override { return held.count(path) + heldByOthers.count(path) > 0; }
  std::string settingsFolder() override { return "/appdata/Ludex"; }
  std::string documentsFolder() override { return documents; }
  uint32_t editorNumber() override { return 7; }
  bool playerImage(Bytes& image) override {
    image = player;
    return !player.empty();
  }
  std::string pageTemplate() override {
    return "<title>{{ludex:title}}</title>{{ludex:name}}|<p id=\"resource-104\">{{ludex:quiz}}</script>"
           "<p id=\"resource-105\">{{ludex:codes}}</script>";
  }
  bool openPage(const std::string& path) override {
    opened.push_back(path);
    return pagesOpen;
  }
  bool startTry(const Bytes& program, std::string& error) override {
    tries.push_back(program);
    error = "Le fichier n'est pas un programme. (193)";
    return triesStart;
  }
  bool offersDownload(const std::string& path) override {
    return browser && path.rfind("/appdata/", 0) != 0 && later.count(path) == 0;
  }
  bool writesLater(const std::string& path) override { return later.count(path) > 0; }
  bool showsPages() override { return browser; }
  void showPage(ShownPage kind, const std::string& name, const std::string& html) override {
    shown.push_back({kind, name + "\n" + html});
  }
  bool keepsCopies() override { return copiesKept; }
};

// A session on a fake host, and the author who answers it.
struct Scene {
  FakeHost host;
  std::unique_ptr<EditorSession> editor = std::make_unique<EditorSession>(host, ConservativeMetrics());
  EditorSession& session() { return *editor; }
  // The editor stops as by a crash and another starts, on the same files.
  void restart(std::vector<Reply> answers) {
    editor->shutDown();
    editor = std::make_unique<EditorSession>(host, ConservativeMetrics());
    plan(std::move(answers));
    editor->startUp("");
    settle();
  }
  std::vector<Reply> replies;  // given in order; Cancel once they run out
  size_t next = 0;
  std::vector<Prompt> seen;

  // Answers whatever the session asks, as the author planned.
  void settle() {
    while (const Prompt* prompt = session().prompt()) {
      seen.push_back(*prompt);
      session().reply(next < replies.size() ? replies[next++] : Reply{Answer::Cancel, ""});
    }
  }
  void plan(std::vector<Reply> answers) {
    replies = std::move(answers);
    next = 0;
    seen.clear();
  }
  void runCommand(Command command) {
    session().runCommand(command);
    settle();
  }
  void typeInto(QuizField field, const std::string& utf8) { session().typeInto(field, utf8); }
  // The start of every prompt's text, in order.
  std::vector<std::string> said() const {
    std::vector<std::string> texts;
    for (const Prompt& prompt : seen) texts.push_back(prompt.text);
    return texts;
  }
};

inline Reply Chose(const std::string& path) { return {Answer::Ok, path}; }
inline Reply Pressed(Answer answer) { return {answer, ""}; }
