// The main calculator window on the offscreen platform: what its fields take
// from the keyboard, Compute, Clear and the pictures. What it shows is checked
// in reference_image_test; that closing it ends the run, in startup_test;
// which codes a field takes, and what Compute decides, in the core's tests.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "tests/ui/ui_support.h"
#include "toolkit/application.h"
#include "toolkit/controls_qt.h"
#include "toolkit/dialogs.h"
#include "toolkit/picture.h"
#include "toolkit/window_qt.h"

namespace {

using uitest::TopLevelOf;
using uitest::WidgetOf;
using Texts = std::vector<std::string>;

class MainWindow : public testing::Test {
  protected:
    void SetUp() override {
        tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
        w_ = &ControlWnd::Instance();
        ASSERT_TRUE(QTest::qWaitForWindowActive(TopLevelOf(*w_)));
    }

    ControlWnd& W() const { return *w_; }

    template <class C = tk::TextField>
    C& Control(const std::string& name) const {
        return tk::Cast<C>(W().ControlByName(name));
    }

    void Enter(const char* rxx, const char* ryy, const char* rxy) const {
        W().RxxFld().SetText(rxx);
        W().RyyFld().SetText(ryy);
        W().RxyFld().SetText(rxy);
    }
    Texts Inputs() const { return {W().RxxFld().Text(), W().RyyFld().Text(), W().RxyFld().Text()}; }

    // Clicks a control; returns the texts of the message boxes it brought.
    Texts ClickOn(const tk::RectControl& control) const {
        return uitest::DismissMessageBoxes([&control] { uitest::Click(control); });
    }
    Texts Compute() const { return ClickOn(W().ComputeCanvas()); }

    // The result shown, or "hidden"; its field and its label show together.
    std::string Result() const {
        EXPECT_EQ(W().RdFld().Visible(), W().RdText().Visible());
        return W().RdFld().Visible() ? W().RdFld().Text() : "hidden";
    }

    // The offscreen platform leaves no window active once a message box has
    // closed; activating the main window again puts the focus where the
    // program sent it.
    bool HasFocusOnceActive(const tk::TextField& field) const {
        TopLevelOf(W())->activateWindow();
        return QTest::qWaitForWindowActive(TopLevelOf(W())) && field.HasFocus();
    }

  private:
    ControlWnd* w_ = nullptr;
};

// --- Typing, through the real key path ---------------------------------------------------

TEST_F(MainWindow, FieldsTakeOnlyTheirOwnKeysAndBeepAtOthers) {
    const struct {
        const char *field, *keys, *text;  // the text the field then holds
        int beeps;
    } kCases[] = {
        {"RxxFld", "0.75", "0.75", 0},
        {"RxyFld", "-.25", "-.25", 0},
        {"RxxFld", "-5", "5", 1},
        {"RyyFld", "-5", "5", 1},
        {"RxxFld", "a b,/:", "", 6},
        {"RxyFld", "x+1e=", "1", 4},
        // A seventh character is not taken, and brings no beep.
        {"RxxFld", "1234567", "123456", 0},
        {"RxyFld", "-.123456", "-.1234", 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.field) + " typing \"" + c.keys + "\"");
        tk::TextField& field = Control(c.field);
        field.SetText("");
        field.SetFocus();
        const std::int64_t before = tk::BeepCount();
        QTest::keyClicks(WidgetOf(field), c.keys);
        EXPECT_EQ(field.Text(), c.text);
        EXPECT_EQ(tk::BeepCount() - before, c.beeps);
    }
}

TEST_F(MainWindow, EditingKeysWorkAndReturnEscapeAndDeleteBeep) {
    tk::TextField& field = W().RxyFld();
    QWidget* widget = WidgetOf(field);
    field.SetText("-.5");
    field.SetFocus();
    const struct {
        Qt::Key key;
        const char* text;
        int beeps;
    } kKeys[] = {
        {Qt::Key_Home, "-.5", 0},     {Qt::Key_Return, "-.5", 1}, {Qt::Key_Enter, "-.5", 1},
        {Qt::Key_Escape, "-.5", 1},   {Qt::Key_Delete, "-.5", 1}, {Qt::Key_Right, "-.5", 0},
        {Qt::Key_Backspace, ".5", 0}, {Qt::Key_End, ".5", 0},     {Qt::Key_Left, ".5", 0},
        {Qt::Key_Backspace, "5", 0},
    };
    for (const auto& k : kKeys) {
        SCOPED_TRACE(QKeySequence(k.key).toString().toStdString());
        const std::int64_t before = tk::BeepCount();
        QTest::keyClick(widget, k.key);
        EXPECT_EQ(field.Text(), k.text);
        EXPECT_EQ(tk::BeepCount() - before, k.beeps);
        EXPECT_TRUE(field.HasFocus());
    }
}

// --- Compute and Clear ---------------------------------------------------------------

TEST_F(MainWindow, ComputeNamesTheFirstProblemAndKeepsAnEarlierResult) {
    const struct {
        const char *rxx, *ryy, *rxy, *message, *focus;
    } kCases[] = {
        {"", "", "", "Please enter the correlation between X1 and Y", "RxxFld"},
        {".5", "", "", "Please enter the correlation between X2 and Y", "RyyFld"},
        {"1.5", ".5", "", "Please enter the correlation between X1 and X2", "RxyFld"},
        {"1.01", "2", "-3", "Correlation of X1 and Y must range from -1.00 to +1.00", "RxxFld"},
        {".5", "1.1", "-3", "Correlation of X2 and Y must range from -1.00 to +1.00", "RyyFld"},
        {"1", "-1", "-1.0001", "Correlation of X1 and X2 must range from -1.00 to +1.00", "RxyFld"},
    };
    // Before any result, a refusal shows none; after one, it stays on view.
    for (const char* before : {"hidden", ".0934"}) {
        if (std::string(before) != "hidden") {
            Enter(".60", ".70", ".80");
            ASSERT_TRUE(Compute().empty());
        }
        for (const auto& c : kCases) {
            SCOPED_TRACE(std::string(c.rxx) + " " + c.ryy + " " + c.rxy);
            Enter(c.rxx, c.ryy, c.rxy);
            // Start from another field, so that the move of the focus shows.
            (std::string(c.focus) == "RyyFld" ? W().RxxFld() : W().RyyFld()).SetFocus();
            EXPECT_EQ(Compute(), Texts{c.message});
            EXPECT_TRUE(HasFocusOnceActive(Control(c.focus)));
            EXPECT_EQ(Inputs(), (Texts{c.rxx, c.ryy, c.rxy}));
            EXPECT_EQ(Result(), before);
        }
    }
}

TEST_F(MainWindow, ComputeShowsTheResultUntilTheNextComputeOrClear) {
    const struct {
        const char *rxx, *ryy, *rxy, *result;
    } kCases[] = {{".716", ".787", ".913", "-.0101"}, {".6", "1", ".5", "INF"}};
    for (const auto& c : kCases) {
        Enter(c.rxx, c.ryy, c.rxy);
        W().RyyFld().SetFocus();
        EXPECT_TRUE(Compute().empty());
        EXPECT_EQ(Result(), c.result);
        EXPECT_EQ(Inputs(), (Texts{c.rxx, c.ryy, c.rxy}));
        EXPECT_TRUE(W().RyyFld().HasFocus());
    }

    Enter(".9", ".1", ".95");
    ASSERT_TRUE(Compute().empty());
    ASSERT_TRUE(Compute().empty());
    EXPECT_EQ(static_cast<QLineEdit*>(WidgetOf(W().RdFld()))->displayText(), "2.5911");
    // Typing leaves the result as it is.
    W().RxxFld().SetFocus();
    QTest::keyClick(WidgetOf(W().RxxFld()), Qt::Key_End);
    QTest::keyClicks(WidgetOf(W().RxxFld()), "1");
    EXPECT_EQ(W().RxxFld().Text(), ".91");
    EXPECT_EQ(Result(), "2.5911");

    // Clear empties and hides and focuses the first field, with or without a result.
    for (const char* rxy : {".4", ""}) {
        Enter(".5", ".3", rxy);
        W().RxyFld().SetFocus();
        EXPECT_TRUE(ClickOn(W().ClearCanvas()).empty());
        EXPECT_EQ(Inputs(), (Texts{"", "", ""}));
        EXPECT_EQ(Result(), "hidden");
        EXPECT_TRUE(W().RxxFld().HasFocus());
    }
}

}  // namespace
