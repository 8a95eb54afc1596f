// The few facts about a Windows program file that packing needs, read
// without the platform.
#pragma once
#include <string>

#include "quiz_payloads.h"

// Empty when image is a PE program that resources can be written into;
// otherwise what is wrong with it. A program that still carries its COFF
// symbol table is refused: updating its resources leaves a damaged file.
std::string PlayerImageProblem(const Bytes& image);
