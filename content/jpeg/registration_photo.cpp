#include "content/jpeg/registration_photo.h"

#include "app/graphics/picture.h"
#include "app/graphics/stream.h"

// The stored picture is assembled around the JPEG file at build time; the
// assembler computes the count from the file's size.
asm(R"(
    .section .rodata
    .balign 16
    .globl kalvena_registration_photo
    .globl kalvena_registration_photo_end
    .hidden kalvena_registration_photo
    .hidden kalvena_registration_photo_end
kalvena_registration_photo:
    .byte 10
    .ascii "TJPEGImage"
    .long 2f - 1f
1:
    .incbin ")" KALVENA_REGISTRATION_PHOTO R"("
2:
kalvena_registration_photo_end:
    .previous
)");

extern "C" const unsigned char kalvena_registration_photo[];
extern "C" const unsigned char kalvena_registration_photo_end[];

namespace jpeg {

std::span<const unsigned char> RegistrationPhotoStoredData() {
    return {kalvena_registration_photo, kalvena_registration_photo_end};
}

std::unique_ptr<app::TGraphic> LoadRegistrationPhoto() {
    app::TReadOnlyMemoryStream stream(RegistrationPhotoStoredData());
    return app::TPicture::ReadStoredPicture(stream);
}

}  // namespace jpeg
