// The editor session's host in a browser (emscripten): the files the author
// picks or drops, held in memory by name; the editor's own files (the
// recovery copies, the last files) in the browser's storage, which the page
// reads back at the next opening; what the author saves offered as a
// download, or written in place where the browser gave the file's handle; the locks of the recovery copies shared by
// the browser's tabs; the player and the page template that the page carries in pieces of the quizzes' own codec. The
// page's script (atelier.js, Module.atelierHost) does what only a browser can: storage, downloads, locks, pages shown.
#pragma once
#include <map>
#include <string>

#include "editor_host.h"
#include "memory_files.h"

// The browser's own folder: the last files, the copies of quizzes never saved.
extern const char SettingsFolder[];

class BrowserHost : public EditorHost {
 public:
  // A file the author picked or dropped, or one the browser kept; time in
  // milliseconds, the clock of its last change.
  void put(const std::string& path, const std::string& bytes, double time);
  // The player (ludex.exe) or the page template, packed in pieces (carried_bytes.h).
  void carry(bool player, const Bytes& packed);
  void startAs(uint32_t editorNumber, bool storageWorks);
  void storageFailed() { keepsCopies_ = false; }

  ReadResult readFile(const std::string& path, size_t limit, std::string& bytes, std::string& error) override;
  bool writeFile(const std::string& path, const std::string& bytes, std::string& error) override;
  FileStamp stamp(const std::string& path) override;
  void removeFile(const std::string& path) override;
  void makeFolder(const std::string&) override {}
  std::vector<std::string> filesIn(const std::string& folder, const std::string& prefix,
                                   const std::string& suffix) override;
  std::string fullPath(const std::string& path) override { return path; }
  bool sameFile(const std::string& a, const std::string& b) override { return a == b; }
  bool holdLock(const std::string& path) override;
  void releaseLock(const std::string& path) override;
  bool lockHeld(const std::string& path) override;
  std::string settingsFolder() override { return SettingsFolder; }
  std::string documentsFolder() override { return ""; }
  uint32_t editorNumber() override { return editorNumber_; }
  bool playerImage(Bytes& image) override;
  std::string pageTemplate() override;
  bool openPage(const std::string&) override { return false; }
  bool startTry(const Bytes&, std::string&) override { return false; }
  bool offersDownload(const std::string& path) override;
  bool writesLater(const std::string& path) override;
  bool showsPages() override { return true; }
  void showPage(ShownPage kind, const std::string& name, const std::string& html) override;
  bool keepsCopies() override { return keepsCopies_; }

 private:
  // Kept in the browser's storage: the settings folder and the recovery copies.
  bool kept(const std::string& path) const;

  MemoryFiles files_;
  Bytes packedPlayer_, packedTemplate_;
  Bytes player_;
  std::string template_;
  uint32_t editorNumber_ = 1;
  bool keepsCopies_ = true;
};
