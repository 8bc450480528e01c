#pragma once

namespace app {

// Makes every form a window to assistive technology; without this a screen
// reader meets a top-level widget as a mere filler. Each form's accessible
// name, when set, says which window it is; the title is read otherwise.
// Installing more than once does nothing more.
void InstallFormAccessibility();

}  // namespace app
