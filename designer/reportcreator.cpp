#include "designer/reportcreator.h"

#include "base/apppaths.h"
#include "designer/chartbinding.h"
#include "designer/iconlist.h"
#include "designer/propertieswidget.h"
#include "designer/reportpe.h"
#include "designer/reportpepages.h"
#include "filetrial/filetrial.h"
#include "style/appstyle.h"
#include "style/dialogsupport.h"
#include "style/infodlg.h"

#include <QApplication>
#include <QDesktopWidget>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>

namespace {

void execDialog(QDialog *dialog)
{
    dialog->exec();
}

QString chooseImage(QWidget *parent)
{
    return QFileDialog::getOpenFileName(
        parent, QStringLiteral("Open Image"), QString(),
        QStringLiteral("Image Files (*.png *.jpg *.jpeg *.gif *.bmp)"));
}

void showError(const QString &title, const QString &text)
{
    QMessageBox::information(nullptr, title, text, QMessageBox::Ok);
}

void styleWidget(CAppStyle *style, QWidget *widget, WidgetType type)
{
    if (style && widget)
        style->setWidgetStyle(widget, type);
}

struct FieldGroup
{
    const char *name;
    const char *icon;
    QList<QPair<const char *, int>> entries;
};

} // namespace

CReportCreator::DialogRunner CReportCreator::runDialog = execDialog;
CReportCreator::ImageChooser CReportCreator::openImage = chooseImage;
CReportCreator::ErrorReporter CReportCreator::errorBox = showError;

// ---------------------------------------------------------------------------
// Panes

void CReportCreatorPane::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit updateWidgetGeometry();
}

// ---------------------------------------------------------------------------
// Construction

CReportCreator::CReportCreator(calcNumContainer *data, CAppStyle *style, QWidget *parent,
                               int layoutMode)
    : QWidget(parent)
    , mode(layoutMode == 0 ? 0 : 1)
    , appStyle(style)
    , imagesFolder(getImagesPath())
    , unsaved(-1)
    , container(data)
{
    if (parent)
        parent->setWindowFlags(Qt::Dialog | Qt::WindowMaximizeButtonHint
                               | Qt::WindowCloseButtonHint);

    splitter = new QSplitter(this);
    splitter->move(5, 10);
    QList<int> sizes;
    if (mode == 1) {
        // The strips exist for the document commands but are never shown.
        leftPane = new CReportCreatorW1(this);
        leftPane->hide();
        sizes = {700, 200};
    } else {
        leftPane = new CReportCreatorW1(splitter);
        connect(leftPane, &CReportCreatorPane::updateWidgetGeometry, this,
                &CReportCreator::OnUpdateWidgetGeometry);
        sizes = {100, 700, 200};
        splitter->addWidget(leftPane);
    }
    middlePane = new CReportCreatorW2(splitter);
    connect(middlePane, &CReportCreatorPane::updateWidgetGeometry, this,
            &CReportCreator::OnUpdateWidgetGeometry);
    splitter->addWidget(middlePane);
    rightPane = new CReportCreatorW3(splitter);
    connect(rightPane, &CReportCreatorPane::updateWidgetGeometry, this,
            &CReportCreator::OnUpdateWidgetGeometry);
    splitter->addWidget(rightPane);
    leftPane->setMinimumWidth(100);
    leftPane->setMaximumWidth(100);
    middlePane->setMinimumWidth(300);
    rightPane->setMinimumWidth(100);
    rightPane->setMaximumWidth(300);
    splitter->resize(990, 630);
    splitter->setSizes(sizes);

    saveButton = new QPushButton(QStringLiteral("Save"), middlePane);
    saveButton->resize(80, 20);
    connect(saveButton, &QPushButton::clicked, this, &CReportCreator::OnOk);
    closeButton = new QPushButton(QStringLiteral("Close"), middlePane);
    closeButton->resize(80, 20);
    connect(closeButton, &QPushButton::clicked, this, &CReportCreator::OnCancel);
    editor = new CReportPE(container, appStyle, middlePane);
    editor->resize(550, 500);
    connect(editor, &CReportPE::itemDropped, this, &CReportCreator::OnAddField);
    connect(editor, &CReportPE::selectionChanged, this, &CReportCreator::OnPageSelectionChanged);
    connect(editor, &CReportPE::itemReshaped, this, &CReportCreator::setModified);
    // The Delete key goes through the designer, which knows what it removed.
    editor->installEventFilter(this);
    properties = new CPropertiesWidget(appStyle, rightPane);
    connect(properties, &CPropertiesWidget::dataChanged, this, &CReportCreator::OnPropertyChanged);

    zoomNormalButton
        = addToolButton(QStringLiteral("bzoomn.png"), QStringLiteral("100%"), QPoint(0, 0));
    connect(zoomNormalButton, &QPushButton::clicked, editor, &CReportPE::OnZoomNormal);
    zoomInButton
        = addToolButton(QStringLiteral("bzoomi.png"), QStringLiteral("Zoom In"), QPoint(45, 0));
    connect(zoomInButton, &QPushButton::clicked, editor, &CReportPE::OnZoomIn);
    zoomOutButton
        = addToolButton(QStringLiteral("bzoomo.png"), QStringLiteral("Zoom Out"), QPoint(85, 0));
    connect(zoomOutButton, &QPushButton::clicked, editor, &CReportPE::OnZoomOut);
    propertiesButton = addToolButton(QStringLiteral("bprops.png"),
                                     QStringLiteral("Graphics Charts Properties"), QPoint(325, 0));
    connect(propertiesButton, &QPushButton::clicked, this, &CReportCreator::OnProperties);
    deleteButton
        = addToolButton(QStringLiteral("bdelete.png"), QStringLiteral("Delete"), QPoint(365, 0));
    connect(deleteButton, &QPushButton::clicked, this, &CReportCreator::OnDelete);
    gridButton
        = addToolButton(QStringLiteral("bgrid.png"), QStringLiteral("Show Grid"), QPoint(165, 0));
    connect(gridButton, &QPushButton::clicked, editor, &CReportPE::OnGrid);
    // The template keeps grid, snap and boundaries.
    connect(gridButton, &QPushButton::clicked, this, &CReportCreator::setModified);
    snapButton = addToolButton(QStringLiteral("bsnap.png"), QStringLiteral("Snap to Grid"),
                               QPoint(205, 0));
    connect(snapButton, &QPushButton::clicked, editor, &CReportPE::OnSnap);
    connect(snapButton, &QPushButton::clicked, this, &CReportCreator::setModified);
    boundariesButton
        = addToolButton(QStringLiteral("bbound.png"), QStringLiteral("Boundaries"), QPoint(245, 0));
    connect(boundariesButton, &QPushButton::clicked, editor, &CReportPE::OnBoundaries);
    connect(boundariesButton, &QPushButton::clicked, this, &CReportCreator::setModified);
    frontButton = addToolButton(QStringLiteral("bbringfront.png"), QStringLiteral("Bring to Front"),
                                QPoint(445, 0));
    connect(frontButton, &QPushButton::clicked, editor, &CReportPE::moveToFrontSelItems);
    connect(frontButton, &QPushButton::clicked, this, &CReportCreator::setModified);
    backButton = addToolButton(QStringLiteral("bbringback.png"), QStringLiteral("Send to Back"),
                               QPoint(485, 0));
    connect(backButton, &QPushButton::clicked, editor, &CReportPE::moveToBackSelItems);
    connect(backButton, &QPushButton::clicked, this, &CReportCreator::setModified);

    fieldTree = new QTreeWidget(rightPane);
    fieldTree->setHeaderHidden(true);
    fieldTree->resize(150, 500);
    fieldTree->setSelectionMode(QAbstractItemView::SingleSelection);
    fieldTree->setColumnCount(1);
    fieldTree->setDragEnabled(true);
    fieldTree->setDropIndicatorShown(true);
    buildFieldTree();

    pagesPanel = new CReportPEPages(leftPane);
    connect(pagesPanel->addBlockButton, &QPushButton::clicked, this, &CReportCreator::OnAddBlock);
    connect(pagesPanel->deleteBlockButton, &QPushButton::clicked, this,
            &CReportCreator::OnDelBlock);
    connect(pagesPanel->blockPropertiesButton, &QPushButton::clicked, this,
            &CReportCreator::OnBlockProp);
    connect(pagesPanel->addPageButton, &QPushButton::clicked, this, &CReportCreator::OnAddPage);
    connect(pagesPanel->deletePageButton, &QPushButton::clicked, this, &CReportCreator::OnDelPage);
    connect(pagesPanel->pagePropertiesButton, &QPushButton::clicked, this,
            &CReportCreator::OnPageProp);
    connect(pagesPanel->pagesList, &CIconList::itemSelected, this, &CReportCreator::OnPageSelected);
    connect(pagesPanel->pagesList, &CIconList::signalItemDrop, this, &CReportCreator::OnListDrop);
    connect(pagesPanel->blocksList, &CIconList::itemSelected, this,
            &CReportCreator::OnPageSelected);
    connect(pagesPanel->blocksList, &CIconList::itemDropped, this,
            &CReportCreator::OnBlockItemDropped);
    connect(pagesPanel->blocksList, &CIconList::signalItemDrop, this, &CReportCreator::OnBlockDrop);

    styleWidget(appStyle, parent, WTWindow);
    styleWidget(appStyle, saveButton, WTButton);
    styleWidget(appStyle, closeButton, WTButton);
    styleWidget(appStyle, splitter, WTListPanel);
    styleWidget(appStyle, fieldTree, WTTree);
    styleWidget(appStyle, editor, WTEditorView);
    styleWidget(appStyle, properties, WTPropertiesPanel);
    styleWidget(appStyle, properties->table(), WTNone);
    for (QPushButton *button :
         {zoomNormalButton, zoomInButton, zoomOutButton, gridButton, snapButton, boundariesButton,
          propertiesButton, deleteButton, frontButton, backButton})
        styleWidget(appStyle, button, WTButton);
    // The strip buttons follow the tool buttons' look.
    for (QPushButton *button : {pagesPanel->addBlockButton, pagesPanel->deleteBlockButton,
                                pagesPanel->blockPropertiesButton, pagesPanel->addPageButton,
                                pagesPanel->deletePageButton, pagesPanel->pagePropertiesButton})
        styleWidget(appStyle, button, WTButton);

    if (parent) {
        parent->setWindowTitle(QStringLiteral("Graphics Charts Creator"));
        parent->setMinimumSize(800, 500);
        parent->resize(1000, 640);
    }
    resize(1000, 640);
    placeWindow();

    fieldsLabel = new QLabel(QStringLiteral("Fields:"), rightPane);
    fieldsLabel->resize(150, 20);
    propertiesLabel = new QLabel(QStringLiteral("Properties"), rightPane);
    propertiesLabel->resize(150, 20);
    OnUpdateWidgetGeometry();
    updateStates();
}

CReportCreator::~CReportCreator()
{
    // The strips poll on a timer and hold tiles that point into the
    // document; they go before the editor that owns it.
    delete pagesPanel;
    pagesPanel = nullptr;
}

QPushButton *CReportCreator::addToolButton(const QString &icon, const QString &toolTip,
                                           const QPoint &at)
{
    auto *button = new QPushButton(middlePane);
    button->resize(35, 26);
    button->move(at);
    button->setIcon(QIcon(imagesFolder + icon));
    button->setIconSize(QSize(20, 20));
    button->setToolTip(toolTip);
    return button;
}

void CReportCreator::buildFieldTree()
{
    const QList<FieldGroup> groups = {
        {"Calculated data",
         "datafield-i.png",
         {{"Name", 1},
          {"Planes of Expression", 1},
          {"Psychomatrix", 1},
          {"Personal numbers calendar", 1},
          {"Main Features", 1},
          {"Additional Features", 1},
          {"Life Cycles", 1},
          {"Bridges", 1}}},
        {"Variables",
         "datafieldtitle-i.png",
         {{"Full Name", 1000},
          {"Short Name", 1001},
          {"Birthdate", 1002},
          {"Print date", 1003},
          {"Numerologist", 1004}}},
        {"Objects", "thumb.png", {{"Text", 2000}, {"Image", 2001}, {"Bar Codes", 2002}}},
    };
    fieldTree->clear();
    fieldEntries.clear();
    calculatedFieldNames.clear();
    for (const FieldGroup &group : groups) {
        QList<QTreeWidgetItem *> children;
        for (const auto &entry : group.entries) {
            auto *item = new QTreeWidgetItem;
            const QString text = QString::fromLatin1(entry.first);
            item->setText(0, text);
            item->setData(0, Qt::UserRole, entry.second);
            if (entry.second == 1)
                calculatedFieldNames.append(text);
            fieldEntries.append(item);
            children.append(item);
        }
        auto *top = new QTreeWidgetItem;
        top->setText(0, QString::fromLatin1(group.name));
        top->setIcon(0, QIcon(imagesFolder + QString::fromLatin1(group.icon)));
        // Groups are headings: they cannot be dragged onto a page.
        top->setFlags(top->flags() & ~Qt::ItemIsDragEnabled);
        top->addChildren(children);
        fieldTree->addTopLevelItem(top);
        top->setExpanded(false);
    }
}

void CReportCreator::placeWindow()
{
    QWidget *dialog = parentWidget();
    if (!dialog)
        return;
    QPoint at;
    if (QWidget *owner = dialog->parentWidget()) {
        owner = owner->window();
        at = owner->pos()
            + QPoint((owner->width() - width()) / 2, (owner->height() - height()) / 2);
    } else {
        const QRect desktop = QApplication::desktop()->availableGeometry(dialog);
        at = desktop.topLeft()
            + QPoint((desktop.width() - width()) / 2, (desktop.height() - height()) / 2);
    }
    dialog->move(qMax(0, at.x()), qMax(0, at.y()));
    ASCheckScreenBoundary(dialog);
}

// ---------------------------------------------------------------------------
// Layout and keys

void CReportCreator::OnUpdateWidgetGeometry()
{
    if (leftPane && pagesPanel)
        pagesPanel->setGeometry(0, 0, leftPane->width(), leftPane->height());

    const int wm = middlePane->width();
    const int hm = middlePane->height();
    editor->setGeometry(0, 30, wm, qMax(0, hm - 75));
    const int c = (wm - 10) / 2;
    saveButton->move(c + 10, hm - 30);
    closeButton->move(c - 90, hm - 30);

    const int wr = rightPane->width();
    const int hr = rightPane->height();
    const int p = hr / 8 + 85;
    if (fieldsLabel)
        fieldsLabel->move(0, 0);
    fieldTree->setGeometry(0, 20, wr, qMax(0, hr - p - 55));
    if (propertiesLabel)
        propertiesLabel->move(0, hr - p - 35);
    properties->setGeometry(0, hr - p - 15, wr, p);
}

void CReportCreator::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    splitter->resize(qMax(0, width() - 10), qMax(0, height() - 10));
}

void CReportCreator::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Shift)
        fieldTree->setDragEnabled(false);
    else if (event->key() == Qt::Key_Alt)
        titleFlag = true;
}

void CReportCreator::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Shift)
        fieldTree->setDragEnabled(true);
    else if (event->key() == Qt::Key_Alt)
        titleFlag = false;
}

bool CReportCreator::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == editor && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace)
            && editor->operation() == CReportPE::OpNone) {
            OnDelete();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// State

CREPage *CReportCreator::page() const
{
    return editor ? editor->currentPage : nullptr;
}

void CReportCreator::init()
{
    updatePagesList();
    pagesPanel->pagesList->setCurrentItemByPData(page(), true);
    pagesPanel->blocksList->setCurrentItemByPData(page(), true);
    updateStates();
}

void CReportCreator::updateStates()
{
    QList<CREPageItem *> selected;
    if (CREPage *current = page())
        current->getSelected(selected, false);
    const bool any = !selected.isEmpty();
    deleteButton->setEnabled(any);
    frontButton->setEnabled(any);
    backButton->setEnabled(any);

    const bool pageTile = pagesPanel->pagesList->getSelectedItem() != nullptr;
    const bool manyPages = !editor->pageLists.isEmpty() && editor->pageLists.first()->size() > 1;
    pagesPanel->deletePageButton->setEnabled(pageTile && manyPages);
    pagesPanel->pagePropertiesButton->setEnabled(pageTile);
    const bool blockTile = pagesPanel->blocksList->getSelectedItem() != nullptr;
    pagesPanel->deleteBlockButton->setEnabled(blockTile);
    pagesPanel->blockPropertiesButton->setEnabled(blockTile);
}

void CReportCreator::OnDelete()
{
    CREPage *current = page();
    if (!current)
        return;
    const int before = current->items.size();
    editor->deleteSelectedItems();
    if (current->items.size() != before) {
        setModified();
        OnPageSelectionChanged();
    }
}

// ---------------------------------------------------------------------------
// Closing

bool CReportCreator::confirmClose()
{
    // A value still being typed in the grid is a change like any other.
    properties->commitEdit();
    if (unsaved == 0)
        return true;
    const int answer = CInfoDlgWin::showAskMessageBox(appStyle, QStringLiteral("Warning"),
                                                      QStringLiteral("Save changes?"), this);
    if (answer != 0)
        return true;
    // A failed save keeps the window, so the work is not lost with it.
    OnOk();
    return unsaved == 0;
}

void CReportCreator::OnCancel()
{
    if (auto *frame = qobject_cast<CReportCreatorWin *>(parentWidget()))
        frame->reject();
    else if (confirmClose())
        close();
}

// ---------------------------------------------------------------------------
// The frame

CReportCreatorWin::CReportCreatorWin(calcNumContainer *data, CAppStyle *style, QWidget *parent,
                                     int mode)
    : QDialog(parent)
    , creator(new CReportCreator(data, style, this, mode))
{
}

bool CReportCreatorWin::loadTemplate(const QString &path)
{
    // A template from elsewhere is tried before the designer draws it.
    const FileTrial::Verdict verdict = FileTrial::tryFile(path, FileTrial::Kind::Template);
    if (!verdict.accepted && CReportCreator::errorBox)
        CReportCreator::errorBox(QStringLiteral("Error"), verdict.reason);
    const bool loaded = verdict.accepted && creator->editor->loadFromFile(path);
    if (loaded && creator->container) {
        m_partnerView = ChartBinding::partnerView(*creator->container);
        ChartBinding::bind(creator->editor, &m_partnerView);
    }
    // A file that could not be read is not replaced by the next save.
    creator->loadedFile = loaded ? path : QString();
    // The strips must not keep tiles of the pages the load replaced.
    creator->init();
    // What was read is what the file holds: only a change from here on is
    // worth the question on closing. A file that could not be read leaves a
    // new template that was never saved.
    creator->unsaved = loaded ? 0 : -1;
    return loaded;
}

void CReportCreatorWin::reject()
{
    if (creator->confirmClose())
        QDialog::reject();
}

void CReportCreatorWin::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    creator->resize(size());
}

void CReportCreatorWin::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
