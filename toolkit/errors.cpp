#include "toolkit/errors.h"

#include <QCoreApplication>
#include <QThread>
namespace tk {

void CheckMainThread(const char* operation) {
    const QCoreApplication* app = QCoreApplication::instance();
    if (app != nullptr && QThread::currentThread() != app->thread()) {
        throw ThreadAccessingUIException(std::string(operation) +
                                         ": user-interface objects may be used only on the "
                                         "user-interface thread");
    }
}

}  // namespace tk
