#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QString>

struct repItem;

// Writes one XHTML reading document by appending fixed fragments. Every
// reading engine derives from it; the finished document is read from
// reportHtml. Texts handed in are HTML already and are not escaped; only the
// titles of layout sections, which are plain text, are (addItemHead).
class CReportTools : public QObject
{
    Q_OBJECT

public:
    explicit CReportTools(QObject *parent = nullptr);
    ~CReportTools() override;

    void preloadRes(const QString &folder);

    void startDoc(const QString &title);
    void endDoc();

    void addImage(const QString &fileName);
    void startChap(bool dropImage);
    void endChap();

    void addHead(const QString &text, const QColor &color, const QFont &font, const QImage &image);
    // The heading of a section in its own style: the item's title, escaped,
    // followed by after (HTML), in the item's header font and colour.
    void addItemHead(const repItem &item, const QString &after = QString(),
                     const QImage &image = QImage());
    void addPar(const QString &text, const QColor &color, const QFont &font, const QImage &image);
    void addPar(const QString &text, const QImage &image);
    void addPar(const QString &text, const repItem *item, int entry);
    void addStandItem(const QString &title, const QString &suffix, const QString &general,
                      const QString &specific, int entry, const repItem *item, bool hideImages);
    void addTabPar(const QString &text);
    void addPlain(const QString &html);

    // text cut at its paragraph ends and line breaks into one-cell tables,
    // the first closing the chapter's table. Only the text's own blocks are
    // cut: a table or a list stays whole in the piece it starts in.
    QString addSplitParagraph(const QString &text, const QString &open, const QString &close) const;

    // The font tag pair around a text: the heading form, or the layout-item
    // form, which adds bold from weight 58 up.
    static QString fontOpenTag(const QFont &font, const QColor &color, bool itemForm);
    static QString fontCloseTag(const QFont &font, bool itemForm);
    QString delHtmlHeaderTags(const QString &html) const;

    QString pendingImage;
    QString resFolder;
    QString reportHtml;
};
