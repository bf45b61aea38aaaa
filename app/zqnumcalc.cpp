// The main window's calculation commands: the full calculation of a person
// with partner and pet, the pet and express-chart commands, the reset, the
// live preview of the input area and the numbers of the forecast date.

#include "app/zqnum.h"

#include "app/dateedit.h"
#include "app/myqwebengineview.h"
#include "app/namenormalizer.h"
#include "app/optionaldate.h"
#include "base/apppaths.h"
#include "engine/chartnumerology.h"
#include "engine/compnumerology.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"
#include "engine/texttables.h"
#include "filetrial/filetrial.h"
#include "layouts/layoutfolder.h"
#include "panels/expandwidget.h"
#include "panels/infocalendarwidget.h"
#include "panels/infocompmatrwidget.h"
#include "panels/infoessencewidget.h"
#include "panels/infoexprplanwidget.h"
#include "panels/infomatrwidget.h"
#include "panels/infonamewidget.h"
#include "panels/infotodaywidget.h"
#include "panels/infowidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextBrowser>
#include <QUrl>
#include <QWebEngineView>

#include <algorithm>
#include <iterator>

namespace {

const QString EmptyPage = QStringLiteral("<html><body><p>&nbsp;</p></body></html>");
// The readings refer to their pictures by paths that resolve against this.
const QUrl ReadingBase = QUrl(QStringLiteral("file://localhost/"));

// Panels are filled by index; a list that is shorter than expected grows
// rather than being written past its end.
void setEntry(QStringList &list, int index, const QString &value)
{
    while (list.size() <= index)
        list << QString();
    list[index] = value;
}

void setValues(CInfoWidget *panel, const QStringList &values)
{
    for (int i = 0; i < values.size(); ++i)
        setEntry(panel->m_Values, i, values.at(i));
}

void setLabels(CInfoWidget *panel, const QStringList &labels)
{
    for (int i = 0; i < labels.size(); ++i)
        setEntry(panel->m_Labels, i, labels.at(i));
}

void blankValues(CInfoWidget *panel, int count)
{
    panel->m_Values.clear();
    for (int i = 0; i < count; ++i)
        panel->m_Values << QString();
}

void blankLabels(CInfoWidget *panel, int count)
{
    panel->m_Labels.clear();
    for (int i = 0; i < count; ++i)
        panel->m_Labels << QString();
}

QString text(const CNumerology *engine, int i)
{
    return engine->m_results[i];
}

QString pair(const CNumerology *engine, int a, int b)
{
    return text(engine, a) + QStringLiteral(" (") + text(engine, b) + QLatin1Char(')');
}

QString withoutSpaces(QString s)
{
    return s.remove(QLatin1Char(' '));
}

// The six name-calculation rows of a full and a short name.
void fillNamePanel(CInfoNameWidget *panel, const CNumerology *engine, const QString &fullName,
                   const QString &shortName)
{
    const QString *rows = engine->m_nameLines;
    setLabels(panel, {rows[0], fullName, rows[1], rows[5], shortName, rows[6]});
    setValues(panel, {rows[3], rows[2], rows[4], rows[8], rows[7], rows[9]});
}

// The three rows of a single name (pet, name or title).
void fillSingleNamePanel(CInfoNameWidget *panel, const CNumerology *engine, const QString &name)
{
    const QString *rows = engine->m_nameLines;
    setLabels(panel, {rows[0], name, rows[1]});
    setValues(panel, {rows[3], rows[2], rows[4]});
}

// The seventeen psycho-matrix numbers in the order the matrix panels show them.
QVector<int> matrixNumbers(const CNumerologyPMatrix *matrix)
{
    const int *c = matrix->digitCount;
    const int *l = matrix->lineValue;
    return {c[1], c[4], c[7], l[3], c[2], c[5], c[8], l[4], c[3],
            c[6], c[9], l[5], l[0], l[1], l[2], l[6], l[7]};
}

void copyNumbers(const QVector<int> &numbers, int *target)
{
    std::copy(numbers.cbegin(), numbers.cend(), target);
}

int vowelRule(const QComboBox *combo)
{
    const int index = combo->currentIndex();
    return index == 1 ? 1 : 0;
}

struct PreparedNames
{
    QString fullName;
    QString shortName;
};

// The pages of a partner and of a pet, emptied when a calculation has none.
void clearCompatibility(CZQNum *w)
{
    blankValues(w->m_CompPanel, 5);
    blankValues(w->m_FamilyPanel, 7);
    blankValues(w->m_CompDetailsPanel, 3);
    std::fill(std::begin(w->m_CompMatrixPanel->m_Counts), std::end(w->m_CompMatrixPanel->m_Counts),
              0);
    std::fill(std::begin(w->m_CompMatrixPanel->m_PartnerCounts),
              std::end(w->m_CompMatrixPanel->m_PartnerCounts), 0);
}

void clearPet(CZQNum *w)
{
    blankLabels(w->m_PetNamePanel, 3);
    blankValues(w->m_PetNamePanel, 3);
    blankValues(w->m_PetFeatures, 3);
}

// Every panel, reading and view back to empty; the inputs stay.
void clearReadings(CZQNum *w)
{
    for (CInfoNameWidget *panel : {w->m_NamePanel, w->m_PersonNamePanel, w->m_PartnerNamePanel}) {
        blankLabels(panel, 6);
        blankValues(panel, 6);
    }
    blankLabels(w->m_EssencePanel, 7);
    blankValues(w->m_EssencePanel, 7);
    w->m_EssencePanel->updateData();
    blankValues(w->m_PartnerFeatures, 6);
    blankValues(w->m_PersonFeatures, 6);
    blankValues(w->m_Bridges, 2);
    blankValues(w->m_AddFeatures, 6);
    blankValues(w->m_LifeCycles, 6);
    blankValues(w->m_MainFeatures, 6);
    blankValues(w->m_PlanesPanel, 20);
    blankValues(w->m_TodayPanel, 3);
    clearCompatibility(w);
    clearPet(w);
    blankValues(w->m_AnFeatures, 5);
    blankLabels(w->m_AnNamePanel, 3);
    blankValues(w->m_AnNamePanel, 3);

    std::fill(std::begin(w->m_MatrixPanel->m_Counts), std::end(w->m_MatrixPanel->m_Counts), 0);
    w->m_CalendarPanel->m_BirthNumber = 0;

    w->m_Pet->reportHtml.clear();
    w->m_PersonMatrix->reportHtml.clear();
    w->m_PartnerMatrix->reportHtml.clear();
    w->m_Analyzer->reportHtml.clear();
    w->m_Comp->resetData();
    w->m_Chart->resetData();

    // The Guide keeps the manual and whatever page the user went to in it.
    for (MyQWebEngineView *view :
         {w->m_NumerologyView, w->m_CelView, w->m_PetView, w->m_CompView, w->m_PMatrixView})
        view->setHtml(EmptyPage, QUrl());
    w->m_AnalyzerView->setHtml(EmptyPage, QUrl());
    w->m_ExpandWidget->m_TextBrowser->setText(QString());
}

// A name of letters that have no value (Cyrillic, Greek, ...) prepares to
// nothing, which is not the same as a name left empty.
bool hasLetter(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetter(); });
}

PreparedNames prepareNames(const QString &full, const QString &shortName)
{
    PreparedNames names;
    names.fullName = preparePersonName(full);
    names.shortName = preparePersonName(shortName);
    if (names.shortName.isEmpty())
        names.shortName = defaultShortName(names.fullName);
    return names;
}

// The input-area panels of one person. Without a name there is nobody to
// show: the engine's numbers of an empty name ("=0=0" rows, every digit a
// karmic lesson) would pass for a person's.
void showPreview(CInfoWidget *features, CInfoNameWidget *namePanel, const CNumerology *p,
                 const PreparedNames &names)
{
    if (names.fullName.isEmpty() && names.shortName.isEmpty()) {
        blankValues(features, 6);
        blankLabels(namePanel, 6);
        blankValues(namePanel, 6);
    } else {
        setValues(features,
                  {text(p, 0), text(p, 10), pair(p, 2, 3), pair(p, 4, 5), pair(p, 6, 7),
                   withoutSpaces(text(p, 11))});
        fillNamePanel(namePanel, p, names.fullName, names.shortName);
    }
    features->repaint();
    namePanel->repaint();
}

} // namespace

bool CZQNum::settleDates()
{
    // A box keeps its old date until the entry in it ends, and the commands
    // come from buttons, menus and keys that need not take the focus from it.
    bool settled = true;
    for (CDateEdit *box : findChildren<CDateEdit *>())
        settled = box->settle() && settled;
    return settled;
}

void CZQNum::discardDates()
{
    for (CDateEdit *box : findChildren<CDateEdit *>())
        box->discardEntry();
}

int CZQNum::layoutIndex()
{
    const int index = m_NumerologistCombo->currentIndex();
    const auto inUse = [this] {
        const int found
            = m_NumerologistCombo->findData(m_LayoutInUse, Qt::DisplayRole, Qt::MatchFixedString);
        return m_LayoutInUse.isEmpty() || found < 0 ? 0 : found;
    };
    if (index <= 0 || index > m_Layouts.size())
        return index;
    // Readings asked for while a layout is being tried (the window stays
    // responsive meanwhile) are built with the one in use.
    if (m_CheckingLayout)
        return inUse();
    const QString name = m_Layouts.at(index - 1).name;
    const QString path = QDir(getUserFolder()).filePath(name + QLatin1String(LayoutFileSuffix));
    if (!QFileInfo::exists(path)) {
        m_LayoutInUse = name;
        return index;
    }
    m_CheckingLayout = true;
    const FileTrial::Verdict verdict = FileTrial::tryFile(path, FileTrial::Kind::Layout);
    m_CheckingLayout = false;
    if (verdict.accepted) {
        m_LayoutInUse = name;
        return index;
    }
    CNumerology::s_criticalMessage(this, QStringLiteral("Warning"), verdict.reason);
    // The layout chosen before stays.
    const int previous = inUse();
    const QSignalBlocker blocker(m_NumerologistCombo);
    m_NumerologistCombo->setCurrentIndex(previous);
    return previous;
}

void CZQNum::OnCalcNum()
{
    if (!settleDates())
        return;
    const bool chaldean = m_Chaldean->isChecked();
    m_NamePanel->m_MarkMasterLetters = !chaldean;
    m_PersonNamePanel->m_MarkMasterLetters = !chaldean;

    const PreparedNames person = prepareNames(m_FullName->text(), m_ShortName->text());
    const PreparedNames partner
        = prepareNames(m_PartnerFullName->text(), m_PartnerShortName->text());
    const QString petName = preparePetName(m_PetName->text());
    const QDate birth = m_BirthDate->date();
    const QDate partnerBirth = m_PartnerBirthDate->date();
    const QDate petBirth = m_PetDate->date();
    const bool female = m_Gender->currentIndex() == 0;

    if (person.fullName.isEmpty() || person.shortName.isEmpty()) {
        if (hasLetter(m_FullName->text()))
            rejectPersonName();
        return;
    }

    m_Pet->resetData();
    m_PartnerMatrix->resetData();
    m_PersonMatrix->resetData();
    m_Comp->resetData();
    m_Chart->resetData();
    m_Celebrity->resetData();
    m_Person->setMasterNumbersMode(m_Settings.masterNumbersMode);
    m_Partner->setMasterNumbersMode(m_Settings.masterNumbersMode);

    QList<reportSetting> *layouts = &m_Layouts;
    const int layout = layoutIndex();
    const QDate forecast = m_ForecastDate->date();
    const int vowels = vowelRule(m_Phonetic);

    const bool ok1 = m_Person->calculate(person.fullName, person.shortName, m_NameOverrides,
                                         m_ShortNameOverrides, chaldean, birth, forecast, layouts,
                                         layout, vowels, false);
    if (ok1)
        m_Celebrity->calculateCel(person.fullName, birth, chaldean, layouts, layout, vowels);
    const bool ok2 = m_PersonMatrix->calculate(person.fullName, birth, layouts, layout);

    bool petOk = false;
    if (petName.isEmpty())
        m_Pet->resetData();
    else
        petOk = m_Pet->calculatePet(petName, QString(), petBirth, forecast, false, layouts, layout);

    bool compOk = false;
    if (partner.fullName.isEmpty() || partner.shortName.isEmpty() || !ok2) {
        m_Comp->resetData();
    } else {
        const bool p1
            = m_Partner->calculate(partner.fullName, partner.shortName, m_PartnerNameOverrides,
                                   m_PartnerShortNameOverrides, chaldean, partnerBirth, forecast,
                                   layouts, layout, vowels, false);
        const bool p2 = m_PartnerMatrix->calculate(partner.fullName, partnerBirth, layouts, layout);
        if (p1 && p2)
            compOk = m_Comp->calculate(m_Person, m_Partner, m_PersonMatrix, m_PartnerMatrix,
                                       layouts, layout);
    }

    if (!ok1 || !ok2) {
        m_Chart->resetData();
        OnResData();
    } else {
        const CNumerology *p = m_Person;
        setValues(
            m_MainFeatures,
            {text(p, 0), text(p, 1), pair(p, 2, 3), pair(p, 4, 5), pair(p, 6, 7), text(p, 10)});
        setValues(m_AddFeatures,
                  {text(p, 8), text(p, 9), withoutSpaces(text(p, 11)), text(p, 16), text(p, 18),
                   text(p, 19)});
        setValues(m_LifeCycles,
                  {text(p, 20), text(p, 12), text(p, 13), text(p, 17), text(p, 21), text(p, 22)});
        setValues(m_Bridges, {text(p, 14), text(p, 15)});
        fillNamePanel(m_NamePanel, p, person.fullName, person.shortName);
        QStringList planes;
        for (const QString &t : p->m_planeTexts)
            planes << t;
        setValues(m_PlanesPanel, planes);

        setLabels(m_EssencePanel,
                  {p->m_transitPhysical, p->m_transitMental, p->m_transitSpiritual});
        for (int i = 0; i < 128; ++i) {
            m_EssencePanel->m_EssenceReduced[i] = p->m_essence[128 + i];
            m_EssencePanel->m_EssenceSum[i] = p->m_essence[i];
        }
        m_EssencePanel->m_BirthYear = p->m_birthDate.year();
        m_EssencePanel->updateData();

        m_CalendarPanel->m_BirthNumber = p->m_dayMonthDigit;
        m_CalendarPanel->m_Date = p->m_forecastDate;
        slotPNC(p->m_forecastDate);

        copyNumbers(matrixNumbers(m_PersonMatrix), m_MatrixPanel->m_Counts);

        // Without a pet or a partner their pages must not keep the last ones'.
        if (petOk) {
            setValues(m_PetFeatures, {text(m_Pet, 2), text(m_Pet, 1), text(m_Pet, 17)});
            fillSingleNamePanel(m_PetNamePanel, m_Pet, petName);
        } else {
            clearPet(this);
        }

        if (compOk) {
            const QString *c = m_Comp->resultText;
            setValues(m_CompPanel, {c[15], c[8], c[10], c[11], c[14]});
            setValues(m_FamilyPanel, {c[6], c[0], c[2], c[1], c[3], c[4], c[5]});
            setValues(m_CompDetailsPanel, {c[7], c[9], c[13]});
            copyNumbers(matrixNumbers(m_PersonMatrix), m_CompMatrixPanel->m_Counts);
            copyNumbers(matrixNumbers(m_PartnerMatrix), m_CompMatrixPanel->m_PartnerCounts);
        } else {
            clearCompatibility(this);
        }

        PersonRecord record;
        record.fullName = person.fullName;
        record.shortName = person.shortName;
        record.birthDate = birth;
        record.female = female;
        record.partnerFullName = partner.fullName;
        record.partnerShortName = partner.shortName;
        record.partnerBirthDate = partnerBirth;
        record.petBirthDate = petBirth;
        record.petName = petName;
        record.nameOverrides = m_NameOverrides;
        record.shortNameOverrides = m_ShortNameOverrides;
        record.partnerNameOverrides = m_PartnerNameOverrides;
        record.partnerShortNameOverrides = m_PartnerShortNameOverrides;
        record.chaldean = chaldean;
        addRecentPerson(&m_Recent, record);
        m_NameCaption
            = person.shortName + QLatin1Char('\n') + birth.toString(QStringLiteral("MM/dd/yyyy"));
        updateRecentList();

        for (QWidget *panel : std::initializer_list<QWidget *> {
                 m_MainFeatures, m_AddFeatures, m_LifeCycles, m_Bridges, m_NamePanel, m_PlanesPanel,
                 m_EssencePanel, m_CalendarPanel, m_MatrixPanel, m_PetFeatures, m_PetNamePanel,
                 m_CompPanel, m_FamilyPanel, m_CompDetailsPanel, m_CompMatrixPanel})
            panel->update();
    }

    auto show = [](MyQWebEngineView *view, bool ok, const QString &html) {
        if (ok)
            view->setHtml(html, ReadingBase);
        else
            view->setHtml(EmptyPage, QUrl());
    };
    show(m_NumerologyView, ok1, m_Person->reportHtml);
    show(m_PMatrixView, ok2, m_PersonMatrix->reportHtml);
    show(m_CelView, ok1, m_Celebrity->reportHtml);
    show(m_PetView, petOk, m_Pet->reportHtml);
    show(m_CompView, compOk, m_Comp->reportHtml);
    update();
}

void CZQNum::rejectPersonName()
{
    // Leaving the last person's reading beside such a name would pass it off
    // as this one's; the typed text stays for the user to mend.
    CNumerology::s_criticalMessage(this, QString(),
                                   QStringLiteral("Error! Incorrect full or short name!"));
    clearReadings(this);
    m_NameCaption = QStringLiteral("ENTER YOUR NAME");
    m_NameButton->setText(m_NameCaption);
    OnPreCalcNum();
    OnPreCalcNumP();
    update();
}

void CZQNum::OnCalcPetNum()
{
    if (!settleDates())
        return;
    const QDate petBirth = m_PetDate->date();
    const QString petName = unaccent(m_PetName->text());
    if (petName.isEmpty()) {
        // No pet: its page must not keep the last pet's numbers.
        m_Pet->resetData();
        m_Pet->reportHtml.clear();
        clearPet(this);
        m_PetFeatures->update();
        m_PetNamePanel->update();
    } else if (m_Pet->calculatePet(petName, QString(), petBirth, m_ForecastDate->date(), false,
                                   &m_Layouts, layoutIndex())) {
        setValues(m_PetFeatures, {text(m_Pet, 2), text(m_Pet, 1), text(m_Pet, 17)});
        fillSingleNamePanel(m_PetNamePanel, m_Pet, petName);
        m_PetFeatures->update();
        m_PetNamePanel->update();
    }
    m_PetView->setHtml(m_Pet->reportHtml, ReadingBase);
    update();
}

void CZQNum::OnCalcAnNum()
{
    if (!settleDates())
        return;
    const QDate date = optionalDate(m_AnDate);
    const QString name = prepareTitleName(m_AnName->text());
    const bool chaldean = m_AnChaldean->isChecked();
    if (name.isEmpty()) {
        CNumerology::s_criticalMessage(this, QString(),
                                       QStringLiteral("Enter your data before calculation!"));
        return;
    }
    m_Analyzer->resetData();
    if (m_Analyzer->calculateAn(name, date, false, chaldean)) {
        setValues(m_AnFeatures,
                  {text(m_Analyzer, 0), text(m_Analyzer, 2), text(m_Analyzer, 4),
                   text(m_Analyzer, 6), text(m_Analyzer, 11)});
        fillSingleNamePanel(m_AnNamePanel, m_Analyzer, name);
        m_AnFeatures->update();
        m_AnNamePanel->update();
    }
    m_AnalyzerView->setHtml(m_Analyzer->reportHtml, QUrl());
    update();
}

void CZQNum::OnResData()
{
    const QDate start(2000, 1, 1);
    // Reset and New take no focus: an entry begun before them would
    // otherwise end, and count, when the focus leaves its box.
    discardDates();
    m_FullName->clear();
    m_ShortName->clear();
    m_BirthDate->setDate(start);
    m_Gender->setCurrentIndex(0);
    m_Chaldean->setChecked(false);
    m_PartnerFullName->clear();
    m_PartnerShortName->clear();
    m_PartnerBirthDate->setDate(start);

    clearReadings(this);

    m_PetName->clear();
    m_PetDate->setDate(start);
    m_AnName->clear();
    clearOptionalDate(m_AnDate);

    m_NameCaption = QStringLiteral("ENTER YOUR NAME");
    m_NameButton->setText(m_NameCaption);

    m_ForecastDate->setDate(QDate::currentDate());
    slotPNC(m_ForecastDate->date());
    repaint();
}

void CZQNum::OnResDataI()
{
    OnResData();
    m_NameCaption = QStringLiteral("APPLY");
    m_NameButton->setText(m_NameCaption);
}

void CZQNum::OnPreCalcNum()
{
    const int vowels = vowelRule(m_Phonetic);
    const bool chaldean = m_Chaldean->isChecked();
    m_PersonNamePanel->m_MarkMasterLetters = !chaldean;
    m_NamePanel->m_MarkMasterLetters = !chaldean;

    const QDate birth = m_BirthDate->date();
    const PreparedNames names = prepareNames(m_FullName->text(), m_ShortName->text());
    m_Person->setMasterNumbersMode(m_Settings.masterNumbersMode);
    m_Person->calculate(names.fullName, names.shortName, m_NameOverrides, m_ShortNameOverrides,
                        chaldean, birth, m_ForecastDate->date(), &m_Layouts, layoutIndex(), vowels,
                        true);

    showPreview(m_PersonFeatures, m_PersonNamePanel, m_Person, names);
}

void CZQNum::OnPreCalcNumP()
{
    const int vowels = vowelRule(m_Phonetic);
    const bool chaldean = m_Chaldean->isChecked();
    m_PartnerNamePanel->m_MarkMasterLetters = !chaldean;

    const QDate birth = m_PartnerBirthDate->date();
    const PreparedNames names = prepareNames(m_PartnerFullName->text(), m_PartnerShortName->text());
    m_Partner->setMasterNumbersMode(m_Settings.masterNumbersMode);
    m_Partner->calculate(names.fullName, names.shortName, m_PartnerNameOverrides,
                         m_PartnerShortNameOverrides, chaldean, birth, m_ForecastDate->date(),
                         &m_Layouts, layoutIndex(), vowels, true);

    showPreview(m_PartnerFeatures, m_PartnerNamePanel, m_Partner, names);
}

void CZQNum::slotPNC(QDate date)
{
    if (m_CalendarPanel->m_BirthNumber < 1)
        return;
    const auto dtd = &CNumerology::downToDigit;
    const QDate birth = m_BirthDate->date();
    const int b = dtd(dtd(birth.day()) + dtd(birth.month()));
    const int year = dtd(date.year());
    const int py = dtd(year + b);
    const int pm = dtd(year + b + dtd(date.month()));
    const int pd = dtd(b + year + dtd(date.month()) + dtd(date.day()));

    setEntry(m_TodayPanel->m_Values, 0,
             QString::number(date.year()) + QStringLiteral(" (") + QString::number(py)
                 + QLatin1Char(')'));
    setEntry(m_TodayPanel->m_Values, 1,
             CInfoCalendarWidget::monthAbbreviation(date.month()) + QStringLiteral(" (")
                 + QString::number(pm) + QLatin1Char(')'));
    setEntry(m_TodayPanel->m_Values, 2, QString::number(pd));
    if (pd >= 0 && pd < kNumerTableSize)
        m_ExpandWidget->m_TextBrowser->setText(numerPersDate[pd]);
    m_TodayPanel->update();
    m_CalendarPanel->m_Date = date;
    m_CalendarPanel->update();
}
