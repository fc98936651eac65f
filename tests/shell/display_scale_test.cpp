// Wendle at 100, 125, 150 and 200 % display scaling: the real program,
// started with the user's LogPixels set to 96, 120, 144 and 192 DPI. At
// each, its main window and dialogs are laid out for the scale (nothing
// overlaps, nothing is cut, every text fits in the fonts of that DPI), and
// its pictures are the ones stored for that size, drawn unstretched.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "bench/canvas.h"
#include "bench/program.h"
#include "bench/screenshot.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "resources/ids.h"
#include "support/pictures.h"

namespace {

using bench::Program;

constexpr int kDpis[] = {96, 120, 144, 192};

int Scaled(int value, int dpi) { return MulDiv(value, dpi, 96); }

std::string ClassOf(HWND window) { return bench::ClassName(window); }

// For failure messages: a control's class, id and text.
std::string Describe(HWND window) {
  return ClassOf(window) + " " + std::to_string(GetDlgCtrlID(window)) + " \"" + bench::WindowText(window) + "\"";
}

std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

// A child's place in its parent's client area.
RECT PlaceIn(HWND parent, HWND child) {
  RECT place = {};
  GetWindowRect(child, &place);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

std::vector<HWND> VisibleChildren(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child)) children.push_back(child);
  return children;
}

bool IsGroupBox(HWND window) {
  return ClassOf(window) == "Button" && (GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The ribbon and the status bar reach a pixel past the client area's
// edges by design, so that only their inner borders show.
int Overhang(HWND window) {
  std::string name = ClassOf(window);
  return name == "FrameRibbonClass" || name == "ovStatusBar" ? 1 : 0;
}

// No visible child of parent overlaps another (a group box holds its
// controls whole), and none is cut by the parent's client area.
void ExpectNoOverlapsOrCuts(HWND parent) {
  RECT client = {};
  GetClientRect(parent, &client);
  std::vector<HWND> children = VisibleChildren(parent);
  for (size_t i = 0; i < children.size(); ++i) {
    RECT a = PlaceIn(parent, children[i]);
    RECT inside = client;
    InflateRect(&inside, Overhang(children[i]), Overhang(children[i]));
    RECT both;
    EXPECT_TRUE(IntersectRect(&both, &a, &inside) && EqualRect(&both, &a))
        << Describe(children[i]) << " at " << Describe(a) << " is cut by " << Describe(client);
    for (size_t j = i + 1; j < children.size(); ++j) {
      RECT b = PlaceIn(parent, children[j]);
      if (!IntersectRect(&both, &a, &b)) continue;
      bool groupHolds =
          (IsGroupBox(children[i]) && EqualRect(&both, &b)) || (IsGroupBox(children[j]) && EqualRect(&both, &a));
      EXPECT_TRUE(groupHolds) << Describe(children[i]) << " at " << Describe(a) << " overlaps " << Describe(children[j])
                              << " at " << Describe(b);
    }
  }
}

// The fonts texts are drawn in at dpi: the stock variable-pitch font at
// its height scaled (labels and explanations), and the dialogs' 8-point
// "MS Shell Dlg".
HFONT CreateVariablePitchFont(int dpi) {
  LOGFONTA font;
  GetObjectA(GetStockObject(ANSI_VAR_FONT), sizeof font, &font);
  font.lfHeight = Scaled(font.lfHeight, dpi);
  font.lfWidth = 0;
  return CreateFontIndirectA(&font);
}

HFONT CreateDialogFont(int dpi) {
  LOGFONTA font = {};
  font.lfHeight = -MulDiv(8, dpi, 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(font.lfFaceName, "MS Shell Dlg", LF_FACESIZE);
  return CreateFontIndirectA(&font);
}

// Whether a control's text, in font, fits inside it: a wrapping static's
// lines within its height, any other text on one line within its width,
// beside the box of a check box or radio button. Controls that show no
// text of their own (edits, lists, pictures, owner-drawn) pass.
testing::AssertionResult TextFits(HWND control, HFONT font, int dpi) {
  std::wstring text = bench::WideWindowText(control);
  if (text.empty()) return testing::AssertionSuccess();
  LONG style = GetWindowLongA(control, GWL_STYLE);
  std::string name = ClassOf(control);
  RECT client = {};
  GetClientRect(control, &client);
  int room = client.right;
  UINT format = DT_CALCRECT;
  if (name == "Static") {
    LONG type = style & SS_TYPEMASK;
    if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE)
      format |= DT_SINGLELINE;
    else if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT)
      format |= DT_WORDBREAK;
    else
      return testing::AssertionSuccess();
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  } else if (name == "Button") {
    LONG type = style & BS_TYPEMASK;
    if (type == BS_OWNERDRAW) return testing::AssertionSuccess();
    bool box = (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE) &&
               !(style & BS_PUSHLIKE);
    // The check box and its gap; a group box's title is inset too.
    room -= box || type == BS_GROUPBOX ? Scaled(16, dpi) : Scaled(4, dpi);
    format |= (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  } else {
    return testing::AssertionSuccess();
  }
  bench::Canvas canvas(1, 1);
  HGDIOBJ old = SelectObject(canvas.dc(), font);
  RECT needed = {0, 0, room, 0};
  DrawTextW(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &needed, format);
  SelectObject(canvas.dc(), old);
  if (needed.right <= room && needed.bottom <= client.bottom) return testing::AssertionSuccess();
  return testing::AssertionFailure() << Describe(control) << " needs " << needed.right << "x" << needed.bottom
                                     << " and has " << room << "x" << client.bottom;
}

// Whether window shows picture id, drawn at pixels square, at (x, y) of
// its client area: every pixel the picture covers whole (the same over
// black and over white) is on the screen as the stored picture of that
// size has it. A picture of another size stretched there would not be.
testing::AssertionResult ShowsPicture(HWND window, int x, int y, int id, int pixels) {
  HICON icon = LoadPicture(GetModuleHandleA(nullptr), id, pixels);
  if (!icon) return testing::AssertionFailure() << "no picture " << id << " at " << pixels;
  bench::Canvas black(pixels, pixels, RGB(0, 0, 0)), white(pixels, pixels, RGB(255, 255, 255));
  DrawIconEx(black.dc(), 0, 0, icon, pixels, pixels, 0, nullptr, DI_NORMAL);
  DrawIconEx(white.dc(), 0, 0, icon, pixels, pixels, 0, nullptr, DI_NORMAL);
  DestroyIcon(icon);
  int opaque = 0, differ = 0;
  bench::Canvas shown(pixels, pixels);
  // The window may not have painted yet: looked at until it matches.
  for (int tries = 0; tries < 25; ++tries, Sleep(40)) {
    // Read through the top-level window's DC, as the screenshots are: a
    // child of another process gives no pixels of its own.
    HWND top = GetAncestor(window, GA_ROOT);
    POINT at = {x, y};
    ClientToScreen(window, &at);
    RECT frame = {};
    GetWindowRect(top, &frame);
    HDC dc = GetWindowDC(top);
    BitBlt(shown.dc(), 0, 0, pixels, pixels, dc, at.x - frame.left, at.y - frame.top, SRCCOPY);
    ReleaseDC(top, dc);
    opaque = differ = 0;
    for (int py = 0; py < pixels; ++py)
      for (int px = 0; px < pixels; ++px) {
        COLORREF colour = black.At(px, py);
        if (colour != white.At(px, py)) continue;
        ++opaque;
        differ += shown.At(px, py) != colour;
      }
    if (differ == 0) break;
  }
  if (opaque >= pixels * pixels / 8 && differ == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "picture " << id << " at " << pixels << " px: " << differ << " of " << opaque
                                     << " pixels differ";
}

HWND RibbonButton(HWND window, int id) {
  return GetDlgItem(FindWindowExA(window, nullptr, "FrameRibbonClass", nullptr), id);
}

// Every text of the main window fits, and nothing overlaps or is cut:
// in the window, on the ribbon.
void ExpectMainWindowFits(Program& wendle, int dpi) {
  HWND window = wendle.Window();
  ExpectNoOverlapsOrCuts(window);
  HWND help = RibbonButton(window, IDC_BTN_HELP);
  ASSERT_TRUE(help);
  ExpectNoOverlapsOrCuts(GetParent(help));
  HFONT font = CreateVariablePitchFont(dpi);
  for (int id : {IDC_LABEL_COUNT_CAPTION, IDC_LABEL_COUNT, IDC_LABEL_ORDER_CAPTION, IDC_LABEL_ORDER, IDC_MUTE_BUTTON})
    EXPECT_TRUE(TextFits(GetDlgItem(window, id), font, dpi));
  DeleteObject(font);
}

// A dialog's controls neither overlap nor are cut, and their texts fit.
void ExpectDialogFits(HWND dialog, int dpi) {
  SCOPED_TRACE(bench::WindowText(dialog));
  ExpectNoOverlapsOrCuts(dialog);
  HFONT dialogFont = CreateDialogFont(dpi), explanationFont = CreateVariablePitchFont(dpi);
  for (HWND control : VisibleChildren(dialog))
    EXPECT_TRUE(TextFits(control, GetDlgCtrlID(control) == IDC_EXPLANATION ? explanationFont : dialogFont, dpi));
  DeleteObject(dialogFont);
  DeleteObject(explanationFont);
}

// A kind picture of a list's first row: 3 pixels in (at 96 DPI; its
// picture a pixel further), centred in the row's height.
testing::AssertionResult ShowsRowPicture(HWND list, int id, int dpi) {
  int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  if (height != Scaled(20, dpi)) return testing::AssertionFailure() << "rows of " << height << " pixels";
  int pixels = PictureSizeForDpi(16, dpi);
  return ShowsPicture(list, Scaled(3, dpi) + Scaled(1, dpi), (height - pixels) / 2, id, pixels);
}

class DisplayScaleTest : public bench::ProgramTestBase {};

// At each scale the main window is laid out for it, with the ribbon's and
// the rows' pictures of its size, also at its smallest size; at 200 % it
// is twice its size at 100 %, and at 100 % every control stands where it
// always stood.
TEST_F(DisplayScaleTest, MainWindowIsLaidOutAndDrawnForEachScale) {
  std::string list = bench::TempPath("scale.wdl");
  bench::WriteMarkedList(list, {1, 2, 3});
  std::map<int, SIZE> sizes;
  for (int dpi : kDpis) {
    SCOPED_TRACE(std::to_string(dpi) + " DPI");
    bench::ProgramDpi scale(dpi);
    Program wendle("scale.wdl");
    HWND window = wendle.Window();
    ASSERT_TRUE(window);
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 3; }));
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT frame = {};
    GetWindowRect(window, &frame);
    sizes[dpi] = {frame.right - frame.left, frame.bottom - frame.top};

    ExpectMainWindowFits(wendle, dpi);
    const int iconAt = Scaled(2, dpi), icon = PictureSizeForDpi(32, dpi);
    EXPECT_TRUE(ShowsPicture(RibbonButton(window, IDC_BTN_HELP), iconAt, iconAt, IDI_HELP, icon));
    EXPECT_TRUE(ShowsPicture(wendle.Child(IDC_BTN_PLAY), iconAt, iconAt, IDI_PLAY, icon));
    EXPECT_TRUE(ShowsRowPicture(wendle.Child(IDC_OBJECT_LIST), IDI_ROW_WAVE, dpi));
    if (dpi == 144) bench::SaveScreenshot(window, "main_window_at_150_percent");

    if (dpi == 96) {
      // Where the controls stood before the layout followed the DPI.
      struct Expected {
        int id;
        RECT place;
      };
      const Expected today[] = {
          {IDC_BTN_PLAY, {10, 125, 48, 163}},           {IDC_BTN_PLAY_ALL, {10, 201, 48, 239}},
          {IDC_LABEL_COUNT_CAPTION, {90, 52, 170, 68}}, {IDC_LABEL_ORDER, {390, 52, 518, 68}},
          {IDC_OBJECT_LIST, {60, 74, 592, 336}},        {IDC_MUTE_BUTTON, {454, 347, 498, 369}},
          {IDC_VOLUME_BAR, {502, 346, 592, 370}},       {IDC_POSITION_BAR, {60, 346, 362, 370}},
          {IDC_POSITION_TIME, {362, 350, 450, 366}},
      };
      for (const Expected& e : today) {
        RECT place = PlaceIn(window, wendle.Child(e.id));
        EXPECT_TRUE(EqualRect(&place, &e.place)) << e.id << " at " << Describe(place);
      }
      HWND help = RibbonButton(window, IDC_BTN_HELP);
      RECT place = PlaceIn(GetParent(help), help), before = {535, 3, 573, 41};
      EXPECT_TRUE(EqualRect(&place, &before)) << Describe(place);
    }

    // The smallest size still shows everything whole.
    SetWindowPos(window, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_GE(client.right, Scaled(578, dpi) - 1);
    HWND ribbon = GetParent(RibbonButton(window, IDC_BTN_HELP));
    EXPECT_TRUE(wendle.WaitFor([&] { return PlaceIn(window, ribbon).right == client.right + 1; }));  // it follows
    ExpectMainWindowFits(wendle, dpi);
  }
  EXPECT_NEAR(sizes[192].cx, 2 * sizes[96].cx, 4);
  EXPECT_NEAR(sizes[192].cy, 2 * sizes[96].cy, 4);
}

// At each scale the dialogs scale with their fonts: Add Sound Object, with
// its owner-drawn rows of the scale's height and pictures, the Sound Object
// dialog it leads to, Preferences, Play All Mode and Modify Hot Keys.
TEST_F(DisplayScaleTest, DialogsFitAtEachScale) {
  for (int dpi : kDpis) {
    SCOPED_TRACE(std::to_string(dpi) + " DPI");
    bench::ProgramDpi scale(dpi);
    Program wendle;
    ASSERT_TRUE(wendle.Window());

    wendle.Key(VK_F4);
    HWND add = wendle.WaitForDialog();
    ASSERT_TRUE(add);
    ExpectDialogFits(add, dpi);
    HWND kinds = GetDlgItem(add, IDC_KIND_LIST);
    int firstKind = static_cast<int>(SendMessageA(kinds, LB_GETITEMDATA, 0, 0) >> 16) - 1;
    EXPECT_TRUE(ShowsRowPicture(kinds, IDI_ROW_WAVE + firstKind, dpi));
    EXPECT_TRUE(wendle.PressButton(add, IDCANCEL));

    HWND wave = wendle.OpenAddDialogOfKind(IDK_WAVE);
    ASSERT_TRUE(wave);
    ExpectDialogFits(wave, dpi);
    EXPECT_TRUE(wendle.PressButton(wave, IDCANCEL));

    for (int command : {IDM_OPT_PREFERENCES, IDM_OPT_PLAY_ALL_MODE, IDM_OPT_HOT_KEYS}) {
      PostMessageA(wendle.Window(), WM_COMMAND, static_cast<WPARAM>(command), 0);
      HWND dialog = wendle.WaitForDialog();
      ASSERT_TRUE(dialog) << command;
      ExpectDialogFits(dialog, dpi);
      EXPECT_TRUE(wendle.PressButton(dialog, IDCANCEL));
    }
  }
}

}  // namespace
