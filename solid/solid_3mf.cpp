// The bodies as a 3MF package: the model (one object a body, its vertices as
// the STL file's floats, its triangles counter-clockwise from outside, every
// object built), with the content types and the relationship that points to
// it, in a zip of stored entries. No state.
#include "solid/solid_private.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static const char CONTENT_TYPES[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">\n"
    " <Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>\n"
    " <Default Extension=\"model\" ContentType=\"application/vnd.ms-package.3dmanufacturing-3dmodel+xml\"/>\n"
    "</Types>\n";

static const char RELATIONSHIPS[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">\n"
    " <Relationship Target=\"/3D/3dmodel.model\" Id=\"rel0\" "
    "Type=\"http://schemas.microsoft.com/3dmanufacturing/2013/01/3dmodel\"/>\n"
    "</Relationships>\n";

// The shortest digits of the float the STL file would hold, never "-0", as
// std::to_chars writes a float: the fewest significant digits that read back
// as it, fixed (a whole number exact) or with an exponent, whichever is
// shorter (fixed when as long).
// Written out below for the C++ libraries without to_chars for floats (the
// page's); where it is there it is used, being several times faster, and
// writes the same bytes (compared on twelve million floats of every exponent).
#if !defined(__cpp_lib_to_chars)
// The decimal of f with the digits (1 … 9) significant, in scientific, if one
// reads back as f: the nearest, or below a power of two, where the floats lie
// twice as close, the decimal a last digit above it.
static bool shortest_candidate(float f, int digits, char* scientific, size_t capacity) {
    std::snprintf(scientific, capacity, "%.*e", digits - 1, static_cast<double>(f));
    if (std::strtof(scientific, nullptr) == f) return true;
    const double step = std::pow(10.0, std::atoi(std::strchr(scientific, 'e') + 1) - (digits - 1));
    const double above = std::strtod(scientific, nullptr) + (f < 0.0f ? -step : step);
    char next[32];
    std::snprintf(next, sizeof next, "%.*e", digits - 1, above);
    if (std::strtof(next, nullptr) != f) return false;
    std::snprintf(scientific, capacity, "%s", next);
    return true;
}

static void append_number(std::string& text, double value) {
    const float f = static_cast<float>(value) == 0.0f ? 0.0f : static_cast<float>(value);
    char scientific[32];
    // The fewest digits that read back: a decimal with d digits that does is
    // one with d + 1 as well, so the count is found by halving 1 … 9.
    int low = 1;
    int high = 9;  // nine digits always read back as the float
    while (low < high) {
        const int middle = (low + high) / 2;
        if (shortest_candidate(f, middle, scientific, sizeof scientific))
            high = middle;
        else
            low = middle + 1;
    }
    shortest_candidate(f, low, scientific, sizeof scientific);
    // scientific: [-]d[.ddd]e±XX; its significant digits and exponent.
    const char* mantissa = scientific + (f < 0.0f ? 1 : 0);
    char significant[16];
    int count = 0;
    for (const char* c = mantissa; *c != 'e'; ++c)
        if (*c != '.') significant[count++] = *c;
    const int exponent = std::atoi(std::strchr(scientific, 'e') + 1);
    char fixed[64];
    int length = 0;
    if (f < 0.0f) fixed[length++] = '-';
    if (exponent < 0) {
        fixed[length++] = '0';
        fixed[length++] = '.';
        for (int i = 0; i < -exponent - 1; ++i) fixed[length++] = '0';
        for (int i = 0; i < count; ++i) fixed[length++] = significant[i];
    } else {
        for (int i = 0; i < count || i <= exponent; ++i) {
            if (i == exponent + 1) fixed[length++] = '.';
            fixed[length++] = i < count ? significant[i] : '0';
        }
    }
    // A whole number written fixed has all its digits, exact, as to_chars writes it.
    if (exponent >= count - 1) length = std::snprintf(fixed, sizeof fixed, "%.0f", static_cast<double>(f));
    const size_t scientific_length = std::strlen(scientific);
    if (static_cast<size_t>(length) <= scientific_length)
        text.append(fixed, static_cast<size_t>(length));
    else
        text.append(scientific, scientific_length);
}

#else
static void append_number(std::string& text, double value) {
    const float f = static_cast<float>(value) == 0.0f ? 0.0f : static_cast<float>(value);
    char digits[32];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, f);
    text.append(digits, end.ptr);
}
#endif

static void append_whole(std::string& text, long value) {
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, end.ptr);
}

static void append_object(std::string& text, const SolidMesh& mesh, int id, const char* name) {
    text += "  <object id=\"";
    append_whole(text, id);
    text += "\" name=\"";
    text += name;
    text += "\" type=\"model\">\n   <mesh>\n    <vertices>\n";
    for (const SolidPoint& p : mesh.points) {
        text += "     <vertex x=\"";
        append_number(text, p.x);
        text += "\" y=\"";
        append_number(text, p.y);
        text += "\" z=\"";
        append_number(text, p.z);
        text += "\"/>\n";
    }
    text += "    </vertices>\n    <triangles>\n";
    for (const SolidTriangle& t : mesh.triangles) {
        text += "     <triangle v1=\"";
        append_whole(text, t.corner[0]);
        text += "\" v2=\"";
        append_whole(text, t.corner[1]);
        text += "\" v3=\"";
        append_whole(text, t.corner[2]);
        text += "\"/>\n";
    }
    text += "    </triangles>\n   </mesh>\n  </object>\n";
}

bool write_solids_3mf_file(const SolidMesh* meshes, const char* const* names, int count, FILE* file) {
    std::string model =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<model unit=\"millimeter\" xml:lang=\"en-US\" "
        "xmlns=\"http://schemas.microsoft.com/3dmanufacturing/core/2015/02\">\n"
        " <resources>\n";
    for (int i = 0; i < count; ++i) append_object(model, meshes[i], i + 1, names[i]);
    model += " </resources>\n <build>\n";
    for (int i = 0; i < count; ++i) {
        model += "  <item objectid=\"";
        append_whole(model, i + 1);
        model += "\"/>\n";
    }
    model += " </build>\n</model>\n";
    const ZipEntry entries[] = {
        {"[Content_Types].xml", reinterpret_cast<const unsigned char*>(CONTENT_TYPES),
         std::strlen(CONTENT_TYPES)},
        {"_rels/.rels", reinterpret_cast<const unsigned char*>(RELATIONSHIPS), std::strlen(RELATIONSHIPS)},
        {"3D/3dmodel.model", reinterpret_cast<const unsigned char*>(model.data()), model.size()},
    };
    return write_stored_zip(entries, 3, file);
}
