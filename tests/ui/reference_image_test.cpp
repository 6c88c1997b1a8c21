// What a user sees of each window, pixel for pixel: the About window, the main
// window before and after a Compute, and the help window page by page are
// grabbed and compared with the pictures in tests/ui/reference. A grab that
// differs is written, with a map of where it differs, to the folder the
// failure names. scripts/update_reference_images.sh rewrites the references
// when the look changes on purpose.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "calculator/ControlWnd.h"
#include "tests/ui/ui_support.h"
#include "toolkit/picture.h"
#include "windows/AboutWnd.h"
#include "windows/helpWnd.h"

namespace {

// A pixel differs when one of its channels is off by more than this: enough
// for rounding in the rasteriser, far too little for another colour. A grab
// matches when no pixel differs; a comma turned into a point moves five.
constexpr int kChannelTolerance = 24;

// The grabs depend on more than the program: the font that stands for
// "System", the widget style and a steady text cursor. These are pinned, so
// that every machine draws the same pixels.
class PinnedLook : public testing::Environment {
    void SetUp() override {
        for (const char* file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
            if (QFontDatabase::addApplicationFont(QString(TAMSAVIK_FONT_DIR "/") + file) < 0) {
                std::fprintf(stderr, "%s/%s is missing: install fonts-dejavu-core\n",
                             TAMSAVIK_FONT_DIR, file);
                std::exit(1);
            }
        }
        QFont font("DejaVu Sans");
        font.setPixelSize(12);
        QApplication::setFont(font);
        QApplication::setStyle("Fusion");
        QApplication::setCursorFlashTime(0);
    }
};
[[maybe_unused]] testing::Environment* const kPinnedLook =
    testing::AddGlobalTestEnvironment(new PinnedLook);

// Compares the window as it is now with the reference picture `name`.
void ExpectLooksLike(const tk::Window& window, const QString& name) {
    QWidget* top = uitest::TopLevelOf(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(top));
    uitest::Settle();
    const QImage shot = top->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString reference = QString(TAMSAVIK_REFERENCE_DIR "/%1.png").arg(name);
    if (qEnvironmentVariableIsSet("TAMSAVIK_UPDATE_REFERENCES")) {
        ASSERT_TRUE(shot.save(reference)) << reference.toStdString();
        return;
    }
    const QImage want = QImage(reference).convertToFormat(QImage::Format_RGB32);
    // Differing pixels in red over a faint copy of the grab.
    QImage map(shot.size(), QImage::Format_RGB32);
    qsizetype differing = want.size() == shot.size() ? 0 : shot.width() * shot.height();
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb a = shot.pixel(x, y);
            const QRgb b = want.valid(x, y) ? want.pixel(x, y) : ~a;
            const int off = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                      std::abs(qBlue(a) - qBlue(b))});
            const int faint = 192 + qGray(a) / 4;
            map.setPixel(x, y,
                         off > kChannelTolerance ? qRgb(255, 0, 0) : qRgb(faint, faint, faint));
            if (off > kChannelTolerance && want.size() == shot.size()) ++differing;
        }
    }
    const QString out = TAMSAVIK_TEST_OUTPUT;
    QFile::remove(out + "/" + name + ".png");  // a grab from an earlier failure
    QFile::remove(out + "/" + name + "-difference.png");
    if (differing == 0) return;
    QDir().mkpath(out);
    shot.save(out + "/" + name + ".png");
    map.save(out + "/" + name + "-difference.png");
    ADD_FAILURE() << name.toStdString() << ": " << differing << " pixels differ from "
                  << reference.toStdString() << "; see " << out.toStdString() << "/"
                  << name.toStdString() << ".png and " << name.toStdString() << "-difference.png";
}

class ReferenceImage : public testing::Test {
  protected:
    void SetUp() override { tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR); }
};

TEST_F(ReferenceImage, AboutWindow) {
    ExpectLooksLike(AboutWnd::Instance(), "about");
}

TEST_F(ReferenceImage, MainWindowEmptyAndWithAResult) {
    ControlWnd& w = ControlWnd::Instance();
    ExpectLooksLike(w, "main");
    w.RxxFld().SetText(".60");
    w.RyyFld().SetText(".70");
    w.RxyFld().SetText(".80");
    uitest::Click(w.ComputeCanvas());
    ASSERT_TRUE(w.RdFld().Visible());
    // The result field, which allows no focus ring, has the focus here; in the
    // empty window the first input field has it, with its ring.
    w.RdFld().SetFocus();
    ExpectLooksLike(w, "main-result");
    EXPECT_TRUE(w.RdFld().HasFocus());
}

// Every line of the help text is seen on one page or the next.
TEST_F(ReferenceImage, HelpWindowPageByPage) {
    helpWnd& help = helpWnd::Instance();
    QScrollBar* bar =
        static_cast<QPlainTextEdit*>(uitest::WidgetOf(help.EditField1()))->verticalScrollBar();
    for (int page = 1;; ++page) {
        ExpectLooksLike(help, QString("help-%1").arg(page));
        if (bar->value() == bar->maximum()) break;
        bar->setValue(bar->value() + bar->pageStep());
    }
}

}  // namespace
