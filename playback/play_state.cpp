#include "playback/play_state.h"

PlaybackState g_playback;
