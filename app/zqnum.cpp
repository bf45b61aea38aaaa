#include "app/zqnum.h"

#include "app/myqwebengineview.h"
#include "app/startup.h"
#include "app/updatecheck.h"
#include "base/apppaths.h"
#include "engine/chartnumerology.h"
#include "engine/compnumerology.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"
#include "engine/readingsdb.h"
#include "layouts/layoutfolder.h"
#include "panels/expandwidget.h"
#include "panels/infoessencewidget.h"
#include "panels/infotodaywidget.h"
#include "panels/infowidget.h"
#include "reportmanager/layoutmanagerdlg.h"
#include "style/appstyle.h"
#include "style/dialogsupport.h"
#include "style/settingsdlg.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimeLine>
#include <QTimer>

namespace {

int runDialog(QDialog *dialog)
{
    return dialog->exec();
}

QString hoverButtonSheet(const QString &folder, const QString &image, const QString &hover)
{
    return QStringLiteral("QPushButton, QPushButton:pressed { background: none; border-image: url(")
        + folder + QStringLiteral("/") + image
        + QStringLiteral("); }            QPushButton:hover { border-image: url(") + folder
        + QStringLiteral("/") + hover + QStringLiteral("); }");
}

QString boxButtonSheet(const QString &folder, const QString &image, const QString &hover)
{
    return QStringLiteral("QPushButton, QPushButton:pressed { border: none; background-image: url(")
        + folder + QStringLiteral("/") + image
        + QStringLiteral("); }            QPushButton:hover { background-image: url(") + folder
        + QStringLiteral("/") + hover + QStringLiteral("); }");
}

} // namespace

int (*CZQNum::execDialog)(QDialog *dialog) = runDialog;

CZQNum::CZQNum(QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags)
{
    m_BlinkLine = new QTimeLine(1000);
    m_BlinkLine->setParent(this);
    m_Menu = new QMenu(QStringLiteral("Numerology"), this);

    const QString imagesFolder = QFileInfo(QCoreApplication::applicationDirPath()).path()
        + QStringLiteral("/Resources/") + QStringLiteral("images/");
    m_Style = new CAppStyle(imagesFolder);

    m_Network = new QNetworkAccessManager(this);
    // The update check listens to the manager's finished signal itself.
    m_UpdateCheck = new CUpdateCheck(m_Network, this);

    m_NumerologistLabel = new QLabel(QStringLiteral("Numerologist:"), this);
    m_NumerologistLabel->resize(180, 25);
    m_NumerologistCombo = new QComboBox(this);
    m_NumerologistCombo->resize(160, 25);
    m_ReportManagerButton = new QPushButton(this);
    m_ReportManagerButton->resize(21, 25);

    setWindowTitle(QStringLiteral("Lumaro Numerology 7"));
    m_PanelOpen = false;
    loadRes(imagesFolder);

    loadDB();

    m_Person = new CNumerology(this);
    m_PersonMatrix = new CNumerologyPMatrix(this);
    m_Pet = new CNumerology(this);
    m_Partner = new CNumerology(this);
    m_PartnerMatrix = new CNumerologyPMatrix(this);
    m_Comp = new CCompNumerology(this);
    m_Chart = new CChartNumerology(this);
    m_Analyzer = new CNumerology(this);
    m_Celebrity = new CNumerology(this);
    m_DocFolder = imagesFolder + QStringLiteral("doc/");
    m_Person->preloadRes(m_DocFolder);
    m_PersonMatrix->preloadRes(m_DocFolder);
    m_Partner->preloadRes(m_DocFolder);
    m_PartnerMatrix->preloadRes(m_DocFolder);
    m_Comp->preloadRes(m_DocFolder);
    m_Analyzer->preloadRes(m_DocFolder);
    m_Celebrity->preloadRes(imagesFolder + QStringLiteral("doc2/"));

    const QString &f = imagesFolder;
    m_ButtonSheetMenu
        = hoverButtonSheet(f, QStringLiteral("menubut.png"), QStringLiteral("menubuth.png"));
    m_ButtonSheetReset
        = hoverButtonSheet(f, QStringLiteral("resbut.png"), QStringLiteral("resbuth.png"));
    m_ButtonSheetInfo
        = hoverButtonSheet(f, QStringLiteral("infobut.png"), QStringLiteral("infobuth.png"));
    m_ButtonSheetSave
        = hoverButtonSheet(f, QStringLiteral("savebut.png"), QStringLiteral("savebuth.png"));
    m_ButtonSheetPrint
        = hoverButtonSheet(f, QStringLiteral("printbut.png"), QStringLiteral("printbuth.png"));
    m_SaveBSheet
        = boxButtonSheet(f, QStringLiteral("savebbut.png"), QStringLiteral("savebbuth.png"));
    m_OpenBSheet
        = boxButtonSheet(f, QStringLiteral("openbbut.png"), QStringLiteral("openbbuth.png"));
    m_NewBSheet = boxButtonSheet(f, QStringLiteral("newbbut.png"), QStringLiteral("newbbuth.png"));
    m_CaptionSheet = QStringLiteral(
        "QLabel { background: none; border: none; color: #9cb62d; font: bold 12px; }");
    qsGlobalDlgStyle = globalDialogStyleSheet(f);
    m_SplashSheet
        = QStringLiteral("QLabel { background: none; border: none; color: #eddbb2; font: 24px; }");

    buildPageFrame();
    buildToolColumn();
    buildViews();
    buildPanels();
    buildBoxes();
    buildEntryPanel();
    buildTopButtons();
    buildAnimations();
    updateRecentList();

    // A member timer rather than a free single shot, so that a completion
    // step run early (by a test) is not run a second time.
    m_StartTimer = new QTimer(this);
    m_StartTimer->setSingleShot(true);
    m_StartTimer->setInterval(2600);
    connect(m_StartTimer, &QTimer::timeout, this, &CZQNum::OnFinishedSU);
    m_StartTimer->start();

    buildMenu();
    buildExport();
    setDateFormat(m_Settings.dayFirst);
    setFullManual();

    loadReportSettings(&m_Layouts, getUserFolder(), nullptr, false, &m_RefusedLayouts);
    fillLayoutCombo(QString());
    connect(m_NumerologistCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &CZQNum::OnSelReport);
    connect(m_ReportManagerButton, &QPushButton::clicked, this, &CZQNum::OnReportManager);

    OnResData();
    m_CurrentPage = 0;

    setMinimumSize(1015, 570);
    QSize initial(1100, 700);
    if (const QScreen *screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        initial = QSize(qMin(available.width(), 1100), qMin(available.height(), 700));
    }
    resize(initial.expandedTo(minimumSize()));

    setMode(0);
    slotPNC(m_ForecastDate->date());
    buildSplash();
    initStyle();

    connect(m_BlinkLine, &QTimeLine::frameChanged, this, &CZQNum::OnPersButAnim);
    connect(m_BlinkLine, &QTimeLine::finished, this, &CZQNum::OnPersButAnimFinish);
}

CZQNum::~CZQNum()
{
    if (m_StartupFinished) {
        OnSaveFile(true);
        saveData();
    }
    // The panels paint with the style engine, so they go before it does.
    const QList<QWidget *> widgets = findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    qDeleteAll(widgets);
    delete m_Style;
    m_Style = nullptr;
}

void CZQNum::loadDB()
{
    loadReadingsDatabase(readingsDatabasePath());
}

void CZQNum::loadRes(const QString &imagesFolder)
{
    m_ImagesFolder = imagesFolder;
    m_StyleFolder = imagesFolder;
    resLoadIcon(QStringLiteral("savebuth.png"), m_SaveIcon);
    resLoadIcon(QStringLiteral("infobuth.png"), m_InfoIcon);
    resLoadIcon(QStringLiteral("infobuth.png"), m_HelpIcon);
    resLoadIcon(QStringLiteral("printbuth.png"), m_PrintIcon);
    resLoadIcon(QStringLiteral("savebuth.png"), m_SaveAllIcon);
    resLoadIcon(QStringLiteral("menubuth.png"), m_MenuIcon);
    resLoadImage(QStringLiteral("tbar.png"), m_TBarImage);
    resLoadImage(QStringLiteral("tbar2.png"), m_TBar2Image);
    resLoadImage(QStringLiteral("todaywidg.png"), m_TodayImage);
    resLoadImage(QStringLiteral("logo.png"), m_LogoImage);
    resLoadImage(QStringLiteral("logoh.png"), m_LogoHImage);
    resLoadImage(QStringLiteral("input-field.png"), m_InputFieldImage);
    resLoadImage(QStringLiteral("input-bot.png"), m_InputBotImage);
    resLoadImage(QStringLiteral("input-top.png"), m_InputTopImage);
    resLoadImage(QStringLiteral("input-top-opt.png"), m_InputTopOptImage);
    resLoadImage(QStringLiteral("input2-field.png"), m_Input2FieldImage);
    resLoadImage(QStringLiteral("input2-bot.png"), m_Input2BotImage);
    resLoadImage(QStringLiteral("input2-top-opt.png"), m_Input2TopOptImage);
}

bool CZQNum::resLoadImage(const QString &name, QImage &image)
{
    QImage loaded;
    const bool ok = loaded.load(m_ImagesFolder + name);
    image = loaded;
    return ok;
}

void CZQNum::resLoadIcon(const QString &name, QIcon &icon)
{
    icon = QIcon(m_ImagesFolder + name);
}

void CZQNum::buildMenu()
{
    m_StyleMenu = m_Menu->addMenu(QStringLiteral("Style"));
    m_StyleGroup = new QActionGroup(this);
    m_StyleGroup->setExclusive(true);
    for (const QString &name : qAsConst(m_Style->schemeNames)) {
        QAction *action = new QAction(name, this);
        action->setCheckable(true);
        m_StyleGroup->addAction(action);
        m_StyleMenu->addAction(action);
        connect(action, &QAction::triggered, this, &CZQNum::OnStyleChange);
    }
    // No action is checked until the start-up step has read the stored
    // scheme, so an index beyond the list leaves the scheme as it is.

    m_SettingsAction = new QAction(QStringLiteral("Calculator Settings"), this);
    connect(m_SettingsAction, &QAction::triggered, this, &CZQNum::OnSettings);
    m_AboutAction = new QAction(m_InfoIcon, QStringLiteral("About"), this);
    connect(m_AboutAction, &QAction::triggered, this, &CZQNum::OnAbout);
    m_HelpAction = new QAction(m_HelpIcon, QStringLiteral("Help"), this);
    connect(m_HelpAction, &QAction::triggered, this, &CZQNum::OnHelp);
    m_SupportAction = new QAction(QStringLiteral("Support"), this);
    connect(m_SupportAction, &QAction::triggered, this, &CZQNum::OnSupport);
    m_SavePdfAction = new QAction(m_SaveAllIcon, QStringLiteral("Save All Reports to PDF"), this);
    connect(m_SavePdfAction, &QAction::triggered, this, &CZQNum::OnExportPDFAll);
    m_PrintAction = new QAction(m_PrintIcon, QStringLiteral("Print"), this);
    m_PrintAction->setShortcut(QKeySequence(tr("Ctrl+P")));
    addAction(m_PrintAction); // the shortcut works while the menu is closed
    connect(m_PrintAction, &QAction::triggered, this, &CZQNum::OnExportPDFAll);
    m_SaveReportAction = new QAction(m_SaveIcon, QStringLiteral("Save Report"), this);
    connect(m_SaveReportAction, &QAction::triggered, this, &CZQNum::OnExportHTML);

    m_Menu->addAction(m_SettingsAction);
    m_Menu->addSeparator();
    m_Menu->addAction(m_AboutAction);
    m_Menu->addAction(m_HelpAction);
    m_Menu->addAction(m_SupportAction);
    m_Menu->addSeparator();
    m_Menu->addAction(m_SavePdfAction);
    m_Menu->addAction(m_PrintAction);
    m_Menu->addAction(m_SaveReportAction);
}

void CZQNum::buildTopButtons()
{
    const auto make = [this](const QString &sheet) {
        QPushButton *button = new QPushButton(this);
        button->resize(20, 20);
        button->setStyleSheet(sheet);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    m_MenuButton = make(m_ButtonSheetMenu);
    m_ResetButton = make(m_ButtonSheetReset);
    m_AboutButton = make(m_ButtonSheetInfo);
    m_SaveHtmlButton = make(m_ButtonSheetSave);
    m_PrintButton = make(m_ButtonSheetPrint);
    connect(m_MenuButton, &QPushButton::clicked, this, &CZQNum::OnMenu);
    connect(m_ResetButton, &QPushButton::clicked, this, &CZQNum::OnResData);
    connect(m_AboutButton, &QPushButton::clicked, this, &CZQNum::OnAbout);
    connect(m_SaveHtmlButton, &QPushButton::clicked, this, &CZQNum::OnExportHTML);
    connect(m_PrintButton, &QPushButton::clicked, this, &CZQNum::OnExportPDFAll);
}

void CZQNum::fillLayoutCombo(const QString &select)
{
    m_NumerologistCombo->clear();
    m_NumerologistCombo->addItem(QStringLiteral("Default"));
    for (const reportSetting &setting : qAsConst(m_Layouts))
        m_NumerologistCombo->addItem(setting.name);
    if (select.isNull())
        return;
    const int found = m_NumerologistCombo->findData(select, Qt::DisplayRole, Qt::MatchFixedString);
    if (found >= 0)
        m_NumerologistCombo->setCurrentIndex(found);
    else if (m_NumerologistCombo->count() > 0)
        m_NumerologistCombo->setCurrentIndex(0);
}

// Settings

void CZQNum::saveData()
{
    m_Settings.takeGlobSettings();
    saveSettingsFile(settingsFilePath(), m_Settings);
}

void CZQNum::loadData()
{
    m_Settings.takeGlobSettings();
    loadSettingsFile(settingsFilePath(), &m_Settings);
    m_Settings.applyGlobSettings();
}

void CZQNum::setDateFormat(bool dayFirst)
{
    const QString format = dayFirst ? QStringLiteral("dd/MM/yyyy") : QStringLiteral("MM/dd/yyyy");
    for (QDateEdit *edit : {m_BirthDate, m_PartnerBirthDate, m_ForecastDate, m_PetDate, m_AnDate}) {
        if (edit)
            edit->setDisplayFormat(format);
    }
}

void CZQNum::checkForUpdates()
{
    m_Settings.lastCheck = m_UpdateCheck->checkForUpdates();
}

void CZQNum::replyFinished(QNetworkReply *reply)
{
    m_UpdateCheck->replyFinished(reply);
}

void CZQNum::OnSettings()
{
    CSettingsDlg *dialog = new CSettingsDlg(nullptr);
    dialog->setValues(m_GlobSettings, m_Settings.masterNumbersMode, m_Settings.dayFirst);
    if (execDialog(dialog) == QDialog::Accepted) {
        dialog->values(m_GlobSettings, &m_Settings.masterNumbersMode, &m_Settings.dayFirst);
        m_Settings.takeGlobSettings();
        setDateFormat(m_Settings.dayFirst);
        OnCalcNum();
    }
    delete dialog;
}

void CZQNum::OnFinishedSU()
{
    if (m_StartupFinished)
        return;
    m_StartTimer->stop();
    loadData();
    if (CUpdateCheck::isDue(m_Settings.lastCheck, QDateTime::currentDateTime()))
        checkForUpdates();
    setDateFormat(m_Settings.dayFirst);
    const QList<QAction *> styles = m_StyleGroup->actions();
    if (unsigned(m_Settings.schemeIndex) < unsigned(m_Style->schemes.size())
        && m_Settings.schemeIndex < styles.size())
        styles.at(m_Settings.schemeIndex)->setChecked(true);
    OnStyleChange();
    OnOpenFile(true);
    OnCalcNum();
    if (m_NameCaption != QStringLiteral("ENTER YOUR NAME")) {
        m_BlinkLine->stop();
        m_Style->setWidgetStyle(m_NameButton, WTPersonButton);
    }
    m_NameButton->setText(m_NameCaption);
    OnUpdateListReport();
    repaintChart();
    delete m_Splash;
    m_Splash = nullptr;
    resizeEvent(nullptr);
    m_StartupFinished = true;
    const QString refused = Startup::refusedLayoutsMessage(m_RefusedLayouts);
    m_RefusedLayouts.clear();
    if (!refused.isEmpty())
        CNumerology::s_criticalMessage(this, QStringLiteral("Warning"), refused);
    showStartPage();
}

// Colour schemes and layout choice

void CZQNum::OnStyleChange()
{
    const QList<QAction *> actions = m_StyleGroup->actions();
    for (int i = 0; i < actions.size(); ++i) {
        if (actions.at(i)->isChecked()) {
            OnApplyStyle(i);
            m_Settings.schemeIndex = i;
            return;
        }
    }
}

void CZQNum::OnApplyStyle(int a)
{
    const QList<QAction *> actions = m_StyleGroup->actions();
    if (a >= 0 && a < actions.size())
        actions.at(a)->setChecked(true);
    m_Style->setGlobalStyle(a);
    initStyle();
    emit updateStyle();
    update();
}

void CZQNum::OnSelReport(int index)
{
    Q_UNUSED(index)
    OnCalcNum();
}

void CZQNum::OnReportManager()
{
    const QString remembered = m_NumerologistCombo->currentText();
    CLayoutManagerDlgWin *manager = new CLayoutManagerDlgWin(m_Style, remembered, this);
    execDialog(manager);
    if (manager->content->resultCode != 0) {
        const int found
            = m_NumerologistCombo->findData(remembered, Qt::DisplayRole, Qt::MatchFixedString);
        if (found >= 0)
            m_NumerologistCombo->setCurrentIndex(found);
        else if (m_NumerologistCombo->count() > 0)
            m_NumerologistCombo->setCurrentIndex(0);
    } else {
        m_NumerologistCombo->clear();
        // What the manager stored is what its folder holds, unless the user
        // had the folder open or a layout was not stored.
        if (manager->content->settingsAsStored)
            m_Layouts = inFolderOrder(manager->content->settings);
        else
            loadReportSettings(&m_Layouts, getUserFolder(), nullptr, false);
        fillLayoutCombo(manager->content->chosenName);
    }
    delete manager;
}
