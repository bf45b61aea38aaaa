// The Graphic Chart page: the list of chart layouts, when the chart is
// rendered, the picture area, and the Edit, New and Delete commands.

#include "app/chartrender.h"
#include "app/painterboard.h"
#include "app/updatecheck.h"
#include "app/zqnum.h"
#include "designer/calcnumcontainer.h"
#include "engine/apppaths.h"
#include "style/infodlg.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <memory>

namespace {

int renders = 0;

QImage countingRender(const QString &path, const calcNumContainer &people, const QSize &size,
                      CAppStyle *style, QString *error)
{
    ++renders;
    return renderChartTemplate(path, people, size, style, error);
}

// The designer as a test plays it: it saves the template under this name
// (empty: nothing), after removing the files listed.
QString designerSaves;
QStringList designerRemoves;
QStringList designerOpened;

QString fakeDesigner(CZQNum *, const QString &templatePath)
{
    designerOpened << templatePath;
    for (const QString &name : qAsConst(designerRemoves))
        QFile::remove(getUserFolder() + QLatin1Char('/') + name);
    if (designerSaves.isEmpty())
        return QString();
    const QString path = getUserFolder() + QLatin1Char('/') + designerSaves;
    QFile::copy(getImagesPath() + QStringLiteral("templates/Name Card.lnr"), path);
    return path;
}

int askAnswer = -1;
QStringList asked;

int recordAsk(CInfoDlgWin::MessageKind, const QString &title, const QString &text, QWidget *)
{
    asked << title + QLatin1Char('|') + text;
    return askAnswer;
}

int rejectDialog(QDialog *)
{
    return QDialog::Rejected;
}

void writeTemplates(const QStringList &names)
{
    const QString user = getUserFolder();
    QDir(user).removeRecursively();
    QVERIFY(QDir().mkpath(user));
    for (const QString &name : names) {
        const QString shipped = getImagesPath() + QStringLiteral("templates/") + name;
        if (QFile::exists(shipped)) {
            QVERIFY(QFile::copy(shipped, user + QLatin1Char('/') + name));
        } else {
            QFile file(user + QLatin1Char('/') + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(name.endsWith(QLatin1String(".lnr")) ? "not a chart template" : "notes");
        }
    }
}

QStringList listTexts(const QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

std::unique_ptr<CZQNum> makeChartWindow()
{
    auto window = std::make_unique<CZQNum>();
    window->m_UpdateCheck->setBaseUrl(QStringLiteral("http://127.0.0.1:9"));
    window->resize(1100, 760);
    window->m_FullName->setText(QStringLiteral("Anna Maria Lindqvist"));
    window->m_ShortName->setText(QStringLiteral("Anna Lindqvist"));
    window->m_BirthDate->setDate(QDate(1990, 7, 14));
    window->m_PartnerFullName->setText(QStringLiteral("Jonas Erik Berg"));
    window->m_PartnerShortName->setText(QStringLiteral("Jonas Berg"));
    window->m_PartnerBirthDate->setDate(QDate(1988, 11, 2));
    window->OnCalcNum();
    return window;
}

} // namespace

class TestChartPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void templateList();
    void commands_data();
    void commands();
    void deleteAsks_data();
    void deleteAsks();
    void boardGeometry_data();
    void boardGeometry();
    void boardPaints();
    void unreadableLayoutShowsMessage();
    void screenshots();
};

void TestChartPage::initTestCase()
{
    CZQNum::renderChart = countingRender;
    CZQNum::chartDesigner = fakeDesigner;
    CZQNum::execDialog = rejectDialog;
    CInfoDlgWin::setMessageBoxHandler(recordAsk);
}

void TestChartPage::init()
{
    renders = 0;
    designerSaves.clear();
    designerRemoves.clear();
    designerOpened.clear();
    asked.clear();
}

// "Star.lnr" is listed as "Star", by name ignoring case, with its full path;
// filling renders nothing, choosing another entry renders once.
void TestChartPage::templateList()
{
    writeTemplates({"Star.lnr", "alpha.lnr", "Beta.lnr", "notes.txt"});
    auto window = makeChartWindow();
    window->setMode(MainWindowLayout::PageChart);
    renders = 0;

    window->OnUpdateListReport();
    QComboBox *list = window->m_ChartList;
    QCOMPARE(listTexts(list), (QStringList {"alpha", "Beta", "Star"}));
    QCOMPARE(list->itemData(2).toString(), getUserFolder() + QStringLiteral("/Star.lnr"));
    QCOMPARE(list->currentIndex(), 0);
    QCOMPARE(renders, 0);

    list->setCurrentIndex(2);
    QCOMPARE(renders, 1);
    window->OnUpdateListReport();
    QCOMPARE(renders, 1);
}

void TestChartPage::commands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("saves");
    QTest::addColumn<QStringList>("removes");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("rendered");

    // The list holds Compatibility, Name Card, Numerology Chart; the third is chosen.
    QTest::newRow("edit, saved under its name")
        << "edit"
        << "Numerology Chart.lnr" << QStringList() << "Numerology Chart.lnr"
        << "Numerology Chart" << 1;
    QTest::newRow("edit, saved under a new name")
        << "edit"
        << "Zodiac.lnr" << QStringList() << "Numerology Chart.lnr"
        << "Zodiac" << 1;
    QTest::newRow("edit, nothing saved") << "edit"
                                         << "" << QStringList() << "Numerology Chart.lnr"
                                         << "Numerology Chart" << 1;
    QTest::newRow("edit, list became shorter")
        << "edit"
        << "" << QStringList {"Name Card.lnr", "Numerology Chart.lnr"} << "Numerology Chart.lnr"
        << "Compatibility" << 0;
    QTest::newRow("new, saved") << "new"
                                << "Aurora.lnr" << QStringList() << ""
                                << "Aurora" << 1;
    QTest::newRow("new, cancelled") << "new"
                                    << "" << QStringList() << ""
                                    << "Numerology Chart" << 1;
}

// After the designer closes the list is read again and the saved template,
// else the entry chosen before, is shown with one rendering.
void TestChartPage::commands()
{
    QFETCH(QString, command);
    QFETCH(QString, saves);
    QFETCH(QStringList, removes);
    QFETCH(QString, opened);
    QFETCH(QString, selected);
    QFETCH(int, rendered);

    writeTemplates({"Compatibility.lnr", "Name Card.lnr", "Numerology Chart.lnr"});
    auto window = makeChartWindow();
    window->setMode(MainWindowLayout::PageChart);
    window->OnUpdateListReport();
    window->m_ChartList->setCurrentIndex(2);
    designerSaves = saves;
    designerRemoves = removes;
    renders = 0;

    (command == QLatin1String("edit") ? window->m_ChartEdit : window->m_ChartNew)->click();
    QCOMPARE(designerOpened,
             QStringList {opened.isEmpty() ? QString() : getUserFolder() + '/' + opened});
    QCOMPARE(window->m_ChartList->currentText(), selected);
    QCOMPARE(renders, rendered);
}

void TestChartPage::deleteAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("left");

    QTest::newRow("yes") << 0 << QStringList {"Beta.lnr", "notes.txt", "Star.lnr.bak"};
    QTest::newRow("no") << -1 << QStringList {"Beta.lnr", "notes.txt", "Star.lnr", "Star.lnr.bak"};
}

// The question names the file without its folder; only Yes removes it, and
// nothing else goes with it.
void TestChartPage::deleteAsks()
{
    QFETCH(int, answer);
    QFETCH(QStringList, left);

    writeTemplates({"Beta.lnr", "Star.lnr", "notes.txt", "Star.lnr.bak"});
    auto window = makeChartWindow();
    window->OnUpdateListReport();
    window->m_ChartList->setCurrentIndex(1);
    askAnswer = answer;

    window->m_ChartDelete->click();
    QCOMPARE(asked, QStringList {"Question|Do you want to remove \"Star.lnr\"?"});
    QDir user(getUserFolder());
    QCOMPARE(user.entryList(QDir::Files), left);
    QCOMPARE(listTexts(window->m_ChartList),
             answer == 0 ? QStringList {"Beta"} : (QStringList {"Beta", "Star"}));

    // An empty list asks nothing.
    writeTemplates({});
    window->OnUpdateListReport();
    asked.clear();
    window->m_ChartDelete->click();
    QVERIFY(asked.isEmpty());
}

void TestChartPage::boardGeometry_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<QRect>("target");

    QTest::newRow("wider than the area")
        << QSize(1000, 500) << QSize(400, 300) << QRect(-1, 49, 402, 202);
    QTest::newRow("taller than the area")
        << QSize(100, 400) << QSize(400, 300) << QRect(161, -1, 77, 302);
    QTest::newRow("smaller, scaled up")
        << QSize(50, 50) << QSize(401, 300) << QRect(49, -1, 302, 302);
    QTest::newRow("odd leftover truncated")
        << QSize(636, 900) << QSize(637, 900) << QRect(-1, -1, 638, 902);
}

void TestChartPage::boardGeometry()
{
    QFETCH(QSize, image);
    QFETCH(QSize, widget);
    QFETCH(QRect, target);
    QCOMPARE(CPainterBoard::targetRect(image, widget), target);
}

// The picture is drawn fitted and centred; outside it the page shows.
void TestChartPage::boardPaints()
{
    CPainterBoard board;
    board.resize(400, 300);
    board.m_Image = QImage(1000, 500, QImage::Format_ARGB32);
    board.m_Image.fill(Qt::red);
    const QImage shot = board.grab().toImage();
    QCOMPARE(shot.pixelColor(200, 150), QColor(Qt::red));
    QCOMPARE(shot.pixelColor(0, 49), QColor(Qt::red));
    QVERIFY(shot.pixelColor(200, 30) != QColor(Qt::red));
    QVERIFY(shot.pixelColor(200, 270) != QColor(Qt::red));
}

// A layout that cannot be read shows why instead of an empty picture; no
// layout at all shows nothing.
void TestChartPage::unreadableLayoutShowsMessage()
{
    writeTemplates({"Broken.lnr"});
    auto window = makeChartWindow();
    window->OnUpdateListReport();
    window->setMode(MainWindowLayout::PageChart);
    QVERIFY(window->m_ChartBoard->m_Image.isNull());
    QVERIFY2(window->m_ChartBoard->m_Message.contains(QLatin1String("\"Broken\"")),
             qPrintable(window->m_ChartBoard->m_Message));

    writeTemplates({});
    window->OnUpdateListReport();
    window->repaintChart();
    QVERIFY(window->m_ChartBoard->m_Image.isNull());
    QVERIFY(window->m_ChartBoard->m_Message.isEmpty());
}

void TestChartPage::screenshots()
{
    const QString folder = qEnvironmentVariable("LUMARO_SHOTS");
    if (folder.isEmpty())
        QSKIP("set LUMARO_SHOTS to a folder to take screenshots");
    QDir().mkpath(folder);
    const QStringList shipped
        = QDir(getImagesPath() + QStringLiteral("templates")).entryList({"*.lnr"});
    writeTemplates(shipped);
    auto window = makeChartWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->OnFinishedSU();
    window->setMode(MainWindowLayout::PageChart);
    for (int i = 0; i < window->m_ChartList->count(); ++i) {
        window->m_ChartList->setCurrentIndex(i);
        QTest::qWait(800);
        window->screen()
            ->grabWindow(window->winId())
            .save(folder + QStringLiteral("/chart-") + window->m_ChartList->currentText()
                  + QStringLiteral(".png"));
    }
}

QTEST_MAIN(TestChartPage)
#include "tst_chartpage.moc"
