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
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Shared.zqnr"));
    QVERIFY(file.write(path));

    FileTrial::Options options;
    options.useCache = false;
    // The limits of work stay; a busy machine only stretches waiting.
    options.totalMs = 600000;
    if (file.accepted)
        options.stepCpuSeconds *= 3;
    QStringList steps;
    options.stepEnded = [&steps](const QString &step, double) {
        steps << step;
    };
    const FileTrial::Verdict verdict = FileTrial::tryFile(path, FileTrial::Kind::Layout, options);
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
