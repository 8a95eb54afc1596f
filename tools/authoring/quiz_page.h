// The web page of a quiz: one self-contained HTML file that plays it in a
// browser, offline, with the program's own codec, payload reader and verdict
// compiled to WebAssembly. The page template, made at build time (the
// page's HTML, style and compiled script, and a Content-Security-Policy that
// allows no request), receives the quiz's two compressed resources as
// base64, its title and the name of its answers file. Portable.
#pragma once
#include <string>

#include "quiz_payloads.h"

// The markers of a page template, each exactly once.
extern const char PageTitleMarker[];  // the quiz's title, in <title>
extern const char PageNameMarker[];   // the stem of the answers file's name
extern const char PageQuizMarker[];   // resource 104, base64
extern const char PageCodesMarker[];  // resource 105, base64

// Fills pageTemplate with the two compressed streams. title is the quiz's
// title (Windows-1252, as in the payload); answersStem names the answers
// file the page offers when it is not opened from a file of its own (UTF-8).
// False, with a message in error, for a template that is not one: an empty
// one (a build made without emscripten), or one with a marker missing or
// repeated.
bool MakeQuizPage(const std::string& pageTemplate, const QuizPayloads& streams, const std::string& title,
                  const std::string& answersStem, std::string& page, std::string& error);

// The two compressed streams of a page that MakeQuizPage wrote, as the
// page's script reads them: false when the page has no quiz resource (it
// is no Ludex page). Text that is not base64 gives a byte the codec
// refuses, as in the page; a page without codes gives none.
bool ReadQuizPage(const std::string& page, QuizPayloads& streams);

// Whether a file is a web page rather than a quiz source: its first
// character past blanks (and a byte-order mark) is '<'.
bool IsPageFile(const std::string& bytes);

// The base64 form of bytes (RFC 4648, with padding), and back: false for
// text that is not base64 (blanks around it are allowed).
std::string Base64(const Bytes& bytes);
bool FromBase64(const std::string& text, Bytes& bytes);

// UTF-8 text made safe for an HTML text or attribute value.
std::string EscapeHtml(const std::string& utf8);

// The file name of a path without its folder and its last extension: what a
// page written to that path names its answers file after ("Géo" for
// "classe/Géo.html").
std::string PageFileStem(const std::string& path);
