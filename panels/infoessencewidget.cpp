#include "panels/infoessencewidget.h"

#include "style/appstyle.h"

#include <QPainter>
#include <QPushButton>

#include <algorithm>

CInfoEssenceWidget::CInfoEssenceWidget(CAppStyle *style, QImage header, QWidget *parent,
                                       Qt::WindowFlags flags)
    : CInfoWidget(style, header, parent, flags)
    , m_AgeButton(new QPushButton(QStringLiteral("< Age >"), this))
    , m_Strip(StripWidth, 120)
{
    std::fill(std::begin(m_EssenceReduced), std::end(m_EssenceReduced), 0);
    std::fill(std::begin(m_EssenceSum), std::end(m_EssenceSum), 0);
    m_Strip.fill(InfoPanel::backgroundColor());
    resize(600, 148);
    m_AgeButton->setStyleSheet(
        QStringLiteral("QPushButton { color: #101010; background-color: none; border: none; }"));
    m_AgeButton->resize(64, header.height());
    m_AgeButton->move(528, 0);
    connect(m_AgeButton, &QPushButton::clicked, this, &CInfoEssenceWidget::OnSwitchAge);
}

CInfoEssenceWidget::~CInfoEssenceWidget() = default;

CInfoEssenceWidget::Column CInfoEssenceWidget::column(int age, int birthYear,
                                                      const QStringList &labels,
                                                      const int *essenceSum,
                                                      const int *essenceReduced)
{
    Column c;
    c.age = QString::number(age);
    // Years before 1 AD would give a negative remainder.
    c.year = QString::number(((age + birthYear) % 100 + 100) % 100);
    if (age >= 0 && age < 128 && !labels.isEmpty() && !labels.first().isEmpty()) {
        c.sum = QString::number(essenceSum[age]);
        c.reduced = QString::number(essenceReduced[age]);
    }
    return c;
}

int CInfoEssenceWidget::stripOffset(int agePage)
{
    return 4 - 512 * agePage;
}

void CInfoEssenceWidget::OnSwitchAge()
{
    m_AgePage = (m_AgePage + 1) % 3;
    update();
}

void CInfoEssenceWidget::updateData()
{
    {
        QPainter painter(&m_Strip);
        updateData(&painter);
    }
    // The caller has just written new numbers or chosen another scheme.
    update();
}

void CInfoEssenceWidget::updateData(QPainter *painter)
{
    using namespace InfoPanel;
    const int n = m_Labels.size();
    const int tableH = tableHeight(n);
    const QFont arial10 = pixelFont(QStringLiteral("Arial"), 10);
    const QFont courier12 = pixelFont(QStringLiteral("Courier"), 12);
    const auto cell = [](int j, int y) {
        return QRectF(ColumnWidth * j, y, ColumnWidth, 16);
    };

    painter->save();
    painter->fillRect(QRect(0, 0, StripWidth, tableH), m_Style->updateColor(backgroundColor()));
    for (int k = 0; k < 50; ++k)
        painter->fillRect(QRect(16 + 32 * k, 0, 16, tableH),
                          m_Style->updateColor(QColor(78, 64, 55)));

    painter->setPen(QPen(m_Style->updateColor(textColor()), 1));
    painter->setFont(arial10);
    bool known = false;
    for (int j = 0; j < AgeCount; ++j) {
        const Column c = column(j, m_BirthYear, m_Labels, m_EssenceSum, m_EssenceReduced);
        painter->drawText(cell(j, 3), Qt::AlignCenter, c.age);
        painter->drawText(cell(j, 19), Qt::AlignCenter, c.year);
        if (!c.sum.isNull()) {
            known = true;
            painter->drawText(cell(j, 83), Qt::AlignCenter, c.sum);
            painter->drawText(cell(j, 99), Qt::AlignCenter, c.reduced);
        }
    }
    if (known) {
        painter->setFont(courier12);
        for (int k = 0; k < n; ++k) {
            const QString &letters = m_Labels.at(k);
            for (int l = 0; l < letters.size(); ++l)
                painter->drawText(cell(l, 35 + 16 * k), Qt::AlignCenter, QString(letters.at(l)));
        }
    }

    painter->setPen(QPen(m_Style->updateColor(QColor(139, 126, 117)), 1));
    painter->drawLine(0, 35, StripWidth - 1, 35);
    painter->drawLine(0, 83, StripWidth - 1, 83);
    painter->restore();
}

void CInfoEssenceWidget::paintEvent(QPaintEvent *)
{
    using namespace InfoPanel;
    QPainter painter(this);
    const int h = headerHeight();
    const int n = m_Labels.size();
    const int w = width();
    paintBackground(painter, m_Style, w, h, n);
    painter.save();
    painter.translate(stripOffset(m_AgePage), h);
    updateData(&painter);
    painter.restore();
    paintFrame(painter, m_Style, w, h, n);
    painter.drawImage(0, 0, m_HeaderImage);
}
