// The main window's data entry: name, date and calculator edits run a cheap
// preview of one person, a click on a letter of a name panel flips it between
// vowel and consonant, the recent-person buttons bring a person back, and
// people files save and open the inputs.

#include "app/zqnum.h"

#include "engine/numerology.h"
#include "style/infodlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

QString runFileDialog(bool save, const QString &title, const QString &folder, const QString &filter)
{
    if (!save)
        return QFileDialog::getOpenFileName(nullptr, title, folder, filter);
    // A name typed without a suffix gets the format's own, the first one the
    // filter names: "PNG Files (*.png)" gives "png". The dialog asks nothing
    // about replacing: a typed name with another suffix ("victim.num") gets
    // the format's added after the dialog has closed, so only the caller
    // knows the file that will be written, and asks about that one.
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    QFileDialog dialog(nullptr, title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(pattern.match(filter).captured(1));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

// One code per position of the name the engine used: 1 where the vowel
// line holds a digit, else 2 where the consonant line does, else 0.
QVector<int> letterCodes(const QString &vowels, const QString &consonants)
{
    const int length = qMax(vowels.size(), consonants.size());
    QVector<int> codes(length, 0);
    for (int k = 0; k < length; ++k) {
        if (k < vowels.size() && vowels.at(k) != QLatin1Char(' '))
            codes[k] = 1;
        else if (k < consonants.size() && consonants.at(k) != QLatin1Char(' '))
            codes[k] = 2;
    }
    return codes;
}

// Flips one letter of a name: vowel to consonant and back; other signs stay.
void flipLetter(QVector<int> *full, QVector<int> *shortName, int name, int position)
{
    QVector<int> *list = name == 0 ? full : name == 1 ? shortName : nullptr;
    if (!list || position >= list->size())
        return;
    int &code = (*list)[position];
    if (code == 1)
        code = 2;
    else if (code == 2)
        code = 1;
}

// A date that did not parse leaves the edit as it is.
void setDateIfValid(QDateEdit *edit, const QDate &date)
{
    if (date.isValid())
        edit->setDate(date);
}

const QString PeopleFilter = QStringLiteral("Files (*.num)");

QString documentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

QString (*CZQNum::askFileName)(bool save, const QString &title, const QString &folder,
                               const QString &filter)
    = runFileDialog;

void CZQNum::OnTextChanged(const QString &text)
{
    Q_UNUSED(text)
    m_NameOverrides.clear();
    m_ShortNameOverrides.clear();
    OnPreCalcNum();
    const QString *lines = m_Person->m_nameLines;
    m_NameOverrides
        = letterCodes(lines[CNumerology::NLFullVowels], lines[CNumerology::NLFullConsonants]);
    m_ShortNameOverrides
        = letterCodes(lines[CNumerology::NLShortVowels], lines[CNumerology::NLShortConsonants]);
}

void CZQNum::OnPTextChanged(const QString &text)
{
    Q_UNUSED(text)
    m_PartnerNameOverrides.clear();
    m_PartnerShortNameOverrides.clear();
    OnPreCalcNumP();
    const QString *lines = m_Partner->m_nameLines;
    m_PartnerNameOverrides
        = letterCodes(lines[CNumerology::NLFullVowels], lines[CNumerology::NLFullConsonants]);
    m_PartnerShortNameOverrides
        = letterCodes(lines[CNumerology::NLShortVowels], lines[CNumerology::NLShortConsonants]);
}

void CZQNum::OnParsChanged(int value)
{
    Q_UNUSED(value)
    OnTextChanged(QString());
    OnPTextChanged(QString());
}

void CZQNum::OnDateChanged(const QDate &date)
{
    Q_UNUSED(date)
    OnParsChanged(0);
}

void CZQNum::OnNameVWChanged(int name, int position)
{
    if (position < 0)
        return;
    flipLetter(&m_NameOverrides, &m_ShortNameOverrides, name, position);
    OnPreCalcNum();
}

void CZQNum::OnNamePVWChanged(int name, int position)
{
    if (position < 0)
        return;
    flipLetter(&m_PartnerNameOverrides, &m_PartnerShortNameOverrides, name, position);
    OnPreCalcNumP();
}

void CZQNum::OnRecentClicked()
{
    QObject *button = sender();
    int chosen = -1;
    for (int k = 0; k < m_RecentButtons.size() && k < m_Recent.size(); ++k) {
        if (m_RecentGuard || m_RecentButtons.at(k) == button) {
            chosen = k;
            break;
        }
    }
    if (chosen < 0)
        return;
    discardDates();

    // A copy: the edits below run handlers that must not see a list in flux.
    const PersonRecord record = m_Recent.at(chosen);
    m_BirthDate->setDate(record.birthDate);
    m_FullName->setText(record.fullName);
    m_ShortName->setText(record.shortName);
    m_Gender->setCurrentIndex(record.female ? 0 : 1);
    m_PartnerBirthDate->setDate(record.partnerBirthDate);
    m_PartnerFullName->setText(record.partnerFullName);
    m_PartnerShortName->setText(record.partnerShortName);
    // The record keeps the pet; leaving the box as it was would let the next
    // calculation store another pet, or none, under this person.
    setDateIfValid(m_PetDate, record.petBirthDate);
    m_PetName->setText(record.petName);
    m_Chaldean->setChecked(record.chaldean);

    m_NameOverrides = record.nameOverrides;
    m_ShortNameOverrides = record.shortNameOverrides;
    m_PartnerNameOverrides = record.partnerNameOverrides;
    m_PartnerShortNameOverrides = record.partnerShortNameOverrides;
    OnPreCalcNum();
    OnPreCalcNumP();
}

void CZQNum::OnSaveFile(bool closeProg)
{
    QString path;
    if (closeProg) {
        path = recentStorePath();
    } else {
        if (!settleDates())
            return;
        const QString chosen
            = askFileName(true, QStringLiteral("Save"), documentsFolder(), PeopleFilter);
        if (chosen.isEmpty())
            return;
        path = peopleFilePath(chosen);
        // The dialog asks nothing; this is the file that will be replaced.
        if (QFileInfo::exists(path)
            && CInfoDlgWin::showAskMessageBox(
                   m_Style, QStringLiteral("Question"),
                   QStringLiteral("\"%1\" already exists.\r\nDo you want to replace it?")
                       .arg(QFileInfo(path).fileName()),
                   this)
                != 0)
            return;
    }

    bool written = false;
    if (closeProg) {
        written = writeRecentStore(path, m_Recent, m_ForecastDate->date());
    } else {
        PersonInputs inputs;
        inputs.birthDate = m_BirthDate->date();
        inputs.fullName = m_FullName->text();
        inputs.shortName = m_ShortName->text();
        inputs.genderIndex = m_Gender->currentIndex();
        inputs.partnerBirthDate = m_PartnerBirthDate->date();
        inputs.partnerFullName = m_PartnerFullName->text();
        inputs.partnerShortName = m_PartnerShortName->text();
        inputs.petBirthDate = m_PetDate->date();
        inputs.petName = m_PetName->text();
        inputs.forecastDate = m_ForecastDate->date();
        inputs.nameOverrides = m_NameOverrides;
        inputs.shortNameOverrides = m_ShortNameOverrides;
        inputs.partnerNameOverrides = m_PartnerNameOverrides;
        inputs.partnerShortNameOverrides = m_PartnerShortNameOverrides;
        inputs.chaldean = m_Chaldean->isChecked();
        written = writePeopleFile(path, inputs);
    }
    if (!written)
        CNumerology::s_criticalMessage(nullptr, QStringLiteral("Error"),
                                       peopleFileMessage(PeopleFileStatus::CannotWrite, path));
}

// The older ten-field form: no letter lists; the edits' own handlers run the
// previews.
static void applyOldInputs(CZQNum *w, const PersonInputs &inputs)
{
    setDateIfValid(w->m_BirthDate, inputs.birthDate);
    w->m_FullName->setText(inputs.fullName);
    w->m_ShortName->setText(inputs.shortName);
    w->m_Gender->setCurrentIndex(inputs.genderIndex == 1 ? 1 : 0);
    setDateIfValid(w->m_PartnerBirthDate, inputs.partnerBirthDate);
    w->m_PartnerFullName->setText(inputs.partnerFullName);
    w->m_PartnerShortName->setText(inputs.partnerShortName);
    setDateIfValid(w->m_PetDate, inputs.petBirthDate);
    w->m_PetName->setText(inputs.petName);
    w->m_ForecastDate->setDate(QDate::currentDate());
}

void CZQNum::OnOpenFile(bool openProg)
{
    if (openProg) {
        m_Recent.clear();
        updateRecentList();
        const RecentStoreContent content = readRecentStore(recentStorePath());
        if (content.status != PeopleFileStatus::Ok)
            return;
        if (content.oldForm) {
            applyOldInputs(this, content.oldInputs);
            return;
        }
        m_Recent = content.records;
        m_ForecastDate->setDate(QDate::currentDate());
        updateRecentList();
        m_RecentGuard = true;
        OnRecentClicked();
        m_RecentGuard = false;
        return;
    }

    // Before the dialog, whose taking of the focus would end the entry.
    discardDates();
    const QString path
        = askFileName(false, QStringLiteral("Open file"), documentsFolder(), PeopleFilter);
    if (path.size() < 2)
        return;
    // A file that cannot be read or is not a people file leaves the inputs
    // as they are: nothing would take their place.
    const PeopleFileContent content = readPeopleFile(path);
    if (content.status != PeopleFileStatus::Ok) {
        CNumerology::s_criticalMessage(nullptr, QStringLiteral("Error"),
                                       peopleFileMessage(content.status, path));
        return;
    }

    OnResDataI();
    const PersonInputs &in = content.inputs;
    if (content.fieldCount != PeopleFieldCount) {
        applyOldInputs(this, in);
        return;
    }
    m_ForecastDate->setDate(QDate::currentDate());
    setDateIfValid(m_BirthDate, in.birthDate);
    m_FullName->setText(in.fullName);
    m_ShortName->setText(in.shortName);
    m_Gender->setCurrentIndex(in.genderIndex == 0 ? 0 : 1);
    setDateIfValid(m_PartnerBirthDate, in.partnerBirthDate);
    m_PartnerFullName->setText(in.partnerFullName);
    m_PartnerShortName->setText(in.partnerShortName);
    // The file holds the pet too; dropping it would lose what was saved.
    setDateIfValid(m_PetDate, in.petBirthDate);
    m_PetName->setText(in.petName);
    // Before the letter lists: ticking the box rebuilds them from the default
    // classification.
    m_Chaldean->setChecked(in.chaldean);
    m_NameOverrides = in.nameOverrides;
    m_ShortNameOverrides = in.shortNameOverrides;
    m_PartnerNameOverrides = in.partnerNameOverrides;
    m_PartnerShortNameOverrides = in.partnerShortNameOverrides;
    OnPreCalcNum();
    OnPreCalcNumP();
}
