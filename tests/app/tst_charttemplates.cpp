// The shipped chart templates: each loads, renders for several people with
// every item showing something, and its QR Code reads back as the name.

#include "app/chartrender.h"
#include "designer/calcnumcontainer.h"
#include "designer/chartbinding.h"
#include "designer/repage.h"
#include "designer/repageitem.h"
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

#include <memory>

namespace {

struct Sample
{
    const char *fullName;
    const char *shortName;
    QDate birth;
    const char *partnerName;
    QDate partnerBirth;
};

const Sample samples[] = {
    {"Anna Maria Lindqvist", "Anna Lindqvist", QDate(1990, 7, 14), "Jonas Erik Berg",
     QDate(1988, 11, 2)},
    {"Oliver James Whitfield", "Oliver Whitfield", QDate(1975, 2, 28), "Clara Rose Dunmore",
     QDate(1979, 9, 23)},
    {"Kevin Vale", "Kev Vale", QDate(2001, 12, 31), "Mia Sol", QDate(2003, 1, 1)},
};

// A person with a calculated partner, as the main window has them.
struct People : DesignerTest::Person
{
    explicit People(const Sample &s)
        : Person(QString::fromLatin1(s.fullName), QString::fromLatin1(s.shortName), s.birth)
    {
        const QString partnerName = QString::fromLatin1(s.partnerName);
        partner.calculate(partnerName, partnerName, QVector<int>(), QVector<int>(), false,
                          s.partnerBirth, QDate(2026, 3, 1), nullptr, 0, 0, true);
        partnerMatrix.calculate(partnerName, s.partnerBirth, nullptr, 0);
    }
};

QString templatesFolder()
{
    return getImagesPath() + QStringLiteral("templates");
}

QStringList shippedTemplates()
{
    return QDir(templatesFolder()).entryList({QStringLiteral("*.lnr")});
}

// Pixels the item leaves on a transparent sheet.
int inkOf(CREPageItem *frame, const QSizeF &page, CDrawMode *mode, CStyle *style)
{
    QImage sheet(page.toSize(), QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);
    {
        QPainter p(&sheet);
        frame->draw(&p, mode, style);
    }
    int n = 0;
    for (int y = 0; y < sheet.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(sheet.constScanLine(y));
        for (int x = 0; x < sheet.width(); ++x)
            n += qAlpha(line[x]) > 0;
    }
    return n;
}

} // namespace

class TestChartTemplates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyItemShows_data();
    void everyItemShows();
    void qrCodeReadsAsName_data();
    void qrCodeReadsAsName();
    void renderAtPageSize();

private:
    QTemporaryDir m_dir;
};

void TestChartTemplates::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QStringList names = shippedTemplates();
    // A page and a card of each kind that the designer offers.
    QVERIFY2(names.size() >= 5, qPrintable(names.join(QLatin1Char(','))));
}

void TestChartTemplates::everyItemShows_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("sample");
    for (const QString &name : shippedTemplates()) {
        for (int i = 0; i < int(std::size(samples)); ++i)
            QTest::newRow(qPrintable(name + QLatin1Char('/') + QString::number(i))) << name << i;
    }
}

// Every field, table and decoration of the template draws something for the
// person and the partner: no empty value, no table without numbers.
void TestChartTemplates::everyItemShows()
{
    QFETCH(QString, file);
    QFETCH(int, sample);
    People people(samples[sample]);
    calcNumContainer partner = ChartBinding::partnerView(people.container);
    CReportDocument doc(&people.container, nullptr);
    QString error;
    QVERIFY2(doc.loadFromFile(templatesFolder() + QLatin1Char('/') + file, &error),
             qPrintable(error));
    QCOMPARE(doc.name + QStringLiteral(".lnr"), file);
    ChartBinding::bind(&doc, &partner);

    CDrawMode mode;
    mode.outputMode = true;
    CStyle style;
    CREPage *page = doc.currentPage;
    QVERIFY(page);
    for (CREPageItem *frame : qAsConst(page->items)) {
        CREPageItem *content = frame->inner;
        const QString what = content->key + QLatin1Char(' ') + content->text;
        QVERIFY2(inkOf(frame, QSizeF(page->width, page->height), &mode, &style) > 0,
                 qPrintable(what));
        if (content->type == CREPageItem::Placeholder && content->key != QLatin1String("#text")
            && content->key != QLatin1String("#print_date")) {
            const CNumerology *shown = content->container->person;
            QCOMPARE(shown,
                     content->auxText == ChartBinding::partnerMark() ? &people.partner
                                                                     : &people.person);
            QVERIFY(!ChartBinding::personValue(shown, content->key).isEmpty());
        }
    }

    const QImage full = renderChartTemplate(templatesFolder() + QLatin1Char('/') + file,
                                            people.container, QSize(0, 0), nullptr, &error);
    QVERIFY2(!full.isNull(), qPrintable(error));
}

void TestChartTemplates::qrCodeReadsAsName_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("sample");
    QTest::addColumn<QSize>("size");
    for (const QString &name : shippedTemplates()) {
        CReportDocument doc(nullptr, nullptr);
        QVERIFY(doc.loadFromFile(templatesFolder() + QLatin1Char('/') + name));
        bool symbol = false;
        for (const CREPageItem *frame : qAsConst(doc.currentPage->items))
            symbol = symbol || frame->inner->type == CREPageItem::Symbol;
        if (!symbol)
            continue;
        for (int i = 0; i < int(std::size(samples)); ++i) {
            QTest::newRow(qPrintable(name + QStringLiteral("/full/") + QString::number(i)))
                << name << i << QSize(0, 0);
            QTest::newRow(qPrintable(name + QStringLiteral("/page/") + QString::number(i)))
                << name << i << QSize(636, 900);
        }
    }
}

// The card's code holds the person's full name, read back by a real decoder,
// in the exported picture and on the Graphic Chart page.
void TestChartTemplates::qrCodeReadsAsName()
{
    QFETCH(QString, file);
    QFETCH(int, sample);
    QFETCH(QSize, size);
    const QString zbar = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    QVERIFY2(!zbar.isEmpty(), "zbarimg not found: install zbar-tools");
    People people(samples[sample]);
    const QImage image = renderChartTemplate(templatesFolder() + QLatin1Char('/') + file,
                                             people.container, size, nullptr);
    const QString png = m_dir.filePath(QStringLiteral("chart.png"));
    QVERIFY(image.save(png));
    QProcess process;
    process.start(zbar, {QStringLiteral("--raw"), QStringLiteral("-q"), png});
    QVERIFY(process.waitForFinished(60000));
    const QString decoded = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    QCOMPARE(decoded, people.person.m_fullName);
}

// The Graphic Chart page renders at its own size on every layout: the goal is
// well under 50 ms for a 636 x 900 area.
void TestChartTemplates::renderAtPageSize()
{
    People people(samples[0]);
    const QString path = templatesFolder() + QStringLiteral("/Numerology Chart.lnr");
    QImage image;
    QBENCHMARK
    {
        image = renderChartTemplate(path, people.container, QSize(636, 900), nullptr);
    }
    QVERIFY(!image.isNull());
    QVERIFY(image.width() <= 636 && image.height() <= 900);
    QVERIFY(image.width() == 636 || image.height() == 900);
}

QTEST_MAIN(TestChartTemplates)
#include "tst_charttemplates.moc"
