#include "terrain_view/mesh/view_maths.h"

#include <cmath>

namespace qarn {

namespace {

constexpr double PI = 3.14159265358979323846;

double radians(double degrees)
{
    return degrees * PI / 180.0;
}

} // namespace

double dot(const Vec3& a, const Vec3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double length(const Vec3& v)
{
    return std::sqrt(dot(v, v));
}

Vec3 normalised(const Vec3& v)
{
    const double l = length(v);
    return l > 0.0 ? v * (1.0 / l) : v;
}

Mat4 Mat4::identity()
{
    Mat4 r;
    for (int i = 0; i < 4; ++i)
        r.at(i, i) = 1.0;
    return r;
}

Mat4 Mat4::operator*(const Mat4& o) const
{
    Mat4 r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += at(row, k) * o.at(k, col);
            r.at(row, col) = sum;
        }
    return r;
}

std::array<float, 16> Mat4::toFloats() const
{
    std::array<float, 16> f{};
    for (std::size_t i = 0; i < 16; ++i)
        f[i] = static_cast<float>(m[i]);
    return f;
}

Mat4 translation(const Vec3& by)
{
    Mat4 r = Mat4::identity();
    r.at(0, 3) = by.x;
    r.at(1, 3) = by.y;
    r.at(2, 3) = by.z;
    return r;
}

Mat4 rotationX(double degrees)
{
    const double c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    Mat4 r = Mat4::identity();
    r.at(1, 1) = c;
    r.at(1, 2) = -s;
    r.at(2, 1) = s;
    r.at(2, 2) = c;
    return r;
}

Mat4 rotationZ(double degrees)
{
    const double c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    Mat4 r = Mat4::identity();
    r.at(0, 0) = c;
    r.at(0, 1) = -s;
    r.at(1, 0) = s;
    r.at(1, 1) = c;
    return r;
}

Mat4 perspective(double fovYDegrees, double aspect, double nearPlane, double farPlane)
{
    const double f = 1.0 / std::tan(radians(fovYDegrees) / 2.0);
    Mat4 r;
    r.at(0, 0) = f / aspect;
    r.at(1, 1) = f;
    r.at(2, 2) = (farPlane + nearPlane) / (nearPlane - farPlane);
    r.at(2, 3) = 2.0 * farPlane * nearPlane / (nearPlane - farPlane);
    r.at(3, 2) = -1.0;
    return r;
}

Mat4 inverse(const Mat4& a)
{
    // Gauss-Jordan with partial pivoting on [a | I].
    double w[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 8; ++c)
            w[r][c] = c < 4 ? a.at(r, c) : (c - 4 == r ? 1.0 : 0.0);
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::fabs(w[r][col]) > std::fabs(w[pivot][col]))
                pivot = r;
        if (std::fabs(w[pivot][col]) < 1e-300)
            return Mat4::identity();
        for (int c = 0; c < 8; ++c)
            std::swap(w[col][c], w[pivot][c]);
        const double p = w[col][col];
        for (int c = 0; c < 8; ++c)
            w[col][c] /= p;
        for (int r = 0; r < 4; ++r) {
            if (r == col)
                continue;
            const double f = w[r][col];
            for (int c = 0; c < 8; ++c)
                w[r][c] -= f * w[col][c];
        }
    }
    Mat4 r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            r.at(row, col) = w[row][col + 4];
    return r;
}

Vec3 transformPoint(const Mat4& a, const Vec3& p)
{
    double out[4];
    for (int row = 0; row < 4; ++row)
        out[row] = a.at(row, 0) * p.x + a.at(row, 1) * p.y + a.at(row, 2) * p.z + a.at(row, 3);
    const double w = out[3] != 0.0 ? out[3] : 1.0;
    return {out[0] / w, out[1] / w, out[2] / w};
}

Vec3 sunDirection(double azimuthDegrees, double elevationDegrees)
{
    const double az = radians(azimuthDegrees), el = radians(elevationDegrees);
    return {std::sin(az) * std::cos(el), std::cos(az) * std::cos(el), std::sin(el)};
}

} // namespace qarn
