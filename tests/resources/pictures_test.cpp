// The loader of the pictures at every size: LoadPicture gives exactly the
// size asked for, a stored size as it is stored and any other reduced from
// the next larger stored size; and a row picture at 16 draws as its kind
// bitmap does on any row colour. (picture_files_test.py checks the files.)
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "bench/canvas.h"
#include "resources/ids.h"
#include "support/list_rows.h"
#include "support/pictures.h"
#include "tests/resources/pictures_test.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

const int kSizes[] = {16, 20, 24, 32, 40, 48, 64};
const int kKindCount = 6;

const int kPictureIds[] = {IDI_APP,           IDI_ADD,           IDI_APPEND,       IDI_BROWSE,       IDI_HOT_KEYS,
                           IDI_CATALOG_CD,    IDI_HELP,          IDI_INSERT,       IDI_KIND_MIDI,    IDI_MODIFY,
                           IDI_NEW,           IDI_OPEN,          IDI_KIND_PAUSE,   IDI_PLAY_ALL,     IDI_PLAY,
                           IDI_PLAY_ALL_MODE, IDI_REMOVE,        IDI_SAVE,         IDI_STOP_SKIP,    IDI_KIND_WAVE,
                           IDI_STOP_PLAY_ALL, IDI_KIND_CD_TRACK, IDI_ANIM_INTRO_1, IDI_ANIM_INTRO_2, IDI_ANIM_INTRO_3,
                           IDI_ANIM_IDLE,     IDI_ANIM_CYCLE_1,  IDI_ANIM_CYCLE_2, IDI_ANIM_CYCLE_3, IDI_ANIM_CYCLE_4,
                           IDI_KIND_VIDEO,    IDI_KIND_AUDIO,    IDI_ROW_WAVE,     IDI_ROW_MIDI,     IDI_ROW_PAUSE,
                           IDI_ROW_CD_TRACK,  IDI_ROW_VIDEO,     IDI_ROW_AUDIO};

const COLORREF kGrey = RGB(192, 192, 192);

const BYTE* Resource(LPCSTR name, LPCSTR type, DWORD* bytes) {
  HRSRC found = FindResourceA(Instance(), name, type);
  if (!found) return nullptr;
  *bytes = SizeofResource(Instance(), found);
  return static_cast<const BYTE*>(LockResource(LoadResource(Instance(), found)));
}

#pragma pack(push, 2)
struct GroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

// The bottom-up BGRA pixels of each 32-bit image that icon id holds, by size.
std::map<int, const BYTE*> StoredImages(int id) {
  std::map<int, const BYTE*> images;
  DWORD bytes = 0;
  const BYTE* group = Resource(MAKEINTRESOURCEA(id), RT_GROUP_ICON, &bytes);
  if (!group || bytes < 6) return images;
  WORD count = 0;
  memcpy(&count, group + 4, sizeof count);
  for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupEntry) <= bytes; ++i) {
    GroupEntry entry;
    memcpy(&entry, group + 6 + i * sizeof entry, sizeof entry);
    DWORD imageBytes = 0;
    const BYTE* image = Resource(MAKEINTRESOURCEA(entry.id), RT_ICON, &imageBytes);
    BITMAPINFOHEADER header;
    if (!image || imageBytes < sizeof header) continue;
    memcpy(&header, image, sizeof header);
    int size = entry.width ? entry.width : 256;
    if (header.biBitCount == 32 && imageBytes >= sizeof header + static_cast<DWORD>(size) * size * 4)
      images[size] = image + sizeof header;
  }
  return images;
}

// The icon's own width and height.
SIZE IconSize(HICON icon) {
  SIZE size = {0, 0};
  ICONINFO info = {};
  if (!icon || !GetIconInfo(icon, &info)) return size;
  BITMAP bitmap = {};
  if (GetObjectA(info.hbmMask, sizeof bitmap, &bitmap)) {
    size.cx = bitmap.bmWidth;
    size.cy = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return size;
}

int Channel(COLORREF colour, int shift) { return (colour >> shift) & 0xFF; }

// True when two colours differ by at most tolerance in each channel.
bool Near(COLORREF a, COLORREF b, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
  return true;
}

std::string Text(COLORREF colour) {
  return "rgb(" + std::to_string(GetRValue(colour)) + "," + std::to_string(GetGValue(colour)) + "," +
         std::to_string(GetBValue(colour)) + ")";
}

// ---- the rule for a DPI ------------------------------------------------------

TEST(PictureSizes, GrowWithTheDpi) {
  struct Case {
    int pixels, dpi, expected;
  };
  const Case cases[] = {{16, 96, 16},  {16, 120, 20}, {16, 144, 24}, {16, 192, 32}, {32, 96, 32},
                        {32, 120, 40}, {32, 144, 48}, {32, 192, 64}, {16, 168, 28}, {16, 0, 16}};
  for (const Case& c : cases)
    EXPECT_EQ(PictureSizeForDpi(c.pixels, c.dpi), c.expected) << c.pixels << " at " << c.dpi << " DPI";
}

// ---- the loader ------------------------------------------------------------------

TEST(LoadPicture, GivesEveryStoredSizeAsItIsStored) {
  for (int id : kPictureIds) {
    std::map<int, const BYTE*> images = StoredImages(id);
    for (int size : kSizes) {
      SCOPED_TRACE("picture " + std::to_string(id) + " at " + std::to_string(size));
      EXPECT_EQ(PictureSourceSize(Instance(), id, size), size);
      HICON icon = LoadPicture(Instance(), id, size);
      ASSERT_NE(icon, nullptr);
      SIZE got = IconSize(icon);
      EXPECT_EQ(got.cx, size);
      EXPECT_EQ(got.cy, size);
      bench::Canvas canvas(size, size, kGrey);
      DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
      DestroyIcon(icon);
      ASSERT_EQ(images.count(size), 1u) << "not stored at 32 bits";
      const BYTE* pixels = images[size];
      int wrong = 0;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          const BYTE* p = pixels + ((size - 1 - y) * size + x) * 4;  // stored bottom-up
          int a = p[3];
          COLORREF expected = RGB((p[2] * a + 192 * (255 - a)) / 255, (p[1] * a + 192 * (255 - a)) / 255,
                                  (p[0] * a + 192 * (255 - a)) / 255);
          wrong += !Near(canvas.At(x, y), expected, 2);
        }
      EXPECT_EQ(wrong, 0) << "pixels unlike the stored image";
    }
  }
}

// test_pictures.dll, beside the test, holds the test icon: 16 red, 24
// green, 48 blue on its left half and clear on its right half.
class TestIcons {
 public:
  TestIcons() : module_(LoadLibraryA("test_pictures.dll")) {}
  ~TestIcons() {
    if (module_) FreeLibrary(module_);
  }
  TestIcons(const TestIcons&) = delete;
  TestIcons& operator=(const TestIcons&) = delete;
  HINSTANCE get() const { return module_; }

 private:
  HMODULE module_;
};

TEST(LoadPicture, ReducesTheNextLargerStoredSizeAndEnlargesOnlyAboveTheLargest) {
  TestIcons icons;
  ASSERT_NE(icons.get(), nullptr);
  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 128, 0), blue = RGB(0, 0, 255);
  struct Case {
    int pixels, source;
    COLORREF colour;
  };
  const Case cases[] = {{8, 16, red},   {16, 16, red},  {17, 24, green}, {20, 24, green}, {24, 24, green},
                        {25, 48, blue}, {32, 48, blue}, {40, 48, blue},  {47, 48, blue},  {48, 48, blue}};
  for (const Case& c : cases) {
    SCOPED_TRACE("at " + std::to_string(c.pixels));
    EXPECT_EQ(PictureSourceSize(icons.get(), IDI_TEST_SIZES, c.pixels), c.source);
    HICON icon = LoadPicture(icons.get(), IDI_TEST_SIZES, c.pixels);
    ASSERT_NE(icon, nullptr);
    SIZE got = IconSize(icon);
    EXPECT_EQ(got.cx, c.pixels);
    EXPECT_EQ(got.cy, c.pixels);
    bench::Canvas canvas(c.pixels, c.pixels, kGrey);
    DrawIconEx(canvas.dc(), 0, 0, icon, c.pixels, c.pixels, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
    // The half of 48 that is blue covers whole pixels, except the middle
    // column of an odd size, which is half covered: blue at half alpha,
    // not a darker blue.
    int blueColumns = c.source == 48 ? c.pixels / 2 : c.pixels;
    COLORREF half = RGB(192 * 127 / 255, 192 * 127 / 255, 128 + 192 * 127 / 255);
    for (int y = 0; y < c.pixels; ++y)
      for (int x = 0; x < c.pixels; ++x) {
        COLORREF expected = x < blueColumns ? c.colour : (c.pixels % 2 && x == blueColumns) ? half : kGrey;
        COLORREF seen = canvas.At(x, y);
        if (!Near(seen, expected, 3)) {
          ADD_FAILURE() << "pixel " << x << "," << y << " is " << Text(seen) << ", not " << Text(expected);
          return;
        }
      }
  }

  // Above the largest stored size the largest is enlarged.
  EXPECT_EQ(PictureSourceSize(icons.get(), IDI_TEST_SIZES, 64), 48);
  HICON large = LoadPicture(icons.get(), IDI_TEST_SIZES, 64);
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(IconSize(large).cx, 64);
  DestroyIcon(large);

  EXPECT_EQ(LoadPicture(icons.get(), IDI_TEST_SIZES, 0), nullptr);
  EXPECT_EQ(LoadPicture(icons.get(), IDI_TEST_SIZES, -16), nullptr);
  EXPECT_EQ(LoadPicture(icons.get(), IDI_TEST_SIZES + 1, 16), nullptr) << "no such icon";
  EXPECT_EQ(PictureSourceSize(icons.get(), IDI_TEST_SIZES + 1, 16), 0);
}

TEST(LoadPicture, GivesEveryPictureAtSizesBetweenTheStoredOnes) {
  for (int id : kPictureIds)
    for (int size : {18, 28, 36, 56}) {
      SCOPED_TRACE("picture " + std::to_string(id) + " at " + std::to_string(size));
      HICON icon = LoadPicture(Instance(), id, size);
      ASSERT_NE(icon, nullptr);
      EXPECT_EQ(IconSize(icon).cx, size);
      DestroyIcon(icon);
    }
}

// ---- row pictures --------------------------------------------------------------------

// The rows look at 100 % as they did with the bitmaps: the row picture at
// 16, drawn one pixel in (the bitmap's clear first column), gives the same
// pixels as the bitmap on a plain row, a highlighted one and a black one.
TEST(RowPictures, At16DrawAsTheKindBitmapsOnEveryRowColour) {
  for (int i = 0; i < kKindCount; ++i) {
    SCOPED_TRACE("kind " + std::to_string(i));
    HBITMAP bitmap = LoadBitmapA(Instance(), MAKEINTRESOURCEA(IDB_KIND_WAVE + i));
    HICON icon = LoadPicture(Instance(), IDI_ROW_WAVE + i, 16);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(icon, nullptr);
    for (COLORREF row : {RGB(255, 255, 255), RGB(49, 106, 197), RGB(0, 0, 0)}) {
      bench::Canvas withBitmap(18, 16, row), withIcon(18, 16, row);
      RECT all = {0, 0, 18, 16};
      EXPECT_EQ(DrawMaskedBitmap(withBitmap.dc(), bitmap, &all, 0, 0), 1);
      DrawIconEx(withIcon.dc(), 1, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
      int differ = 0;
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 18; ++x) differ += withBitmap.At(x, y) != withIcon.At(x, y);
      EXPECT_EQ(differ, 0) << "on " << Text(row);
    }
    DestroyIcon(icon);
    DeleteObject(bitmap);
  }
}

}  // namespace
