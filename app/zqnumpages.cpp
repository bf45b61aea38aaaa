// The main window's widget tree, its page geometry, page switching and the
// scheme-dependent styling of its own widgets.

#include "app/zqnum.h"

#include "app/dateedit.h"
#include "app/myqwebengineview.h"
#include "app/optionaldate.h"
#include "engine/numerology.h"
#include "panels/expandwidget.h"
#include "panels/infocalendarwidget.h"
#include "panels/infocompmatrwidget.h"
#include "panels/infoessencewidget.h"
#include "panels/infoexprplanwidget.h"
#include "panels/infomatrwidget.h"
#include "panels/infonamewidget.h"
#include "panels/infotodaywidget.h"
#include "panels/infowidget.h"
#include "style/appstyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEasingCurve>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QTimeLine>
#include <QWebEngineView>

namespace MainWindowLayout {

QRect pageRect(int page, int w, int h)
{
    int left = 216;
    int width = w - 415;
    if (w >= 1440) {
        left = 216 + (w - 1439) / 2;
        width = 1024;
    }
    int right = left + width - 1;
    if (page == PageChart) {
        left = 10;
        right = w - 200;
    }
    const int top = page == PageNameAdvisor ? 280 : 10;
    int d = -256;
    switch (page) {
    case PagePsychoMatrix:
    case PageCompatibility:
        d = -305;
        break;
    case PageCelebrities:
    case PageGuide:
        d = -11;
        break;
    case PagePet:
        d = -101;
        break;
    case PageChart:
        d = -61;
        break;
    case PageNameAdvisor:
        d = -6;
        break;
    default:
        break;
    }
    return QRect(QPoint(left, top), QPoint(right, h + d));
}

int toolSlot(int page)
{
    static const int columnSlot[PageCount] = {0, 1, 3, 4, 5, 6, 7, 2, 8};
    return page >= 0 && page < PageCount ? columnSlot[page] : 0;
}

int centreX(int w)
{
    return (w - 1024) / 2 + 220;
}

} // namespace MainWindowLayout

using namespace MainWindowLayout;

namespace {

// Centre panels, in the order the window keeps them.
enum Centre {
    CentreName,
    CentrePlanes,
    CentreCalendar,
    CentreEssence,
    CentreMatrix,
    CentreCompMatrix,
    CentrePetName,
    CentreAnBox,
    CentreAnName,
    CentreAnCalc,
    CentreCount
};

enum Group { GroupNumerology, GroupLove, GroupPet, GroupAnalyzer };

// The name also heads the message about a date the box refused.
QDateEdit *makeDateEdit(QWidget *parent, const QString &name, int w, int h, int x, int y)
{
    QDateEdit *edit = new CDateEdit(parent);
    edit->setAccessibleName(name);
    edit->setCalendarPopup(true);
    edit->setGeometry(x, y, w, h);
    return edit;
}

} // namespace

void CZQNum::buildPageFrame()
{
    m_PageArea = new QWidget(this);
    m_ToolScroll = new QScrollArea(this);
    m_ToolScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_ToolScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_ToolScroll->setFrameShape(QFrame::NoFrame);
    m_ToolScroll->setStyleSheet(
        QStringLiteral("QScrollArea { background: transparent; border: none; }"));
    m_ToolScroll->viewport()->setAutoFillBackground(false);
    m_Separator = new QLabel(m_ToolScroll);
    m_Separator->resize(35, 1);
    m_ToolColumn = new QWidget;
    m_ToolColumn->resize(170, 720);
    m_ToolColumn->setStyleSheet(
        QStringLiteral("QWidget { background: transparent; border: none; }"));
    m_SelectionLabel = new QLabel(m_ToolColumn);
    m_SelectionLabel->setGeometry(0, 0, 165, 80);
    m_ToolScroll->setWidget(m_ToolColumn);
    m_ToolColumn->show();
}

void CZQNum::buildToolColumn()
{
    struct Entry
    {
        int page;
        const char *caption;
        void (CZQNum::*slot)();
    };
    // Top to bottom; the page numbers do not follow the column order.
    static const Entry entries[PageCount] = {
        {PageNumerology, "Numerology", &CZQNum::OnCtrlButNumer},
        {PagePsychoMatrix, "Psycho Matrix", &CZQNum::OnCtrlButPMatr},
        {PageForecast, "Forecast", &CZQNum::OnCtrlButForecast},
        {PageCompatibility, "Love\r\nCompatibility", &CZQNum::OnCtrlButComp},
        {PageCelebrities, "Celebrities", &CZQNum::OnCtrlButCel},
        {PagePet, "Pet", &CZQNum::OnCtrlButPet},
        {PageChart, "Graphic\r\nChart", &CZQNum::OnCtrlButChart},
        {PageNameAdvisor, "Name\r\nAdvisor", &CZQNum::OnCtrlButAnalize},
        {PageGuide, "Guide", &CZQNum::OnCtrlButGuide},
    };
    for (int i = 0; i < PageCount; ++i) {
        const Entry &e = entries[i];
        QPushButton *button = new QPushButton(QString::fromLatin1(e.caption), m_ToolColumn);
        button->setGeometry(0, 80 * i, 165, 80);
        button->setIconSize(QSize(64, 60));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, e.slot);
        m_PageButtons[size_t(e.page)] = button;
    }
    m_SelectionLabel->lower();
}

void CZQNum::buildViews()
{
    const auto prepare = [](QWidget *view) {
        view->setMaximumWidth(1200);
        view->setStyleSheet(QStringLiteral("background: white;"));
        view->move(1, 1);
    };
    m_NumerologyView = new MyQWebEngineView(m_PageArea);
    m_PMatrixView = new MyQWebEngineView(m_PageArea);
    m_CompView = new MyQWebEngineView(m_PageArea);
    m_CelView = new MyQWebEngineView(m_PageArea);
    m_PetView = new MyQWebEngineView(m_PageArea);
    m_AnalyzerView = new MyQWebEngineView(m_PageArea);
    m_GuideView = new MyQWebEngineView(m_PageArea);
    for (QWidget *view : reportViews())
        prepare(view);

    m_ChartBoard = new CPainterBoard(m_PageArea);
    m_ChartBoard->setObjectName(QStringLiteral("chartBoard"));
    m_ChartBoard->m_Style = m_Style;
    m_ChartBoard->setStyleSheet(
        QStringLiteral("QWidget, QLabel { background:none; border:none; }"));
    m_ChartList = new QComboBox(m_PageArea);
    m_ChartList->resize(150, 25);
    m_ChartLabel = new QLabel(QStringLiteral("Choose Layout"), m_PageArea);
    m_ChartLabel->setStyleSheet(QStringLiteral("color: #9cb62d; font: bold 12px;"));
    m_ChartLabel->adjustSize();
    m_ChartEdit = new QPushButton(QStringLiteral("Edit"), m_PageArea);
    m_ChartEdit->resize(60, 25);
    m_ChartNew = new QPushButton(QStringLiteral("New"), m_PageArea);
    m_ChartNew->resize(60, 25);
    m_ChartDelete = new QPushButton(QStringLiteral("Delete"), m_PageArea);
    m_ChartDelete->resize(60, 25);
    connect(m_ChartList, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &CZQNum::slotGChart);
    connect(m_ChartEdit, &QPushButton::clicked, this, &CZQNum::OnEditChart);
    connect(m_ChartNew, &QPushButton::clicked, this, &CZQNum::OnAddChart);
    connect(m_ChartDelete, &QPushButton::clicked, this, &CZQNum::OnDeleteChart);
}

QList<QWidget *> CZQNum::reportViews() const
{
    return {m_NumerologyView, m_PMatrixView,  m_CompView, m_CelView,
            m_PetView,        m_AnalyzerView, m_GuideView};
}

void CZQNum::buildPanels()
{
    const auto info = [this](const QImage &header, const QString &title, const QStringList &rows,
                             int height) {
        CInfoWidget *panel = new CInfoWidget(m_Style, header, this);
        panel->m_TitleLabel->setText(title);
        panel->m_Labels = rows;
        panel->resize(
            200, height > 0 ? height : header.height() + InfoPanel::tableHeight(rows.size()) + 2);
        return panel;
    };

    m_MainFeatures = info(m_TBarImage, QStringLiteral("Main Features"),
                          {QStringLiteral("Life Path"), QStringLiteral("Birthday"),
                           QStringLiteral("Expression (M)"), QStringLiteral("Heart Desire (M)"),
                           QStringLiteral("Personality (M)"), QStringLiteral("Karmic Debts")},
                          135);
    m_MainFeatures->m_HoverEnabled = true;
    m_AddFeatures = info(m_TBarImage, QStringLiteral("Additional Features"),
                         {QStringLiteral("Maturity"), QStringLiteral("Rational Thought"),
                          QStringLiteral("Karmic Lessons"), QStringLiteral("Balance"),
                          QStringLiteral("Hidden Passion"), QStringLiteral("Subcons.Confid.")},
                         135);
    m_AddFeatures->m_HoverEnabled = true;
    m_LifeCycles = info(m_TBarImage, QStringLiteral("Life Cycles"),
                        {QStringLiteral("Age span"), QStringLiteral("Challenges"),
                         QStringLiteral("Pinnacles"), QStringLiteral("Personal Year"),
                         QStringLiteral("LP Periods"), QStringLiteral("LP Age Span")},
                        135);
    m_LifeCycles->m_HoverEnabled = true;
    m_LifeCycles->m_RowLimit = 4;
    m_LifeCycles->m_PlainText = true;
    m_Bridges = info(m_TBarImage, QStringLiteral("Bridges"),
                     {QStringLiteral("Life path - Expr."), QStringLiteral("Heart D. - Pers.")}, 0);
    m_Bridges->m_PlainText = true;
    connect(m_MainFeatures, &CInfoWidget::itemCliked, this, &CZQNum::MFitemCliked);
    connect(m_AddFeatures, &CInfoWidget::itemCliked, this, &CZQNum::AFitemCliked);
    connect(m_LifeCycles, &CInfoWidget::itemCliked, this, &CZQNum::LCitemCliked);

    m_NamePanel = new CInfoNameWidget(m_Style, m_TBar2Image, this);
    m_NamePanel->m_TitleLabel->setText(QStringLiteral("Name calculation"));
    m_NamePanel->move(220, 230);
    m_PlanesPanel = new CInfoExprPlanWidget(m_Style, m_TBar2Image, this);
    m_PlanesPanel->m_TitleLabel->setText(QStringLiteral("Planes of Expression"));
    m_PlanesPanel->m_Labels = QStringList {QString(), QStringLiteral("Creative"),
                                           QStringLiteral("Dual"), QStringLiteral("Grounded")};
    m_PlanesPanel->move(220, 230);
    m_EssencePanel = new CInfoEssenceWidget(m_Style, m_TBar2Image, this);
    m_EssencePanel->m_TitleLabel->setText(QStringLiteral("Essence and Transit"));
    m_EssencePanel->move(220, 230);
    connect(this, &CZQNum::updateStyle, m_EssencePanel,
            qOverload<>(&CInfoEssenceWidget::updateData));
    m_CalendarPanel = new CInfoCalendarWidget(m_Style, m_TBar2Image, this);
    m_CalendarPanel->m_TitleLabel->setText(QStringLiteral("Personal numbers calendar"));
    m_CalendarPanel->m_Labels
        = QStringList {QStringLiteral("Years "), QStringLiteral("Months"), QStringLiteral("Days")};
    m_CalendarPanel->move(220, 350);

    m_MatrixPanel = new CInfoMatrWidget(m_Style, m_TBar2Image, this);
    m_MatrixPanel->m_TitleLabel->setText(QStringLiteral("Psycho Matrix"));
    m_MatrixPanel->m_HoverEnabled = true;
    connect(m_MatrixPanel, &CInfoMatrWidget::itemCliked, this, &CZQNum::PMitemCliked);

    m_CompMatrixPanel = new CInfoCompMatrWidget(m_Style, m_TBar2Image, this);
    m_CompMatrixPanel->m_TitleLabel->setText(QStringLiteral("Psycho Matrix"));
    m_CompPanel
        = info(m_TBarImage, QStringLiteral("Compatibility"),
               {QStringLiteral("Summary"), QStringLiteral("Life Path"), QStringLiteral("Birthday"),
                QStringLiteral("Family"), QStringLiteral("Name")},
               120);
    m_CompPanel->m_PlainText = true;
    m_FamilyPanel = info(m_TBarImage, QStringLiteral("Family stability"),
                         {QStringLiteral("Years together"), QStringLiteral("Home"),
                          QStringLiteral("Spiritual"), QStringLiteral("Partner home"),
                          QStringLiteral("Partner spiritual"), QStringLiteral("Home stability"),
                          QStringLiteral("Spiritual stability")},
                         155);
    m_FamilyPanel->m_PlainText = true;
    m_CompDetailsPanel = info(
        m_TBarImage, QStringLiteral("Compatibility details"),
        {QStringLiteral("Life path"), QStringLiteral("Birth Day"), QStringLiteral("Name")}, 0);
    m_CompDetailsPanel->m_PlainText = true;

    m_PetFeatures = info(
        m_TBarImage, QStringLiteral("Main Features"),
        {QStringLiteral("Pet Number"), QStringLiteral("Birthday Code"), QStringLiteral("Day Code")},
        300);
    m_PetNamePanel = new CInfoNameWidget(m_Style, m_TBar2Image, this);
    m_PetNamePanel->m_TitleLabel->setText(QStringLiteral("Name calculation"));
    m_PetNamePanel->resize(m_PetNamePanel->width(), 90);

    m_AnNamePanel = new CInfoNameWidget(m_Style, m_TBar2Image, this);
    m_AnNamePanel->m_TitleLabel->setText(QStringLiteral("Name calculation"));
    m_AnNamePanel->resize(m_AnNamePanel->width(), 100);
    m_AnFeatures
        = info(m_TBarImage, QStringLiteral("Main Features"),
               {QStringLiteral("Date Summary"), QStringLiteral("Name Summary"),
                QStringLiteral("Vowels"), QStringLiteral("Consonants"), QStringLiteral("Missed")},
               135);
    m_AnCalc = new QPushButton(QStringLiteral("CALCULATE"), this);
    m_AnCalc->resize(100, 25);
    connect(m_AnCalc, &QPushButton::clicked, this, &CZQNum::OnCalcAnNum);

    m_TodayPanel = new CInfoTodayWidget(m_Style, m_TodayImage, this);
    m_TodayPanel->m_Labels
        = QStringList {QStringLiteral("Years"), QStringLiteral("Months"), QStringLiteral("Days")};
    m_ForecastDate = makeDateEdit(m_TodayPanel, QStringLiteral("Forecast date"), 135, 28, 30, 70);
    m_ForecastDate->setDate(QDate::currentDate());
    m_ExpandWidget = new CExpandWidget(m_Style, this, 600, 200);
    connect(m_TodayPanel, &CInfoTodayWidget::clicked, m_ExpandWidget, &CExpandWidget::slotExpand);
    connect(m_ForecastDate, &QDateEdit::dateChanged, this, &CZQNum::slotPNC);
    connect(this, &CZQNum::updateStyle, m_ExpandWidget, &CExpandWidget::slotUpdate);
}

void CZQNum::buildBoxes()
{
    const auto caption = [this](QWidget *parent, const QString &text, int w, int y) {
        QLabel *label = new QLabel(text, parent);
        label->setStyleSheet(m_CaptionSheet);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        label->setGeometry(0, y, w, 25);
        return label;
    };

    m_PetBox = new QWidget(this);
    m_PetBox->setGeometry(5, 5, 200, 170);
    caption(m_PetBox, QStringLiteral("Pet Name"), 200, 0);
    m_PetName = new QLineEdit(m_PetBox);
    m_PetName->setGeometry(20, 25, 160, 25);
    caption(m_PetBox, QStringLiteral("Birth Date"), 200, 60);
    m_PetDate = makeDateEdit(m_PetBox, QStringLiteral("Pet's birth date"), 160, 25, 20, 85);
    m_PetCalc = new QPushButton(QStringLiteral("CALCULATE"), m_PetBox);
    m_PetCalc->setGeometry(20, 130, 160, 25);
    connect(m_PetCalc, &QPushButton::clicked, this, &CZQNum::OnCalcPetNum);

    m_AnBox = new QWidget(this);
    m_AnBox->resize(600, 165);
    caption(m_AnBox, QStringLiteral("Express Numerology Analyzer"), 580, 0);
    caption(m_AnBox, QStringLiteral("Name / Title"), 580, 23);
    m_AnName = new QLineEdit(m_AnBox);
    m_AnName->setGeometry(20, 48, 560, 22);
    caption(m_AnBox, QStringLiteral("Date (Optional)"), 580, 70);
    m_AnDate = makeDateEdit(m_AnBox, QStringLiteral("Name Advisor date"), 560, 22, 20, 96);
    makeDateOptional(m_AnDate);
    m_AnChaldean = new QCheckBox(QStringLiteral("Use Chaldean calculator"), m_AnBox);
    m_AnChaldean->move(20, 130);
    // Its place lies on the advisor box's row.
    m_AnCalc->raise();
}

void CZQNum::buildEntryPanel()
{
    m_EntryPanel = new QWidget(this);
    m_InputPanel = new QWidget(m_EntryPanel);
    m_InputPanel->resize(1016, 570);

    const auto caption = [this](QWidget *parent, const QString &text) {
        QLabel *label = new QLabel(text, parent);
        label->setStyleSheet(m_CaptionSheet);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        label->setGeometry(0, 0, parent->width(), 25);
    };
    const auto line = [](QWidget *parent, int w, int x, const QString &tip) {
        QLineEdit *edit = new QLineEdit(parent);
        edit->setGeometry(x, 30, w, 25);
        edit->setToolTip(tip);
        return edit;
    };
    const auto features = [this](QWidget *parent, int height) {
        CInfoWidget *panel = new CInfoWidget(m_Style, m_TBarImage, parent);
        panel->m_TitleLabel->setText(QStringLiteral("Main Features"));
        panel->m_Labels
            = QStringList {QStringLiteral("Life path"),       QStringLiteral("Karmic Debts"),
                           QStringLiteral("Expression (M)"),  QStringLiteral("Heart Desire (M)"),
                           QStringLiteral("Personality (M)"), QStringLiteral("Karmic Lessons")};
        panel->setGeometry(610, 70, 200, height);
        return panel;
    };
    const auto namePanel = [this](QWidget *parent) {
        CInfoNameWidget *panel = new CInfoNameWidget(m_Style, m_TBar2Image, parent);
        panel->m_TitleLabel->setText(QStringLiteral("Name calculation"));
        panel->m_Editable = true;
        panel->move(5, 70);
        return panel;
    };

    m_PersonBox = new QWidget(m_InputPanel);
    m_PersonBox->setGeometry(8, 10, 820, 240);
    caption(m_PersonBox, QStringLiteral("Personal (Full Name, Short Name, Birth Date)"));
    m_FullName = line(m_PersonBox, 250, 5, QStringLiteral("Full Name"));
    m_ShortName = line(m_PersonBox, 215, 270, QStringLiteral("Short Name"));
    m_BirthDate = makeDateEdit(m_PersonBox, QStringLiteral("Birth date"), 120, 25, 495, 30);
    m_BirthDate->setToolTip(QStringLiteral("Birth Date"));
    m_Gender = new QComboBox(m_PersonBox);
    m_Gender->addItems({QStringLiteral("Female"), QStringLiteral("Male")});
    m_Gender->setGeometry(625, 30, 95, 25);
    m_SaveButton = new QPushButton(m_PersonBox);
    m_SaveButton->setStyleSheet(m_SaveBSheet);
    m_SaveButton->setGeometry(730, 30, 24, 24);
    m_OpenButton = new QPushButton(m_PersonBox);
    m_OpenButton->setStyleSheet(m_OpenBSheet);
    m_OpenButton->setGeometry(761, 30, 24, 24);
    m_NewButton = new QPushButton(m_PersonBox);
    m_NewButton->setStyleSheet(m_NewBSheet);
    m_NewButton->setGeometry(790, 30, 24, 24);
    // These put their own dates into the boxes and throw away a date still
    // being typed; a click that took the focus would end that entry first,
    // and tell the user about it if it was refused. The keyboard reaches
    // them by Tab.
    m_OpenButton->setFocusPolicy(Qt::TabFocus);
    m_NewButton->setFocusPolicy(Qt::TabFocus);
    m_PersonFeatures = features(m_PersonBox, 135);
    m_PersonNamePanel = namePanel(m_PersonBox);
    m_Chaldean = new QCheckBox(QStringLiteral("Use Chaldean calculator"), m_PersonBox);
    m_Chaldean->move(5, 215);
    m_PhoneticLabel = new QLabel(QStringLiteral("Phonetic:"), m_PersonBox);
    m_PhoneticLabel->setGeometry(205, 211, 60, 22);
    m_Phonetic = new QComboBox(m_PersonBox);
    m_Phonetic->addItems({QStringLiteral("English"), QStringLiteral("Universal")});
    m_Phonetic->setGeometry(265, 211, 100, 22);
    m_Phonetic->setCurrentIndex(0);

    m_PartnerBox = new QWidget(m_InputPanel);
    m_PartnerBox->setGeometry(8, 260, 820, 210);
    caption(m_PartnerBox, QStringLiteral("Partner (Full Name, Short Name, Birth Date)"));
    m_PartnerFullName = line(m_PartnerBox, 250, 5, QStringLiteral("Full Name"));
    m_PartnerShortName = line(m_PartnerBox, 215, 270, QStringLiteral("Short Name"));
    m_PartnerBirthDate
        = makeDateEdit(m_PartnerBox, QStringLiteral("Partner's birth date"), 120, 25, 495, 30);
    m_PartnerBirthDate->setToolTip(QStringLiteral("Birth Date"));
    m_PartnerFeatures = features(m_PartnerBox, 300);
    m_PartnerNamePanel = namePanel(m_PartnerBox);

    for (int k = 0; k < RecentPeopleLimit; ++k) {
        QPushButton *button = new QPushButton(m_InputPanel);
        button->setGeometry(835, 10 + 62 * k, 170, 52);
        // As New: a click leaves a date being typed to be thrown away.
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QPushButton::clicked, this, &CZQNum::OnRecentClicked);
        m_RecentButtons.append(button);
    }
    m_ClearButton = new QPushButton(QStringLiteral("Clear"), m_InputPanel);
    m_ClearButton->setGeometry(900, 530, 100, 30);
    connect(m_ClearButton, &QPushButton::clicked, this, &CZQNum::OnClearRecent);

    connect(m_FullName, &QLineEdit::textChanged, this, &CZQNum::OnTextChanged);
    connect(m_ShortName, &QLineEdit::textChanged, this, &CZQNum::OnTextChanged);
    connect(m_BirthDate, &QDateEdit::dateChanged, this, &CZQNum::OnDateChanged);
    connect(m_PartnerBirthDate, &QDateEdit::dateChanged, this, &CZQNum::OnDateChanged);
    connect(m_PersonNamePanel, &CInfoNameWidget::symbolCliked, this, &CZQNum::OnNameVWChanged);
    connect(m_Chaldean, &QCheckBox::stateChanged, this, &CZQNum::OnParsChanged);
    connect(m_Phonetic, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &CZQNum::OnParsChanged);
    connect(m_PartnerFullName, &QLineEdit::textChanged, this, &CZQNum::OnPTextChanged);
    connect(m_PartnerShortName, &QLineEdit::textChanged, this, &CZQNum::OnPTextChanged);
    connect(m_PartnerNamePanel, &CInfoNameWidget::symbolCliked, this, &CZQNum::OnNamePVWChanged);
    connect(m_SaveButton, &QPushButton::clicked, this, [this] { OnSaveFile(); });
    connect(m_OpenButton, &QPushButton::clicked, this, [this] { OnOpenFile(); });
    connect(m_NewButton, &QPushButton::clicked, this, &CZQNum::OnResDataI);
    // Every date box is built by now.
    for (CDateEdit *box : findChildren<CDateEdit *>())
        connect(box, &CDateEdit::entryRefused, this, [this, box](const QString &reason) {
            CNumerology::s_criticalMessage(this, QStringLiteral("Error"),
                                           box->accessibleName() + QStringLiteral("\r\n") + reason);
        });

    // Above the data-entry panel, so that it also closes it.
    m_NameCaption = QStringLiteral("ENTER YOUR NAME");
    m_NameButton = new QPushButton(m_NameCaption, this);
    m_NameButton->resize(200, 80);
    m_NameButton->setFocusPolicy(Qt::NoFocus);
    connect(m_NameButton, &QPushButton::clicked, this, &CZQNum::OnNameSel);
    m_BlinkLine->setFrameRange(0, 20);
    // The ease-in-out curve shape of a time line.
    m_BlinkLine->setEasingCurve(QEasingCurve::InOutSine);
    m_BlinkLine->setDirection(QTimeLine::Forward);
    m_BlinkLine->start();
}

void CZQNum::buildSplash()
{
    m_Splash = new QWidget(this);
    m_Style->setWidgetStyle(m_Splash, WTPanel);
    m_Splash->setAttribute(Qt::WA_StyledBackground, true);
    m_Splash->setGeometry(0, 0, width(), height());
    QLabel *logo = new QLabel(m_Splash);
    logo->setPixmap(QPixmap::fromImage(m_LogoHImage));
    logo->resize(m_LogoHImage.size());
    logo->move((width() - m_LogoHImage.width()) / 2, (height() - m_LogoHImage.height()) / 2);
    QLabel *text = new QLabel(m_Splash);
    text->setStyleSheet(m_SplashSheet);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text->setGeometry(0, logo->geometry().bottom() + 20, width(), 200);
    text->setText(QStringLiteral("Loading...\r\n\r\n\r\nThank You for using Lumaro Numerology,\r\n"
                                 "The World's most advanced Numerology application!"));
    m_Splash->show();
    m_Splash->raise();
}

CZQNum::CentrePanel CZQNum::centrePanel(QWidget *widget)
{
    CentrePanel c;
    c.widget = widget;
    c.show = new QPropertyAnimation(widget, "pos", this);
    c.show->setDuration(700);
    QEasingCurve e(QEasingCurve::OutBack);
    e.setOvershoot(0.5);
    c.show->setEasingCurve(e);
    c.hide = new QPropertyAnimation(widget, "pos", this);
    c.hide->setDuration(300);
    c.hide->setEasingCurve(QEasingCurve::Linear);
    return c;
}

CZQNum::LeftGroup CZQNum::leftGroup(const QList<QWidget *> &widgets, const QList<QPoint> &shown)
{
    LeftGroup g;
    g.widgets = widgets;
    g.shown = shown;
    g.in = new QParallelAnimationGroup(this);
    g.out = new QParallelAnimationGroup(this);
    for (int i = 0; i < widgets.size(); ++i) {
        QPropertyAnimation *in = new QPropertyAnimation(widgets.at(i), "pos");
        in->setDuration(500);
        in->setEasingCurve(QEasingCurve::OutBack);
        in->setEndValue(shown.at(i));
        g.in->addAnimation(in);
        QPropertyAnimation *out = new QPropertyAnimation(widgets.at(i), "pos");
        out->setDuration(166);
        out->setEasingCurve(QEasingCurve::InBack);
        out->setEndValue(QPoint(-300, shown.at(i).y()));
        g.out->addAnimation(out);
        widgets.at(i)->move(-300, shown.at(i).y());
    }
    return g;
}

void CZQNum::buildAnimations()
{
    m_SelectionAnim = new QPropertyAnimation(m_SelectionLabel, "geometry", this);
    m_SelectionAnim->setDuration(300);
    m_SelectionAnim->setEasingCurve(QEasingCurve::OutBack);
    m_PageAreaAnim = new QPropertyAnimation(m_PageArea, "geometry", this);
    m_PageAreaAnim->setDuration(300);
    m_PageAreaAnim->setEasingCurve(QEasingCurve::Linear);

    m_LeftGroups = {
        leftGroup({m_MainFeatures, m_AddFeatures, m_LifeCycles, m_Bridges},
                  {QPoint(8, 10), QPoint(8, 152), QPoint(8, 294), QPoint(8, 437)}),
        leftGroup({m_CompPanel, m_FamilyPanel, m_CompDetailsPanel},
                  {QPoint(8, 10), QPoint(8, 135), QPoint(8, 292)}),
        leftGroup({m_PetFeatures, m_PetBox}, {QPoint(8, 190), QPoint(8, 10)}),
        leftGroup({m_AnFeatures}, {QPoint(8, 8)}),
    };
    m_NumerIn = m_LeftGroups[GroupNumerology].in;
    m_NumerOut = m_LeftGroups[GroupNumerology].out;
    m_LoveIn = m_LeftGroups[GroupLove].in;
    m_LoveOut = m_LeftGroups[GroupLove].out;
    m_PetIn = m_LeftGroups[GroupPet].in;
    m_PetOut = m_LeftGroups[GroupPet].out;
    m_AnIn = m_LeftGroups[GroupAnalyzer].in;
    m_AnOut = m_LeftGroups[GroupAnalyzer].out;

    m_Centre.clear();
    for (QWidget *w :
         {static_cast<QWidget *>(m_NamePanel), static_cast<QWidget *>(m_PlanesPanel),
          static_cast<QWidget *>(m_CalendarPanel), static_cast<QWidget *>(m_EssencePanel),
          static_cast<QWidget *>(m_MatrixPanel), static_cast<QWidget *>(m_CompMatrixPanel),
          static_cast<QWidget *>(m_PetNamePanel), m_AnBox, static_cast<QWidget *>(m_AnNamePanel),
          static_cast<QWidget *>(m_AnCalc)})
        m_Centre.append(centrePanel(w));

    m_EntryPanelAnim = new QPropertyAnimation(m_EntryPanel, "pos", this);
    m_EntryPanelAnim->setDuration(500);
    m_EntryPanelAnim->setEasingCurve(QEasingCurve::Linear);
}

bool CZQNum::centreShownOn(int index, int page) const
{
    switch (index) {
    case CentreName:
    case CentrePlanes:
        return page == PageNumerology;
    case CentreCalendar:
    case CentreEssence:
        return page == PageForecast;
    case CentreMatrix:
        return page == PagePsychoMatrix;
    case CentreCompMatrix:
        return page == PageCompatibility;
    case CentrePetName:
        return page == PagePet;
    default:
        return page == PageNameAdvisor;
    }
}

void CZQNum::centrePositions(int index, int w, int h, QPoint *shown, QPoint *hidden) const
{
    const int x0 = centreX(w);
    switch (index) {
    case CentreName:
    case CentreCalendar:
        *shown = QPoint(x0, h - 249);
        *hidden = QPoint(x0, h + 751);
        break;
    case CentrePlanes:
        *shown = QPoint(x0, h - 108);
        *hidden = QPoint(x0, h + 892);
        break;
    case CentreEssence:
        *shown = QPoint(x0, h - 155);
        *hidden = QPoint(x0, h + 845);
        break;
    case CentreMatrix:
    case CentreCompMatrix:
        *shown = QPoint(x0, h - 298);
        *hidden = QPoint(x0, h + 702);
        break;
    case CentrePetName:
        *shown = QPoint(x0, h - 95);
        *hidden = QPoint(x0, h + 905);
        break;
    case CentreAnBox:
        *shown = QPoint(x0, 10);
        *hidden = QPoint(x0, -1000);
        break;
    case CentreAnName:
        *shown = QPoint(x0, 190);
        *hidden = QPoint(x0, -1000);
        break;
    default:
        *shown = QPoint(x0 + 480, 140);
        *hidden = QPoint(x0 + 480, -870);
        break;
    }
}

QRect CZQNum::calcNWGeometry(int page)
{
    return pageRect(page < 0 ? m_CurrentPage : page, width(), height());
}

void CZQNum::placeChartControls(const QRect &rect)
{
    const int h5 = rect.height() - 2;
    m_ChartBoard->resize(rect.width() - 2, rect.height() - 2 - 35);
    m_ChartLabel->move(250, h5 - 18);
    m_ChartList->move(380, h5 - 23);
    m_ChartEdit->move(550, h5 - 23);
    m_ChartNew->move(615, h5 - 23);
    m_ChartDelete->move(680, h5 - 23);
}

void CZQNum::setMode(int page)
{
    if (m_PanelOpen)
        return;
    if (page < 0 || page >= PageCount)
        return;
    m_CurrentPage = page;

    m_SelectionAnim->stop();
    m_PageAreaAnim->stop();
    m_NumerIn->stop();
    m_NumerOut->stop();
    for (int i : {CentreName, CentrePlanes, CentreCalendar, CentreEssence, CentreMatrix,
                  CentreAnBox, CentreAnName, CentreAnCalc}) {
        m_Centre[i].show->stop();
        m_Centre[i].hide->stop();
    }

    const QRect r = calcNWGeometry(page);
    static const int viewOfPage[PageCount] = {0, 1, 2, 3, 4, -1, 5, 0, 6};
    const QList<QWidget *> views = reportViews();
    for (int i = 0; i < views.size(); ++i) {
        if (viewOfPage[page] == i) {
            views.at(i)->resize(r.width() - 2, r.height() - 2);
            views.at(i)->show();
        } else {
            views.at(i)->hide();
        }
    }
    const QList<QWidget *> chartControls {m_ChartBoard, m_ChartLabel, m_ChartList,
                                          m_ChartEdit,  m_ChartNew,   m_ChartDelete};
    if (page == PageChart) {
        resizeEvent(nullptr);
        placeChartControls(r);
        for (QWidget *w : chartControls)
            w->show();
    } else {
        for (QWidget *w : chartControls)
            w->hide();
    }

    for (int i = 0; i < m_Centre.size(); ++i) {
        QPoint shown, hidden;
        centrePositions(i, width(), height(), &shown, &hidden);
        CentrePanel &c = m_Centre[i];
        if (centreShownOn(i, page)) {
            c.hide->stop();
            c.show->setEndValue(shown);
            c.show->start();
        } else {
            c.show->stop();
            c.hide->setEndValue(hidden);
            c.hide->start();
        }
    }
    const bool groupShown[]
        = {page == PageNumerology || page == PageCelebrities || page == PageForecast,
           page == PageCompatibility, page == PagePet, page == PageNameAdvisor};
    for (int g = 0; g < m_LeftGroups.size(); ++g) {
        LeftGroup &group = m_LeftGroups[g];
        // Both groups drive the same property; only one may run at a time.
        if (groupShown[g]) {
            group.out->stop();
            group.in->start();
        } else {
            group.in->stop();
            group.out->start();
        }
    }

    m_SelectionAnim->setEndValue(QRect(0, 80 * toolSlot(page), 165, 80));
    m_SelectionAnim->start();
    m_PageAreaAnim->setEndValue(r);
    m_PageAreaAnim->start();
}

void CZQNum::resizeEvent(QResizeEvent *event)
{
    const QSize size = event ? event->size() : this->size();
    const int w = size.width();
    const int h = size.height();

    setWindowTitle(QStringLiteral("Lumaro Numerology Omnara 7"));

    m_NumerologistCombo->move(w - 190, h - 170);
    m_ReportManagerButton->move(m_NumerologistCombo->x() + m_NumerologistCombo->width() - 1,
                                m_NumerologistCombo->y());
    m_NumerologistLabel->move(m_NumerologistCombo->x(), m_NumerologistCombo->y() - 25);

    m_ToolScroll->setGeometry(w - 190, 10, 180, h - 205);

    const QRect r = pageRect(m_CurrentPage, w, h);
    m_PageArea->setGeometry(r.x(), r.y(), r.width(), r.height() + 50);

    m_NameButton->move(8, h - 8 - m_NameButton->height());
    m_EntryPanel->setGeometry(m_PanelOpen ? 0 : -w, 0, w, h);
    m_InputPanel->move(qMax(0, (w - m_InputPanel->width()) / 2),
                       qMax(0, (h - m_InputPanel->height()) / 2));

    for (int i = 0; i < m_Centre.size(); ++i) {
        if ((i == CentreAnName || i == CentreAnCalc) && m_CurrentPage != PageNameAdvisor)
            continue;
        QPoint shown, hidden;
        centrePositions(i, w, h, &shown, &hidden);
        m_Centre[i].widget->move(centreShownOn(i, m_CurrentPage) ? shown : hidden);
    }
    static const int viewOfPage[PageCount] = {0, 1, 2, 3, 4, -1, 5, 0, 6};
    if (viewOfPage[m_CurrentPage] >= 0)
        reportViews().at(viewOfPage[m_CurrentPage])->resize(r.width() - 2, r.height() - 2);
    if (m_CurrentPage == PageChart) {
        placeChartControls(r);
        repaintChart();
    }

    const int row = h - 140;
    m_SaveHtmlButton->move(w - 190, row);
    m_PrintButton->move(w - 160, row);
    m_ResetButton->move(w - 120, row);
    m_MenuButton->move(w - 70, row);
    m_AboutButton->move(w - 30, row);

    m_TodayPanel->move(w - 190, h - 110);
    const QPoint expandAt(w - 177 - m_ExpandWidget->width(), h - 107);
    m_ExpandWidget->move(expandAt);
    m_ExpandWidget->setPos(expandAt.x(), expandAt.y());

    m_Separator->move(m_ToolScroll->width() - 35, m_ToolScroll->height() - 1);

    if (m_Splash)
        m_Splash->setGeometry(0, 0, w, h);
    if (event)
        QMainWindow::resizeEvent(event);
}

void CZQNum::OnPersButAnim(int val)
{
    const QColor tinted = m_Style->updateColor(QColor(QStringLiteral("#44372f")));
    QColor raised = tinted.toHsv();
    raised.setHsv(raised.hsvHue(), raised.hsvSaturation(), qMin(255, raised.value() + val),
                  raised.alpha());
    QString sheet = m_Style->currentSheets[size_t(CAppStyle::sheetIndexForType(WTPersonButton))];
    sheet.replace(tinted.name(), raised.name(), Qt::CaseSensitive);
    m_NameButton->setStyleSheet(sheet);
}

void CZQNum::OnPersButAnimFinish()
{
    m_BlinkLine->setDirection(m_BlinkLine->direction() == QTimeLine::Forward ? QTimeLine::Backward
                                                                             : QTimeLine::Forward);
    m_BlinkLine->start();
}

void CZQNum::OnMenu()
{
    m_Menu->popup(m_MenuButton->mapToGlobal(QPoint(0, 20)));
}

void CZQNum::initStyle()
{
    static const char *const icons[PageCount]
        = {"numer-but.png", "matr-but.png", "love-but.png", "cel-but.png",  "pet-but.png",
           "chart-but.png", "an-but.png",   "fore-but.png", "guide-but.png"};
    const QColor frame = m_Style->updateColor(QColor(QStringLiteral("#5c524c")));
    for (int page = 0; page < PageCount; ++page) {
        const QImage image(m_ImagesFolder + QString::fromLatin1(icons[page]));
        const QImage framed = CAppStyle::drawRectToImage(image, 0, 0, 59, 59, 1, frame);
        m_PageButtons[size_t(page)]->setIcon(QIcon(QPixmap::fromImage(framed)));
    }

    CAppStyle *s = m_Style;
    s->setWidgetStyle(this, WTWindow);
    for (QWidget *w :
         {m_FullName, m_ShortName, m_PetName, m_AnName, m_PartnerFullName, m_PartnerShortName})
        s->setWidgetStyle(w, WTLineEdit);
    for (QWidget *w : {static_cast<QWidget *>(m_PetDate), static_cast<QWidget *>(m_ChartList),
                       static_cast<QWidget *>(m_AnDate), static_cast<QWidget *>(m_ForecastDate),
                       static_cast<QWidget *>(m_BirthDate), static_cast<QWidget *>(m_Gender),
                       static_cast<QWidget *>(m_PartnerBirthDate)})
        s->setWidgetStyle(w, WTInput);
    for (QWidget *w : {m_ChartEdit, m_ChartNew, m_ChartDelete})
        s->setWidgetStyle(w, WTButton);
    for (QPushButton *b : m_PageButtons)
        s->setWidgetStyle(b, WTPageButton);
    for (QPushButton *b : qAsConst(m_RecentButtons))
        s->setWidgetStyle(b, WTButton);
    for (QWidget *w : {m_AnCalc, m_PetCalc, m_ClearButton})
        s->setWidgetStyle(w, WTButton);
    s->setWidgetStyle(m_NameButton, WTPersonButton);
    s->setWidgetStyle(m_SelectionLabel, WTBandLabel);
    for (QWidget *w : {m_AnBox, m_PetBox, m_PersonBox, m_PartnerBox})
        s->setWidgetStyle(w, WTFramedPanel);
    s->setWidgetStyle(m_InputPanel, WTPanel);
    s->setWidgetStyle(m_Menu, WTWindow);
    s->setWidgetStyle(m_NumerologistCombo, WTInput);
    s->setWidgetStyle(m_NumerologistLabel, WTTransparent);
    s->setWidgetStyle(m_ReportManagerButton, WTImageButton);
    s->setWidgetStyle(m_Chaldean, WTWindow);
    s->setWidgetStyle(m_Phonetic, WTInput);
    s->setWidgetStyle(m_PhoneticLabel, WTTransparent);
    s->setWidgetStyle(m_AnChaldean, WTWindow);

    QString sheet = m_ReportManagerButton->styleSheet();
    sheet.replace(QStringLiteral("IMAGE_S"), QStringLiteral("rep_man.png"), Qt::CaseSensitive);
    sheet.replace(QStringLiteral("IMAGE_H"), QStringLiteral("rep_manh.png"), Qt::CaseSensitive);
    sheet.replace(QStringLiteral("IMAGE_P"), QStringLiteral("rep_manh.png"), Qt::CaseSensitive);
    m_ReportManagerButton->setStyleSheet(sheet);

    m_Separator->setPixmap(QPixmap::fromImage(
        m_Style->updateImage(QImage(m_ImagesFolder + QStringLiteral("hline.png")))));
}
