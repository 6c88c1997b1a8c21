// How long a paste into the help text takes until the window has answered: the
// help window is opened on the offscreen platform, its whole text is selected
// and the clipboard's text pasted over it with Ctrl+V; the time runs until the
// paste, the events it leaves and a repaint of the text are done. Each kind of
// text is pasted RUNS times; prints the median and the slowest in ms.
//
//   help_paste_bench [KILOBYTES [RUNS]]     1024 and 3 by default
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "resources/help_text.h"
#include "toolkit/application.h"
#include "toolkit/controls_qt.h"
#include "windows/helpWnd.h"

namespace {

using Clock = std::chrono::steady_clock;

// `size` characters of `unit` repeated, with a line break after every
// `lineLength` characters (never, when 0).
QString Text(const QString& unit, qsizetype size, qsizetype lineLength) {
    QString text;
    text.reserve(size);
    qsizetype column = 0;  // characters since the last line break
    while (text.size() < size) {
        if (lineLength > 0 && column + unit.size() > lineLength) {
            text += '\n';
            column = 0;
        }
        text += unit;
        column += unit.size();
    }
    text.truncate(size);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const int kilobytes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1024;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    tk::Application application("tamsavik");

    helpWnd& help = helpWnd::Instance();
    auto* area =
        static_cast<QPlainTextEdit*>(tk::ControlInternals::Impl(help.EditField1()).widget.data());
    area->window()->activateWindow();
    area->setFocus();

    const qsizetype size = qsizetype{kilobytes} * 1024;
    const struct {
        const char* name;
        QString text;
    } kinds[] = {
        {"one line of digits", Text("0123456789", size, 0)},
        {"one line of words", Text("lorem ipsum ", size, 0)},
        {"lines of 80 digits", Text("0123456789", size, 80)},
        {"lines of 80 in words", Text("lorem ipsum ", size, 80)},
    };

    for (const auto& kind : kinds) {
        std::vector<double> millis;
        for (int run = 0; run < runs; ++run) {
            help.EditField1().SetText(resources::kHelpText);
            QApplication::clipboard()->setText(kind.text);
            area->selectAll();

            const Clock::time_point start = Clock::now();
            QTest::keyClick(area, Qt::Key_V, Qt::ControlModifier);
            QCoreApplication::processEvents();
            area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
            area->viewport()->repaint();
            QCoreApplication::processEvents();
            millis.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());

            if (area->document()->characterCount() != kind.text.size() + 1) {
                std::fprintf(stderr, "help_paste_bench: the paste of %s did not go in\n",
                             kind.name);
                return 1;
            }
        }
        std::sort(millis.begin(), millis.end());
        std::printf("paste of %d kB, %-22s median %8.1f ms, slowest %8.1f ms\n", kilobytes,
                    kind.name, millis[millis.size() / 2], millis.back());
        std::fflush(stdout);
    }
    return 0;
}
