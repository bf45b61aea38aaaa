#pragma once

#include "designer/calcnumcontainer.h"
#include "designer/repage.h"

#include <QDialog>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>

class QDialog;
class QLabel;
class QPushButton;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;
class CAppStyle;
class CILItem;
class CPropertiesWidget;
class CPWItem;
class CREPageItem;
class CReportPE;
class CReportPEPages;

// The three panes of the designer: page and block strips, editor, fields and
// properties. Each only reports its resizes so the designer can lay it out.
class CReportCreatorPane : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

signals:
    void updateWidgetGeometry();

protected:
    void resizeEvent(QResizeEvent *event) override;
};

class CReportCreatorW1 : public CReportCreatorPane
{
public:
    using CReportCreatorPane::CReportCreatorPane;
};

class CReportCreatorW2 : public CReportCreatorPane
{
public:
    using CReportCreatorPane::CReportCreatorPane;
};

class CReportCreatorW3 : public CReportCreatorPane
{
public:
    using CReportCreatorPane::CReportCreatorPane;
};

// The chart designer: the page editor between its tool buttons and the
// "Save"/"Close" pair, the "Fields:" tree over the property grid on the
// right and, in mode 0, the page and block strips on the left. Mode 1 edits
// the template's current page only.
class CReportCreator : public QWidget
{
    Q_OBJECT

public:
    // Modal steps a test would block on. runDialog runs a designer dialog
    // and returns when it is closed (default: exec()); openImage asks for a
    // picture file (default: the file dialog); errorBox shows the save error
    // (default: an information box).
    using DialogRunner = void (*)(QDialog *dialog);
    using ImageChooser = QString (*)(QWidget *parent);
    using ErrorReporter = void (*)(const QString &title, const QString &text);
    static DialogRunner runDialog;
    static ImageChooser openImage;
    static ErrorReporter errorBox;

    CReportCreator(calcNumContainer *data, CAppStyle *style, QWidget *parent, int mode);
    ~CReportCreator() override;

    void init();
    void updateStates();
    void updatePagesList();
    void setPageOrderFromPagesList();
    void setBlockOrderFromBlocksList();
    void itemConverter(CREPageItem *item, CPropertiesWidget *grid, int row, bool *changed);
    void applyItems() { }
    void updateFields() { }
    void updateFieldsSel() { }

    // The user's template folder, ending with a separator.
    static QString templateFolder();
    // The template name made into a file name that stays inside the
    // template folder.
    static QString safeFileName(const QString &templateName);
    // The file a template of that name is saved to: the first free one of
    // base.lnr, base0.lnr ... base9999.lnr, where the file given as own
    // counts as free; empty when all are taken.
    static QString chooseFileName(const QString &folder, const QString &templateName,
                                  const QString &own);

    // Asks about unsaved changes before the window closes; false when the
    // window must stay open (the save that was asked for failed).
    bool confirmClose();
    bool isModified() const { return unsaved != 0; }
    void setModified() { unsaved = 1; }

    int mode;
    background pendingBackground;
    CAppStyle *appStyle;
    QString imagesFolder;
    // Non-zero while the template holds changes that are not saved.
    int unsaved = -1;
    calcNumContainer *container;
    // The template file being edited; empty for a new template. After a
    // successful save it names the file written.
    QString loadedFile;
    QPushButton *saveButton = nullptr;
    QPushButton *closeButton = nullptr;
    QPushButton *zoomNormalButton = nullptr;
    QPushButton *zoomInButton = nullptr;
    QPushButton *zoomOutButton = nullptr;
    QPushButton *gridButton = nullptr;
    QPushButton *snapButton = nullptr;
    QPushButton *boundariesButton = nullptr;
    QPushButton *propertiesButton = nullptr;
    QPushButton *deleteButton = nullptr;
    QPushButton *frontButton = nullptr;
    QPushButton *backButton = nullptr;
    QSplitter *splitter = nullptr;
    CReportCreatorW1 *leftPane = nullptr;
    CReportCreatorW2 *middlePane = nullptr;
    CReportCreatorW3 *rightPane = nullptr;
    QTreeWidget *fieldTree = nullptr;
    QLabel *fieldsLabel = nullptr;
    QLabel *propertiesLabel = nullptr;
    CReportPE *editor = nullptr;
    CPropertiesWidget *properties = nullptr;
    CReportPEPages *pagesPanel = nullptr;
    QList<QTreeWidgetItem *> fieldEntries;
    QStringList barcodeFieldKeys;
    QStringList calculatedFieldNames;
    bool titleFlag = false;

public slots:
    void OnOk();
    void OnCancel();
    void OnProperties();
    void slotOnBackground();
    void OnDelete();
    void OnAddField(QPoint point);
    void OnPageSelectionChanged();
    void OnPropertyChanged();
    void OnAddBlock();
    void OnDelBlock();
    void OnBlockProp();
    void OnAddPage();
    void OnDelPage();
    void OnPageProp();
    void OnPageSelected(CILItem *tile);
    void OnListDrop();
    void OnBlockDrop();
    void OnBlockItemDropped(CILItem *tile, QPoint point);
    void OnUpdateWidgetGeometry();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPushButton *addToolButton(const QString &icon, const QString &toolTip, const QPoint &at);
    void buildFieldTree();
    void placeWindow();
    // The page the designer edits, or null.
    CREPage *page() const;
    CREPageItem *selectedContent() const;
    QVector<CPWItem *> rowsFor(CREPageItem *item);
    void renumberBlockReferences();
    void reorderBlockReference(CREPageItem *item, int position);
    void refreshBlockImages(CREPage *block);
    void addCalculatedTable(const QString &entry, const QPoint &point);
    void closeWindow();
    // The page-size dialog of the strip commands, filled from a page.
    bool runPageSizeDialog(CREPage *source, bool withPages, QString *title, QSizeF *size,
                           int *pages);
    void deleteBlockReferences(CREPage *block);
    void dropRemovedPage(CREPage *doomed);
    // True when the template can take another page or block; says why not.
    bool roomForPage();
};

// The dialog frame around the designer. Escape, Return and Enter do not
// close it; closing it asks about unsaved changes like "Close" does.
class CReportCreatorWin : public QDialog
{
    Q_OBJECT

public:
    CReportCreatorWin(calcNumContainer *data, CAppStyle *style, QWidget *parent, int mode);

    // Loads a template file into the editor, remembers it as the file being
    // edited and refreshes the strips; false (with an empty document and no
    // file being edited) when it cannot be read.
    bool loadTemplate(const QString &path);

    CReportCreator *creator;

public slots:
    void reject() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The people swapped, for the items of a loaded template that show the
    // partner; it lives as long as the window draws them.
    calcNumContainer m_partnerView;
};
