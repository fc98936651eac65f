// Panels, frames and transparent bitmaps drawn into 32-bit memory bitmaps,
// read back pixel by pixel.
#include <gtest/gtest.h>

#include "bench/canvas.h"

#include "support/support_library.h"

namespace {

const COLORREF kUntouched = RGB(1, 2, 3);

using bench::Canvas;

TEST(Draw3DPanel, RaisedIsLitTopLeftAndFilledWithFace) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
  Canvas canvas(64, 64, kUntouched);
  RECT r = {10, 10, 50, 40};
  Draw3DPanel(canvas.dc(), &r, TRUE, 1);
  EXPECT_EQ(canvas.At(10, 10), light);
  EXPECT_EQ(canvas.At(10, 30), light);
  EXPECT_EQ(canvas.At(30, 10), light);
  EXPECT_EQ(canvas.At(49, 39), dark);
  EXPECT_EQ(canvas.At(49, 20), dark);
  EXPECT_EQ(canvas.At(30, 39), dark);
  EXPECT_EQ(canvas.At(11, 11), face);
  EXPECT_EQ(canvas.At(48, 38), face);
  EXPECT_EQ(canvas.At(9, 9), kUntouched);
  EXPECT_EQ(canvas.At(50, 40), kUntouched);
  EXPECT_EQ(canvas.At(50, 20), kUntouched);
}

TEST(Draw3DPanel, PressedIsDarkTopLeftAndWidthCounts) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
  Canvas canvas(64, 64, kUntouched);
  RECT r = {10, 10, 50, 40};
  Draw3DPanel(canvas.dc(), &r, FALSE, 2);
  EXPECT_EQ(canvas.At(10, 10), dark);
  EXPECT_EQ(canvas.At(11, 11), dark);
  EXPECT_EQ(canvas.At(12, 12), face);
  EXPECT_EQ(canvas.At(49, 39), light);
  EXPECT_EQ(canvas.At(48, 38), light);
  EXPECT_EQ(canvas.At(47, 37), face);
}

TEST(Draw3DBorder, PaintsOnlyTheFrameInTheGivenColours) {
  const COLORREF light = RGB(250, 240, 230), dark = RGB(20, 30, 40), face = RGB(100, 110, 120);
  Canvas canvas(80, 64, kUntouched);
  RECT r = {10, 10, 60, 40};
  Draw3DBorder(canvas.dc(), &r, 0, 0, light, dark, face, 2, 2);
  EXPECT_EQ(canvas.At(10, 10), light);
  EXPECT_EQ(canvas.At(10, 25), light);
  EXPECT_EQ(canvas.At(35, 10), light);
  EXPECT_EQ(canvas.At(59, 25), dark);
  EXPECT_EQ(canvas.At(35, 39), dark);
  EXPECT_EQ(canvas.At(59, 39), dark);
  EXPECT_EQ(canvas.At(11, 25), face);
  EXPECT_EQ(canvas.At(35, 11), face);
  EXPECT_EQ(canvas.At(58, 25), face);
  EXPECT_EQ(canvas.At(35, 38), face);
  // Inside and outside the frame nothing changes.
  EXPECT_EQ(canvas.At(12, 12), kUntouched);
  EXPECT_EQ(canvas.At(35, 25), kUntouched);
  EXPECT_EQ(canvas.At(57, 37), kUntouched);
  EXPECT_EQ(canvas.At(9, 9), kUntouched);
  EXPECT_EQ(canvas.At(60, 40), kUntouched);
}

TEST(Draw3DBorder, InsetAndWidthsApplyPerAxis) {
  const COLORREF light = RGB(250, 240, 230), dark = RGB(20, 30, 40), face = RGB(100, 110, 120);
  Canvas canvas(80, 64, kUntouched);
  RECT r = {10, 10, 60, 40};
  Draw3DBorder(canvas.dc(), &r, 2, 1, light, dark, face, 3, 1);
  EXPECT_EQ(canvas.At(10, 20), kUntouched);  // inset 2 at the sides
  EXPECT_EQ(canvas.At(11, 20), kUntouched);
  EXPECT_EQ(canvas.At(12, 20), light);
  EXPECT_EQ(canvas.At(13, 20), face);
  EXPECT_EQ(canvas.At(14, 20), face);
  EXPECT_EQ(canvas.At(15, 20), kUntouched);
  EXPECT_EQ(canvas.At(57, 20), dark);
  EXPECT_EQ(canvas.At(56, 20), face);
  EXPECT_EQ(canvas.At(30, 10), kUntouched);  // inset 1 at top and bottom
  EXPECT_EQ(canvas.At(30, 11), light);
  EXPECT_EQ(canvas.At(30, 12), kUntouched);  // one row wide
  EXPECT_EQ(canvas.At(30, 38), dark);
  EXPECT_EQ(canvas.At(30, 37), kUntouched);
}

TEST(DrawTransparentBitmap, LeavesOutTheTargetsBackgroundColour) {
  const COLORREF key = RGB(255, 0, 255), red = RGB(200, 0, 0), blue = RGB(0, 0, 200);
  Canvas source(4, 4, red);
  source.Fill(0, 0, 2, 2, key);  // top-left quarter transparent
  source.Fill(2, 2, 4, 4, blue);
  Canvas target(16, 16, kUntouched);
  SetBkColor(target.dc(), key);
  ASSERT_TRUE(DrawTransparentBitmap(target.dc(), 5, 6, 4, 4, source.dc(), 0, 0));
  EXPECT_EQ(target.At(5, 6), kUntouched);
  EXPECT_EQ(target.At(6, 7), kUntouched);
  EXPECT_EQ(target.At(7, 6), red);
  EXPECT_EQ(target.At(5, 8), red);
  EXPECT_EQ(target.At(8, 9), blue);
  EXPECT_EQ(target.At(4, 6), kUntouched);  // nothing beyond the given size
  EXPECT_EQ(target.At(9, 9), kUntouched);
  EXPECT_EQ(target.At(8, 10), kUntouched);

  // The background colour decides: now red is left out and the key drawn.
  Canvas second(16, 16, kUntouched);
  SetBkColor(second.dc(), red);
  ASSERT_TRUE(DrawTransparentBitmap(second.dc(), 0, 0, 4, 4, source.dc(), 0, 0));
  EXPECT_EQ(second.At(0, 0), key);
  EXPECT_EQ(second.At(3, 0), kUntouched);
  EXPECT_EQ(second.At(3, 3), blue);
}

TEST(DrawTransparentBitmap, ReadsFromTheSourcePosition) {
  const COLORREF key = RGB(255, 0, 255), red = RGB(200, 0, 0), blue = RGB(0, 0, 200);
  Canvas source(4, 4, key);
  source.Fill(2, 2, 4, 4, blue);
  source.Fill(3, 2, 4, 3, red);
  Canvas target(8, 8, kUntouched);
  SetBkColor(target.dc(), key);
  ASSERT_TRUE(DrawTransparentBitmap(target.dc(), 0, 0, 2, 2, source.dc(), 2, 2));
  EXPECT_EQ(target.At(0, 0), blue);
  EXPECT_EQ(target.At(1, 0), red);
  EXPECT_EQ(target.At(1, 1), blue);
  EXPECT_EQ(target.At(2, 0), kUntouched);
  EXPECT_FALSE(DrawTransparentBitmap(nullptr, 0, 0, 2, 2, source.dc(), 0, 0));
}

}  // namespace
