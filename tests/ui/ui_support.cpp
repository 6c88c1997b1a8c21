#include "tests/ui/ui_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "toolkit/qt_widgets.h"

namespace uitest {

QWidget* WidgetOf(const tk::RectControl& control) {
    return control.Impl().widget;
}

QWidget* TopLevelOf(const tk::Window& window) {
    return window.Impl().top;
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void DestroyAllWindows() {
    // Deleting a window deletes its menus, which are top-level widgets too.
    QList<QPointer<tk::TopLevelWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* top = dynamic_cast<tk::TopLevelWidget*>(widget)) windows.append(top);
    }
    for (const QPointer<tk::TopLevelWidget>& top : windows) delete top.data();
    Settle();
}

std::vector<std::string> DismissMessageBoxes(const std::function<void()>& action) {
    std::vector<std::string> texts;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&texts] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        texts.push_back(box->text().toStdString());
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        if (ok != nullptr)
            ok->click();
        else
            box->reject();
    });
    poll.start();
    action();
    poll.stop();
    return texts;
}

void Click(const tk::RectControl& control) {
    QWidget* widget = WidgetOf(control);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

}  // namespace uitest
