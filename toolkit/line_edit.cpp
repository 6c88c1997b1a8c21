// A text field's widget: its character limit, paste, drop, input method,
// undo steps and font fitting.
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <algorithm>
#include <limits>

#include "toolkit/controls_qt.h"
#include "toolkit/core/text.h"
#include "toolkit/dialogs.h"
#include "toolkit/keys_qt.h"

namespace tk {

namespace {

// Characters as the limit counts them: code points, so that a character
// outside the Basic Multilingual Plane (an emoji) counts once.
int CodePoints(QStringView text) {
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())) ++n;
    }
    return n;
}

// What a paste brings into a field: its text without the blanks and invisible
// characters around it, which a number read from the field ignores anyway.
QString Pasted(const QString& text) {
    return FromUtf8(TrimInvisible(ToUtf8(text)));
}

}  // namespace

LineEditWidget::LineEditWidget(TextField* field, QWidget* parent)
    : QLineEdit(parent), field_(field), listFont_(font()) {
    QObject::connect(this, &QLineEdit::textChanged, this, [this] { FitFont(); });
}

int LineEditWidget::Room(int freed) const {
    const int limit = field_->MaximumCharactersAllowed();
    if (limit <= 0) return std::numeric_limits<int>::max();
    return std::max(0, limit - (CodePoints(text()) - freed));
}

void LineEditWidget::PasteFrom(QClipboard::Mode mode) {
    if (isReadOnly()) return;
    const QString pasted = Pasted(QGuiApplication::clipboard()->text(mode));
    if (pasted.isEmpty()) return;
    // A number cut short would read as another number: what does not fit in
    // whole is refused.
    if (CodePoints(pasted) > Room(CodePoints(selectedText()))) {
        Beep();
        return;
    }
    // A step of its own in the undo history, as the widget's paste is.
    NewUndoStep();
    insert(pasted);
    NewUndoStep();
}

void LineEditWidget::NewUndoStep() {
    // Moving the caret ends the undo step before it; the caret and the
    // selection come back as they were.
    if (text().isEmpty()) return;
    const int caret = cursorPosition();
    const int start = selectionStart();
    const int length = selectionLength();
    setCursorPosition(caret == 0 ? 1 : caret - 1);
    if (length == 0)
        setCursorPosition(caret);
    else if (caret == start)
        setSelection(start + length, -length);
    else
        setSelection(start, length);
}

bool LineEditWidget::event(QEvent* event) {
    // Before QLineEdit and QWidget see the key (QWidget takes Tab for focus).
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (field_->HasKeyDown()) {
            const auto text = KeyDownText(*key);
            if (text && ControlInternals::RaiseKeyDown(*field_, *text)) {
                event->accept();
                return true;
            }
        }
        if (!isReadOnly() && key->matches(QKeySequence::Paste)) {
            PasteFrom(key->key() == Qt::Key_Insert && key->modifiers() & Qt::ControlModifier
                          ? QClipboard::Selection
                          : QClipboard::Clipboard);
            event->accept();
            return true;
        }
        const auto typed = TypedText(*key);
        if (!isReadOnly() && typed && CodePoints(*typed) > Room(CodePoints(selectedText()))) {
            event->accept();  // past the limit: nothing is typed, and no beep
            return true;
        }
    } else if (event->type() == QEvent::InputMethod && !isReadOnly()) {
        // Composed text (dead keys, Compose, an input method) passes the key
        // filter a character at a time; one refused character refuses it all,
        // and so does the limit, as it does a paste.
        auto* input = static_cast<QInputMethodEvent*>(event);
        QString commit = input->commitString();
        if (!commit.isEmpty()) {
            if (field_->HasKeyDown()) {
                for (const char32_t c : commit.toUcs4()) {
                    if (ControlInternals::RaiseKeyDown(*field_, ToUtf8(QString::fromUcs4(&c, 1)))) {
                        commit.clear();
                        break;
                    }
                }
            }
            // The widget takes the selection out first, then the replacement
            // about the caret in what is left.
            QString rest = text();
            int caret = cursorPosition();
            if (hasSelectedText()) {
                rest.remove(selectionStart(), selectionLength());
                caret = selectionStart();
            }
            const QString replaced = rest.mid(std::max(0, caret + input->replacementStart()),
                                              input->replacementLength());
            if (CodePoints(commit) > Room(CodePoints(selectedText()) + CodePoints(replaced)))
                commit.clear();
            if (commit != input->commitString()) {
                QInputMethodEvent kept(input->preeditString(), input->attributes());
                kept.setCommitString(commit);  // nothing taken out, nothing put in
                QLineEdit::event(&kept);
                event->accept();
                return true;
            }
        }
    }
    return QLineEdit::event(event);
}

void LineEditWidget::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    // Its Paste keeps to the limit too.
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(QLineEdit::tr("&Paste"))) {
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            QObject::connect(action, &QAction::triggered, this,
                             [this] { PasteFrom(QClipboard::Clipboard); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void LineEditWidget::mouseReleaseEvent(QMouseEvent* event) {
    // A middle click pastes the X11 selection, as any paste goes in.
    if (event->button() == Qt::MiddleButton && !isReadOnly() &&
        QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        PasteFrom(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void LineEditWidget::dropEvent(QDropEvent* event) {
    if (isReadOnly() || !event->mimeData()->hasText()) return QLineEdit::dropEvent(event);
    // Text dragged within the field is moved or copied as the widget does it,
    // a move leaving room as it goes. Text from elsewhere goes in as a paste
    // does, without the blanks round it. Either goes in whole or not at all.
    const bool within = event->source() == this;
    const QString dropped = within ? event->mimeData()->text() : Pasted(event->mimeData()->text());
    const bool moved = within && event->dropAction() == Qt::MoveAction;
    if (dropped.isEmpty() || CodePoints(dropped) > Room(moved ? CodePoints(selectedText()) : 0)) {
        if (!dropped.isEmpty()) Beep();
        event->ignore();
        return;
    }
    if (within) return QLineEdit::dropEvent(event);
    QMimeData text;
    text.setText(dropped);
    QDropEvent trimmed(event->position(), event->possibleActions(), &text, event->buttons(),
                       event->modifiers());
    trimmed.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&trimmed);
    event->setDropAction(trimmed.dropAction());
    event->setAccepted(trimmed.isAccepted());
}

void LineEditWidget::focusOutEvent(QFocusEvent* event) {
    // The menu bar takes the focus while it is used from the keyboard; the
    // selection stays for its Edit commands, as it does for a menu opened with
    // the mouse.
    if (event->reason() == Qt::MenuBarFocusReason) {
        QFocusEvent kept(QEvent::FocusOut, Qt::PopupFocusReason);
        QLineEdit::focusOutEvent(&kept);
        return;
    }
    QLineEdit::focusOutEvent(event);
}

void LineEditWidget::SetFocusRing(bool on) {
    focusRing_ = on;
    update();
}

void LineEditWidget::initStyleOption(QStyleOptionFrame* option) const {
    QLineEdit::initStyleOption(option);
    // With no focus ring the frame is drawn as when the field has no focus.
    if (!focusRing_) option->state &= ~QStyle::State_HasFocus;
}

void LineEditWidget::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange && !fitting_) {
        listFont_ = font();
        FitFont();
    } else if (event->type() == QEvent::ReadOnlyChange) {
        FitFont();
    }
}

void LineEditWidget::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    FitFont();
}

void LineEditWidget::FitFont() {
    QFont fitted = listFont_;
    // An empty text always fits: nothing is measured, so no font loads while
    // a window is built.
    if (isReadOnly() && !displayText().isEmpty()) {
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        // The width QLineEdit lays the text out in: its contents less its
        // margins of 2 on each side, and room for the cursor after the text.
        const QRect contents = style()
                                   ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
                                   .marginsRemoved(textMargins());
        const int cursor = style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this);
        const qreal room = contents.width() - 4 - 1 - cursor;
        if (fitted.pixelSize() <= 0) fitted.setPixelSize(QFontInfo(fitted).pixelSize());
        while (fitted.pixelSize() > 1 &&
               QFontMetricsF(fitted).horizontalAdvance(displayText()) > room) {
            fitted.setPixelSize(fitted.pixelSize() - 1);
        }
    }
    if (fitted == font()) return;
    fitting_ = true;
    setFont(fitted);
    fitting_ = false;
}

}  // namespace tk
