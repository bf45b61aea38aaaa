#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include <memory>

class CREPage;
class QPainterPath;
class CREPageItem;
class CReportDocument;

// Puts a one-page chart template together the way the designer does: every
// object is a frame owning its content item, placed in page units.
class TemplateBuilder
{
public:
    TemplateBuilder(const QString &name, const QSizeF &pageSize, const QColor &paper);
    ~TemplateBuilder();

    // Marks the following data items as the partner's (see ChartBinding in
    // the main window): names, dates and tables of the second person.
    void setPartner(bool partner) { m_partner = partner; }

    // A filled rectangle, optionally rounded and outlined.
    CREPageItem *rect(const QRectF &r, const QColor &fill, double radius = 0,
                      const QColor &pen = QColor(), double penWidth = 0);
    // Any outline in page units, filled and optionally stroked.
    CREPageItem *path(const QPainterPath &shape, const QColor &fill, const QColor &pen = QColor(),
                      double penWidth = 0);
    // A fixed text in the box, by the alignment flags.
    CREPageItem *text(const QRectF &r, const QString &text, const QFont &font, const QColor &color,
                      int alignment = Qt::AlignLeft | Qt::AlignVCenter);
    // A person's value: "#full_name", "#short_name", "#birthdate", "#print_date".
    CREPageItem *field(const QRectF &r, const QString &key, const QFont &font, const QColor &color,
                       int alignment = Qt::AlignLeft | Qt::AlignVCenter);
    // A numerology table by its name at (x, y), scaled by factor.
    CREPageItem *table(double x, double y, const QString &key, double factor,
                       const QColor &background, const QFont &font, const QColor &color);
    // A QR Code of the person's value named by key, centred in the square r.
    CREPageItem *qrCode(const QRectF &r, const QString &key, const QString &sample,
                        const QColor &color);

    // Writes the template; false with a reason in *error.
    bool save(const QString &path, QString *error);

    // The size a table of the given name takes at scale 1.
    static QSizeF tableSize(const QString &key);

private:
    CREPageItem *add(int type, const QRectF &r);

    std::unique_ptr<CReportDocument> m_doc;
    CREPage *m_page = nullptr;
    bool m_partner = false;
};

// Fonts of the shipped templates.
QFont chartFont(const QString &family, int pixelSize, bool bold = false, bool italic = false);
