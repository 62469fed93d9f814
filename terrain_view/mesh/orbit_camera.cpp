#include "terrain_view/mesh/orbit_camera.h"

#include <algorithm>
#include <cmath>

namespace qarn {

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double ORBIT_DEGREES_PER_PIXEL = 0.4;
constexpr double ZOOM_FACTOR_PER_STEP = 0.85;

double radians(double degrees)
{
    return degrees * PI / 180.0;
}

} // namespace

double OrbitCamera::fittingDistance() const
{
    // The box's width across the screen, its depth and height seen at the
    // pitch up it; its near edge comes closer by half the depth's run.
    const double tanVertical = std::tan(radians(FOV_Y_DEGREES) / 2.0);
    const double tanHorizontal = tanVertical * width_ / height_;
    const double p = radians(pitch_);
    const double across = 0.5 * boxWidth_ / tanHorizontal;
    const double up = 0.5 * (boxDepth_ * std::sin(p) + boxHeight_ * std::cos(p)) / tanVertical;
    return std::max(1.05 * std::max(across, up) + 0.5 * boxDepth_ * std::cos(p) + boxHeight_ * std::sin(p) * 0.5,
                    1.0);
}

void OrbitCamera::frame(const Vec3& centre, double width, double depth, double height)
{
    centre_ = centre;
    boxWidth_ = std::max(width, 0.0);
    boxDepth_ = std::max(depth, 0.0);
    extent_ = std::max({width, depth, 1.0});
    boxHeight_ = std::max(height, 0.0);
    target_ = centre;
    heading_ = DEFAULT_HEADING;
    pitch_ = DEFAULT_PITCH;
    distance_ = fittingDistance();
}

void OrbitCamera::frameFromAbove()
{
    target_ = centre_;
    heading_ = 0.0;
    pitch_ = MAX_PITCH;
    distance_ = fittingDistance();
}

void OrbitCamera::setViewport(int widthPixels, int heightPixels)
{
    width_ = std::max(widthPixels, 1);
    height_ = std::max(heightPixels, 1);
}

void OrbitCamera::setHeading(double degrees)
{
    heading_ = std::fmod(degrees, 360.0);
    if (heading_ < 0.0)
        heading_ += 360.0;
}

void OrbitCamera::setPitch(double degrees)
{
    pitch_ = std::clamp(degrees, MIN_PITCH, MAX_PITCH);
}

void OrbitCamera::setDistance(double metres)
{
    distance_ = std::clamp(metres, extent_ * 0.01, extent_ * 20.0);
}

void OrbitCamera::orbit(double dxPixels, double dyPixels)
{
    setHeading(heading_ - dxPixels * ORBIT_DEGREES_PER_PIXEL);
    setPitch(pitch_ + dyPixels * ORBIT_DEGREES_PER_PIXEL);
}

void OrbitCamera::pan(double dxPixels, double dyPixels)
{
    // Metres a pixel covers at the target's distance; the land follows the mouse.
    const double perPixel = 2.0 * distance_ * std::tan(radians(FOV_Y_DEGREES) / 2.0) / height_;
    const double h = radians(heading_);
    const Vec3 right{std::cos(h), -std::sin(h), 0.0};
    const Vec3 ahead{std::sin(h), std::cos(h), 0.0};
    const double aheadScale = perPixel / std::max(std::sin(radians(pitch_)), 0.2);
    target_ = target_ - right * (dxPixels * perPixel) + ahead * (dyPixels * aheadScale);
}

void OrbitCamera::zoom(double steps, const Vec3& about)
{
    const double wanted = std::pow(ZOOM_FACTOR_PER_STEP, steps);
    const double before = distance_;
    setDistance(distance_ * wanted);
    // Scaling the camera about `about` keeps that point's place on the screen.
    const double k = distance_ / before;
    target_ = about + (target_ - about) * k;
}

Vec3 OrbitCamera::groundPointAt(double xPixels, double yPixels) const
{
    const Mat4 back = inverse(viewProjection());
    const double nx = 2.0 * xPixels / width_ - 1.0;
    const double ny = 1.0 - 2.0 * yPixels / height_;
    const Vec3 nearPoint = transformPoint(back, {nx, ny, -1.0});
    const Vec3 farPoint = transformPoint(back, {nx, ny, 1.0});
    const Vec3 ray = farPoint - nearPoint;
    if (std::fabs(ray.z) < 1e-12)
        return target_;
    const double t = (target_.z - nearPoint.z) / ray.z;
    if (t < 0.0)
        return target_;
    return nearPoint + ray * t;
}

Vec3 OrbitCamera::eye() const
{
    const double h = radians(heading_), p = radians(pitch_);
    return target_ + Vec3{-distance_ * std::cos(p) * std::sin(h), -distance_ * std::cos(p) * std::cos(h),
                          distance_ * std::sin(p)};
}

Mat4 OrbitCamera::view() const
{
    return translation({0.0, 0.0, -distance_}) * rotationX(pitch_ - 90.0) * rotationZ(heading_) *
           translation(target_ * -1.0);
}

Mat4 OrbitCamera::projection() const
{
    // Near and far planes hug the framed box, for depth precision.
    const double reach = extent_ + boxHeight_;
    const double nearPlane = std::max(distance_ - reach * 1.5, distance_ * 0.02);
    const double farPlane = distance_ + reach * 1.5;
    return perspective(FOV_Y_DEGREES, static_cast<double>(width_) / height_, nearPlane, farPlane);
}

Vec3 OrbitCamera::toPixels(const Vec3& world) const
{
    const Vec3 ndc = transformPoint(viewProjection(), world);
    return {(ndc.x + 1.0) * 0.5 * width_, (1.0 - ndc.y) * 0.5 * height_, ndc.z};
}

} // namespace qarn
