// Editing the main window's fields as a user does: in the middle of a field,
// with modifier keys and input methods, by pasting; and what the result field
// looks like with the focus and with a long result.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QStyleOptionFrame>
#include <QTest>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "menus/MenuBar1.h"
#include "tests/ui/ui_support.h"
#include "toolkit/application.h"
#include "toolkit/picture.h"

namespace {

using uitest::TopLevelOf;
using uitest::WidgetOf;

QLineEdit* Edit(const tk::TextField& field) {
    return static_cast<QLineEdit*>(WidgetOf(field));
}

class FieldEditing : public testing::Test {
  protected:
    void SetUp() override {
        tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
        w_ = &ControlWnd::Instance();
        ASSERT_TRUE(QTest::qWaitForWindowActive(TopLevelOf(*w_)));
    }
    ControlWnd& W() const { return *w_; }
    // Empties `field` and gives it the focus.
    QLineEdit* Start(tk::TextField& field) const {
        field.SetText("");
        field.SetFocus();
        EXPECT_TRUE(field.HasFocus());
        return Edit(field);
    }
    std::vector<std::string> Compute() const {
        return uitest::DismissMessageBoxes([this] { uitest::Click(W().ComputeCanvas()); });
    }

  private:
    ControlWnd* w_ = nullptr;
};

// Keys: '<' Left, '^' Home, '\b' Backspace, 'z' Ctrl+Z, 'Z' Ctrl+Shift+Z;
// anything else is typed.
TEST_F(FieldEditing, EditsInTheMiddleKeepTheCaretAndUndoWorks) {
    const struct {
        const char *keys, *text;
        int caret;
    } kCases[] = {
        {".123^56", "56.123", 2}, {"125<\b\b", "5", 0},       {"1234^567", "561234", 2},
        {".123^56z", ".123", 0},  {".123^56zZ", "56.123", 2},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.keys);
        QLineEdit* edit = Start(W().RxxFld());
        for (const char* k = c.keys; *k != '\0'; ++k) {
            if (*k == '<')
                QTest::keyClick(edit, Qt::Key_Left);
            else if (*k == '^')
                QTest::keyClick(edit, Qt::Key_Home);
            else if (*k == '\b')
                QTest::keyClick(edit, Qt::Key_Backspace);
            else if (*k == 'z')
                QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
            else if (*k == 'Z')
                QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            else
                QTest::keyClicks(edit, QString(QChar(*k)));
        }
        EXPECT_EQ(W().RxxFld().Text(), c.text);
        EXPECT_EQ(edit->cursorPosition(), c.caret);
    }
    // Edit › Undo is there to choose, and undoes.
    const auto undo = MenuBar1::Instance()->Lookup("EditUndo");
    EXPECT_TRUE(undo->IsEnabledNow());
    undo->Choose();
    EXPECT_EQ(W().RxxFld().Text(), ".123");
}

// Every way text comes in passes the key filter by its first character: keys
// with Alt, Meta (Super) or Shift+Alt, and input-method commits, a character
// at a time. A refused one beeps once and nothing of it goes in.
TEST_F(FieldEditing, TextWithModifiersOrFromAnInputMethodPassesTheKeyFilter) {
    const struct {
        Qt::Key key;  // 0: an input-method commit of `text`
        Qt::KeyboardModifiers modifiers;
        const char *text, *after;
        int beeps;
    } kCases[] = {
        {Qt::Key_X, Qt::AltModifier, "x", "", 1},
        {Qt::Key_Minus, Qt::AltModifier, "-", "", 1},
        {Qt::Key_B, Qt::MetaModifier, "b", "", 1},
        {Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier, "A", "", 1},
        {Qt::Key_5, Qt::AltModifier, "5", "5", 0},
        {Qt::Key(0), {}, "\xc3\xa9", "", 1},
        {Qt::Key(0), {}, "5x7", "", 1},
        {Qt::Key(0), {}, ".5", ".5", 0},
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
}

// Pasted around ".30" with ".20" and ".10" in the other fields, each blank or
// invisible character leaves .2872; a text that is no number brings the
// out-of-range message and the focus, like 1.5.
TEST_F(FieldEditing, APastedTextIsReadAsItShows) {
    const char* kNumbers[] = {
        "\xc2\xa0.30",
        "\xe2\x80\x8b.30",
        ".30\xc2\xa0",
        "\xe2\x80\x8d.30\xe2\x80\x8c",
        "\xe2\x80\x8e.30\xe2\x80\x8f",
        "\xe2\x81\xa0.30",
        "\xe3\x80\x80.30",
        " .30\t",
    };
    const char* kNotNumbers[] = {"abc", "0,30", "\xe2\x88\x92.60", ".5.5", "-", "."};
    W().RyyFld().SetText(".20");
    W().RxyFld().SetText(".10");
    auto paste = [this](const char* text) {
        QLineEdit* edit = Start(W().RxxFld());
        QApplication::clipboard()->setText(QString::fromUtf8(text));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(W().RxxFld().Text(), text);
        W().RyyFld().SetFocus();
    };
    for (const char* text : kNumbers) {
        SCOPED_TRACE(text);
        paste(text);
        EXPECT_TRUE(Compute().empty());
        EXPECT_EQ(W().RdFld().Text(), ".2872");
    }
    for (const char* text : kNotNumbers) {
        SCOPED_TRACE(text);
        paste(text);
        EXPECT_EQ(Compute(), std::vector<std::string>{
                                 "Correlation of X1 and Y must range from -1.00 to +1.00"});
        TopLevelOf(W())->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(TopLevelOf(W())));
        EXPECT_TRUE(W().RxxFld().HasFocus());
    }
}

// The limit counts characters, and a paste is cut between them.
TEST_F(FieldEditing, ThePasteLimitNeverCutsACharacter) {
    const struct {
        const char *clipboard, *after;
    } kCases[] = {
        {"1\xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80",
         "1\xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80"},
        {"\xf0\x9f\x98\x80"
         "234567",
         "\xf0\x9f\x98\x80"
         "23456"},
        {"12345\xf0\x9f\x87\xa9\xf0\x9f\x87\xaa", "12345"},  // a flag is two code points
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.clipboard);
        QLineEdit* edit = Start(W().RxyFld());
        QApplication::clipboard()->setText(QString::fromUtf8(c.clipboard));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(W().RxyFld().Text(), c.after);
    }
}

// The result field's list allows no focus ring: its frame looks the same with
// the focus as without. The input fields keep the platform's ring.
TEST_F(FieldEditing, OnlyFieldsThatAllowItDrawAFocusRing) {
    W().RxxFld().SetText(".5");
    W().RyyFld().SetText(".3");
    W().RxyFld().SetText(".4");
    ASSERT_TRUE(Compute().empty());
    for (tk::TextField* field : {&W().RdFld(), &W().RyyFld()}) {
        SCOPED_TRACE(field->Name());
        W().RxxFld().SetFocus();
        const QImage unfocused = WidgetOf(*field)->grab().toImage();
        field->SetFocus();
        ASSERT_TRUE(field->HasFocus());
        const QImage focused = WidgetOf(*field)->grab().toImage();
        // The frame: the outer three pixels all round.
        bool same = true;
        for (int y = 0; y < focused.height(); ++y) {
            for (int x = 0; x < focused.width(); ++x) {
                const bool frame =
                    x < 3 || y < 3 || x >= focused.width() - 3 || y >= focused.height() - 3;
                if (frame && focused.pixel(x, y) != unfocused.pixel(x, y)) same = false;
            }
        }
        EXPECT_EQ(same, field == &W().RdFld());
    }
}

// A result too wide for its field in the list's 14-pixel font is drawn in a
// smaller size that fits it whole; a result that fits has the list's size.
TEST_F(FieldEditing, ALongResultIsDrawnWholeInASmallerFont) {
    const struct {
        const char *rxx, *ryy, *rxy, *result;
        bool smaller;
    } kCases[] = {
        {"0", ".9999", ".9999", "-4999.2500", true},
        {".5", ".3", ".4", ".4346", false},
    };
    QLineEdit* edit = Edit(W().RdFld());
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.result);
        W().RxxFld().SetText(c.rxx);
        W().RyyFld().SetText(c.ryy);
        W().RxyFld().SetText(c.rxy);
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
