#include "content/jpeg/registration_photo.h"

#include <QResource>
#include <cstdint>
#include <vector>

#include "app/graphics/picture.h"
#include "app/graphics/stream.h"

namespace jpeg {
namespace {

std::vector<unsigned char> StoredPhoto() {
    const QByteArray photo = QResource(QStringLiteral(":/kalvena/registration_photo.jpg")).uncompressedData();
    const auto count = static_cast<std::uint32_t>(photo.size());
    std::vector<unsigned char> stored{10, 'T', 'J', 'P', 'E', 'G', 'I', 'm', 'a', 'g', 'e'};
    for (int shift = 0; shift < 32; shift += 8) stored.push_back(static_cast<unsigned char>(count >> shift));
    stored.insert(stored.end(), photo.begin(), photo.end());
    return stored;
}

}  // namespace

std::span<const unsigned char> RegistrationPhotoStoredData() {
    static const std::vector<unsigned char> stored = StoredPhoto();
    return stored;
}

std::unique_ptr<app::TGraphic> LoadRegistrationPhoto() {
    app::TReadOnlyMemoryStream stream(RegistrationPhotoStoredData());
    return app::TPicture::ReadStoredPicture(stream);
}

}  // namespace jpeg
