#include "TestSupport.h"

#include "state/Helpers.h"

#include <gtest/gtest.h>

TEST(GetField, Smoke) { EXPECT_EQ(GetField("a,b,c", 2, ","), "b"); }
