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
            const SolidPoint& a = points[static_cast<size_t>(t.corner[0])];
            const SolidPoint& b = points[static_cast<size_t>(t.corner[1])];
            const SolidPoint& c = points[static_cast<size_t>(t.corner[2])];
            const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
            const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
            double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
            const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
            if (length > 0.0) nx /= length, ny /= length, nz /= length;
            const double values[12] = {nx, ny, nz, a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z};
            for (int v = 0; v < 12; ++v) put_float(record + 4 * v, values[v]);
            if (std::fwrite(record, sizeof record, 1, file) != 1) {
                written = false;
                break;
            }
        }
    }
    return written && !std::ferror(file);
}
