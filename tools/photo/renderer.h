#pragma once

#include <vector>

namespace photo {

// Renders the vehicle scene into 8-bit RGB rows, top row first, with soft
// shadows, ambient occlusion, a little surface grime and film grain.
std::vector<unsigned char> RenderScene(int width, int height, int threads);

}  // namespace photo
