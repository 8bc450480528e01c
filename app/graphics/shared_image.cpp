#include "app/graphics/shared_image.h"

namespace app {

void TSharedImage::Release() {
    if (--refCount_ > 0) return;
    FreeHandle();
    delete this;
}

}  // namespace app
