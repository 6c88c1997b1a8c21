#include <gtest/gtest.h>

#include "calculator/ControlWnd.h"
#include "tests/ui/ui_support.h"

TEST(MainWindow, ComputesTheFirstWorkedExample) {
    ControlWnd& w = ControlWnd::Instance();
    w.RxxFld().SetText(".60");
    w.RyyFld().SetText(".70");
    w.RxyFld().SetText(".80");
    uitest::Click(w.ComputeCanvas());
    EXPECT_EQ(w.RdFld().Text(), ".0934");
    EXPECT_TRUE(w.RdFld().Visible());
}

TEST(MainWindow, MissingValueBringsItsMessage) {
    ControlWnd& w = ControlWnd::Instance();
    const auto texts = uitest::DismissMessageBoxes([&] { uitest::Click(w.ComputeCanvas()); });
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "Please enter the correlation between X1 and Y");
}
