// The console side of rackgen: the parameter dialogue that takes the gear from
// the user and the tooth data file it may write.
#pragma once

#include "geometry/geometry.hpp"

#include <cstdio>

constexpr int FILE_NAME_CAPACITY = 32;  // 31 characters of file name and the terminator

// Reads z (unless the last window key was 'x') and x, computes both teeth,
// offers the data file, resets the animation and prints the key help.
void parameter_dialogue();

// Writes points[0..m] as the tooth data file under a name asked at the console.
void export_tooth_data(int m, const ProfilePoint* points);

// Writes points[0..m] as the whole text of the tooth data file to an open file
// (the dialogue's file and the command line's --flank). Returns 0, or the errno
// that tells why it failed (EIO when the library did not set one).
int write_tooth_data(FILE* file, int m, const ProfilePoint* points);

// Converts a text between two iconv encodings ("UTF-8", "CP932", ...) into out,
// capacity bytes with the terminator. False, with out empty, when the encoding
// is unknown, a character has no form in the target or out is too small.
bool convert_text(const char* from_code, const char* to_code, const char* text, char* out, int capacity);
