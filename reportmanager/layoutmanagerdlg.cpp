#include "reportmanager/layoutmanagerdlg.h"

#include "base/apppaths.h"
#include "engine/texttables.h"
#include "filetrial/filetrial.h"
#include "layouts/defaultlayout.h"
#include "layouts/layoutfolder.h"
#include "layouts/layoutlimits.h"
#include "layouts/layoutlist.h"
#include "layouts/layoutpictures.h"
#include "reportmanager/layoutdialogs.h"
#include "reportmanager/texteditor.h"
#include "reportmanager/wclcontainer.h"
#include "style/appstyle.h"
#include "style/infodlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

namespace {

const QColor captionColor(237, 219, 178);
const QString hideImageOption = QStringLiteral("hide-image");

QPushButton *makeButton(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setGeometry(geometry);
    return button;
}

QCheckBox *makeCheck(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *check = new QCheckBox(text, parent);
    check->setGeometry(geometry);
    return check;
}

} // namespace

CLayoutManagerDlg::CLayoutManagerDlg(CAppStyle *style, QString name, QWidget *parent)
    : QWidget(parent)
    , style(style)
    , m_folder(getUserFolder() + QLatin1Char('/'))
{
    // The scheme's window sheet paints the background of this plain widget.
    setAttribute(Qt::WA_StyledBackground);
    okButton = makeButton(QStringLiteral("Ok"), QRect(300, 595, 80, 20), this);
    connect(okButton, &QPushButton::clicked, this, qOverload<>(&CLayoutManagerDlg::OnOk));
    cancelButton = makeButton(QStringLiteral("Cancel"), QRect(200, 595, 80, 20), this);
    connect(cancelButton, &QPushButton::clicked, this, &CLayoutManagerDlg::OnExit);

    kindCombo = new QComboBox(this);
    kindCombo->setGeometry(400, 24, 170, 25);
    for (int kind = 0; kind < ReportKindCount; ++kind)
        kindCombo->addItem(QIcon(), reportKindCaption(kind));
    connect(kindCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &CLayoutManagerDlg::OnRepName);

    itemNames = ::itemNames();

    nameButton = makeButton(QStringLiteral("Name"), QRect(400, 139, 170, 25), this);
    connect(nameButton, &QPushButton::clicked, this, &CLayoutManagerDlg::OnSetName);
    headerFontButton = makeButton(QStringLiteral("Font"), QRect(400, 173, 170, 25), this);
    connect(headerFontButton, &QPushButton::clicked, this, &CLayoutManagerDlg::OnHeaderFont);
    headerColorButton = makeButton(QStringLiteral("Color"), QRect(400, 207, 170, 25), this);
    connect(headerColorButton, &QPushButton::clicked, this, &CLayoutManagerDlg::OnHeaderColor);
    contentFontButton = makeButton(QStringLiteral("Font"), QRect(400, 289, 170, 25), this);
    connect(contentFontButton, &QPushButton::clicked, this, &CLayoutManagerDlg::OnContentFont);
    contentColorButton = makeButton(QStringLiteral("Color"), QRect(400, 323, 170, 25), this);
    connect(contentColorButton, &QPushButton::clicked, this, &CLayoutManagerDlg::OnContentColor);
    hideAllImagesCheck
        = makeCheck(QStringLiteral("Hide All Images"), QRect(400, 50, 170, 25), this);
    connect(hideAllImagesCheck, &QCheckBox::clicked, this, &CLayoutManagerDlg::OnCheckAllImages);
    hideImageCheck = makeCheck(QStringLiteral("Hide Image"), QRect(400, 115, 170, 25), this);
    connect(hideImageCheck, &QCheckBox::clicked, this, &CLayoutManagerDlg::OnCheckCurImage);
    defaultCheck = makeCheck(QStringLiteral("Default"), QRect(400, 75, 170, 25), this);
    connect(defaultCheck, &QCheckBox::clicked, this, &CLayoutManagerDlg::OnCheckDef);
    editButton = makeButton(QStringLiteral("Edit"), QRect(400, 255, 170, 25), this);
    connect(editButton, &QPushButton::clicked, this, &CLayoutManagerDlg::OnTextEdit);

    settingsList = new QListWidget(this);
    settingsList->setGeometry(400, 375, 170, 132);
    // A layout's pictures are decoded once it is chosen in the list.
    loadReportSettings(&settings, m_folder, &m_loadedFiles, false);
    int chosenRow = -1;
    for (int i = 0; i < settings.size(); ++i) {
        settingsList->addItem(settings.at(i).name);
        if (settings.at(i).name == name)
            chosenRow = i;
    }
    connect(settingsList, &QListWidget::currentRowChanged, this,
            &CLayoutManagerDlg::OnSelectSetting);
    newButton = makeButton(QStringLiteral("New"), QRect(400, 520, 50, 20), this);
    connect(newButton, &QPushButton::clicked, this, &CLayoutManagerDlg::OnNewSetting);
    copyButton = makeButton(QStringLiteral("Copy"), QRect(460, 520, 50, 20), this);
    connect(copyButton, &QPushButton::clicked, this, qOverload<>(&CLayoutManagerDlg::OnAddSetting));
    deleteButton = makeButton(QStringLiteral("Delete"), QRect(520, 520, 50, 20), this);
    connect(deleteButton, &QPushButton::clicked, this, &CLayoutManagerDlg::OnDelSetting);
    renameButton = makeButton(QStringLiteral("Rename"), QRect(400, 550, 50, 20), this);
    connect(renameButton, &QPushButton::clicked, this, &CLayoutManagerDlg::OnRenameSetting);
    folderButton = makeButton(QStringLiteral("Folder"), QRect(460, 550, 50, 20), this);
    connect(folderButton, &QPushButton::clicked, this, &CLayoutManagerDlg::OnFolderSetting);

    auto *orderList = new CWCLContainer(style, this, true);
    orderList->setGeometry(15, 25, 180, 545);
    auto *availableList = new CWCLContainer(style, this, false);
    availableList->setGeometry(205, 25, 180, 545);
    lists << orderList << availableList;
    connect(orderList->containerWidget, &CWCLContainerWidget::itemSel, this,
            &CLayoutManagerDlg::OnItemSelected);
    connect(availableList->containerWidget, &CWCLContainerWidget::itemSel, this,
            &CLayoutManagerDlg::OnItemSelectedAlt);
    for (CWCLContainer *list : qAsConst(lists))
        list->setGeometry(list->geometry().adjusted(1, 1, -1, -1));

    OnRepName(kindCombo->currentIndex());
    initStyle();

    okButton->move(width() / 2 + 10, height() - 30);
    cancelButton->move(width() / 2 - 90, height() - 30);

    if (chosenRow < 0 && !settings.isEmpty())
        chosenRow = 0;
    if (chosenRow >= 0)
        settingsList->setCurrentRow(chosenRow);
    if (parentWidget())
        parentWidget()->setWindowTitle(QStringLiteral("Report Manager"));
    OnRepName(kindCombo->currentIndex());
    updateFields();
}

CLayoutManagerDlg::~CLayoutManagerDlg() = default;

void CLayoutManagerDlg::initStyle()
{
    if (style) {
        style->setWidgetStyle(this, WTWindow);
        style->setWidgetStyle(kindCombo, WTInput);
        style->setWidgetStyle(defaultCheck, WTWindow);
        for (QPushButton *button :
             {nameButton, headerFontButton, headerColorButton, editButton, contentFontButton,
              contentColorButton, newButton, copyButton, deleteButton, renameButton, folderButton})
            style->setWidgetStyle(button, WTButton);
        style->setWidgetStyle(settingsList, WTListPanel);
        style->setWidgetStyle(okButton, WTOkButton);
        style->setWidgetStyle(cancelButton, WTCancelButton);
    }
    const QSize size(580, 625);
    resize(size);
    if (QWidget *frame = parentWidget()) {
        frame->resize(size);
        frame->setFixedSize(size);
        frame->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint
                              | Qt::WindowCloseButtonHint);
    }
}

int CLayoutManagerDlg::currentKind() const
{
    return kindCombo->currentIndex();
}

int CLayoutManagerDlg::currentRow() const
{
    return settingsList->currentRow();
}

void CLayoutManagerDlg::addItem(int kind, int type, const QString &title)
{
    CWCLContainerWidget *surface = lists.at(1)->containerWidget;
    auto *tile = new CWCLItem(style, surface);
    tile->kind = kind;
    tile->type = uint(type);
    tile->name = getItemName(kind, type);
    tile->resize(surface->itemSize);
    tile->copyOnDrag = true;
    tile->title = title;
    tile->headerFont.setPointSize(16);
    tile->contentFont.setPointSize(14);
    tile->show();
    surface->itemList.append(tile);
}

void CLayoutManagerDlg::setToItems(int kind, int row)
{
    if (row < 0 || row >= settings.size() || kind < 0 || kind >= ReportKindCount)
        return;
    CWCLContainerWidget *surface = lists.at(0)->containerWidget;
    surface->clearItems();
    LayoutPictures::decode(&settings[row]);
    for (const repItem &item : qAsConst(settings[row].items[kind])) {
        auto *tile = new CWCLItem(style, surface);
        repItem shown = item;
        shown.name = getItemName(item.kind, int(item.type));
        padEntries(&shown.texts, &shown.images, &shown.useStdText);
        tile->setSection(shown);
        tile->resize(surface->itemSize);
        connect(tile, &CWCLItem::itemSel, surface, &CWCLContainerWidget::OnItemSel);
        tile->show();
        surface->itemList.append(tile);
    }
    currentItem = nullptr;
    updateFields();
    surface->updateContainer();
}

void CLayoutManagerDlg::itemsToSet(int kind, int row)
{
    if (row < 0 || row >= settings.size() || kind < 0 || kind >= ReportKindCount)
        return;
    QList<repItem> &list = settings[row].items[kind];
    list.clear();
    for (CWCLItem *tile : lists.at(0)->containerWidget->items()) {
        padEntries(&tile->texts, &tile->images, &tile->useStdText);
        list.append(tile->section());
    }
}

void CLayoutManagerDlg::updateFields()
{
    disconnect(defaultCheck, &QCheckBox::clicked, this, &CLayoutManagerDlg::OnCheckDef);
    itemsToSet(currentKind(), currentRow());
    const bool haveSetting = currentRow() >= 0;
    lists.at(0)->setEnabled(haveSetting);
    lists.at(1)->setEnabled(haveSetting);
    kindCombo->setEnabled(haveSetting);

    repItem section;
    if (currentItem)
        section = currentItem->section();
    const SectionControls controls = sectionControls(currentItem ? &section : nullptr);
    defaultCheck->setEnabled(controls.defaultEnabled);
    defaultCheck->setChecked(controls.defaultChecked);
    for (QWidget *control :
         {static_cast<QWidget *>(headerFontButton), static_cast<QWidget *>(nameButton),
          static_cast<QWidget *>(hideImageCheck), static_cast<QWidget *>(headerColorButton),
          static_cast<QWidget *>(contentFontButton), static_cast<QWidget *>(contentColorButton)})
        control->setEnabled(controls.styleEnabled);
    editButton->setEnabled(controls.editEnabled);
    hideImageCheck->setChecked(controls.hideImageChecked);
    connect(defaultCheck, &QCheckBox::clicked, this, &CLayoutManagerDlg::OnCheckDef);
}

void CLayoutManagerDlg::getMassText(int kind, int type, QString **table, int *size)
{
    // Per kind, the table of each field type; nullptr where a type has none.
    static QString *const numerology[] = {nullptr,
                                          numerLifePath,
                                          numerBirthDate,
                                          numerExpr,
                                          numerExprM,
                                          numerHeartDesire,
                                          numerMinorHeartDesire,
                                          numerPersonality,
                                          numerMaturity,
                                          numerRationalThoughts,
                                          numerKarmicLessons,
                                          numerBalance,
                                          numerHiddenPassion,
                                          numerSubconsConfid,
                                          numerPinnacles,
                                          numerChallenges,
                                          numerPersYear,
                                          numerPersDate,
                                          numerPersDate,
                                          numerTransit,
                                          numerEssence,
                                          numerPersonality,
                                          numerKarmDebts,
                                          numerKarmDebts,
                                          nullptr,
                                          numerCompoundNumbers,
                                          numerPlanesOfExpression,
                                          numerPlanesOfExpressionP,
                                          numerPlanesOfExpressionM,
                                          numerPlanesOfExpressionE,
                                          numerPlanesOfExpressionI,
                                          numerBridgeLPE,
                                          numerBridgeLPEDet,
                                          numerBridgeHDP,
                                          numerBridgeHDPDet,
                                          numerCustomText};
    static QString *const psychoMatrix[] = {nullptr,
                                            numer1,
                                            numer2,
                                            numer3,
                                            numer4,
                                            numer5,
                                            numer6,
                                            numer7,
                                            numer8,
                                            numer9,
                                            numerPurposeful,
                                            numerFamilyFormation,
                                            numerStability,
                                            numerSelfAppraisal,
                                            numerFinance,
                                            numerTalent,
                                            numerSpirituality,
                                            numerSexualLife,
                                            numerCustomText};
    static QString *const love[]
        = {numerDetComp, numerLPComp,    numerSumComp, numerNameComp,        nullptr,
           numerDetComp, numerDetComp,   numerDetComp, numerPMCharacterComp, numerPMEnergyComp,
           numerDetComp, numerCustomText};
    static QString *const celebrities[]
        = {nullptr, numerCelLP, numerCelBD, numerCelExpr, numerCustomText};
    static QString *const pet[] = {nullptr, numerPetC, numerPetDForecast, numerCustomText};

    const auto pick = [type](auto &tables) -> QString * {
        const int count = int(sizeof(tables) / sizeof(tables[0]));
        return type >= 0 && type < count ? tables[type] : nullptr;
    };
    QString *found = nullptr;
    switch (kind) {
    case RKNumerology:
        found = pick(numerology);
        break;
    case RKPsychoMatrix:
        found = pick(psychoMatrix);
        break;
    case RKLoveCompatibility:
        // The love "Psycho-matrix" section has no texts of its own.
        if (type == 4) {
            *table = nullptr;
            return;
        }
        found = pick(love);
        break;
    case RKCelebrities:
        found = pick(celebrities);
        break;
    case RKPet:
        found = pick(pet);
        break;
    default:
        break;
    }
    if (!found)
        return;
    *table = found;
    if (size) {
        if (found == numerCustomText)
            *size = kCustomTextEntries;
        else if (kind == RKCelebrities)
            *size = kCelebritySlots;
        else
            *size = kNumerTableSize;
    }
}

// ---------------------------------------------------------------------------
// The list of settings.

// The question box with a name field under its text, as both the setting and
// the section rename use it.
QLineEdit *CLayoutManagerDlg::addNameField(CInfoDlgWin *dialog, const QString &title,
                                           const QString &text)
{
    dialog->setWindowTitle(title);
    QLabel *label = dialog->content->textLabel;
    label->setText(QStringLiteral("Enter new setting name"));
    label->move(label->x(), 50);
    label->resize(380, 40);
    auto *field = new QLineEdit(dialog->content);
    field->setGeometry(10, 90, 380, 22);
    if (style)
        style->setWidgetStyle(field, WTLineEdit);
    field->setText(text);
    // What the user types when the box opens goes into the name; a name
    // shown for renaming is replaced by it.
    field->selectAll();
    field->setFocus();
    return field;
}

bool CLayoutManagerDlg::askSettingName(const QString &title, QString *name)
{
    CInfoDlgWin dialog(style, this, 1.0, 400);
    QLineEdit *field = addNameField(&dialog, title, *name);
    for (;;) {
        dialog.content->result = -1;
        LayoutDialogs::exec(&dialog);
        if (dialog.content->result != 0)
            return false;
        const QString typed = field->text();
        SettingNameError error = checkSettingName(typed, settings);
        // Refused here rather than by the save at Ok, where it would be late.
        if (error == SettingNameError::None)
            error = checkLayoutFileName(typed, m_folder, m_loadedFiles);
        if (error == SettingNameError::None) {
            *name = typed;
            return true;
        }
        CInfoDlgWin::showInfoMessageBox(style, QStringLiteral("Error"),
                                        settingNameMessage(error, typed), this);
    }
}

void CLayoutManagerDlg::OnNewSetting()
{
    OnAddSetting(INSERT_NEW);
}

void CLayoutManagerDlg::OnAddSetting()
{
    OnAddSetting(INSERT_COPY);
}

void CLayoutManagerDlg::OnAddSetting(CLayoutManagerDlg::INSERTType valT)
{
    QString name;
    if (!askSettingName(QStringLiteral("New setting"), &name))
        return;
    settings.append(makeNewSetting(settings, currentRow(), int(valT), name));
    settingsList->addItem(name);
    settingsList->setCurrentRow(settingsList->count() - 1);
}

void CLayoutManagerDlg::OnDelSetting()
{
    const int row = currentRow();
    if (row < 0 || row >= settings.size())
        return;
    const QString text
        = QStringLiteral("Do you want remove \"%1\"?").arg(settingsList->item(row)->text());
    if (CInfoDlgWin::showAskMessageBox(style, QStringLiteral("Question"), text, this) != 0)
        return;
    // Refilling the list moves its current row; nothing may be written back
    // into the settings until the row is chosen again.
    currentItem = nullptr;
    lists.at(0)->containerWidget->clearItems();
    removeSetting(&settings, row);
    {
        const QSignalBlocker blocker(settingsList);
        settingsList->clear();
        for (const reportSetting &setting : qAsConst(settings))
            settingsList->addItem(setting.name);
        settingsList->setCurrentRow(-1);
    }
    settingsList->setCurrentRow(row >= 1 ? row - 1 : 0);
    updateFields();
}

void CLayoutManagerDlg::OnRenameSetting()
{
    QListWidgetItem *item = settingsList->currentItem();
    QString name = item ? item->text() : QString();
    if (askSettingName(QStringLiteral("Rename setting"), &name) && item) {
        item->setText(name);
        settings[settingsList->row(item)].name = name;
    }
    if (settingsList->currentItem())
        chosenName = settingsList->currentItem()->text();
}

void CLayoutManagerDlg::OnFolderSetting()
{
    OnOk(true);
    m_folderOpened = true;
    LayoutDialogs::openUrl(QUrl::fromLocalFile(m_folder));
}

bool CLayoutManagerDlg::layoutTried(int row)
{
    if (row < 0 || row >= settings.size())
        return true;
    // A layout from the folder is tried as its file holds it; one made in
    // this window has no file yet and was made here.
    const QString path
        = QDir(m_folder).filePath(settings.at(row).name + QLatin1String(LayoutFileSuffix));
    if (!QFileInfo::exists(path))
        return true;
    const FileTrial::Verdict verdict = FileTrial::tryFile(path, FileTrial::Kind::Layout);
    if (!verdict.accepted)
        CInfoDlgWin::showInfoMessageBox(style, QStringLiteral("Error"), verdict.reason, this);
    return verdict.accepted;
}

void CLayoutManagerDlg::OnSelectSetting(int)
{
    if (!layoutTried(currentRow())) {
        // The layout shown before stays.
        const QSignalBlocker blocker(settingsList);
        settingsList->setCurrentRow(m_shownRow);
        return;
    }
    m_shownRow = currentRow();
    currentItem = nullptr;
    showHideAllImages(currentKind());
    setToItems(currentKind(), currentRow());
}

void CLayoutManagerDlg::showHideAllImages(int kind)
{
    const int row = currentRow();
    if (row < 0 || row >= settings.size())
        return;
    const QSignalBlocker blocker(hideAllImagesCheck);
    hideAllImagesCheck->setChecked(isOptionSet(settings.at(row).flags, hideImagesKey(kind)));
}

// ---------------------------------------------------------------------------
// Report kinds, sections, Ok and Cancel.

void CLayoutManagerDlg::OnRepName(int kind)
{
    lists.at(1)->containerWidget->clearItems();
    for (const FieldTemplate &field : availableFields(kind))
        addItem(kind, field.type, field.title);
    showHideAllImages(kind);
    setToItems(kind, currentRow());
    for (CWCLContainer *list : qAsConst(lists))
        list->containerWidget->updateContainer();
}

void CLayoutManagerDlg::OnItemSelected(void *item)
{
    currentItem = nullptr;
    CWCLItem *found = nullptr;
    for (CWCLContainer *list : qAsConst(lists)) {
        for (CWCLItem *tile : list->containerWidget->items()) {
            if (tile->selected) {
                tile->selected = false;
                tile->update();
            }
            if (!found && item && tile == item)
                found = tile;
        }
    }
    if (found) {
        currentItem = found;
        found->selected = true;
        found->update();
    }
    updateFields();
}

void CLayoutManagerDlg::OnItemSelectedAlt(void *)
{
    OnItemSelected(nullptr);
}

void CLayoutManagerDlg::OnOk(bool noClose)
{
    QStringList problems;
    const bool saved = saveReportSettings(&settings, m_folder, &m_loadedFiles, &problems);
    if (settingsList->currentItem())
        chosenName = settingsList->currentItem()->text();
    // Even a partly failed save may have changed files, so the opener must
    // reload; but the window stays open to say so instead of closing as if
    // everything had been stored.
    resultCode = 0;
    if (!saved) {
        problems.prepend(QStringLiteral("The report layouts could not be saved."));
        CInfoDlgWin::showInfoMessageBox(style, QStringLiteral("Error"),
                                        problems.join(QLatin1Char('\n')), this);
        return;
    }
    settingsAsStored = !noClose && !m_folderOpened;
    if (!noClose && parentWidget())
        parentWidget()->close();
}

void CLayoutManagerDlg::OnOk()
{
    OnOk(false);
}

void CLayoutManagerDlg::OnExit()
{
    if (parentWidget())
        parentWidget()->close();
}

// ---------------------------------------------------------------------------
// Properties of the selected section.

bool CLayoutManagerDlg::editFont(QFont *font, bool noBold, int defaultPixelSize)
{
    // A font given in points is taken over in pixels, even when cancelled.
    if (font->pixelSize() < 1)
        font->setPixelSize(defaultPixelSize);
    QFont edited = *font;
    if (!LayoutDialogs::pickFont(style, this, &edited, noBold))
        return false;
    *font = edited;
    return true;
}

void CLayoutManagerDlg::OnHeaderFont()
{
    if (!currentItem)
        return;
    editFont(&currentItem->headerFont, false, 16);
    itemsToSet(currentKind(), currentRow());
}

void CLayoutManagerDlg::OnContentFont()
{
    if (!currentItem)
        return;
    editFont(&currentItem->contentFont, true, 14);
    itemsToSet(currentKind(), currentRow());
}

// The chosen colour is stored opaque, whatever the picker hands back.
void CLayoutManagerDlg::editColor(QColor *target)
{
    QColor color = *target;
    if (LayoutDialogs::pickColor(style, &color))
        *target = QColor(color.rgb());
    itemsToSet(currentKind(), currentRow());
}

void CLayoutManagerDlg::OnHeaderColor()
{
    if (currentItem)
        editColor(&currentItem->headerColor);
}

void CLayoutManagerDlg::OnContentColor()
{
    if (currentItem)
        editColor(&currentItem->contentColor);
}

void CLayoutManagerDlg::OnSetName()
{
    if (!currentItem)
        return;
    CInfoDlgWin dialog(style, this, 1.0, 400);
    QLineEdit *field = addNameField(&dialog, QStringLiteral("New Name"), currentItem->title);
    LayoutDialogs::exec(&dialog);
    if (dialog.content->result == 0 && currentItem)
        currentItem->title = field->text();
    itemsToSet(currentKind(), currentRow());
}

void CLayoutManagerDlg::OnTextEdit()
{
    if (!currentItem)
        return;
    QString *table = nullptr;
    int size = kNumerTableSize;
    getMassText(currentItem->kind, int(currentItem->type), &table, &size);
    if (!table)
        return;
    CTextEditor editor(style, &currentItem->texts, &currentItem->images, &currentItem->useStdText,
                       table, currentItem->kind, int(currentItem->type), this, size);
    editor.sectionName = LayoutLimits::sectionName(currentItem->section());
    // What the rest of the layout leaves of one file's pictures.
    const int row = currentRow();
    if (row >= 0 && row < settings.size()) {
        editor.layoutName = settings.at(row).name;
        itemsToSet(currentKind(), row);
        editor.picturePixelsLeft = LayoutLimits::MaxPicturePixels
            - LayoutLimits::picturePixels(settings.at(row))
            + LayoutLimits::picturePixels(currentItem->images);
    }
    LayoutDialogs::exec(&editor);
    itemsToSet(currentKind(), currentRow());
}

void CLayoutManagerDlg::OnCheckDef()
{
    if (!currentItem)
        return;
    currentItem->defaultStyle = defaultCheck->isChecked();
    itemsToSet(currentKind(), currentRow());
    updateFields();
}

void CLayoutManagerDlg::OnCheckCurImage()
{
    if (!currentItem)
        return;
    setOption(&currentItem->options, hideImageOption, hideImageCheck->isChecked());
    itemsToSet(currentKind(), currentRow());
    updateFields();
}

void CLayoutManagerDlg::OnCheckAllImages()
{
    const QString key = hideImagesKey(currentKind());
    const int row = currentRow();
    if (row >= 0 && row < settings.size() && !key.isEmpty())
        setOption(&settings[row].flags, key, hideAllImagesCheck->isChecked());
    itemsToSet(currentKind(), row);
    updateFields();
}

// ---------------------------------------------------------------------------

void CLayoutManagerDlg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(captionColor);
    painter.setFont(font());
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    painter.drawText(QRect(20, 5, 160, 20), Qt::AlignCenter, QStringLiteral("Field order"));
    painter.drawText(QRect(205, 5, 160, 20), Qt::AlignCenter, QStringLiteral("Available fields"));
    painter.drawText(QRect(400, 5, 150, 20), left, QStringLiteral("Report Name"));
    painter.drawText(QRect(400, 97, 150, 20), left, QStringLiteral("Header"));
    painter.drawText(QRect(400, 234, 150, 20), left, QStringLiteral("Content"));
    painter.drawText(QRect(400, 352, 150, 20), left, QStringLiteral("Numerologist"));
}

void CLayoutManagerDlg::resizeEvent(QResizeEvent *) { }

CLayoutManagerDlgWin::CLayoutManagerDlgWin(CAppStyle *style, QString name, QWidget *parent)
    : QDialog(parent)
{
    content = new CLayoutManagerDlg(style, name, this);
}

CLayoutManagerDlgWin::~CLayoutManagerDlgWin() = default;
