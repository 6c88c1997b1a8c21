// The main calculator window on the offscreen platform: how it is built, what
// its fields take from the keyboard, Compute, Clear and the pictures. That
// closing it ends the run is tested on whole runs, in startup_test; which
// codes a field takes, and what Compute decides, in the core's tests.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "menus/MenuBar1.h"
#include "tests/ui/ui_support.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/picture.h"
#include "toolkit/qt_widgets.h"

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

// --- Building ------------------------------------------------------------------------

TEST_F(MainWindow, IsBuiltAsDesignedWithTheResultHidden) {
    auto* top = static_cast<tk::TopLevelWidget*>(TopLevelOf(W()));
    EXPECT_EQ(top->windowTitle(), "Dravenhal");
    EXPECT_EQ(top->Content()->minimumSize(), QSize(580, 450));
    EXPECT_EQ(top->Content()->maximumSize(), QSize(580, 450));
    EXPECT_FALSE(top->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(top->Content()->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(W().GetMenuBar(), MenuBar1::Instance());
    // The bar sits above the content, which keeps its whole height.
    ASSERT_NE(top->Layout()->menuBar(), nullptr);
    EXPECT_EQ(top->height(), 450 + top->Layout()->menuBar()->sizeHint().height());

    Texts names;
    for (tk::Object* control : W().Controls()) {
        const auto& rect = tk::Cast<tk::RectControl>(control);
        names.push_back(rect.Name());
        EXPECT_EQ(rect.Visible(), rect.Name() != "RdFld" && rect.Name() != "RdText") << rect.Name();
    }
    EXPECT_EQ(names, (Texts{"RdFld", "RdText", "StaticText1", "RxxFld", "StaticText2", "RyyFld",
                            "StaticText3", "RxyFld", "StaticText6", "ComputeCanvas", "ClearCanvas",
                            "HelpCanvas", "Canvas1", "Canvas2"}));

    for (const char* name : {"RdFld", "RxxFld", "RyyFld", "RxyFld"}) {
        SCOPED_TRACE(name);
        const auto* edit = static_cast<const QLineEdit*>(WidgetOf(Control(name)));
        EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_EQ(edit->font().pixelSize(), 14);
        EXPECT_EQ(Control(name).MaximumCharactersAllowed(), 6);
        EXPECT_EQ(Control(name).ReadOnly(), std::string(name) == "RdFld");
    }

    const std::pair<const char*, const char*> kLabels[] = {
        {"RdText", "Partial r\rbetween X1 and Y"},  {"StaticText1", "r between\rY and X1"},
        {"StaticText2", "r between\rY and X2"},     {"StaticText3", "r between\rX1 and X2"},
        {"StaticText6", "by The Tamsavik Authors"},
    };
    for (const auto& [name, text] : kLabels) {
        SCOPED_TRACE(name);
        const auto& label = Control<tk::Label>(name);
        EXPECT_EQ(label.Text(), text);
        // Disabled, the labels keep their navy text.
        EXPECT_FALSE(label.Enabled());
        EXPECT_EQ(WidgetOf(label)->palette().color(QPalette::Disabled, QPalette::WindowText),
                  QColor(0x00, 0x00, 0x80));
    }

    for (const char* name : {"ComputeCanvas", "ClearCanvas", "HelpCanvas", "Canvas1", "Canvas2"}) {
        const auto& canvas = Control<tk::Canvas>(name);
        ASSERT_NE(canvas.Backdrop(), nullptr) << name;
        EXPECT_EQ(QSize(canvas.Backdrop()->Width(), canvas.Backdrop()->Height()),
                  WidgetOf(canvas)->size())
            << name;
    }
}

TEST_F(MainWindow, TabGoesRoundTheThreeInputsAndSkipsTheResult) {
    Enter(".5", ".3", ".4");
    ASSERT_TRUE(Compute().empty());
    ASSERT_EQ(Result(), ".4346");
    W().RxxFld().SetFocus();
    for (const char* next : {"RyyFld", "RxyFld", "RxxFld", "RyyFld"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(Control(next).HasFocus()) << "Tab should reach " << next;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_TRUE(W().RxxFld().HasFocus());
    // The result can still be clicked into, to select and copy it.
    EXPECT_EQ(WidgetOf(W().RdFld())->focusPolicy(), Qt::ClickFocus);
}

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

TEST_F(MainWindow, EditingKeysAndPastingWorkAndReturnEscapeAndDeleteBeep) {
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
    EXPECT_TRUE(W().IsShown());

    // Pasting passes no filter, but the limit holds.
    QGuiApplication::clipboard()->setText("abc-/xyz");
    field.SetText("");
    const std::int64_t before = tk::BeepCount();
    QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field.Text(), "abc-/x");
    EXPECT_EQ(tk::BeepCount(), before);
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

// --- The pictures --------------------------------------------------------------------

TEST_F(MainWindow, HelpAndLogoOpenTheirWindowsAndBannerAndByLineNothing) {
    Enter(".5", ".3", ".4");
    ASSERT_TRUE(Compute().empty());
    const struct {
        const char* control;
        const char* opens;  // the full class name of the window it opens; null for none
    } kCases[] = {{"Canvas1", nullptr},
                  {"StaticText6", nullptr},
                  {"HelpCanvas", "helpWnd.helpWnd"},
                  {"Canvas2", "AboutWnd.AboutWnd"}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.control);
        W().RyyFld().SetFocus();
        const std::size_t windows = tk::Window::OpenWindows().size();
        EXPECT_TRUE(ClickOn(Control<tk::RectControl>(c.control)).empty());
        if (c.opens != nullptr) {
            ASSERT_NE(uitest::OpenWindow(c.opens), nullptr);
            EXPECT_TRUE(uitest::OpenWindow(c.opens)->IsShown());
            EXPECT_EQ(tk::Window::OpenWindows().size(), windows + 1);
        } else {
            EXPECT_EQ(tk::Window::OpenWindows(), std::vector<tk::Window*>{&W()});
            EXPECT_TRUE(W().RyyFld().HasFocus());
        }
        EXPECT_EQ(uitest::OpenWindow("ControlWnd.ControlWnd"), &W());
        EXPECT_TRUE(W().IsShown());
        EXPECT_EQ(Inputs(), (Texts{".5", ".3", ".4"}));
        EXPECT_EQ(Result(), ".4346");
    }
}

}  // namespace
