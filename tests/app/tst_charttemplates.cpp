// The shipped chart templates: each loads, renders for several people with
// every item showing something, and its QR Code reads back as the name. A
// template saved by the designer keeps what it held; without a partner the
// partner's items show no invented values.

#include "app/chartrender.h"
#include "base/apppaths.h"
#include "designer/chartbinding.h"
#include "designer/lnrstream.h"
#include "designer/repage.h"
#include "designer/reportcreator.h"
#include "designer/reportdocument.h"
#include "designer/reportpe.h"
#include "designer/style.h"
#include "style/appstyle.h"
#include "tests/designer/designerfixture.h"
#include "tests/designer/textrecorder.h"

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

// A person with a calculated partner, or none, as the main window hands
// them over.
struct People : DesignerTest::Person
{
    explicit People(int i, bool withPartner = true)
        : Person(people[i][0], people[i][1], QDate::fromString(people[i][2], Qt::ISODate))
    {
        if (!withPartner) {
            container.partner = nullptr;
            container.partnerMatrix = nullptr;
            return;
        }
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

// Key and text of every item of a (one-page) template file, then its preview
// picture's size and bytes.
QStringList kept(const QString &path)
{
    CReportDocument doc(nullptr, nullptr);
    QFile file(path);
    if (!doc.loadFromFile(path) || !file.open(QIODevice::ReadOnly))
        return {};
    QStringList out;
    for (const CREPageItem *frame : qAsConst(doc.currentPage->items))
        out << frame->inner->key + QLatin1Char('|') + frame->inner->text;
    QDataStream s(&file);
    s.setVersion(LnrStream::StreamVersion);
    qint32 length = 0, version = 0, reserved = 0;
    QString name;
    QImage preview;
    s >> length;
    s.skipRawData(length);
    s >> version >> name >> reserved >> preview;
    return out << QStringLiteral("preview %1x%2 %3")
                      .arg(preview.width())
                      .arg(preview.height())
                      .arg(qHashBits(preview.constBits(), size_t(preview.sizeInBytes())));
}

// The template opened in the designer as Edit does, over the given people,
// every item's rows written back as an edit of any of them does, and saved;
// the file written, empty when the save failed.
QString savedByDesigner(const QString &source, const QString &folder, calcNumContainer *people)
{
    static CAppStyle style(getImagesPath());
    const QString copy = folder + QLatin1Char('/') + QFileInfo(source).fileName();
    if (!QFile::copy(source, copy))
        return QString();
    CReportCreatorWin win(people, &style, nullptr, 1);
    if (!win.loadTemplate(copy))
        return QString();
    CReportCreator *c = win.creator;
    CREPage *page = c->editor->currentPage;
    for (CREPageItem *frame : qAsConst(page->items)) {
        page->unselectAll();
        frame->selected = true;
        c->OnPageSelectionChanged();
        c->OnPropertyChanged();
    }
    c->OnOk();
    return c->isModified() ? QString() : c->loadedFile;
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
    QTest::addColumn<bool>("partner");
    QTest::addColumn<bool>("viaDesigner"); // saved by the designer over person 0 first
    const QStringList files = QDir(folder()).entryList({QStringLiteral("*.lnr")});
    QCOMPARE(files.size(), 7); // a page and a card of each chart
    for (const QString &name : files) {
        for (int i = 0; i < 3; ++i)
            QTest::newRow(qPrintable(name + QString::number(i))) << name << i << true << false;
        QTest::newRow(qPrintable(name + " no partner")) << name << 0 << false << false;
        QTest::newRow(qPrintable(name + " after the designer")) << name << 1 << true << true;
    }
}

// Every field, table and decoration draws something for the person or, on
// the partner's items, for the partner: no empty value, no table without
// numbers. Without a partner the partner's items draw no number or date. A
// card's QR Code holds the person's full name, read back by a real decoder in
// the exported picture and at the size of the Graphic Chart page, also after
// the designer saved the template while showing another person.
void TestChartTemplates::shippedTemplate()
{
    QFETCH(QString, file);
    QFETCH(int, person);
    QFETCH(bool, partner);
    QFETCH(bool, viaDesigner);
    QTemporaryDir dir;
    QString path = folder() + file;
    if (viaDesigner) {
        People editing(0);
        path = savedByDesigner(path, dir.path(), &editing.container);
        QVERIFY(!path.isEmpty());
        QCOMPARE(kept(path), kept(folder() + file));
    }
    People p(person, partner);
    calcNumContainer partnerView = ChartBinding::partnerView(p.container);
    CReportDocument doc(&p.container, nullptr);
    QString error;
    QVERIFY2(doc.loadFromFile(path, &error), qPrintable(error));
    QCOMPARE(doc.name + QStringLiteral(".lnr"), file);
    ChartBinding::bind(&doc, &partnerView);

    CDrawMode mode;
    mode.outputMode = true;
    CStyle style;
    QImage blank(int(doc.currentPage->width), int(doc.currentPage->height), QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    bool symbol = false;
    for (CREPageItem *frame : qAsConst(doc.currentPage->items)) {
        CREPageItem *item = frame->inner;
        const bool ofPartner = item->auxText == ChartBinding::partnerMark();
        QCOMPARE(item->container->person, ofPartner ? (partner ? &p.partner : nullptr) : &p.person);
        symbol = symbol || item->type == CREPageItem::Symbol;
        if (ofPartner && !partner) {
            TextRecorder recorder;
            QPainter painter(&recorder);
            frame->draw(&painter, &mode, &style);
            painter.end();
            const QString drawn = recorder.recorded.texts().join(QLatin1Char(' '));
            QVERIFY2(!drawn.contains(QRegularExpression(QStringLiteral("\\d"))), qPrintable(drawn));
            continue;
        }
        QImage sheet = blank.copy();
        QPainter painter(&sheet);
        frame->draw(&painter, &mode, &style);
        painter.end();
        QVERIFY2(sheet != blank, qPrintable(item->key));
    }

    const QString zbar = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    QVERIFY2(!zbar.isEmpty() || !symbol, "zbarimg not found: install zbar-tools");
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    for (const QSize &size : {QSize(0, 0), QSize(636, 900)}) {
        QVERIFY(renderChartTemplate(path, p.container, size, nullptr).save(png));
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
