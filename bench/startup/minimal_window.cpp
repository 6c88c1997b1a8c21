// The yardstick for the start-up benchmark: about the least a Qt Widgets
// program can do to put up a window like Tamsavik's first one, a fixed
// 500x200 window with a picture and two labels.
//
//   minimal_window PICTURE.png
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(500, 200);

    auto* picture = new QLabel(&window);
    picture->setPixmap(QPixmap(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString()));
    picture->setGeometry(20, 36, 128, 128);

    auto* title = new QLabel("A small statistics program", &window);
    title->setGeometry(170, 40, 310, 30);
    auto* notice = new QLabel("Version 2.0\nby its authors", &window);
    notice->setGeometry(170, 90, 310, 60);

    window.show();
    return QApplication::exec();
}
