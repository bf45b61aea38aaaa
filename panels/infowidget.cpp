#include "panels/infowidget.h"

#include "style/appstyle.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStaticText>

namespace {

const QString kTextOpen = QStringLiteral("<font color=\"#ece7e0\">");
const QString kMasterOpen = QStringLiteral("<font color=\"#F06040\">");
const QString kFontClose = QStringLiteral("</font>");

QString escaped(QChar c)
{
    switch (c.unicode()) {
    case '<':
        return QStringLiteral("&lt;");
    case '>':
        return QStringLiteral("&gt;");
    case '&':
        return QStringLiteral("&amp;");
    case '"':
        return QStringLiteral("&quot;");
    default:
        return QString(c);
    }
}

} // namespace

QString fTextMarkup(const QString &text, bool plain)
{
    QString body;
    body.reserve(text.size() + 32);
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        // A pair of equal digits standing alone is a master number; longer
        // runs (111, 2211) are ordinary figures.
        const bool pair = !plain && i + 1 < n && c.isDigit() && text.at(i + 1) == c
            && (i + 2 >= n || !text.at(i + 2).isDigit()) && (i == 0 || !text.at(i - 1).isDigit());
        if (pair) {
            body += kMasterOpen + c + c + kFontClose;
            ++i;
        } else {
            body += escaped(c);
        }
    }
    return kTextOpen + body + kFontClose;
}

void drawFText(QPainter &painter, int x, int y, QString text, bool plain)
{
    QStaticText document(fTextMarkup(text, plain));
    document.setTextFormat(Qt::RichText);
    painter.drawStaticText(QPoint(x, y), document);
}

namespace InfoPanel {

int rowAt(int y, int headerHeight)
{
    const int r = y - headerHeight - RowOffset;
    return r < 0 ? -1 : r / RowHeight;
}

int clickedRow(const QPoint &pos, int headerHeight, int width, int rowCount, int rowLimit)
{
    const int row = rowAt(pos.y(), headerHeight);
    if (row < 0 || row >= rowCount || row >= rowLimit)
        return -1;
    if (pos.x() <= 0 || pos.x() >= width)
        return -1;
    return row;
}

bool rowHighlighted(int row, int mouseY, int headerHeight, bool hoverEnabled, bool mouseOut,
                    int rowLimit)
{
    if (!hoverEnabled || mouseOut || row >= rowLimit)
        return false;
    const int top = rowTop(headerHeight, row);
    return mouseY >= top && mouseY <= top + RowHeight - 1;
}

QColor backgroundColor()
{
    return QColor(65, 53, 46);
}

QColor outerFrameColor()
{
    return QColor(93, 84, 78);
}

QColor innerFrameColor()
{
    return QColor(57, 46, 40);
}

QColor hoverColor()
{
    return QColor(130, 106, 92);
}

QColor textColor()
{
    return QColor(236, 231, 224);
}

QColor masterColor()
{
    return QColor(240, 96, 64);
}

void paintBackground(QPainter &painter, const CAppStyle *style, int width, int headerHeight,
                     int rows)
{
    painter.fillRect(QRect(0, headerHeight, width, tableHeight(rows)),
                     style->updateColor(backgroundColor()));
}

void paintFrame(QPainter &painter, const CAppStyle *style, int width, int headerHeight, int rows)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(style->updateColor(outerFrameColor()), 1));
    painter.drawRect(QRect(0, headerHeight - 1, width - 1, tableHeight(rows)));
    painter.setPen(QPen(style->updateColor(innerFrameColor()), 1));
    painter.drawRect(QRect(1, headerHeight - 1, width - 3, tableHeight(rows) - 1));
    painter.restore();
}

QFont pixelFont(const QString &family, int pixelSize, int weight)
{
    // Metric-compatible stand-ins where the named face is not installed,
    // so labels keep the widths the panel columns were laid out for.
    QStringList families {family};
    if (family == QLatin1String("Arial"))
        families << QStringLiteral("Liberation Sans") << QStringLiteral("Arimo")
                 << QStringLiteral("Nimbus Sans") << QStringLiteral("Helvetica");
    else if (family.startsWith(QLatin1String("Courier")))
        families << QStringLiteral("Courier New") << QStringLiteral("Liberation Mono")
                 << QStringLiteral("Nimbus Mono PS") << QStringLiteral("DejaVu Sans Mono");
    else if (family == QLatin1String("Tahoma"))
        families << QStringLiteral("Verdana") << QStringLiteral("DejaVu Sans");
    QFont font(family);
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    if (weight >= 0)
        font.setWeight(weight);
    font.setStyleHint(family.startsWith(QLatin1String("Courier")) ? QFont::TypeWriter
                                                                  : QFont::SansSerif);
    return font;
}

} // namespace InfoPanel

CInfoWidget::CInfoWidget(CAppStyle *style, QImage header, QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , m_Style(style)
    , m_HeaderImage(header)
    , m_TitleLabel(new QLabel(this))
{
    setAttribute(Qt::WA_MouseTracking);
    m_TitleLabel->setStyleSheet(
        QStringLiteral("QLabel { color:black; font: bold 12px; background:none; border:none; }"));
    m_TitleLabel->setGeometry(QRect(10, 1, header.width() - 20, header.height() - 2));
    resize(200, 100);
}

CInfoWidget::~CInfoWidget() = default;

void CInfoWidget::storePointer(const QPoint &pos)
{
    m_MouseX = pos.x();
    m_MouseY = pos.y();
}

void CInfoWidget::mousePressEvent(QMouseEvent *event)
{
    storePointer(event->localPos().toPoint());
    const int row = InfoPanel::clickedRow(QPoint(m_MouseX, m_MouseY), headerHeight(), width(),
                                          m_Labels.size(), m_RowLimit);
    if (row >= 0)
        Q_EMIT itemCliked(row);
}

void CInfoWidget::mouseMoveEvent(QMouseEvent *event)
{
    storePointer(event->localPos().toPoint());
    m_MouseOut = false;
    update();
}

void CInfoWidget::enterEvent(QEvent *)
{
    m_MouseOut = false;
}

void CInfoWidget::leaveEvent(QEvent *)
{
    m_MouseOut = true;
    update();
}

void CInfoWidget::paintEvent(QPaintEvent *)
{
    using namespace InfoPanel;
    QPainter painter(this);
    const int h = headerHeight();
    const int n = m_Labels.size();
    const int w = width();
    const QFont labelFont = pixelFont(QStringLiteral("Arial"), 12);
    const QFont longFont = pixelFont(QStringLiteral("Arial"), 10);
    painter.setPen(QPen(m_Style->updateColor(textColor()), 1));

    paintBackground(painter, m_Style, w, h, n);

    if (n > 0 && m_Values.size() == n) {
        for (int i = 0; i < n; ++i) {
            const int t = rowTop(h, i);
            if (rowHighlighted(i, m_MouseY, h, m_HoverEnabled, m_MouseOut, m_RowLimit))
                painter.fillRect(QRect(2, t, w - 2, RowHeight), m_Style->updateColor(hoverColor()));
            painter.setFont(labelFont);
            drawFText(painter, 4, t, m_Labels.at(i), m_PlainText);
            const QString &value = m_Values.at(i);
            // Long values (pinnacle lists, age spans) get a smaller font so
            // they stay inside the panel.
            if (value.size() < 13) {
                drawFText(painter, 104, t, value, m_PlainText);
            } else {
                painter.setFont(longFont);
                drawFText(painter, 104, t + 3, value, m_PlainText);
            }
        }
    }

    paintFrame(painter, m_Style, w, h, n);
    painter.drawImage(0, 0, m_HeaderImage);
}
