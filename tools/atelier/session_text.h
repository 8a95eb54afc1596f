// The editor session's small helpers for texts and paths, shared by its
// files (editor_session.cpp, session_files.cpp, session_output.cpp). Texts
// are UTF-8; the core's messages and the quiz texts come in as Windows-1252.
#pragma once
#include <string>

#include "diagnostics.h"
#include "french_text.h"
#include "quiz_rules.h"

// A Windows-1252 text (a quiz text, a message of the core) in UTF-8.
std::string Utf8(const std::string& cp1252);
// A UTF-8 name as the core's messages quote it: Windows-1252, '?' for what it lacks.
std::string ForCore(const std::string& utf8);

// The last part of a path, and what comes before it ("" for a bare name); either separator.
std::string FileNameOf(const std::string& path);
std::string FolderOf(const std::string& path);
// folder and name with the folder's own separator between them.
std::string JoinPath(const std::string& folder, const std::string& name);

// A message of the core as a sentence: a capital first, a full stop last.
std::string Sentence(const std::string& cp1252);

// The lines of diagnostics, at most twelve, then how many more.
std::string DiagnosticsText(const Diagnostics& diagnostics);

// "Erreur, question 3, « réponse » : message" for the problems list.
std::string ProblemLineText(const QuizProblem& problem);

// A failure a browser names (its exception's name: "NotAllowedError"...)
// as the end of a French sentence: "le navigateur n'a pas eu la permission
// d'écrire ce fichier". Any other name gets a sentence too, never the name.
std::string BrowserFailureText(const std::string& name);
