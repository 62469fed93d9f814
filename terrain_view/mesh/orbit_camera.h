#pragma once

#include "terrain_view/mesh/view_maths.h"

namespace qarn {

// The 3D view's camera: it looks at a target point from `distance` metres,
// facing `heading` degrees clockwise from north and looking down `pitch`
// degrees (90 straight down, north up on the screen). Dragging orbits it about
// the target or pans the target; the wheel zooms about a chosen point, which
// stays under the cursor. Plain value; out-of-range input is clamped.
class OrbitCamera {
public:
    static constexpr double FOV_Y_DEGREES = 40.0;
    static constexpr double MIN_PITCH = 5.0;
    static constexpr double MAX_PITCH = 90.0;
    static constexpr double DEFAULT_HEADING = 0.0;
    static constexpr double DEFAULT_PITCH = 40.0;

    // Frames a box of `width` x `depth` metres (east by north) centred on
    // `centre`, `height` metres tall, from the default heading and pitch.
    void frame(const Vec3& centre, double width, double depth, double height);
    // The same box straight from above, north up.
    void frameFromAbove();

    void setViewport(int widthPixels, int heightPixels);
    void setHeading(double degrees);    // wrapped into 0..360
    void setPitch(double degrees);      // clamped to MIN_PITCH..MAX_PITCH
    void setDistance(double metres);    // clamped to the framed box's scale
    void setTarget(const Vec3& target) { target_ = target; }

    // Mouse gestures, in pixels of the viewport.
    void orbit(double dxPixels, double dyPixels);
    void pan(double dxPixels, double dyPixels);
    // Moves the camera toward `about` (steps > 0) or away from it by a fixed
    // factor a step; `about` keeps its place on the screen.
    void zoom(double steps, const Vec3& about);

    // The point on the level plane through the target under the viewport
    // pixel (x right, y down); the target when the ray misses the plane.
    Vec3 groundPointAt(double xPixels, double yPixels) const;

    Vec3 target() const { return target_; }
    double heading() const { return heading_; }
    double pitch() const { return pitch_; }
    double distance() const { return distance_; }
    Vec3 eye() const;
    Mat4 view() const;
    Mat4 projection() const;
    Mat4 viewProjection() const { return projection() * view(); }
    // Where a world point lands in the viewport, in pixels (x right, y down).
    Vec3 toPixels(const Vec3& world) const;
    int viewportWidth() const { return width_; }
    int viewportHeight() const { return height_; }

private:
    double fittingDistance() const;

    Vec3 centre_;
    double boxWidth_ = 1000.0, boxDepth_ = 1000.0;
    double extent_ = 1000.0; // the framed box's larger horizontal side
    double boxHeight_ = 0.0;
    Vec3 target_;
    double heading_ = DEFAULT_HEADING;
    double pitch_ = DEFAULT_PITCH;
    double distance_ = 1000.0;
    int width_ = 1, height_ = 1;
};

} // namespace qarn
