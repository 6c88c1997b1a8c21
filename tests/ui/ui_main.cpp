// The main of every UI test program: one application for the whole run, on
// the offscreen platform unless another is asked for.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/ui/ui_support.h"
#include "toolkit/application.h"

namespace {

class CloseWindowsAfterEachTest : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override { uitest::DestroyAllWindows(); }
};

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    tk::Application application("tamsavik");
    testing::UnitTest::GetInstance()->listeners().Append(new CloseWindowsAfterEachTest);
    return RUN_ALL_TESTS();
}
