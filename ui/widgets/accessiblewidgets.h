#pragma once

namespace kovaldi {

// Makes the program's own widgets known to assistive technology (screen readers through
// AT-SPI, UI Automation and the like): the spinner as a spin box with its value, range and
// steps; an auto-sized label as the text it shows, a link label as a link that can be
// pressed; a window made of a plain widget as a window. Installed once per process; the
// widgets install it as they are created.
void InstallAccessibleInterfaces();

} // namespace kovaldi
