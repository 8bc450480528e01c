#include "content/jpeg/jpeg_unit.h"

#include "app/graphics/picture.h"
#include "app/graphics/system_screen.h"
#include "content/jpeg/jpeg.h"

namespace jpeg {

void ChooseDefaultDepth() {
    const app::HDC dc = app::GetDC(0);
    const int depth = app::GetDeviceCaps(dc, app::kBitsPixelIndex) * app::GetDeviceCaps(dc, app::kPlanesIndex);
    DefaultSettings.OutputDepth = depth <= 8 ? Depth8 : Depth24;
    app::ReleaseDC(0, dc);
}

void InitializeJpegUnit() {
    ChooseDefaultDepth();
    app::TPicture::RegisterFileFormat("jpeg", "JPEG Image File", TJPEGImage::Class());
    app::TPicture::RegisterFileFormat("jpg", "JPEG Image File", TJPEGImage::Class());
}

void FinalizeJpegUnit() { app::TPicture::UnregisterGraphicClass(TJPEGImage::Class()); }

}  // namespace jpeg
