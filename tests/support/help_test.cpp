// The help file as the program opens it: every context number the program
// uses shows its topic in the help viewer, links lead on, HELP_QUIT closes
// the viewer, and the file is found after the current directory moved.
//
// The viewer runs in a process of its own. Its main window has the class
// "MS_WINHELP"; the topic is the text of its RichEdit child, whose first
// line is the topic's title (the heading "Section 3.3: Play All Mode", or
// the book's title on the contents page).
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/program.h"
#include "bench/test_env.h"
#include "resources/ids.h"
#include "support/help.h"

namespace {

constexpr DWORD kViewerTimeoutMs = 20000;
constexpr char kViewerClass[] = "MS_WINHELP";

HWND ViewerWindow() { return FindWindowA(kViewerClass, nullptr); }

HWND TopicControl(HWND viewer) {
  HWND text = FindWindowExA(viewer, nullptr, "RichEdit20A", nullptr);
  return text ? text : FindWindowExA(viewer, nullptr, "RichEdit20W", nullptr);
}

// The text of a window of another process (WM_GETTEXT crosses processes).
std::string RemoteText(HWND window) {
  DWORD_PTR length = 0;
  if (!window || !SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::string buffer(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]), SMTO_ABORTIFHUNG,
                           5000, &copied))
    return {};
  buffer.resize(copied < buffer.size() ? copied : 0);
  return buffer;
}

// The whole text of the topic the viewer shows; empty while there is none.
std::string TopicText() { return RemoteText(TopicControl(ViewerWindow())); }

struct ViewerMessage {
  DWORD viewer = 0;  // the viewer's process
  std::string text;
};

BOOL CALLBACK CloseViewerMessage(HWND window, LPARAM data) {
  auto* message = reinterpret_cast<ViewerMessage*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != message->viewer || bench::ClassName(window) != "#32770") return TRUE;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (bench::ClassName(child) == "Static") message->text += RemoteText(child);
  PostMessageA(window, WM_COMMAND, IDOK, 0);
  return FALSE;
}

// A viewer that cannot open its file says so in a message box while its
// caller still waits in WinHelp. Closes such a box; returns its text.
std::string AnswerViewerMessage() {
  ViewerMessage message;
  GetWindowThreadProcessId(ViewerWindow(), &message.viewer);
  EnumWindows(CloseViewerMessage, reinterpret_cast<LPARAM>(&message));
  return message.text.empty() ? "(no message)" : message.text;
}

BOOL CALLBACK DescribeViewer(HWND window, LPARAM data) {
  auto* out = reinterpret_cast<std::string*>(data);
  std::string cls = bench::ClassName(window);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (cls.rfind("MS_", 0) != 0 && cls.rfind("WH", 0) != 0) return TRUE;
  *out += "[" + cls + " pid " + std::to_string(process) + (IsWindowVisible(window) ? " visible" : " hidden") +
          " title '" + RemoteText(window) + "'";
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    *out += " {" + bench::ClassName(child) + (IsWindowVisible(child) ? " v " : " h ") +
            std::to_string(RemoteText(child).size()) + "}";
  *out += "] ";
  return TRUE;
}

std::string DescribeViewers() {
  std::string out;
  EnumWindows(DescribeViewer, reinterpret_cast<LPARAM>(&out));
  return out;
}

std::string TitleOf(const std::string& text) { return text.substr(0, text.find('\r')); }

// A heading reads "<Chapter or Section> <number>: <name>"; the contents
// page's title is the name alone.
bool TitleNames(const std::string& title, const std::string& name) {
  const std::string suffix = ": " + name;
  return title == name ||
         (title.size() > suffix.size() && title.compare(title.size() - suffix.size(), suffix.size(), suffix) == 0);
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
  WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(caption), -1, text, sizeof text, nullptr, nullptr);
  return text;
}

class HelpFile : public testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowA("STATIC", "help test", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    // The viewer is another process: wake the waits regularly to look at it.
    timer_ = SetTimer(nullptr, 0, 50, nullptr);
    ASSERT_TRUE(QuitViewer());  // each test starts the viewer itself
  }

  void TearDown() override {
    QuitViewer();
    KillTimer(nullptr, timer_);
    DestroyWindow(owner_);
  }

  bool QuitViewer() {
    OpenHelp(owner_, HELP_QUIT, 0);
    return bench::PumpUntil([] { return ViewerWindow() == nullptr; }, kViewerTimeoutMs);
  }

  // Opens the help at a context number as the program does and waits until
  // the viewer shows a topic titled by the name. Returns the topic's text,
  // or what the viewer showed instead. WinHelp runs on a thread of its own,
  // so that a message box of the viewer fails the test instead of hanging it.
  std::string OpenAt(DWORD context, const std::string& name) {
    struct Call {
      std::atomic<bool> done{false};
      BOOL result = FALSE;
    };
    auto call = std::make_shared<Call>();
    std::thread([call, owner = owner_, context] {
      call->result = OpenHelp(owner, HELP_CONTEXT, context);
      call->done = true;
    }).detach();
    if (!bench::PumpUntil([&] { return call->done.load(); }, kViewerTimeoutMs)) {
      ADD_FAILURE() << "WinHelp did not return; the viewer says: " << AnswerViewerMessage();
      bench::PumpUntil([&] { return call->done.load(); }, kViewerTimeoutMs);
      return {};
    }
    EXPECT_TRUE(call->result);
    return WaitForTopic(name);
  }

  std::string WaitForTopic(const std::string& name) {
    std::string text;
    if (!bench::PumpUntil([&] { return TitleNames(TitleOf(text = TopicText()), name); }, kViewerTimeoutMs))
      ADD_FAILURE() << "viewers: " << DescribeViewers();
    return text;
  }

  // Clicks the character at an index of the text, as a mouse click would.
  static void ClickCharacter(const std::string& text, size_t index) {
    // The control counts a paragraph end as one character; its text has "\r\n".
    size_t position = index;
    for (size_t i = 0; i + 1 < index; ++i)
      if (text[i] == '\r' && text[i + 1] == '\n') --position;
    HWND control = TopicControl(ViewerWindow());
    DWORD_PTR point = 0;
    ASSERT_TRUE(SendMessageTimeoutA(control, EM_POSFROMCHAR, position, 0, SMTO_ABORTIFHUNG, 5000, &point));
    LPARAM at = MAKELPARAM(static_cast<short>(LOWORD(point)) + 2, static_cast<short>(HIWORD(point)) + 4);
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(control, WM_LBUTTONUP, 0, at);
  }

  HWND owner_ = nullptr;
  UINT_PTR timer_ = 0;
};

struct ContextTopic {
  DWORD context;
  std::string name;  // the topic's title without its number
};

TEST_F(HelpFile, EveryContextNumberOfTheProgramOpensItsTopic) {
  // The menu's Help commands, then the Help buttons of the dialogs, whose
  // topics are named like the dialogs' captions.
  const std::vector<ContextTopic> topics = {
      {HELPCTX_INDEX, "Wendle Help"},
      {HELPCTX_OVERVIEW, "Overview"},
      {HELPCTX_PROCEDURES, "Procedures"},
      {HELPCTX_DISTRIBUTION, "Distribution"},
      {HELPCTX_ADD_SOUND_OBJECT, DialogCaption(IDD_ADD_SOUND_OBJECT)},
      {HELPCTX_OBJECT_DIALOGS, "Sound Object dialog boxes"},
      {HELPCTX_PLAY_ALL_MODE, DialogCaption(IDD_PLAY_ALL_MODE)},
      {HELPCTX_HOT_KEYS, DialogCaption(IDD_HOT_KEYS)},
      {HELPCTX_PREFERENCES, DialogCaption(IDD_PREFERENCES)},
      {HELPCTX_CONFIRMATIONS, DialogCaption(IDD_CONFIRMATIONS)},
      {HELPCTX_SOUND_EDITOR, DialogCaption(IDD_SOUND_EDITOR)},
  };
  for (const ContextTopic& topic : topics) {
    SCOPED_TRACE("context " + std::to_string(topic.context));
    ASSERT_FALSE(topic.name.empty());
    std::string text = OpenAt(topic.context, topic.name);
    // One wrong topic is enough: each would wait for the whole timeout.
    ASSERT_TRUE(TitleNames(TitleOf(text), topic.name)) << "the viewer shows: " << TitleOf(text);
  }
  // The three Sound Object dialogs share one context; its topic names each.
  std::string text = OpenAt(HELPCTX_OBJECT_DIALOGS, "Sound Object dialog boxes");
  for (int dialog : {IDD_SOUND_OBJECT, IDD_CD_TRACK, IDD_PAUSE_OBJECT})
    EXPECT_NE(text.find(DialogCaption(dialog)), std::string::npos) << DialogCaption(dialog);

  EXPECT_TRUE(QuitViewer()) << "HELP_QUIT left the viewer open";
}

TEST_F(HelpFile, LinksLeadToTheirTopics) {
  // The shared topic of the Sound Object dialogs names each dialog as
  // "<caption> (<link>)", and links back to the Add dialog, whose topic name
  // (HELPCTX_ADD_SOUND_OBJECT) hashes to a negative number: the viewer finds
  // such a topic only when the file's table of topics is in signed order.
  const std::string shared = "Sound Object dialog boxes";
  struct Link {
    std::string before;  // the text just before the link
    std::string topic;   // the name of the topic it opens
  };
  std::vector<Link> links;
  for (int dialog : {IDD_SOUND_OBJECT, IDD_CD_TRACK, IDD_PAUSE_OBJECT})
    links.push_back({DialogCaption(dialog) + " (", DialogCaption(dialog)});
  links.push_back({DialogCaption(IDD_ADD_SOUND_OBJECT) + " dialog box (see ", DialogCaption(IDD_ADD_SOUND_OBJECT)});

  for (const Link& link : links) {
    SCOPED_TRACE(link.topic);
    std::string text = OpenAt(HELPCTX_OBJECT_DIALOGS, shared);
    ASSERT_TRUE(TitleNames(TitleOf(text), shared)) << "the viewer shows: " << TitleOf(text);
    size_t at = text.find(link.before);
    ASSERT_NE(at, std::string::npos);
    ClickCharacter(text, at + link.before.size());
    text = WaitForTopic(link.topic);
    ASSERT_TRUE(TitleNames(TitleOf(text), link.topic)) << "the viewer shows: " << TitleOf(text);
  }
}

TEST_F(HelpFile, AWendleThatNeverOpenedItLeavesItOpenWhenItCloses) {
  std::string text = OpenAt(HELPCTX_OVERVIEW, "Overview");
  ASSERT_TRUE(TitleNames(TitleOf(text), "Overview"));
  HWND viewer = ViewerWindow();
  {
    bench::Program wendle;
    ASSERT_TRUE(wendle.Window());
    PostMessageA(wendle.Window(), WM_CLOSE, 0, 0);
    ASSERT_EQ(wendle.WaitForExit(), 0u);
  }
  EXPECT_TRUE(IsWindow(viewer)) << "Wendle closed the help another program shows";
}

TEST_F(HelpFile, IsFoundAfterTheCurrentDirectoryMoved) {
  // A file dialog moves the current directory; the viewer starts there.
  char previous[MAX_PATH];
  GetCurrentDirectoryA(sizeof previous, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(bench::TempDir().c_str()));
  std::string text = OpenAt(HELPCTX_PLAY_ALL_MODE, DialogCaption(IDD_PLAY_ALL_MODE));
  SetCurrentDirectoryA(previous);
  EXPECT_TRUE(TitleNames(TitleOf(text), DialogCaption(IDD_PLAY_ALL_MODE))) << "the viewer shows: " << TitleOf(text);
}

}  // namespace
