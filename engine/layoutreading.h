#pragma once

#include "layouts/reportsetting.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QList>
#include <QString>

class CReportTools;

// The rules that every reading by layout shares: which layout a 1-based
// layout number selects, the walk over one report kind's items, the
// report-wide hide-images flag, section pictures, the heading of the
// default look, rows of list sections and the Custom Text item. A reading
// makes one of these for the duration of its by-layout writer; it writes
// into the reading's own document and keeps nothing after the call.
class CLayoutReading
{
public:
    // The 0-based index of the layout that layoutNo (1-based) selects, or -1
    // for the fixed reading: 0, a negative number, a number above the
    // list's size, an empty or no list. The layout is about to be used: its
    // pictures that still wait encoded are decoded now (LayoutPictures).
    static int layoutIndex(QList<reportSetting> *layouts, int layoutNo);

    CLayoutReading(CReportTools &doc, const reportSetting &layout, ReportKind kind);

    // The items of this reading's kind, in stored order.
    const QList<repItem> &items() const { return m_layout.items[m_kind]; }
    // Their type ids, in the same order.
    QList<int> types() const;
    // The layout hides every picture of this reading: its flag holds exactly
    // "TRUE".
    bool hideAll() const { return m_hideAll; }

    // addPar("<br />") before a section.
    void blankParagraph();
    // Forgets a picture held back for the next heading.
    void dropPicture();
    // Queues the section's own picture for its heading unless the layout
    // hides pictures or the item, written in its own style, hides its
    // picture.
    void queueSectionPicture(const repItem &item, const QString &fileName);
    // The chapter heading of a section: the reading's label in the default
    // look when the item's default-text flag is set, else the item's title in
    // its header font and colour.
    void heading(const repItem &item, const QString &defaultLabel);

    // One standard section. An entry outside the item's entries, or a table
    // entry that does not exist (specific empty with entry -1), shows the
    // general text alone; the section's chapter is always left closed.
    void standItem(const repItem &item, const QString &title, const QString &suffix,
                   const QString &general, const QString &specific, int entry);
    // The standard section head of a section that writes its own rows
    // (entry -1): heading and general text; the rows follow.
    void standHead(const repItem &item, const QString &title, const QString &suffix,
                   const QString &general);
    // One row of a list section, with its label; an empty label writes no
    // label paragraph.
    void row(const repItem &item, const QString &label, const QString &text, int entry);
    // The Custom Text item, written alike by every reading.
    void customText(const repItem &item);

    // The heading font of the default look: no family, 12 points.
    static QFont defaultHeadingFont();
    // The font tag pair in its heading form, for text written with addPlain.
    static QString fontOpen(const QFont &font, const QColor &color);
    static QString fontClose(const QFont &font);

private:
    CReportTools &m_doc;
    const reportSetting &m_layout;
    ReportKind m_kind;
    bool m_hideAll;
};

// Entry n of a reading-text table of size entries, or an empty text for an
// index that lies outside the table.
QString tableEntry(const QString *table, int n, int size = 128);

// "Jan" to "Dec"; empty for a month outside 1 to 12.
QString monthAbbreviation(int month);

// Whole years from birth to date; negative when date lies before birth.
int ageInYears(const QDate &birth, const QDate &date);
