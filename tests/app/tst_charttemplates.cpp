// The shipped chart templates: each loads, renders for several people with
// every item showing something, and its QR Code reads back as the name.

#include "app/chartrender.h"
#include "designer/chartbinding.h"
#include "designer/repage.h"
#include "designer/reportdocument.h"
#include "designer/style.h"
#include "engine/apppaths.h"
#include "tests/designer/designerfixture.h"

#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char *const people[][4] = {
    {"Anna Maria Lindqvist", "Anna Lindqvist", "1990-07-14", "Jonas Erik Berg"},
    {"Oliver James Whitfield", "Oliver Whitfield", "1975-02-28", "Clara Rose Dunmore"},
    {"Kevin Vale", "Kev Vale", "2001-12-31", "Mia Sol"},
};

// A person with a calculated partner, as the main window has them.
struct People : DesignerTest::Person
{
    explicit People(int i)
        : Person(people[i][0], people[i][1], QDate::fromString(people[i][2], Qt::ISODate))
    {
        const QString name = QString::fromLatin1(people[i][3]);
        const QDate birth = QDate(1980 + i, 3 + i, 9 + i);
        partner.calculate(name, name, {}, {}, false, birth, QDate(2026, 3, 1), nullptr, 0, 0, true);
        partnerMatrix.calculate(name, birth, nullptr, 0);
    }
};

QString folder()
{
    return getImagesPath() + QStringLiteral("templates/");
}

} // namespace

class TestChartTemplates : public QObject
{
    Q_OBJECT

private slots:
    void shippedTemplate_data();
    void shippedTemplate();
};

void TestChartTemplates::shippedTemplate_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("person");
    const QStringList files = QDir(folder()).entryList({QStringLiteral("*.lnr")});
    QCOMPARE(files.size(), 7); // a page and a card of each chart
    for (const QString &name : files)
        for (int i = 0; i < 3; ++i)
            QTest::newRow(qPrintable(name + QString::number(i))) << name << i;
}

// Every field, table and decoration draws something for the person or, on
// the partner's items, for the partner: no empty value, no table without
// numbers. A card's QR Code holds the person's full name, read back by a real
// decoder in the exported picture and at the size of the Graphic Chart page.
void TestChartTemplates::shippedTemplate()
{
    QFETCH(QString, file);
    QFETCH(int, person);
    People p(person);
    calcNumContainer partner = ChartBinding::partnerView(p.container);
    CReportDocument doc(&p.container, nullptr);
    QString error;
    QVERIFY2(doc.loadFromFile(folder() + file, &error), qPrintable(error));
    QCOMPARE(doc.name + QStringLiteral(".lnr"), file);
    ChartBinding::bind(&doc, &partner);

    CDrawMode mode;
    mode.outputMode = true;
    CStyle style;
    QImage blank(int(doc.currentPage->width), int(doc.currentPage->height), QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    bool symbol = false;
    for (CREPageItem *frame : qAsConst(doc.currentPage->items)) {
        CREPageItem *item = frame->inner;
        QImage sheet = blank.copy();
        QPainter painter(&sheet);
        frame->draw(&painter, &mode, &style);
        painter.end();
        QVERIFY2(sheet != blank, qPrintable(item->key));
        const bool ofPartner = item->auxText == ChartBinding::partnerMark();
        QCOMPARE(item->container->person, ofPartner ? &p.partner : &p.person);
        symbol = symbol || item->type == CREPageItem::Symbol;
    }

    const QString zbar = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    QVERIFY2(!zbar.isEmpty() || !symbol, "zbarimg not found: install zbar-tools");
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    for (const QSize &size : {QSize(0, 0), QSize(636, 900)}) {
        QVERIFY(renderChartTemplate(folder() + file, p.container, size, nullptr).save(png));
        if (!symbol)
            continue;
        QProcess process;
        process.start(zbar, {QStringLiteral("--raw"), QStringLiteral("-q"), png});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()).trimmed(), p.person.m_fullName);
    }
}

QTEST_MAIN(TestChartTemplates)
#include "tst_charttemplates.moc"
