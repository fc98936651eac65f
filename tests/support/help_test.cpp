// The help file as the program opens it: every context number the program
// uses shows a page that WD.CHM holds and that is its topic's, in one help
// window that comes to the front and closes at the program's end.
//
// The pages are read through the system's own reader of compiled help
// files (ITStorage, itss.dll), as the viewer reads them; the viewer draws
// no page here (Wine has no HTML engine in the test prefix), so what a
// test sees of it is its window.
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/test_env.h"
#include "resources/ids.h"
#include "support/help.h"

// itss.dll's store of a compiled help file. Declared outside the unnamed
// namespace: a type of its own there has no implementations the compiler
// does not see, so it would take the calls for the pure declarations.
const CLSID kClsidITStorage = {0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID kIidITStorage = {0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
struct ITStorage : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD, IStorage**) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD, IStorage**) = 0;
};

namespace {

constexpr char kViewerClass[] = "HH Parent";
constexpr DWORD kViewerTimeoutMs = 15000;

// WD.CHM beside the test, as the program finds it beside itself.
std::wstring HelpFilePath() {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"WD.CHM";
}

// The pages of the built help file, read as the viewer reads them.
class HelpFileStore {
 public:
  HelpFileStore() {
    CoInitialize(nullptr);
    ITStorage* store = nullptr;
    if (SUCCEEDED(CoCreateInstance(kClsidITStorage, nullptr, CLSCTX_INPROC_SERVER, kIidITStorage,
                                   reinterpret_cast<void**>(&store)))) {
      store->StgOpenStorage(HelpFilePath().c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &file_);
      store->Release();
    }
  }
  ~HelpFileStore() {
    if (file_) file_->Release();
    CoUninitialize();
  }
  bool Opened() const { return file_ != nullptr; }

  // A page's text; false when the file holds no such page.
  bool Page(const wchar_t* name, std::string* text) {
    IStream* stream = nullptr;
    if (!file_ || FAILED(file_->OpenStream(name, nullptr, STGM_READ, 0, &stream))) return false;
    text->clear();
    char buffer[4096];
    ULONG read = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &read)) && read > 0) text->append(buffer, read);
    stream->Release();
    return true;
  }

 private:
  IStorage* file_ = nullptr;
};

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
  size_t start = text.find(open);
  if (start == std::string::npos) return {};
  start += open.size();
  size_t end = text.find(close, start);
  return end == std::string::npos ? std::string() : text.substr(start, end - start);
}

std::string Narrow(const wchar_t* text) {
  char narrow[256] = "";
  if (text) WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

// A "sz_Or_Ord" field of a dialog template: none, an ordinal, or a string.
const WORD* SkipNameOrOrdinal(const WORD* at) {
  if (*at == 0xFFFF) return at + 2;
  while (*at++) {
  }
  return at;
}

// The caption of one of the program's dialog templates (DLGTEMPLATEEX).
std::string DialogCaption(int id) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
  const WORD* words = found ? static_cast<const WORD*>(LockResource(LoadResource(nullptr, found))) : nullptr;
  if (!words || words[1] != 0xFFFF) return {};
  // After the fixed part (version to height) come the menu, the class, the caption.
  const WORD* caption = SkipNameOrOrdinal(SkipNameOrOrdinal(words + 13));
  char text[256] = "";
  WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<LPCWSTR>(caption), -1, text, sizeof text, nullptr, nullptr);
  return text;
}

TEST(HelpPages, EveryContextNumberOfTheProgramShowsItsTopicsPage) {
  HelpFileStore help;
  ASSERT_TRUE(help.Opened()) << "WD.CHM is not beside the test, or is no compiled help file";
  // The menu's Help commands, then the Help buttons of the dialogs, whose
  // topics are named like the dialogs' captions.
  struct ContextTopic {
    UINT context;
    std::string title;
  };
  const std::vector<ContextTopic> topics = {
      {HELPCTX_INDEX, "Wendle Help"},
      {HELPCTX_OVERVIEW, "Overview"},
      {HELPCTX_PROCEDURES, "Procedures"},
      {HELPCTX_USING_HELP, "Using Help"},
      {HELPCTX_DISTRIBUTION, "Distribution"},
      {HELPCTX_ADD_SOUND_OBJECT, DialogCaption(IDD_ADD_SOUND_OBJECT)},
      {HELPCTX_OBJECT_DIALOGS, "Sound Object dialog boxes"},
      {HELPCTX_PLAY_ALL_MODE, DialogCaption(IDD_PLAY_ALL_MODE)},
      {HELPCTX_HOT_KEYS, DialogCaption(IDD_HOT_KEYS)},
      {HELPCTX_PREFERENCES, DialogCaption(IDD_PREFERENCES)},
      {HELPCTX_CONFIRMATIONS, DialogCaption(IDD_CONFIRMATIONS)},
      {HELPCTX_SOUND_EDITOR, DialogCaption(IDD_SOUND_EDITOR)},
  };
  std::vector<std::string> pages;
  for (const ContextTopic& topic : topics) {
    SCOPED_TRACE("context " + std::to_string(topic.context));
    ASSERT_FALSE(topic.title.empty());
    const wchar_t* page = HelpTopicPage(topic.context);
    ASSERT_NE(page, nullptr);
    std::string text;
    ASSERT_TRUE(help.Page(page, &text)) << Narrow(page) << " is not in WD.CHM";
    EXPECT_EQ(Between(text, "<title>", "</title>"), topic.title) << Narrow(page);
    pages.push_back(Narrow(page));
  }
  // Twelve topics, twelve pages.
  std::sort(pages.begin(), pages.end());
  EXPECT_EQ(std::unique(pages.begin(), pages.end()), pages.end());

  // The three Sound Object dialogs share one context; its page names each.
  std::string shared;
  ASSERT_TRUE(help.Page(HelpTopicPage(HELPCTX_OBJECT_DIALOGS), &shared));
  for (int dialog : {IDD_SOUND_OBJECT, IDD_CD_TRACK, IDD_PAUSE_OBJECT})
    EXPECT_NE(shared.find(DialogCaption(dialog)), std::string::npos) << DialogCaption(dialog);

  // A number the help does not know shows the contents rather than nothing.
  EXPECT_STREQ(HelpTopicPage(0), HelpTopicPage(HELPCTX_INDEX));
  EXPECT_STREQ(HelpTopicPage(9999), HelpTopicPage(HELPCTX_INDEX));
}

struct ViewerSearch {
  std::vector<HWND> found;
};

BOOL CALLBACK CollectViewer(HWND window, LPARAM data) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && bench::ClassName(window) == kViewerClass && IsWindowVisible(window))
    reinterpret_cast<ViewerSearch*>(data)->found.push_back(window);
  return TRUE;
}

// This process's visible help windows.
std::vector<HWND> ViewerWindows() {
  ViewerSearch search;
  EnumWindows(CollectViewer, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class HelpWindow : public testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowA("STATIC", "help test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(ViewerWindows().empty());
  }
  void TearDown() override {
    CloseHelp();
    bench::PumpMessages();
    DestroyWindow(owner_);
  }

  // Opens a topic as the program does; the help window once it shows.
  HWND Open(UINT context) {
    EXPECT_TRUE(OpenHelp(owner_, context));
    HWND window = nullptr;
    bench::PumpUntil(
        [&] {
          std::vector<HWND> windows = ViewerWindows();
          window = windows.size() == 1 ? windows[0] : nullptr;
          return window != nullptr;
        },
        kViewerTimeoutMs);
    return window;
  }

  HWND owner_ = nullptr;
};

TEST_F(HelpWindow, OneWindowShowsEveryTopicInFrontAndClosesAtTheEnd) {
  HWND window = Open(HELPCTX_OVERVIEW);
  ASSERT_TRUE(window) << ViewerWindows().size() << " help windows";
  EXPECT_EQ(bench::WindowText(window), "Wendle Help");
  EXPECT_EQ(GetWindow(window, GW_OWNER), owner_);

  // The next topic goes to the same window, which comes back to the front,
  // minimized or not.
  SetForegroundWindow(owner_);
  EXPECT_EQ(Open(HELPCTX_PREFERENCES), window);
  EXPECT_EQ(GetForegroundWindow(), window);
  ShowWindow(window, SW_MINIMIZE);
  bench::PumpUntil([&] { return IsIconic(window) != FALSE; });
  EXPECT_EQ(Open(HELPCTX_HOT_KEYS), window);
  EXPECT_FALSE(IsIconic(window));
  EXPECT_EQ(GetForegroundWindow(), window);

  CloseHelp();
  EXPECT_TRUE(bench::PumpUntil([&] { return !IsWindow(window); }, kViewerTimeoutMs));
  // The viewer starts again after its end.
  HWND again = Open(HELPCTX_INDEX);
  EXPECT_TRUE(again);
}

TEST_F(HelpWindow, IsFoundAfterTheCurrentFolderMoved) {
  // A file dialog moves the current folder; the help file stays beside the program.
  char previous[MAX_PATH];
  GetCurrentDirectoryA(sizeof previous, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(bench::TempDir().c_str()));
  HWND window = Open(HELPCTX_PLAY_ALL_MODE);
  SetCurrentDirectoryA(previous);
  EXPECT_TRUE(window);
}

}  // namespace
