// The main calculator window on the offscreen platform: what its fields take
// from the keyboard, Compute, Clear and the pictures. What it shows is checked
// in reference_image_test; that closing it ends the run, in the end-to-end
// suite; which codes a field takes, and what Compute decides, in the core's
// tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QStyleOptionFrame>
#include <QTest>
#include <map>
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
    static QLineEdit* Line(const tk::TextField& field) {
        return static_cast<QLineEdit*>(WidgetOf(field));
    }
    // Empties `field` and gives it the focus.
    QLineEdit* Start(tk::TextField& field) const {
        field.SetText("");
        field.SetFocus();
        EXPECT_TRUE(field.HasFocus());
        return Line(field);
    }

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
        // clang-format off
        {"RxxFld", "0.75", "0.75", 0}, {"RxyFld", "-.25", "-.25", 0}, {"RxxFld", "-5", "5", 1},
        {"RyyFld", "-5", "5", 1}, {"RxxFld", "a b,/:", "", 6}, {"RxyFld", "x+1e=", "1", 4},
        // A seventh character is not taken, and brings no beep.
        {"RxxFld", "1234567", "123456", 0}, {"RxyFld", "-.123456", "-.1234", 0},
        // clang-format on
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.field) + " typing \"" + c.keys + "\"");
        tk::TextField& field = Control(c.field);
        Start(field);
        const std::int64_t before = tk::BeepCount();
        QTest::keyClicks(WidgetOf(field), c.keys);
        EXPECT_EQ(field.Text(), c.text);
        EXPECT_EQ(tk::BeepCount() - before, c.beeps);
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
    Enter(".9", ".1", ".95");
    W().RyyFld().SetFocus();
    ASSERT_TRUE(Compute().empty());
    ASSERT_TRUE(Compute().empty());
    EXPECT_EQ(Line(W().RdFld())->displayText(), "2.5911");
    EXPECT_EQ(Inputs(), (Texts{".9", ".1", ".95"}));
    EXPECT_TRUE(W().RyyFld().HasFocus());
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

// Keys: '<' Left, '^' Home, '\b' Backspace, '\x7f' Delete, 'z' Ctrl+Z,
// 'Z' Ctrl+Shift+Z, and Return, Enter and Escape, which beep and change
// nothing; anything else is typed.
TEST_F(MainWindow, EditsInTheMiddleKeepTheCaretAndUndoWorks) {
    const struct {
        const char *keys, *text;
        int caret, beeps;
    } kCases[] = {
        {"-.5^\r\n\x1b\x7f", ".5", 0, 3}, {".123^56", "56.123", 2, 0},
        {"125<\b\b", "5", 0, 0},          {"1234^567", "561234", 2, 0},
        {".123^56z", ".123", 0, 0},       {".123^56zZ", "56.123", 2, 0},
    };
    // clang-format off
    const std::map<char, QKeyCombination> kNamed = {{'<', Qt::Key_Left}, {'^', Qt::Key_Home},
        {'\b', Qt::Key_Backspace}, {'\r', Qt::Key_Return}, {'\n', Qt::Key_Enter},
        {'\x1b', Qt::Key_Escape}, {'\x7f', Qt::Key_Delete}, {'z', Qt::CTRL | Qt::Key_Z},
        {'Z', Qt::CTRL | Qt::SHIFT | Qt::Key_Z}};
    // clang-format on
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.keys);
        QLineEdit* edit = Start(W().RxyFld());
        const std::int64_t before = tk::BeepCount();
        for (const char* k = c.keys; *k != '\0'; ++k) {
            const auto named = kNamed.find(*k);
            if (named == kNamed.end())
                QTest::keyClicks(edit, QString(QChar(*k)));
            else
                QTest::keyClick(edit, named->second.key(), named->second.keyboardModifiers());
        }
        EXPECT_EQ(W().RxyFld().Text(), c.text);
        EXPECT_EQ(edit->cursorPosition(), c.caret);
        EXPECT_EQ(tk::BeepCount() - before, c.beeps);
        EXPECT_TRUE(W().RxyFld().HasFocus());
    }
}

// Every way text comes in passes the key filter by its first character: keys
// with Alt, Meta (Super) or Shift+Alt, and input-method commits, a character
// at a time. A refused one beeps once and nothing of it goes in.
TEST_F(MainWindow, TextWithModifiersOrFromAnInputMethodPassesTheKeyFilter) {
    const struct {
        Qt::Key key;  // 0: an input-method commit of `text`
        Qt::KeyboardModifiers modifiers;
        const char *text, *after;
        int beeps;
    } kCases[] = {
        // clang-format off
        {Qt::Key_X, Qt::AltModifier, "x", "", 1}, {Qt::Key_Minus, Qt::AltModifier, "-", "", 1},
        {Qt::Key_B, Qt::MetaModifier, "b", "", 1}, {Qt::Key_5, Qt::AltModifier, "5", "5", 0},
        {Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier, "A", "", 1},
        {Qt::Key(0), {}, "\xc3\xa9", "", 1}, {Qt::Key(0), {}, "5x7", "", 1},
        {Qt::Key(0), {}, ".5", ".5", 0},
        {Qt::Key(0), {}, "1234567", "", 0},  // past the limit: refused whole, as a paste is
        // clang-format on
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.text) + (c.key == 0 ? " committed" : " keyed"));
        QLineEdit* edit = Start(W().RxxFld());
        const std::int64_t before = tk::BeepCount();
        if (c.key == 0) {
            QInputMethodEvent commit;
            commit.setCommitString(QString::fromUtf8(c.text));
            QApplication::sendEvent(edit, &commit);
        } else {
            QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, QString::fromUtf8(c.text));
            QApplication::sendEvent(edit, &press);
        }
        EXPECT_EQ(W().RxxFld().Text(), c.after);
        EXPECT_EQ(tk::BeepCount() - before, c.beeps);
    }
    // Alt+E is the Edit menu's, not the field's.
    QLineEdit* edit = Start(W().RxxFld());
    const std::int64_t before = tk::BeepCount();
    QTest::keyClick(edit, Qt::Key_E, Qt::AltModifier);
    EXPECT_NE(QApplication::activePopupWidget(), nullptr);
    if (QApplication::activePopupWidget()) QApplication::activePopupWidget()->close();
    EXPECT_EQ(tk::BeepCount(), before);
    // A commit that replaces text next to a selection frees only what the
    // selection leaves: nine digits do not fit where six were.
    edit->setText("123456");
    edit->selectAll();
    QInputMethodEvent commit;
    commit.setCommitString("123456789", -3, 3);
    QApplication::sendEvent(edit, &commit);
    EXPECT_EQ(W().RxxFld().Text(), "123456");
}

// Pasted over "9" in RxxFld with ".20" and ".10" in the others: ".30" with
// blanks or invisible characters round it goes in as ".30"; a text that is no
// number brings the out-of-range message and the focus, like 1.5. What is past
// the limit of six characters, counted as a user sees them (a flag is two), is
// refused whole with a beep: a number cut short would be another number.
TEST_F(MainWindow, APasteGoesInWholeWithoutItsBlanksOrNotAtAll) {
    const char* kRange = "Correlation of X1 and Y must range from -1.00 to +1.00";
    const struct {
        const char *clipboard, *shown, *outcome;
    } kCases[] = {
        // clang-format off
        {"\xc2\xa0.30", ".30", ".2872"}, {"\xe2\x80\x8b.30", ".30", ".2872"},
        {".30\xc2\xa0", ".30", ".2872"}, {"\xe2\x80\x8d.30\xe2\x80\x8c", ".30", ".2872"},
        {"\xe2\x80\x8e.30\xe2\x80\x8f", ".30", ".2872"}, {"\xe2\x81\xa0.30", ".30", ".2872"},
        {"\xe3\x80\x80.30", ".30", ".2872"}, {"  0.3000\t\n", "0.3000", ".2872"},
        {"abc", "abc", kRange}, {"0,30", "0,30", kRange}, {"\xe2\x88\x92.60", "\xe2\x88\x92.60", kRange},
        {".5.5", ".5.5", kRange}, {"-", "-", kRange},
        {"1\xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80", "1\xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80", kRange},
        {"\xf0\x9f\x98\x80" "234567", "9", nullptr}, {"12345\xf0\x9f\x87\xa9\xf0\x9f\x87\xaa", "9", nullptr},
        {"1.00004", "9", nullptr}, {"0.80049", "9", nullptr}, {" \xc2\xa0 ", "9", nullptr},
        // clang-format on
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.clipboard);
        Enter("9", ".20", ".10");
        QApplication::clipboard()->setText(QString::fromUtf8(c.clipboard));
        W().RxxFld().SetFocus();
        Line(W().RxxFld())->selectAll();
        const std::int64_t beeps = tk::BeepCount();
        // Ctrl+V and Shift+Insert in turn.
        const bool odd = (&c - kCases) % 2 != 0;
        QTest::keyClick(Line(W().RxxFld()), odd ? Qt::Key_Insert : Qt::Key_V,
                        odd ? Qt::ShiftModifier : Qt::ControlModifier);
        EXPECT_EQ(W().RxxFld().Text(), c.shown);
        if (c.outcome == nullptr) {  // refused, or nothing left to paste
            EXPECT_EQ(tk::BeepCount() - beeps, c.clipboard[0] == ' ' ? 0 : 1);
            EXPECT_EQ(Line(W().RxxFld())->selectedText(), "9");
            EXPECT_FALSE(Line(W().RxxFld())->isUndoAvailable());
            continue;
        }
        W().RyyFld().SetFocus();
        const auto messages = Compute();
        if (c.outcome == kRange) {
            EXPECT_EQ(messages, std::vector<std::string>{kRange});
            EXPECT_TRUE(HasFocusOnceActive(W().RxxFld()));
        } else {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(W().RdFld().Text(), c.outcome);
        }
    }
    // Text dropped from elsewhere goes in beside a selection, not over it,
    // whether offered as a copy or as a move: two more characters fit beside
    // four, three do not, and are refused with a beep.
    for (const Qt::DropAction action : {Qt::CopyAction, Qt::MoveAction}) {
        for (const auto& [dropped, length] : {std::pair{" 56\n", 6u}, std::pair{"567", 4u}}) {
            QLineEdit* field = Start(W().RxxFld());
            field->setText("1234");
            field->selectAll();
            const std::int64_t beeps = tk::BeepCount();
            QMimeData data;
            data.setText(dropped);
            QDropEvent drop(QPointF(4, 4), action, &data, Qt::LeftButton, Qt::NoModifier);
            static_cast<QObject*>(field)->event(&drop);  // as a drag from another program ends
            EXPECT_EQ(W().RxxFld().Text().size(), length)
                << dropped << " -> " << W().RxxFld().Text();
            EXPECT_EQ(tk::BeepCount() - beeps, length == 4u ? 1 : 0);
        }
    }
}

// A result too wide for its field in the list's 14-pixel font is drawn in a
// smaller size that fits it whole; a result that fits has the list's size.
TEST_F(MainWindow, ALongResultIsDrawnWholeInASmallerFont) {
    const struct {
        const char *rxx, *ryy, *rxy, *result;
        bool smaller;
    } kCases[] = {
        {"0", ".9999", ".9999", "-4999.2500", true},
        {".5", ".3", ".4", ".4346", false},
    };
    QLineEdit* edit = Line(W().RdFld());
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.result);
        Enter(c.rxx, c.ryy, c.rxy);
        ASSERT_TRUE(Compute().empty());
        ASSERT_EQ(W().RdFld().Text(), c.result);
        QStyleOptionFrame frame;
        frame.initFrom(edit);
        frame.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, edit);
        // QLineEdit keeps 2 pixels clear on each side of its contents.
        const int area =
            edit->style()->subElementRect(QStyle::SE_LineEditContents, &frame, edit).width() - 4;
        EXPECT_LE(QFontMetricsF(edit->font()).horizontalAdvance(edit->displayText()), area);
        EXPECT_EQ(edit->font().pixelSize() < 14, c.smaller);
        EXPECT_EQ(edit->size(), QSize(80, 22));
    }
}

}  // namespace
