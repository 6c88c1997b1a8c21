#include "tests/ui/ui_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "toolkit/build_control.h"
#include "toolkit/controls_qt.h"
#include "toolkit/core/proplist.h"
#include "toolkit/picture_qt.h"
#include "toolkit/properties.h"
#include "toolkit/window_qt.h"

namespace uitest {

namespace {

using tk::plist::Bool;
using tk::plist::Int;
using tk::plist::Rgb;
using tk::plist::Row;
using tk::plist::Size;
using tk::plist::Text;

// clang-format off
constexpr Row kWindowRows[] = {Text("Title", "Layout check"), Int("Width", 320), Int("Height", 200),
                               Bool("HasMaximizeButton", true), Bool("Resizeable", false),
                               Bool("Visible", true)};
LAYOUT_LIST(kWindowList, kWindowRows);
constexpr Row kTitleRows[] = {Int("Left", 10), Int("Top", 12), Int("Width", 140), Int("Height", 20),
                              Text("Value", "Result"), Int("TextAlignment", 2),
                              Rgb("TextColor", 0x80, 0x00, 0x00, 0x00), Size("FontSize", 13.0f),
                              Bool("Bold", true)};
LAYOUT_LIST(kTitleList, kTitleRows);
constexpr Row kLimitRows[] = {Int("Left", 10), Int("Top", 40), Int("Width", 100), Int("Height", 22),
                              Int("MaximumCharactersAllowed", 6), Int("TextAlignment", 3),
                              Rgb("TextColor", 0xff, 0xff, 0xff, 0x00), Size("FontSize", 12.0f),
                              Bool("Bold", false), Int("TabIndex", 2)};
LAYOUT_LIST(kLimitList, kLimitRows);
constexpr Row kFirstRows[] = {Int("Left", 10), Int("Top", 100), Int("Width", 100),
                              Int("Height", 22), Int("TabIndex", 0)};
LAYOUT_LIST(kFirstList, kFirstRows);
constexpr Row kLockedRows[] = {Int("Left", 10), Int("Top", 70), Int("Width", 100),
                               Int("Height", 22), Text("Value", "fixed"), Bool("ReadOnly", true),
                               Int("TabIndex", 3)};
LAYOUT_LIST(kLockedList, kLockedRows);
constexpr Row kNotesRows[] = {Int("Left", 130), Int("Top", 40), Int("Width", 150),
                              Int("Height", 60), Text("Value", "one\rtwo"),
                              Rgb("TextColor", 0x00, 0x00, 0xff, 0x80), Int("TabIndex", 1)};
LAYOUT_LIST(kNotesList, kNotesRows);
constexpr Row kCanvasRows[] = {Int("Left", 200), Int("Top", 110), Int("Width", 32),
                               Int("Height", 32), Bool("Transparent", true),
                               Bool("Transparent", false)};
LAYOUT_LIST(kCanvasList, kCanvasRows);
constexpr Row kTimerRows[] = {Int("Period", 50), Int("RunMode", 1)};
LAYOUT_LIST(kTimerList, kTimerRows);
// clang-format on

// A timer that sits on a window, as the program's timers do.
class TestTimer : public tk::Timer, public tk::PaneChild {
  public:
    explicit TestTimer(tk::Window& window) { (void)window; }
    void Constructor() {}
    void SetWindow(tk::Window* window) override { window_ = window; }
    tk::Window* Window() const override { return window_; }
    std::int64_t GetIndex() const override { return 0; }
    void SetIndex(std::int64_t index) override { (void)index; }

  private:
    tk::Window* window_ = nullptr;
};

}  // namespace

std::shared_ptr<tk::Picture> TestPicture() {
    static const std::shared_ptr<tk::Picture> picture = [] {
        auto impl = std::make_unique<tk::PictureImpl>();
        impl->image = QImage(16, 16, QImage::Format_ARGB32);
        impl->image.fill(Qt::red);
        return std::make_shared<tk::Picture>(std::move(impl));
    }();
    return picture;
}

void TestWnd::Layout() {
    ++builds;
    tk::SetProperties(*this, kWindowList);
}

void TestWnd::CreateControls() {
    using tk::BuildControl;
    BuildControl<tk::Label>(*this, "TitleLbl", kTitleList);
    BuildControl<tk::TextField>(*this, "LimitFld", kLimitList);
    BuildControl<tk::TextField>(*this, "FirstFld", kFirstList);
    BuildControl<tk::TextField>(*this, "LockedFld", kLockedList);
    BuildControl<tk::TextArea>(*this, "NotesArea", kNotesList);
    BuildControl<tk::Canvas>(*this, "PictureCanvas", kCanvasList, TestPicture);
    BuildControl<TestTimer, tk::Timer>(*this, "Timer1", kTimerList).BindAction([this](tk::Timer&) {
        ++timerFires;
    });
}

QWidget* WidgetOf(const tk::RectControl& control) {
    return tk::ControlInternals::Impl(control).widget;
}

QWidget* TopLevelOf(const tk::Window& window) {
    return tk::WindowInternals::Impl(window).top;
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void DestroyAllWindows() {
    tk::WindowInternals::DestroyAll();
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
