#include "app/myqwebengineview.h"
#include "app/startup.h"
#include "app/updatecheck.h"
#include "app/zqnum.h"
#include "engine/compnumerology.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"
#include "panels/infocalendarwidget.h"
#include "panels/infocompmatrwidget.h"
#include "panels/infoessencewidget.h"
#include "panels/infoexprplanwidget.h"
#include "panels/infomatrwidget.h"
#include "panels/infonamewidget.h"
#include "panels/infotodaywidget.h"
#include "panels/infowidget.h"
#include "testenvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWebEnginePage>
#include <QtTest>

#include <memory>
#include <numeric>

namespace {

QStringList messages;

void recordMessage(QWidget *, const QString &, const QString &text)
{
    messages << text;
}

bool neverAsk(const QString &, const QString &)
{
    return false;
}

int rejectDialog(QDialog *)
{
    return QDialog::Rejected;
}

// A window whose start-up completion and update check stay out of the way.
std::unique_ptr<CZQNum> makeWindow()
{
    auto window = std::make_unique<CZQNum>();
    window->m_StartTimer->stop();
    window->m_UpdateCheck->setBaseUrl(QStringLiteral("http://127.0.0.1:9"));
    return window;
}

struct Inputs
{
    QString fullName;
    QString shortName;
    QDate birth;
    QString partnerFullName;
    QString partnerShortName;
    QDate partnerBirth;
    QString petName;
};

void type(CZQNum *w, const Inputs &in)
{
    w->m_FullName->setText(in.fullName);
    w->m_ShortName->setText(in.shortName);
    w->m_BirthDate->setDate(in.birth);
    w->m_PartnerFullName->setText(in.partnerFullName);
    w->m_PartnerShortName->setText(in.partnerShortName);
    w->m_PartnerBirthDate->setDate(in.partnerBirth.isValid() ? in.partnerBirth : QDate(2000, 1, 1));
    w->m_PetName->setText(in.petName);
}

Inputs john()
{
    return {QStringLiteral("John Michael Smith"),
            QStringLiteral("John Smith"),
            QDate(1985, 12, 29),
            QString(),
            QString(),
            QDate(),
            QString()};
}

// John with a partner and a pet.
Inputs johnsFamily()
{
    Inputs in = john();
    in.partnerFullName = QStringLiteral("Mary Ann Jones");
    in.partnerBirth = QDate(1987, 4, 14);
    in.petName = QStringLiteral("Rex");
    return in;
}

// The document a view shows once it has loaded.
QString shownHtml(QWebEngineView *view)
{
    QString html;
    bool done = false;
    view->page()->toHtml([&](const QString &result) {
        html = result;
        done = true;
    });
    TestEnvironment::waitUntil([&done] { return done; });
    return html;
}

bool anyValue(const CInfoWidget *panel)
{
    for (const QString &v : panel->m_Values) {
        if (!v.isEmpty())
            return true;
    }
    return false;
}

} // namespace

class TestCalcFlow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void personFillsEnginesPanelsAndViews();
    void preparedNames_data();
    void preparedNames();
    void partnerGivesCompatibility_data();
    void partnerGivesCompatibility();
    void petReading();
    void emptyNameKeepsResults_data();
    void emptyNameKeepsResults();
    void rejectedNameResets();
    void unvaluableNameReported_data();
    void unvaluableNameReported();
    void partnerAndPetPagesFollowInputs_data();
    void partnerAndPetPagesFollowInputs();
    void recentList();
    void forecastDate();
    void preview();
    void expressChart();
    void screenshots();
};

void TestCalcFlow::initTestCase()
{
    CUpdateCheck::setAskFunction(neverAsk);
    CZQNum::execDialog = rejectDialog;
    CNumerology::s_criticalMessage = recordMessage;
}

void TestCalcFlow::init()
{
    messages.clear();
}

void TestCalcFlow::personFillsEnginesPanelsAndViews()
{
    auto w = makeWindow();
    type(w.get(), john());
    w->OnCalcNum();

    QCOMPARE(w->m_Person->m_results[CNumerology::RLifePath],
             QStringLiteral("11/11+3+5/23=19=1/10"));
    QCOMPARE(w->m_Person->m_fullName.isEmpty(), false);
    QVERIFY(messages.isEmpty());

    // Panels: the numerology page, matrix, essence and calendar.
    QCOMPARE(w->m_MainFeatures->m_Values.value(0), w->m_Person->m_results[0]);
    QCOMPARE(w->m_MainFeatures->m_Values.value(2),
             w->m_Person->m_results[2] + QStringLiteral(" (") + w->m_Person->m_results[3] + ")");
    QCOMPARE(w->m_AddFeatures->m_Values.size(), 6);
    QVERIFY(!w->m_AddFeatures->m_Values.value(2).contains(QLatin1Char(' ')));
    QVERIFY(anyValue(w->m_LifeCycles));
    QVERIFY(anyValue(w->m_Bridges));
    QVERIFY(anyValue(w->m_PlanesPanel));
    QCOMPARE(w->m_PlanesPanel->m_Values.size(), 20);
    QCOMPARE(w->m_NamePanel->m_Labels.value(1), QStringLiteral("John Michael Smith"));
    QCOMPARE(w->m_NamePanel->m_Labels.value(4), QStringLiteral("John Smith"));
    QCOMPARE(w->m_NamePanel->m_Values.value(1), w->m_Person->m_nameLines[2]);
    QCOMPARE(w->m_EssencePanel->m_BirthYear, 1985);
    QCOMPARE(w->m_CalendarPanel->m_BirthNumber, w->m_Person->m_dayMonthDigit);
    QVERIFY(w->m_CalendarPanel->m_BirthNumber > 0);
    int matrixTotal = 0;
    for (int i = 0; i < 17; ++i)
        matrixTotal += w->m_MatrixPanel->m_Counts[i];
    QVERIFY(matrixTotal > 0);
    QCOMPARE(w->m_MatrixPanel->m_Counts[0], w->m_PersonMatrix->digitCount[1]);
    QCOMPARE(w->m_MatrixPanel->m_Counts[16], w->m_PersonMatrix->lineValue[7]);
    QVERIFY(!w->m_TodayPanel->m_Values.value(2).isEmpty());

    // No partner and no pet: those pages stay empty.
    QVERIFY(!anyValue(w->m_CompPanel));
    QVERIFY(!anyValue(w->m_PetFeatures));

    QCOMPARE(w->m_NameCaption, QStringLiteral("John Smith\n12/29/1985"));

    // The personal view shows the reading, not the empty page.
    QVERIFY(!w->m_Person->reportHtml.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(
        shownHtml(w->m_NumerologyView).contains(QStringLiteral("smith"), Qt::CaseInsensitive),
        15000);
    QTRY_VERIFY_WITH_TIMEOUT(shownHtml(w->m_PMatrixView).size() > 200, TestEnvironment::WaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(shownHtml(w->m_CelView).size() > 200, TestEnvironment::WaitMs);
}

void TestCalcFlow::preparedNames_data()
{
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("shortName");
    QTest::addColumn<QString>("engineFull");
    QTest::addColumn<QString>("engineShort");

    QTest::newRow("short name derived")
        << "  Anna   Maria  Lopez " << QString() << "Anna Maria Lopez"
        << "Anna Lopez";
    QTest::newRow("two words stay whole") << "Anna Lopez" << QString() << "Anna Lopez"
                                          << "Anna Lopez";
    QTest::newRow("accents and punctuation")
        << QString::fromUtf8("José O'Brien-Díaz") << QString::fromUtf8("José") << "Jose OBrien Diaz"
        << "Jose";
}

void TestCalcFlow::preparedNames()
{
    QFETCH(QString, full);
    QFETCH(QString, shortName);
    QFETCH(QString, engineFull);
    QFETCH(QString, engineShort);

    auto w = makeWindow();
    Inputs in = john();
    in.fullName = full;
    in.shortName = shortName;
    type(w.get(), in);
    w->OnCalcNum();
    QCOMPARE(w->m_NamePanel->m_Labels.value(1), engineFull);
    QCOMPARE(w->m_NamePanel->m_Labels.value(4), engineShort);
    QCOMPARE(w->m_Recent.value(0).fullName, engineFull);
    QCOMPARE(w->m_Recent.value(0).shortName, engineShort);
}

void TestCalcFlow::partnerGivesCompatibility_data()
{
    QTest::addColumn<QString>("partnerFull");
    QTest::addColumn<QString>("partnerShort");
    QTest::addColumn<bool>("compatible");

    QTest::newRow("full partner") << "Mary Ann Jones"
                                  << "Mary Jones" << true;
    QTest::newRow("partner short name derived") << "Mary Ann Jones" << QString() << true;
    QTest::newRow("only a short name") << QString() << "Mary Jones" << false;
}

void TestCalcFlow::partnerGivesCompatibility()
{
    QFETCH(QString, partnerFull);
    QFETCH(QString, partnerShort);
    QFETCH(bool, compatible);

    auto w = makeWindow();
    Inputs in = john();
    in.partnerFullName = partnerFull;
    in.partnerShortName = partnerShort;
    in.partnerBirth = QDate(1987, 4, 14);
    type(w.get(), in);
    w->OnCalcNum();

    QCOMPARE(anyValue(w->m_CompPanel), compatible);
    QCOMPARE(anyValue(w->m_FamilyPanel), compatible);
    QCOMPARE(anyValue(w->m_CompDetailsPanel), compatible);
    if (compatible) {
        QCOMPARE(w->m_CompPanel->m_Values.value(0),
                 w->m_Comp->resultText[CCompNumerology::RFinalScore]);
        QCOMPARE(w->m_CompMatrixPanel->m_PartnerCounts[0], w->m_PartnerMatrix->digitCount[1]);
        QCOMPARE(w->m_CompMatrixPanel->m_Counts[0], w->m_PersonMatrix->digitCount[1]);
        QVERIFY(!w->m_Comp->reportHtml.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(shownHtml(w->m_CompView).size() > 200, TestEnvironment::WaitMs);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(shownHtml(w->m_CompView).size() < 120, TestEnvironment::WaitMs);
    }
    // A different partner makes a different recent entry.
    QCOMPARE(w->m_Recent.size(), 1);
    QCOMPARE(w->m_Recent.at(0).partnerFullName, partnerFull);
}

void TestCalcFlow::petReading()
{
    auto w = makeWindow();
    Inputs in = john();
    in.petName = QString::fromUtf8("Zoë");
    type(w.get(), in);
    w->m_PetDate->setDate(QDate(2019, 5, 3));
    w->OnCalcNum();
    QCOMPARE(w->m_PetNamePanel->m_Labels.value(1), QStringLiteral("Zoe"));
    QCOMPARE(w->m_PetFeatures->m_Values.value(0), w->m_Pet->m_results[2]);
    QCOMPARE(w->m_Recent.value(0).petName, QStringLiteral("Zoe"));

    // The pet page's own button reads only the pet inputs.
    w->m_PetName->setText(QStringLiteral("Rex"));
    w->OnCalcPetNum();
    QCOMPARE(w->m_PetNamePanel->m_Labels.value(1), QStringLiteral("Rex"));
    QVERIFY(!w->m_Pet->reportHtml.isEmpty());

    // Without a name there is no pet to show.
    w->m_PetName->clear();
    w->OnCalcPetNum();
    QVERIFY(!anyValue(w->m_PetFeatures) && !anyValue(w->m_PetNamePanel));
    QVERIFY(w->m_PetNamePanel->m_Labels.join(QString()).isEmpty());
}

void TestCalcFlow::emptyNameKeepsResults_data()
{
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("shortName");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("punctuation only") << "--" << QString();
    QTest::newRow("short name punctuation, full blank") << " , "
                                                        << "'";
}

void TestCalcFlow::emptyNameKeepsResults()
{
    QFETCH(QString, full);
    QFETCH(QString, shortName);

    auto w = makeWindow();
    type(w.get(), john());
    w->OnCalcNum();
    const QStringList before = w->m_MainFeatures->m_Values;
    const QString caption = w->m_NameCaption;

    w->m_FullName->setText(full);
    w->m_ShortName->setText(shortName);
    w->OnCalcNum();
    QCOMPARE(w->m_MainFeatures->m_Values, before);
    QCOMPARE(w->m_NameCaption, caption);
    QCOMPARE(w->m_Recent.size(), 1);
    QCOMPARE(w->m_Person->m_results[0], QStringLiteral("11/11+3+5/23=19=1/10"));
    QVERIFY(messages.isEmpty());
}

void TestCalcFlow::rejectedNameResets()
{
    // A name the engine refuses (no vowel) is reported and the window falls
    // back to its empty state.
    auto w = makeWindow();
    type(w.get(), john());
    w->OnCalcNum();
    QVERIFY(anyValue(w->m_MainFeatures));

    w->m_FullName->setText(QStringLiteral("Brr Tsk"));
    w->m_ShortName->clear();
    w->OnCalcNum();
    QCOMPARE(messages, QStringList {QStringLiteral("Error! Incorrect full or short name!")});
    QVERIFY(!anyValue(w->m_MainFeatures));
    QCOMPARE(w->m_CalendarPanel->m_BirthNumber, 0);
    QCOMPARE(w->m_NameCaption, QStringLiteral("ENTER YOUR NAME"));
    QCOMPARE(w->m_Recent.size(), 1);
}

// Letters without a value prepare to nothing; the user is told, and the last
// person's reading does not stay beside the new name.
void TestCalcFlow::unvaluableNameReported_data()
{
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("shortName");
    QTest::newRow("Cyrillic") << QStringLiteral("Иван Петров") << QString();
    QTest::newRow("Greek, Latin short name")
        << QStringLiteral("Γιώργος") << QStringLiteral("George");
    QTest::newRow("Cyrillic with punctuation") << QStringLiteral("Анна-Мария") << QString();
}

void TestCalcFlow::unvaluableNameReported()
{
    QFETCH(QString, full);
    QFETCH(QString, shortName);
    auto w = makeWindow();
    const Inputs in = johnsFamily();
    type(w.get(), in);
    w->OnCalcNum();
    QVERIFY(anyValue(w->m_MainFeatures));

    w->m_FullName->setText(full);
    w->m_ShortName->setText(shortName);
    w->OnCalcNum();
    QCOMPARE(messages, QStringList {QStringLiteral("Error! Incorrect full or short name!")});
    for (const CInfoWidget *panel : {w->m_MainFeatures, w->m_CompPanel, w->m_PetFeatures})
        QVERIFY(!anyValue(panel));
    QCOMPARE(w->m_CalendarPanel->m_BirthNumber, 0);
    QVERIFY(w->m_PersonMatrix->reportHtml.isEmpty());
    QCOMPARE(w->m_NameCaption, QStringLiteral("ENTER YOUR NAME"));
    // What the user typed stays, and so does the partner's preview.
    QCOMPARE(w->m_FullName->text(), full);
    QCOMPARE(w->m_ShortName->text(), shortName);
    QCOMPARE(w->m_PartnerFullName->text(), in.partnerFullName);
    QCOMPARE(w->m_PetName->text(), in.petName);
    QVERIFY(anyValue(w->m_PartnerFeatures));
    QCOMPARE(w->m_Recent.size(), 1);
}

// A calculation without a partner or a pet empties their pages rather than
// leaving the last partner's or pet's numbers beside an empty report.
void TestCalcFlow::partnerAndPetPagesFollowInputs_data()
{
    QTest::addColumn<bool>("keepPartner");
    QTest::addColumn<bool>("keepPet");
    QTest::newRow("partner and pet") << true << true;
    QTest::newRow("partner removed") << false << true;
    QTest::newRow("pet removed") << true << false;
    QTest::newRow("both removed") << false << false;
}

void TestCalcFlow::partnerAndPetPagesFollowInputs()
{
    QFETCH(bool, keepPartner);
    QFETCH(bool, keepPet);
    auto w = makeWindow();
    Inputs in = johnsFamily();
    type(w.get(), in);
    w->OnCalcNum();

    if (!keepPartner)
        in.partnerFullName.clear();
    if (!keepPet)
        in.petName.clear();
    type(w.get(), in);
    w->OnCalcNum();
    QVERIFY(messages.isEmpty());
    for (const CInfoWidget *panel : {w->m_CompPanel, w->m_FamilyPanel, w->m_CompDetailsPanel})
        QCOMPARE(anyValue(panel), keepPartner);
    const auto counts = [](const int *c) {
        return std::accumulate(c, c + 17, 0) != 0;
    };
    QCOMPARE(counts(w->m_CompMatrixPanel->m_Counts), keepPartner);
    QCOMPARE(counts(w->m_CompMatrixPanel->m_PartnerCounts), keepPartner);
    QCOMPARE(anyValue(w->m_PetFeatures), keepPet);
    QCOMPARE(anyValue(w->m_PetNamePanel), keepPet);
    QCOMPARE(w->m_PetNamePanel->m_Labels.value(1).isEmpty(), !keepPet);
    QVERIFY(anyValue(w->m_MainFeatures));
}

void TestCalcFlow::recentList()
{
    auto w = makeWindow();
    type(w.get(), john());
    w->OnCalcNum();
    w->OnCalcNum();
    QCOMPARE(w->m_Recent.size(), 1);

    for (int i = 1; i <= 8; ++i) {
        Inputs in = john();
        in.birth = QDate(1980 + i, 1, i);
        type(w.get(), in);
        w->OnCalcNum();
    }
    QCOMPARE(w->m_Recent.size(), 8);
    QCOMPARE(w->m_Recent.first().birthDate, QDate(1988, 1, 8));
    QCOMPARE(w->m_Recent.last().birthDate, QDate(1981, 1, 1));

    // Calculating an older entry again moves it to the front.
    Inputs again = john();
    again.birth = QDate(1983, 1, 3);
    type(w.get(), again);
    w->OnCalcNum();
    QCOMPARE(w->m_Recent.size(), 8);
    QCOMPARE(w->m_Recent.first().birthDate, QDate(1983, 1, 3));
    QCOMPARE(w->m_RecentButtons.value(0)->text(),
             QStringLiteral("John Michael Smith\r\nJan 3, 1983"));
}

void TestCalcFlow::forecastDate()
{
    auto w = makeWindow();
    const QStringList before = w->m_TodayPanel->m_Values;
    w->m_ForecastDate->setDate(QDate(2026, 12, 8));
    QCOMPARE(w->m_TodayPanel->m_Values, before); // nothing calculated yet

    Inputs in = john();
    in.birth = QDate(1990, 3, 25);
    type(w.get(), in);
    w->OnCalcNum();
    w->slotPNC(QDate(2026, 12, 8));
    QCOMPARE(
        w->m_TodayPanel->m_Values,
        (QStringList {QStringLiteral("2026 (2)"), QStringLiteral("Dec (5)"), QStringLiteral("4")}));
    QCOMPARE(w->m_CalendarPanel->m_Date, QDate(2026, 12, 8));
}

void TestCalcFlow::preview()
{
    auto w = makeWindow();
    type(w.get(), john());
    w->OnPreCalcNum();
    QCOMPARE(w->m_PersonFeatures->m_Values.value(0), QStringLiteral("11/11+3+5/23=19=1/10"));
    QCOMPARE(w->m_PersonNamePanel->m_Labels.value(1), QStringLiteral("John Michael Smith"));
    // The preview writes no reading and leaves the numerology page alone.
    QVERIFY(!anyValue(w->m_MainFeatures));

    w->m_Chaldean->setChecked(true);
    w->m_PartnerFullName->setText(QStringLiteral("Mary Ann Jones"));
    w->OnPreCalcNumP();
    QCOMPARE(w->m_PartnerNamePanel->m_Labels.value(4), QStringLiteral("Mary Jones"));
    QVERIFY(!w->m_PartnerNamePanel->m_MarkMasterLetters);
    QVERIFY(anyValue(w->m_PartnerFeatures));
}

void TestCalcFlow::expressChart()
{
    auto w = makeWindow();
    w->OnCalcAnNum();
    QCOMPARE(messages, QStringList {QStringLiteral("Enter your data before calculation!")});

    messages.clear();
    w->m_AnName->setText(QStringLiteral("Anne,Marie"));
    w->OnCalcAnNum();
    QVERIFY(messages.isEmpty());
    QCOMPARE(w->m_AnNamePanel->m_Labels.value(1), QStringLiteral("AnneMarie"));
    QVERIFY(anyValue(w->m_AnFeatures));

    // The date is optional: without one none is shown or used; typed digits
    // give that date.
    const QString &html = w->m_Analyzer->reportHtml;
    QCOMPARE(w->m_AnFeatures->m_Values.value(0), QString());
    QVERIFY(!html.contains("Jan 1 2000") && !html.contains("Your date number"));
    w->setDateFormat(false);
    QTest::keyClicks(w->m_AnDate, QStringLiteral("03171990"));
    QTest::keyClick(w->m_AnDate, Qt::Key_Return);
    w->OnCalcAnNum();
    QVERIFY(html.contains("ANNEMARIE, Mar 17 1990") && html.contains("Your date number: 3/12"));
    w->OnResData();
    w->m_AnName->setText(QStringLiteral("Anne"));
    w->OnCalcAnNum();
    QVERIFY(!html.contains("1990") && !html.contains("Your date number"));
}

void TestCalcFlow::screenshots()
{
    const QString folder = qEnvironmentVariable("LUMARO_CALC_SHOTS");
    if (folder.isEmpty())
        QSKIP("set LUMARO_CALC_SHOTS to a folder to write the screenshots");
    QDir().mkpath(folder);
    auto w = makeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get(), TestEnvironment::WaitMs));
    // Start-up is held back in these tests, so its splash is taken away here.
    if (w->m_Splash)
        w->m_Splash->hide();
    QTest::qWait(500);
    QVERIFY(w->grab().save(folder + QStringLiteral("/01-startup.png")));

    type(w.get(), johnsFamily());
    w->OnCalcNum();
    QTest::qWait(2500);
    QVERIFY(w->grab().save(folder + QStringLiteral("/02-numerology.png")));
    const struct
    {
        int page;
        const char *name;
    } pages[] = {{MainWindowLayout::PagePsychoMatrix, "03-psychomatrix.png"},
                 {MainWindowLayout::PageCompatibility, "04-compatibility.png"},
                 {MainWindowLayout::PagePet, "05-pet.png"},
                 {MainWindowLayout::PageCelebrities, "06-celebrities.png"}};
    for (const auto &p : pages) {
        w->setMode(p.page);
        QTest::qWait(1500);
        QVERIFY(w->grab().save(folder + QLatin1Char('/') + QLatin1String(p.name)));
    }
}

QTEST_MAIN(TestCalcFlow)
#include "tst_calcflow.moc"
