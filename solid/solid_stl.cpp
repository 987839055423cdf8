// The bodies as one binary STL file: an 80-byte header, the number of
// triangles, and each triangle's unit normal and corners as little-endian
// 32-bit floats. No state.
#include "solid/solid.hpp"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>

constexpr size_t STL_HEADER = 80;
constexpr size_t STL_TRIANGLE = 50;  // twelve floats and two bytes of attributes

static void put_u32(unsigned char* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

static void put_float(unsigned char* at, double value) {
    const float f = static_cast<float>(value);
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    put_u32(at, bits);
}

static double get_float(const unsigned char* at) {
    const uint32_t bits = static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
                          static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

bool write_solids_stl_file(const SolidMesh* meshes, int count, FILE* file) {
    unsigned char header[STL_HEADER + 4] = "rackgen gear solid, binary STL, millimetres";
    size_t triangles = 0;
    for (int i = 0; i < count; ++i) triangles += meshes[i].triangles.size();
    if (triangles > UINT32_MAX) {
        errno = EFBIG;
        return false;
    }
    put_u32(header + STL_HEADER, static_cast<uint32_t>(triangles));
    errno = 0;
    bool written = std::fwrite(header, sizeof header, 1, file) == 1;
    unsigned char record[STL_TRIANGLE] = {};
    for (int i = 0; written && i < count; ++i) {
        const std::vector<SolidPoint>& points = meshes[i].points;
        for (const SolidTriangle& t : meshes[i].triangles) {
            for (int k = 0; k < 3; ++k) {
                const SolidPoint& p = points[static_cast<size_t>(t.corner[k])];
                put_float(record + 12 * (k + 1), p.x);
                put_float(record + 12 * (k + 1) + 4, p.y);
                put_float(record + 12 * (k + 1) + 8, p.z);
            }
            // The normal of the corners as written, read back, so that it
            // agrees with them however short a side is at the floats' precision.
            double c[9];
            for (int v = 0; v < 9; ++v) c[v] = get_float(record + 12 + 4 * v);
            const double ux = c[3] - c[0], uy = c[4] - c[1], uz = c[5] - c[2];
            const double vx = c[6] - c[0], vy = c[7] - c[1], vz = c[8] - c[2];
            double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
            const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
            if (length > 0.0) nx /= length, ny /= length, nz /= length;
            put_float(record, nx);
            put_float(record + 4, ny);
            put_float(record + 8, nz);
            if (std::fwrite(record, sizeof record, 1, file) != 1) {
                written = false;
                break;
            }
        }
    }
    return written && !std::ferror(file);
}
