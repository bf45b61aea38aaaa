#pragma once

#include "layouts/reportsetting.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class CAppStyle;
class CWCLContainer;
class CWCLItem;
class CInfoDlgWin;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// The content of the Report Manager: the user's report settings, the sections
// of the chosen setting per report kind, and the controls that change them.
// It works on its own copy of the settings and writes them only on "Ok" (or
// "Folder"); the opener reads resultCode and chosenName afterwards.
class CLayoutManagerDlg : public QWidget
{
    Q_OBJECT

public:
    enum INSERTType { INSERT_NEW = 0, INSERT_COPY = 1 };
    Q_ENUM(INSERTType)

    CLayoutManagerDlg(CAppStyle *style, QString name, QWidget *parent);
    ~CLayoutManagerDlg() override;

    void initStyle();
    void setToItems(int kind, int row);
    void itemsToSet(int kind, int row);
    void updateFields();

    // The first entry of the reading-text table that holds the standard texts
    // of a section type, stored in *table; *table stays as it is when the type
    // has none (Love Compatibility's "Psycho-matrix" stores nullptr). size,
    // when given, receives the table's number of entries.
    static void getMassText(int kind, int type, QString **table, int *size = nullptr);

    // Appends one template tile to the available list.
    void addItem(int kind, int type, const QString &title);

    // The setting chosen when "Ok" last ran; empty until then.
    QString chosenName;

    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QComboBox *kindCombo = nullptr;
    QPushButton *nameButton = nullptr;
    QPushButton *headerFontButton = nullptr;
    QPushButton *headerColorButton = nullptr;
    QPushButton *contentFontButton = nullptr;
    QPushButton *contentColorButton = nullptr;
    QCheckBox *defaultCheck = nullptr;
    QPushButton *editButton = nullptr;
    QListWidget *settingsList = nullptr;
    QPushButton *newButton = nullptr;
    QPushButton *copyButton = nullptr;
    QPushButton *deleteButton = nullptr;
    QPushButton *renameButton = nullptr;
    QPushButton *folderButton = nullptr;
    QCheckBox *hideAllImagesCheck = nullptr;
    QCheckBox *hideImageCheck = nullptr;

    // [0] "Field order", [1] "Available fields".
    QList<CWCLContainer *> lists;
    // Guarded: a tile can be deleted by a drag while it is the selection.
    QPointer<CWCLItem> currentItem;
    CAppStyle *style = nullptr;
    // -1 until "Ok" or "Folder" saved the settings, 0 from then on.
    int resultCode = -1;
    // True once "Ok" stored every setting and closed, with the folder never
    // opened to the user: settings is then what the folder holds.
    bool settingsAsStored = false;
    QList<QStringList> itemNames;
    QList<reportSetting> settings;

public Q_SLOTS:
    void OnOk(bool noClose);
    void OnOk();
    void OnExit();
    void OnItemSelected(void *item);
    void OnItemSelectedAlt(void *item);
    void OnHeaderFont();
    void OnHeaderColor();
    void OnContentFont();
    void OnContentColor();
    void OnRepName(int kind);
    void OnCheckDef();
    void OnCheckAllImages();
    void OnCheckCurImage();
    void OnNewSetting();
    void OnAddSetting(CLayoutManagerDlg::INSERTType valT);
    void OnAddSetting();
    void OnDelSetting();
    void OnRenameSetting();
    void OnFolderSetting();
    void OnSelectSetting(int row);
    void OnTextEdit();
    void OnSetName();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Runs the styled name box until a name passes the checks (true, *name
    // holds it) or the box is left (false).
    bool askSettingName(const QString &title, QString *name);
    QLineEdit *addNameField(CInfoDlgWin *dialog, const QString &title, const QString &text);
    bool editFont(QFont *font, bool noBold, int defaultPixelSize);
    // Ticks "Hide All Images" as the current setting stores it for kind.
    void showHideAllImages(int kind);
    void editColor(QColor *color);
    int currentKind() const;
    int currentRow() const;
    // Whether the layout of row may be shown: a layout from the folder is
    // tried first (FileTrial), and a refusal is told.
    bool layoutTried(int row);

    QString m_folder;
    QStringList m_loadedFiles;
    // The user may have added or changed files there since they were read.
    bool m_folderOpened = false;
    // The row whose layout the sections show.
    int m_shownRow = -1;
};

// The "Report Manager" window around its content.
class CLayoutManagerDlgWin : public QDialog
{
    Q_OBJECT

public:
    CLayoutManagerDlgWin(CAppStyle *style, QString name, QWidget *parent);
    ~CLayoutManagerDlgWin() override;

    CLayoutManagerDlg *content = nullptr;
};
