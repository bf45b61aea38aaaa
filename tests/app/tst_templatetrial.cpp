#include "filetrial/filetrial.h"
#include "sharedfiles.h"
#include "testenvironment.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

// Shared chart templates through the trial, in the child the program starts:
// the kinds that beat every estimate are refused with the step named, and
// the templates users make are taken.
class TestTemplateTrial : public QObject
{
    Q_OBJECT

private slots:
    void templates_data();
    void templates();
};

void TestTemplateTrial::templates_data()
{
    QTest::addColumn<int>("index");
    const QVector<SharedFiles::File> files = SharedFiles::templates();
    for (int i = 0; i < files.size(); ++i)
        QTest::newRow(files.at(i).name) << i;
}

void TestTemplateTrial::templates()
{
    QFETCH(int, index);
    const SharedFiles::File file = SharedFiles::templates().at(index);
    const SharedFiles::Tried run = SharedFiles::tried(file, FileTrial::Kind::Template, ".lnr");
    QVERIFY(run.written);
    const FileTrial::Verdict &verdict = run.verdict;
    const QStringList &steps = run.steps;
    QVERIFY2(verdict.accepted == file.accepted, qPrintable(verdict.reason));
    if (file.accepted) {
        // The whole of the work was done, the designer's painting last.
        QVERIFY(steps.contains(QStringLiteral("writing the export picture")));
        QCOMPARE(steps.last(), QStringLiteral("painting it in the chart designer"));
    } else {
        QVERIFY2(verdict.reason.startsWith(QStringLiteral("\"Shared.lnr\": ")),
                 qPrintable(verdict.reason));
    }
}

QTEST_MAIN(TestTemplateTrial)
#include "tst_templatetrial.moc"
