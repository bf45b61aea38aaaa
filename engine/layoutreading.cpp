#include "engine/layoutreading.h"

#include "engine/reporttools.h"
#include "engine/texttables.h"
#include "layouts/layoutpictures.h"

#include <QImage>

int CLayoutReading::layoutIndex(QList<reportSetting> *layouts, int layoutNo)
{
    const reportSetting *layout = selectLayout(layouts, layoutNo);
    if (!layout)
        return -1;
    if (LayoutPictures::pending(*layout))
        LayoutPictures::decode(&(*layouts)[layoutNo - 1]);
    return layoutNo - 1;
}

CLayoutReading::CLayoutReading(CReportTools &doc, const reportSetting &layout, ReportKind kind)
    : m_doc(doc)
    , m_layout(layout)
    , m_kind(kind)
    , m_hideAll(isOptionSet(layout.flags, hideImagesKey(kind)))
{
}

QList<int> CLayoutReading::types() const
{
    QList<int> types;
    const QList<repItem> &list = items();
    types.reserve(list.size());
    for (const repItem &item : list)
        types << int(item.type);
    return types;
}

void CLayoutReading::blankParagraph()
{
    m_doc.addPar(QStringLiteral("<br />"), QImage());
}

void CLayoutReading::dropPicture()
{
    m_doc.pendingImage.clear();
}

void CLayoutReading::queueSectionPicture(const repItem &item, const QString &fileName)
{
    if (m_hideAll)
        return;
    // The item's own option counts only where the item is written in its own
    // style; the default look always carries the section's picture.
    if (item.defaultStyle || !isOptionSet(item.options, QStringLiteral("hide-image")))
        m_doc.addImage(fileName);
}

void CLayoutReading::heading(const repItem &item, const QString &defaultLabel)
{
    if (item.defaultStyle)
        m_doc.addHead(defaultLabel, Qt::black, defaultHeadingFont(), QImage());
    else
        m_doc.addItemHead(item);
}

void CLayoutReading::standItem(const repItem &item, const QString &title, const QString &suffix,
                               const QString &general, const QString &specific, int entry)
{
    if (entry >= 0 && entry < repItem::EntryCount) {
        m_doc.addStandItem(title, suffix, general, specific, entry, &item, m_hideAll);
        return;
    }
    standHead(item, title, suffix, general);
}

void CLayoutReading::standHead(const repItem &item, const QString &title, const QString &suffix,
                               const QString &general)
{
    m_doc.addStandItem(title, suffix, general, QString(), -1, &item, m_hideAll);
    // In its own style, a section without a general text would leave its
    // heading's chapter open around everything that follows.
    if (!item.defaultStyle && general.isEmpty())
        m_doc.endChap();
}

void CLayoutReading::row(const repItem &item, const QString &label, const QString &text, int entry)
{
    if (item.defaultStyle) {
        m_doc.startChap(true);
        m_doc.addPar(label + text, QImage());
        m_doc.endChap();
        return;
    }
    if (!label.isEmpty()) {
        m_doc.startChap(true);
        m_doc.addPar(label, item.contentColor, item.contentFont, QImage());
        m_doc.endChap();
    }
    m_doc.startChap(true);
    // Closes its chapter itself.
    m_doc.addPar(text, &item, entry);
}

void CLayoutReading::customText(const repItem &item)
{
    m_doc.addStandItem(QStringLiteral("Custom Text"), QString(), numerCustomText[0], QString(), -1,
                       &item, m_hideAll);
    if (!item.defaultStyle && numerCustomText[0].isEmpty())
        m_doc.endChap();
}

QFont CLayoutReading::defaultHeadingFont()
{
    QFont font;
    font.setFamily(QString());
    font.setPointSize(12);
    return font;
}

QString CLayoutReading::fontOpen(const QFont &font, const QColor &color)
{
    return CReportTools::fontOpenTag(font, color, false);
}

QString CLayoutReading::fontClose(const QFont &font)
{
    return CReportTools::fontCloseTag(font, false);
}

QString tableEntry(const QString *table, int n, int size)
{
    return n >= 0 && n < size ? table[n] : QString();
}

QString monthAbbreviation(int month)
{
    static const char *const names[12]
        = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return month >= 1 && month <= 12 ? QString::fromLatin1(names[month - 1]) : QString();
}

int ageInYears(const QDate &birth, const QDate &date)
{
    int age = date.year() - birth.year();
    if (date.month() < birth.month() || (date.month() == birth.month() && date.day() < birth.day()))
        --age;
    return age;
}
