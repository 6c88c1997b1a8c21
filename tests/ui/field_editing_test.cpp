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
#include <QPainter>
#include <QStyleOptionFrame>
#include <QTest>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "menus/MenuBar1.h"
#include "tests/ui/ui_support.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
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
    void Enter(const char* rxx, const char* ryy, const char* rxy) const {
        W().RxxFld().SetText(rxx);
        W().RyyFld().SetText(ryy);
        W().RxyFld().SetText(rxy);
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

// Pasted into RxxFld with ".20" and ".10" in the others: ".30" with blanks or
// invisible characters round it reads as .30; a text that is no number brings
// the out-of-range message and the focus, like 1.5. The limit counts
// characters, and a paste is cut between them, never in half (a flag is two).
TEST_F(FieldEditing, APasteShowsWholeCharactersAndIsReadAsItShows) {
    const char* kRange = "Correlation of X1 and Y must range from -1.00 to +1.00";
    const struct {
        const char *clipboard, *shown, *outcome;
    } kCases[] = {
        // clang-format off
        {"\xc2\xa0.30", nullptr, ".2872"}, {"\xe2\x80\x8b.30", nullptr, ".2872"},
        {".30\xc2\xa0", nullptr, ".2872"}, {"\xe2\x80\x8d.30\xe2\x80\x8c", nullptr, ".2872"},
        {"\xe2\x80\x8e.30\xe2\x80\x8f", nullptr, ".2872"}, {"\xe2\x81\xa0.30", nullptr, ".2872"},
        {"\xe3\x80\x80.30", nullptr, ".2872"}, {" .30\t", nullptr, ".2872"},
        {"abc", nullptr, kRange}, {"0,30", nullptr, kRange}, {"\xe2\x88\x92.60", nullptr, kRange},
        {".5.5", nullptr, kRange}, {"-", nullptr, kRange}, {".", nullptr, kRange},
        {"1\xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80", nullptr, kRange},
        {"\xf0\x9f\x98\x80" "234567", "\xf0\x9f\x98\x80" "23456", kRange},
        {"12345\xf0\x9f\x87\xa9\xf0\x9f\x87\xaa", "12345", kRange},
        // clang-format on
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.clipboard);
        Enter("", ".20", ".10");
        QApplication::clipboard()->setText(QString::fromUtf8(c.clipboard));
        QTest::keyClick(Start(W().RxxFld()), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(W().RxxFld().Text(), c.shown ? c.shown : c.clipboard);
        W().RyyFld().SetFocus();
        const auto messages = Compute();
        if (c.outcome == kRange) {
            EXPECT_EQ(messages, std::vector<std::string>{kRange});
            TopLevelOf(W())->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(TopLevelOf(W())));
            EXPECT_TRUE(W().RxxFld().HasFocus());
        } else {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(W().RdFld().Text(), c.outcome);
        }
    }
}

// The result field's list allows no focus ring: its frame looks the same with
// the focus as without. The input fields keep the platform's ring.
TEST_F(FieldEditing, OnlyFieldsThatAllowItDrawAFocusRing) {
    Enter(".5", ".3", ".4");
    ASSERT_TRUE(Compute().empty());
    for (tk::TextField* field : {&W().RdFld(), &W().RyyFld()}) {
        SCOPED_TRACE(field->Name());
        // The frame: the outer three pixels all round.
        auto frame = [field] {
            QImage image = WidgetOf(*field)->grab().toImage();
            QPainter(&image).fillRect(image.rect().adjusted(3, 3, -3, -3), Qt::black);
            return image;
        };
        W().RxxFld().SetFocus();
        const QImage unfocused = frame();
        field->SetFocus();
        ASSERT_TRUE(field->HasFocus());
        EXPECT_EQ(frame() == unfocused, field == &W().RdFld());
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
