// File paths as each system has them: where a program keeps its answers,
// whether two names are one file, how a name is quoted in a message.
// Portable, with a part for Windows and one for POSIX systems.
#pragma once
#include <string>

// The player keeps its answers in a file named after itself (answers_file.h):
// a program built beside its source under the same name would overwrite the
// source when it first closes. The message that says so, or empty when programPath's answers file is not
// sourcePath. Paths as the command line gives them (the ANSI code page on
// Windows, UTF-8 elsewhere).
std::string AnswersFileClash(const std::string& sourcePath, const std::string& programPath);

// The two parts of that rule, for a caller that compares paths its own way
// (the editor, through its host): the answers file of a program, in the
// program's folder (the system's separators), and the message, naming the program
// and the source as the caller quotes them.
std::string AnswersFileOf(const std::string& programPath);
std::string AnswersFileClashMessage(const std::string& program, const std::string& source);

// The absolute form of a path, "." and ".." resolved, whether or not the file exists.
std::string FullPath(const std::string& path);

// Whether two paths name the same file: on Windows their full paths compared
// without case; elsewhere the same file on disk, or, when either is missing,
// the same full path.
bool NamesSameFile(const std::string& a, const std::string& b);

// A path as the messages quote it, in Windows-1252 like them: Windows paths
// are in the ANSI code page already; elsewhere they are UTF-8, where a
// character Windows-1252 lacks becomes '?'.
std::string PathInMessage(const std::string& path);
