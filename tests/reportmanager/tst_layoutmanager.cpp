#include "managerscript.h"

#include "designer/colordialog.h"
#include "designer/textdlg.h"
#include "engine/texttables.h"
#include "filetrial/filetrial.h"
#include "filetrial/trialcache.h"
#include "layouts/defaultlayout.h"
#include "layouts/layoutlimits.h"
#include "layouts/layoutlist.h"
#include "layouts/layoutpictures.h"
#include "layouts/sectionmarkup.h"
#include "reportmanager/imagepreview.h"
#include "reportmanager/texteditor.h"
#include "style/appstyle.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

using namespace ManagerScript;

// The Report Manager window: which setting it shows, what its commands do to
// its copy of the settings, and what reaches the layout files.
class TestLayoutManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void opensOnNamedSetting_data();
    void opensOnNamedSetting();
    void refusedLayoutNotShown();
    void emptyFolder();
    void okAndCancel_data();
    void okAndCancel();
    void failedSaveIsReported_data();
    void failedSaveIsReported();
    void picturesDecodedWhenChosen();
    void nameCommands_data();
    void nameCommands();
    void deleteSetting_data();
    void deleteSetting();
    void switchKind();
    void selectionFollowsSetting();
    void sectionFlags();
    void hideAllImages();
    void hideAllImagesFollowsSetting_data();
    void hideAllImagesFollowsSetting();
    void pictureBudget_data();
    void pictureBudget();
    void fontsColoursAndTitle();
    void ownFontAndColourDialogs_data();
    void ownFontAndColourDialogs();
    void textEditStoresCustomText();
    void textEditRefusesTooLongPaste();
    void editTable_data();
    void editTable();
    void dragAndDrop_data();
    void dragAndDrop();
    void entriesPaddedOnWriteBack();

private:
    CLayoutManagerDlg *open(const QString &name = QStringLiteral("Beta"));
    QList<CWCLItem *> orderTiles() const;
    QList<CWCLItem *> availableTiles() const;
    QStringList rowNames() const;

    CAppStyle *m_style = nullptr;
    CLayoutManagerDlgWin *m_win = nullptr;
};

namespace {

int initialSections()
{
    reportSetting setting;
    initialDefSetting(&setting);
    return setting.items[RKNumerology].size();
}

repItem section(int kind, int type, const QString &title)
{
    QList<repItem> list;
    addItemSet(&list, kind, type, title);
    return list.first();
}

QList<reportSetting> standardSettings()
{
    reportSetting alpha;
    alpha.name = QStringLiteral("Alpha");
    initialDefSetting(&alpha);

    reportSetting beta;
    beta.name = QStringLiteral("Beta");
    beta.items[RKNumerology] << section(RKNumerology, 1, QStringLiteral("Life Path"))
                             << section(RKNumerology, 3, QStringLiteral("Expression"))
                             << section(RKNumerology, 35, QStringLiteral("Notes"));
    beta.items[RKPet] << section(RKPet, 0, QStringLiteral("Pet")) << section(RKPet, 2, QString());
    beta.items[RKLoveCompatibility] << section(RKLoveCompatibility, 0, QStringLiteral("Love"));
    beta.flags.insert(QStringLiteral("RTPet-hide-images"), QStringLiteral("TRUE"));

    reportSetting gamma;
    gamma.name = QStringLiteral("Gamma");
    gamma.items[RKNumerology] << section(RKNumerology, 20, QStringLiteral("Essence"));
    return {alpha, beta, gamma};
}

QStringList titles(const QList<repItem> &items)
{
    QStringList list;
    for (const repItem &item : items)
        list << item.title;
    return list;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList settingNames(const QList<reportSetting> &settings)
{
    QStringList list;
    for (const reportSetting &setting : settings)
        list << setting.name;
    return list;
}

} // namespace

void TestLayoutManager::initTestCase()
{
    // The layouts here are the tests' own; whether a shared file may be used
    // is tried in the trial's tests, and a real trial beside a busy suite
    // may pass its ten seconds.
    FileTrial::defaultOptions().runTrials = false;
    m_style = new CAppStyle(getImagesPath());
    install();
}

void TestLayoutManager::init()
{
    reset();
    writeLayouts(standardSettings());
}

void TestLayoutManager::cleanup()
{
    delete m_win;
    m_win = nullptr;
}

CLayoutManagerDlg *TestLayoutManager::open(const QString &name)
{
    delete m_win;
    m_win = new CLayoutManagerDlgWin(m_style, name, nullptr);
    // Shown, so that the lists take their real sizes.
    m_win->show();
    return m_win->content;
}

QList<CWCLItem *> TestLayoutManager::orderTiles() const
{
    return m_win->content->lists.at(0)->containerWidget->items();
}

QList<CWCLItem *> TestLayoutManager::availableTiles() const
{
    return m_win->content->lists.at(1)->containerWidget->items();
}

QStringList TestLayoutManager::rowNames() const
{
    QStringList list;
    for (int i = 0; i < m_win->content->settingsList->count(); ++i)
        list << m_win->content->settingsList->item(i)->text();
    return list;
}

// A layout of the folder that the trial refuses is named in a box when it
// is selected, and the layout shown before stays shown.
void TestLayoutManager::refusedLayoutNotShown()
{
    FileTrial::Options &options = FileTrial::defaultOptions();
    // Put back however the test ends, with no verdict of the stand-in kept.
    const std::unique_ptr<FileTrial::Options, std::function<void(FileTrial::Options *)>> before(
        new FileTrial::Options(options), [](FileTrial::Options *kept) {
            FileTrial::defaultOptions() = *kept;
            delete kept;
            QDir(TrialCache::folder()).removeRecursively();
        });
    options.runTrials = true;
    options.program = QStringLiteral("/bin/sh");
    options.arguments
        = QStringList {QStringLiteral("-c"),
                       QStringLiteral("case \"$2\" in *Beta*) echo 'step reading the file'; "
                                      "echo 'refused It is too heavy.';; *) echo accepted;; esac"),
                       QStringLiteral("child")};
    // Verdicts the real trial reached for these files before.
    QDir(TrialCache::folder()).removeRecursively();
    CLayoutManagerDlg *manager = open(QStringLiteral("Alpha"));
    QCOMPARE(manager->settingsList->currentRow(), 0);
    const int sections = orderTiles().size();
    messages.clear();
    manager->settingsList->setCurrentRow(1);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.at(0).text,
             QStringLiteral("\"Beta.zqnr\": reading the file: It is too heavy."));
    QCOMPARE(manager->settingsList->currentRow(), 0);
    QCOMPARE(orderTiles().size(), sections);
    manager->settingsList->setCurrentRow(2);
    QCOMPARE(manager->settingsList->currentRow(), 2);
    QCOMPARE(messages.size(), 1);
}

void TestLayoutManager::opensOnNamedSetting_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("sections");

    QTest::newRow("second setting") << "Beta" << 1 << 3;
    QTest::newRow("third setting") << "Gamma" << 2 << 1;
    QTest::newRow("built-in entry") << "Default" << 0 << initialSections();
    QTest::newRow("other case") << "beta" << 0 << initialSections();
    QTest::newRow("empty") << QString() << 0 << initialSections();
}

void TestLayoutManager::opensOnNamedSetting()
{
    QFETCH(QString, name);
    QFETCH(int, row);
    QFETCH(int, sections);
    CLayoutManagerDlg *dlg = open(name);
    QCOMPARE(m_win->windowTitle(), QStringLiteral("Report Manager"));
    QCOMPARE(m_win->size(), QSize(580, 625));
    QCOMPARE(m_win->minimumSize(), m_win->maximumSize());
    QCOMPARE(rowNames(), QStringList({"Alpha", "Beta", "Gamma"}));
    QCOMPARE(dlg->settingsList->currentRow(), row);
    QCOMPARE(dlg->kindCombo->currentIndex(), 0);
    QCOMPARE(orderTiles().size(), sections);
    QCOMPARE(availableTiles().size(), 34);
    QVERIFY(!dlg->currentItem);
    QVERIFY(!dlg->editButton->isEnabled());
    QVERIFY(dlg->defaultCheck->isChecked());
    QVERIFY(!dlg->defaultCheck->isEnabled());
    QCOMPARE(dlg->resultCode, -1);
    QVERIFY(dlg->chosenName.isEmpty());
    // Tiles show the field-type names, not what the file stored.
    for (CWCLItem *tile : orderTiles())
        QCOMPARE(tile->name, getItemName(tile->kind, int(tile->type)));
    QCOMPARE(dlg->okButton->pos(), QPoint(300, 595));
    QCOMPARE(dlg->cancelButton->pos(), QPoint(200, 595));
}

void TestLayoutManager::emptyFolder()
{
    writeLayouts({});
    CLayoutManagerDlg *dlg = open();
    QCOMPARE(dlg->settingsList->count(), 0);
    QCOMPARE(dlg->settingsList->currentRow(), -1);
    QVERIFY(!dlg->lists.at(0)->isEnabled());
    QVERIFY(!dlg->lists.at(1)->isEnabled());
    QVERIFY(!dlg->kindCombo->isEnabled());
    QVERIFY(!dlg->nameButton->isEnabled());
    QVERIFY(dlg->newButton->isEnabled());
    dlg->OnOk();
    QCOMPARE(dlg->resultCode, 0);
    QVERIFY(dlg->chosenName.isEmpty());
    QVERIFY(layoutFiles().isEmpty());

    // "Copy" with nothing to copy starts from the built-in layout.
    names = QStringList {QStringLiteral("First")};
    dlg->OnAddSetting();
    QCOMPARE(rowNames(), QStringList {"First"});
    QCOMPARE(dlg->settingsList->currentRow(), 0);
    QCOMPARE(orderTiles().size(), initialSections());
    QVERIFY(dlg->kindCombo->isEnabled());
}

void TestLayoutManager::okAndCancel_data()
{
    QTest::addColumn<QString>("close");
    QTest::addColumn<int>("resultCode");
    QTest::addColumn<QStringList>("files");

    const QStringList before = {"Alpha.zqnr", "Beta.zqnr", "Gamma.zqnr"};
    const QStringList after = {"Alpha.zqnr", "Gamma.zqnr", "Omega.zqnr"};
    QTest::newRow("ok") << "ok" << 0 << after;
    QTest::newRow("cancel") << "cancel" << -1 << before;
    QTest::newRow("title bar") << "close" << -1 << before;
    QTest::newRow("folder, then cancel") << "folder" << 0 << after;
}

void TestLayoutManager::okAndCancel()
{
    QFETCH(QString, close);
    QFETCH(int, resultCode);
    QFETCH(QStringList, files);

    CLayoutManagerDlg *dlg = open();
    answers = {0};
    dlg->OnDelSetting(); // Beta
    names = QStringList {QStringLiteral("Omega")};
    dlg->OnNewSetting();
    QCOMPARE(rowNames(), QStringList({"Alpha", "Gamma", "Omega"}));

    if (close == QLatin1String("ok")) {
        dlg->okButton->click();
    } else if (close == QLatin1String("cancel")) {
        dlg->cancelButton->click();
    } else if (close == QLatin1String("close")) {
        m_win->close();
    } else {
        dlg->folderButton->click();
        QCOMPARE(openedUrls, QList<QUrl> {QUrl::fromLocalFile(layoutsFolder())});
        QVERIFY(m_win->isVisible());
        dlg->cancelButton->click();
    }
    QVERIFY(!m_win->isVisible());
    QCOMPARE(dlg->resultCode, resultCode);
    QCOMPARE(layoutFiles(), files);
    QCOMPARE(dlg->chosenName, resultCode == 0 ? QStringLiteral("Omega") : QString());
    if (resultCode == 0) {
        const QList<reportSetting> saved = readLayouts();
        QCOMPARE(saved.last().name, QStringLiteral("Omega"));
        QCOMPARE(saved.last().items[RKNumerology].size(), initialSections());
    }
}

// The manager decodes the pictures of the layout chosen in its list only; a
// layout never chosen is saved back as it was read.
void TestLayoutManager::picturesDecodedWhenChosen()
{
    QImage picture(126, 90, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 90));
    QList<reportSetting> settings = standardSettings();
    settings[1].items[RKNumerology][0].images[0] = picture; // Beta's Life Path
    settings[2].items[RKNumerology][0].images[0] = picture; // Gamma's Essence
    writeLayouts(settings);
    // The first picture of the section of this type.
    const auto shown = [](const reportSetting &setting, uint type) {
        for (const repItem &item : setting.items[RKNumerology]) {
            if (item.type == type)
                return item.images.value(0);
        }
        return QImage();
    };

    CLayoutManagerDlg *dlg = open(QStringLiteral("Beta"));
    QVERIFY(!LayoutPictures::pending(dlg->settings.at(1)));
    QCOMPARE(shown(dlg->settings.at(1), 1), picture);
    QVERIFY(LayoutPictures::pending(dlg->settings.at(2)));
    dlg->okButton->click();
    QCOMPARE(shown(readLayouts().at(2), 20), picture);

    dlg = open(QStringLiteral("Gamma"));
    QVERIFY(!LayoutPictures::pending(dlg->settings.at(2)));
    QCOMPARE(shown(dlg->settings.at(2), 20), picture);
}

void TestLayoutManager::failedSaveIsReported_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("reason");

    QTest::newRow("a folder in the way of a new layout")
        << "Omega"
        << "Name \"Omega\" is already in use by a layout file";
    QTest::newRow("pictures past what a file holds")
        << "Beta"
        << "its pictures are more than one layout file can hold";
}

void TestLayoutManager::failedSaveIsReported()
{
    QFETCH(QString, layout);
    QFETCH(QString, reason);
    CLayoutManagerDlg *dlg = open();
    const QString path = layoutsFolder() + layout + QStringLiteral(".zqnr");
    const QByteArray before = fileBytes(path);
    QImage full(4096, 4096, QImage::Format_Grayscale8);
    if (layout == QLatin1String("Omega")) {
        names = QStringList {layout};
        dlg->OnNewSetting();
        // Made after the name was taken: the name box would refuse it.
        QVERIFY(QDir().mkpath(path));
    } else {
        addItemSet(&dlg->settings[1].items[RKCelebrities], RKCelebrities, 1, QString());
        for (int i = 0; i < 4; ++i)
            dlg->settings[1].items[RKCelebrities].last().images[i] = full;
    }
    dlg->okButton->click();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().title, QStringLiteral("Error"));
    QVERIFY2(messages.first().text.startsWith(
                 QStringLiteral("The report layouts could not be saved.\nThe layout \"%1\" was "
                                "not saved:\n%2")
                     .arg(layout, reason)),
             qPrintable(messages.first().text));
    // Not closed as if stored, but the opener must reload whatever was written.
    QVERIFY(m_win->isVisible());
    QCOMPARE(dlg->resultCode, 0);
    QCOMPARE(fileBytes(path), before);
    // Once the cause is gone, Ok stores and closes.
    if (layout == QLatin1String("Omega"))
        QVERIFY(QDir(path).removeRecursively());
    else
        dlg->settings[1].items[RKCelebrities].removeLast();
    dlg->okButton->click();
    QVERIFY(!m_win->isVisible());
    QVERIFY(layoutFiles().contains(layout + QStringLiteral(".zqnr")));
}

void TestLayoutManager::nameCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<QStringList>("sectionTitles"); // of the current row, Numerology

    const QStringList standard = {"Alpha", "Beta", "Gamma"};
    const QStringList beta = {"Life Path", "Expression", "Notes"};
    const QString inUse = QStringLiteral("Name \"%1\" is already in use.");
    const QString forbidden = settingNameMessage(SettingNameError::Forbidden, QString());

    QTest::newRow("new") << "new" << QStringList {"Delta"} << QStringList()
                         << (standard + QStringList {"Delta"}) << 3 << QStringList {"<default>"};
    QTest::newRow("new, after three refusals")
        << "new" << QStringList {"", "my/layout", "alpha", "Delta"}
        << QStringList {"Wrong name!", forbidden, inUse.arg("alpha")}
        << (standard + QStringList {"Delta"}) << 3 << QStringList {"<default>"};
    QTest::newRow("new, cancelled")
        << "new" << QStringList {Cancel} << QStringList() << standard << 1 << beta;
    QTest::newRow("new, cancelled after a refusal")
        << "new" << QStringList {"Default", Cancel} << QStringList {forbidden} << standard << 1
        << beta;
    QTest::newRow("new, box closed after a refusal")
        << "new" << QStringList {"alpha", Closed} << QStringList {inUse.arg("alpha")} << standard
        << 1 << beta;
    QTest::newRow("copy") << "copy" << QStringList {"Delta"} << QStringList()
                          << (standard + QStringList {"Delta"}) << 3 << beta;
    QTest::newRow("rename") << "rename" << QStringList {"Bravo"} << QStringList()
                            << QStringList {"Alpha", "Bravo", "Gamma"} << 1 << beta;
    QTest::newRow("rename to own name") << "rename" << QStringList {"Beta", Cancel}
                                        << QStringList {inUse.arg("Beta")} << standard << 1 << beta;
    QTest::newRow("rename, case only") << "rename" << QStringList {"BETA", Cancel}
                                       << QStringList {inUse.arg("BETA")} << standard << 1 << beta;
    // Names the save would refuse are refused at once.
    const QString longName(244,
                           QLatin1Char('x')); // with ".zqnr" one byte past what a save can write
    QTest::newRow("new, hidden file, then one that cannot be opened, then too long")
        << "new" << QStringList {".hidden", "Broken", longName, Cancel}
        << QStringList {"Name \".hidden\" cannot begin with a dot.",
                        "Name \"Broken\" is already in use by a layout file\nthat could not be "
                        "opened.",
                        QStringLiteral("Name \"%1\" cannot be used as a file name.").arg(longName)}
        << standard << 1 << beta;
}

void TestLayoutManager::nameCommands()
{
    QFETCH(QString, command);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, errors);
    QFETCH(QStringList, rows);
    QFETCH(int, currentRow);
    QFETCH(QStringList, sectionTitles);

    // A damaged layout file that the manager cannot open.
    QFile broken(layoutsFolder() + QStringLiteral("Broken.zqnr"));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("LNRP") == 4);
    broken.close();
    CLayoutManagerDlg *dlg = open();
    names = typed;
    if (command == QLatin1String("new"))
        dlg->newButton->click();
    else if (command == QLatin1String("copy"))
        dlg->copyButton->click();
    else
        dlg->renameButton->click();

    QStringList shown;
    for (const Box &box : qAsConst(messages)) {
        QCOMPARE(box.title, QStringLiteral("Error"));
        shown << box.text;
    }
    QCOMPARE(shown, errors);
    // The box comes back with the text typed before.
    QCOMPARE(nameBoxes.size(), typed.size());
    const QString title = command == QLatin1String("rename") ? QStringLiteral("Rename setting")
                                                             : QStringLiteral("New setting");
    for (int i = 0; i < nameBoxes.size(); ++i) {
        QCOMPARE(nameBoxes.at(i).title, title);
        const QString prefilled = i > 0          ? typed.at(i - 1)
            : command == QLatin1String("rename") ? QStringLiteral("Beta")
                                                 : QString();
        QCOMPARE(nameBoxes.at(i).text, prefilled);
    }

    QCOMPARE(rowNames(), rows);
    QCOMPARE(settingNames(dlg->settings), rows);
    QCOMPARE(dlg->settingsList->currentRow(), currentRow);
    const QList<repItem> &items = dlg->settings.at(currentRow).items[RKNumerology];
    if (sectionTitles == QStringList {"<default>"}) {
        reportSetting reference;
        initialDefSetting(&reference);
        QCOMPARE(titles(items), titles(reference.items[RKNumerology]));
    } else {
        QCOMPARE(titles(items), sectionTitles);
    }
    QCOMPARE(orderTiles().size(), items.size());
    if (command == QLatin1String("rename"))
        QCOMPARE(dlg->chosenName, rows.at(1));
    // Nothing is written before Ok.
    QCOMPARE(layoutFiles(), QStringList({"Alpha.zqnr", "Beta.zqnr", "Broken.zqnr", "Gamma.zqnr"}));
}

void TestLayoutManager::deleteSetting_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("currentRow");

    QTest::newRow("third of five") << 5 << 2 << 0 << QStringList {"S1", "S2", "S4", "S5"} << 1;
    QTest::newRow("first of five") << 5 << 0 << 0 << QStringList {"S2", "S3", "S4", "S5"} << 0;
    QTest::newRow("last of five") << 5 << 4 << 0 << QStringList {"S1", "S2", "S3", "S4"} << 3;
    QTest::newRow("the only one") << 1 << 0 << 0 << QStringList() << -1;
    QTest::newRow("answered no") << 3 << 1 << -1 << QStringList {"S1", "S2", "S3"} << 1;
}

void TestLayoutManager::deleteSetting()
{
    QFETCH(int, count);
    QFETCH(int, row);
    QFETCH(int, answer);
    QFETCH(QStringList, rows);
    QFETCH(int, currentRow);

    QList<reportSetting> settings;
    for (int i = 1; i <= count; ++i) {
        reportSetting setting;
        setting.name = QStringLiteral("S%1").arg(i);
        for (int n = 0; n < i; ++n)
            setting.items[RKNumerology] << section(RKNumerology, 1, setting.name);
        settings << setting;
    }
    writeLayouts(settings);
    CLayoutManagerDlg *dlg = open(settings.at(row).name);
    answers = {answer};
    dlg->deleteButton->click();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().title, QStringLiteral("Question"));
    QCOMPARE(messages.first().text, QStringLiteral("Do you want remove \"S%1\"?").arg(row + 1));
    QCOMPARE(rowNames(), rows);
    QCOMPARE(settingNames(dlg->settings), rows);
    QCOMPARE(dlg->settingsList->currentRow(), currentRow);
    // The order list shows the sections of the setting now current.
    const int shown = currentRow < 0 ? 0 : dlg->settings.at(currentRow).items[RKNumerology].size();
    QCOMPARE(orderTiles().size(), shown);
    for (CWCLItem *tile : orderTiles())
        QCOMPARE(tile->title, rows.at(currentRow));
    QCOMPARE(dlg->kindCombo->isEnabled(), currentRow >= 0);
    // The other settings keep their sections.
    for (const reportSetting &setting : qAsConst(dlg->settings))
        QCOMPARE(setting.items[RKNumerology].size(), setting.name.mid(1).toInt());
}

void TestLayoutManager::switchKind()
{
    CLayoutManagerDlg *dlg = open();
    QVERIFY(!dlg->hideAllImagesCheck->isChecked());
    dlg->OnItemSelected(orderTiles().first());
    QVERIFY(dlg->currentItem);

    const int counts[] = {34, 19, 12, 5, 4};
    const int sections[] = {3, 0, 1, 0, 2};
    for (int kind : {4, 1, 2, 3, 0}) {
        dlg->kindCombo->setCurrentIndex(kind);
        QCOMPARE(dlg->settingsList->currentRow(), 1);
        QCOMPARE(availableTiles().size(), counts[kind]);
        QCOMPARE(orderTiles().size(), sections[kind]);
        QVERIFY(!dlg->currentItem);
        QCOMPARE(dlg->hideAllImagesCheck->isChecked(), kind == RKPet);
        for (CWCLItem *tile : availableTiles()) {
            QCOMPARE(tile->kind, kind);
            QVERIFY(tile->copyOnDrag);
            QCOMPARE(tile->headerFont.pointSize(), 16);
            QCOMPARE(tile->contentFont.pointSize(), 14);
        }
    }
    QCOMPARE(availableTiles().first()->title, QStringLiteral("Numerology Chart for"));
    QCOMPARE(availableTiles().last()->name, QStringLiteral("Custom Text"));
}

void TestLayoutManager::selectionFollowsSetting()
{
    CLayoutManagerDlg *dlg = open();
    dlg->kindCombo->setCurrentIndex(RKPet);
    dlg->OnItemSelected(orderTiles().last());
    QVERIFY(orderTiles().last()->selected);
    dlg->settingsList->setCurrentRow(0);
    QCOMPARE(dlg->kindCombo->currentIndex(), int(RKPet));
    QVERIFY(!dlg->currentItem);
    QCOMPARE(titles(dlg->settings.at(0).items[RKPet]).size(), orderTiles().size());
    // Pressing a template tile selects nothing.
    dlg->OnItemSelected(orderTiles().first());
    dlg->OnItemSelectedAlt(availableTiles().first());
    QVERIFY(!dlg->currentItem);
    for (CWCLItem *tile : orderTiles() + availableTiles())
        QVERIFY(!tile->selected);
    // Only the pressed tile carries the mark.
    dlg->OnItemSelected(orderTiles().at(1));
    dlg->OnItemSelected(orderTiles().at(0));
    QVERIFY(orderTiles().at(0)->selected);
    QVERIFY(!orderTiles().at(1)->selected);
}

void TestLayoutManager::sectionFlags()
{
    CLayoutManagerDlg *dlg = open();
    dlg->OnItemSelected(orderTiles().at(1));
    QVERIFY(dlg->defaultCheck->isEnabled());
    QVERIFY(dlg->defaultCheck->isChecked());
    QVERIFY(!dlg->nameButton->isEnabled());

    dlg->defaultCheck->click(); // off
    QCOMPARE(dlg->settings.at(1).items[RKNumerology].at(1).defaultStyle, false);
    for (QWidget *control :
         {static_cast<QWidget *>(dlg->nameButton), static_cast<QWidget *>(dlg->headerFontButton),
          static_cast<QWidget *>(dlg->headerColorButton), static_cast<QWidget *>(dlg->editButton),
          static_cast<QWidget *>(dlg->contentFontButton),
          static_cast<QWidget *>(dlg->contentColorButton),
          static_cast<QWidget *>(dlg->hideImageCheck)})
        QVERIFY(control->isEnabled());

    QVERIFY(!dlg->hideImageCheck->isChecked());
    dlg->hideImageCheck->click();
    QCOMPARE(dlg->settings.at(1).items[RKNumerology].at(1).options.value("hide-image"),
             QStringLiteral("TRUE"));
    dlg->hideImageCheck->click();
    QCOMPARE(dlg->settings.at(1).items[RKNumerology].at(1).options.value("hide-image"),
             QStringLiteral("FALSE"));

    dlg->defaultCheck->click(); // on again
    QVERIFY(dlg->settings.at(1).items[RKNumerology].at(1).defaultStyle);
    QVERIFY(!dlg->editButton->isEnabled());
    QVERIFY(!dlg->hideImageCheck->isEnabled());

    // Saved as set.
    dlg->OnOk();
    const repItem stored = readLayouts().at(1).items[RKNumerology].at(1);
    QCOMPARE(stored.options.value("hide-image"), QStringLiteral("FALSE"));
}

void TestLayoutManager::hideAllImages()
{
    CLayoutManagerDlg *dlg = open();
    dlg->kindCombo->setCurrentIndex(RKCelebrities);
    QVERIFY(!dlg->currentItem);
    dlg->hideAllImagesCheck->click();
    QCOMPARE(dlg->settings.at(1).flags.value("RTCelebrities-hide-images"), QStringLiteral("TRUE"));
    dlg->kindCombo->setCurrentIndex(RKPet);
    QVERIFY(dlg->hideAllImagesCheck->isChecked());
    dlg->hideAllImagesCheck->click();
    QCOMPARE(dlg->settings.at(1).flags.value("RTPet-hide-images"), QStringLiteral("FALSE"));
    dlg->kindCombo->setCurrentIndex(RKNumerology);
    QVERIFY(!dlg->hideAllImagesCheck->isChecked());
    dlg->kindCombo->setCurrentIndex(RKCelebrities);
    QVERIFY(dlg->hideAllImagesCheck->isChecked());
    // Another setting has its own flags.
    dlg->settingsList->setCurrentRow(2);
    dlg->OnRepName(RKCelebrities);
    QVERIFY(!dlg->hideAllImagesCheck->isChecked());
}

void TestLayoutManager::hideAllImagesFollowsSetting_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("ticked"); // after the command
    QTest::addColumn<QString>("clicked"); // the setting a click then changes

    QTest::newRow("selection") << "select" << false << "Alpha";
    QTest::newRow("new") << "new" << false << "Delta";
    QTest::newRow("copy") << "copy" << true << "Delta";
    QTest::newRow("rename") << "rename" << true << "Delta";
}

void TestLayoutManager::hideAllImagesFollowsSetting()
{
    QFETCH(QString, command);
    QFETCH(bool, ticked);
    QFETCH(QString, clicked);

    CLayoutManagerDlg *dlg = open(); // Beta hides the pictures of the Pet report
    dlg->kindCombo->setCurrentIndex(RKPet);
    QVERIFY(dlg->hideAllImagesCheck->isChecked());
    names = QStringList {QStringLiteral("Delta")};
    if (command == QLatin1String("select"))
        dlg->settingsList->setCurrentRow(0);
    else if (command == QLatin1String("new"))
        dlg->newButton->click();
    else if (command == QLatin1String("copy"))
        dlg->copyButton->click();
    else
        dlg->renameButton->click();
    QCOMPARE(dlg->hideAllImagesCheck->isChecked(), ticked);

    // One click stores the opposite of what the box showed, in that setting only.
    dlg->hideAllImagesCheck->click();
    const QString key = hideImagesKey(RKPet);
    for (const reportSetting &setting : qAsConst(dlg->settings)) {
        const QString expected = setting.name == clicked ? (ticked ? "FALSE" : "TRUE")
            : setting.name == QLatin1String("Beta")      ? "TRUE"
                                                         : QString();
        QCOMPARE(setting.flags.value(key), expected);
    }
}

namespace {

QString openedPicture;
QString openPicture(QWidget *, const QString &, const QString &)
{
    return openedPicture;
}

} // namespace

void TestLayoutManager::pictureBudget_data()
{
    QTest::addColumn<int>("elsewhere"); // pictures of 460 x 460 in another section
    QTest::addColumn<bool>("own"); // the slot holds one already
    QTest::addColumn<bool>("accepted");

    const int fit = int(LayoutLimits::MaxPicturePixels / (460 * 460));
    QTest::newRow("room for one more") << fit - 1 << false << true;
    QTest::newRow("no room left") << fit << false << false;
    QTest::newRow("in place of its own picture") << fit - 1 << true << true;
}

// A picture that would make the layout one the reader refuses is refused as it
// is opened, with a message; the section keeps what it had.
void TestLayoutManager::pictureBudget()
{
    QFETCH(int, elsewhere);
    QFETCH(bool, own);
    QFETCH(bool, accepted);

    QTemporaryDir dir;
    QImage picture(900, 900, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    openedPicture = dir.filePath(QStringLiteral("large.png"));
    QVERIFY(picture.save(openedPicture));
    LayoutDialogs::setOpenFileHandler(openPicture);

    CLayoutManagerDlg *dlg = open();
    QList<repItem> &sections = dlg->settings[1].items[RKCelebrities];
    addItemSet(&sections, RKCelebrities, 1, QString());
    addItemSet(&sections, RKCelebrities, 2, QString());
    QImage square(460, 460, QImage::Format_RGB32);
    square.fill(Qt::white);
    for (int i = 0; i < elsewhere; ++i)
        sections[0].images[i] = square;
    sections[1].defaultStyle = false;
    if (own)
        sections[1].images[0] = square;
    dlg->kindCombo->setCurrentIndex(RKCelebrities);
    dlg->OnItemSelected(orderTiles().at(1));

    onDialog = [](QDialog *dialog) {
        if (auto *editor = qobject_cast<CTextEditor *>(dialog)) {
            editor->OnImage();
            editor->OnOk();
        } else if (auto *preview = qobject_cast<CImagePreview *>(dialog)) {
            preview->OnImage();
            preview->OnOk();
        }
        return int(QDialog::Accepted);
    };
    dlg->editButton->click();
    const QImage kept = dlg->settings.at(1).items[RKCelebrities].at(1).images.at(0);
    if (accepted) {
        QVERIFY(messages.isEmpty());
        QCOMPARE(kept.size(), QSize(460, 460));
    } else {
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().title, QStringLiteral("Error"));
        QCOMPARE(messages.first().text, LayoutLimits::pictureRefusal());
        QVERIFY(kept.isNull());
    }
    QVERIFY(LayoutLimits::storeProblem(dlg->settings.at(1)).isEmpty());
}

namespace {

QFont pickedFont;
bool pickedNoBold = false;
QFont fontOffered;

bool acceptFont(CAppStyle *, QWidget *, QFont *font, bool noBold)
{
    fontOffered = *font;
    pickedNoBold = noBold;
    *font = pickedFont;
    return true;
}

bool cancelFont(CAppStyle *, QWidget *, QFont *font, bool noBold)
{
    fontOffered = *font;
    pickedNoBold = noBold;
    return false;
}

QColor offeredColor;
bool pickRed(CAppStyle *, QColor *color)
{
    offeredColor = *color;
    *color = QColor(200, 10, 20, 40);
    return true;
}

bool cancelColor(CAppStyle *, QColor *color)
{
    offeredColor = *color;
    return false;
}

} // namespace

void TestLayoutManager::fontsColoursAndTitle()
{
    CLayoutManagerDlg *dlg = open();
    // Without a section nothing opens.
    LayoutDialogs::setFontPicker(acceptFont);
    pickedFont = QFont(QStringLiteral("Courier"));
    pickedFont.setPixelSize(30);
    fontOffered = QFont();
    dlg->OnHeaderFont();
    QCOMPARE(fontOffered, QFont());

    // A section whose fonts are in points.
    dlg->settings[1].items[RKNumerology][0].headerFont = QFont(QStringLiteral("Arial"), 12);
    dlg->settings[1].items[RKNumerology][0].contentFont = QFont(QStringLiteral("Arial"), 12);
    dlg->setToItems(RKNumerology, 1);
    dlg->OnItemSelected(orderTiles().at(0));
    dlg->defaultCheck->click();

    LayoutDialogs::setFontPicker(cancelFont);
    dlg->headerFontButton->click();
    QCOMPARE(fontOffered.pixelSize(), 16);
    QVERIFY(!pickedNoBold);
    QCOMPARE(dlg->settings.at(1).items[RKNumerology].at(0).headerFont.pixelSize(), 16);
    dlg->contentFontButton->click();
    QVERIFY(pickedNoBold);
    QCOMPARE(dlg->settings.at(1).items[RKNumerology].at(0).contentFont.pixelSize(), 14);

    LayoutDialogs::setFontPicker(acceptFont);
    dlg->headerFontButton->click();
    QCOMPARE(dlg->settings.at(1).items[RKNumerology].at(0).headerFont, pickedFont);

    LayoutDialogs::setColorPicker(cancelColor);
    dlg->headerColorButton->click();
    QCOMPARE(dlg->settings.at(1).items[RKNumerology].at(0).headerColor, QColor(0, 0, 0));
    LayoutDialogs::setColorPicker(pickRed);
    dlg->contentColorButton->click();
    QCOMPARE(dlg->settings.at(1).items[RKNumerology].at(0).contentColor, QColor(200, 10, 20));
    QCOMPARE(dlg->settings.at(1).items[RKNumerology].at(0).headerColor, QColor(0, 0, 0));

    // The title box: Ok takes the text as typed, even empty; Cancel keeps it.
    names = QStringList {Cancel, QStringLiteral("  My heading "), QString()};
    dlg->nameButton->click();
    QCOMPARE(nameBoxes.last().title, QStringLiteral("New Name"));
    QCOMPARE(nameBoxes.last().text, QStringLiteral("Life Path"));
    QCOMPARE(dlg->settings.at(1).items[RKNumerology].at(0).title, QStringLiteral("Life Path"));
    dlg->nameButton->click();
    QCOMPARE(dlg->settings.at(1).items[RKNumerology].at(0).title, QStringLiteral("  My heading "));
    dlg->nameButton->click();
    QCOMPARE(dlg->settings.at(1).items[RKNumerology].at(0).title, QString());
    QVERIFY(messages.isEmpty());
}

// The real dialog path: the program's own "Style" and "Select Color" dialogs,
// answered with "Ok" at once or after one change.
void TestLayoutManager::ownFontAndColourDialogs_data()
{
    QTest::addColumn<int>("button"); // 0 header font, 1 content font, 2 header colour
    QTest::addColumn<bool>("change"); // italic flipped, or blue chosen
    QTest::addColumn<QString>("title");
    QTest::newRow("header font as it was") << 0 << false << "Style";
    QTest::newRow("content font as it was") << 1 << false << "Style";
    QTest::newRow("header font made italic") << 0 << true << "Style";
    QTest::newRow("colour as it was") << 2 << false << "Select Color";
    QTest::newRow("colour changed") << 2 << true << "Select Color";
}

void TestLayoutManager::ownFontAndColourDialogs()
{
    QFETCH(int, button);
    QFETCH(bool, change);
    QFETCH(QString, title);
    CLayoutManagerDlg *dlg = open();
    QFont serif(QStringLiteral("DejaVu Serif"));
    serif.setPixelSize(20);
    serif.setBold(true);
    serif.setUnderline(true);
    auto &item = dlg->settings[1].items[RKNumerology][0];
    item.headerFont = serif;
    item.contentFont = serif;
    item.headerColor = QColor(200, 10, 20);
    dlg->setToItems(RKNumerology, 1);
    dlg->OnItemSelected(orderTiles().at(0));
    dlg->defaultCheck->click();

    QStringList shown;
    onDialog = [&](QDialog *dialog) {
        shown << dialog->windowTitle();
        if (auto *style = qobject_cast<CTextDlgWin *>(dialog)) {
            shown << style->content->GetText()
                  << QString::number(style->content->boldButton->isHidden());
            if (change)
                style->content->italicButton->click();
            style->content->OnOk();
        } else if (auto *colour = qobject_cast<CColorDialog *>(dialog)) {
            if (change) {
                colour->slotSetColor(QColor(0, 0, 255));
                colour->slotUpdate();
            }
            colour->slotOk();
        }
        return int(QDialog::Accepted);
    };
    QPushButton *buttons[]
        = {dlg->headerFontButton, dlg->contentFontButton, dlg->headerColorButton};
    buttons[button]->click();

    const auto &after = dlg->settings.at(1).items[RKNumerology].at(0);
    if (button == 2) {
        QCOMPARE(shown, QStringList {title});
        QCOMPARE(after.headerColor, change ? QColor(0, 0, 255) : QColor(200, 10, 20));
        return;
    }
    QCOMPARE(shown, (QStringList {title, QStringLiteral("Example Text"), QString::number(button)}));
    QFont expected = serif;
    expected.setItalic(change);
    const QFont font = button == 0 ? after.headerFont : after.contentFont;
    QCOMPARE(font.family(), expected.family());
    QCOMPARE(font.bold(), true);
    QCOMPARE(font.italic(), change);
    QCOMPARE(font.underline(), true);
    QCOMPARE(font.pixelSize(), 20);
}

void TestLayoutManager::textEditStoresCustomText()
{
    resetTextTables();
    numerCustomText[0] = QStringLiteral("<p>Your custom text here</p>");
    CLayoutManagerDlg *dlg = open();
    dlg->OnItemSelected(orderTiles().at(2)); // Custom Text
    dlg->defaultCheck->click();
    QVERIFY(dlg->editButton->isEnabled());

    onDialog = [](QDialog *dialog) {
        auto *editor = qobject_cast<CTextEditor *>(dialog);
        if (!editor)
            return int(QDialog::Rejected);
        editor->textEdit->setHtml(QStringLiteral("<p>First</p><p>Second</p>"));
        editor->OnOk();
        return int(QDialog::Accepted);
    };
    dlg->editButton->click();
    const repItem &item = dlg->settings.at(1).items[RKNumerology].at(2);
    QCOMPARE(item.useStdText.at(0), false);
    const QString stored = item.texts.at(0);
    QCOMPARE(stored.count(QLatin1String("<p")), 2);
    QCOMPARE(stored.count(QLatin1String("<!-- md --><br><p")), 2);
    QVERIFY(stored.contains(QLatin1String("First")));

    // A cancelled editor changes nothing.
    onDialog = [](QDialog *dialog) {
        if (auto *editor = qobject_cast<CTextEditor *>(dialog)) {
            editor->textEdit->setPlainText(QStringLiteral("Other"));
            editor->OnCancel();
        }
        return int(QDialog::Rejected);
    };
    dlg->editButton->click();
    QCOMPARE(dlg->settings.at(1).items[RKNumerology].at(2).texts.at(0), stored);

    dlg->OnOk();
    QCOMPARE(readLayouts().at(1).items[RKNumerology].at(2).texts.at(0), stored);
}

namespace {
QString keptAfterPaste;
}

// A paste that makes a section's text longer than a layout stores is taken
// back at once, with a message naming the layout, the section and the
// excess; what the editor keeps is saved.
void TestLayoutManager::textEditRefusesTooLongPaste()
{
    resetTextTables();
    numerLifePath[0] = QStringLiteral("<p>Heading</p>");
    CLayoutManagerDlg *dlg = open();
    dlg->OnItemSelected(orderTiles().at(0));
    dlg->defaultCheck->click();
    onDialog = [](QDialog *dialog) {
        auto *editor = qobject_cast<CTextEditor *>(dialog);
        if (!editor)
            return int(QDialog::Rejected);
        editor->textEdit->setPlainText(QStringLiteral("Kept"));
        // Some 3 pages more than a text holds, in paragraphs of prose.
        const QString paragraph = QStringLiteral("Seven is a seeker. ").repeated(40);
        const int paragraphs = (SectionMarkup::MaxTextLength + 3 * SectionMarkup::StoredPageLength)
            / paragraph.size();
        auto *mime = new QMimeData;
        mime->setText((paragraph + QLatin1Char('\n')).repeated(paragraphs));
        QGuiApplication::clipboard()->setMimeData(mime);
        editor->textEdit->moveCursor(QTextCursor::End);
        editor->textEdit->paste();
        keptAfterPaste = editor->textEdit->toPlainText();
        editor->OnOk();
        return int(QDialog::Accepted);
    };
    keptAfterPaste.clear();
    dlg->editButton->click();
    QCOMPARE(keptAfterPaste, QStringLiteral("Kept"));
    QCOMPARE(messages.size(), 1);
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("\\AThe text of \"Life Path\" in the layout \"Beta\" "
                                            "would be (\\d+) pages longer than a section text can "
                                            "be\\.\\z"))
              .match(messages.first().text);
    QVERIFY2(match.hasMatch(), qPrintable(messages.first().text));
    QVERIFY(match.captured(1).toInt() >= 3);
    QVERIFY(
        dlg->settings.at(1).items[RKNumerology].at(0).texts.at(0).contains(QLatin1String("Kept")));
    dlg->OnOk();
    QCOMPARE(messages.size(), 1);
}

void TestLayoutManager::editTable_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("table");

    QTest::newRow("life path") << 0 << 1 << "numerLifePath";
    QTest::newRow("minor personality") << 0 << 21 << "numerPersonality";
    QTest::newRow("numerology header") << 0 << 0 << "";
    QTest::newRow("numerology 23") << 0 << 23 << "numerKarmDebts";
    QTest::newRow("numerology 24") << 0 << 24 << "";
    QTest::newRow("numerology bridge detail") << 0 << 34 << "numerBridgeHDPDet";
    QTest::newRow("numerology past the last") << 0 << 36 << "";
    QTest::newRow("negative type") << 0 << -1 << "";
    QTest::newRow("numerology custom") << 0 << 35 << "numerCustomText";
    QTest::newRow("matrix 7") << 1 << 7 << "numer7";
    QTest::newRow("matrix sexual") << 1 << 17 << "numerSexualLife";
    QTest::newRow("love header") << 2 << 0 << "numerDetComp";
    QTest::newRow("love psycho-matrix") << 2 << 4 << "";
    QTest::newRow("love energy") << 2 << 9 << "numerPMEnergyComp";
    QTest::newRow("love final") << 2 << 10 << "numerDetComp";
    QTest::newRow("love past the last") << 2 << 12 << "";
    QTest::newRow("celebrities expression") << 3 << 3 << "numerCelExpr";
    QTest::newRow("pet forecast") << 4 << 2 << "numerPetDForecast";
    QTest::newRow("pet header") << 4 << 0 << "";
    QTest::newRow("kind out of range") << 5 << 1 << "";
}

void TestLayoutManager::editTable()
{
    QFETCH(int, kind);
    QFETCH(int, type);
    QFETCH(QString, table);
    const QMap<QString, QString *> tables
        = {{"numerLifePath", numerLifePath},         {"numerPersonality", numerPersonality},
           {"numerCustomText", numerCustomText},     {"numer7", numer7},
           {"numerSexualLife", numerSexualLife},     {"numerDetComp", numerDetComp},
           {"numerPMEnergyComp", numerPMEnergyComp}, {"numerCelExpr", numerCelExpr},
           {"numerPetDForecast", numerPetDForecast}, {"numerKarmDebts", numerKarmDebts},
           {"numerBridgeHDPDet", numerBridgeHDPDet}};
    QString *found = nullptr;
    int size = 0;
    CLayoutManagerDlg::getMassText(kind, type, &found, &size);
    QCOMPARE(found, tables.value(table, nullptr));
    if (table == QLatin1String("numerCustomText") || kind == RKCelebrities)
        QCOMPARE(size, 256);
    else if (found)
        QCOMPARE(size, 128);
}

void TestLayoutManager::dragAndDrop_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("tile");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QStringList>("titles"); // Beta's Numerology sections afterwards
    QTest::addColumn<int>("selected"); // index in the order list, -1 none

    const QStringList beta = {"Life Path", "Expression", "Notes"};
    QTest::newRow("template on top")
        << "available" << 1 << "order" << QPoint(50, 10)
        << QStringList {"Life Path Number", "Life Path", "Expression", "Notes"} << 0;
    QTest::newRow("template between")
        << "available" << 0 << "order" << QPoint(50, 30)
        << QStringList {"Life Path", "Numerology Chart for", "Expression", "Notes"} << 1;
    QTest::newRow("template below the last") << "available" << 33 << "order" << QPoint(50, 400)
                                             << (beta + QStringList {"Custom Text"}) << 3;
    QTest::newRow("template on the top edge")
        << "available" << 2 << "order" << QPoint(50, 0)
        << QStringList {"Birthday Number", "Life Path", "Expression", "Notes"} << 0;
    QTest::newRow("reorder down") << "order" << 0 << "order" << QPoint(50, 40)
                                  << QStringList {"Expression", "Life Path", "Notes"} << 1;
    QTest::newRow("reorder to the end") << "order" << 0 << "order" << QPoint(50, 300)
                                        << QStringList {"Expression", "Notes", "Life Path"} << 2;
    QTest::newRow("onto its own place") << "order" << 1 << "order" << QPoint(50, 30) << beta << 1;
    QTest::newRow("out of the layout") << "order" << 1 << "available" << QPoint(50, 30)
                                       << QStringList {"Life Path", "Notes"} << -1;
    QTest::newRow("template on templates")
        << "available" << 3 << "available" << QPoint(50, 30) << beta << -1;
    QTest::newRow("dropped nowhere") << "order" << 0 << "" << QPoint() << beta << -2;
}

void TestLayoutManager::dragAndDrop()
{
    QFETCH(QString, from);
    QFETCH(int, tile);
    QFETCH(QString, to);
    QFETCH(QPoint, pos);
    QFETCH(QStringList, titles);
    QFETCH(int, selected);

    CLayoutManagerDlg *dlg = open();
    CWCLContainerWidget *order = dlg->lists.at(0)->containerWidget;
    CWCLContainerWidget *available = dlg->lists.at(1)->containerWidget;
    const auto surface = [&](const QString &name) {
        return name == QLatin1String("order")    ? order
            : name == QLatin1String("available") ? available
                                                 : nullptr;
    };
    CWCLContainerWidget *source = surface(from);
    CWCLItem *dragged = source->items().at(tile);
    // Something else is selected before the drag.
    dlg->OnItemSelected(order->items().at(2));
    dragTile(source, dragged, surface(to), pos);

    QCOMPARE(::titles(dlg->settings.at(1).items[RKNumerology]), titles);
    QStringList shown;
    for (CWCLItem *item : order->items())
        shown << item->title;
    QCOMPARE(shown, titles);
    QCOMPARE(available->items().size(), 34);
    QCOMPARE(order->itemList.count(nullptr), 0);
    if (selected == -2) {
        QVERIFY(order->items().at(2)->selected); // untouched
        QVERIFY(dragged->isVisibleTo(order));
    } else if (selected < 0) {
        QVERIFY(!dlg->currentItem);
        QVERIFY(!dlg->nameButton->isEnabled());
    } else {
        QCOMPARE(dlg->currentItem.data(), order->items().at(selected));
        QVERIFY(dlg->currentItem->selected);
        QCOMPARE(dlg->currentItem->pos(), dlg->currentItem->targetPos);
        QVERIFY(!dlg->currentItem->copyOnDrag);
        QVERIFY(dlg->defaultCheck->isEnabled());
    }
    for (int i = 0; i < order->itemList.size(); ++i)
        QCOMPARE(order->itemList.at(i)->targetPos, QPoint(6, 24 * i + 4));
}

void TestLayoutManager::entriesPaddedOnWriteBack()
{
    QList<reportSetting> settings = standardSettings();
    repItem shortItem = section(RKNumerology, 1, QStringLiteral("Short"));
    shortItem.texts = QStringList {QStringLiteral("one"), QStringLiteral("two")};
    shortItem.images = {QImage()};
    shortItem.useStdText = {false, false, false};
    settings[2].items[RKNumerology] = {shortItem};
    writeLayouts(settings);
    QCOMPARE(readLayouts().at(2).items[RKNumerology].first().texts.size(), 2);

    CLayoutManagerDlg *dlg = open(QStringLiteral("Gamma"));
    const repItem &item = dlg->settings.at(2).items[RKNumerology].first();
    QCOMPARE(item.texts.size(), 256);
    QCOMPARE(item.images.size(), 256);
    QCOMPARE(item.useStdText.size(), 256);
    QCOMPARE(item.texts.at(1), QStringLiteral("two"));
    QCOMPARE(item.useStdText.at(2), false);
    QCOMPARE(item.useStdText.at(3), true);
    dlg->OnOk();
    const repItem stored = readLayouts().at(2).items[RKNumerology].first();
    QCOMPARE(stored.texts.size(), 256);
    QCOMPARE(stored.name, getItemName(RKNumerology, 1));
}

QTEST_MAIN(TestLayoutManager)
#include "tst_layoutmanager.moc"
