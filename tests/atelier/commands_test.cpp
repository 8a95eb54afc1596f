// The table of commands both front ends build from: each command once, in
// a menu once, its Alt letter alone in its menu, its keys its own; and the
// texts each front end shows for it.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <tuple>

#include "commands.h"

namespace {

char AltLetter(const std::string& caption) {
  const size_t at = caption.find('&');
  return at + 1 < caption.size() ? static_cast<char>(std::tolower(static_cast<unsigned char>(caption[at + 1]))) : 0;
}

TEST(Commands, EachOnceInTheMenusWithItsOwnLetterAndKeys) {
  std::set<std::string> names;
  std::set<std::tuple<Key, bool, bool, bool>> keys;
  for (int k = 0; k < CommandCount; ++k) {
    const CommandInfo& info = Commands[k];
    EXPECT_EQ(static_cast<int>(info.command), k);
    EXPECT_TRUE(names.insert(info.name).second) << info.name;
    for (const Shortcut& key : {info.shortcut, info.also}) {
      if (key.key == Key::None) continue;
      EXPECT_TRUE(keys.insert({key.key, key.control, key.shift, key.alt}).second) << info.name;
    }
  }
  std::set<Command> menued;
  std::set<char> titleLetters;
  for (const MenuDisplay& menu : Menus) {
    EXPECT_TRUE(titleLetters.insert(AltLetter(menu.title)).second) << menu.title;
    std::set<char> letters;
    for (const std::vector<Command>& group : menu.groups) {
      for (Command command : group) {
        EXPECT_TRUE(menued.insert(command).second) << InfoOf(command).name;
        EXPECT_TRUE(letters.insert(AltLetter(InfoOf(command).caption)).second) << InfoOf(command).caption;
      }
    }
  }
  EXPECT_EQ(menued.size(), static_cast<size_t>(CommandCount));
  EXPECT_EQ(titleLetters.count(0) + names.count(""), 0u);
}

TEST(Commands, TextsOfTheMenuTheWindowAndThePage) {
  // clang-format off
  const struct { Command command; const char *menu, *window, *page; } cases[] = {
      {Command::SaveAs, u8"Enregistrer &sous…\tCtrl+Maj+S", u8"Enregistrer sous…  (Ctrl+Maj+S)", u8"Enregistrer sous…"},
      {Command::Build, u8"C&réer le programme…\tF7", u8"Créer le programme…  (F7)", u8"Créer le programme"},
      {Command::ExportCsv, u8"E&xporter les questions en CSV…", u8"Exporter en CSV…", "Exporter en CSV"},
      {Command::MoveUp, "&Monter\tAlt+Haut", "Monter  (Alt+Haut)", "Monter"},
      {Command::ChooseColour, u8"&Couleur de fond…", u8"C&hoisir…", u8"Choisir…"},
  };
  // clang-format on
  for (const auto& c : cases) {
    const CommandInfo& info = InfoOf(c.command);
    EXPECT_EQ(MenuItemText(info), c.menu);
    EXPECT_EQ(WindowButtonText(info), c.window);
    EXPECT_EQ(PageButtonText(info), c.page);
  }
}

}  // namespace
