// The main calculator window on the offscreen platform: how it is built, what
// its fields take from the keyboard, Compute, Clear and the pictures. That
// closing it ends the run is tested on whole runs, in startup_test.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <cstdlib>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "menus/MenuBar1.h"
#include "tests/ui/ui_support.h"
#include "toolkit/application.h"
#include "toolkit/picture.h"
#include "toolkit/qt_widgets.h"

namespace {

using uitest::TopLevelOf;
using uitest::WidgetOf;

QLineEdit* EditOf(const tk::TextField& field) {
    return static_cast<QLineEdit*>(WidgetOf(field));
}

class MainWindow : public testing::Test {
  protected:
    void SetUp() override {
        tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
        w_ = &ControlWnd::Instance();
        ASSERT_TRUE(QTest::qWaitForWindowActive(TopLevelOf(*w_)));
    }

    ControlWnd& W() const { return *w_; }

    tk::TextField& Field(const std::string& name) const {
        return tk::Cast<tk::TextField>(W().ControlByName(name));
    }

    void Enter(const char* rxx, const char* ryy, const char* rxy) const {
        W().RxxFld().SetText(rxx);
        W().RyyFld().SetText(ryy);
        W().RxyFld().SetText(rxy);
    }

    // Clicks Compute; returns the texts of the message boxes it brought.
    std::vector<std::string> Compute() const {
        return uitest::DismissMessageBoxes([this] { uitest::Click(W().ComputeCanvas()); });
    }

    // The offscreen platform leaves no window active once a message box has
    // closed; activating the main window again puts the focus where the
    // program sent it.
    bool HasFocusOnceActive(const tk::TextField& field) const {
        TopLevelOf(W())->activateWindow();
        return QTest::qWaitForWindowActive(TopLevelOf(W())) && field.HasFocus();
    }

    std::vector<std::string> Inputs() const {
        return {W().RxxFld().Text(), W().RyyFld().Text(), W().RxyFld().Text()};
    }

  private:
    ControlWnd* w_ = nullptr;
};

// --- Building ------------------------------------------------------------------------

TEST_F(MainWindow, BuildsItsControlsInOrderWithTheResultHidden) {
    const std::vector<std::string> expected{
        "RdFld",       "RdText",      "StaticText1", "RxxFld",      "StaticText2",
        "RyyFld",      "StaticText3", "RxyFld",      "StaticText6", "ComputeCanvas",
        "ClearCanvas", "HelpCanvas",  "Canvas1",     "Canvas2"};
    std::vector<std::string> names;
    int visible = 0;
    for (tk::Object* control : W().Controls()) {
        const auto& rect = tk::Cast<tk::RectControl>(control);
        names.push_back(rect.Name());
        if (rect.Visible()) ++visible;
    }
    EXPECT_EQ(names, expected);
    EXPECT_EQ(visible, 12);
    EXPECT_FALSE(W().RdFld().Visible());
    EXPECT_FALSE(W().RdText().Visible());
}

TEST_F(MainWindow, IsAFixedWhiteWindowUnderItsMenuBar) {
    auto* top = static_cast<tk::TopLevelWidget*>(TopLevelOf(W()));
    EXPECT_EQ(top->windowTitle(), "Dravenhal");
    EXPECT_EQ(top->Content()->size(), QSize(580, 450));
    EXPECT_EQ(top->Content()->minimumSize(), QSize(580, 450));
    EXPECT_EQ(top->Content()->maximumSize(), QSize(580, 450));
    EXPECT_FALSE(top->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(top->Content()->autoFillBackground());
    EXPECT_EQ(top->Content()->palette().color(QPalette::Window), QColor(Qt::white));

    EXPECT_EQ(W().GetMenuBar(), MenuBar1::Instance());
    ASSERT_NE(top->Layout()->menuBar(), nullptr);
    // The bar sits above the content, which keeps its whole height.
    EXPECT_EQ(top->height(), 450 + top->Layout()->menuBar()->sizeHint().height());
}

struct Placement {
    const char* name;
    int left, top, width, height;
};

TEST_F(MainWindow, ControlsSitWhereTheyArePlaced) {
    const Placement kPlaced[] = {
        {"RdFld", 250, 247, 80, 22},       {"RdText", 235, 271, 110, 30},
        {"StaticText1", 127, 196, 80, 31}, {"RxxFld", 127, 172, 80, 22},
        {"StaticText2", 250, 196, 80, 31}, {"RyyFld", 250, 172, 80, 22},
        {"StaticText3", 373, 196, 80, 31}, {"RxyFld", 373, 172, 80, 22},
        {"StaticText6", 88, 73, 478, 14},  {"ComputeCanvas", 30, 385, 95, 33},
        {"ClearCanvas", 455, 385, 95, 33}, {"HelpCanvas", 242, 385, 95, 33},
        {"Canvas1", 88, 2, 479, 70},       {"Canvas2", 15, 11, 56, 55},
    };
    for (const Placement& p : kPlaced) {
        SCOPED_TRACE(p.name);
        const auto& control = tk::Cast<tk::RectControl>(W().ControlByName(p.name));
        const QRect g = WidgetOf(control)->geometry();
        EXPECT_EQ(g.top(), p.top);
        EXPECT_EQ(g.height(), p.height);
        if (dynamic_cast<const tk::Label*>(&control) != nullptr) {
            // A centred label may grow about its centre to fit its longest line.
            EXPECT_GE(g.width(), p.width);
            EXPECT_LE(std::abs(2 * g.left() + g.width() - (2 * p.left + p.width)), 1);
        } else {
            EXPECT_EQ(g, QRect(p.left, p.top, p.width, p.height));
        }
    }
}

TEST_F(MainWindow, FieldsAndLabelsLookAsDesigned) {
    for (const char* name : {"RdFld", "RxxFld", "RyyFld", "RxyFld"}) {
        SCOPED_TRACE(name);
        const QLineEdit* edit = EditOf(Field(name));
        EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_EQ(edit->font().pixelSize(), 14);
        EXPECT_EQ(Field(name).MaximumCharactersAllowed(), 6);
        EXPECT_EQ(Field(name).ReadOnly(), std::string(name) == "RdFld");
    }
    EXPECT_EQ(WidgetOf(W().RdFld())->toolTip(), "Dravenhal");

    const QColor navy(0x00, 0x00, 0x80);
    const struct {
        const char* name;
        const char* text;
        bool bold;
        int pixels;
    } kLabels[] = {
        {"RdText", "Partial r\rbetween X1 and Y", true, 12},
        {"StaticText1", "r between\rY and X1", true, 12},
        {"StaticText2", "r between\rY and X2", true, 12},
        {"StaticText3", "r between\rX1 and X2", true, 12},
        {"StaticText6", "by The Tamsavik Authors", false, 10},
    };
    for (const auto& l : kLabels) {
        SCOPED_TRACE(l.name);
        const auto& label = tk::Cast<tk::Label>(W().ControlByName(l.name));
        const auto* widget = static_cast<const QLabel*>(WidgetOf(label));
        EXPECT_EQ(label.Text(), l.text);
        EXPECT_FALSE(label.Enabled());
        EXPECT_EQ(widget->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_EQ(widget->font().bold(), l.bold);
        EXPECT_EQ(widget->font().pixelSize(), l.pixels);
        // Disabled, the labels keep their navy text.
        EXPECT_EQ(widget->palette().color(QPalette::Active, QPalette::WindowText), navy);
        EXPECT_EQ(widget->palette().color(QPalette::Disabled, QPalette::WindowText), navy);
    }
}

TEST_F(MainWindow, EachCanvasShowsItsPictureWhole) {
    for (const char* name : {"ComputeCanvas", "ClearCanvas", "HelpCanvas", "Canvas1", "Canvas2"}) {
        SCOPED_TRACE(name);
        const auto& canvas = tk::Cast<tk::Canvas>(W().ControlByName(name));
        ASSERT_NE(canvas.Backdrop(), nullptr);
        EXPECT_EQ(QSize(canvas.Backdrop()->Width(), canvas.Backdrop()->Height()),
                  WidgetOf(canvas)->size());
    }
}

TEST_F(MainWindow, TabGoesRoundTheThreeInputs) {
    W().RxxFld().SetFocus();
    const char* kOrder[] = {"RyyFld", "RxyFld", "RxxFld", "RyyFld"};
    const tk::TextField* from = &W().RxxFld();
    for (const char* next : kOrder) {
        QTest::keyClick(WidgetOf(*from), Qt::Key_Tab);
        EXPECT_TRUE(Field(next).HasFocus()) << "Tab should reach " << next;
        from = &Field(next);
    }
    QTest::keyClick(WidgetOf(*from), Qt::Key_Backtab);
    EXPECT_TRUE(W().RxxFld().HasFocus());
}

TEST_F(MainWindow, TabSkipsTheResultOnView) {
    Enter(".5", ".3", ".4");
    ASSERT_TRUE(Compute().empty());
    ASSERT_TRUE(W().RdFld().Visible());
    W().RxyFld().SetFocus();
    QTest::keyClick(WidgetOf(W().RxyFld()), Qt::Key_Tab);
    EXPECT_TRUE(W().RxxFld().HasFocus());
    EXPECT_FALSE(W().RdFld().HasFocus());
    // The result can still be clicked into, to select and copy it.
    EXPECT_EQ(WidgetOf(W().RdFld())->focusPolicy(), Qt::ClickFocus);
}

// --- Typing --------------------------------------------------------------------------

struct TypingCase {
    const char* field;
    const char* keys;
    const char* text;  // what the field then holds
    int beeps;
};

TEST_F(MainWindow, FieldsTakeOnlyTheirOwnKeys) {
    const TypingCase kCases[] = {
        {"RxxFld", "0.75", "0.75", 0},
        {"RyyFld", ".9", ".9", 0},
        {"RxyFld", "-.25", "-.25", 0},
        {"RxxFld", "-5", "5", 1},
        {"RyyFld", "-5", "5", 1},
        {"RxxFld", "a b,/:", "", 6},
        {"RyyFld", "1e5", "15", 1},
        {"RxyFld", "x+1=", "1", 3},
        // A seventh character is not taken, and brings no beep.
        {"RxxFld", "1234567", "123456", 0},
        {"RyyFld", "..-..-..", "......", 2},
        {"RxyFld", "-.123456", "-.1234", 0},
    };
    for (const TypingCase& c : kCases) {
        SCOPED_TRACE(std::string(c.field) + " typing \"" + c.keys + "\"");
        tk::TextField& field = Field(c.field);
        field.SetText("");
        field.SetFocus();
        const std::int64_t before = tk::BeepCount();
        QTest::keyClicks(WidgetOf(field), c.keys);
        EXPECT_EQ(field.Text(), c.text);
        EXPECT_EQ(tk::BeepCount() - before, c.beeps);
    }
}

TEST_F(MainWindow, BackspaceAndNavigationKeysEditTheField) {
    tk::TextField& field = W().RyyFld();
    field.SetFocus();
    const std::int64_t before = tk::BeepCount();
    QTest::keyClicks(WidgetOf(field), ".25");
    QTest::keyClick(WidgetOf(field), Qt::Key_Backspace);
    EXPECT_EQ(field.Text(), ".2");
    QTest::keyClick(WidgetOf(field), Qt::Key_Home);
    QTest::keyClick(WidgetOf(field), Qt::Key_Right);
    QTest::keyClicks(WidgetOf(field), "7");
    EXPECT_EQ(field.Text(), ".72");
    QTest::keyClick(WidgetOf(field), Qt::Key_End);
    QTest::keyClick(WidgetOf(field), Qt::Key_Left);
    QTest::keyClick(WidgetOf(field), Qt::Key_Backspace);
    EXPECT_EQ(field.Text(), ".2");
    EXPECT_EQ(tk::BeepCount(), before);
}

TEST_F(MainWindow, ReturnEscapeAndDeleteAreRefusedWithABeep) {
    const struct {
        const char* name;
        Qt::Key key;
    } kKeys[] = {{"Return", Qt::Key_Return},
                 {"Enter", Qt::Key_Enter},
                 {"Escape", Qt::Key_Escape},
                 {"Delete", Qt::Key_Delete}};
    for (const auto [name, key] : kKeys) {
        SCOPED_TRACE(name);
        tk::TextField& field = W().RxyFld();
        field.SetText("-.5");
        field.SetFocus();
        EditOf(field)->setCursorPosition(0);
        const std::int64_t before = tk::BeepCount();
        QTest::keyClick(WidgetOf(field), key);
        EXPECT_EQ(field.Text(), "-.5");
        EXPECT_EQ(tk::BeepCount() - before, 1);
        EXPECT_TRUE(field.HasFocus());
        EXPECT_TRUE(W().IsShown());
    }
}

TEST_F(MainWindow, PastingPassesNoFilterButKeepsTheLimit) {
    QGuiApplication::clipboard()->setText("abc-/xyz");
    for (const char* name : {"RxxFld", "RyyFld", "RxyFld"}) {
        SCOPED_TRACE(name);
        tk::TextField& field = Field(name);
        field.SetFocus();
        const std::int64_t before = tk::BeepCount();
        QTest::keyClick(WidgetOf(field), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(field.Text(), "abc-/x");
        EXPECT_EQ(tk::BeepCount(), before);
    }
}

// --- Compute -------------------------------------------------------------------------

struct RefusedCase {
    const char* rxx;
    const char* ryy;
    const char* rxy;
    const char* message;
    const char* focus;
};

TEST_F(MainWindow, ComputeNamesTheFirstMissingOrOutOfRangeValue) {
    const RefusedCase kCases[] = {
        {"", "", "", "Please enter the correlation between X1 and Y", "RxxFld"},
        {"", ".5", ".5", "Please enter the correlation between X1 and Y", "RxxFld"},
        {".5", "", "", "Please enter the correlation between X2 and Y", "RyyFld"},
        {".5", ".5", "", "Please enter the correlation between X1 and X2", "RxyFld"},
        // Every field is tested for a value before any is tested for its range.
        {"1.5", ".5", "", "Please enter the correlation between X1 and X2", "RxyFld"},
        {"1.01", "2", "-3", "Correlation of X1 and Y must range from -1.00 to +1.00", "RxxFld"},
        {".5", "1.1", "-3", "Correlation of X2 and Y must range from -1.00 to +1.00", "RyyFld"},
        {"1", "-1", "-1.0001", "Correlation of X1 and X2 must range from -1.00 to +1.00", "RxyFld"},
        {"-1", "0", "9", "Correlation of X1 and X2 must range from -1.00 to +1.00", "RxyFld"},
    };
    // An earlier result stays on view through every refusal.
    Enter(".60", ".70", ".80");
    ASSERT_TRUE(Compute().empty());
    for (const RefusedCase& c : kCases) {
        SCOPED_TRACE(std::string(c.rxx) + " " + c.ryy + " " + c.rxy);
        Enter(c.rxx, c.ryy, c.rxy);
        // Start from another field, so that the move of the focus shows.
        (std::string(c.focus) == "RyyFld" ? W().RxxFld() : W().RyyFld()).SetFocus();
        EXPECT_EQ(Compute(), std::vector<std::string>{c.message});
        EXPECT_TRUE(HasFocusOnceActive(Field(c.focus)));
        EXPECT_EQ(Inputs(), (std::vector<std::string>{c.rxx, c.ryy, c.rxy}));
        EXPECT_TRUE(W().RdFld().Visible());
        EXPECT_TRUE(W().RdText().Visible());
        EXPECT_EQ(W().RdFld().Text(), ".0934");
    }
}

TEST_F(MainWindow, ARefusalBeforeAnyResultShowsNone) {
    Enter(".5", "", ".5");
    EXPECT_EQ(Compute().size(), 1u);
    EXPECT_FALSE(W().RdFld().Visible());
    EXPECT_FALSE(W().RdText().Visible());
}

struct WorkedCase {
    const char* rxx;
    const char* ryy;
    const char* rxy;
    const char* result;
};

TEST_F(MainWindow, ComputeShowsThePartialCorrelation) {
    const WorkedCase kCases[] = {
        {".60", ".70", ".80", ".0934"}, {".5", ".3", ".4", ".4346"},
        {"0", "0", "0", ".0000"},       {".716", ".787", ".913", "-.0101"},
        {".9", ".1", ".95", "2.5911"},  {".6", ".7", "-.8", "2.7072"},
        {".6", "1", ".5", "INF"},
    };
    for (const WorkedCase& c : kCases) {
        SCOPED_TRACE(std::string(c.rxx) + " " + c.ryy + " " + c.rxy);
        Enter(c.rxx, c.ryy, c.rxy);
        W().RyyFld().SetFocus();
        EXPECT_TRUE(Compute().empty());
        EXPECT_EQ(W().RdFld().Text(), c.result);
        EXPECT_TRUE(W().RdFld().Visible());
        EXPECT_TRUE(W().RdText().Visible());
        EXPECT_EQ(Inputs(), (std::vector<std::string>{c.rxx, c.ryy, c.rxy}));
        EXPECT_TRUE(W().RyyFld().HasFocus());
    }
}

TEST_F(MainWindow, TheResultStaysUntilTheNextComputeOrClear) {
    Enter(".9", ".1", ".95");
    ASSERT_TRUE(Compute().empty());
    ASSERT_TRUE(Compute().empty());
    EXPECT_EQ(W().RdFld().Text(), "2.5911");
    EXPECT_EQ(EditOf(W().RdFld())->displayText(), "2.5911");

    W().RxxFld().SetFocus();
    QTest::keyClick(WidgetOf(W().RxxFld()), Qt::Key_End);
    QTest::keyClicks(WidgetOf(W().RxxFld()), "1");
    EXPECT_EQ(W().RxxFld().Text(), ".91");
    EXPECT_TRUE(W().RdFld().Visible());
    EXPECT_EQ(W().RdFld().Text(), "2.5911");
}

// --- Clear ---------------------------------------------------------------------------

TEST_F(MainWindow, ClearEmptiesAndHidesAndFocusesTheFirstField) {
    for (const bool withResult : {true, false}) {
        SCOPED_TRACE(withResult ? "after a result" : "with no result");
        Enter(".5", ".3", withResult ? ".4" : "");
        if (withResult) {
            ASSERT_TRUE(Compute().empty());
        }
        W().RxyFld().SetFocus();
        EXPECT_TRUE(
            uitest::DismissMessageBoxes([this] { uitest::Click(W().ClearCanvas()); }).empty());
        EXPECT_EQ(Inputs(), (std::vector<std::string>{"", "", ""}));
        EXPECT_FALSE(W().RdFld().Visible());
        EXPECT_FALSE(W().RdText().Visible());
        EXPECT_TRUE(W().RxxFld().HasFocus());
    }
}

// --- The pictures --------------------------------------------------------------------

TEST_F(MainWindow, HelpPictureShowsTheHelpWindow) {
    ASSERT_EQ(tk::Window::GetImplicitWindow("helpWnd.helpWnd"), nullptr);
    uitest::Click(W().HelpCanvas());
    tk::Window* help = tk::Window::GetImplicitWindow("helpWnd.helpWnd");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->IsShown());
    EXPECT_TRUE(W().IsShown());
}

TEST_F(MainWindow, LogoShowsTheAboutWindow) {
    uitest::Click(W().Canvas2());
    tk::Window* about = tk::Window::GetImplicitWindow("AboutWnd.AboutWnd");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->IsShown());
    EXPECT_EQ(tk::Window::GetImplicitWindow("ControlWnd.ControlWnd"), &W());
}

TEST_F(MainWindow, BannerAndByLineDoNothing) {
    Enter(".5", ".3", ".4");
    ASSERT_TRUE(Compute().empty());
    W().RyyFld().SetFocus();
    for (const char* name : {"Canvas1", "StaticText6"}) {
        SCOPED_TRACE(name);
        const auto& control = tk::Cast<tk::RectControl>(W().ControlByName(name));
        EXPECT_TRUE(uitest::DismissMessageBoxes([&] { uitest::Click(control); }).empty());
        EXPECT_EQ(tk::Window::OpenWindows(), std::vector<tk::Window*>{&W()});
        EXPECT_EQ(Inputs(), (std::vector<std::string>{".5", ".3", ".4"}));
        EXPECT_EQ(W().RdFld().Text(), ".4346");
        EXPECT_TRUE(W().RdFld().Visible());
        EXPECT_TRUE(W().RyyFld().HasFocus());
    }
}

}  // namespace
