/*
 * Process-wide state of Wendle: the main window's state, the options in
 * memory and the media devices found at start. Everything lives from start
 * to exit and is defined in one place, main_window_state.cpp.
 *
 * Flags that the worker threads read or write are std::atomic 32-bit words.
 */
#ifndef WENDLE_MAIN_WINDOW_STATE_H
#define WENDLE_MAIN_WINDOW_STATE_H

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "model/sound_object.h"
#include "settings/settings.h"

constexpr int kTextBufferSize = 512;  // paths, names, descriptions, messages
constexpr int kButtonIconCount = 23;  // icons 1501..1523, index = id - 1501
constexpr int kKindBitmapCount = 5;

struct MainWindowState {
  HINSTANCE instance = nullptr;
  HINSTANCE languageModule = nullptr;

  HWND mainWindow = nullptr;
  HWND listBox = nullptr;     // "ovSListBox", control 528: the Object List
  HWND ribbon = nullptr;
  HWND statusBar = nullptr;
  HMENU popupMenu = nullptr;  // its first submenu is the list's pop-up menu

  char currentListFile[kTextBufferSize] = "";

  std::atomic<int32_t> listModified{0};
  std::atomic<int32_t> playing{0};
  std::atomic<int32_t> playAllRunning{0};
  std::atomic<SoundObjectHandle> currentObject{nullptr};
  std::atomic<int32_t> closeAllowed{1};
  std::atomic<int32_t> closeAfterSave{0};
  std::atomic<int32_t> animationStop{0};
  std::atomic<int32_t> playAllStop{0};
  std::atomic<int32_t> suppressItemFree{0};
  std::atomic<int32_t> lastHelpCommand{-1};

  HANDLE animationThread = nullptr;
  HANDLE playAllThread = nullptr;

  HICON buttonIcons[kButtonIconCount] = {};
  HBITMAP kindBitmaps[kKindBitmapCount] = {};

  char textBuffer[kTextBufferSize] = "";
  char textBuffer2[kTextBufferSize] = "";

  WNDPROC editClassProc = nullptr;
  WNDPROC listBoxClassProc = nullptr;
};

// MediaCaps: the usable MCI device types, found once at start.
enum MediaCaps : uint32_t {
  CdAudio = 1,
  WaveAudio = 2,
  MidiAudio = 4,  // set together with WaveAudio
  AviVideo = 8,
};

extern MainWindowState g_state;
extern Settings g_settings;
extern std::atomic<uint32_t> g_mediaCaps;

#endif
