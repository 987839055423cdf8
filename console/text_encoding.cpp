// Text from one encoding into another with the C library's iconv, for the
// console's texts and the data file's Shift-JIS trailer. No state of its own.
#include "console/console.hpp"

#include <cstring>
#include <iconv.h>

bool convert_text(const char* from_code, const char* to_code, const char* text, char* out, int capacity) {
    if (capacity <= 0) return false;
    out[0] = '\0';
    iconv_t cd = iconv_open(to_code, from_code);
    if (cd == (iconv_t)-1) return false;
    char* in = const_cast<char*>(text);
    size_t in_left = std::strlen(text);
    char* next = out;
    size_t out_left = static_cast<size_t>(capacity) - 1;  // room for the terminator
    bool ok = iconv(cd, &in, &in_left, &next, &out_left) != (size_t)-1 &&
              iconv(cd, nullptr, nullptr, &next, &out_left) != (size_t)-1;  // shift state back
    iconv_close(cd);
    if (!ok || in_left != 0) {
        out[0] = '\0';
        return false;
    }
    *next = '\0';
    return true;
}
