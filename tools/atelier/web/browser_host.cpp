#include "browser_host.h"

#include <emscripten.h>

#include "carried_bytes.h"
#include "player_image.h"
#include "recovery.h"
#include "session_text.h"

// What only the page's script can do, through Module.atelierHost (atelier.js).
// clang-format off
EM_JS(int, JsKeep, (const char* path, const char* bytes, int size, double time), {
  return Module.atelierHost.keep(UTF8ToString(path), HEAPU8.slice(bytes, bytes + size), time) ? 1 : 0;
});
EM_JS(void, JsForget, (const char* path), { Module.atelierHost.forget(UTF8ToString(path)); });
// Written in place where the page holds the file's handle (File System Access), else offered for download.
EM_JS(void, JsOffer, (const char* name, const char* bytes, int size), {
  Module.atelierHost.offer(UTF8ToString(name), HEAPU8.slice(bytes, bytes + size));
});
EM_JS(int, JsHasHandle, (const char* name), { return Module.atelierHost.hasHandle(UTF8ToString(name)) ? 1 : 0; });
EM_JS(int, JsHoldLock, (const char* path), { return Module.atelierHost.holdLock(UTF8ToString(path)) ? 1 : 0; });
EM_JS(void, JsReleaseLock, (const char* path), { Module.atelierHost.releaseLock(UTF8ToString(path)); });
// 0: no lock; 1: a lock an editor no longer running left; 2: held by a running editor, this one included.
EM_JS(int, JsLockState, (const char* path), { return Module.atelierHost.lockState(UTF8ToString(path)); });
EM_JS(void, JsShowPage, (int kind, const char* name, const char* html, int size), {
  Module.atelierHost.showPage(kind, UTF8ToString(name), UTF8ToString(html, size));
});
EM_JS(double, JsNow, (), { return Date.now(); });
// clang-format on

const char SettingsFolder[] = "navigateur";

bool BrowserHost::kept(const std::string& path) const {
  return path.rfind(std::string(SettingsFolder) + "/", 0) == 0 || IsRecoveryPath(path);
}

void BrowserHost::put(const std::string& path, const std::string& bytes, double time) {
  files_.put(path, bytes, static_cast<int64_t>(time));
}

void BrowserHost::carry(bool player, const Bytes& packed) { (player ? packedPlayer_ : packedTemplate_) = packed; }

void BrowserHost::startAs(uint32_t editorNumber, bool storageWorks) {
  editorNumber_ = editorNumber;
  keepsCopies_ = storageWorks;
}

ReadResult BrowserHost::readFile(const std::string& path, size_t limit, std::string& bytes, std::string& error) {
  return files_.read(path, limit, bytes, error);
}

// The editor's own files go to the browser's storage, which may refuse them
// (full, blocked); what the author saves is offered as a download.
bool BrowserHost::writeFile(const std::string& path, const std::string& bytes, std::string& error) {
  const double now = JsNow();
  if (kept(path)) {
    if (!keepsCopies_ || !JsKeep(path.c_str(), bytes.data(), static_cast<int>(bytes.size()), now)) {
      keepsCopies_ = false;
      error = "le navigateur ne garde rien (stockage plein ou bloqu\xC3\xA9)";
      return false;
    }
  } else {
    JsOffer(FileNameOf(path).c_str(), bytes.data(), static_cast<int>(bytes.size()));
  }
  files_.put(path, bytes, static_cast<int64_t>(now));
  return true;
}

// A lock is no file here: it is there while some editor, running or not, holds it.
FileStamp BrowserHost::stamp(const std::string& path) {
  if (IsRecoveryLockPath(path)) return {JsLockState(path.c_str()) != 0, 0};
  return files_.stamp(path);
}

void BrowserHost::removeFile(const std::string& path) {
  files_.remove(path);
  if (kept(path)) JsForget(path.c_str());
}

std::vector<std::string> BrowserHost::filesIn(const std::string& folder, const std::string& prefix,
                                              const std::string& suffix) {
  return files_.namesIn(folder, prefix, suffix);
}

bool BrowserHost::holdLock(const std::string& path) { return JsHoldLock(path.c_str()) != 0; }
void BrowserHost::releaseLock(const std::string& path) { JsReleaseLock(path.c_str()); }
bool BrowserHost::lockHeld(const std::string& path) { return JsLockState(path.c_str()) == 2; }

// Unpacked once, when first asked for.
bool BrowserHost::playerImage(Bytes& image) {
  if (player_.empty() && !UnpackPieces(packedPlayer_, MaxProgramBytes, player_)) player_.clear();
  image = player_;
  return !image.empty();
}

std::string BrowserHost::pageTemplate() {
  Bytes bytes;
  if (template_.empty() && UnpackPieces(packedTemplate_, MaxCarriedBytes, bytes)) {
    template_.assign(bytes.begin(), bytes.end());
  }
  return template_;
}

bool BrowserHost::offersDownload(const std::string& path) {
  return !kept(path) && !JsHasHandle(FileNameOf(path).c_str());
}

// A file written through its handle ends later (the browser may even ask the author first).
bool BrowserHost::writesLater(const std::string& path) { return !kept(path) && JsHasHandle(FileNameOf(path).c_str()); }

void BrowserHost::showPage(ShownPage kind, const std::string& name, const std::string& html) {
  JsShowPage(static_cast<int>(kind), name.c_str(), html.data(), static_cast<int>(html.size()));
}
