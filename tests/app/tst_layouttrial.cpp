#include "filetrial/filetrial.h"
#include "sharedfiles.h"
#include "testenvironment.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// Shared layouts through the trial, in the child the program starts: the
// kinds that beat every estimate are refused with the step named, and the
// layouts users make are taken.
class TestLayoutTrial : public QObject
{
    Q_OBJECT

private slots:
    void layouts_data();
    void layouts();
};

void TestLayoutTrial::layouts_data()
{
    QTest::addColumn<int>("index");
    const QVector<SharedFiles::File> files = SharedFiles::layouts();
    for (int i = 0; i < files.size(); ++i)
        QTest::newRow(files.at(i).name) << i;
}

void TestLayoutTrial::layouts()
{
    QFETCH(int, index);
    const SharedFiles::File file = SharedFiles::layouts().at(index);
    const SharedFiles::Tried run = SharedFiles::tried(file, FileTrial::Kind::Layout, ".zqnr");
    QVERIFY(run.written);
    const FileTrial::Verdict &verdict = run.verdict;
    const QStringList &steps = run.steps;
    QVERIFY2(verdict.accepted == file.accepted, qPrintable(verdict.reason));
    if (file.accepted) {
        // The whole of the work was done: the reading printed, every text
        // opened in the editor.
        QVERIFY(steps.contains(QStringLiteral("printing the readings to PDF")));
        QVERIFY(
            !steps
                 .filter(QRegularExpression(QStringLiteral("^opening the text .* section editor$")))
                 .isEmpty());
    } else {
        QVERIFY2(verdict.reason.startsWith(QStringLiteral("\"Shared.zqnr\": ")),
                 qPrintable(verdict.reason));
    }
}

QTEST_MAIN(TestLayoutTrial)
#include "tst_layouttrial.moc"
