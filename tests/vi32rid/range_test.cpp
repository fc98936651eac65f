#include <gtest/gtest.h>

#include "support/support_library.h"

TEST(IsInRange, IncludesBothBounds) {
  EXPECT_TRUE(IsInRange(1, 1, 12));
  EXPECT_TRUE(IsInRange(12, 1, 12));
  EXPECT_FALSE(IsInRange(0, 1, 12));
  EXPECT_FALSE(IsInRange(13, 1, 12));
  EXPECT_FALSE(IsInRange(1, 1, 0));  // an empty range (no CD) holds nothing
}
