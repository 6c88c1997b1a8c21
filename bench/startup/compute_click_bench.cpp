// How long a press on the Compute picture takes to put the result in the
// result field: the main window is built on the offscreen platform, the three
// fields are filled, and each run times a mouse press on the Compute picture
// until the result field's text changes. Prints the median and other
// percentiles in microseconds.
//
//   compute_click_bench PICTURES_FOLDER [RUNS]
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "toolkit/application.h"
#include "toolkit/controls_qt.h"
#include "toolkit/picture.h"
#include "toolkit/window_qt.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Worked {
    const char* rxx;
    const char* ryy;
    const char* rxy;
    const char* result;
};

constexpr std::array<Worked, 6> kWorked{{
    {".60", ".70", ".80", ".0934"},
    {".5", ".3", ".4", ".4346"},
    {"0", "0", "0", ".0000"},
    {".716", ".787", ".913", "-.0101"},
    {".9", ".1", ".95", "2.5911"},
    {".6", ".7", "-.8", "2.7072"},
}};

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PICTURES_FOLDER [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5000;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    tk::Application application("tamsavik");
    tk::Picture::SetResourceFolder(argv[1]);

    ControlWnd& w = ControlWnd::Instance();
    QWidget* compute = tk::ControlInternals::Impl(w.ComputeCanvas()).widget;
    auto* result = static_cast<QLineEdit*>(tk::ControlInternals::Impl(w.RdFld()).widget.data());
    const QPoint centre = compute->rect().center();

    Clock::time_point setAt;
    QObject::connect(result, &QLineEdit::textChanged, [&setAt](const QString& text) {
        if (!text.isEmpty()) setAt = Clock::now();
    });

    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(runs));
    const int warmUp = 200;
    for (int run = -warmUp; run < runs; ++run) {
        const Worked& c = kWorked[static_cast<std::size_t>(run + warmUp) % kWorked.size()];
        w.RxxFld().SetText(c.rxx);
        w.RyyFld().SetText(c.ryy);
        w.RxyFld().SetText(c.rxy);
        w.RdFld().SetText("");
        setAt = {};

        const Clock::time_point pressed = Clock::now();
        QTest::mousePress(compute, Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseRelease(compute, Qt::LeftButton, Qt::NoModifier, centre);

        if (setAt == Clock::time_point{} || w.RdFld().Text() != c.result) {
            std::fprintf(stderr, "compute_click_bench: %s %s %s gave \"%s\", not %s\n", c.rxx,
                         c.ryy, c.rxy, w.RdFld().Text().c_str(), c.result);
            return 1;
        }
        if (run >= 0)
            micros.push_back(std::chrono::duration<double, std::micro>(setAt - pressed).count());
    }

    std::printf(
        "press on Compute to result set, %d runs: median %.1f us, p10 %.1f us, "
        "p90 %.1f us, p99 %.1f us\n",
        runs, Percentile(micros, 0.5), Percentile(micros, 0.1), Percentile(micros, 0.9),
        Percentile(micros, 0.99));
    return 0;
}
