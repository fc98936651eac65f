// Pictures of windows for the test output (never for the repository).
#ifndef WENDLE_SCREENSHOT_H
#define WENDLE_SCREENSHOT_H

#include <windows.h>

#include <string>

namespace bench {

// Saves a picture of a window (of any process on this desktop) as
// name.bmp in the screenshot folder: WENDLE_SCREENSHOTS when set, else
// "screenshots" beside the test program.
void SaveScreenshot(HWND window, const std::string& name);

}  // namespace bench

#endif
