// The console side of rackgen: the parameter dialogue that takes the gear from
// the user and the tooth data file it may write.
#pragma once

#include "geometry/geometry.hpp"

constexpr int FILE_NAME_CAPACITY = 32;  // 31 characters of file name and the terminator

// Reads z (unless the last window key was 'x') and x, computes both teeth,
// offers the data file, resets the animation and prints the key help.
void parameter_dialogue();

// Writes points[0..m] as the tooth data file under a name asked at the console.
void export_tooth_data(int m, const ProfilePoint* points);

// ---- the tooth data file, for every front end ----------------------------------
// 601 point lines of at most 26 bytes ("-1004.000000,-1004.000000\n", the
// largest coordinates of z = 1000), the header, separator and trailer.
constexpr int TOOTH_DATA_CAPACITY = 16384;
// The bytes of the data file of z teeth and points[0..m] into out (capacity
// bytes); returns their number, or -1 when they do not fit. No terminator.
int format_tooth_data(int z, int m, const ProfilePoint* points, char* out, int capacity);
// Writes bytes[0..length) as the file name: beside it under a temporary name,
// flushed to disk, then moved into place, so a failure leaves the previous file
// untouched and no temporary file behind. A name that is no plain file (a
// device, a link) or whose folder takes no new file is written in place. False
// with the reason in message (capacity bytes, one line) when it failed.
bool write_data_file(const char* name, const char* bytes, int length, char* message, int capacity);

// Converts a text between two iconv encodings ("UTF-8", "CP932", ...) into out,
// capacity bytes with the terminator. False, with out empty, when the encoding
// is unknown, a character has no form in the target or out is too small.
bool convert_text(const char* from_code, const char* to_code, const char* text, char* out, int capacity);
