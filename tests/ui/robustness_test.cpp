// A long random session on the main window, and the memory the help window
// leaves behind. The session mixes key presses (control keys and non-ASCII
// text among them), clicks on every picture, pastes of hostile text into every
// field, the Edit commands, and the help window opening and closing. After
// each step the result field holds nothing or a text the program set, and no
// input field holds more than six characters; at the end a known Compute still
// gives its result.
//
// TAMSAVIK_SEED and TAMSAVIK_STEPS in the environment replay or lengthen a
// session.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calculator/ControlWnd.h"
#include "tests/ui/ui_support.h"
#include "toolkit/picture.h"
#include "toolkit/qt_widgets.h"
#include "windows/AboutWnd.h"
#include "windows/helpWnd.h"

namespace {

using uitest::TopLevelOf;
using uitest::WidgetOf;

std::uint64_t FromEnvironment(const char* name, std::uint64_t fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 0) : fallback;
}

std::size_t CodePoints(const std::string& utf8) {
    std::size_t n = 0;
    for (const char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// Empty, or a text Compute sets: -?\d*\.\d{4}, INF, -INF or NAN.
bool IsResultText(std::string_view text) {
    if (text.empty() || text == "INF" || text == "-INF" || text == "NAN") return true;
    if (text.front() == '-') text.remove_prefix(1);
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos || text.size() - point != 5) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != point && (text[i] < '0' || text[i] > '9')) return false;
    }
    return true;
}

helpWnd* OpenHelpWindow() {
    tk::Window* window = tk::Window::GetImplicitWindow("helpWnd.helpWnd");
    return window == nullptr ? nullptr : &tk::Cast<helpWnd>(window);
}

// Closes the help window the way the window manager does, and lets Qt delete
// it.
void CloseHelpWindow() {
    if (helpWnd* help = OpenHelpWindow()) TopLevelOf(*help)->close();
    uitest::Settle();
}

// The texts a session pastes: hostile, odd and plausible.
std::vector<QString> PasteTexts() {
    std::string megabyte(std::size_t{1} << 20, '\0');
    std::mt19937 fill(7);
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyz0123456789.- ";
    for (char& c : megabyte) c = alphabet[fill() % alphabet.size()];
    const char invalidUtf8[] = "\xff\xfe.5\xc3\x28\xe2\x82";
    return {
        "",
        "hello",
        ".5",
        "-.25",
        "1",
        "-1",
        ".999",
        "0",
        "0.9999995",
        "1e-300",
        "-1e308",
        "1e400",
        "  .5",
        "-0",
        "inf",
        "nan",
        "0x1p3",
        "1\n2",
        "\t\r\n\b\x1b\x7f",
        QString("1") + QChar(u'\0') + ".5",
        QString(3, QChar(u'\0')),
        QString::fromUtf8("\u00fcn\u00efc\u00f8d\u00e9"),
        QString::fromUtf8("\u4e2d\u6587\u5b57\u7b26\u6d4b\u8bd5\u6587"),
        QString::fromUtf8("\U0001F600\U0001F600\U0001F600\U0001F600"),
        QString::fromUtf8("\u05e9\u05dc\u05d5\u05dd.5"),
        QString::fromUtf8("\u0661.\u0662"),  // Arabic-Indic digits
        QString::fromUtf8(invalidUtf8, sizeof invalidUtf8 - 1),
        QString::fromStdString(megabyte),
    };
}

// A key and its modifiers; a key with a text sends that text along.
struct Key {
    Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier, QString t = QString())
        : key(k), modifiers(m), text(std::move(t)) {}
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

// The keys, the ones a number is typed with first.
constexpr int kNumberKeys = 14;
std::vector<Key> Keys() {
    std::vector<Key> keys;
    for (char c : std::string("0123456789.-.-")) {
        keys.emplace_back(Qt::Key(c), Qt::NoModifier, QString(QChar::fromLatin1(c)));
    }
    for (char c : std::string("aZ +e,/=")) {
        const QChar ch = QChar::fromLatin1(c);
        keys.emplace_back(Qt::Key(ch.toUpper().unicode()), Qt::NoModifier, QString(ch));
    }
    for (Qt::Key k :
         {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Tab,   Qt::Key_Backtab, Qt::Key_Return,
          Qt::Key_Enter,     Qt::Key_Escape, Qt::Key_Home,  Qt::Key_End,     Qt::Key_Left,
          Qt::Key_Right,     Qt::Key_Up,     Qt::Key_Down,  Qt::Key_PageUp,  Qt::Key_Insert,
          Qt::Key_F1,        Qt::Key_F10,    Qt::Key_Space, Qt::Key_Menu,    Qt::Key_Shift,
          Qt::Key_Control,   Qt::Key_Alt}) {
        keys.emplace_back(k);
    }
    // Ctrl+Q is left out: it would end the run.
    for (Qt::Key k : {Qt::Key_A, Qt::Key_C, Qt::Key_V, Qt::Key_X, Qt::Key_Z, Qt::Key_Y,
                      Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_K, Qt::Key_U, Qt::Key_Left}) {
        keys.emplace_back(k, Qt::ControlModifier);
    }
    keys.emplace_back(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    keys.emplace_back(Qt::Key_Insert, Qt::ShiftModifier);
    keys.emplace_back(Qt::Key_Left, Qt::ShiftModifier);
    keys.emplace_back(Qt::Key_Home, Qt::ShiftModifier);
    keys.emplace_back(Qt::Key_F, Qt::AltModifier, "f");  // the File menu
    keys.emplace_back(Qt::Key_E, Qt::AltModifier, "e");  // the Edit menu
    keys.emplace_back(Qt::Key_5, Qt::KeypadModifier, "5");
    for (const char* text : {"\u00e9", "\u4e2d", "\U0001F600", "\u0663", "\u00a0", "\u2212"}) {
        keys.emplace_back(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(text));
    }
    keys.emplace_back(Qt::Key_unknown, Qt::NoModifier, QString(QChar(u'\0')));
    keys.emplace_back(Qt::Key_unknown, Qt::NoModifier, "\x01");
    return keys;
}

class Session {
  public:
    explicit Session(std::uint64_t seed) : rng_(seed), w_(ControlWnd::Instance()) {}

    ControlWnd& W() const { return w_; }

    void Step() {
        const int kind = Pick(100);
        if (kind < 35) {
            PressKey();
        } else if (kind < 47) {
            TypeACorrelation();
        } else if (kind < 70) {
            ClickSomething();
        } else if (kind < 82) {
            Paste();
        } else if (kind < 90) {
            EditCommand();
        } else if (kind < 97) {
            HelpWindow();
        } else {
            uitest::Settle();
        }
        // A menu opened by Alt+F or Alt+E is closed as a click elsewhere would.
        while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    }

    int Results() const { return results_; }
    int Refusals() const { return refusals_; }

    std::vector<tk::TextField*> Inputs() const {
        return {&W().RxxFld(), &W().RyyFld(), &W().RxyFld()};
    }

  private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    template <class T>
    const T& PickFrom(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Pick(static_cast<int>(items.size())))];
    }

    // Where keys and pastes go: the focused widget when it is one of ours,
    // otherwise a field (or the help text) clicked into first.
    QWidget* Target() {
        std::vector<QWidget*> candidates{WidgetOf(W().RxxFld()), WidgetOf(W().RyyFld()),
                                         WidgetOf(W().RxyFld()), WidgetOf(W().RdFld())};
        if (helpWnd* help = OpenHelpWindow()) candidates.push_back(WidgetOf(help->EditField1()));
        QWidget* focused = QApplication::focusWidget();
        if (focused != nullptr && Pick(4) != 0 &&
            std::find(candidates.begin(), candidates.end(), focused) != candidates.end()) {
            return focused;
        }
        QWidget* target = PickFrom(candidates);
        if (target->isVisible()) {
            QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
        }
        return target;
    }

    void PressKey() {
        // Half of the keys are the ones a number is typed with, so that
        // Compute often has numbers to work on.
        const Key& k =
            Pick(2) == 0 ? keys_[static_cast<std::size_t>(Pick(kNumberKeys))] : PickFrom(keys_);
        QWidget* target = Target();
        if (k.text.isNull())
            QTest::keyClick(target, k.key, k.modifiers);
        else
            QTest::sendKeyEvent(QTest::Click, target, k.key, k.text, k.modifiers);
    }

    // Replaces an input field's text with a typed value from -1 to 1, such as
    // ".37", "-.8", "1" or "0.05".
    void TypeACorrelation() {
        tk::TextField& field = *Inputs()[static_cast<std::size_t>(Pick(3))];
        QWidget* widget = WidgetOf(field);
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
        QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        const int hundredths = Pick(201) - 100;
        const int magnitude = std::abs(hundredths);
        std::string text = hundredths < 0 && &field == &W().RxyFld() ? "-" : "";
        if (magnitude == 100) {
            text += "1";
        } else {
            text += Pick(2) == 0 ? "." : "0.";
            text += std::to_string(magnitude / 10) + std::to_string(magnitude % 10);
        }
        QTest::keyClicks(widget, QString::fromStdString(text));
    }

    void ClickSomething() {
        switch (Pick(8)) {
            case 0:
            case 1: {
                // Compute may bring a message box; it is read and dismissed.
                const auto messages =
                    uitest::DismissMessageBoxes([this] { uitest::Click(W().ComputeCanvas()); });
                (messages.empty() ? results_ : refusals_) += 1;
                break;
            }
            case 2:
                uitest::Click(W().ClearCanvas());
                break;
            case 3:
                uitest::Click(W().HelpCanvas());
                break;
            case 4:
                uitest::Click(W().Canvas1());
                break;
            case 5:
                // The logo shows the About window; a key or a click there hands over.
                uitest::Click(W().Canvas2());
                if (Pick(2) == 0) {
                    QTest::keyClick(TopLevelOf(AboutWnd::Instance()), Qt::Key_Space);
                } else {
                    QTest::mouseClick(TopLevelOf(AboutWnd::Instance()), Qt::LeftButton);
                }
                break;
            case 6:
                uitest::Click(W().StaticText6());
                break;
            default: {
                // Anywhere in the window's content area.
                auto* top = static_cast<tk::TopLevelWidget*>(TopLevelOf(W()));
                QTest::mouseClick(top->Content(), Qt::LeftButton, Qt::NoModifier,
                                  QPoint(Pick(580), Pick(450)));
                break;
            }
        }
    }

    void Paste() {
        QWidget* target = Target();
        QString text = PickFrom(pastes_);
        if (qobject_cast<QPlainTextEdit*>(target) != nullptr) text.truncate(4096);
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    }

    void EditCommand() {
        tk::MenuItem* items[] = {&W().EditUndo(),  &W().EditCut(),   &W().EditCopy(),
                                 &W().EditPaste(), &W().EditClear(), &W().EditSelectAll()};
        Target();
        if (Pick(3) == 0) QGuiApplication::clipboard()->setText(PickFrom(pastes_));
        tk::ActionOf(*items[Pick(6)])->trigger();
    }

    void HelpWindow() {
        if (OpenHelpWindow() != nullptr && Pick(2) == 0)
            CloseHelpWindow();
        else
            uitest::Click(W().HelpCanvas());
    }

    std::mt19937_64 rng_;
    ControlWnd& w_;
    int results_ = 0;
    int refusals_ = 0;
    const std::vector<Key> keys_ = Keys();
    const std::vector<QString> pastes_ = PasteTexts();
};

// The offscreen platform warns at every window it cannot raise or size by
// hints; thousands of those would bury a failure.
void QuietPlatformWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith("This plugin does not support")) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

class Robustness : public testing::Test {
  protected:
    void SetUp() override {
        tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
        previous_ = qInstallMessageHandler(QuietPlatformWarnings);
    }
    void TearDown() override { qInstallMessageHandler(previous_); }

  private:
    QtMessageHandler previous_ = nullptr;
};

TEST_F(Robustness, ARandomSessionLeavesTheMainWindowSoundAndUsable) {
    const std::uint64_t seed = FromEnvironment("TAMSAVIK_SEED", 20240611);
    const std::uint64_t steps = FromEnvironment("TAMSAVIK_STEPS", 20000);
    SCOPED_TRACE("TAMSAVIK_SEED=" + std::to_string(seed));
    Session session(seed);
    ControlWnd& w = session.W();

    for (std::uint64_t step = 0; step < steps; ++step) {
        session.Step();
        const std::string result = w.RdFld().Text();
        ASSERT_TRUE(IsResultText(result))
            << "step " << step << ": the result field holds \"" << result << "\"";
        for (tk::TextField* field : session.Inputs()) {
            const std::string text = field->Text();
            ASSERT_LE(CodePoints(text), 6u)
                << "step " << step << ": " << field->Name() << " holds \"" << text << "\"";
            ASSERT_LE(static_cast<QLineEdit*>(WidgetOf(*field))->text().size(), 6);
        }
        ASSERT_TRUE(w.IsShown()) << "step " << step;
    }

    // The session did reach both outcomes of Compute often.
    EXPECT_GE(session.Results(), 50);
    EXPECT_GE(session.Refusals(), 50);

    CloseHelpWindow();
    uitest::Click(w.ClearCanvas());
    for (tk::TextField* field : session.Inputs()) EXPECT_EQ(field->Text(), "");
    EXPECT_FALSE(w.RdFld().Visible());
    const char* values[] = {".60", ".70", ".80"};
    for (int i = 0; i < 3; ++i) {
        QWidget* field = WidgetOf(*session.Inputs()[static_cast<std::size_t>(i)]);
        QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, field->rect().center());
        QTest::keyClicks(field, values[i]);
    }
    const auto messages = uitest::DismissMessageBoxes([&w] { uitest::Click(w.ComputeCanvas()); });
    EXPECT_EQ(messages, std::vector<std::string>{});
    EXPECT_TRUE(w.RdFld().Visible());
    EXPECT_EQ(w.RdFld().Text(), ".0934");
}

// Resident memory in kilobytes.
long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAMSAVIK_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TAMSAVIK_ASAN 1
#endif

TEST_F(Robustness, OpeningAndClosingTheHelpWindowHoldsNoMemory) {
#ifdef TAMSAVIK_ASAN
    GTEST_SKIP() << "the address sanitizer keeps freed memory in quarantine; its leak check "
                    "stands in for this one in that build";
#endif
    ControlWnd& w = ControlWnd::Instance();
    auto cycle = [&w] {
        uitest::Click(w.HelpCanvas());
        helpWnd* help = OpenHelpWindow();
        ASSERT_NE(help, nullptr);
        ASSERT_TRUE(help->IsShown());
        CloseHelpWindow();
        ASSERT_EQ(OpenHelpWindow(), nullptr);
    };
    for (int i = 0; i < 10; ++i) ASSERT_NO_FATAL_FAILURE(cycle());
    const long before = ResidentKilobytes();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 1000; ++i) ASSERT_NO_FATAL_FAILURE(cycle());
    const long after = ResidentKilobytes();
    EXPECT_LE(after - before, 1024)
        << "VmRSS went from " << before << " kB to " << after << " kB over 1000 help windows";
}

}  // namespace
