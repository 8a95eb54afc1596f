#include "commands.h"

namespace {

Shortcut Plain(Key key) { return {key, false, false, false}; }
Shortcut Ctrl(Key key) { return {key, true, false, false}; }
Shortcut CtrlShift(Key key) { return {key, true, true, false}; }
Shortcut Alt(Key key) { return {key, false, false, true}; }
const Shortcut None;

// A key's French name, and its name in a browser.
struct KeyNames {
  Key key;
  const char *text, *page;
};
const KeyNames Keys[] = {
    {Key::A, "A", "a"},           {Key::D, "D", "d"},         {Key::N, "N", "n"},
    {Key::O, "O", "o"},           {Key::P, "P", "p"},         {Key::S, "S", "s"},
    {Key::V, "V", "v"},           {Key::Y, "Y", "y"},         {Key::Z, "Z", "z"},
    {Key::Insert, "Inser", "Insert"}, {Key::Delete, "Suppr", "Delete"}, {Key::Up, "Haut", "ArrowUp"},
    {Key::Down, "Bas", "ArrowDown"},  {Key::F4, "F4", "F4"},  {Key::F5, "F5", "F5"},
    {Key::F7, "F7", "F7"},        {Key::F8, "F8", "F8"},
};

const KeyNames* NamesOf(Key key) {
  for (const KeyNames& names : Keys) {
    if (names.key == key) return &names;
  }
  return nullptr;
}

std::string WithoutAmpersand(std::string text) {
  const size_t at = text.find('&');
  if (at != std::string::npos) text.erase(at, 1);
  return text;
}

}  // namespace

// clang-format off
const CommandInfo Commands[CommandCount] = {
    {Command::New, "new", u8"&Nouveau", nullptr, Ctrl(Key::N), None, None, false, false, false},
    {Command::Open, "open", u8"&Ouvrir…", nullptr, Ctrl(Key::O), None, None, false, false, false},
    {Command::Save, "save-source", u8"&Enregistrer", nullptr, Ctrl(Key::S), None, None, false, false, false},
    {Command::SaveAs, "save-as", u8"Enregistrer &sous…", nullptr, CtrlShift(Key::S), None, None, false, false, false},
    {Command::ImportCsv, "import-csv", u8"&Importer des questions (CSV, GIFT)…", u8"Importer des questions…", None, None, None, false, false, false},
    {Command::ExportCsv, "export-csv", u8"E&xporter les questions en CSV…", u8"Exporter en CSV…", None, None, None, false, false, true},
    {Command::Print, "print", u8"Im&primer…", nullptr, Ctrl(Key::P), None, None, false, false, false},
    {Command::Close, "close", u8"&Quitter", nullptr, Alt(Key::F4), None, None, true, false, false},
    {Command::Undo, "undo", u8"&Annuler", nullptr, Ctrl(Key::Z), None, None, false, false, false},
    {Command::Redo, "redo", u8"&Rétablir", nullptr, Ctrl(Key::Y), CtrlShift(Key::Z), None, false, false, false},
    {Command::SelectAll, "select-all", u8"&Sélectionner toutes les questions", nullptr, Ctrl(Key::A), None, Ctrl(Key::A), false, true, false},
    {Command::Add, "add", u8"&Ajouter", nullptr, Plain(Key::Insert), None, None, false, false, false},
    {Command::Duplicate, "duplicate", u8"&Dupliquer", nullptr, Ctrl(Key::D), None, None, false, false, false},
    {Command::Remove, "remove", u8"&Supprimer", nullptr, Ctrl(Key::Delete), None, Plain(Key::Delete), false, true, false},
    {Command::MoveUp, "move-up", u8"&Monter", nullptr, Alt(Key::Up), None, None, false, false, false},
    {Command::MoveDown, "move-down", u8"D&escendre", nullptr, Alt(Key::Down), None, None, false, false, false},
    {Command::Try, "try", u8"&Essayer", nullptr, Plain(Key::F5), None, None, false, false, false},
    {Command::Build, "build-exe", u8"C&réer le programme…", nullptr, Plain(Key::F7), None, None, false, false, true},
    {Command::BuildPage, "build-page", u8"Créer la &page web…", nullptr, Plain(Key::F8), None, None, false, false, true},
    {Command::BuildScorm, "build-scorm", u8"Exporter pour l'E&NT (SCORM)…", nullptr, None, None, None, false, false, true},
    {Command::ExportGift, "export-gift", u8"Exporter pour &Moodle (GIFT)…", u8"Exporter pour Moodle…", None, None, None, false, false, true},
    {Command::Paste, "paste", u8"&Coller des lignes de tableur", nullptr, Ctrl(Key::V), None, None, false, true, false},
    {Command::ChooseColour, "choose-colour", u8"&Couleur de fond…", u8"C&hoisir…", None, None, None, false, false, false},
};

const std::vector<MenuDisplay> Menus = {
    {u8"&Fichier", {{Command::New, Command::Open, Command::Save, Command::SaveAs},
                    {Command::ImportCsv, Command::ExportCsv, Command::ExportGift}, {Command::Print}, {Command::Close}}},
    {u8"É&dition", {{Command::Undo, Command::Redo}, {Command::Paste, Command::SelectAll}}},
    {u8"&Questions", {{Command::Add, Command::Duplicate, Command::Remove}, {Command::MoveUp, Command::MoveDown}}},
    {u8"Qui&z", {{Command::ChooseColour}, {Command::Try, Command::Build, Command::BuildPage, Command::BuildScorm}}},
};
// clang-format on

const CommandInfo& InfoOf(Command command) { return Commands[static_cast<int>(command)]; }

const char* PageKeyName(Key key) {
  const KeyNames* names = NamesOf(key);
  return names != nullptr ? names->page : "";
}

std::string ShortcutText(const Shortcut& shortcut) {
  const KeyNames* names = NamesOf(shortcut.key);
  if (names == nullptr) return "";
  return std::string(shortcut.control ? "Ctrl+" : "") + (shortcut.shift ? "Maj+" : "") + (shortcut.alt ? "Alt+" : "") +
         names->text;
}

std::string MenuItemText(const CommandInfo& info) {
  const std::string shortcut = ShortcutText(info.shortcut);
  return info.caption + (shortcut.empty() ? "" : "\t" + shortcut);
}

std::string WindowButtonText(const CommandInfo& info) {
  const std::string shortcut = ShortcutText(info.shortcut);
  const std::string text = info.button != nullptr ? info.button : WithoutAmpersand(info.caption);
  return text + (shortcut.empty() ? "" : "  (" + shortcut + ")");
}

std::string PageButtonText(const CommandInfo& info) {
  std::string text = WithoutAmpersand(info.button != nullptr ? info.button : info.caption);
  const std::string ellipsis = u8"…";
  if (info.asksWhereToWrite && text.size() > ellipsis.size() &&
      text.compare(text.size() - ellipsis.size(), ellipsis.size(), ellipsis) == 0) {
    text.erase(text.size() - ellipsis.size());
  }
  return text;
}
