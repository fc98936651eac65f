// The one place where Wendle's process-wide state is defined.
#include "state/main_window_state.h"

MainWindowState g_state;
Settings g_settings;
std::atomic<uint32_t> g_mediaCaps{0};
std::atomic<uint8_t> g_cdTrackCount{0};
