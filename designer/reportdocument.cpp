#include "designer/reportdocument.h"

#include "base/apppaths.h"
#include "designer/lnrstream.h"
#include "designer/repage.h"
#include "designer/repageitem.h"
#include "designer/style.h"

#include <QDataStream>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QSet>
#include <QSizeF>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int MagicLength = 27;
// A page record holds at least its two sides and its item count.
constexpr qint64 MinPageBytes = 20;

// A grid step is a length on the page (steps of 1 or less draw no grid).
bool usableGridStep(double v)
{
    return std::isfinite(v) && v >= 0 && v <= TemplateLimits::MaxSide;
}

// Draws the items of a page without the people they read while it lives.
class PeopleAside
{
public:
    explicit PeopleAside(CREPage *page)
    {
        for (CREPageItem *frame : qAsConst(page->items)) {
            for (CREPageItem *item = frame; item; item = item->inner) {
                m_kept.append({item, item->container});
                item->container = nullptr;
            }
        }
    }
    ~PeopleAside()
    {
        for (const auto &kept : qAsConst(m_kept))
            kept.first->container = kept.second;
    }
    PeopleAside(const PeopleAside &) = delete;
    PeopleAside &operator=(const PeopleAside &) = delete;

private:
    QVector<QPair<CREPageItem *, calcNumContainer *>> m_kept;
};

} // namespace

const char CReportDocument::Magic[] = "VormaplexiduneReportFile->";
static_assert(sizeof(CReportDocument::Magic) == MagicLength, "magic with its zero byte");

CReportDocument::CReportDocument(calcNumContainer *container, CAppStyle *appStyle)
    : container(container)
    , style(new CStyle(appStyle))
    , drawMode(new CDrawMode)
    , appStyle(appStyle)
    , imagesFolder(getImagesPath())
{
    newReport();
}

CReportDocument::~CReportDocument()
{
    clear();
    delete style;
    delete drawMode;
}

void CReportDocument::newReport()
{
    clear();
    auto *page = new CREPage(container, style);
    page->name = QStringLiteral("Untitled");
    pageLists.append(new QList<CREPage *> {page});
    currentPage = page;
    name = QStringLiteral("New report");
    fileName = QStringLiteral("untitled.vxr");
    gridShown = 1;
    snapToGrid = 1;
    drawMode->showBoundaries = true;
    gridStepX = 10;
    gridStepY = 10;
    viewReset();
}

void CReportDocument::clear()
{
    currentPage = nullptr;
    for (QList<CREPage *> *list : qAsConst(pageLists)) {
        qDeleteAll(*list);
        delete list;
    }
    pageLists.clear();
    qDeleteAll(blocks);
    blocks.clear();
    m_nextIdentity = 1;
}

CREPage *CReportDocument::addPage(const QSizeF &size, const QString &pageName)
{
    if (pageLists.isEmpty())
        pageLists.append(new QList<CREPage *>);
    auto *page = new CREPage(container, style);
    page->width = size.width();
    page->height = size.height();
    page->name = pageName;
    pageLists.first()->append(page);
    return page;
}

CREPage *CReportDocument::addBlock(const QSizeF &size, const QString &pageName)
{
    auto *page = new CREPage(container, style);
    page->width = size.width();
    page->height = size.height();
    page->name = pageName;
    blocks.append(page);
    blockKey(page);
    return page;
}

bool CReportDocument::placingRecurses(const CREPage *block, const CREPage *page) const
{
    if (!block || !page)
        return false;
    QList<const CREPage *> reached {block};
    for (int i = 0; i < reached.size(); ++i) {
        if (reached.at(i) == page)
            return true;
        for (const CREPageItem *item : reached.at(i)->items) {
            const CREPageItem *content = item->inner;
            if (content && content->type == CREPageItem::BlockReference && content->blockPage
                && !reached.contains(content->blockPage))
                reached.append(content->blockPage);
        }
    }
    return false;
}

QString CReportDocument::blockKey(CREPage *block)
{
    if (!block)
        return QString();
    if (block->identity == 0)
        block->identity = m_nextIdentity++;
    return QString::number(block->identity);
}

void CReportDocument::numberBlockReferences()
{
    for (const QList<CREPage *> *list : qAsConst(pageLists)) {
        for (const CREPage *page : *list) {
            for (CREPageItem *item : page->items) {
                CREPageItem *content = item->inner;
                if (!content || content->type != CREPageItem::BlockReference)
                    continue;
                const int index = blocks.indexOf(content->blockPage);
                if (index >= 0)
                    content->blockIndex = index;
            }
        }
    }
}

int CReportDocument::pageCount() const
{
    int pages = blocks.size();
    for (const QList<CREPage *> *list : pageLists)
        pages += list->size();
    return pages;
}

QVector<TemplatePicture> CReportDocument::pictures() const
{
    QVector<TemplatePicture> all;
    for (const CREPage *block : blocks)
        block->appendPictures(&all);
    for (const QList<CREPage *> *list : pageLists) {
        for (const CREPage *page : *list)
            page->appendPictures(&all);
    }
    return all;
}

void CReportDocument::Counts::add(const CREPage *page)
{
    objects += page->items.size();
    for (const CREPageItem *item : page->items) {
        if (item->inner && item->inner->type == CREPageItem::BlockReference)
            ++references;
    }
}

CReportDocument::Counts CReportDocument::counts() const
{
    Counts c;
    for (const CREPage *block : blocks)
        c.add(block);
    for (const QList<CREPage *> *list : pageLists) {
        for (const CREPage *page : *list)
            c.add(page);
    }
    return c;
}

QString CReportDocument::countProblem(const Counts &counts)
{
    if (counts.references > TemplateLimits::MaxReferences)
        return QStringLiteral("The template holds more than\r\n%1 block references.")
            .arg(TemplateLimits::MaxReferences);
    if (counts.objects > TemplateLimits::MaxTemplateItems)
        return QStringLiteral("The template holds more than %1 objects\r\non its pages and "
                              "blocks together.")
            .arg(TemplateLimits::MaxTemplateItems);
    return QString();
}

QString CReportDocument::roomProblem(bool reference) const
{
    Counts c = counts();
    ++c.objects;
    c.references += reference ? 1 : 0;
    return countProblem(c);
}

bool CReportDocument::roomForObject(const CREPage *page) const
{
    return page && page->items.size() < TemplateLimits::MaxItems && roomProblem(false).isEmpty();
}

bool CReportDocument::roomForPage() const
{
    return pageCount() < TemplateLimits::MaxPages;
}

bool CReportDocument::roomForPicture(const TemplatePicture &picture,
                                     const TemplatePicture &replaced) const
{
    QVector<TemplatePicture> held = pictures();
    for (int i = 0; i < held.size() && !replaced.isNull(); ++i) {
        if (held.at(i).key() == replaced.key()) {
            held.removeAt(i);
            break;
        }
    }
    held.append(picture);
    return TemplateLimits::picturePixels(held) <= TemplateLimits::MaxPicturePixels;
}

// The message boxes do not wrap: lines are broken by hand.
QString CReportDocument::noRoomForPictureText()
{
    return QStringLiteral("This picture does not fit into the template:\r\nthe pictures of a "
                          "template may have\r\n%1 million pixels together.\r\nRemove a "
                          "picture or use a smaller one.")
        .arg(TemplateLimits::MaxPicturePixels / 1000000);
}

QString CReportDocument::tooManyPixelsText()
{
    return QStringLiteral("The pictures of the template have more than\r\n%1 million "
                          "pixels together.\r\nRemove a picture or use a smaller one.")
        .arg(TemplateLimits::MaxPicturePixels / 1000000);
}

QString CReportDocument::noRoomForPageText()
{
    return QStringLiteral("A chart template holds at most\r\n%1 pages and blocks together.")
        .arg(TemplateLimits::MaxPages);
}

QString CReportDocument::nameTooLongText()
{
    return QStringLiteral("The template's name holds more than %1 characters.")
        .arg(TemplateLimits::MaxText);
}

QString CReportDocument::limitProblem() const
{
    if (name.size() > TemplateLimits::MaxText)
        return nameTooLongText();
    if (pageCount() > TemplateLimits::MaxPages || pageLists.size() > TemplateLimits::MaxPages)
        return noRoomForPageText();
    if (!usableGridStep(gridStepX) || !usableGridStep(gridStepY))
        return QStringLiteral("The grid step is larger than a template can hold.");
    for (const CREPage *block : blocks) {
        const QString fault = block->limitFault();
        if (!fault.isEmpty())
            return fault;
    }
    for (const QList<CREPage *> *list : pageLists) {
        for (const CREPage *page : *list) {
            const QString fault = page->limitFault();
            if (!fault.isEmpty())
                return fault;
        }
    }
    if (TemplateLimits::picturePixels(pictures()) > TemplateLimits::MaxPicturePixels)
        return tooManyPixelsText();
    return countProblem(counts());
}

int CReportDocument::save(QDataStream &s)
{
    s.setVersion(LnrStream::StreamVersion);
    if (pageLists.isEmpty() || pageLists.first()->isEmpty())
        return -1;
    CREPage *first = pageLists.first()->first();
    // The preview shows the blocks that the first page references as they
    // are now, as a load of the file would draw them, not as they were when
    // their thumbnails were last made.
    QSet<CREPage *> shown;
    for (const CREPageItem *item : qAsConst(first->items)) {
        const CREPageItem *content = item->inner;
        if (content && content->type == CREPageItem::BlockReference && content->blockPage
            && blocks.contains(content->blockPage) && !shown.contains(content->blockPage)) {
            shown.insert(content->blockPage);
            content->blockPage->generateThumbnail(false);
        }
    }
    {
        // The preview a file carries shows the template, not the person the
        // document is being drawn for.
        const PeopleAside aside(first);
        first->generateThumbnail(true);
        s << qint32(MagicLength);
        s.writeRawData(Magic, MagicLength);
        s << qint32(FormatVersion) << name << qint32(1) << *first->thumbnail;
    }
    first->generateThumbnail(false);
    s << qint32(gridShown ? 1 : 0) << qint32(snapToGrid ? 1 : 0)
      << qint32(drawMode->showBoundaries ? 1 : 0) << gridStepX << gridStepY;
    numberBlockReferences();
    s << qint32(blocks.size());
    for (const CREPage *block : qAsConst(blocks))
        block->save(s);
    s << qint32(pageLists.size());
    for (const QList<CREPage *> *list : qAsConst(pageLists)) {
        s << qint32(list->size());
        for (const CREPage *page : *list)
            page->save(s);
    }
    return s.status() == QDataStream::Ok ? 0 : -1;
}

int CReportDocument::load(QDataStream &s)
{
    s.setVersion(LnrStream::StreamVersion);
    m_loadError.clear();
    qint32 magicLength = 0;
    s >> magicLength; // not checked: only the bytes that follow identify the file
    char magic[MagicLength];
    if (s.readRawData(magic, MagicLength) != MagicLength
        || std::memcmp(magic, Magic, MagicLength) != 0) {
        m_loadError = QStringLiteral("The file is not a chart template.");
        return -1;
    }
    qint32 version = 0;
    s >> version;
    if (s.status() != QDataStream::Ok) {
        m_loadError = QStringLiteral("The chart template is damaged.");
        return -1;
    }
    if (version > FormatVersion) {
        m_loadError = QStringLiteral("The chart template was made by a newer version.");
        return -1;
    }
    // The file is read beside what the document holds, which stays as it is
    // until the whole file has been read: a damaged file changes nothing.
    Contents previous = takeContents();
    if (!readBody(s, version)) {
        clear();
        putContents(std::move(previous));
        if (m_loadError.isEmpty())
            m_loadError = QStringLiteral("The chart template is damaged.");
        return -1;
    }
    deleteContents(previous);
    currentPage = pageLists.first()->first();
    if (version <= 257)
        currentPage->name = QStringLiteral("Pages");
    viewReset();
    return 0;
}

CReportDocument::Contents CReportDocument::takeContents()
{
    Contents c;
    c.name = name;
    c.gridShown = gridShown;
    c.snapToGrid = snapToGrid;
    c.showBoundaries = drawMode->showBoundaries;
    c.gridStepX = gridStepX;
    c.gridStepY = gridStepY;
    c.currentPage = currentPage;
    c.pageLists = pageLists;
    c.blocks = blocks;
    c.nextIdentity = m_nextIdentity;
    currentPage = nullptr;
    pageLists.clear();
    blocks.clear();
    m_nextIdentity = 1;
    return c;
}

void CReportDocument::putContents(Contents &&c)
{
    name = c.name;
    gridShown = c.gridShown;
    snapToGrid = c.snapToGrid;
    drawMode->showBoundaries = c.showBoundaries;
    gridStepX = c.gridStepX;
    gridStepY = c.gridStepY;
    currentPage = c.currentPage;
    pageLists = c.pageLists;
    blocks = c.blocks;
    m_nextIdentity = c.nextIdentity;
}

void CReportDocument::deleteContents(Contents &c)
{
    for (QList<CREPage *> *list : qAsConst(c.pageLists)) {
        qDeleteAll(*list);
        delete list;
    }
    qDeleteAll(c.blocks);
    c.pageLists.clear();
    c.blocks.clear();
    c.currentPage = nullptr;
}

bool CReportDocument::readBody(QDataStream &s, int version)
{
    // The picture reader spends the whole budget on a picture it cannot hold.
    const auto pictureRefused = [this](const TemplatePicture::Reading &reading) {
        if (reading.budget.pixelsLeft < 0 && m_loadError.isEmpty())
            m_loadError = tooManyPixelsText();
        return false;
    };
    TemplatePicture::Reading reading;
    reading.budget.pixelsLeft = TemplateLimits::MaxPicturePixels;
    // Counted as the pages are read, so that a file of a great many objects
    // or references is refused before all of it has been read.
    Counts read;
    const auto tooMany = [&](const CREPage *page) {
        read.add(page);
        m_loadError = countProblem(read);
        return !m_loadError.isEmpty();
    };
    qint32 reserved = 0;
    QString templateName;
    if (!LnrStream::readString(s, templateName)) {
        m_loadError = nameTooLongText();
        return false;
    }
    s >> reserved;
    // The preview is only for other programs' file lists: it is checked
    // and passed over, and takes nothing from the pages' budget.
    TemplatePicture preview;
    if (s.status() != QDataStream::Ok || !TemplatePicture::read(s, &preview, nullptr))
        return false;
    if (version >= 257) {
        qint32 grid = 0;
        qint32 snap = 0;
        s >> grid >> snap;
        gridShown = grid != 0 ? 1 : 0;
        snapToGrid = snap != 0 ? 1 : 0;
        if (version >= 262) {
            qint32 boundaries = 0;
            s >> boundaries;
            drawMode->showBoundaries = boundaries != 0;
        }
        s >> gridStepX >> gridStepY;
        if (!usableGridStep(gridStepX) || !usableGridStep(gridStepY))
            return false;
    }
    if (s.status() != QDataStream::Ok)
        return false;
    name = templateName;
    int pages = 0;
    if (version >= 258) {
        qint32 count = 0;
        s >> count;
        if (s.status() == QDataStream::Ok && count > TemplateLimits::MaxPages)
            m_loadError = noRoomForPageText();
        if (s.status() != QDataStream::Ok || count > TemplateLimits::MaxPages
            || !LnrStream::countFits(s, count, MinPageBytes))
            return false;
        for (qint32 i = 0; i < count; ++i) {
            auto *block = new CREPage(container, style);
            blocks.append(block);
            if (!block->load(s, version, &reading, &m_loadError))
                return pictureRefused(reading);
            if (tooMany(block))
                return false;
            blockKey(block);
        }
        pages = count;
    }
    qint32 listCount = 0;
    s >> listCount;
    if (s.status() != QDataStream::Ok || listCount > TemplateLimits::MaxPages
        || !LnrStream::countFits(s, listCount, 4))
        return false;
    for (qint32 i = 0; i < listCount; ++i) {
        auto *list = new QList<CREPage *>;
        pageLists.append(list);
        qint32 count = 0;
        s >> count;
        if (s.status() == QDataStream::Ok && count > TemplateLimits::MaxPages - pages)
            m_loadError = noRoomForPageText();
        if (s.status() != QDataStream::Ok || count > TemplateLimits::MaxPages - pages
            || !LnrStream::countFits(s, count, MinPageBytes))
            return false;
        pages += count;
        for (qint32 j = 0; j < count; ++j) {
            auto *page = new CREPage(container, style);
            list->append(page);
            if (!page->load(s, version, &reading, &m_loadError))
                return pictureRefused(reading);
            if (tooMany(page))
                return false;
        }
    }
    // A template without a page has nothing to show or edit.
    if (pageLists.isEmpty() || pageLists.first()->isEmpty())
        return false;
    relinkBlockReferences();
    for (CREPage *block : qAsConst(blocks))
        block->generateThumbnail(false);
    for (const QList<CREPage *> *list : qAsConst(pageLists)) {
        for (CREPage *page : *list) {
            for (CREPageItem *item : qAsConst(page->items)) {
                if (item->inner && item->inner->type == CREPageItem::BlockReference)
                    item->inner->blockImage = item->inner->blockPage->thumbnail;
            }
            page->generateThumbnail(false);
        }
    }
    return true;
}

void CReportDocument::relinkBlockReferences()
{
    for (const QList<CREPage *> *list : qAsConst(pageLists)) {
        for (CREPage *page : *list) {
            bool dropped = false;
            for (int i = page->items.size() - 1; i >= 0; --i) {
                CREPageItem *content = page->items.at(i)->inner;
                if (!content || content->type != CREPageItem::BlockReference)
                    continue;
                const int index = content->blockIndex;
                if (index < 0 || index >= blocks.size()) {
                    // A reference to a block the file does not hold cannot be drawn or
                    // edited: it is dropped rather than followed.
                    delete page->items.takeAt(i);
                    dropped = true;
                    continue;
                }
                CREPage *block = blocks.at(index);
                content->key = blockKey(block);
                content->blockPage = block;
            }
            if (dropped) {
                QList<CREPageItem *> references;
                for (CREPageItem *item : qAsConst(page->items)) {
                    if (item->inner && item->inner->type == CREPageItem::BlockReference)
                        references.append(item->inner);
                }
                std::stable_sort(
                    references.begin(), references.end(),
                    [](const CREPageItem *a, const CREPageItem *b) { return a->order < b->order; });
                for (int k = 0; k < references.size(); ++k)
                    references.at(k)->order = k;
            }
        }
    }
}

bool CReportDocument::saveToFile(const QString &path, QString *errorString)
{
    const auto failed = [&](const QString &why) {
        m_saveError = why;
        if (errorString)
            *errorString = why;
        return false;
    };
    m_saveError.clear();
    if (pageLists.isEmpty() || pageLists.first()->isEmpty())
        return failed(QStringLiteral("The template has no page to save."));
    // A file the reader would refuse is not written: the template would be
    // lost to the user, and the old file goes with it.
    const QString problem = limitProblem();
    if (!problem.isEmpty())
        return failed(problem);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    QDataStream s(&file);
    if (save(s) != 0) {
        file.cancelWriting();
        return failed(file.errorString());
    }
    if (!file.commit())
        return failed(file.errorString());
    return true;
}

bool CReportDocument::loadFromFile(const QString &path, QString *errorString)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_loadError = file.errorString();
        if (errorString)
            *errorString = m_loadError;
        return false;
    }
    QDataStream s(&file);
    if (load(s) != 0) {
        if (errorString)
            *errorString = m_loadError;
        return false;
    }
    return true;
}
