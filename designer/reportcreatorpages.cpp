#include "base/apppaths.h"
#include "designer/colordialog.h"
#include "designer/iconlist.h"
#include "designer/papersizedlg.h"
#include "designer/propertieswidget.h"
#include "designer/repageitem.h"
#include "designer/reportcreator.h"
#include "designer/reportpe.h"
#include "designer/reportpepages.h"
#include "style/appstyle.h"
#include "style/infodlg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QScopedPointer>

#include <QLineEdit>

namespace {

constexpr double UnitsPerCardUnit = 1.18;
constexpr double UnitsPerInch = 4 * 25.4;
// The page sizes the paper forms accept (0.1 to 50 inches), in page units.
constexpr double SmallestSide = 0.1 * UnitsPerInch;
constexpr double LargestSide = 50 * UnitsPerInch;
constexpr int LastSuffix = 9999;
// Long enough for any title, short enough that a suffix and ".lnr" still
// fit the file system's limit of a name.
constexpr int LongestBaseName = 120;

QString sizeText(double units)
{
    return QString::number(units / UnitsPerInch, 'f', 2);
}

QString counterText(int repeatCount)
{
    return repeatCount == 0 ? QString(QChar(0x221E)) : QString::number(repeatCount);
}

bool askDelete(CAppStyle *style)
{
    return CInfoDlgWin::showAskMessageBox(
               style, QStringLiteral("Question"),
               QStringLiteral("Are You sure?\r\nDo You want to delete selected item?"), nullptr)
        == 0;
}

bool sameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

bool isReferenceTo(const CREPageItem *frame, const QString &key)
{
    return frame && frame->inner && frame->inner->type == CREPageItem::BlockReference
        && frame->inner->key == key;
}

} // namespace

// ---------------------------------------------------------------------------
// Template files

QString CReportCreator::templateFolder()
{
    return getUserFolder() + QLatin1Char('/');
}

QString CReportCreator::safeFileName(const QString &templateName)
{
    QString name;
    name.reserve(templateName.size());
    for (const QChar c : templateName) {
        // Separators would lead out of the template folder; control
        // characters have no business in a name shown in lists.
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':')
            || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            name.append(QLatin1Char(' '));
        else
            name.append(c);
    }
    name = name.simplified();
    // A leading dot would hide the file (and ".." names the parent).
    while (name.startsWith(QLatin1Char('.')) || name.startsWith(QLatin1Char(' ')))
        name.remove(0, 1);
    if (name.size() > LongestBaseName) {
        name.truncate(LongestBaseName);
        if (name.at(name.size() - 1).isHighSurrogate())
            name.chop(1);
        name = name.trimmed();
    }
    return name.isEmpty() ? QStringLiteral("Untitled") : name;
}

QString CReportCreator::chooseFileName(const QString &folder, const QString &templateName,
                                       const QString &own)
{
    const QString base = folder + safeFileName(templateName);
    const auto isFree = [&own](const QString &path) {
        return !QFileInfo::exists(path) || sameFile(path, own);
    };
    const QString plain = base + QStringLiteral(".lnr");
    if (isFree(plain))
        return plain;
    for (int i = 0; i <= LastSuffix; ++i) {
        const QString candidate = base + QString::number(i) + QStringLiteral(".lnr");
        if (isFree(candidate))
            return candidate;
    }
    return QString();
}

void CReportCreator::OnOk()
{
    // A value still being typed in the grid belongs to what is saved.
    properties->commitEdit();
    const QString folder = templateFolder();
    QDir().mkpath(folder);
    const QString file = chooseFileName(folder, editor->name, loadedFile);
    // The new file is complete before anything is removed: a failed write
    // leaves both the old file and the window as they were.
    // A template the reader would refuse is not written; the box says why.
    if (file.isEmpty() || !editor->saveToFile(file)) {
        const QString why = editor->limitProblem();
        if (errorBox)
            errorBox(QStringLiteral("Error"),
                     why.isEmpty() ? QStringLiteral("Can't save report!")
                                   : QStringLiteral("Can't save report!\r\n") + why);
        return;
    }
    if (!loadedFile.isEmpty() && !sameFile(loadedFile, file))
        QFile::remove(loadedFile);
    loadedFile = file;
    editor->fileName = file;
    unsaved = 0;
}

// ---------------------------------------------------------------------------
// Template properties

void CReportCreator::OnProperties()
{
    CREPage *current = page();
    if (!current)
        return;
    QScopedPointer<CPaperSizeDlgWin> dialog(
        new CPaperSizeDlgWin(appStyle, this, false, mode == 1 ? 1 : -5));
    CPaperSizeDlg *form = dialog->content;
    if (mode == 1) {
        form->m_WidthEdit->setText(QString::number(int(current->width / UnitsPerCardUnit)));
        form->m_HeightEdit->setText(QString::number(int(current->height / UnitsPerCardUnit)));
        auto *background = new QPushButton(QStringLiteral("Set Background"), dialog.data());
        background->setGeometry(10, 130, 120, 20);
        if (appStyle)
            appStyle->setWidgetStyle(background, WTButton);
        connect(background, &QPushButton::clicked, this, &CReportCreator::slotOnBackground);
    } else {
        form->m_WidthEdit->setText(sizeText(current->width));
        form->m_HeightEdit->setText(sizeText(current->height));
        form->selPaperCombo();
    }
    form->m_TitleEdit->setText(editor->name);
    if (runDialog)
        runDialog(dialog.data());
    if (form->m_Result != 0 || page() != current)
        return;

    if (pendingBackground.mode != 0xFF) {
        if (editor->roomForPicture(pendingBackground.image, current->pageBackground.image))
            current->pageBackground = pendingBackground;
        else
            CInfoDlgWin::showInfoMessageBox(appStyle, QStringLiteral("Warning"),
                                            CReportDocument::noRoomForPictureText(), this);
    }
    editor->name = form->m_TitleEdit->text();
    QSizeF size;
    if (mode == 1) {
        // Typed numbers: anything unreadable keeps that side as it was.
        bool okW = false;
        bool okH = false;
        const double w = form->m_WidthEdit->text().toDouble(&okW) * UnitsPerCardUnit;
        const double h = form->m_HeightEdit->text().toDouble(&okH) * UnitsPerCardUnit;
        size = QSizeF(okW && w > 0 ? qBound(SmallestSide, w, LargestSide) : current->width,
                      okH && h > 0 ? qBound(SmallestSide, h, LargestSide) : current->height);
    } else {
        size = QSizeF(form->m_Width * UnitsPerInch, form->m_Height * UnitsPerInch);
    }
    current->setPageSize(size);
    editor->OnZoomNormal();
    setModified();
}

void CReportCreator::slotOnBackground()
{
    CREPage *current = page();
    if (!current)
        return;
    QScopedPointer<CColorDialog> dialog(new CColorDialog(false, nullptr));
    background ground = current->pageBackground;
    dialog->slotSetGround(ground);
    dialog->slotUpdate();
    dialog->setWindowModality(Qt::ApplicationModal);
    if (runDialog)
        runDialog(dialog.data());
    pendingBackground = dialog->m_Result;
    dialog->hide();
}

// ---------------------------------------------------------------------------
// Page and block strips

void CReportCreator::updatePagesList()
{
    CIconList *pages = pagesPanel->pagesList;
    CIconList *blocks = pagesPanel->blocksList;
    pages->clear();
    blocks->clear();
    if (!editor->pageLists.isEmpty()) {
        for (CREPage *p : qAsConst(*editor->pageLists.first())) {
            CILItem *tile = pages->addItem(p->name, 0, p);
            tile->data = p;
            tile->counterText = counterText(p->repeatCount);
        }
    }
    // A block tile carries its page too, so that a click opens the block.
    for (CREPage *block : qAsConst(editor->blocks)) {
        CILItem *tile = blocks->addItem(block->name, 0, block);
        tile->data = block;
    }
    pages->update();
    blocks->update();
}

void CReportCreator::refreshBlockImages(CREPage *block)
{
    // A new thumbnail may live elsewhere than the old one: every reference,
    // in every page list, has to follow it.
    if (!block || !editor->blocks.contains(block))
        return;
    const QString key = editor->blockKey(block);
    for (const QList<CREPage *> *list : qAsConst(editor->pageLists)) {
        for (CREPage *p : *list) {
            for (CREPageItem *frame : qAsConst(p->items)) {
                if (isReferenceTo(frame, key))
                    frame->inner->blockImage = block->thumbnail;
            }
        }
    }
}

void CReportCreator::OnPageSelected(CILItem *tile)
{
    if (!tile || !tile->page)
        return;
    CREPage *chosen = tile->page;
    // A tile left over from a document that was replaced is not followed.
    const bool isPage = !editor->pageLists.isEmpty() && editor->pageLists.first()->contains(chosen);
    if (!isPage && !editor->blocks.contains(chosen))
        return;
    pagesPanel->pagesList->setCurrentItemByPData(chosen, true);
    pagesPanel->blocksList->setCurrentItemByPData(chosen, true);
    if (chosen != page()) {
        if (CREPage *current = page()) {
            current->generateThumbnail(false);
            refreshBlockImages(current);
            current->unselectAll();
        }
        editor->currentPage = chosen;
        editor->updateView();
    }
    // The grid must not keep rows of an item on the page left behind.
    OnPageSelectionChanged();
}

void CReportCreator::setPageOrderFromPagesList()
{
    if (editor->pageLists.isEmpty())
        return;
    QList<CREPage *> order;
    for (CILContainer *strip : qAsConst(pagesPanel->pagesList->containers)) {
        for (CILItem *tile : qAsConst(strip->items)) {
            if (tile && tile->page)
                order.append(tile->page);
        }
    }
    QList<CREPage *> *pages = editor->pageLists.first();
    // Only a true reordering of the same pages is taken over.
    if (order.size() != pages->size())
        return;
    for (CREPage *p : qAsConst(order)) {
        if (!pages->contains(p))
            return;
    }
    if (*pages != order)
        setModified();
    *pages = order;
}

void CReportCreator::setBlockOrderFromBlocksList()
{
    QList<CREPage *> order;
    for (CILContainer *strip : qAsConst(pagesPanel->blocksList->containers)) {
        for (CILItem *tile : qAsConst(strip->items)) {
            if (tile && tile->page)
                order.append(tile->page);
        }
    }
    if (order.size() != editor->blocks.size())
        return;
    for (CREPage *block : qAsConst(order)) {
        if (!editor->blocks.contains(block))
            return;
    }
    if (editor->blocks != order)
        setModified();
    editor->blocks = order;
}

void CReportCreator::OnListDrop()
{
    setPageOrderFromPagesList();
}

void CReportCreator::OnBlockDrop()
{
    setBlockOrderFromBlocksList();
}

bool CReportCreator::runPageSizeDialog(CREPage *source, bool withPages, QString *title,
                                       QSizeF *size, int *pages)
{
    QScopedPointer<CPaperSizeDlgWin> dialog(new CPaperSizeDlgWin(appStyle, this, true, -5));
    CPaperSizeDlg *form = dialog->content;
    if (source) {
        form->m_WidthEdit->setText(sizeText(source->width));
        form->m_HeightEdit->setText(sizeText(source->height));
    }
    form->selPaperCombo();
    if (source)
        form->m_TitleEdit->setText(source->name);
    if (withPages) {
        form->m_Pages = source ? source->repeatCount : 0;
        form->addSeqCombo();
    }
    if (runDialog)
        runDialog(dialog.data());
    if (form->m_Result != 0)
        return false;
    *title = form->m_TitleEdit->text();
    *size = QSizeF(form->m_Width * UnitsPerInch, form->m_Height * UnitsPerInch);
    if (pages)
        *pages = form->m_Pages;
    return true;
}

bool CReportCreator::roomForPage()
{
    if (editor->roomForPage())
        return true;
    CInfoDlgWin::showInfoMessageBox(appStyle, QStringLiteral("Warning"),
                                    CReportDocument::noRoomForPageText(), this);
    return false;
}

void CReportCreator::OnAddPage()
{
    if (editor->pageLists.isEmpty() || editor->pageLists.first()->isEmpty())
        return;
    if (!roomForPage())
        return;
    QList<CREPage *> *pages = editor->pageLists.first();
    const CREPage *first = pages->first();
    CREPage *added = editor->addPage(QSizeF(first->width, first->height),
                                     QStringLiteral("Pages ") + QString::number(pages->size() + 1));
    updatePagesList();
    pagesPanel->blocksList->clearSel();
    pagesPanel->pagesList->setCurrentItemByPData(added, true);
    if (page())
        page()->unselectAll();
    editor->currentPage = added;
    editor->updateView();
    setModified();
    OnPageSelectionChanged();
}

void CReportCreator::OnDelPage()
{
    setPageOrderFromPagesList();
    if (editor->pageLists.isEmpty())
        return;
    QList<CREPage *> *pages = editor->pageLists.first();
    CILItem *tile = pagesPanel->pagesList->getSelectedItem();
    if (pages->size() < 2 || !tile || !pages->contains(tile->page))
        return;
    if (!askDelete(appStyle))
        return;
    CREPage *doomed = tile->page;
    pages->removeOne(doomed);
    editor->currentPage = pages->first();
    dropRemovedPage(doomed);
}

void CReportCreator::OnPageProp()
{
    setPageOrderFromPagesList();
    CILItem *tile = pagesPanel->pagesList->getSelectedItem();
    CREPage *current = page();
    if (!tile || !current)
        return;
    QString title;
    QSizeF size;
    int pages = 0;
    if (!runPageSizeDialog(current, true, &title, &size, &pages))
        return;
    current->name = title;
    current->setPageSize(size);
    current->repeatCount = pages;
    editor->OnZoomNormal();
    tile->caption = current->name;
    tile->counterText = counterText(current->repeatCount);
    tile->repaint();
    setModified();
}

void CReportCreator::OnAddBlock()
{
    QString title;
    QSizeF size;
    if (!roomForPage() || !runPageSizeDialog(nullptr, false, &title, &size, nullptr))
        return;
    CREPage *block = editor->addBlock(size, title);
    updatePagesList();
    pagesPanel->pagesList->clearSel();
    pagesPanel->blocksList->setCurrentItemByPData(block, true);
    if (page())
        page()->unselectAll();
    editor->currentPage = block;
    editor->updateView();
    setModified();
    OnPageSelectionChanged();
}

void CReportCreator::deleteBlockReferences(CREPage *block)
{
    // Every page list, not only the one the strip shows: a reference left
    // anywhere would point at a deleted page.
    const QString key = editor->blockKey(block);
    QList<CREPage *> all;
    for (const QList<CREPage *> *list : qAsConst(editor->pageLists))
        all += *list;
    for (CREPage *p : qAsConst(all)) {
        for (int i = p->items.size() - 1; i >= 0; --i) {
            CREPageItem *frame = p->items.at(i);
            if (isReferenceTo(frame, key) || (frame->inner && frame->inner->blockPage == block)) {
                p->items.removeAt(i);
                delete frame;
            }
        }
    }
}

void CReportCreator::OnDelBlock()
{
    setBlockOrderFromBlocksList();
    CILItem *tile = pagesPanel->blocksList->getSelectedItem();
    if (!tile || !editor->blocks.contains(tile->page))
        return;
    if (!askDelete(appStyle))
        return;
    CREPage *doomed = tile->page;
    deleteBlockReferences(doomed);
    editor->blocks.removeOne(doomed);
    if (!editor->pageLists.isEmpty() && !editor->pageLists.first()->isEmpty())
        editor->currentPage = editor->pageLists.first()->first();
    dropRemovedPage(doomed);
}

// The strips and the editor show the current page again before the page or
// block taken out of the document is freed.
void CReportCreator::dropRemovedPage(CREPage *doomed)
{
    updatePagesList();
    pagesPanel->pagesList->setCurrentItemByPData(editor->currentPage, true);
    editor->updateView();
    delete doomed;
    setModified();
    OnPageSelectionChanged();
}

void CReportCreator::OnBlockProp()
{
    setBlockOrderFromBlocksList();
    CILItem *tile = pagesPanel->blocksList->getSelectedItem();
    CREPage *current = page();
    if (!tile || !current)
        return;
    QString title;
    QSizeF size;
    if (!runPageSizeDialog(current, false, &title, &size, nullptr))
        return;
    current->name = title;
    current->setPageSize(size);
    editor->OnZoomNormal();
    tile->caption = current->name;
    tile->repaint();
    setModified();
}

void CReportCreator::OnBlockItemDropped(CILItem *tile, QPoint point)
{
    if (!tile)
        return;
    const QPoint at = editor->mapFromGlobal(point);
    if (at.x() <= 0 || at.x() >= editor->width() || at.y() <= 0 || at.y() >= editor->height())
        return;
    CREPage *current = page();
    CREPage *block = tile->page;
    // Blocks do not nest: a block placed on a block (itself included) could
    // draw itself without end.
    if (!current || !block || !editor->blocks.contains(block) || editor->blocks.contains(current)
        || current == block)
        return;
    if (!editor->pageLists.isEmpty() && editor->pageLists.first()->contains(block))
        return;
    block->generateThumbnail(false);
    refreshBlockImages(block);
    const QPoint inViewport = editor->viewport()->mapFromGlobal(point);
    CREPageItem *reference = editor->addBlockItem(block, inViewport);
    if (!reference)
        return;
    reference->key = editor->blockKey(block);
    reference->blockImage = block->thumbnail;
    editor->viewport()->update();
    setModified();
}
