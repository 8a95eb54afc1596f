// What the editor session asks of the system it runs on: files by path, the
// lock files that tell a running editor's recovery copy from one left by a
// crash, a few places, and what the front end carries (the player, the page
// template) or starts (a page in the browser, a try of the quiz). No
// decision and no sentence lives here: the session makes them all. Each
// front end implements it, the Win32 window over the system (win32_host.cpp),
// the native tests over a map of files in memory.
//
// Paths are UTF-8, in the system's own form (backslashes on Windows); error
// texts are the system's own description of a failure, in UTF-8, which the
// session quotes after its own words.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "quiz_payloads.h"  // Bytes

struct FileStamp {
  bool exists = false;
  int64_t modifiedTime = 0;  // any clock, the same for every file
};

enum class ReadResult { Read, TooLarge, Failed };

// The pages a front end may show beside the editor (showPage).
enum class ShownPage { Try, PupilSheet, AnswerKey };

class EditorHost {
 public:
  virtual ~EditorHost() = default;

  // A whole file of at most limit bytes.
  virtual ReadResult readFile(const std::string& path, size_t limit, std::string& bytes, std::string& error) = 0;
  // A whole file, through a temporary beside it that then takes its name
  // (the old file's hidden and archive attributes kept).
  virtual bool writeFile(const std::string& path, const std::string& bytes, std::string& error) = 0;
  virtual FileStamp stamp(const std::string& path) = 0;
  virtual void removeFile(const std::string& path) = 0;
  virtual void makeFolder(const std::string& path) = 0;
  // The names of the files of folder that start with prefix and end with suffix, at most 100.
  virtual std::vector<std::string> filesIn(const std::string& folder, const std::string& prefix,
                                           const std::string& suffix) = 0;
  // The absolute form of a path given on a command line.
  virtual std::string fullPath(const std::string& path) = 0;
  // Whether two paths name one file, as the system compares them.
  virtual bool sameFile(const std::string& a, const std::string& b) = 0;

  // A lock file that this editor alone holds open until it lets it go, and
  // that the system lets go of when the editor stops, by a crash too.
  virtual bool holdLock(const std::string& path) = 0;     // false when another editor holds it
  virtual void releaseLock(const std::string& path) = 0;  // and the file goes
  virtual bool lockHeld(const std::string& path) = 0;     // by a running editor, this one included

  virtual std::string settingsFolder() = 0;   // the last files, the copies of quizzes never saved
  virtual std::string documentsFolder() = 0;  // where a quiz never saved is offered to go
  virtual uint32_t editorNumber() = 0;        // this running editor's, among those running now

  virtual bool playerImage(Bytes& image) = 0;          // the player that programs are built from
  virtual std::string pageTemplate() = 0;              // the web page's; empty for a build that writes none
  virtual bool openPage(const std::string& path) = 0;  // in the browser; false when it surely did not
  // Plays a built program apart from the editor, so that its answers file
  // lands away from the source; false, with the system's error, when it does not start.
  virtual bool startTry(const Bytes& program, std::string& error) = 0;

  // ---- a browser, which keeps no folder and runs no program ----
  // Whether writing path offers the file as a download named after it
  // rather than writing it there: the session then says it was offered.
  virtual bool offersDownload(const std::string&) { return false; }
  // Whether writeFile only starts writing path, to end after the call (a
  // browser writing a file in place): the front end then tells the session
  // how it ended (EditorSession::writeFinished, writeFailed).
  virtual bool writesLater(const std::string&) { return false; }
  // Whether a try plays the quiz's web page and the printed pages show
  // beside the editor (showPage), rather than a program started and files
  // written and opened.
  virtual bool showsPages() { return false; }
  virtual void showPage(ShownPage, const std::string& /*name*/, const std::string& /*html*/) {}
  // Whether the editor's own files (the recovery copies, the last files)
  // outlast it: a browser may keep nothing.
  virtual bool keepsCopies() { return true; }
};
