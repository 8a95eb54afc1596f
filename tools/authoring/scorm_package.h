// The quiz as a SCORM 1.2 package, the activity a school's platform (Moodle,
// Éléa, most ENT) takes: one zip holding imsmanifest.xml (IMS Content
// Packaging 1.1.2 with the ADL SCORM 1.2 extension: one organization and
// one item, titled with the quiz's title, whose resource is the quiz page as
// a SCO) and the quiz page itself, which reports to the platform when it
// finds one. The same quiz always gives the same bytes. Portable.
#pragma once
#include <string>

#include "quiz_payloads.h"

// The page's name in the package: the title in ASCII letters, digits and
// hyphens ("Les-capitales-d-Europe.html"), "quiz.html" for a title with none.
std::string ScormPageName(const std::string& title);

// The manifest for a quiz titled title (Windows-1252) whose page is pageName.
std::string ScormManifest(const std::string& title, const std::string& pageName);

// The package's bytes; false, with MakeQuizPage's message in error, when
// the page template is none.
bool MakeScormPackage(const std::string& pageTemplate, const QuizPayloads& streams, const std::string& title,
                      std::string& package, std::string& error);
