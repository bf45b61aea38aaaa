#include "chartdesigns.h"

#include "templatebuilder.h"

#include <QPainterPath>
#include <QtMath>

namespace {

const QString serif = QStringLiteral("DejaVu Serif");
const QString sans = QStringLiteral("DejaVu Sans");

const QSizeF pageSize(840, 1188); // A4 in page units
const QSizeF cardSize(594, 420); // A6 across

// One colour scheme per template.
struct Palette
{
    QColor paper;
    QColor band; // header and footer
    QColor accent; // lines and emblem
    QColor onBand; // names on the band
    QColor mutedOnBand; // captions on the band
    QColor heading;
    QColor caption;
    QColor table;
    QColor tableText;
};

const Palette indigo {QColor(250, 247, 240), QColor(38, 40, 84),    QColor(201, 162, 74),
                      QColor(250, 246, 235), QColor(186, 182, 222), QColor(38, 40, 84),
                      QColor(112, 104, 150), QColor(238, 235, 250), QColor(34, 34, 60)};
const Palette teal {QColor(244, 249, 248), QColor(22, 78, 88),    QColor(232, 146, 92),
                    QColor(244, 250, 248), QColor(160, 206, 204), QColor(22, 78, 88),
                    QColor(84, 128, 132),  QColor(226, 241, 239), QColor(24, 48, 52)};
const Palette wine {QColor(252, 246, 245), QColor(96, 30, 56),    QColor(214, 170, 96),
                    QColor(253, 243, 240), QColor(226, 180, 192), QColor(96, 30, 56),
                    QColor(150, 96, 112),  QColor(250, 234, 236), QColor(60, 24, 36)};

constexpr int leftAlign = Qt::AlignLeft | Qt::AlignVCenter;
constexpr int centreAlign = Qt::AlignCenter;
constexpr int rightAlign = Qt::AlignRight | Qt::AlignVCenter;

QPainterPath star(const QPointF &c, double outer, double inner, int points)
{
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const double r = i % 2 ? inner : outer;
        const double a = -M_PI / 2 + i * M_PI / points;
        const QPointF p(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

QPainterPath ring(const QPointF &c, double r)
{
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

// A circle with an eight-pointed star: the emblem of the numerology charts.
void starEmblem(TemplateBuilder &b, const QPointF &c, double r, const Palette &p)
{
    b.path(ring(c, r), Qt::transparent, p.accent, 2);
    b.path(ring(c, r - 9), Qt::transparent, p.accent, 1);
    b.path(star(c, r - 16, (r - 16) * 0.42, 8), p.accent);
    b.path(ring(c, (r - 16) * 0.22), p.band);
}

void heading(TemplateBuilder &b, double x, double y, const QString &title, const Palette &p)
{
    b.text(QRectF(x, y, 600, 32), title, chartFont(serif, 22, true), p.heading);
    b.rect(QRectF(x + 2, y + 35, 56, 3), p.accent);
}

void caption(TemplateBuilder &b, const QRectF &r, const QString &text, const Palette &p,
             int alignment = leftAlign)
{
    b.text(r, text, chartFont(sans, 13, true), p.caption, alignment);
}

// The narrow tables hold long sums in a short column: a condensed face fits.
QFont tableFont(const QString &key)
{
    const bool narrow = TemplateBuilder::tableSize(key).width() < 300;
    return chartFont(narrow ? QStringLiteral("DejaVu Sans Condensed") : sans, narrow ? 9 : 11);
}

void table(TemplateBuilder &b, double x, double y, const QString &key, double factor,
           const Palette &p)
{
    b.table(x, y, key, factor, p.table, tableFont(key), p.tableText);
}

// Title, the person's names and birth date on the band across the top.
void pageHeader(TemplateBuilder &b, const QString &title, const Palette &p)
{
    b.rect(QRectF(0, 0, pageSize.width(), 190), p.band);
    b.rect(QRectF(0, 190, pageSize.width(), 5), p.accent);
    b.text(QRectF(63, 24, 520, 28), title, chartFont(sans, 16, true), p.accent);
    b.field(QRectF(63, 56, 560, 52), QStringLiteral("#full_name"), chartFont(serif, 34, true),
            p.onBand);
    b.text(QRectF(63, 116, 90, 26), QStringLiteral("Born"), chartFont(sans, 15), p.mutedOnBand);
    b.field(QRectF(153, 116, 400, 26), QStringLiteral("#birthdate"), chartFont(sans, 15, true),
            p.onBand);
    b.text(QRectF(63, 146, 90, 26), QStringLiteral("Known as"), chartFont(sans, 15), p.mutedOnBand);
    b.field(QRectF(153, 146, 400, 26), QStringLiteral("#short_name"), chartFont(sans, 15, true),
            p.onBand);
}

void pageFooter(TemplateBuilder &b, const Palette &p)
{
    b.rect(QRectF(0, 1120, pageSize.width(), 4), p.accent);
    b.rect(QRectF(0, 1124, pageSize.width(), 64), p.band);
    b.text(QRectF(63, 1138, 360, 30), QStringLiteral("Lumaro Numerology"),
           chartFont(serif, 15, false, true), p.accent);
    b.text(QRectF(470, 1138, 100, 30), QStringLiteral("Printed"), chartFont(sans, 13),
           p.mutedOnBand, rightAlign);
    b.field(QRectF(577, 1138, 200, 30), QStringLiteral("#print_date"), chartFont(sans, 13, true),
            p.onBand, rightAlign);
}

// Three narrow tables side by side between the page margins.
void coreTables(TemplateBuilder &b, double y, const QStringList &keys, const QStringList &titles,
                const Palette &p)
{
    const double factor = 1.15;
    const double width = TemplateBuilder::tableSize(keys.first()).width() * factor;
    const double gap = (pageSize.width() - 2 * 63 - 3 * width) / 2;
    for (int i = 0; i < keys.size(); ++i) {
        const double x = 63 + i * (width + gap);
        caption(b, QRectF(x, y, width, 20), titles.at(i), p);
        table(b, x, y + 24, keys.at(i), factor, p);
    }
}

bool numerologyChart(const QString &path, QString *error)
{
    const Palette &p = indigo;
    TemplateBuilder b(QStringLiteral("Numerology Chart"), pageSize, p.paper);
    pageHeader(b, QStringLiteral("NUMEROLOGY CHART"), p);
    starEmblem(b, QPointF(712, 95), 66, p);

    heading(b, 63, 212, QStringLiteral("Main Numbers"), p);
    coreTables(b, 262,
               {QStringLiteral("Main Features"), QStringLiteral("Additional Features"),
                QStringLiteral("Life Cycles")},
               {QStringLiteral("Core numbers"), QStringLiteral("Additional numbers"),
                QStringLiteral("Life cycles")},
               p);
    caption(b, QRectF(63, 412, 229, 20), QStringLiteral("Bridges"), p);
    table(b, 63, 436, QStringLiteral("Bridges"), 1.15, p);
    b.text(QRectF(310, 430, 467, 50),
           QStringLiteral("Numbers in brackets are the master forms (M); a bridge is the "
                          "distance between two core numbers."),
           chartFont(sans, 12, false, true), p.caption, Qt::AlignLeft | Qt::AlignTop);

    const double wide = 1.1;
    const double wideX = (pageSize.width() - 649 * wide) / 2;
    heading(b, wideX, 494, QStringLiteral("Name Chart"), p);
    table(b, wideX, 540, QStringLiteral("Name"), wide, p);
    heading(b, wideX, 668, QStringLiteral("Psycho-Matrix"), p);
    table(b, wideX, 714, QStringLiteral("Psychomatrix"), wide, p);
    heading(b, wideX, 806, QStringLiteral("Planes of Expression"), p);
    table(b, wideX, 852, QStringLiteral("Planes of Expression"), wide, p);
    heading(b, wideX, 948, QStringLiteral("Personal Numbers Calendar"), p);
    table(b, wideX, 994, QStringLiteral("Personal numbers calendar"), wide, p);
    pageFooter(b, p);
    return b.save(path, error);
}

// The nine digits of the square, in their places: a legend of the table.
void squareEmblem(TemplateBuilder &b, const QPointF &topLeft, const Palette &p, double cell = 40)
{
    const double step = cell * 1.15;
    const int digits[3][3] = {{1, 4, 7}, {2, 5, 8}, {3, 6, 9}};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF box(topLeft.x() + col * step, topLeft.y() + row * step, cell, cell);
            b.rect(box, row == col ? p.accent : Qt::transparent, cell / 7, p.accent, 1.5);
            b.text(box, QString::number(digits[row][col]), chartFont(serif, int(cell / 2), true),
                   row == col ? p.band : p.onBand, centreAlign);
        }
    }
}

bool psychoMatrixChart(const QString &path, QString *error)
{
    const Palette &p = teal;
    TemplateBuilder b(QStringLiteral("Psycho Matrix"), pageSize, p.paper);
    pageHeader(b, QStringLiteral("PSYCHO-MATRIX"), p);
    squareEmblem(b, QPointF(640, 28), p);

    const double wide = 1.1;
    const double wideX = (pageSize.width() - 649 * wide) / 2;
    heading(b, wideX, 212, QStringLiteral("The Square of the Birth Date"), p);
    table(b, wideX, 258, QStringLiteral("Psychomatrix"), wide, p);
    b.text(QRectF(wideX, 342, 714, 40),
           QStringLiteral("Every digit of the birth date is counted in its cell: the more often "
                          "it occurs, the stronger its quality. The lines add up the cells of a "
                          "row, column or diagonal."),
           chartFont(sans, 12, false, true), p.caption, Qt::AlignLeft | Qt::AlignTop);

    heading(b, wideX, 396, QStringLiteral("Planes of Expression"), p);
    table(b, wideX, 442, QStringLiteral("Planes of Expression"), wide, p);

    heading(b, 63, 538, QStringLiteral("Core Numbers"), p);
    coreTables(b, 588,
               {QStringLiteral("Main Features"), QStringLiteral("Additional Features"),
                QStringLiteral("Bridges")},
               {QStringLiteral("Core numbers"), QStringLiteral("Additional numbers"),
                QStringLiteral("Bridges")},
               p);

    heading(b, wideX, 750, QStringLiteral("Name Chart"), p);
    table(b, wideX, 796, QStringLiteral("Name"), wide, p);
    heading(b, wideX, 928, QStringLiteral("Personal Numbers Calendar"), p);
    table(b, wideX, 974, QStringLiteral("Personal numbers calendar"), wide, p);
    pageFooter(b, p);
    return b.save(path, error);
}

// One person's column of the compatibility chart.
void personColumn(TemplateBuilder &b, double centre, bool partner, const Palette &p)
{
    b.setPartner(partner);
    const double factor = 1.3;
    const double width = 199 * factor;
    const double x = centre - width / 2;
    b.field(QRectF(x - 20, 222, width + 40, 34), QStringLiteral("#short_name"),
            chartFont(serif, 21, true), p.heading, centreAlign);
    b.setPartner(false);
    caption(b, QRectF(x, 270, width, 20), QStringLiteral("Core numbers"), p);
    caption(b, QRectF(x, 430, width, 20), QStringLiteral("Additional numbers"), p);
    caption(b, QRectF(x, 590, width, 20), QStringLiteral("Bridges"), p);
    b.setPartner(partner);
    b.table(x, 294, QStringLiteral("Main Features"), factor, p.table,
            tableFont(QStringLiteral("Main Features")), p.tableText);
    b.table(x, 454, QStringLiteral("Additional Features"), factor, p.table,
            tableFont(QStringLiteral("Additional Features")), p.tableText);
    b.table(x, 614, QStringLiteral("Bridges"), factor, p.table,
            tableFont(QStringLiteral("Bridges")), p.tableText);
    b.setPartner(false);
}

bool compatibilityChart(const QString &path, QString *error)
{
    const Palette &p = wine;
    TemplateBuilder b(QStringLiteral("Compatibility"), pageSize, p.paper);
    const double w = pageSize.width();
    b.rect(QRectF(0, 0, w, 200), p.band);
    b.rect(QRectF(0, 200, w, 5), p.accent);
    b.text(QRectF(0, 22, w, 26), QStringLiteral("COMPATIBILITY CHART"), chartFont(sans, 16, true),
           p.accent, centreAlign);
    // Two rings joined in the middle of the band.
    b.path(ring(QPointF(w / 2 - 20, 112), 34), Qt::transparent, p.accent, 3);
    b.path(ring(QPointF(w / 2 + 20, 112), 34), Qt::transparent, p.accent, 3);
    for (int side = 0; side < 2; ++side) {
        const bool partner = side == 1;
        const double x = partner ? w / 2 + 70 : 30;
        const double width = w / 2 - 100;
        b.setPartner(partner);
        b.field(QRectF(x, 66, width, 64), QStringLiteral("#full_name"), chartFont(serif, 24, true),
                p.onBand, centreAlign);
        b.field(QRectF(x, 136, width, 26), QStringLiteral("#birthdate"), chartFont(sans, 15),
                p.mutedOnBand, centreAlign);
        b.setPartner(false);
    }
    b.rect(QRectF(w / 2 - 1, 232, 2, 440), p.accent);
    personColumn(b, w / 4 + 5, false, p);
    personColumn(b, 3 * w / 4 - 5, true, p);

    const double wide = 1.1;
    const double wideX = (w - 649 * wide) / 2;
    heading(b, wideX, 690, QStringLiteral("Psycho-Matrix of Both"), p);
    b.field(QRectF(wideX, 738, 400, 22), QStringLiteral("#short_name"), chartFont(sans, 13, true),
            p.caption);
    table(b, wideX, 762, QStringLiteral("Psychomatrix"), wide, p);
    b.setPartner(true);
    b.field(QRectF(wideX, 852, 400, 22), QStringLiteral("#short_name"), chartFont(sans, 13, true),
            p.caption);
    table(b, wideX, 876, QStringLiteral("Psychomatrix"), wide, p);
    b.setPartner(false);
    b.text(QRectF(0, 990, w, 40), QStringLiteral("Two paths, one journey."),
           chartFont(serif, 20, false, true), p.heading, centreAlign);
    b.path(star(QPointF(w / 2, 1060), 14, 6, 8), p.accent);
    pageFooter(b, p);
    return b.save(path, error);
}

void cardHeader(TemplateBuilder &b, const QString &title, double height, const Palette &p)
{
    b.rect(QRectF(0, 0, cardSize.width(), height), p.band);
    b.rect(QRectF(0, height, cardSize.width(), 4), p.accent);
    b.text(QRectF(30, 16, 400, 22), title, chartFont(sans, 13, true), p.accent);
    b.field(QRectF(30, 40, 420, 44), QStringLiteral("#full_name"), chartFont(serif, 26, true),
            p.onBand);
    b.field(QRectF(30, 86, 300, 24), QStringLiteral("#birthdate"), chartFont(sans, 14),
            p.mutedOnBand);
}

// The band along a card's foot with the program's name and, where the card
// has room, the date it was printed.
void cardFooter(TemplateBuilder &b, const Palette &p, bool withDate)
{
    b.rect(QRectF(0, 396, cardSize.width(), 24), p.band);
    b.text(QRectF(30, 396, 300, 24), QStringLiteral("Lumaro Numerology"),
           chartFont(serif, 12, false, true), p.accent);
    if (withDate)
        b.field(QRectF(330, 396, 234, 24), QStringLiteral("#print_date"), chartFont(sans, 11),
                p.mutedOnBand, rightAlign);
}

bool numerologyCard(const QString &path, QString *error)
{
    const Palette &p = indigo;
    TemplateBuilder b(QStringLiteral("Numerology Card"), cardSize, p.paper);
    cardHeader(b, QStringLiteral("NUMEROLOGY CARD"), 122, p);
    starEmblem(b, QPointF(530, 61), 44, p);
    const double factor = 1.2;
    caption(b, QRectF(30, 142, 239, 20), QStringLiteral("Core numbers"), p);
    table(b, 30, 164, QStringLiteral("Main Features"), factor, p);
    caption(b, QRectF(325, 142, 239, 20), QStringLiteral("Additional numbers"), p);
    table(b, 325, 164, QStringLiteral("Additional Features"), factor, p);
    caption(b, QRectF(30, 300, 239, 20), QStringLiteral("Bridges"), p);
    table(b, 30, 322, QStringLiteral("Bridges"), factor, p);
    b.text(QRectF(325, 306, 239, 22), QStringLiteral("Known as"), chartFont(sans, 12), p.caption);
    b.field(QRectF(325, 328, 239, 30), QStringLiteral("#short_name"), chartFont(serif, 18, true),
            p.heading);
    cardFooter(b, p, true);
    return b.save(path, error);
}

bool nameCard(const QString &path, QString *error)
{
    const Palette &p = indigo;
    TemplateBuilder b(QStringLiteral("Name Card"), cardSize, p.band);
    const double w = cardSize.width();
    b.rect(QRectF(14, 14, w - 28, cardSize.height() - 28), Qt::transparent, 10, p.accent, 1.5);
    b.text(QRectF(36, 30, 320, 22), QStringLiteral("LUMARO NUMEROLOGY"), chartFont(sans, 13, true),
           p.accent);
    b.field(QRectF(36, 58, 330, 84), QStringLiteral("#full_name"), chartFont(serif, 28, true),
            p.onBand, Qt::AlignLeft | Qt::AlignBottom);
    b.field(QRectF(36, 146, 330, 24), QStringLiteral("#birthdate"), chartFont(sans, 15),
            p.mutedOnBand);
    b.path(star(QPointF(46, 196), 9, 4, 8), p.accent);
    b.field(QRectF(62, 184, 300, 24), QStringLiteral("#short_name"), chartFont(sans, 14, true),
            p.onBand);
    b.text(QRectF(36, 222, 200, 20), QStringLiteral("Core numbers"), chartFont(sans, 12, true),
           p.mutedOnBand);
    b.table(36, 246, QStringLiteral("Main Features"), 1.15, p.table,
            tableFont(QStringLiteral("Main Features")), p.tableText);
    // The code needs a light quiet zone around it to be read.
    b.rect(QRectF(374, 58, 186, 186), p.paper, 8);
    b.qrCode(QRectF(399, 83, 136, 136), QStringLiteral("#full_name"), QStringLiteral("Your Name"),
             p.band);
    b.text(QRectF(374, 252, 186, 20), QStringLiteral("the name as a QR Code"),
           chartFont(sans, 11, false, true), p.mutedOnBand, centreAlign);
    b.field(QRectF(374, 350, 186, 24), QStringLiteral("#print_date"), chartFont(sans, 11),
            p.mutedOnBand, rightAlign);
    return b.save(path, error);
}

bool psychoMatrixCard(const QString &path, QString *error)
{
    const Palette &p = teal;
    TemplateBuilder b(QStringLiteral("Psycho Matrix Card"), cardSize, p.paper);
    cardHeader(b, QStringLiteral("PSYCHO-MATRIX CARD"), 122, p);
    squareEmblem(b, QPointF(480, 20), p, 26);
    const double factor = 0.86;
    const double x = (cardSize.width() - 649 * factor) / 2;
    caption(b, QRectF(x, 146, 300, 20), QStringLiteral("The square of the birth date"), p);
    table(b, x, 168, QStringLiteral("Psychomatrix"), factor, p);
    caption(b, QRectF(x, 250, 300, 20), QStringLiteral("Planes of expression"), p);
    table(b, x, 272, QStringLiteral("Planes of Expression"), factor, p);
    b.text(QRectF(x, 352, 90, 30), QStringLiteral("Known as"), chartFont(sans, 12), p.caption);
    b.field(QRectF(x + 90, 352, 400, 30), QStringLiteral("#short_name"), chartFont(serif, 17, true),
            p.heading);
    cardFooter(b, p, true);
    return b.save(path, error);
}

bool compatibilityCard(const QString &path, QString *error)
{
    const Palette &p = wine;
    TemplateBuilder b(QStringLiteral("Compatibility Card"), cardSize, p.paper);
    const double w = cardSize.width();
    b.rect(QRectF(0, 0, w, 132), p.band);
    b.rect(QRectF(0, 132, w, 4), p.accent);
    b.text(QRectF(0, 12, w, 22), QStringLiteral("COMPATIBILITY CARD"), chartFont(sans, 13, true),
           p.accent, centreAlign);
    b.path(ring(QPointF(w / 2 - 13, 80), 22), Qt::transparent, p.accent, 2.5);
    b.path(ring(QPointF(w / 2 + 13, 80), 22), Qt::transparent, p.accent, 2.5);
    const double factor = 1.2;
    const double width = 199 * factor;
    for (int side = 0; side < 2; ++side) {
        const double x = side == 0 ? 30 : w - 30 - width;
        b.setPartner(side == 1);
        b.field(QRectF(x, 40, width, 56), QStringLiteral("#full_name"), chartFont(serif, 18, true),
                p.onBand, centreAlign);
        b.field(QRectF(x, 98, width, 22), QStringLiteral("#birthdate"), chartFont(sans, 13),
                p.mutedOnBand, centreAlign);
        b.table(x, 176, QStringLiteral("Main Features"), factor, p.table,
                tableFont(QStringLiteral("Main Features")), p.tableText);
        b.table(x, 324, QStringLiteral("Bridges"), factor, p.table,
                tableFont(QStringLiteral("Bridges")), p.tableText);
        b.setPartner(false);
        caption(b, QRectF(x, 152, width, 20), QStringLiteral("Core numbers"), p);
        caption(b, QRectF(x, 300, width, 20), QStringLiteral("Bridges"), p);
    }
    b.rect(QRectF(w / 2 - 1, 152, 2, 220), p.accent);
    cardFooter(b, p, false);
    return b.save(path, error);
}

} // namespace

QVector<ChartDesign> chartDesigns()
{
    return {
        {QStringLiteral("Numerology Chart.lnr"), numerologyChart},
        {QStringLiteral("Psycho Matrix.lnr"), psychoMatrixChart},
        {QStringLiteral("Compatibility.lnr"), compatibilityChart},
        {QStringLiteral("Numerology Card.lnr"), numerologyCard},
        {QStringLiteral("Psycho Matrix Card.lnr"), psychoMatrixCard},
        {QStringLiteral("Compatibility Card.lnr"), compatibilityCard},
        {QStringLiteral("Name Card.lnr"), nameCard},
    };
}
