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
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Shared.lnr"));
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
    const FileTrial::Verdict verdict = FileTrial::tryFile(path, FileTrial::Kind::Template, options);
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
