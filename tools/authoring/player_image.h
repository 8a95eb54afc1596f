// The quiz inside a player program: the compressed streams as the resources
// PATCH 104 (quiz) and 105 (score codes), read from and written into the
// program's bytes. Portable: callers read and write the files.
//
// The writer lays the resource section out again, so it must be able to move
// what follows it. It accepts the programs that the MinGW and Microsoft
// linkers make, stripped: the resource section last, or followed only by the
// base relocations (.reloc), which nothing but the header points to; with no
// resource section, one is added when the section table has room for it. The
// long section names that strip leaves after the sections (".eh_frame")
// follow them again. It refuses, saying why, what it could not rewrite without
// damage: a COFF symbol table or any other data after the last section (a
// signature, an archive), a section of another kind after the resources, a
// table of the header or a relocation that rewrites a byte of what would
// move, and any damaged header or resource directory.
#pragma once
#include <string>
#include <vector>

#include "pe_image.h"
#include "quiz_payloads.h"
#include "resource_tree.h"

// Reads both streams of a packed program. Of several language variants, the
// neutral one is read (the one the writer makes and Windows prefers), or else
// the first. False, with a French message, when the image is not a program,
// is damaged, or holds no quiz (then the message is NotAQuizProgram).
bool ReadQuizResources(const Bytes& image, QuizPayloads& streams, std::string& error);
extern const char NotAQuizProgram[];

// program becomes a copy of playerImage with both streams as PATCH 104 and
// 105 in the neutral language, every variant the player had removed, every
// other resource kept byte for byte, and the section sizes, the image size,
// the data directory and the checksum made to agree. The result is read back
// before it is returned. False, with a French message, when the player is
// one the writer refuses (see above) or the copy does not read back.
bool WriteQuizResources(const Bytes& playerImage, const QuizPayloads& streams, Bytes& program, std::string& error);

// program becomes a copy of image holding exactly these resources, under the
// same checks and read back in the same way.
bool WriteResources(const Bytes& image, std::vector<Resource> resources, Bytes& program, std::string& error);
