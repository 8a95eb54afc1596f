// Names of the files the editor writes on its own: the program a quiz is
// built into, and the list of the last files opened, kept between sessions
// in a small text file.
#pragma once
#include <string>
#include <vector>

// The name a built quiz gets from its title, without ".exe": "Les capitales
// d'Europe" gives "Les-capitales-d'Europe". Blanks, the characters a
// Windows file name cannot hold, guillemets, curly quotes, '#' and '%'
// become '-' (a run of them one), none at the
// ends, at most 60 characters; an empty name gives "quiz", a name Windows
// reserves for a device (CON, NUL, COM1...) "quiz-CON". Windows-1252 in and out.
std::string QuizFileStem(const std::string& title);

const int MaxRecentFiles = 6;

// The settings file of the last files: a comment line, then one path per
// line (UTF-8), the most recent first. Reading takes any bytes: lines that
// are comments, empty, not UTF-8 or longer than a Windows path can be are
// skipped, and at most MaxRecentFiles are kept.
std::vector<std::string> ReadRecentFiles(const std::string& text);
std::string WriteRecentFiles(const std::vector<std::string>& paths);

// Puts path first and drops its earlier place (paths compared without ASCII
// case, as Windows compares them), keeping MaxRecentFiles.
void AddRecentFile(std::vector<std::string>& paths, const std::string& path);
