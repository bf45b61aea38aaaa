#include "hostilelayouts.h"

#include "base/apppaths.h"
#include "tests/engine/readingfixtures.h"

#include <QTemporaryDir>
#include <QtTest>

// Layouts written to make the view, the PDF or the section editor work far
// beyond their size, written by the program's own writer: each is refused
// at read and at save with the same sentence, or read as what the editor
// makes and then built into a reading, saved, printed and edited.
class tst_HostileLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readBuiltExportedEdited_data();
    void readBuiltExportedEdited();

private:
    CNumerology m_person;
};

void tst_HostileLayout::initTestCase()
{
    GenPDFfromHTML::urlOpener = [](const QUrl &) {
        return true;
    };
    QVERIFY(ReadingTest::loadMarkerDatabase());
    m_person.preloadRes(getImagesPath());
    QVERIFY(m_person.calculate(QStringLiteral("ANN LEE SMITH"), QStringLiteral("ANN"), {}, {},
                               false, QDate(1980, 3, 5), QDate(2026, 3, 15), nullptr, 0, 0, true));
}

void tst_HostileLayout::readBuiltExportedEdited_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("keptTimes");
    for (const HostileLayout::Case &c : HostileLayout::cases())
        QTest::newRow(c.name) << c.text << c.refusal << c.kept << c.keptTimes;
}

void tst_HostileLayout::readBuiltExportedEdited()
{
    QFETCH(QString, text);
    QFETCH(QString, refusal);
    QFETCH(QString, kept);
    QFETCH(int, keptTimes);

    const reportSetting layout = HostileLayout::layoutOf(text);
    // The save names the section of a text too long.
    const QString saveProblem = LayoutLimits::storeProblem(layout);
    if (refusal == SectionMarkup::textTooLong())
        QVERIFY2(saveProblem.startsWith(QLatin1String("the text of \"")), qPrintable(saveProblem));
    else
        QCOMPARE(saveProblem, refusal);
    reportSetting read;
    QString problem;
    const bool accepted = HostileLayout::writtenAndRead(layout, &read, &problem);
    QCOMPARE(accepted, refusal.isEmpty());
    if (!accepted) {
        QVERIFY2(problem.endsWith(refusal), qPrintable(problem));
        return;
    }
    const QString readText = read.items[RKNumerology].value(0).texts.value(0);
    QCOMPARE(int(readText.count(kept)), keptTimes);
    // What was read is what the next save stores and the next read reads.
    QCOMPARE(SectionMarkup::filtered(readText), readText);

    const QString reading = HostileLayout::readingOf(m_person, read);
    QVERIFY(reading.contains(QLatin1String("Seven")));
    QTemporaryDir folder;
    QVERIFY(HostileLayout::exported(reading, folder.path()));
    const QString shown = HostileLayout::editorText(&read);
    QVERIFY2(shown.startsWith(QLatin1String("Seven")), qPrintable(shown.left(200)));
}

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    tst_HostileLayout test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hostilelayout.moc"
