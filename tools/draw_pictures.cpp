// Draws the program's pictures: the three button faces, the title banner and
// the two circle pictures, each at its canvas size and at double resolution
// ("name@2x.png", which Qt's icon and pixmap loaders pick by name).
//
//   QT_QPA_PLATFORM=offscreen draw_pictures resources/pictures
//
// Every text is set in DejaVu Sans, asked for by family name; the program
// refuses to draw with a substitute so that the pictures stay reproducible.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

const QString kFamily = QStringLiteral("DejaVu Sans");

// One palette for everything.
const QColor kNavy(0x00, 0x00, 0x80);          // the program's label text
const QColor kButtonTop(0x4d, 0x7a, 0xbd);     // button face, top of the gradient
const QColor kButtonBottom(0x1f, 0x3f, 0x80);  // button face, bottom
const QColor kButtonBorder(0x10, 0x26, 0x55);  // 1px button outline
const QColor kButtonText(0xff, 0xff, 0xff);    // button caption
const QColor kBannerTop(0xff, 0xff, 0xff);     // banner panel, top
const QColor kBannerBottom(0xea, 0xf0, 0xf9);  // banner panel, bottom
const QColor kBannerBorder(0xc4, 0xd2, 0xe8);  // banner panel outline
const QColor kSubtitle(0x2a, 0x46, 0x7a);      // banner's second line
const QColor kCircleX1(0xe0, 0x9a, 0x2a);      // X1: amber
const QColor kCircleX2(0x3a, 0x9e, 0x68);      // X2: green
const QColor kCircleY(0x3f, 0x74, 0xb8);       // Y: steel blue

QFont Font(int pixelSize, bool bold) {
    QFont font(kFamily);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

QColor WithAlpha(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

// Draws `text` centred horizontally in `box`, its capital letters centred
// vertically on `capCentreY` (descenders hang below, as on any button).
void DrawCentredText(QPainter& p, const QRectF& box, qreal capCentreY, const QString& text) {
    const QFontMetricsF metrics(p.font());
    const qreal x = std::round(box.center().x() - metrics.horizontalAdvance(text) / 2.0);
    const qreal baseline = std::round(capCentreY + metrics.capHeight() / 2.0);
    p.drawText(QPointF(x, baseline), text);
}

// A pressable button face filling the whole canvas.
void DrawButton(QPainter& p, QSizeF size, const QString& caption) {
    const qreal radius = 6.0;
    const QRectF outline(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);

    QLinearGradient face(0.0, 0.0, 0.0, size.height());
    face.setColorAt(0.0, kButtonTop);
    face.setColorAt(1.0, kButtonBottom);
    p.setPen(QPen(kButtonBorder, 1.0));
    p.setBrush(face);
    p.drawRoundedRect(outline, radius, radius);

    // A soft light edge just inside the outline, strongest at the top.
    QLinearGradient shine(0.0, 0.0, 0.0, size.height());
    shine.setColorAt(0.0, WithAlpha(Qt::white, 120));
    shine.setColorAt(0.55, WithAlpha(Qt::white, 0));
    p.setPen(QPen(QBrush(shine), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(outline.adjusted(1.0, 1.0, -1.0, -1.0), radius - 1.0, radius - 1.0);

    // A faint glaze over the upper half.
    QLinearGradient glaze(0.0, 0.0, 0.0, size.height() / 2.0);
    glaze.setColorAt(0.0, WithAlpha(Qt::white, 46));
    glaze.setColorAt(1.0, WithAlpha(Qt::white, 10));
    QPainterPath upper;
    upper.addRoundedRect(outline.adjusted(1.0, 1.0, -1.0, -1.0), radius - 1.0, radius - 1.0);
    QPainterPath top;
    top.addRect(QRectF(0.0, 0.0, size.width(), size.height() / 2.0));
    p.setPen(Qt::NoPen);
    p.setBrush(glaze);
    p.drawPath(upper.intersected(top));

    p.setFont(Font(14, true));
    const QRectF box(0.0, 0.0, size.width(), size.height());
    const qreal capCentre = size.height() / 2.0;
    p.setPen(WithAlpha(QColor(0x08, 0x18, 0x3a), 110));
    DrawCentredText(p, box.translated(0.0, 1.0), capCentre + 1.0, caption);
    p.setPen(kButtonText);
    DrawCentredText(p, box, capCentre, caption);
}

// Three overlapping translucent circles, Y above, X1 lower left, X2 lower
// right, centred in the canvas. `gap` is the distance between centres.
void DrawCircles(QPainter& p, QSizeF size, qreal radius, qreal gap, qreal stroke, int labelPx) {
    const qreal rise = gap * std::sqrt(3.0) / 2.0;
    const qreal top = (size.height() - (2.0 * radius + rise)) / 2.0 + radius;
    const qreal midX = size.width() / 2.0;
    struct Circle {
        QPointF centre;
        QColor colour;
        QString label;
    };
    const std::array<Circle, 3> circles{{
        {QPointF(midX, top), kCircleY, QStringLiteral("Y")},
        {QPointF(midX - gap / 2.0, top + rise), kCircleX1, QStringLiteral("X1")},
        {QPointF(midX + gap / 2.0, top + rise), kCircleX2, QStringLiteral("X2")},
    }};

    for (const Circle& c : circles) {
        p.setPen(Qt::NoPen);
        p.setBrush(WithAlpha(c.colour, 105));
        p.drawEllipse(c.centre, radius, radius);
    }
    for (const Circle& c : circles) {
        p.setPen(QPen(c.colour.darker(125), stroke));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c.centre, radius - stroke / 2.0, radius - stroke / 2.0);
    }
    if (labelPx <= 0) return;

    // Each label sits in the part of its circle that the others do not cover,
    // pushed out from the middle of the three.
    const QPointF middle(midX, top + rise * 2.0 / 3.0);
    p.setFont(Font(labelPx, true));
    p.setPen(kNavy);
    for (const Circle& c : circles) {
        const QPointF away = c.centre - middle;
        const qreal length = std::hypot(away.x(), away.y());
        const QPointF spot = c.centre + away * (radius * 0.42 / length);
        DrawCentredText(p, QRectF(spot.x() - 20.0, 0.0, 40.0, 1.0), spot.y(), c.label);
    }
}

// The main window's title banner: a light panel with the program's name and
// what it computes.
void DrawBanner(QPainter& p, QSizeF size) {
    const QRectF outline(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    QLinearGradient panel(0.0, 0.0, 0.0, size.height());
    panel.setColorAt(0.0, kBannerTop);
    panel.setColorAt(1.0, kBannerBottom);
    p.setPen(QPen(kBannerBorder, 1.0));
    p.setBrush(panel);
    p.drawRoundedRect(outline, 8.0, 8.0);

    const QFont nameFont = Font(38, true);
    const QFont lineFont = Font(14, false);
    const qreal nameCap = QFontMetricsF(nameFont).capHeight();
    const qreal lineCap = QFontMetricsF(lineFont).capHeight();
    const qreal spacing = 11.0;
    const qreal inkTop = (size.height() - (nameCap + spacing + lineCap)) / 2.0;
    const QRectF box(0.0, 0.0, size.width(), size.height());

    p.setFont(nameFont);
    p.setPen(kNavy);
    DrawCentredText(p, box, inkTop + nameCap / 2.0, QStringLiteral("Tamsavik"));

    p.setFont(lineFont);
    p.setPen(kSubtitle);
    DrawCentredText(p, box, inkTop + nameCap + spacing + lineCap / 2.0,
                    QStringLiteral("Partial correlation of X1 and Y, with X2 held constant"));
}

struct Picture {
    QString name;
    QSize size;
    std::function<void(QPainter&, QSizeF)> draw;
};

QImage Render(const Picture& picture, int scale) {
    QImage image(picture.size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    picture.draw(painter, QSizeF(picture.size));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: draw_pictures OUTPUT-FOLDER\n");
        return 2;
    }
    const QString family = QFontInfo(Font(14, true)).family();
    if (family != kFamily) {
        std::fprintf(
            stderr,
            "draw_pictures: font \"%s\" not found (got \"%s\"); install fonts-dejavu-core\n",
            qPrintable(kFamily), qPrintable(family));
        return 1;
    }
    const QDir folder(args.at(1));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "draw_pictures: cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }

    const auto button = [](const QString& caption) {
        return [caption](QPainter& p, QSizeF size) { DrawButton(p, size, caption); };
    };
    const std::array<Picture, 6> pictures{{
        {QStringLiteral("CirclesSmall"), QSize(147, 128),
         [](QPainter& p, QSizeF size) { DrawCircles(p, size, 40.0, 47.0, 1.5, 14); }},
        {QStringLiteral("compute"), QSize(95, 33), button(QStringLiteral("Compute"))},
        {QStringLiteral("clear"), QSize(95, 33), button(QStringLiteral("Clear"))},
        {QStringLiteral("info"), QSize(95, 33), button(QStringLiteral("Help"))},
        {QStringLiteral("title3"), QSize(479, 70), DrawBanner},
        {QStringLiteral("CirclesVSmall"), QSize(56, 55),
         [](QPainter& p, QSizeF size) { DrawCircles(p, size, 16.5, 19.0, 1.0, 0); }},
    }};

    for (const Picture& picture : pictures) {
        for (const int scale : {1, 2}) {
            const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
            const QString path = folder.filePath(picture.name + suffix + QStringLiteral(".png"));
            if (!Render(picture, scale).save(path, "PNG")) {
                std::fprintf(stderr, "draw_pictures: cannot write %s\n", qPrintable(path));
                return 1;
            }
            std::printf("%s\n", qPrintable(path));
        }
    }
    return 0;
}
