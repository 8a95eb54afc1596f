// The editor's commands as both front ends offer them: what each is called
// in the menu and on a button, the shortcut the author reads and the key
// that runs it. The window builds its menu, its accelerators and its buttons
// from this table, the browser's page its toolbar and its keys (through the
// session's export): neither spells a caption, a shortcut or a number.
#pragma once
#include <string>
#include <vector>

enum class Command {
  New,
  Open,
  Save,
  SaveAs,
  ImportCsv,
  ExportCsv,
  Print,
  Close,
  Undo,
  Redo,
  SelectAll,
  Add,
  Duplicate,
  Remove,
  MoveUp,
  MoveDown,
  Try,
  Build,
  BuildPage,
  BuildScorm,
  ExportGift,
  // The front end's own, which the session cannot run: it reads the
  // clipboard (EditorSession::paste), it shows a colour chooser (setColour).
  Paste,
  ChooseColour,
};
const int CommandCount = static_cast<int>(Command::ChooseColour) + 1;

// The keys of the shortcuts.
enum class Key { None, A, D, N, O, P, S, V, Y, Z, Insert, Delete, Up, Down, F4, F5, F7, F8 };

struct Shortcut {
  Key key = Key::None;
  bool control = false, shift = false, alt = false;
};

struct CommandInfo {
  Command command;
  const char* name;     // the page's name for it: its button's id
  const char* caption;  // the menu's, '&' before its Alt letter, "…" when it asks for more
  const char* button;   // a button's, where not the caption's; nullptr: the caption without its '&'
  Shortcut shortcut;
  Shortcut also;        // a second key for it (the redo of other systems)
  Shortcut inList;      // a key that runs it where the questions list has the focus
  // The system's own key (Alt+F4 closes any window): shown, never bound.
  bool systemKey;
  // In a text field its key stays the field's (paste, select all, delete a word).
  bool fieldKeepsKey;
  // It asks only where to write what it makes: the page writes at once, a download.
  bool asksWhereToWrite;
};

// Every command, in the order of Command.
extern const CommandInfo Commands[CommandCount];
const CommandInfo& InfoOf(Command command);

// The key's name as a browser gives it (KeyboardEvent.key): "s", "Insert", "ArrowUp".
const char* PageKeyName(Key key);
// The key as the author reads it: "Ctrl+Maj+S", "Inser", "Alt+Haut"; "" for none.
std::string ShortcutText(const Shortcut& shortcut);
// "Enregistrer &sous…\tCtrl+Maj+S"
std::string MenuItemText(const CommandInfo& info);
// The window's button, its shortcut after it: "Essayer  (F5)".
std::string WindowButtonText(const CommandInfo& info);
// The page's button, its shortcut in its tooltip: "Créer le programme", no "…"
// where the page writes at once.
std::string PageButtonText(const CommandInfo& info);

// The window's menu bar: each menu's title and its commands, in groups
// that a line separates.
struct MenuDisplay {
  const char* title;
  std::vector<std::vector<Command>> groups;
};
extern const std::vector<MenuDisplay> Menus;
