// The editor session's host on Windows: files by UTF-16 path, lock files
// held open, %APPDATA%\Ludex and Documents, the player carried as a resource
// of the editor, the default browser, and the tries of the quiz, each in a
// folder of its own under %TEMP%\ludex-atelier-<process>, removed when the
// editor closes.
#pragma once
#include <windows.h>

#include <map>
#include <string>

#include "editor_host.h"

class Win32Host : public EditorHost {
 public:
  explicit Win32Host(HINSTANCE instance);
  ~Win32Host() override;  // closes the last try and removes the tries' folder

  ReadResult readFile(const std::string& path, size_t limit, std::string& bytes, std::string& error) override;
  bool writeFile(const std::string& path, const std::string& bytes, std::string& error) override;
  FileStamp stamp(const std::string& path) override;
  void removeFile(const std::string& path) override;
  void makeFolder(const std::string& path) override;
  std::vector<std::string> filesIn(const std::string& folder, const std::string& prefix,
                                   const std::string& suffix) override;
  std::string fullPath(const std::string& path) override;
  bool sameFile(const std::string& a, const std::string& b) override;
  bool holdLock(const std::string& path) override;
  void releaseLock(const std::string& path) override;
  bool lockHeld(const std::string& path) override;
  std::string settingsFolder() override;
  std::string documentsFolder() override;
  uint32_t editorNumber() override;
  bool playerImage(Bytes& image) override;
  std::string pageTemplate() override;
  bool openPage(const std::string& path) override;
  bool startTry(const Bytes& program, std::string& error) override;

  HWND owner = nullptr;  // the editor's window, which owns what the shell opens
  // Opens a written page: the default browser. Tests put their own.
  bool (*openPageWith)(const std::wstring& path) = nullptr;
  HANDLE lastTry() const { return tryProcess_.hProcess; }  // the player of the last try; null when none
  const std::wstring& triesFolder() const { return triesFolder_; }

 private:
  HINSTANCE instance_;
  std::map<std::wstring, HANDLE> locks_;
  std::wstring triesFolder_;                 // %TEMP%\ludex-atelier-<process>
  HANDLE triesLock_ = INVALID_HANDLE_VALUE;  // held while the folder is this running editor's
  int tries_ = 0;
  PROCESS_INFORMATION tryProcess_ = {};
};
