// The program as a user first meets it: what each window paints, where
// windows are placed, and the messages of a run that cannot show its windows
// or read a picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <string>

#include "calculator/ControlWnd.h"
#include "tests/ui/ui_support.h"
#include "toolkit/controls_qt.h"
#include "toolkit/picture.h"
#include "toolkit/window_qt.h"
#include "windows/AboutWnd.h"
#include "windows/helpWnd.h"

namespace {

using uitest::TopLevelOf;

// Runs first, while no picture has been kept: a failed open keeps nothing.
TEST(FirstMeeting, APictureThatCannotBeReadIsNamedOnceWithItsReason) {
    QTemporaryDir folder;
    QFile source(QString(TAMSAVIK_PICTURES_DIR) + "/compute.png");
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QFile cut(folder.path() + "/compute.png");
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(source.read(source.size() / 2));
    cut.close();
    tk::Picture::SetResourceFolder(folder.path().toStdString());

    testing::internal::CaptureStderr();  // this process's own and Qt's alike
    {
        ControlWnd& main = ControlWnd::Instance();
        EXPECT_EQ(main.ComputeCanvas().Backdrop(), nullptr);
        uitest::Click(main.HelpCanvas());  // a button without its picture still works
        EXPECT_NE(uitest::OpenWindow("helpWnd.helpWnd"), nullptr);
        EXPECT_EQ(tk::Picture::OpenFromApp("compute.png"), nullptr);  // again: said once
    }
    const QString said = QString::fromStdString(testing::internal::GetCapturedStderr());
    SCOPED_TRACE(said.toStdString());
    EXPECT_EQ(said.count("tamsavik: cannot read the picture "), 5);  // and nothing else
    EXPECT_FALSE(said.contains("libpng"));
    EXPECT_EQ(said.count("picture compute.png: "), 1);
    EXPECT_FALSE(said.contains("compute.png: there is no such file"));
    EXPECT_TRUE(said.contains("picture CirclesVSmall.png: there is no such file"));
    tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
}

// Every control's own painting, each alone, lies outside every other
// control's box.
TEST(FirstMeeting, NoControlPaintsOverAnother) {
    tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
    for (tk::Window* window : std::initializer_list<tk::Window*>{
             &AboutWnd::Instance(), &ControlWnd::Instance(), &helpWnd::Instance()}) {
        std::vector<tk::RectControl*> controls;
        for (tk::Object* object : tk::WindowInternals::Controls(*window)) {
            if (auto* rect = dynamic_cast<tk::RectControl*>(object)) {
                rect->SetVisible(true);  // the result and its label too
                controls.push_back(rect);
            }
        }
        for (const tk::RectControl* control : controls) {
            QWidget* widget = uitest::WidgetOf(*control);
            QImage painted(widget->size(), QImage::Format_ARGB32_Premultiplied);
            painted.fill(Qt::transparent);
            widget->render(&painted, QPoint(), QRegion(), QWidget::DrawChildren);
            for (const tk::RectControl* other : controls) {
                const QRect box(other->Left(), other->Top(), other->Width(), other->Height());
                const QRect shared = box & widget->geometry();
                int covered = 0;
                for (int y = shared.top(); other != control && y <= shared.bottom(); ++y) {
                    for (int x = shared.left(); x <= shared.right(); ++x) {
                        if (qAlpha(painted.pixel(QPoint(x, y) - widget->pos())) != 0) ++covered;
                    }
                }
                EXPECT_EQ(covered, 0) << window->ClassName() << ": " << control->Name()
                                      << " paints over " << other->Name();
            }
        }
    }
}

// Each window is centred on the screen, the help window 40 pixels lower and
// to the right. (A window larger than the screen: WindowPlacement.)
TEST(FirstMeeting, EveryWindowIsCentred) {
    tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const std::pair<tk::Window*, int> kWindows[] = {
        {&AboutWnd::Instance(), 0}, {&ControlWnd::Instance(), 0}, {&helpWnd::Instance(), 40}};
    for (const auto& [window, offset] : kWindows) {
        const QRect frame = TopLevelOf(*window)->frameGeometry();
        EXPECT_LE((frame.center() - screen.center() - QPoint(offset, offset)).manhattanLength(), 4)
            << window->ClassName() << " at " << frame.x() << ", " << frame.y();
    }
}

// Whatever keeps the program from a display, it says what in one line, with
// how to run it under a virtual display by the path it was started as, and
// ends with status 1. It is started by a link in a folder of its own.
TEST(FirstMeeting, WithoutADisplayItSaysWhyInOneLineAndEndsWithOne) {
    QTemporaryDir folder;
    const QString program = folder.path() + "/my tamsavik";
    ASSERT_TRUE(QFile::link(TAMSAVIK_BINARY, program));
    const struct {
        const char* platform;  // null: unset
        const char* display;   // null: unset
        const char* says;
    } kRuns[] = {
        {nullptr, nullptr, "DISPLAY is not set"},
        {"xcb", "", "DISPLAY is empty"},
        {nullptr, ":64999", "cannot reach the display \":64999\""},
        {"wayland", ":0", "the window system \"wayland\" cannot be used"},
        {"nosuchsystem", nullptr, "the window system \"nosuchsystem\" cannot be used"},
        {"linuxfb:fb=/nonexistent", nullptr, "\"linuxfb:fb=/nonexistent\" cannot be used"},
    };
    for (const auto& run : kRuns) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
            env.remove(name);
        if (run.platform != nullptr) env.insert("QT_QPA_PLATFORM", run.platform);
        if (run.display != nullptr) env.insert("DISPLAY", run.display);
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(program, {});
        ASSERT_TRUE(child.waitForFinished(30000)) << run.says;
        const QString said = QString::fromUtf8(child.readAllStandardError());
        SCOPED_TRACE(said.toStdString());
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 1);
        EXPECT_EQ(said.count('\n'), 1);
        EXPECT_TRUE(said.contains(run.says));
        // Under xvfb-run only X11 works: any other platform asked for must be undone.
        const bool other = run.platform != nullptr && std::string(run.platform) != "xcb";
        EXPECT_TRUE(said.endsWith(
            QString(": %1xvfb-run -a '%2'\n").arg(other ? "QT_QPA_PLATFORM=xcb " : "", program)));
    }
}

}  // namespace
