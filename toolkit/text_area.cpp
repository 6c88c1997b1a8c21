// A text area's widget: Tab, and wrapping that keeps a long paste quick.
#include <QMimeData>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <algorithm>

#include "toolkit/controls_qt.h"

namespace tk {

namespace {

// The longest stretch of `text` with no line break opportunity, in UTF-16
// code units.
qsizetype LongestUnbroken(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    qsizetype longest = 0;
    qsizetype last = 0;
    for (qsizetype at = finder.toNextBoundary(); at >= 0; at = finder.toNextBoundary()) {
        longest = std::max(longest, at - last);
        last = at;
    }
    return longest;
}

// When a paragraph wraps at word boundaries, Qt breaks a line inside a stretch
// with no break opportunity only after looking for one up to the stretch's
// end, once for each line: its time grows with the square of the stretch. A
// 1 MB line of digits takes about a minute. Past this length (some dozen lines
// of the area), the area wraps anywhere, which lays out in time that grows
// with the length.
constexpr qsizetype kLongestWordWrapped = 1000;
constexpr int kLongStretch = 1;  // a paragraph's user state: it holds one

}  // namespace

TextAreaWidget::TextAreaWidget(QWidget* parent) : QPlainTextEdit(parent) {
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // The document tells of every change (typing, pastes, drops, undo, a new
    // text) before it lays the changed paragraphs out.
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { FitWrapMode(position, added); });
}

void TextAreaWidget::FitWrapMode(int position, int added) {
    bool anywhere = false;
    const QTextBlock end = document()->findBlock(position + added).next();
    for (QTextBlock block = document()->findBlock(position); block.isValid() && block != end;
         block = block.next()) {
        const bool long_ = block.length() > kLongestWordWrapped &&
                           LongestUnbroken(block.text()) > kLongestWordWrapped;
        block.setUserState(long_ ? kLongStretch : 0);
        anywhere = anywhere || long_;
    }
    // A change elsewhere may have taken away the last long stretch.
    if (!anywhere && wordWrapMode() == QTextOption::WrapAnywhere) {
        for (QTextBlock block = document()->begin(); block.isValid() && !anywhere;
             block = block.next()) {
            anywhere = block.userState() == kLongStretch;
        }
    }
    const auto mode =
        anywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != mode) setWordWrapMode(mode);
}

void TextAreaWidget::insertFromMimeData(const QMimeData* source) {
    // A paste that brings a long stretch is laid out once, in the mode it
    // needs, rather than first in the mode the area had.
    if (wordWrapMode() != QTextOption::WrapAnywhere && !isReadOnly() && source->hasText() &&
        LongestUnbroken(source->text()) > kLongestWordWrapped) {
        setWordWrapMode(QTextOption::WrapAnywhere);
        // The new mode drops every paragraph's lines. The one the paste goes
        // into gets them back while it is short: a paragraph that has lines
        // is laid out once after the change, one that has none twice.
        document()->documentLayout()->blockBoundingRect(textCursor().block());
    }
    QPlainTextEdit::insertFromMimeData(source);
}

bool TextAreaWidget::event(QEvent* event) {
    // With tabs off, Tab only moves the focus: where there is nothing to move
    // it to, it does nothing rather than type a tab.
    if (event->type() == QEvent::KeyPress && tabChangesFocus()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            focusNextPrevChild(key->key() == Qt::Key_Tab &&
                               !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

}  // namespace tk
