// Sees and dismisses the message boxes that the code under test shows, so a
// box never hangs a test. The boxes are real: MessageBoxA runs as for a user,
// and a thread-local CBT hook reads the box when it activates and closes it.
#pragma once
#include <string>
#include <vector>

struct SeenMessageBox {
  std::string caption;
  std::string text;
};

class MessageBoxWatch {
 public:
  MessageBoxWatch();   // starts watching the calling thread
  ~MessageBoxWatch();  // stops
  MessageBoxWatch(const MessageBoxWatch&) = delete;
  MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

  const std::vector<SeenMessageBox>& seen() const;
};
