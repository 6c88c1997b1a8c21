// A random session on the main window: keys (control keys and non-ASCII text
// among them), pastes of hostile text and clicks on the pictures. Every
// Compute must do what the calculator's decision says for the texts then in
// the fields: show its result, or bring its one message and leave the result
// as it was. No field ever holds more than six characters. TAMSAVIK_SEED in
// the environment replays another session.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "calculator/decisions.h"
#include "tests/ui/ui_support.h"
#include "toolkit/controls_qt.h"
#include "toolkit/menu_qt.h"
#include "toolkit/picture.h"

namespace {

using uitest::Click;
using uitest::WidgetOf;

// The offscreen platform warns at every window it cannot raise or size by
// hints; thousands of those would bury a failure.
void QuietPlatformWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith("This plugin does not support"))
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

TEST(Robustness, ARandomSessionComputesWhatTheDecisionSays) {
    tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
    qInstallMessageHandler(QuietPlatformWarnings);
    const char* seedText = std::getenv("TAMSAVIK_SEED");
    const std::uint64_t seed = seedText != nullptr ? std::strtoull(seedText, nullptr, 0) : 20240611;
    SCOPED_TRACE("TAMSAVIK_SEED=" + std::to_string(seed));
    std::mt19937_64 rng(seed);
    const auto pick = [&rng](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    };
    ControlWnd& w = ControlWnd::Instance();
    tk::TextField* inputs[] = {&w.RxxFld(), &w.RyyFld(), &w.RxyFld()};
    const QString typed = QString::fromUtf8("0123456789.-.-0123456789.aZ +e,/=\u00e9\u2212\u4e2d");
    const Qt::Key keys[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Tab,  Qt::Key_Return,
                            Qt::Key_Escape,    Qt::Key_Home,   Qt::Key_Left, Qt::Key_F1};
    // clang-format off
    const QString pastes[] = {".5", "-.25", "0.9999995", "  .5", "-0", "nan", "1\n2",
                              "\U0001F600\U0001F600", QString("ab1.-9 e").repeated(1 << 14)};
    // clang-format on
    const tk::RectControl* pictures[] = {&w.ComputeCanvas(), &w.ComputeCanvas(), &w.ClearCanvas()};
    int results = 0, refusals = 0;

    for (int step = 0; step < 2000; ++step) {
        const std::size_t i = pick(3);
        QWidget* field = WidgetOf(*inputs[i]);
        Click(*inputs[i]);
        switch (pick(4)) {
            case 0:  // a key
                if (pick(2) == 0) {
                    const QChar c = typed[static_cast<qsizetype>(pick(typed.size()))];
                    const auto key =
                        c.unicode() < 0x7f ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
                    QTest::sendKeyEvent(QTest::Click, field, key, QString(c), Qt::NoModifier);
                } else
                    QTest::keyClick(field, keys[pick(std::size(keys))]);
                break;
            case 1:  // a paste
                QGuiApplication::clipboard()->setText(pastes[pick(std::size(pastes))]);
                QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
                break;
            case 2: {  // a picture; Compute is checked against the decision
                const tk::RectControl* picture = pictures[pick(std::size(pictures))];
                const std::string before = w.RdFld().Visible() ? w.RdFld().Text() : "hidden";
                const auto outcome = calculator::EvaluateInputs(
                    w.RxxFld().Text(), w.RyyFld().Text(), w.RxyFld().Text());
                const auto messages = uitest::DismissMessageBoxes([picture] { Click(*picture); });
                const bool computed = outcome.kind == calculator::ComputeOutcome::Kind::Computed;
                if (picture == &w.ClearCanvas()) {
                    ASSERT_EQ(w.RxxFld().Text() + w.RyyFld().Text() + w.RxyFld().Text(), "");
                    ASSERT_FALSE(w.RdFld().Visible());
                    break;
                }
                ++(computed ? results : refusals);
                ASSERT_EQ(messages, computed ? std::vector<std::string>{}
                                             : std::vector<std::string>{outcome.message})
                    << "step " << step;
                ASSERT_EQ(w.RdFld().Visible() ? w.RdFld().Text() : "hidden",
                          computed ? outcome.resultText : before)
                    << "step " << step;
                break;
            }
            default:  // a correlation typed over a field's text, such as ".37" or "-0.80"
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(field,
                                 (pick(3) == 0 ? "-" : "") +
                                     QString::number(static_cast<double>(pick(101)) / 100, 'f', 2));
        }
        for (tk::TextField* input : inputs) {
            ASSERT_LE(static_cast<QLineEdit*>(WidgetOf(*input))->text().toUcs4().size(), 6)
                << "step " << step << ": " << input->Name() << " holds \"" << input->Text() << '"';
        }
    }
    // The session did reach both outcomes of Compute often.
    EXPECT_GE(results, 20);
    EXPECT_GE(refusals, 20);
}

}  // namespace
