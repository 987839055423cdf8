// A zip file of stored entries (no compression), as a 3MF package may be:
// each entry's local header and data, the central directory and its end, with
// the CRC-32 every entry carries. No state.
#include "solid/solid_private.hpp"

#include <cerrno>
#include <cstdint>
#include <cstring>

constexpr uint16_t ZIP_VERSION = 20;  // 2.0: what stored entries need
constexpr uint16_t ZIP_DATE = 0x21;   // 1980-01-01, the earliest a zip can say: a file the same every run
constexpr uint32_t CRC_POLYNOMIAL = 0xEDB88320u;  // reflected, as zip's CRC-32 has it
constexpr size_t ZIP_ENTRY_CAPACITY = 8;

static uint32_t crc32_of(const unsigned char* data, size_t size) {
    uint32_t table[256];
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1u) ? CRC_POLYNOMIAL ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// Little-endian fields, appended to a header being put together.
struct Header {
    unsigned char bytes[64];
    size_t size;
};

static void put(Header& h, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) h.bytes[h.size++] = static_cast<unsigned char>(value >> (8 * i));
}

// The fields a local header and a central directory entry share, from the
// version needed to the name's length and the extra field's (none).
static void put_common(Header& h, uint32_t crc, uint32_t size, uint16_t name_length) {
    put(h, ZIP_VERSION, 2);
    put(h, 0, 2);  // flags
    put(h, 0, 2);  // stored
    put(h, 0, 2);  // time
    put(h, ZIP_DATE, 2);
    put(h, crc, 4);
    put(h, size, 4);  // compressed
    put(h, size, 4);
    put(h, name_length, 2);
    put(h, 0, 2);
}

static bool write_bytes(const void* data, size_t size, FILE* file) {
    return size == 0 || std::fwrite(data, size, 1, file) == 1;
}

bool write_stored_zip(const ZipEntry* entries, int count, FILE* file) {
    uint32_t crcs[ZIP_ENTRY_CAPACITY];
    uint32_t offsets[ZIP_ENTRY_CAPACITY];
    uint64_t offset = 0;
    if (count > static_cast<int>(ZIP_ENTRY_CAPACITY)) return false;
    errno = 0;
    for (int i = 0; i < count; ++i) {
        const ZipEntry& e = entries[i];
        const size_t name_length = std::strlen(e.name);
        if (offset + e.size + 64 > UINT32_MAX) {  // beyond what a zip without its 64-bit extension says
            errno = EFBIG;
            return false;
        }
        crcs[i] = crc32_of(e.data, e.size);
        offsets[i] = static_cast<uint32_t>(offset);
        Header h{{}, 0};
        put(h, 0x04034b50u, 4);
        put_common(h, crcs[i], static_cast<uint32_t>(e.size), static_cast<uint16_t>(name_length));
        if (!write_bytes(h.bytes, h.size, file) || !write_bytes(e.name, name_length, file) ||
            !write_bytes(e.data, e.size, file))
            return false;
        offset += h.size + name_length + e.size;
    }
    const uint64_t directory = offset;
    for (int i = 0; i < count; ++i) {
        const ZipEntry& e = entries[i];
        const size_t name_length = std::strlen(e.name);
        Header h{{}, 0};
        put(h, 0x02014b50u, 4);
        put(h, ZIP_VERSION, 2);  // made by: MS-DOS, 2.0
        put_common(h, crcs[i], static_cast<uint32_t>(e.size), static_cast<uint16_t>(name_length));
        put(h, 0, 2);  // comment
        put(h, 0, 2);  // disk
        put(h, 0, 2);  // internal attributes
        put(h, 0, 4);  // external attributes
        put(h, offsets[i], 4);
        if (!write_bytes(h.bytes, h.size, file) || !write_bytes(e.name, name_length, file)) return false;
        offset += h.size + name_length;
    }
    if (offset > UINT32_MAX) {
        errno = EFBIG;
        return false;
    }
    Header end{{}, 0};
    put(end, 0x06054b50u, 4);
    put(end, 0, 2);  // this disk
    put(end, 0, 2);  // the directory's disk
    put(end, static_cast<uint32_t>(count), 2);
    put(end, static_cast<uint32_t>(count), 2);
    put(end, static_cast<uint32_t>(offset - directory), 4);
    put(end, static_cast<uint32_t>(directory), 4);
    put(end, 0, 2);  // comment
    return write_bytes(end.bytes, end.size, file) && !std::ferror(file);
}
