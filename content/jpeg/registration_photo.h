#pragma once

#include <memory>
#include <span>

#include "app/graphics/graphic.h"

namespace jpeg {

// The registration window's photograph in the stored-picture form: length
// byte 10, "TJPEGImage", a 32-bit little-endian count, the JPEG bytes (the
// JPEG file is among the program's resources).
std::span<const unsigned char> RegistrationPhotoStoredData();

// The photograph as a picture, read through the picture container like any
// stored picture. The JPEG unit must be initialized (its class registered).
std::unique_ptr<app::TGraphic> LoadRegistrationPhoto();

}  // namespace jpeg
