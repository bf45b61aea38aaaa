#include "app/optionaldate.h"
#include "app/updatecheck.h"
#include "app/zqnum.h"
#include "engine/numerology.h"
#include "panels/infonamewidget.h"
#include "panels/infowidget.h"
#include "panels/peoplefile.h"
#include "style/infodlg.h"
#include "testenvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

QStringList messages;
QString nextFileName;
QStringList dialogTitles;
QStringList questions;
int answer = 0; // of the program's question box: 0 Yes, -1 No

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

int answerQuestion(CInfoDlgWin::MessageKind, const QString &, const QString &text, QWidget *)
{
    questions << text;
    return answer;
}

QString chosenFile(bool, const QString &title, const QString &, const QString &filter)
{
    dialogTitles << title + QLatin1Char('|') + filter;
    return nextFileName;
}

std::unique_ptr<CZQNum> makeWindow()
{
    auto window = std::make_unique<CZQNum>();
    window->m_StartTimer->stop();
    window->m_UpdateCheck->setBaseUrl(QStringLiteral("http://127.0.0.1:9"));
    return window;
}

PersonRecord record(const QString &fullName, const QString &shortName, const QDate &birth)
{
    PersonRecord r;
    r.fullName = fullName;
    r.shortName = shortName;
    r.birthDate = birth;
    r.female = true;
    return r;
}

// A click into the year of a date box, as a user starts typing a date: the
// box selects its first section once the click has been handled.
bool clickIntoDateBox(QDateEdit *box)
{
    QLineEdit *text = box->findChild<QLineEdit *>();
    QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(text->width() - 12, text->height() / 2));
    return QTest::qWaitFor(
        [&] { return box->hasFocus() && text->hasSelectedText() && text->selectionStart() == 0; },
        TestEnvironment::WaitMs);
}

// Shown and active, so that the boxes take the focus and the keys.
bool shown(CZQNum *w)
{
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

} // namespace

class TestInputHandlers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void typingUpdatesPreview();
    void editsResetLetters_data();
    void editsResetLetters();
    void letterFlip_data();
    void letterFlip();
    void recentButtonRestores();
    void nameButton_data();
    void nameButton();
    void recentPeopleShot();
    void saveOpenRoundTrip();
    void badFileKeepsInputs_data();
    void badFileKeepsInputs();
    void olderFormSetsPet();
    void saveFailureReported();
    void storeRestoresNewest_data();
    void storeRestoresNewest();
    void clearAsksFirst_data();
    void clearAsksFirst();
    void typedDate_data();
    void typedDate();
    void typedDateCounts_data();
    void typedDateCounts();
    void commandDropsTypedDate_data();
    void commandDropsTypedDate();
    void optionalDateRefused_data();
    void optionalDateRefused();
    void openRestoresLetters_data();
    void openRestoresLetters();

private:
    QTemporaryDir m_dir;
};

void TestInputHandlers::initTestCase()
{
    CUpdateCheck::setAskFunction(neverAsk);
    CZQNum::execDialog = rejectDialog;
    CZQNum::askFileName = chosenFile;
    CNumerology::s_criticalMessage = recordMessage;
    CInfoDlgWin::setMessageBoxHandler(answerQuestion);
    QVERIFY(m_dir.isValid());
}

void TestInputHandlers::init()
{
    messages.clear();
    dialogTitles.clear();
    nextFileName.clear();
    questions.clear();
    answer = 0;
}

void TestInputHandlers::typingUpdatesPreview()
{
    auto w = makeWindow();
    w->m_FullName->setText(QStringLiteral("Anna Maria Bell"));
    w->m_ShortName->setText(QStringLiteral("Anna Bell"));
    QCOMPARE(w->m_PersonNamePanel->m_Labels.value(1), QStringLiteral("Anna Maria Bell"));
    QCOMPARE(w->m_PersonNamePanel->m_Labels.value(4), QStringLiteral("Anna Bell"));
    QVERIFY(!w->m_PersonFeatures->m_Values.value(2).isEmpty());
    // One letter code per position: A vowel, n consonant, space neither.
    QCOMPARE(w->m_NameOverrides.size(), QStringLiteral("Anna Maria Bell").size());
    QCOMPARE(w->m_NameOverrides.mid(0, 5), (QVector<int> {1, 2, 2, 1, 0}));
    QCOMPARE(w->m_ShortNameOverrides.size(), QStringLiteral("Anna Bell").size());

    w->m_PartnerFullName->setText(QStringLiteral("Tom Bell"));
    QCOMPARE(w->m_PartnerNamePanel->m_Labels.value(1), QStringLiteral("Tom Bell"));
    QCOMPARE(w->m_PartnerNameOverrides, (QVector<int> {2, 1, 2, 0, 2, 1, 2, 2}));
    // A preview does not touch the reports.
    QVERIFY(w->m_MainFeatures->m_Values.join(QString()).trimmed().isEmpty());
}

// Flip a letter of both people, then make one edit: which flips survive.
void TestInputHandlers::editsResetLetters_data()
{
    QTest::addColumn<int>("edit");
    QTest::addColumn<bool>("personKept");
    QTest::addColumn<bool>("partnerKept");
    QTest::newRow("person short name") << 0 << false << true;
    QTest::newRow("partner name") << 1 << true << false;
    QTest::newRow("birth date") << 2 << false << false;
    QTest::newRow("chaldean") << 3 << false << false;
    QTest::newRow("phonetic") << 4 << false << false;
}

void TestInputHandlers::editsResetLetters()
{
    QFETCH(int, edit);
    QFETCH(bool, personKept);
    QFETCH(bool, partnerKept);
    auto w = makeWindow();
    w->m_FullName->setText(QStringLiteral("Anna Bell"));
    w->m_PartnerFullName->setText(QStringLiteral("Tom Bell"));
    w->OnNameVWChanged(0, 1);
    w->OnNamePVWChanged(0, 0);
    QCOMPARE(w->m_NameOverrides.value(1), 1);
    QCOMPARE(w->m_PartnerNameOverrides.value(0), 1);

    switch (edit) {
    case 0:
        w->m_ShortName->setText(QStringLiteral("Ann"));
        break;
    case 1:
        w->m_PartnerShortName->setText(QStringLiteral("Tom"));
        break;
    case 2:
        w->m_BirthDate->setDate(QDate(1990, 5, 5));
        break;
    case 3:
        w->m_Chaldean->setChecked(true);
        break;
    case 4:
        w->m_Phonetic->setCurrentIndex(1);
        break;
    }
    QCOMPARE(w->m_NameOverrides.value(1) == 1, personKept);
    QCOMPARE(w->m_PartnerNameOverrides.value(0) == 1, partnerKept);
}

void TestInputHandlers::letterFlip_data()
{
    QTest::addColumn<int>("name");
    QTest::addColumn<int>("position");
    QTest::addColumn<QVector<int>>("full");
    QTest::addColumn<QVector<int>>("shortName");
    const QVector<int> full {1, 2, 0, 2, 1};
    const QVector<int> shortName {1, 2};
    QTest::newRow("vowel to consonant") << 0 << 0 << QVector<int> {2, 2, 0, 2, 1} << shortName;
    QTest::newRow("consonant to vowel") << 0 << 3 << QVector<int> {1, 2, 0, 1, 1} << shortName;
    QTest::newRow("space stays") << 0 << 2 << full << shortName;
    QTest::newRow("short name") << 1 << 1 << full << QVector<int> {1, 1};
    QTest::newRow("past the end") << 0 << 5 << full << shortName;
    QTest::newRow("negative") << 0 << -1 << full << shortName;
    QTest::newRow("other name") << 2 << 0 << full << shortName;
}

void TestInputHandlers::letterFlip()
{
    QFETCH(int, name);
    QFETCH(int, position);
    QFETCH(QVector<int>, full);
    QFETCH(QVector<int>, shortName);
    auto w = makeWindow();
    w->m_FullName->setText(QStringLiteral("Ab Ce"));
    w->m_ShortName->setText(QStringLiteral("Ab"));
    const QString heart = w->m_Person->m_nameLines[CNumerology::NLFullVowels];
    w->OnNameVWChanged(name, position);
    QCOMPARE(w->m_NameOverrides, full);
    QCOMPARE(w->m_ShortNameOverrides, shortName);
    // The preview ran with the new letters.
    const bool fullChanged = name == 0 && position >= 0 && position < 5 && position != 2;
    QCOMPARE(w->m_Person->m_nameLines[CNumerology::NLFullVowels] != heart, fullChanged);

    // The partner's twin.
    w->m_PartnerFullName->setText(QStringLiteral("Ab Ce"));
    w->OnNamePVWChanged(name, position);
    QCOMPARE(w->m_PartnerNameOverrides, full);
}

void TestInputHandlers::recentButtonRestores()
{
    auto w = makeWindow();
    PersonRecord older
        = record(QStringLiteral("Anna Bell"), QStringLiteral("Anna"), QDate(1980, 3, 7));
    older.female = false;
    older.partnerFullName = QStringLiteral("Tom Bell");
    older.partnerBirthDate = QDate(1979, 1, 2);
    older.nameOverrides = {2, 2, 2, 1, 0, 2, 1, 2, 2}; // first letter flipped
    older.chaldean = true;
    w->m_Recent
        = {record(QStringLiteral("Carl Dunn"), QStringLiteral("Carl"), QDate(1990, 1, 1)), older};
    w->updateRecentList();

    w->m_RecentButtons.at(1)->click();
    QCOMPARE(w->m_FullName->text(), older.fullName);
    QCOMPARE(w->m_ShortName->text(), older.shortName);
    QCOMPARE(w->m_BirthDate->date(), older.birthDate);
    QCOMPARE(w->m_Gender->currentIndex(), 1);
    QCOMPARE(w->m_PartnerFullName->text(), older.partnerFullName);
    QCOMPARE(w->m_PartnerBirthDate->date(), older.partnerBirthDate);
    QVERIFY(w->m_Chaldean->isChecked());
    // The record's letters are in force for the preview, despite the box change.
    QCOMPARE(w->m_NameOverrides, older.nameOverrides);
    QCOMPARE(w->m_Person->m_nameLines[CNumerology::NLFullVowels].at(0), QLatin1Char(' '));
    QCOMPARE(w->m_PersonNamePanel->m_Labels.value(1), older.fullName);
    QCOMPARE(w->m_PartnerNamePanel->m_Labels.value(1), older.partnerFullName);
    QVERIFY(!w->m_PersonFeatures->m_Values.value(2).isEmpty());

    // The guard restores the newest; a vanished record does nothing.
    w->m_RecentGuard = true;
    w->OnRecentClicked();
    w->m_RecentGuard = false;
    QCOMPARE(w->m_FullName->text(), QStringLiteral("Carl Dunn"));
    w->m_Recent.resize(1);
    w->m_RecentButtons.at(1)->click();
    QCOMPARE(w->m_FullName->text(), QStringLiteral("Carl Dunn"));
}

// Opening shows "APPLY"; closing calculates, and without a person to show
// the button asks for a name again and blinks.
void TestInputHandlers::nameButton_data()
{
    QTest::addColumn<QString>("fullName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("blinks");
    QTest::newRow("a person") << "Anna Maria Bell"
                              << "Anna Bell\n03/07/1980" << false;
    QTest::newRow("full name cleared") << QString() << "ENTER YOUR NAME" << true;
    QTest::newRow("no letter to count") << "--"
                                        << "ENTER YOUR NAME" << true;
}

void TestInputHandlers::nameButton()
{
    QFETCH(QString, fullName);
    QFETCH(QString, caption);
    QFETCH(bool, blinks);
    auto w = makeWindow();
    w->m_FullName->setText(QStringLiteral("Carl Dunn"));
    w->m_BirthDate->setDate(QDate(1980, 3, 7));
    w->OnCalcNum();
    QCOMPARE(w->m_NameCaption, QStringLiteral("Carl Dunn\n03/07/1980"));

    w->OnNameSel();
    QVERIFY(w->m_PanelOpen);
    QCOMPARE(w->m_NameButton->text(), QStringLiteral("APPLY"));
    QCOMPARE(w->m_BlinkLine->state(), QTimeLine::NotRunning);
    QCOMPARE(w->m_EntryPanelAnim->easingCurve().type(), QEasingCurve::InOutExpo);
    QCOMPARE(w->m_EntryPanel->pos(), QPoint(0, 0));

    w->m_FullName->setText(fullName);
    w->OnNameSel();
    QVERIFY(!w->m_PanelOpen);
    QCOMPARE(w->m_EntryPanelAnim->easingCurve().type(), QEasingCurve::OutExpo);
    QCOMPARE(w->m_EntryPanel->pos(), QPoint(-w->width(), 0));
    QCOMPARE(w->m_NameButton->text(), caption);
    QCOMPARE(w->m_BlinkLine->state() == QTimeLine::Running, blinks);
    if (blinks)
        QCOMPARE(w->m_BlinkLine->direction(), QTimeLine::Forward);
    // No name to apply is said, and no reading of somebody else stays.
    QCOMPARE(messages.size(), blinks ? 1 : 0);
    QCOMPARE(w->m_MainFeatures->m_Values.join(QString()).isEmpty(), blinks);
    QCOMPARE(w->m_FullName->text(), fullName);
}

// The input panel on a real display with three recent people, newest first,
// one with a partner: three captioned buttons, nothing where the other five
// would be.
// With LUMARO_SHOTS set the picture is kept there for a look.
void TestInputHandlers::recentPeopleShot()
{
    auto w = makeWindow();
    w->resize(1100, 700);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get(), TestEnvironment::WaitMs));
    if (w->m_Splash)
        w->m_Splash->hide();
    PersonRecord partnered
        = record(QStringLiteral("Anna Maria Bell"), QStringLiteral("Anna Bell"), QDate(1985, 3, 7));
    partnered.partnerFullName = QStringLiteral("Thomas Bell");
    w->m_Recent = {partnered,
                   record(QStringLiteral("Carl Dunn"), QStringLiteral("Carl"), QDate(1990, 12, 31)),
                   record(QStringLiteral("Dora Eve"), QStringLiteral("Dora"), QDate(2001, 6, 15))};
    w->updateRecentList();
    w->OnNameSel();
    QTest::qWait(200);
    const QImage shot = w->m_InputPanel->grab().toImage();
    const QString folder = qEnvironmentVariable("LUMARO_SHOTS");
    if (!folder.isEmpty())
        shot.save(folder + QStringLiteral("/recent-people.png"));

    const qreal ratio = shot.devicePixelRatio();
    const auto at = [&](QPoint p) {
        return shot.pixelColor(p * ratio);
    };
    const QPoint besideColumn(828, 300);
    for (int k = 0; k < 8; ++k) {
        // Inside the slot, clear of where a caption would be written.
        const QPoint inSlot(835 + 4, 10 + 62 * k + 4);
        QCOMPARE(at(inSlot) == at(besideColumn), k >= 3);
    }
    const QStringList captions {QStringLiteral("Anna Maria Bell\r\nMar 7, 1985\r\nThomas Bell"),
                                QStringLiteral("Carl Dunn\r\nDec 31, 1990"),
                                QStringLiteral("Dora Eve\r\nJun 15, 2001")};
    for (int k = 0; k < 8; ++k) {
        QCOMPARE(w->m_RecentButtons.at(k)->text(), captions.value(k));
        QCOMPARE(w->m_RecentButtons.at(k)->isHidden(), k >= 3);
    }
}

void TestInputHandlers::saveOpenRoundTrip()
{
    // Typed without a suffix, the file gets the one the Open dialog lists.
    const QString path = m_dir.filePath(QStringLiteral("anna.num"));
    QVector<int> flipped;
    {
        auto w = makeWindow();
        w->m_FullName->setText(QStringLiteral("Anna Maria Bell"));
        w->m_ShortName->setText(QStringLiteral("Anna, Bell"));
        w->m_BirthDate->setDate(QDate(1980, 3, 7));
        w->m_Gender->setCurrentIndex(1);
        w->m_PartnerFullName->setText(QStringLiteral("Tom Bell"));
        w->m_PartnerBirthDate->setDate(QDate(1979, 1, 2));
        w->m_PetName->setText(QStringLiteral("Rex"));
        w->m_PetDate->setDate(QDate(2015, 2, 1));
        w->OnNameVWChanged(0, 0);
        flipped = w->m_NameOverrides;

        // Cancelling writes nothing.
        w->OnSaveFile();
        QVERIFY(!QFile::exists(path));
        nextFileName = m_dir.filePath(QStringLiteral("anna"));
        w->OnSaveFile();
        QVERIFY(messages.isEmpty());
        QCOMPARE(dialogTitles.value(1), QStringLiteral("Save|Files (*.num)"));

        // The file written is asked about, whether typed with its suffix or
        // without.
        const QString person = w->m_FullName->text();
        w->m_FullName->setText(QStringLiteral("Carl Dunn"));
        answer = -1;
        w->OnSaveFile();
        nextFileName = path;
        w->OnSaveFile();
        const QString question
            = QStringLiteral("\"anna.num\" already exists.\r\nDo you want to replace it?");
        QCOMPARE(questions, QStringList({question, question}));
        QCOMPARE(readPeopleFile(path).inputs.fullName, person);
    }
    QVERIFY(QFile::exists(path));

    auto w = makeWindow();
    w->m_FullName->setText(QStringLiteral("Someone Else"));
    nextFileName.clear();
    w->OnOpenFile(); // cancelled: nothing reset
    QCOMPARE(w->m_FullName->text(), QStringLiteral("Someone Else"));

    nextFileName = path;
    w->OnOpenFile();
    QVERIFY(messages.isEmpty());
    QCOMPARE(dialogTitles.last(), QStringLiteral("Open file|Files (*.num)"));
    QCOMPARE(w->m_FullName->text(), QStringLiteral("Anna Maria Bell"));
    QCOMPARE(w->m_ShortName->text(), QStringLiteral("Anna Bell"));
    QCOMPARE(w->m_BirthDate->date(), QDate(1980, 3, 7));
    QCOMPARE(w->m_Gender->currentIndex(), 1);
    QCOMPARE(w->m_PartnerFullName->text(), QStringLiteral("Tom Bell"));
    QCOMPARE(w->m_PartnerBirthDate->date(), QDate(1979, 1, 2));
    QCOMPARE(w->m_PetName->text(), QStringLiteral("Rex"));
    QCOMPARE(w->m_PetDate->date(), QDate(2015, 2, 1));
    QCOMPARE(w->m_NameOverrides.mid(0, flipped.size()), flipped);
    QCOMPARE(w->m_Person->m_nameLines[CNumerology::NLFullVowels].at(0), QLatin1Char(' '));
    QCOMPARE(w->m_PersonNamePanel->m_Labels.value(1), QStringLiteral("Anna Maria Bell"));
}

void TestInputHandlers::badFileKeepsInputs_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("message");
    QTest::newRow("14 fields") << QByteArray(13, ',') << true
                               << QStringLiteral("Wrong file format!");
    QTest::newRow("16 fields") << QByteArray(15, ',') << true
                               << QStringLiteral("Wrong file format!");
    QTest::newRow("missing") << QByteArray() << false << QStringLiteral("Can't open file!");
}

void TestInputHandlers::badFileKeepsInputs()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    QFETCH(QString, message);
    const QString path = m_dir.filePath(QStringLiteral("bad%1.num").arg(QTest::currentDataTag()));
    if (exists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    auto w = makeWindow();
    w->m_FullName->setText(QStringLiteral("Anna Bell"));
    w->m_BirthDate->setDate(QDate(1980, 3, 7));
    nextFileName = path;
    w->OnOpenFile();
    QCOMPARE(messages, QStringList {message});
    QCOMPARE(w->m_FullName->text(), QStringLiteral("Anna Bell"));
    QCOMPARE(w->m_BirthDate->date(), QDate(1980, 3, 7));
}

void TestInputHandlers::olderFormSetsPet()
{
    const QString path = m_dir.filePath(QStringLiteral("old.num"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("07.03.1980,Anna Bell,Anna,7,xx,,,01.02.2015,Rex,01.01.2020");
    file.close();
    auto w = makeWindow();
    nextFileName = path;
    w->OnOpenFile();
    QVERIFY(messages.isEmpty());
    QCOMPARE(w->m_FullName->text(), QStringLiteral("Anna Bell"));
    QCOMPARE(w->m_Gender->currentIndex(), 0);
    QCOMPARE(w->m_PartnerBirthDate->date(), QDate(2000, 1, 1)); // unparsable: reset value
    QCOMPARE(w->m_PetName->text(), QStringLiteral("Rex"));
    QCOMPARE(w->m_PetDate->date(), QDate(2015, 2, 1));
    QCOMPARE(w->m_ForecastDate->date(), QDate::currentDate());
}

void TestInputHandlers::saveFailureReported()
{
    auto w = makeWindow();
    w->m_FullName->setText(QStringLiteral("Anna Bell"));
    nextFileName = m_dir.filePath(QStringLiteral("no/such/folder/anna.num"));
    w->OnSaveFile();
    QCOMPARE(messages, QStringList {QStringLiteral("Can't create file!\r\n") + nextFileName});
    QCOMPARE(w->m_FullName->text(), QStringLiteral("Anna Bell"));
}

void TestInputHandlers::storeRestoresNewest_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("two") << 2;
    QTest::newRow("eleven") << 11;
}

// At start-up the store fills the recent list, up to the records the list
// keeps, and brings back its newest person with that person's letters; the
// list goes back to disk whole, and the next new person pushes out only the
// oldest.
void TestInputHandlers::storeRestoresNewest()
{
    QFETCH(int, count);
    PersonRecord newest
        = record(QStringLiteral("Anna Bell"), QStringLiteral("Anna"), QDate(1980, 3, 7));
    newest.nameOverrides = {2, 2, 2, 1, 0, 2, 1, 2, 2};
    newest.petName = QStringLiteral("Rex");
    newest.petBirthDate = QDate(2015, 6, 1);
    QVector<PersonRecord> records {newest};
    for (int k = 1; k < count; ++k)
        records << record(QStringLiteral("Carl Dunn"), QStringLiteral("Carl"), QDate(1990, 1, k));
    QVERIFY(writeRecentStore(recentStorePath(), records, QDate::currentDate()));

    auto w = makeWindow();
    w->OnOpenFile(true);
    records = records.mid(0, RecentPeopleLimit);
    QCOMPARE(w->m_Recent, records);
    QVERIFY(!w->m_RecentGuard);
    QCOMPARE(w->m_FullName->text(), newest.fullName);
    QCOMPARE(w->m_BirthDate->date(), newest.birthDate);
    QCOMPARE(w->m_NameOverrides, newest.nameOverrides);
    QCOMPARE(w->m_PetName->text(), newest.petName);
    QCOMPARE(w->m_PetDate->date(), newest.petBirthDate);
    QCOMPARE(w->m_PersonNamePanel->m_Labels.value(1), newest.fullName);
    // Nobody entered as partner: nothing in the partner's panels.
    const auto partnerShown = [&w] {
        return w->m_PartnerNamePanel->m_Labels.join(QString())
            + w->m_PartnerNamePanel->m_Values.join(QString())
            + w->m_PartnerFeatures->m_Values.join(QString());
    };
    QCOMPARE(partnerShown(), QString());

    w->OnSaveFile(true);
    QCOMPARE(readRecentStore(recentStorePath()).records, records);
    w->m_FullName->setText(QStringLiteral("Dora Eve"));
    w->OnCalcNum();
    QCOMPARE(partnerShown(), QString());
    const bool full = records.size() >= RecentPeopleLimit;
    QCOMPARE(w->m_Recent.size(), full ? RecentPeopleLimit : records.size() + 1);
    QCOMPARE(w->m_Recent.last(), full ? records.at(RecentPeopleLimit - 2) : records.last());
    QVERIFY(messages.isEmpty());
    QFile::remove(recentStorePath());
}

void TestInputHandlers::clearAsksFirst_data()
{
    QTest::addColumn<int>("reply");
    QTest::newRow("Yes clears") << 0;
    QTest::newRow("No keeps") << -1;
}

void TestInputHandlers::clearAsksFirst()
{
    QFETCH(int, reply);
    auto w = makeWindow();
    w->m_Recent = {record(QStringLiteral("Carl Dunn"), QStringLiteral("Carl"), QDate(1990, 1, 1))};
    w->updateRecentList();
    answer = reply;
    w->m_ClearButton->click();
    QCOMPARE(questions, QStringList {QStringLiteral("Clear the list of recent people?")});
    QCOMPARE(w->m_Recent.size(), reply == 0 ? 0 : 1);
    QCOMPARE(w->m_RecentButtons.at(0)->isHidden(), reply == 0);
}

// Into the box by a click or the tab key, then the digits of a date.
void TestInputHandlers::typedDate_data()
{
    QTest::addColumn<bool>("dayFirst");
    QTest::addColumn<bool>("click");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("refusal");
    const QDate kept(2000, 1, 1);
    QTest::newRow("tab") << false << false << "03171990" << QDate(1990, 3, 17) << QString();
    QTest::newRow("click") << false << true << "03171990" << QDate(1990, 3, 17) << QString();
    QTest::newRow("click, day first")
        << true << true << "17031990" << QDate(1990, 3, 17) << QString();
    QTest::newRow("leap day") << false << true << "02292000" << QDate(2000, 2, 29) << QString();
    QTest::newRow("31 February") << false << true << "02312000" << kept
                                 << "There is no such date as 02/31/2000.";
    QTest::newRow("29 February 2001, day first")
        << true << false << "29022001" << kept << "There is no such date as 29/02/2001.";
    QTest::newRow("month 13") << false << false << "13012000" << kept
                              << "There is no such date as 13/01/2000.";
    QTest::newRow("year 1000") << false << true << "01011000" << kept
                               << "01/01/1000 is outside the accepted range, 09/14/1752 to "
                                  "12/31/9999.";
    QTest::newRow("year 1") << false << false << "01010001" << kept
                            << "01/01/0001 is outside the accepted range, 09/14/1752 to "
                               "12/31/9999.";
    QTest::newRow("half a year") << false << false << "010119" << kept
                                 << "01/01/19 is not a whole date.";
}

void TestInputHandlers::typedDate()
{
    QFETCH(bool, dayFirst);
    QFETCH(bool, click);
    QFETCH(QString, keys);
    QFETCH(QDate, date);
    QFETCH(QString, refusal);
    auto w = makeWindow();
    w->setDateFormat(dayFirst);
    QVERIFY(shown(w.get()));
    QDateEdit *box = w->m_BirthDate;
    QCOMPARE(box->date(), QDate(2000, 1, 1));
    if (click) {
        QVERIFY(clickIntoDateBox(box));
    } else {
        box->setFocus(Qt::TabFocusReason);
    }
    QTest::keyClicks(box, keys);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->date(), date);
    QCOMPARE(box->toolTip(),
             refusal.isEmpty() ? QStringLiteral("Birth Date")
                               : refusal + QStringLiteral(" The box keeps 01/01/2000."));
    // The date typed is the one the preview counts with.
    if (refusal.isEmpty())
        QCOMPARE(w->m_Person->m_birthDate, date);
    // A refusal is told in a box too, once.
    const QStringList told {QStringLiteral("Birth date\r\n") + refusal
                            + QStringLiteral(" The box keeps 01/01/2000.")};
    QTRY_COMPARE(messages.size(), refusal.isEmpty() ? 0 : 1);
    QCOMPARE(messages, refusal.isEmpty() ? QStringList() : told);
}

// Digits typed into a birth-date box, then APPLY clicked at once or after
// Tab: the calculation counts with the date the box shows.
void TestInputHandlers::typedDateCounts_data()
{
    QTest::addColumn<bool>("partner");
    QTest::addColumn<bool>("tab");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("refusal");
    const QString noDate = QStringLiteral("There is no such date as 02/31/2000.");
    const QString early
        = QStringLiteral("01/01/1700 is outside the accepted range, 09/14/1752 to 12/31/9999.");
    QTest::newRow("birth, APPLY") << false << false << "11041979" << QString();
    QTest::newRow("partner, APPLY") << true << false << "11041979" << QString();
    QTest::newRow("birth, Tab, APPLY") << false << true << "11041979" << QString();
    QTest::newRow("31 February, APPLY") << false << false << "02312000" << noDate;
    QTest::newRow("31 February, Tab") << false << true << "02312000" << noDate;
    QTest::newRow("year 1700, APPLY") << false << false << "01011700" << early;
    QTest::newRow("partner, year 1700, Tab") << true << true << "01011700" << early;
    QTest::newRow("partner, 31 February, APPLY") << true << false << "02312000" << noDate;
}

void TestInputHandlers::typedDateCounts()
{
    QFETCH(bool, partner);
    QFETCH(bool, tab);
    QFETCH(QString, keys);
    QFETCH(QString, refusal);
    const QDate kept(1980, 3, 7);
    const QDate typed = refusal.isEmpty() ? QDate(1979, 11, 4) : kept;
    auto w = makeWindow();
    QVERIFY(shown(w.get()));
    w->m_FullName->setText(QStringLiteral("Anna Bell"));
    w->m_ShortName->setText(QStringLiteral("Anna"));
    w->m_PartnerFullName->setText(QStringLiteral("Tom Bell"));
    w->m_BirthDate->setDate(kept);
    w->m_PartnerBirthDate->setDate(kept);
    QTest::mouseClick(w->m_NameButton, Qt::LeftButton);
    QDateEdit *box = partner ? w->m_PartnerBirthDate : w->m_BirthDate;
    QVERIFY(clickIntoDateBox(box));
    QTest::keyClicks(box, keys);
    const QString label
        = partner ? QStringLiteral("Partner's birth date\r\n") : QStringLiteral("Birth date\r\n");
    const QStringList told {label + refusal + QStringLiteral(" The box keeps 03/07/1980.")};
    if (tab) {
        QTest::keyClick(box, Qt::Key_Tab);
        QTRY_COMPARE(messages.size(), refusal.isEmpty() ? 0 : 1);
    }
    QTest::mouseClick(w->m_NameButton, Qt::LeftButton);
    QCOMPARE(messages, refusal.isEmpty() ? QStringList() : told);
    QCOMPARE(box->date(), typed);

    // Refused at the click: nothing is calculated, the panel stays open on
    // the box. Refused before it, the user has seen the kept date: it counts.
    const bool calculated = refusal.isEmpty() || tab;
    QCOMPARE(w->m_PanelOpen, !calculated);
    QCOMPARE(w->m_Recent.size(), calculated ? 1 : 0);
    if (!calculated)
        return;
    const PersonRecord &stored = w->m_Recent.first();
    QCOMPARE(partner ? stored.partnerBirthDate : stored.birthDate, typed);
    QCOMPARE((partner ? w->m_Partner : w->m_Person)->m_birthDate, typed);
    QCOMPARE(w->m_NameButton->text(),
             QStringLiteral("Anna\n") + stored.birthDate.toString("MM/dd/yyyy"));
}

// Digits typed into the pet box, then a command that puts dates into the
// boxes, clicked before the entry ended: what was typed is thrown away
// unannounced and does not come back when the focus leaves the box.
void TestInputHandlers::commandDropsTypedDate_data()
{
    QTest::addColumn<int>("command"); // Reset, New, Open, a recent person
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QDate>("date");
    const QDate reset(2000, 1, 1);
    QTest::newRow("Reset, whole date") << 0 << QStringLiteral("03171990") << reset;
    QTest::newRow("Reset, no such date") << 0 << QStringLiteral("02312000") << reset;
    QTest::newRow("Reset, half a date") << 0 << QStringLiteral("0317") << reset;
    QTest::newRow("New, no such date") << 1 << QStringLiteral("02312000") << reset;
    QTest::newRow("Open, no such date") << 2 << QStringLiteral("02312000") << QDate(2015, 2, 1);
    // The record has no pet: the box is back at its date before the typing.
    QTest::newRow("recent person") << 3 << QStringLiteral("03171990") << QDate(2012, 5, 6);
}

void TestInputHandlers::commandDropsTypedDate()
{
    QFETCH(int, command);
    QFETCH(QString, keys);
    QFETCH(QDate, date);
    auto w = makeWindow();
    QVERIFY(shown(w.get()));
    w->setMode(MainWindowLayout::PagePet);
    w->m_PetDate->setDate(QDate(2012, 5, 6));
    PersonInputs saved;
    saved.petBirthDate = QDate(2015, 2, 1);
    nextFileName = m_dir.filePath(QStringLiteral("pet.num"));
    QVERIFY(writePeopleFile(nextFileName, saved));
    w->m_Recent = {record(QStringLiteral("Carl Dunn"), QStringLiteral("Carl"), QDate(1990, 1, 1))};
    w->updateRecentList();

    QDateEdit *box = w->m_PetDate;
    QVERIFY(clickIntoDateBox(box));
    QTest::keyClicks(box, keys);
    if (command > 0)
        QTest::mouseClick(w->m_NameButton, Qt::LeftButton); // the panel with the others
    const QList<QPushButton *> buttons {w->m_ResetButton, w->m_NewButton, w->m_OpenButton,
                                        w->m_RecentButtons.at(0)};
    QTest::mouseClick(buttons.at(command), Qt::LeftButton);
    QVERIFY(box->hasFocus()); // the click did not end the entry
    QTest::keyClick(box, Qt::Key_Tab);
    QCoreApplication::processEvents();
    QVERIFY(!box->hasFocus());
    QCOMPARE(box->date(), date);
    QCOMPARE(messages, QStringList());

    // The pet is counted with the date the box shows.
    w->m_PetName->setText(QStringLiteral("Rex"));
    QTest::mouseClick(w->m_PetCalc, Qt::LeftButton);
    const QString birthday = w->m_Pet->m_results[CNumerology::RBirthday];
    w->m_PetDate->setDate(date);
    w->OnCalcPetNum();
    QCOMPARE(birthday, w->m_Pet->m_results[CNumerology::RBirthday]);
}

// An impossible date typed into the Name Advisor's box, then CALCULATE: a
// box that had no date keeps none, and the message says so.
void TestInputHandlers::optionalDateRefused_data()
{
    QTest::addColumn<bool>("dayFirst");
    QTest::addColumn<QDate>("given");
    QTest::addColumn<QString>("refusal");
    const QString empty = QStringLiteral(" The box stays empty.");
    QTest::newRow("empty") << false << QDate() << "There is no such date as 02/31/2020." + empty;
    QTest::newRow("empty, day first")
        << true << QDate() << "There is no such date as 31/02/2020." + empty;
    QTest::newRow("a date given")
        << false << QDate(1990, 3, 17)
        << QStringLiteral("There is no such date as 02/31/2020. The box keeps 03/17/1990.");
}

void TestInputHandlers::optionalDateRefused()
{
    QFETCH(bool, dayFirst);
    QFETCH(QDate, given);
    QFETCH(QString, refusal);
    auto w = makeWindow();
    w->setDateFormat(dayFirst);
    QVERIFY(shown(w.get()));
    w->setMode(MainWindowLayout::PageNameAdvisor);
    w->m_AnName->setText(QStringLiteral("Anne"));
    QDateEdit *box = w->m_AnDate;
    if (given.isValid())
        box->setDate(given);
    QVERIFY(clickIntoDateBox(box));
    QTest::keyClicks(box, dayFirst ? "31022020" : "02312020");
    QTest::mouseClick(w->m_AnCalc, Qt::LeftButton);
    QCOMPARE(messages, QStringList {QStringLiteral("Name Advisor date\r\n") + refusal});
    QCOMPARE(optionalDate(box), given);
    QCOMPARE(box->findChild<QLineEdit *>()->displayText().trimmed().isEmpty(), !given.isValid());
    // The refusal stopped the command; the next one counts with the box as it is.
    QVERIFY(w->m_Analyzer->reportHtml.isEmpty());
    QTest::mouseClick(w->m_AnCalc, Qt::LeftButton);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(w->m_Analyzer->reportHtml.contains(QLatin1String("Your date number")),
             given.isValid());
}

// Letters flipped for both people, saved, then brought back: the same
// letters and numbers, with the Chaldean box ticked or not.
void TestInputHandlers::openRestoresLetters_data()
{
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<bool>("store");
    QTest::newRow("Chaldean people file") << true << false;
    QTest::newRow("Western people file") << false << false;
    QTest::newRow("Chaldean recent store") << true << true;
}

void TestInputHandlers::openRestoresLetters()
{
    QFETCH(bool, chaldean);
    QFETCH(bool, store);
    const auto numbers = [](CZQNum *w) {
        return w->m_PersonFeatures->m_Values + w->m_PartnerFeatures->m_Values;
    };
    const auto letters = [](CZQNum *w) {
        return QVector<QVector<int>> {w->m_NameOverrides, w->m_ShortNameOverrides,
                                      w->m_PartnerNameOverrides, w->m_PartnerShortNameOverrides};
    };
    auto w = makeWindow();
    w->m_Chaldean->setChecked(chaldean);
    w->m_FullName->setText(QStringLiteral("Anna Maria Bell"));
    w->m_ShortName->setText(QStringLiteral("Anna Bell"));
    w->m_BirthDate->setDate(QDate(1980, 3, 7));
    w->m_PartnerFullName->setText(QStringLiteral("Tom Bell"));
    w->m_PartnerShortName->setText(QStringLiteral("Tommy"));
    const QStringList defaults = numbers(w.get());
    w->OnNameVWChanged(0, 0);
    w->OnNamePVWChanged(1, 0);
    const QStringList flipped = numbers(w.get());
    QVERIFY(flipped != defaults);
    const QVector<QVector<int>> chosen = letters(w.get());

    if (store) {
        w->OnCalcNum();
        w->OnSaveFile(true);
        w = makeWindow();
        w->OnOpenFile(true);
        QFile::remove(recentStorePath());
    } else {
        nextFileName = m_dir.filePath(QStringLiteral("letters.num"));
        w->OnSaveFile();
        w->m_NewButton->click();
        w->OnOpenFile();
    }
    QVERIFY(messages.isEmpty());
    QCOMPARE(w->m_Chaldean->isChecked(), chaldean);
    QCOMPARE(letters(w.get()), chosen);
    QCOMPARE(numbers(w.get()), flipped);
}

QTEST_MAIN(TestInputHandlers)
#include "tst_inputhandlers.moc"
