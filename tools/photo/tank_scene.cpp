#include "tools/photo/tank_scene.h"

#include <cmath>

namespace photo {

namespace {

double Box(Vec3 p, Vec3 half) {
    const Vec3 q = Abs(p) - half;
    return Length(Max(q, 0.0)) + std::min(std::max(q.x, std::max(q.y, q.z)), 0.0);
}

double RoundBox(Vec3 p, Vec3 half, double radius) { return Box(p, half - Vec3{radius, radius, radius}) - radius; }

// A cylinder along z (radius in the x-y plane), centred at the origin.
double CylinderZ(Vec3 p, double radius, double halfLength) {
    const double dr = std::hypot(p.x, p.y) - radius;
    const double dz = std::fabs(p.z) - halfLength;
    return std::min(std::max(dr, dz), 0.0) + std::hypot(std::max(dr, 0.0), std::max(dz, 0.0));
}

double CylinderX(Vec3 p, double radius, double halfLength) { return CylinderZ({p.z, p.y, p.x}, radius, halfLength); }
double CylinderY(Vec3 p, double radius, double halfLength) { return CylinderZ({p.x, p.z, p.y}, radius, halfLength); }

// Distance in the x-y plane to a horizontal segment from x0 to x1 at height y.
double Segment2D(double px, double py, double x0, double x1, double y) {
    const double cx = std::clamp(px, x0, x1);
    return std::hypot(px - cx, py - y);
}

double Hull(Vec3 p) {
    const double lower = RoundBox(p - Vec3{0.0, 0.95, 0.0}, {3.1, 0.45, 1.2}, 0.05);
    const double deck = RoundBox(p - Vec3{-0.1, 1.36, 0.0}, {3.3, 0.14, 1.8}, 0.04);
    double hull = std::min(lower, deck);
    // Sloped glacis plate and lower nose.
    hull = std::max(hull, Dot(p - Vec3{3.0, 1.05, 0.0}, Normalize({1.0, 1.6, 0.0})));
    hull = std::max(hull, Dot(p - Vec3{3.0, 0.85, 0.0}, Normalize({1.0, -1.0, 0.0})));
    // Rear plate leans back slightly.
    hull = std::max(hull, Dot(p - Vec3{-3.35, 1.0, 0.0}, Normalize({-1.0, 0.25, 0.0})));
    return hull;
}

double Turret(Vec3 p) {
    double body = RoundBox(p - Vec3{-0.35, 1.83, 0.0}, {1.35, 0.32, 1.15}, 0.2);
    body = std::max(body, Dot(p - Vec3{0.9, 1.83, 0.0}, Normalize({1.0, 0.45, 0.0})));
    body = std::max(body, Dot(p - Vec3{0.35, 0.0, 1.05}, Normalize({0.55, 0.0, 1.0})));
    body = std::max(body, Dot(p - Vec3{0.35, 0.0, -1.05}, Normalize({0.55, 0.0, -1.0})));
    body = std::max(body, Dot(p - Vec3{0.0, 2.1, 0.0}, Normalize({0.0, 1.0, 0.0})));
    const double bustle = RoundBox(p - Vec3{-1.85, 1.86, 0.0}, {0.45, 0.24, 0.95}, 0.08);
    const double mantlet = RoundBox(p - Vec3{1.02, 1.84, 0.0}, {0.2, 0.2, 0.32}, 0.05);
    const double cupola = CylinderY(p - Vec3{-0.75, 2.17, -0.5}, 0.3, 0.1) - 0.02;
    const double hatch = CylinderY(p - Vec3{-0.6, 2.12, 0.5}, 0.26, 0.05) - 0.01;
    return std::min({body, bustle, mantlet, cupola, hatch});
}

double Gun(Vec3 p) {
    const Vec3 axis = p - Vec3{0.0, 1.86, 0.0};
    const double sleeve = CylinderX(axis - Vec3{1.6, 0.0, 0.0}, 0.12, 0.45);
    const double tube = CylinderX(axis - Vec3{3.05, 0.0, 0.0}, 0.085, 1.95);
    const double evacuator = CylinderX(axis - Vec3{3.4, 0.0, 0.0}, 0.125, 0.22) - 0.01;
    const double muzzle = CylinderX(axis - Vec3{4.88, 0.0, 0.0}, 0.12, 0.13);
    const double machineGun = CylinderX(p - Vec3{-0.3, 2.33, -0.5}, 0.03, 0.4);
    return std::min({sleeve, tube, evacuator, muzzle, machineGun});
}

double Track(Vec3 p, double side) {
    const double z = p.z - side * 1.5;
    const double loop = Segment2D(p.x, p.y, -2.85, 2.85, 0.52) - 0.5;
    const double belt = std::fabs(loop + 0.06) - 0.06;
    return std::max(belt, std::fabs(z) - 0.28);
}

double Wheels(Vec3 p, double side) {
    const Vec3 q{p.x, p.y, p.z - side * 1.5};
    double wheels = 1e9;
    for (int i = 0; i < 6; ++i) {
        const double x = -2.2 + 0.88 * i;
        wheels = std::min(wheels, CylinderZ(q - Vec3{x, 0.42, 0.0}, 0.34, 0.22) - 0.02);
        wheels = std::min(wheels, CylinderZ(q - Vec3{x, 0.42, side * 0.2}, 0.11, 0.1));
    }
    wheels = std::min(wheels, CylinderZ(q - Vec3{2.85, 0.6, 0.0}, 0.34, 0.21));
    wheels = std::min(wheels, CylinderZ(q - Vec3{-2.85, 0.6, 0.0}, 0.32, 0.21));
    return wheels;
}

// Side skirts over the upper run of each track.
double Skirts(Vec3 p) {
    const Vec3 q{p.x + 0.05, p.y - 1.05, std::fabs(p.z) - 1.8};
    double skirt = RoundBox(q, {2.95, 0.2, 0.03}, 0.01);
    return std::max(skirt, Dot(q - Vec3{2.95, -0.2, 0.0}, Normalize({1.0, -0.6, 0.0})));
}

double FuelDrums(Vec3 p) {
    const Vec3 q{p.x + 3.2, p.y - 1.72, std::fabs(p.z) - 0.8};
    return CylinderZ(q, 0.24, 0.42) - 0.02;
}

}  // namespace

SceneHit SceneDistance(Vec3 p) {
    SceneHit hit{p.y, Material::Ground};
    // Far from the vehicle the distance to its bounding box is enough.
    const double bounds = Box(p - Vec3{0.85, 1.25, 0.0}, {4.6, 1.3, 2.05});
    if (bounds > 0.3) {
        if (bounds < hit.distance) hit = {bounds, Material::Armour};
        return hit;
    }
    auto take = [&](double distance, Material material) {
        if (distance < hit.distance) hit = {distance, material};
    };
    take(std::min({Hull(p), Turret(p), Skirts(p), FuelDrums(p)}), Material::Armour);
    take(Gun(p), Material::Metal);
    take(std::min(Track(p, 1.0), Track(p, -1.0)), Material::Track);
    take(std::min(Wheels(p, 1.0), Wheels(p, -1.0)), Material::Wheel);
    return hit;
}

}  // namespace photo
