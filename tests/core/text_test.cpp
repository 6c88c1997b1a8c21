#include <gtest/gtest.h>

#include "calculator/decisions.h"

TEST(Smoke, FirstWorkedExample) {
    EXPECT_EQ(calculator::EvaluateInputs(".60", ".70", ".80").resultText, ".0934");
}
