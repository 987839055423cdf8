// The console side of rackgen: the parameter dialogue that takes the gear from
// the user and the tooth data file it may write; and what the other front ends
// share with it: the answers' checks, the data file's bytes, files written whole.
#pragma once

#include "geometry/geometry.hpp"

#include <cstdio>

constexpr int FILE_NAME_CAPACITY = 32;  // 31 characters of file name and the terminator

// Reads z (unless keep_teeth and a gear was taken before: the window's 'x') and
// x, computes both teeth, offers the data file, starts the scenes afresh
// (start_new_gear) and prints the key help.
void parameter_dialogue(bool keep_teeth = false);
// Reads the mate's z2 and x2 ('m' in the window) with the same checks; the
// previous mate stays when the input ends. Then the key help.
void mate_dialogue();
// Takes the gear the command line took (take_gear) without a dialogue, as the
// dialogue takes one, so that a later 'x' keeps its number of teeth; starts
// the scenes afresh and prints the key help, as the dialogue ends.
void take_computed_gear();

// Writes points[0..m] as the tooth data file under a name asked at the console.
void export_tooth_data(int m, const ProfilePoint* points);

// ---- the tooth data file, for every front end ----------------------------------
// 601 point lines of at most 26 bytes ("-1004.000000,-1004.000000\n", the
// largest coordinates of z = 1000), the header, separator and trailer.
constexpr int TOOTH_DATA_CAPACITY = 16384;
// The bytes of the data file of z teeth and points[0..m] into out (capacity
// bytes); returns their number, or -1 when they do not fit. No terminator.
int format_tooth_data(int z, int m, const ProfilePoint* points, char* out, int capacity);
// Writes those bytes to file and flushes it: 0, or the errno of the failure
// (ENOBUFS when they do not fit TOOTH_DATA_CAPACITY).
int write_tooth_data(int z, int m, const ProfilePoint* points, FILE* file);
// Writes the data file of z teeth and points[0..m] under name (write_file_whole).
// False with the dialogue's reason in message (capacity bytes, one line) when it failed.
bool write_data_file(const char* name, int z, int m, const ProfilePoint* points, char* message, int capacity);

// ---- files written whole, for the dialogue and the command line ------------------
// Fills an open file; returns 0 or the errno that tells why it failed.
using FileFiller = int (*)(FILE* file, const void* context);
enum FileStep {
    FILE_WRITTEN,
    FILE_NOT_CREATED,       // written in place: the file could not be opened
    FILE_NOT_WRITTEN,       // filling, flushing or closing failed
    FILE_NOT_PUT_IN_PLACE,  // the temporary file could not be renamed over the name
};
struct FileOutcome {
    FileStep step;
    int fault;      // the errno of the failure, 0 when written
    bool in_place;  // written in place, not under a temporary name
    bool existed;   // a file of that name was there before
};
// Runs fill on a new file beside name under a temporary name, flushes it to
// disk, gives it the old file's mode and owner and renames it over name, so a
// failure leaves the previous file untouched and no temporary file behind. A
// name that is no plain file (a device, a link) or whose folder takes no new
// file is written in place. Any name up to PATH_MAX works.
FileOutcome write_file_whole(const char* name, FileFiller fill, const void* context);

// Converts a text between two iconv encodings ("UTF-8", "CP932", ...) into out,
// capacity bytes with the terminator. False, with out empty, when the encoding
// is unknown, a character has no form in the target or out is too small.
bool convert_text(const char* from_code, const char* to_code, const char* text, char* out, int capacity);

// ---- the answers to the dialogue's questions, for every front end ---------------
// The whole word must be the number, in decimal: "20.5" or "20abc" is no whole
// number, "0x1p-2", "inf" and "nan" are no numbers. Beyond the int range a
// whole number is one all the same, held as INT_MIN or INT_MAX, which every
// range check refuses; beyond the double range a number is held as ±HUGE_VAL.
bool parse_whole(const char* word, int& value);
bool parse_real(const char* word, double& value);

// value as "%g" writes it with the fewest digits that read back as value
// itself, into text (SHORTEST_REAL_CAPACITY bytes): 0.5 as 0.5, -0.749999999
// as itself, not as the refused -0.75; -0 as 0. Returns text.
constexpr int SHORTEST_REAL_CAPACITY = 32;
const char* shortest_real(double value, char* text);

// The longest answer word the console dialogue reads, with its terminator: a
// number of a thousand digits is still read as one. A longer word is cut there
// and refused as too long. The command line and the page read any length.
constexpr int ANSWER_WORD_CAPACITY = 1024;
// Room for any refusal message made by the checks below.
constexpr int ANSWER_MESSAGE_CAPACITY = 400;
// Checks a typed word as the number of teeth (z) or as the shift coefficient
// with z teeth (x) of a gear cut by the cutter: true with the value set when
// the geometry accepts it; otherwise false with the dialogue's refusal in
// message (capacity bytes). longer: the word was cut where it was read, and is
// refused as too long. A word is shown cut to QUOTED_WORD_CHARACTERS, a
// refused number too.
bool check_teeth_answer(const Cutter& cutter, bool internal, const char* word, bool longer, int& z,
                        char* message, int capacity);
bool check_shift_answer(const Cutter& cutter, bool internal, const char* word, bool longer, int z, double& x,
                        char* message, int capacity);

// A word the user typed, as it may be shown inside a message: printable
// characters as they are (in the console's encoding, or UTF-8), every control
// or invalid byte as \xHH, at most QUOTED_WORD_CHARACTERS characters; "..." at
// the end when it was cut here or, with longer, before it came.
constexpr int QUOTED_WORD_CHARACTERS = 32;
constexpr int QUOTED_WORD_CAPACITY =
    QUOTED_WORD_CHARACTERS * 4 + 4;  // 4 bytes a character, "...", terminator
void quote_word(const char* word, bool longer, char* out, int capacity);
