#include <gtest/gtest.h>

#include "support/support_library.h"

namespace {

HMODULE SupportLibraryModule() { return GetModuleHandleA("VI32RID.dll"); }

TEST(SupportLibraryExports, EveryOperationByOrdinalAndNoneByName) {
  HMODULE module = SupportLibraryModule();
  ASSERT_NE(module, nullptr);
  for (int ordinal : {ORD_SHOW_ABOUT_BOX, ORD_CENTER_DIALOG, ORD_DRAW_3D_PANEL, ORD_DRAW_3D_BORDER, ORD_IS_IN_RANGE,
                      ORD_LOAD_WINDOW_PLACEMENT, ORD_SAVE_WINDOW_PLACEMENT, ORD_FIND_PREVIOUS_INSTANCE,
                      ORD_RES_MESSAGE_BOX, ORD_DRAW_TRANSPARENT_BITMAP, ORD_PLAY_VIDEO_FILE, ORD_PLAY_CD_TRACK,
                      ORD_PLAY_MIDI_FILE, ORD_PLAY_WAVE_FILE, ORD_BROWSE_FOR_FILE, ORD_GET_CD_TRACK_COUNT,
                      ORD_GET_LAST_PLAY_INFO, ORD_GET_LAST_PLAY_ERROR, ORD_PLAY_AUDIO_FILE})
    EXPECT_NE(GetProcAddress(module, MAKEINTRESOURCEA(ordinal)), nullptr) << "ordinal " << ordinal;
  EXPECT_EQ(GetProcAddress(module, "IsInRange"), nullptr);

  // The export table lists no names at all.
  auto base = reinterpret_cast<const BYTE*>(module);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  EXPECT_EQ(exports->NumberOfNames, 0u);

  // Ordinal 8 is the range test the program imports.
  auto inRange = reinterpret_cast<BOOL(WINAPI*)(DWORD, DWORD, DWORD)>(
      reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ORD_IS_IN_RANGE))));
  ASSERT_NE(inRange, nullptr);
  EXPECT_TRUE(inRange(5, 1, 12));
  EXPECT_FALSE(inRange(13, 1, 12));
}

TEST(IsInRange, IncludesBothBounds) {
  EXPECT_TRUE(IsInRange(1, 1, 12));
  EXPECT_TRUE(IsInRange(12, 1, 12));
  EXPECT_FALSE(IsInRange(0, 1, 12));
  EXPECT_FALSE(IsInRange(13, 1, 12));
  EXPECT_FALSE(IsInRange(1, 1, 0));  // an empty range (no CD) holds nothing
}

}  // namespace
