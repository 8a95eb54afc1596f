// The packed quiz inside a player program: the compressed streams as the
// resources PATCH 104 (quiz) and 105 (score codes). Windows only.
#pragma once
#include <string>

#include "quiz_format.h"
#include "quiz_payloads.h"

// Copies the player to outputPath with both streams as its PATCH resources,
// replacing every language variant the player had. Works on a temporary file
// next to outputPath, reads the result back, and only then renames it; on any
// failure outputPath is untouched and error says why.
bool WriteQuizResources(const Bytes& playerImage, const std::string& outputPath, const QuizPayloads& streams,
                        std::string& error);

// Reads both streams from a packed program.
bool ReadQuizResources(const std::string& programPath, QuizPayloads& streams, std::string& error);

// The player keeps its answers in a file named after itself, in the folder it
// is started from: a program built beside its source under the same name
// would overwrite the source when it first closes. The message that says so,
// or empty when programPath's answers file is not sourcePath.
std::string AnswersFileClash(const std::string& sourcePath, const std::string& programPath);
