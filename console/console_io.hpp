// The console's input and output as the dialogue and the export use them:
// texts shown in the console's own encoding, messages about bad input, words
// read from the buffered standard input and the single-key answer.
// Used only inside console/.
#pragma once

// ---- output ---------------------------------------------------------------------
// Prints a UTF-8 text on standard output in the console's encoding.
void say(const char* text);
// Flushes standard output, then prints "\nrackgen: " and the formatted message
// on standard error. The message is shown as it is, not converted.
void complain(const char* format, ...) __attribute__((format(printf, 1, 2)));

// ---- input from the buffered standard input ---------------------------------------
enum WordResult {
    WORD_READ,      // a word is in the buffer
    WORD_TOO_LONG,  // the word did not fit; the rest of it has been read and dropped
    WORD_END,       // standard input ended before a word began
};
// Skips white space (line ends included) and reads one word up to the next white
// space, which stays unread; at most capacity - 1 characters and the terminator.
// At a terminal, an end of input (Ctrl-D) ends only this read: the next one
// waits for new input.
WordResult read_word(char* word, int capacity);
// Reads and drops the rest of the current input line, its line end included.
void discard_line();
// The characters that end a word, as "%s" and "%d" see them in the C locale.
bool is_blank(int c);

// ---- the single-key answer ---------------------------------------------------------
// A terminal: one key press, without echo and without Enter; the rest of a typed
// line waiting in stdio stays there. Otherwise the next non-blank character of
// standard input. Returns the key's first byte, or -1 when input has ended.
int read_answer_key();
