// BrowseForFile: the file-open dialog for sound and video files.
#include "support/support_library.h"

#include <commdlg.h>

#include <cstring>

namespace {

constexpr DWORD kBrowseBufferSize = 512;

// Each kind offers its own files first and every file second.
const char kWaveAndMidiFilter[] = "WAV and MIDI files (*.wav;*.mid)\0*.wav;*.mid\0All files (*.*)\0*.*\0";
const char kVideoFilter[] = "AVI files (*.avi)\0*.avi\0All files (*.*)\0*.*\0";
const char kMidiFilter[] = "MIDI files (*.mid)\0*.mid\0All files (*.*)\0*.*\0";
const char kWaveFilter[] = "WAV files (*.wav)\0*.wav\0All files (*.*)\0*.*\0";
#define AUDIO_PATTERNS "*.mp3;*.wma;*.flac;*.ogg;*.oga;*.opus;*.m4a;*.aac"
const char kAudioFilter[] = "Audio files (MP3, WMA, FLAC, Ogg, Opus, AAC)\0" AUDIO_PATTERNS "\0All files (*.*)\0*.*\0";
const char kAllSoundsFilter[] =
    "Sound files (WAV, MIDI, MP3, WMA, FLAC, Ogg, Opus, AAC)\0*.wav;*.mid;" AUDIO_PATTERNS "\0All files (*.*)\0*.*\0";

const char* FilterOfKind(int kind) {
  switch (kind) {
    case BROWSE_WAV_AND_MIDI:
      return kWaveAndMidiFilter;
    case BROWSE_AVI:
      return kVideoFilter;
    case BROWSE_MIDI:
      return kMidiFilter;
    case BROWSE_WAV:
      return kWaveFilter;
    case BROWSE_AUDIO:
      return kAudioFilter;
    case BROWSE_ALL_SOUNDS:
      return kAllSoundsFilter;
    default:
      return nullptr;
  }
}

// A confirmed file dialog moves the current directory to the file's folder,
// where names without a folder are then found. Not every platform's dialog
// does so itself.
void EnterFolderOf(const OPENFILENAMEA& dialog) {
  char folder[kBrowseBufferSize];
  WORD length = dialog.nFileOffset;
  if (length == 0 || length >= sizeof folder) return;
  // Keep the separator only for the root of a drive, as in C:\ alone.
  if (length > 3 && dialog.lpstrFile[length - 1] == '\\') --length;
  memcpy(folder, dialog.lpstrFile, length);
  folder[length] = '\0';
  SetCurrentDirectoryA(folder);
}

}  // namespace

BOOL WINAPI BrowseForFile(HWND owner, int filterKind, LPSTR buffer, DWORD /*reserved*/) {
  const char* filter = FilterOfKind(filterKind);
  if (!filter || !buffer) return FALSE;
  // The caller's buffer is a work buffer: whatever it held is no file name.
  buffer[0] = '\0';

  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer;
  dialog.nMaxFile = kBrowseBufferSize;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (GetOpenFileNameA(&dialog)) {
    EnterFolderOf(dialog);
    return TRUE;
  }
  buffer[0] = '\0';
  return FALSE;
}
