#include "toolkit/dialogs.h"

#include <QApplication>
#include <QMessageBox>

#include "toolkit/errors.h"
#include "toolkit/testing_qt.h"
#include "toolkit/text_qt.h"

namespace tk {

namespace {
std::int64_t g_beeps = 0;
}

void MsgBox(std::string_view text) {
    CheckMainThread("showing a message box");
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QCoreApplication::applicationName());
    box.setText(FromUtf8(text));
    box.setStandardButtons(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void Beep() {
    ++g_beeps;
    QApplication::beep();
}

std::int64_t BeepCount() {
    return g_beeps;
}

}  // namespace tk
