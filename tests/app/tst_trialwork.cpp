// The trial of a shared template or layout: a shipped template and a golden
// layout pass every step of the program's work in order, a damaged file is
// refused with its reader's words, and lumaro_trial speaks its protocol.

#include "app/trialwork.h"
#include "base/apppaths.h"
#include "designer/reportdocument.h"
#include "layouts/layoutfile.h"
#include "testenvironment.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString shippedTemplate()
{
    return getImagesPath() + QStringLiteral("templates/Numerology Chart.lnr");
}

QString goldenLayout()
{
    return TestEnvironment::dataPath(QStringLiteral("layouts/custom-picture.zqnr"));
}

// The steps of a trial, and its outcome.
struct Run
{
    QStringList steps;
    TrialWork::Outcome outcome;
};

Run tried(TrialWork::Kind kind, const QString &path)
{
    Run run;
    TrialWork work([&run](const QString &step) { run.steps << step; });
    run.outcome = work.run(kind, path);
    return run;
}

// A copy of path in the folder, cut to its first bytes.
QString cutCopy(const QTemporaryDir &folder, const QString &path, qint64 bytes)
{
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return QString();
    const QString copy = folder.filePath(QFileInfo(path).fileName());
    QFile target(copy);
    if (!target.open(QIODevice::WriteOnly) || target.write(source.read(bytes)) < 0)
        return QString();
    return copy;
}

} // namespace

class TestTrialWork : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
    void longestTexts();
    void protocol_data();
    void protocol();
};

void TestTrialWork::accepted_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("path");
    // The steps the trial begins with, as patterns, and the pattern of every
    // step after them.
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QString>("rest");

    const QString page = QStringLiteral("\"[^\"]+\"");
    QTest::newRow("template")
        << int(TrialWork::Kind::Template) << shippedTemplate()
        << QStringList {QStringLiteral("reading the file"),
                        QStringLiteral("drawing page %1 at board size").arg(page),
                        QStringLiteral("drawing page %1 for export").arg(page),
                        QStringLiteral("writing the export picture"),
                        QStringLiteral("drawing page %1 for the PDF").arg(page),
                        QStringLiteral("writing the chart picture of the PDF"),
                        QStringLiteral("opening it in the chart designer"),
                        QStringLiteral("painting it in the chart designer")}
        << QString();
    QTest::newRow("layout")
        << int(TrialWork::Kind::Layout) << goldenLayout()
        << QStringList {QStringLiteral("reading the file"),
                        QStringLiteral("decoding its pictures"),
                        QStringLiteral("finding the entries a person and a partner are shown"),
                        QStringLiteral("building the largest Numerology reading for a person"),
                        QStringLiteral("building the largest Celebrities reading for a person"),
                        QStringLiteral("building the largest Psycho Matrix reading for a person"),
                        QStringLiteral("building the largest Pet reading for a pet"),
                        QStringLiteral("building the largest Numerology reading for the partner"),
                        QStringLiteral(
                            "building the largest Psycho Matrix reading for the partner"),
                        QStringLiteral("building the largest Love Compatibility reading for a "
                                       "person and a partner"),
                        QStringLiteral("starting the web engine"),
                        QStringLiteral("showing the Numerology reading in a web page"),
                        QStringLiteral("showing the Psycho Matrix reading in a web page"),
                        QStringLiteral("showing the Love Compatibility reading in a web page"),
                        QStringLiteral("showing the Celebrities reading in a web page"),
                        QStringLiteral("showing the Pet reading in a web page"),
                        QStringLiteral("joining the readings for the PDF"),
                        QStringLiteral("loading the readings for the PDF"),
                        QStringLiteral("printing the readings to PDF")}
        << QStringLiteral("opening the text( \"[^\"]+\")? of \"[^\"]+\" in the section editor|"
                          "typing in the text \"[^\"]+\" of \"[^\"]+\"");
}

void TestTrialWork::accepted()
{
    QFETCH(int, kind);
    QFETCH(QString, path);
    QFETCH(QStringList, first);
    QFETCH(QString, rest);

    const Run run = tried(TrialWork::Kind(kind), path);
    QVERIFY2(run.outcome.accepted, qPrintable(run.outcome.message));
    QVERIFY(run.outcome.message.isEmpty());
    QVERIFY2(run.steps.size() >= first.size(), qPrintable(run.steps.join(QLatin1Char('\n'))));
    for (int i = 0; i < run.steps.size(); ++i) {
        const QString pattern = i < first.size() ? first.at(i) : rest;
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(pattern))
                     .match(run.steps.at(i))
                     .hasMatch(),
                 qPrintable(run.steps.at(i)));
    }
    if (!rest.isEmpty()) {
        // The sections are opened, and a section text of its own typed in.
        QVERIFY(!run.steps.filter(QRegularExpression(QStringLiteral("^opening"))).isEmpty());
        QVERIFY(!run.steps.filter(QRegularExpression(QStringLiteral("^typing"))).isEmpty());
    }
}

void TestTrialWork::refused_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("source");
    QTest::addColumn<qint64>("bytes");

    QTest::newRow("template cut short")
        << int(TrialWork::Kind::Template) << shippedTemplate() << qint64(4000);
    QTest::newRow("template empty")
        << int(TrialWork::Kind::Template) << shippedTemplate() << qint64(0);
    QTest::newRow("layout cut short")
        << int(TrialWork::Kind::Layout) << goldenLayout() << qint64(300);
    QTest::newRow("missing layout") << int(TrialWork::Kind::Layout) << QString() << qint64(-1);
}

void TestTrialWork::refused()
{
    QFETCH(int, kind);
    QFETCH(QString, source);
    QFETCH(qint64, bytes);

    QTemporaryDir folder;
    const QString path
        = bytes < 0 ? folder.filePath(QStringLiteral("gone.zqnr")) : cutCopy(folder, source, bytes);
    QVERIFY(!path.isEmpty());

    // What the program's reader says about the file.
    QString expected;
    if (TrialWork::Kind(kind) == TrialWork::Kind::Template) {
        CReportDocument doc(nullptr, nullptr);
        QVERIFY(!doc.loadFromFile(path, &expected));
    } else {
        QFile file(path);
        reportSetting setting;
        QVERIFY(!file.open(QIODevice::ReadOnly)
                || !readReportSetting(&file, &setting, &expected, false));
        if (expected.isEmpty())
            expected = file.errorString();
    }
    QVERIFY(!expected.isEmpty());

    const Run run = tried(TrialWork::Kind(kind), path);
    QVERIFY(!run.outcome.accepted);
    QCOMPARE(run.outcome.message, expected.simplified());
    QCOMPARE(run.steps, QStringList {QStringLiteral("reading the file")});
}

void TestTrialWork::longestTexts()
{
    // The entry a number picks for the sample person gets the section's
    // longest text of its own, once: no copies into rows it is not shown
    // in. The general text, and sections without texts of their own, stay.
    reportSetting layout;
    repItem own;
    own.kind = RKNumerology;
    own.type = 1;
    own.texts[0] = QStringLiteral("<p>general</p>");
    own.useStdText[0] = false;
    for (int entry = 1; entry <= 12; ++entry) {
        own.texts[entry] = QStringLiteral("<p>%1</p>").arg(QString(entry * 10, QLatin1Char('x')));
        own.useStdText[entry] = false;
    }
    repItem standard;
    standard.kind = RKNumerology;
    standard.type = 2;
    layout.items[RKNumerology] << own << standard;

    const reportSetting longest = TrialWork::longestTexts(layout);
    const repItem &item = longest.items[RKNumerology].at(0);
    QCOMPARE(item.texts.at(0), own.texts.at(0));
    QCOMPARE(item.texts.count(own.texts.at(12)), 1);
    QCOMPARE(longest.items[RKNumerology].at(1).texts, standard.texts);
    QCOMPARE(longest.items[RKNumerology].at(1).useStdText, standard.useStdText);
}

void TestTrialWork::protocol_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("last");

    QTest::newRow("template") << QStringList {QStringLiteral("template"), shippedTemplate()} << 0
                              << QStringLiteral("accepted");
    QTest::newRow("damaged") << QStringList {QStringLiteral("layout"),
                                             TestEnvironment::dataPath(
                                                 QStringLiteral("layouts/editor-text.html"))}
                             << 0 << QStringLiteral("refused ");
    QTest::newRow("unknown kind") << QStringList {QStringLiteral("picture"), shippedTemplate()} << 2
                                  << QString();
    QTest::newRow("no path") << QStringList {QStringLiteral("layout")} << 2 << QString();
}

void TestTrialWork::protocol()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, last);

    QProcess trial;
    trial.start(QCoreApplication::applicationDirPath() + QStringLiteral("/lumaro_trial"),
                arguments);
    QVERIFY(trial.waitForFinished(TestEnvironment::WaitMs * 2));
    QCOMPARE(trial.exitStatus(), QProcess::NormalExit);
    QCOMPARE(trial.exitCode(), exitCode);
    const QStringList lines = QString::fromUtf8(trial.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (last.isEmpty()) {
        QVERIFY(lines.isEmpty());
        QVERIFY(!trial.readAllStandardError().isEmpty());
        return;
    }
    QVERIFY(!lines.isEmpty());
    QVERIFY2(lines.last().startsWith(last), qPrintable(lines.last()));
    QVERIFY(lines.last().size() > last.size() || last == QLatin1String("accepted"));
    for (int i = 0; i < lines.size() - 1; ++i)
        QVERIFY2(lines.at(i).startsWith(QLatin1String("step ")), qPrintable(lines.at(i)));
    QCOMPARE(lines.first(), QStringLiteral("step reading the file"));
}

QTEST_MAIN(TestTrialWork)
#include "tst_trialwork.moc"
