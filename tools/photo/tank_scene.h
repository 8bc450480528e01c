#pragma once

#include "tools/photo/vec3.h"

namespace photo {

enum class Material { Ground, Armour, Track, Wheel, Metal };

struct SceneHit {
    double distance;
    Material material;
};

// Signed distance from `p` to the scene: a tracked armoured vehicle standing
// on a plain floor. Metres; x forward along the hull, y up.
SceneHit SceneDistance(Vec3 p);

}  // namespace photo
