// Drawing the rows of the Object List and of the Add dialog's kind list,
// checked pixel by pixel in a memory device context: the kind bitmap with
// pure blue left out, the row text and where it stands, the colours of a
// selected row, the focus rectangle, and rows that draw nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "bench/canvas.h"
#include "bench/list_host.h"
#include "dialogs/kind_item.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "resources/ids.h"
#include "shell/button_ribbon.h"
#include "shell/buttons.h"
#include "shell/list_display.h"
#include "shell/list_view.h"
#include "support/list_rows.h"

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 20;
constexpr COLORREF kUntouched = RGB(1, 2, 3);

// A list row's drawing surface, untouched until drawn on.
class Canvas : public bench::Canvas {
 public:
  Canvas() : bench::Canvas(kWidth, kHeight, kUntouched) {}
  void Fill(COLORREF colour) { bench::Canvas::Fill(0, 0, kWidth, kHeight, colour); }
  COLORREF Pixel(int x, int y) const { return At(x, y); }
  // True when every pixel with left <= x < right equals the other's.
  bool SameColumns(const Canvas& other, int left, int right) const {
    for (int y = 0; y < kHeight; ++y)
      for (int x = left; x < right; ++x)
        if (Pixel(x, y) != other.Pixel(x, y)) return false;
    return true;
  }
  bool AllColumns(COLORREF colour, int left, int right) const {
    for (int y = 0; y < kHeight; ++y)
      for (int x = left; x < right; ++x)
        if (Pixel(x, y) != colour) return false;
    return true;
  }
};

DRAWITEMSTRUCT Item(const Canvas& canvas, ULONG_PTR data, UINT action, UINT state = 0) {
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_LISTBOX;
  item.itemAction = action;
  item.itemState = state;
  item.hDC = canvas.dc();
  item.rcItem = {0, 0, kWidth, kHeight};
  item.itemData = data;                   // what the kind list's rows draw from
  item.itemID = static_cast<UINT>(data);  // the object list's row: the object's index
  return item;
}

COLORREF Window() { return GetSysColor(COLOR_WINDOW) & 0xFFFFFF; }

// The text alone, as a row shows it from x on, in window colours.
void DrawReferenceText(Canvas* canvas, const std::string& text, int x) {
  canvas->Fill(Window());
  HDC dc = canvas->dc();
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  HGDIOBJ old = SelectObject(dc, RowFont());
  RECT rect = {x, 0, kWidth, kHeight};
  ExtTextOutA(dc, x, 3, ETO_CLIPPED | ETO_OPAQUE, &rect, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  SelectObject(dc, old);
}

// Pixels of the bitmap area (at 3, 2): the bitmap's own where it is not
// pure blue, the background where it is.
::testing::AssertionResult ShowsBitmap(const Canvas& canvas, HBITMAP bitmap, COLORREF background) {
  BITMAP info;
  GetObjectA(bitmap, sizeof info, &info);
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(source, bitmap);
  ::testing::AssertionResult result = ::testing::AssertionSuccess();
  int blue = 0;
  for (int y = 0; y < info.bmHeight && result; ++y) {
    for (int x = 0; x < info.bmWidth; ++x) {
      COLORREF own = GetPixel(source, x, y);
      COLORREF expected = own == RGB(0, 0, 255) ? background : own;
      blue += own == RGB(0, 0, 255);
      if (canvas.Pixel(3 + x, 2 + y) != expected) {
        result = ::testing::AssertionFailure() << "pixel " << x << "," << y;
        break;
      }
    }
  }
  SelectObject(source, old);
  DeleteDC(source);
  if (result && blue == 0) return ::testing::AssertionFailure() << "the bitmap has no transparent pixel";
  return result;
}

// Puts an object into the main view's list; its index, which a row names
// it by.
ULONG_PTR MakeObject(uint32_t flags, const char* description, const char* fileName, uint8_t track = 0) {
  SoundObjectHandle handle = AllocSoundObject();
  SoundObject values = {};
  values.flags = flags;
  values.trackNumber = track;
  std::string_view d(description ? description : ""), f(fileName ? fileName : "");
  StoreSoundObject(handle, values, description ? &d : nullptr, fileName ? &f : nullptr);
  return static_cast<ULONG_PTR>(MainView().list().Insert(-1, handle));
}

class ListDisplayTest : public testing::Test {
 protected:
  bench::ListHost host_;  // loads the kind bitmaps
};

TEST_F(ListDisplayTest, RowShowsTheKindBitmapAndTheTextItIsKnownBy) {
  const struct {
    uint32_t flags;
    const char* description;
    const char* fileName;
    uint8_t track;
    int bitmap;
    std::string shown;
  } cases[] = {
      {CdTrack, nullptr, nullptr, 7, 3, "Track:7"},
      {Wave, nullptr, "C:\\SOUNDS\\BELL.WAV", 0, 0, "C:\\SOUNDS\\BELL.WAV"},
      {Midi, "Morning song", "C:\\SONG.MID", 0, 1, "Morning song"},
      {Pause, nullptr, "Pause 5 sec.", 0, 2, "Pause 5 sec."},
      {Video, "", "C:\\CLIP.AVI", 0, 4, "C:\\CLIP.AVI"},
  };
  for (const auto& c : cases) {
    ULONG_PTR object = MakeObject(c.flags, c.description, c.fileName, c.track);
    Canvas row, reference;
    DRAWITEMSTRUCT item = Item(row, object, ODA_DRAWENTIRE);
    DrawListItem(MainView().list(), &item);
    EXPECT_TRUE(ShowsBitmap(row, KindBitmapAt(c.bitmap), Window())) << c.shown;
    EXPECT_TRUE(row.AllColumns(Window(), 21, 54)) << c.shown;  // between bitmap and text
    DrawReferenceText(&reference, c.shown, 54);
    EXPECT_TRUE(row.SameColumns(reference, 54, kWidth)) << c.shown;
  }
}

TEST_F(ListDisplayTest, SelectedRowsShowTheHighlightEvenWhenDrawnWhole) {
  ULONG_PTR object = MakeObject(Wave, "bell", "C:\\BELL.WAV");
  auto data = object;
  COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT) & 0xFFFFFF;
  for (UINT action : {static_cast<UINT>(ODA_SELECT), static_cast<UINT>(ODA_DRAWENTIRE)}) {
    Canvas row;
    DRAWITEMSTRUCT item = Item(row, data, action, ODS_SELECTED);
    DrawListItem(MainView().list(), &item);
    EXPECT_TRUE(ShowsBitmap(row, KindBitmapAt(0), highlight)) << action;
    EXPECT_EQ(row.Pixel(40, 10), highlight) << action;
    item.itemState = 0;  // deselected again
    DrawListItem(MainView().list(), &item);
    EXPECT_EQ(row.Pixel(40, 10), Window()) << action;
  }

  // A focus change inverts the focus rectangle, and a second one takes it
  // away; a whole row drawn with the focus shows it at once.
  Canvas row, before;
  DRAWITEMSTRUCT item = Item(row, data, ODA_DRAWENTIRE);
  DrawListItem(MainView().list(), &item);
  DRAWITEMSTRUCT same = Item(before, data, ODA_DRAWENTIRE);
  DrawListItem(MainView().list(), &same);
  item.itemAction = ODA_FOCUS;
  item.itemState = ODS_FOCUS;
  DrawListItem(MainView().list(), &item);
  EXPECT_FALSE(row.SameColumns(before, 0, kWidth));
  Canvas focused;
  DRAWITEMSTRUCT whole = Item(focused, data, ODA_DRAWENTIRE, ODS_FOCUS);
  DrawListItem(MainView().list(), &whole);
  EXPECT_TRUE(focused.SameColumns(row, 0, kWidth));
  item.itemState = 0;
  DrawListItem(MainView().list(), &item);
  EXPECT_TRUE(row.SameColumns(before, 0, kWidth));
}

TEST_F(ListDisplayTest, RowsWithoutObjectOrBitmap) {
  Canvas empty;
  DRAWITEMSTRUCT item = Item(empty, 99, ODA_DRAWENTIRE);
  DrawListItem(MainView().list(), &item);
  EXPECT_TRUE(empty.AllColumns(kUntouched, 0, kWidth));  // a row of no object: nothing at all

  // A kind that is none of the six (from a list file): text only, in the
  // same place.
  ULONG_PTR odd = MakeObject(0x40, "odd", nullptr);
  Canvas row, reference;
  item = Item(row, odd, ODA_DRAWENTIRE);
  DrawListItem(MainView().list(), &item);
  EXPECT_TRUE(row.AllColumns(Window(), 0, 54));
  DrawReferenceText(&reference, "odd", 54);
  EXPECT_TRUE(row.SameColumns(reference, 54, kWidth));
  EXPECT_EQ(DrawMaskedBitmap(row.dc(), nullptr, &item.rcItem, 3, 2), 0);
}

TEST_F(ListDisplayTest, KindRowsFindTheirBitmapFromTheItemData) {
  Canvas midi, reference;
  DRAWITEMSTRUCT item = Item(midi, MakeKindItemData(IDK_MIDI, 1), ODA_DRAWENTIRE);
  DrawKindItem(&item);
  EXPECT_TRUE(ShowsBitmap(midi, KindBitmapAt(1), Window()));
  DrawReferenceText(&reference, "MIDI Files", 26);
  EXPECT_TRUE(midi.SameColumns(reference, 26, kWidth));

  const struct {
    int command;
    const char* text;
  } texts[] = {{IDK_PAUSE, "Pause"},
               {IDK_WAVE, "WAV Files"},
               {IDK_CD_TRACK, "CD Audio"},
               {IDK_VIDEO, "Microsoft Video Files"},
               {IDK_AUDIO, "Audio Files"}};
  for (const auto& t : texts) {
    Canvas row;
    item = Item(row, MakeKindItemData(t.command, 2), ODA_DRAWENTIRE);
    DrawKindItem(&item);
    DrawReferenceText(&reference, t.text, 26);
    EXPECT_TRUE(row.SameColumns(reference, 26, kWidth)) << t.text;
  }

  // A command without a text: its bitmap only. No bitmap part: nothing.
  Canvas unknown, none;
  item = Item(unknown, MakeKindItemData(999, 2), ODA_DRAWENTIRE);
  DrawKindItem(&item);
  EXPECT_TRUE(ShowsBitmap(unknown, KindBitmapAt(2), Window()));
  EXPECT_TRUE(unknown.AllColumns(Window(), 21, kWidth));
  item = Item(none, IDK_WAVE, ODA_DRAWENTIRE);
  DrawKindItem(&item);
  EXPECT_TRUE(none.AllColumns(kUntouched, 0, kWidth));
}

}  // namespace

// High contrast and hidden keyboard cues: rows draw in whatever the system
// colours are, and the focus rectangle shows even when the system asks to
// hide it (ODS_NOFOCUSRECT), as it does on the icon buttons.
TEST_F(ListDisplayTest, RowsAndButtonsFollowTheSystemColoursAndAlwaysShowTheFocus) {
  const int elements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
  const COLORREF contrast[] = {RGB(0, 0, 0), RGB(255, 255, 0), RGB(0, 160, 255), RGB(0, 0, 0)};
  COLORREF kept[4];
  for (int i = 0; i < 4; ++i) kept[i] = GetSysColor(elements[i]);
  ASSERT_TRUE(SetSysColors(4, elements, contrast));

  ULONG_PTR object = MakeObject(Wave, "bell", "C:\\BELL.WAV");
  auto data = object;
  Canvas selected, plain, hidden;
  DRAWITEMSTRUCT item = Item(selected, data, ODA_DRAWENTIRE, ODS_SELECTED);
  DrawListItem(MainView().list(), &item);
  EXPECT_EQ(selected.Pixel(40, 10), contrast[2]);
  item = Item(plain, data, ODA_DRAWENTIRE);
  DrawListItem(MainView().list(), &item);
  EXPECT_EQ(plain.Pixel(40, 10), contrast[0]);
  item = Item(hidden, data, ODA_DRAWENTIRE, ODS_FOCUS | ODS_NOFOCUSRECT);
  DrawListItem(MainView().list(), &item);
  EXPECT_FALSE(hidden.SameColumns(plain, 0, kWidth)) << "no focus rectangle";

  // An icon button: drawn whole with the focus it shows the rectangle
  // inside its edge; a focus change alone toggles it.
  DRAWITEMSTRUCT button = {};
  button.CtlType = ODT_BUTTON;
  button.CtlID = IDC_BTN_OPEN;
  SetRect(&button.rcItem, 0, 0, 38, 20);
  Canvas unfocused, focused;
  button.hDC = unfocused.dc();
  button.itemAction = ODA_DRAWENTIRE;
  EXPECT_EQ(DrawButton(IDC_BTN_OPEN, &button, 2, 2, 3, 3, true), 1);
  button.hDC = focused.dc();
  button.itemState = ODS_FOCUS | ODS_NOFOCUSRECT;
  EXPECT_EQ(DrawButton(IDC_BTN_OPEN, &button, 2, 2, 3, 3, true), 1);
  EXPECT_FALSE(focused.SameColumns(unfocused, 0, 38)) << "no focus rectangle on the button";
  button.itemAction = ODA_FOCUS;
  button.itemState = 0;  // the focus leaves
  DrawButton(IDC_BTN_OPEN, &button, 2, 2, 3, 3, true);
  EXPECT_TRUE(focused.SameColumns(unfocused, 0, 38)) << "the focus rectangle stayed";

  SetSysColors(4, elements, kept);
}
