#pragma once

#include "designer/templatepicture.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QVector>

class QDataStream;
class QSizeF;
class CAppStyle;
class CDrawMode;
class CREPage;
class CREPageItem;
class CStyle;
struct calcNumContainer;

// The chart template document behind the page editor: page lists, reusable
// block pages, the current page, grid settings and the drawing records every
// draw call receives. The editor view builds on it and reacts to resets
// through viewReset().
class CReportDocument
{
public:
    static constexpr int FormatVersion = 263;
    static const char Magic[]; // "VormaplexiduneReportFile->", 27 bytes with the zero

    CReportDocument(calcNumContainer *container, CAppStyle *appStyle);
    virtual ~CReportDocument();
    CReportDocument(const CReportDocument &) = delete;
    CReportDocument &operator=(const CReportDocument &) = delete;

    // One list with one "Untitled" 840 x 1188 page; name "New report".
    void newReport();
    // Deletes every page, page list and block; settings and names stay.
    void clear();
    CREPage *addPage(const QSizeF &size, const QString &name);
    CREPage *addBlock(const QSizeF &size, const QString &name);

    // 0 when written; -1 when there is no page to write or the stream failed.
    // The stream gets the document as it stands: saveToFile() first makes
    // sure that the reader will take it.
    int save(QDataStream &s);
    // Why the reader would refuse the document as it stands, for the user;
    // empty when it is within the limits of a template.
    QString limitProblem() const;

    // Room for what the designer adds, within the limits the reader keeps:
    // another page or block, and a picture that replaces replaced (a page
    // background) or is added.
    bool roomForPage() const;
    bool roomForPicture(const TemplatePicture &picture,
                        const TemplatePicture &replaced = TemplatePicture()) const;
    // Why one more object, a block reference when reference is true, would
    // take the template past the objects or block references it may hold;
    // empty when there is room.
    QString roomProblem(bool reference) const;
    // Room on page for one more object that is not a block reference.
    bool roomForObject(const CREPage *page) const;
    // The message for a picture or a page that there is no room for.
    static QString noRoomForPictureText();
    static QString noRoomForPageText();
    static QString tooManyPixelsText();
    static QString nameTooLongText();
    // 0 when read; -1 for a foreign or newer file or damaged data, after which
    // the document holds what it held before and loadError() says why.
    int load(QDataStream &s);
    QString loadError() const { return m_loadError; }

    // Whole-file forms. Saving writes through QSaveFile, so a failure leaves
    // the old file intact, and writes nothing when limitProblem() finds
    // something the reader would refuse; both report failure in errorString
    // when given, and saving also in saveError().
    bool saveToFile(const QString &path, QString *errorString = nullptr);
    QString saveError() const { return m_saveError; }
    bool loadFromFile(const QString &path, QString *errorString = nullptr);

    // True when a reference to block placed on page would make drawing
    // recurse: page is the block itself, or a block that the block's drawing
    // reaches through its own references.
    bool placingRecurses(const CREPage *block, const CREPage *page) const;

    // The decimal identity text that block references keep as their key:
    // unique among the document's blocks while it is open, and the same for
    // the same template each time it is loaded.
    QString blockKey(CREPage *block);

    calcNumContainer *container;
    QString name = QStringLiteral("New report");
    QString fileName = QStringLiteral("untitled.vxr");
    CStyle *style;
    CDrawMode *drawMode;
    int gridShown = 1;
    int snapToGrid = 1;
    double gridStepX = 10;
    double gridStepY = 10;
    CREPage *currentPage = nullptr;
    QList<QList<CREPage *> *> pageLists;
    QList<CREPage *> blocks;
    CAppStyle *appStyle;
    QString imagesFolder;

protected:
    // Called after newReport() and a load: the view resets its zoom to 0.75,
    // recomputes its scroll geometry and repaints.
    virtual void viewReset() { }

private:
    // What a load replaces, kept aside until the new file has been read.
    struct Contents
    {
        QString name;
        int gridShown = 1;
        int snapToGrid = 1;
        bool showBoundaries = true;
        double gridStepX = 10;
        double gridStepY = 10;
        CREPage *currentPage = nullptr;
        QList<QList<CREPage *> *> pageLists;
        QList<CREPage *> blocks;
        int nextIdentity = 1;
    };
    Contents takeContents();
    void putContents(Contents &&c);
    static void deleteContents(Contents &c);

    bool readBody(QDataStream &s, int version);
    void numberBlockReferences();
    void relinkBlockReferences();

    // The objects and block references of all pages and blocks together.
    struct Counts
    {
        qint64 objects = 0;
        qint64 references = 0;
        void add(const CREPage *page);
    };
    Counts counts() const;
    static QString countProblem(const Counts &counts);

    int pageCount() const;
    // The pictures the reader reads, the null ones among them.
    QVector<TemplatePicture> pictures() const;

    int m_nextIdentity = 1;
    QString m_loadError;
    QString m_saveError;
};
