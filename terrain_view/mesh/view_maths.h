#pragma once

#include <array>

namespace qarn {

// The little linear algebra the 3D view needs: points in metres (x east,
// y north, z up) and 4 x 4 matrices stored column by column, as OpenGL reads
// them. Plain values; no failure paths.

struct Vec3 {
    double x = 0.0, y = 0.0, z = 0.0;

    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(double k) const { return {x * k, y * k, z * k}; }
};

double dot(const Vec3& a, const Vec3& b);
double length(const Vec3& v);
Vec3 normalised(const Vec3& v); // the zero vector stays zero

struct Mat4 {
    std::array<double, 16> m{}; // m[col * 4 + row]

    static Mat4 identity();
    double at(int row, int col) const { return m[static_cast<std::size_t>(col * 4 + row)]; }
    double& at(int row, int col) { return m[static_cast<std::size_t>(col * 4 + row)]; }
    Mat4 operator*(const Mat4& o) const;
    std::array<float, 16> toFloats() const;
};

Mat4 translation(const Vec3& by);
Mat4 rotationX(double degrees);
Mat4 rotationZ(double degrees);
// A right-handed perspective looking down -z, depth -1 (near) to 1 (far).
Mat4 perspective(double fovYDegrees, double aspect, double nearPlane, double farPlane);
// The inverse of a matrix with an inverse; the identity for a singular one.
Mat4 inverse(const Mat4& a);

// The point times the matrix, divided by w: clip to normalised device
// coordinates (-1..1 each way, y up).
Vec3 transformPoint(const Mat4& a, const Vec3& p);

// The unit vector toward a sun at `azimuthDegrees` clockwise from north and
// `elevationDegrees` above the horizon.
Vec3 sunDirection(double azimuthDegrees, double elevationDegrees);

} // namespace qarn
