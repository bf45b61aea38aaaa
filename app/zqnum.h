#pragma once

#include "app/painterboard.h"
#include "app/settingsfile.h"
#include "layouts/reportsetting.h"
#include "panels/peoplefile.h"

#include <QDateTime>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QMainWindow>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QVector>

#include <array>

class CAppStyle;
struct calcNumContainer;
class CChartNumerology;
class CCompNumerology;
class CExpandWidget;
class CInfoCalendarWidget;
class CInfoCompMatrWidget;
class CInfoEssenceWidget;
class CInfoExprPlanWidget;
class CInfoMatrWidget;
class CInfoNameWidget;
class CInfoTodayWidget;
class CInfoWidget;
class CNumerology;
class CNumerologyPMatrix;
class CReportExport;
class CUpdateCheck;
class MyQWebEngineView;
class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QNetworkAccessManager;
class QNetworkReply;
class QParallelAnimationGroup;
class QPropertyAnimation;
class QPushButton;
class QScrollArea;
class QTimeLine;
class QTimer;
class QWebEngineView;

// The geometry of the main window's pages as a function of the client size,
// kept apart from the widgets so that it can be checked on its own.
namespace MainWindowLayout {

constexpr int PageCount = 9;

enum Page {
    PageNumerology = 0,
    PagePsychoMatrix = 1,
    PageCompatibility = 2,
    PageCelebrities = 3,
    PagePet = 4,
    PageChart = 5,
    PageNameAdvisor = 6,
    PageForecast = 7,
    PageGuide = 8
};

// The rectangle of the page area for a page at client size (w, h).
QRect pageRect(int page, int w, int h);
// Slot of a page's button in the tool column (0 top to 8 bottom).
int toolSlot(int page);
// Left edge of the panels that sit below or beside the report view.
int centreX(int w);
// Top-left corner of a dialog centred over the window, never at a negative
// coordinate.
QPoint centredOver(const QRect &window, const QSize &dialog);

} // namespace MainWindowLayout

// The program's main window: owns the reading engines, the result panels,
// the report views, the tool column with its nine pages, the input panel,
// the menu and the settings that travel between runs.
class CZQNum : public QMainWindow
{
    Q_OBJECT

public:
    explicit CZQNum(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~CZQNum() override;

    // Loads the readings database from the resources folder into the text
    // tables, once, before any engine object exists.
    void loadDB();

    void loadRes(const QString &imagesFolder);
    bool resLoadImage(const QString &name, QImage &image);
    void resLoadIcon(const QString &name, QIcon &icon);

    void setMode(int page);
    QRect calcNWGeometry(int page);

    void saveData();
    void loadData();
    void setDateFormat(bool dayFirst);
    void checkForUpdates();
    void updateRecentList();
    // The caption of a recent-person button.
    static QString recentCaption(const PersonRecord &record);
    void repaintChart();
    // Ends what is being typed into every date box, so that a command counts
    // with the dates the boxes show. False when a typed date was refused:
    // the user has been told why, the box kept its date, and the command
    // does not go on.
    bool settleDates();
    // Throws away what is being typed into every date box, for a command
    // that puts its own dates there: no typed date or refusal of one comes
    // back when the focus leaves the box.
    void discardDates();
    // A person's name that the calculator cannot value: the user is told,
    // every reading is emptied and the typed text stays.
    void rejectPersonName();
    // Loads the whole guide into the Guide page's view.
    void setFullManual();
    // The help pop-up of a topic with a picture of the images folder (none
    // when empty).
    void showHelper(int topic, const QString &picture);
    // The guide's welcome page, unless the user switched it off.
    void showStartPage();

    // Runs a modal dialog and returns exec()'s result; replaceable so that a
    // test never blocks on the layout manager or the settings dialog.
    static int (*execDialog)(QDialog *dialog);
    // Asks for a file to save (save true) or open; returns the chosen path,
    // empty when cancelled. The save dialog does not ask whether to replace
    // a file: the caller asks about the file it will write. Replaceable for
    // the same reason.
    static QString (*askFileName)(bool save, const QString &title, const QString &folder,
                                  const QString &filter);

    // Renders a chart template for the Graphic Chart page and the exports;
    // replaceable so that a test can count the renderings.
    static QImage (*renderChart)(const QString &path, const calcNumContainer &people,
                                 const QSize &size, CAppStyle *style, QString *error);
    // Runs the chart designer modally on a template (empty path: a new one)
    // and returns the path of the template it saved, empty when none.
    // Replaceable so that a test never opens the designer.
    static QString (*chartDesigner)(CZQNum *window, const QString &templatePath);

    // The chosen chart layout rendered with the current people: fitted into
    // size, or at full resolution for 0 x 0; null when there is no layout or
    // it cannot be read (the reason in *error).
    QImage getChart(QSize size, QString *error = nullptr);
    // Whether the chart template at path may be drawn: a template from
    // elsewhere is tried once (FileTrial); *error holds the refusal.
    bool chartTried(const QString &path, QString *error);
    QString runChartDesigner(const QString &templatePath);
    // The person's and the partner's engines, as the designer reads them;
    // null for one not entered (no partner without a person).
    calcNumContainer chartPeople() const;

    // saving, exporting and printing the readings
    CReportExport *m_Export = nullptr;
    // stored options and update check
    AppSettings m_Settings;
    bool m_StartupFinished = false;
    QNetworkAccessManager *m_Network = nullptr;
    CUpdateCheck *m_UpdateCheck = nullptr;
    QString m_DocFolder;

    // layout choice
    QLabel *m_NumerologistLabel = nullptr;
    QComboBox *m_NumerologistCombo = nullptr;
    QPushButton *m_ReportManagerButton = nullptr;

    // skin, in loadRes order
    QIcon m_SaveIcon, m_InfoIcon, m_HelpIcon, m_PrintIcon, m_SaveAllIcon, m_MenuIcon;
    QImage m_TBarImage, m_TBar2Image, m_TodayImage, m_LogoImage, m_LogoHImage;
    QImage m_InputFieldImage, m_InputBotImage, m_InputTopImage, m_InputTopOptImage;
    QImage m_Input2FieldImage, m_Input2BotImage, m_Input2TopOptImage;
    QString m_ImagesFolder;
    QString m_StyleFolder;

    // navigation
    int m_CurrentPage = 0;
    bool m_PanelOpen = false;

    CAppStyle *m_Style = nullptr;
    CExpandWidget *m_ExpandWidget = nullptr;

    // page frame
    QWidget *m_PageArea = nullptr;
    QWidget *m_ToolColumn = nullptr;
    QScrollArea *m_ToolScroll = nullptr;
    QLabel *m_Separator = nullptr;
    QLabel *m_SelectionLabel = nullptr;
    QWidget *m_EntryPanel = nullptr;
    QWidget *m_InputPanel = nullptr;

    // report views
    MyQWebEngineView *m_NumerologyView = nullptr;
    MyQWebEngineView *m_PMatrixView = nullptr;
    MyQWebEngineView *m_CompView = nullptr;
    MyQWebEngineView *m_CelView = nullptr;
    MyQWebEngineView *m_PetView = nullptr;
    QWebEngineView *m_AnalyzerView = nullptr;
    MyQWebEngineView *m_GuideView = nullptr;
    CPainterBoard *m_ChartBoard = nullptr;
    // The template the chart page drew last, and whether one is being tried.
    QString m_ChartInUse;
    bool m_CheckingChart = false;

    // tool buttons, indexed by page number
    std::array<QPushButton *, MainWindowLayout::PageCount> m_PageButtons {};
    QPushButton *m_NameButton = nullptr;
    QString m_NameCaption;
    QWidget *m_Splash = nullptr;

    // chart page
    QComboBox *m_ChartList = nullptr;
    QLabel *m_ChartLabel = nullptr;
    QPushButton *m_ChartEdit = nullptr;
    QPushButton *m_ChartNew = nullptr;
    QPushButton *m_ChartDelete = nullptr;

    // animations
    QTimeLine *m_BlinkLine = nullptr;
    QPropertyAnimation *m_SelectionAnim = nullptr;
    QPropertyAnimation *m_PageAreaAnim = nullptr;
    QParallelAnimationGroup *m_NumerIn = nullptr, *m_NumerOut = nullptr;
    QParallelAnimationGroup *m_LoveIn = nullptr, *m_LoveOut = nullptr;
    QParallelAnimationGroup *m_PetIn = nullptr, *m_PetOut = nullptr;
    QParallelAnimationGroup *m_AnIn = nullptr, *m_AnOut = nullptr;
    QPropertyAnimation *m_EntryPanelAnim = nullptr;

    // result panels
    CInfoWidget *m_MainFeatures = nullptr;
    CInfoWidget *m_AddFeatures = nullptr;
    CInfoWidget *m_LifeCycles = nullptr;
    CInfoWidget *m_Bridges = nullptr;
    CInfoNameWidget *m_NamePanel = nullptr;
    CInfoExprPlanWidget *m_PlanesPanel = nullptr;
    CInfoEssenceWidget *m_EssencePanel = nullptr;
    CInfoCalendarWidget *m_CalendarPanel = nullptr;
    CInfoMatrWidget *m_MatrixPanel = nullptr;
    CInfoCompMatrWidget *m_CompMatrixPanel = nullptr;
    CInfoWidget *m_CompPanel = nullptr;
    CInfoWidget *m_FamilyPanel = nullptr;
    CInfoWidget *m_CompDetailsPanel = nullptr;
    CInfoWidget *m_PetFeatures = nullptr;
    CInfoNameWidget *m_PetNamePanel = nullptr;
    CInfoNameWidget *m_AnNamePanel = nullptr;
    CInfoWidget *m_AnFeatures = nullptr;
    CInfoTodayWidget *m_TodayPanel = nullptr;
    CInfoWidget *m_PersonFeatures = nullptr;
    CInfoNameWidget *m_PersonNamePanel = nullptr;
    CInfoWidget *m_PartnerFeatures = nullptr;
    CInfoNameWidget *m_PartnerNamePanel = nullptr;

    // inputs
    QWidget *m_PetBox = nullptr;
    QLineEdit *m_PetName = nullptr;
    QDateEdit *m_PetDate = nullptr;
    QPushButton *m_PetCalc = nullptr;
    QWidget *m_AnBox = nullptr;
    QLineEdit *m_AnName = nullptr;
    QDateEdit *m_AnDate = nullptr;
    QCheckBox *m_AnChaldean = nullptr;
    QPushButton *m_AnCalc = nullptr;
    QWidget *m_PersonBox = nullptr;
    QLineEdit *m_FullName = nullptr;
    QLineEdit *m_ShortName = nullptr;
    QDateEdit *m_BirthDate = nullptr;
    QComboBox *m_Gender = nullptr;
    QPushButton *m_SaveButton = nullptr;
    QPushButton *m_OpenButton = nullptr;
    QPushButton *m_NewButton = nullptr;
    QCheckBox *m_Chaldean = nullptr;
    QLabel *m_PhoneticLabel = nullptr;
    QComboBox *m_Phonetic = nullptr;
    QWidget *m_PartnerBox = nullptr;
    QLineEdit *m_PartnerFullName = nullptr;
    QLineEdit *m_PartnerShortName = nullptr;
    QDateEdit *m_PartnerBirthDate = nullptr;
    QDateEdit *m_ForecastDate = nullptr;
    QList<QPushButton *> m_RecentButtons;
    QPushButton *m_ClearButton = nullptr;
    QVector<PersonRecord> m_Recent;
    // Set only while the silent store open restores the newest record.
    bool m_RecentGuard = false;
    QVector<int> m_NameOverrides, m_ShortNameOverrides;
    QVector<int> m_PartnerNameOverrides, m_PartnerShortNameOverrides;

    // engines, in creation order
    CNumerology *m_Person = nullptr;
    CNumerologyPMatrix *m_PersonMatrix = nullptr;
    CNumerology *m_Pet = nullptr;
    CNumerology *m_Partner = nullptr;
    CNumerologyPMatrix *m_PartnerMatrix = nullptr;
    CCompNumerology *m_Comp = nullptr;
    CChartNumerology *m_Chart = nullptr;
    CNumerology *m_Analyzer = nullptr;
    CNumerology *m_Celebrity = nullptr;

    // menu and top buttons
    QMenu *m_Menu = nullptr;
    QMenu *m_StyleMenu = nullptr;
    QActionGroup *m_StyleGroup = nullptr;
    QAction *m_SettingsAction = nullptr;
    QAction *m_AboutAction = nullptr;
    QAction *m_HelpAction = nullptr;
    QAction *m_SupportAction = nullptr;
    QAction *m_SavePdfAction = nullptr;
    QAction *m_PrintAction = nullptr;
    QAction *m_SaveReportAction = nullptr;
    QPushButton *m_MenuButton = nullptr;
    QPushButton *m_ResetButton = nullptr;
    QPushButton *m_AboutButton = nullptr;
    QPushButton *m_SaveHtmlButton = nullptr;
    QPushButton *m_PrintButton = nullptr;

    QList<reportSetting> m_Layouts;
    // The layout files start-up could not read, told once it has finished.
    QStringList m_RefusedLayouts;
    // The layout readings are built with: the chosen one once its file has
    // passed its trial (FileTrial), or the one in use before a refusal.
    int layoutIndex();
    QString m_LayoutInUse;
    bool m_CheckingLayout = false;
    QTimer *m_StartTimer = nullptr;

signals:
    void updateStyle();

public slots:
    void OnPersButAnim(int val);
    void OnPersButAnimFinish();
    void OnCtrlButNumer();
    void OnCtrlButPMatr();
    void OnCtrlButForecast();
    void OnCtrlButComp();
    void OnCtrlButCel();
    void OnCtrlButPet();
    void OnCtrlButChart();
    void OnCtrlButAnalize();
    void OnCtrlButGuide();
    void OnUpdateListReport();
    void OnFinishedSU();
    void slotGChart(int value);
    void OnMenu();
    void OnReportManager();
    void OnExportHTML();
    void OnExportPDFAll();
    void replyFinished(QNetworkReply *reply);
    void slotPNC(QDate date);
    void OnEditChart();
    void OnAddChart();
    void OnDeleteChart();
    void OnNameSel();
    void OnNameVWChanged(int name, int position);
    void OnNamePVWChanged(int name, int position);
    void OnPreCalcNum();
    void OnPreCalcNumP();
    void OnTextChanged(const QString &text);
    void OnParsChanged(int value);
    void OnPTextChanged(const QString &text);
    void OnDateChanged(const QDate &date);
    void OnResData();
    void OnResDataI();
    void OnCalcNum();
    void OnCalcPetNum();
    void OnSaveFile(bool closeProg = false);
    void OnOpenFile(bool openProg = false);
    void OnRecentClicked();
    void OnClearRecent();
    void OnCalcAnNum();
    void OnSupport();
    void OnHelp();
    void OnAbout();
    void OnSettings();
    void initStyle();
    void OnStyleChange();
    void OnApplyStyle(int a);
    void OnSelReport(int index);
    void MFitemCliked(int row);
    void AFitemCliked(int row);
    void LCitemCliked(int row);
    void PMitemCliked(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // One centre panel with its show and hide animations.
    struct CentrePanel
    {
        QWidget *widget = nullptr;
        QPropertyAnimation *show = nullptr;
        QPropertyAnimation *hide = nullptr;
    };
    struct LeftGroup
    {
        QList<QWidget *> widgets;
        QList<QPoint> shown;
        QParallelAnimationGroup *in = nullptr;
        QParallelAnimationGroup *out = nullptr;
    };

    void buildPageFrame();
    void buildToolColumn();
    void buildViews();
    void buildPanels();
    void buildBoxes();
    void buildEntryPanel();
    void buildMenu();
    void buildTopButtons();
    void buildSplash();
    void buildAnimations();
    void fillLayoutCombo(const QString &select);
    CentrePanel centrePanel(QWidget *widget);
    LeftGroup leftGroup(const QList<QWidget *> &widgets, const QList<QPoint> &shown);
    // Shown and hidden position of a centre panel for the client size.
    void centrePositions(int index, int w, int h, QPoint *shown, QPoint *hidden) const;
    bool centreShownOn(int index, int page) const;
    void placeChartControls(const QRect &rect);
    void buildExport();
    // Selects the list entry of path, else the entry at index, and lays the
    // page out again.
    void reselectChart(const QString &path, int index);
    QList<QWidget *> reportViews() const;

    QString m_ButtonSheetMenu, m_ButtonSheetReset, m_ButtonSheetInfo, m_ButtonSheetSave,
        m_ButtonSheetPrint, m_SaveBSheet, m_OpenBSheet, m_NewBSheet, m_CaptionSheet, m_SplashSheet;
    QList<CentrePanel> m_Centre;
    QList<LeftGroup> m_LeftGroups;
};
