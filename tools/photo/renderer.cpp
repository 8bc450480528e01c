#include "tools/photo/renderer.h"

#include <cmath>
#include <cstdint>
#include <thread>

#include "tools/photo/tank_scene.h"
#include "tools/photo/vec3.h"

namespace photo {

namespace {

const Vec3 kSunDirection = Normalize({-0.45, 0.85, 0.55});
const Vec3 kSunColour{2.1, 1.98, 1.8};
const Vec3 kSkyColour{0.40, 0.43, 0.47};
const Vec3 kBackdrop{0.80, 0.80, 0.78};

// A hash of integer coordinates to [0, 1): the same on every machine.
double Hash(std::int64_t x, std::int64_t y, std::int64_t z) {
    std::uint64_t h = static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ull ^
                      static_cast<std::uint64_t>(y) * 0xC2B2AE3D27D4EB4Full ^
                      static_cast<std::uint64_t>(z) * 0x165667B19E3779F9ull;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return static_cast<double>(h >> 11) / static_cast<double>(1ull << 53);
}

double ValueNoise(Vec3 p) {
    const double fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    const auto ix = static_cast<std::int64_t>(fx), iy = static_cast<std::int64_t>(fy),
               iz = static_cast<std::int64_t>(fz);
    auto smooth = [](double t) { return t * t * (3 - 2 * t); };
    const double tx = smooth(p.x - fx), ty = smooth(p.y - fy), tz = smooth(p.z - fz);
    double corners[2][2][2];
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
            for (int c = 0; c < 2; ++c) corners[a][b][c] = Hash(ix + a, iy + b, iz + c);
    auto lerp = [](double u, double v, double t) { return u + (v - u) * t; };
    const double x00 = lerp(corners[0][0][0], corners[1][0][0], tx), x10 = lerp(corners[0][1][0], corners[1][1][0], tx);
    const double x01 = lerp(corners[0][0][1], corners[1][0][1], tx), x11 = lerp(corners[0][1][1], corners[1][1][1], tx);
    return lerp(lerp(x00, x10, ty), lerp(x01, x11, ty), tz);
}

Vec3 NormalAt(Vec3 p) {
    const double e = 0.0008;
    const Vec3 a{1, -1, -1}, b{-1, -1, 1}, c{-1, 1, -1}, d{1, 1, 1};
    return Normalize(a * SceneDistance(p + a * e).distance + b * SceneDistance(p + b * e).distance +
                     c * SceneDistance(p + c * e).distance + d * SceneDistance(p + d * e).distance);
}

double SoftShadow(Vec3 origin, Vec3 direction) {
    double light = 1.0;
    double t = 0.02;
    for (int i = 0; i < 64 && t < 25.0; ++i) {
        const double h = SceneDistance(origin + direction * t).distance;
        if (h < 0.0005) return 0.0;
        light = std::min(light, 9.0 * h / t);
        t += std::clamp(h, 0.02, 0.6);
    }
    return std::clamp(light, 0.0, 1.0);
}

double AmbientOcclusion(Vec3 p, Vec3 n) {
    double occlusion = 0.0;
    double weight = 1.0;
    for (int i = 1; i <= 5; ++i) {
        const double step = 0.06 * i;
        occlusion += (step - SceneDistance(p + n * step).distance) * weight;
        weight *= 0.6;
    }
    return std::clamp(1.0 - 2.2 * occlusion, 0.0, 1.0);
}

Vec3 Albedo(Material material, Vec3 p) {
    const double grime = ValueNoise(p * 3.0) * 0.6 + ValueNoise(p * 11.0) * 0.4;
    switch (material) {
        case Material::Ground: return Vec3{0.70, 0.69, 0.66} * (0.97 + 0.06 * ValueNoise(p * 0.7));
        case Material::Armour: return Vec3{0.085, 0.10, 0.045} * (0.75 + 0.5 * grime);
        case Material::Metal: return Vec3{0.07, 0.08, 0.04} * (0.85 + 0.3 * grime);
        case Material::Track: {
            // Track links: a dark band every 15 cm along the run.
            const double link = std::sin(p.x * 42.0 + p.y * 42.0) > 0.3 ? 0.55 : 1.0;
            return Vec3{0.05, 0.048, 0.045} * ((0.8 + 0.4 * grime) * link);
        }
        case Material::Wheel: return Vec3{0.06, 0.07, 0.035} * (0.8 + 0.4 * grime);
    }
    return {};
}

Vec3 Trace(Vec3 origin, Vec3 direction) {
    double t = 0.1;
    for (int i = 0; i < 220 && t < 80.0; ++i) {
        const Vec3 p = origin + direction * t;
        const SceneHit hit = SceneDistance(p);
        if (hit.distance < 0.0004 * t) {
            const Vec3 n = NormalAt(p);
            const Vec3 albedo = Albedo(hit.material, p);
            const double sun = std::max(0.0, Dot(n, kSunDirection)) * SoftShadow(p + n * 0.002, kSunDirection);
            const double ao = AmbientOcclusion(p, n);
            const Vec3 sky = kSkyColour * ((0.6 + 0.4 * n.y) * ao);
            const Vec3 bounce = Vec3{0.25, 0.25, 0.24} * ((0.5 - 0.5 * n.y) * ao);
            Vec3 colour = albedo * (kSunColour * sun + sky + bounce);
            if (hit.material != Material::Ground) {
                const Vec3 halfway = Normalize(kSunDirection - direction);
                const double shine = hit.material == Material::Metal ? 0.25 : 0.08;
                colour = colour + kSunColour * (shine * std::pow(std::max(0.0, Dot(n, halfway)), 40.0) * sun);
            }
            // The floor fades into the backdrop with distance.
            const double haze = 1.0 - std::exp(-0.0009 * t * t);
            return Mix(colour, kBackdrop, haze);
        }
        t += hit.distance;
    }
    return kBackdrop;
}

unsigned char ToByte(double linear, double grain) {
    const double srgb = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<unsigned char>(std::clamp(std::lround(srgb * 255.0 + grain), 0L, 255L));
}

void RenderRows(int width, int height, int firstRow, int rowStep, std::vector<unsigned char>& rgb) {
    const Vec3 eye{8.9, 3.2, 8.9};
    const Vec3 target{1.0, 1.0, 0.2};
    const Vec3 forward = Normalize(target - eye);
    const Vec3 right = Normalize(Cross(forward, {0, 1, 0}));
    const Vec3 up = Cross(right, forward);
    const double focal = 1.0 / std::tan(36.0 * 3.14159265358979 / 360.0);
    const double aspect = static_cast<double>(width) / height;
    for (int y = firstRow; y < height; y += rowStep) {
        for (int x = 0; x < width; ++x) {
            Vec3 sum;
            for (int s = 0; s < 4; ++s) {
                const double sx = (x + 0.25 + 0.5 * (s % 2)) / width * 2 - 1;
                const double sy = 1 - (y + 0.25 + 0.5 * (s >= 2 ? 1 : 0)) / height * 2;
                const Vec3 direction = Normalize(forward * focal + right * (sx * aspect) + up * sy);
                sum = sum + Trace(eye, direction);
            }
            Vec3 colour = sum * 0.25;
            // A touch of lens vignetting.
            const double dx = (x - width / 2.0) / width, dy = (y - height / 2.0) / height;
            colour = colour * (1.0 - 0.18 * (dx * dx + dy * dy));
            const double grain = (Hash(x, y, 7) + Hash(x, y, 11) - 1.0) * 2.2;
            unsigned char* out = rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
            out[0] = ToByte(colour.x, grain);
            out[1] = ToByte(colour.y, grain);
            out[2] = ToByte(colour.z, grain);
        }
    }
}

}  // namespace

std::vector<unsigned char> RenderScene(int width, int height, int threads) {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    std::vector<std::thread> workers;
    for (int i = 0; i < threads; ++i) workers.emplace_back([&, i] { RenderRows(width, height, i, threads, rgb); });
    for (std::thread& worker : workers) worker.join();
    return rgb;
}

}  // namespace photo
