// LoadWindowPlacement / SaveWindowPlacement against the sandboxed registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/test_env.h"
#include "support/support_library.h"

namespace {

const char kKey[] = "Software\\Orvane Software\\Wendle\\Settings";
const char kValue[] = "WindowPosition";

class WindowPlacement : public testing::Test {
 protected:
  void SetUp() override { bench::ClearRegistry(); }
  void TearDown() override {
    if (window_) DestroyWindow(window_);
  }

  HWND MakeWindow(int x, int y, int width, int height) {
    window_ = CreateWindowExA(0, "STATIC", "placement", WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr,
                              nullptr, nullptr);
    return window_;
  }

  // Loads with a rectangle and flag that show whether they were written.
  bool Load(RECT* rect, int* maximized) {
    SetRect(rect, -7, -7, -7, -7);
    *maximized = -7;
    return LoadWindowPlacement(kKey, kValue, rect, maximized) != FALSE;
  }

  std::vector<BYTE> StoredBytes() {
    std::vector<BYTE> bytes(256);
    HKEY key;
    DWORD size = static_cast<DWORD>(bytes.size());
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    if (RegQueryValueExA(key, kValue, nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS) size = 0;
    RegCloseKey(key);
    bytes.resize(size);
    return bytes;
  }

  static void Store(DWORD type, const std::vector<BYTE>& bytes) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, kValue, 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
  }

  HWND window_ = nullptr;
};

RECT WorkArea() {
  RECT area;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

TEST_F(WindowPlacement, RoundTripGivesPositionAndSize) {
  HWND window = MakeWindow(120, 90, 500, 300);
  ASSERT_TRUE(SaveWindowPlacement(window, kKey, kValue));
  RECT rect;
  int maximized;
  ASSERT_TRUE(Load(&rect, &maximized));
  // x, y, width, height in left, top, right, bottom.
  EXPECT_EQ(rect.left, 120);
  EXPECT_EQ(rect.top, 90);
  EXPECT_EQ(rect.right, 500);
  EXPECT_EQ(rect.bottom, 300);
  EXPECT_EQ(maximized, 0);
}

TEST_F(WindowPlacement, MaximizedAndMinimizedWindowsKeepTheirNormalRectangle) {
  HWND window = MakeWindow(60, 70, 400, 250);
  ShowWindow(window, SW_MAXIMIZE);
  ASSERT_TRUE(SaveWindowPlacement(window, kKey, kValue));
  RECT rect;
  int maximized;
  ASSERT_TRUE(Load(&rect, &maximized));
  EXPECT_EQ(rect.left, 60);
  EXPECT_EQ(rect.top, 70);
  EXPECT_EQ(rect.right, 400);
  EXPECT_EQ(rect.bottom, 250);
  EXPECT_EQ(maximized, 1);

  ShowWindow(window, SW_RESTORE);
  ShowWindow(window, SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(SaveWindowPlacement(window, kKey, kValue));
  ASSERT_TRUE(Load(&rect, &maximized));
  EXPECT_EQ(rect.left, 60);
  EXPECT_EQ(rect.right, 400);
  EXPECT_EQ(maximized, 0);
}

TEST_F(WindowPlacement, MissingOrDamagedValuesAreNotFound) {
  RECT rect;
  int maximized;
  EXPECT_FALSE(Load(&rect, &maximized));  // no key at all
  EXPECT_TRUE(IsRectEmpty(&rect) && rect.left == 0 && rect.top == 0);
  EXPECT_EQ(maximized, -7);  // left as the caller set it
  HWND window = MakeWindow(10, 10, 300, 200);
  ASSERT_TRUE(SaveWindowPlacement(window, kKey, kValue));
  std::vector<BYTE> good = StoredBytes();
  ASSERT_FALSE(good.empty());

  std::vector<BYTE> shortValue(good.begin(), good.end() - 1);
  Store(REG_BINARY, shortValue);
  EXPECT_FALSE(Load(&rect, &maximized)) << "short";
  std::vector<BYTE> longValue = good;
  longValue.push_back(0);
  Store(REG_BINARY, longValue);
  EXPECT_FALSE(Load(&rect, &maximized)) << "long";
  Store(REG_SZ, good);
  EXPECT_FALSE(Load(&rect, &maximized)) << "REG_SZ";
  Store(REG_BINARY, {});
  EXPECT_FALSE(Load(&rect, &maximized)) << "empty";
  std::vector<BYTE> zeros(good.size(), 0);
  Store(REG_BINARY, zeros);
  EXPECT_FALSE(Load(&rect, &maximized)) << "zeros";

  Store(REG_BINARY, good);
  EXPECT_TRUE(Load(&rect, &maximized));
  EXPECT_FALSE(LoadWindowPlacement(kKey, "OtherValue", &rect, &maximized));
}

TEST_F(WindowPlacement, RectangleOffEveryScreenIsBroughtBack) {
  RECT work = WorkArea();
  RECT rect;
  int maximized;
  struct Case {
    int x, y;
  } cases[] = {
      {work.right + 3000, work.bottom + 2000}, {work.left - 5000, work.top + 10}, {work.left + 10, work.top - 4000}};
  for (const Case& c : cases) {
    HWND window = MakeWindow(c.x, c.y, 400, 300);
    ASSERT_TRUE(SaveWindowPlacement(window, kKey, kValue));
    DestroyWindow(window);
    window_ = nullptr;
    ASSERT_TRUE(Load(&rect, &maximized));
    EXPECT_EQ(rect.right, 400) << c.x;  // size kept
    EXPECT_EQ(rect.bottom, 300) << c.x;
    EXPECT_GE(rect.left, work.left) << c.x;
    EXPECT_GE(rect.top, work.top) << c.x;
    EXPECT_LE(rect.left + rect.right, work.right) << c.x;
    EXPECT_LE(rect.top + rect.bottom, work.bottom) << c.x;
  }

  // A window partly on screen is left where it was.
  HWND window = MakeWindow(work.left - 100, work.top + 20, 400, 300);
  ASSERT_TRUE(SaveWindowPlacement(window, kKey, kValue));
  ASSERT_TRUE(Load(&rect, &maximized));
  EXPECT_EQ(rect.left, work.left - 100);
  EXPECT_EQ(rect.top, work.top + 20);
}

TEST_F(WindowPlacement, SaveNeedsAWindow) {
  EXPECT_FALSE(SaveWindowPlacement(nullptr, kKey, kValue));
  HWND window = MakeWindow(10, 10, 300, 200);
  DestroyWindow(window);
  window_ = nullptr;
  EXPECT_FALSE(SaveWindowPlacement(window, kKey, kValue));
  EXPECT_FALSE(bench::RegKeyExists(kKey));
}

}  // namespace
