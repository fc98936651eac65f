// The three system-wide hot keys: which of them the window system takes.
#include <windows.h>

#include <gtest/gtest.h>

#include "bench/list_host.h"
#include "bench/modal_script.h"
#include "bench/test_env.h"
#include "resources/ids.h"
#include "settings/hot_keys.h"
#include "settings/settings.h"
#include "settings/settings_record.h"

namespace {

// Whether a combination is free on this desktop: only a free one can be
// registered by another window.
bool Free(UINT modifiers, char letter) {
  HWND probe = CreateWindowExA(0, "static", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  bool free = RegisterHotKey(probe, 1, modifiers, letter) != FALSE;
  UnregisterHotKey(probe, 1);
  DestroyWindow(probe);
  return free;
}

class HotKeysTest : public testing::Test {
 protected:
  void SetUp() override {
    bench::ClearRegistry();
    LoadHotKeys();  // Control+Alt+N, S and F
  }
  void TearDown() override {
    UnregisterHotKeys(host_.window());
    LoadHotKeys();
    EXPECT_EQ(modals_.Failures(), 0);
  }
  bench::ListHost host_;
  bench::ModalScript modals_;
};

TEST_F(HotKeysTest, RegisteredInOrderUntilTheFirstTheSystemRefuses) {
  ASSERT_EQ(RegisterHotKeys(host_.window()), -1);
  EXPECT_FALSE(Free(MOD_CONTROL | MOD_ALT, 'N'));
  EXPECT_FALSE(Free(MOD_CONTROL | MOD_ALT, 'S'));
  EXPECT_FALSE(Free(MOD_CONTROL | MOD_ALT, 'F'));

  // Play All given the same combination as Play Next: it is refused, its
  // radio button is named, and the Favorite key after it stays free.
  g_settings.hotKeys[1] = g_settings.hotKeys[0];
  EXPECT_EQ(RegisterHotKeys(host_.window()), IDC_HOTKEY_PLAY_ALL);
  EXPECT_FALSE(Free(MOD_CONTROL | MOD_ALT, 'N'));
  EXPECT_TRUE(Free(MOD_CONTROL | MOD_ALT, 'F'));
  EXPECT_TRUE(Free(MOD_CONTROL | MOD_ALT, 'S'));

  UnregisterHotKeys(host_.window());
  EXPECT_TRUE(Free(MOD_CONTROL | MOD_ALT, 'N'));
}

}  // namespace
