// The support library's modal windows, answered by the bench, and the
// window helpers CenterDialog and FindPreviousInstance.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/modal_script.h"
#include "bench/test_env.h"
#include "resources/ids.h"
#include "support/support_library.h"
#include "tests/vi32rid/test_ids.h"

namespace {

HINSTANCE OwnModule() { return GetModuleHandleA(nullptr); }

// A plain top-level window, hidden unless shown.
class TopWindow {
 public:
  TopWindow(int x, int y, int width, int height, DWORD style = WS_OVERLAPPEDWINDOW)
      : window_(CreateWindowExA(0, "STATIC", "vi32rid test", style, x, y, width, height, nullptr, nullptr, nullptr,
                                nullptr)) {}
  ~TopWindow() { DestroyWindow(window_); }
  TopWindow(const TopWindow&) = delete;
  TopWindow& operator=(const TopWindow&) = delete;
  HWND get() const { return window_; }
  RECT Rect() const {
    RECT r;
    GetWindowRect(window_, &r);
    return r;
  }

 private:
  HWND window_;
};

RECT WorkArea() {
  RECT area;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

// ---- ResMessageBox ---------------------------------------------------------

TEST(ResMessageBox, LoadsIdTextsAndReturnsTheAnswer) {
  TopWindow owner(0, 0, 300, 200);
  bench::ModalScript modals;
  modals.AnswerMessageBox(IDNO);
  int answer = ResMessageBox(owner.get(), OwnModule(), MAKEINTRESOURCEA(IDS_TEST_QUESTION),
                             MAKEINTRESOURCEA(IDS_TEST_CAPTION), MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2);
  EXPECT_EQ(answer, IDNO);
  ASSERT_EQ(modals.Records().size(), 1u);
  const bench::ModalRecord& box = modals.Records()[0];
  EXPECT_TRUE(box.isMessageBox);
  EXPECT_EQ(box.owner, owner.get());
  EXPECT_EQ(box.text, "Remove the selected Sound Object?");
  EXPECT_EQ(box.title, "Wendle Test");
  EXPECT_EQ(box.style, 276u);
  EXPECT_EQ(modals.Failures(), 0);
}

TEST(ResMessageBox, TakesReadyTextsAndMixedArguments) {
  bench::ModalScript modals;
  modals.AnswerMessageBox(IDYES);
  modals.AnswerMessageBox(IDOK);
  EXPECT_EQ(ResMessageBox(nullptr, OwnModule(), "3 files added.", "Ready caption", MB_YESNOCANCEL | MB_ICONQUESTION),
            IDYES);
  // A ready text with an id caption, as the program does for formatted texts.
  EXPECT_EQ(ResMessageBox(nullptr, OwnModule(), "C:\\LISTS\\A.WDL is no list file.", MAKEINTRESOURCEA(IDS_TEST_CAPTION),
                          MB_ICONEXCLAMATION),
            IDOK);
  ASSERT_EQ(modals.Records().size(), 2u);
  EXPECT_EQ(modals.Records()[0].text, "3 files added.");
  EXPECT_EQ(modals.Records()[0].title, "Ready caption");
  EXPECT_EQ(modals.Records()[0].style, 35u);
  EXPECT_EQ(modals.Records()[1].text, "C:\\LISTS\\A.WDL is no list file.");
  EXPECT_EQ(modals.Records()[1].title, "Wendle Test");
  EXPECT_EQ(modals.Records()[1].style, 48u);
  EXPECT_EQ(modals.Failures(), 0);
}

TEST(ResMessageBox, ShowsLongTextsWholeAndMissingStringsEmpty) {
  std::string longText(511, 'w');
  longText[0] = 'A';
  longText[510] = 'Z';
  bench::ModalScript modals;
  modals.AnswerMessageBox(IDCANCEL);
  modals.AnswerMessageBox(IDOK);
  EXPECT_EQ(ResMessageBox(nullptr, OwnModule(), longText.c_str(), MAKEINTRESOURCEA(IDS_TEST_CAPTION), MB_OKCANCEL),
            IDCANCEL);
  EXPECT_EQ(ResMessageBox(nullptr, OwnModule(), MAKEINTRESOURCEA(IDS_TEST_MISSING), MAKEINTRESOURCEA(IDS_TEST_CAPTION),
                          MB_OK),
            IDOK);
  ASSERT_EQ(modals.Records().size(), 2u);
  EXPECT_EQ(modals.Records()[0].text, longText);
  EXPECT_EQ(modals.Records()[1].text, "");
  EXPECT_EQ(modals.Failures(), 0);
}

// ---- BrowseForFile ---------------------------------------------------------

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}

TEST(BrowseForFile, ReturnsTheChosenFileInTheBuffer) {
  std::string path = bench::TempPath("CHOSEN.WAV");
  ASSERT_TRUE(bench::WriteWaveFile(path, std::string(80, '\x80')));
  char buffer[512];
  snprintf(buffer, sizeof buffer, "Repeat:1  Pause:0   leftover text");
  TopWindow owner(0, 0, 300, 200);
  bench::ModalScript modals;
  modals.ChooseFile(path);
  EXPECT_TRUE(BrowseForFile(owner.get(), BROWSE_WAV, buffer, 0));
  EXPECT_EQ(Lower(buffer), Lower(path));
  char directory[MAX_PATH];
  GetCurrentDirectoryA(sizeof directory, directory);
  EXPECT_EQ(Lower(directory), Lower(bench::TempDir()));  // moved to the file's folder
  ASSERT_EQ(modals.Records().size(), 1u);
  EXPECT_TRUE(modals.Records()[0].isFileDialog);
  EXPECT_EQ(modals.Records()[0].owner, owner.get());
  EXPECT_EQ(modals.Records()[0].fileName, "");  // the old buffer text is not offered
  EXPECT_EQ(modals.Failures(), 0);
}

TEST(BrowseForFile, CancelReturnsZero) {
  char buffer[512] = "";
  bench::ModalScript modals;
  modals.CancelFileDialog();
  EXPECT_FALSE(BrowseForFile(nullptr, BROWSE_WAV_AND_MIDI, buffer, 0));
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(modals.Records().size(), 1u);
  EXPECT_EQ(modals.Failures(), 0);
}

TEST(BrowseForFile, OffersTheFilesOfEachKindThenAllFiles) {
  struct Case {
    int kind;
    const char* first;
  } cases[] = {
      {BROWSE_WAV_AND_MIDI, "WAV and MIDI files (*.wav;*.mid)"},
      {BROWSE_AVI, "AVI files (*.avi)"},
      {BROWSE_MIDI, "MIDI files (*.mid)"},
      {BROWSE_WAV, "WAV files (*.wav)"},
      {BROWSE_AUDIO, "Audio files (MP3, WMA, FLAC, Ogg, Opus, AAC)"},
      {BROWSE_ALL_SOUNDS, "Sound files (WAV, MIDI, MP3, WMA, FLAC, Ogg, Opus, AAC)"},
  };
  for (const Case& c : cases) {
    char buffer[512] = "";
    bench::ModalScript modals;
    modals.CancelFileDialog();
    BrowseForFile(nullptr, c.kind, buffer, 0);
    ASSERT_EQ(modals.Records().size(), 1u) << c.kind;
    EXPECT_EQ(modals.Records()[0].filters, (std::vector<std::string>{c.first, "All files (*.*)"})) << c.kind;
  }
}

TEST(BrowseForFile, UnknownKindOpensNoDialog) {
  char buffer[512] = "";
  bench::ModalScript modals;
  for (int kind : {0, 1, 8, -1}) EXPECT_FALSE(BrowseForFile(nullptr, kind, buffer, 0)) << kind;
  EXPECT_TRUE(modals.Records().empty());
}

// ---- ShowAboutBox ----------------------------------------------------------

struct AboutContents {
  std::string title;
  std::vector<std::string> lines;
  bool hasIcon = false;
  POINT centre = {0, 0};
};

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
  auto* contents = reinterpret_cast<AboutContents*>(param);
  char name[32] = "";
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "Static") != 0) return TRUE;
  if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    contents->hasIcon = SendMessageA(child, STM_GETICON, 0, 0) != 0;
  } else {
    char text[512] = "";
    GetWindowTextA(child, text, sizeof text);
    contents->lines.push_back(text);
  }
  return TRUE;
}

TEST(ShowAboutBox, ShowsTheModuleTextsAndIconCentredOnItsOwner) {
  TopWindow owner(100, 80, 640, 480);
  AboutContents contents;
  bench::ModalScript modals;
  modals.Act([&contents](HWND box) {
    char title[256] = "";
    GetWindowTextA(box, title, sizeof title);
    contents.title = title;
    EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&contents));
    RECT r;
    GetWindowRect(box, &r);
    contents.centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    bench::ClickButton(box, IDOK);
  });
  EXPECT_EQ(ShowAboutBox(owner.get(), OwnModule(), IDI_APP, IDS_TEST_CAPTION, IDS_TEST_ABOUT_LINE1,
                         IDS_TEST_ABOUT_LINE2, IDS_TEST_ABOUT_LINE3, 2),
            IDOK);
  ASSERT_EQ(modals.Records().size(), 1u);
  EXPECT_EQ(modals.Records()[0].owner, owner.get());
  EXPECT_EQ(contents.title, "Wendle Test");
  EXPECT_EQ(contents.lines, (std::vector<std::string>{"Wendle list media player", "Version 1.0",
                                                      "Plays WAV, MIDI and AVI files and audio CDs."}));
  EXPECT_TRUE(contents.hasIcon);
  EXPECT_NEAR(contents.centre.x, 100 + 320, 1);
  EXPECT_NEAR(contents.centre.y, 80 + 240, 1);
  EXPECT_EQ(modals.Failures(), 0);
}

TEST(ShowAboutBox, EscapeClosesItToo) {
  bench::ModalScript modals;
  modals.Act([](HWND box) { bench::ClickButton(box, IDCANCEL); });
  // A module without the strings or the icon still shows a box.
  EXPECT_EQ(ShowAboutBox(nullptr, GetModuleHandleA("kernel32.dll"), 9999, IDS_TEST_CAPTION, IDS_TEST_ABOUT_LINE1,
                         IDS_TEST_ABOUT_LINE2, IDS_TEST_ABOUT_LINE3, 2),
            IDCANCEL);
  EXPECT_EQ(modals.Records().size(), 1u);
  EXPECT_EQ(modals.Failures(), 0);
}

// ---- CenterDialog ----------------------------------------------------------

TEST(CenterDialog, CentresOverTheParent) {
  TopWindow parent(200, 150, 600, 400);
  TopWindow dialog(0, 0, 200, 100, WS_POPUP | WS_CAPTION);
  ASSERT_TRUE(CenterDialog(parent.get(), dialog.get()));
  RECT r = dialog.Rect();
  EXPECT_EQ(r.left, 400);
  EXPECT_EQ(r.top, 300);
  EXPECT_EQ(r.right - r.left, 200);  // size kept
  EXPECT_EQ(r.bottom - r.top, 100);
}

TEST(CenterDialog, StaysInsideTheWorkArea) {
  RECT work = WorkArea();
  TopWindow dialog(0, 0, 300, 200, WS_POPUP | WS_CAPTION);
  {
    TopWindow parent(work.left - 500, work.top - 350, 600, 400);  // mostly above and left
    ASSERT_TRUE(CenterDialog(parent.get(), dialog.get()));
    RECT r = dialog.Rect();
    EXPECT_EQ(r.left, work.left);
    EXPECT_EQ(r.top, work.top);
  }
  {
    TopWindow parent(work.right - 100, work.bottom - 50, 600, 400);  // mostly below and right
    ASSERT_TRUE(CenterDialog(parent.get(), dialog.get()));
    RECT r = dialog.Rect();
    EXPECT_EQ(r.right, work.right);
    EXPECT_EQ(r.bottom, work.bottom);
  }
}

TEST(CenterDialog, WithoutParentCentresOnTheWorkArea) {
  RECT work = WorkArea();
  TopWindow dialog(0, 0, 300, 200, WS_POPUP | WS_CAPTION);
  ASSERT_TRUE(CenterDialog(nullptr, dialog.get()));
  RECT r = dialog.Rect();
  EXPECT_NEAR((r.left + r.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((r.top + r.bottom) / 2, (work.top + work.bottom) / 2, 1);
  EXPECT_FALSE(CenterDialog(nullptr, nullptr));
}

// ---- FindPreviousInstance --------------------------------------------------

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(FindPreviousInstance, FindsAWindowOfTheClass) {
  char className[64];
  snprintf(className, sizeof className, "WendleInstanceTest%lu", GetCurrentProcessId());
  WNDCLASSA wc = {};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  ASSERT_TRUE(RegisterClassA(&wc));

  EXPECT_FALSE(FindPreviousInstance(className, nullptr));  // class, but no window
  HWND window = CreateWindowExA(0, className, "Wendle", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                wc.hInstance, nullptr);
  ASSERT_TRUE(window);
  EXPECT_TRUE(FindPreviousInstance(className, nullptr));  // hidden windows count
  EXPECT_TRUE(FindPreviousInstance(className, "Wendle"));
  EXPECT_FALSE(FindPreviousInstance(className, "Another title"));
  DestroyWindow(window);
  EXPECT_FALSE(FindPreviousInstance(className, nullptr));
  UnregisterClassA(className, wc.hInstance);
  EXPECT_FALSE(FindPreviousInstance("WendleNoSuchClass", nullptr));
}

}  // namespace
