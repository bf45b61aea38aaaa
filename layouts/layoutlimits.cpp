#include "layouts/layoutlimits.h"

#include "layouts/boundedread.h"
#include "layouts/defaultlayout.h"
#include "layouts/sectionmarkup.h"

#include <QImage>

#include <algorithm>

namespace LayoutLimits {

namespace {

// "at most about 237 pictures of 460 x 460"
QString capacity()
{
    const qint64 large = qint64(LargePictureSide) * LargePictureSide;
    return QStringLiteral("(at most about %1 pictures of %2 x %2)")
        .arg(MaxPicturePixels / large)
        .arg(LargePictureSide);
}

// Takes a title's or a name's characters from the file's budget; the
// reader's reason when it is longer than one may be or the budget is spent.
QString chargedName(const QString &name, BoundedRead::ReadBudget *budget)
{
    if (name.size() > MaxNameLength)
        return nameRefusal();
    if (name.size() > budget->parsedLengthLeft)
        return SectionMarkup::textsTooLong();
    budget->parsedLengthLeft -= name.size();
    return QString();
}

QString chargedNames(const QMap<QString, QString> &map, BoundedRead::ReadBudget *budget)
{
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        QString problem = chargedName(it.key(), budget);
        if (problem.isEmpty())
            problem = chargedName(it.value(), budget);
        if (!problem.isEmpty())
            return problem;
    }
    return QString();
}

} // namespace

QString nameRefusal()
{
    return QStringLiteral("one of its titles or names is longer than a layout file can take.");
}

QString sectionName(const repItem &item)
{
    return item.title.isEmpty() ? getItemName(item.kind, int(item.type)) : item.title;
}

namespace {

QString pagesText(int pages)
{
    return pages == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(pages);
}

} // namespace

QString textTooLongRefusal(const QString &section, int pages)
{
    return QStringLiteral("the text of \"%1\" is %2 longer than a section text can be.")
        .arg(section, pagesText(pages));
}

QString editRefusal(const QString &layout, const QString &section, int pages)
{
    if (pages > 0)
        return QStringLiteral("The text of \"%1\" in the layout \"%2\" would be %3 longer than "
                              "a section text can be.")
            .arg(section, layout, pagesText(pages));
    return QStringLiteral("The text of \"%1\" in the layout \"%2\" would hold more formatting "
                          "or larger tables than a section text can take.")
        .arg(section, layout);
}

qint64 picturePixels(const QImage &image)
{
    if (image.isNull())
        return 0;
    // The reader decodes a picture larger than its side limit scaled down.
    QSize kept = image.size();
    if (kept.width() > BoundedRead::MaxPictureSide || kept.height() > BoundedRead::MaxPictureSide)
        kept = kept.scaled(BoundedRead::MaxPictureSide, BoundedRead::MaxPictureSide,
                           Qt::KeepAspectRatio)
                   .expandedTo(QSize(1, 1));
    return qint64(kept.width()) * kept.height();
}

qint64 picturePixels(const QList<QImage> &images)
{
    qint64 pixels = 0;
    for (const QImage &image : images)
        pixels += picturePixels(image);
    return pixels;
}

qint64 picturePixels(const reportSetting &setting)
{
    qint64 pixels = 0;
    for (const QList<repItem> &items : setting.items) {
        for (const repItem &item : items) {
            pixels += picturePixels(item.images);
            for (int i = 0; i < item.storedImages.size(); ++i) {
                if (item.images.value(i).isNull())
                    pixels += BoundedRead::storedImagePixels(item.storedImages.at(i));
            }
        }
    }
    return pixels;
}

QString storeProblem(const reportSetting &setting)
{
    // The texts are filtered as the reader filters them, in its order and
    // with its budget, so that what is stored is what it opens.
    BoundedRead::ReadBudget budget;
    for (int kind = 0; kind < ReportKindCount; ++kind) {
        for (const repItem &item : setting.items[kind]) {
            QString problem = chargedName(item.name, &budget);
            if (problem.isEmpty())
                problem = chargedName(storedFont(item.headerFont).family(), &budget);
            if (problem.isEmpty())
                problem = chargedName(storedFont(item.contentFont).family(), &budget);
            if (!problem.isEmpty())
                return problem;
            QString filtered;
            for (const QString &text : item.texts) {
                if (SectionMarkup::filter(text, &filtered, &budget, &problem))
                    continue;
                // A text too long is the one refusal the user meets in the
                // editor's own texts: it names the section and the excess.
                if (problem == SectionMarkup::textTooLong())
                    problem = textTooLongRefusal(
                        sectionName(item), std::max(1, SectionMarkup::pagesBeyond(text.size())));
                return problem;
            }
            for (const QImage &image : item.images) {
                if (qint64(image.width()) * image.height() > BoundedRead::MaxDeclaredPixels)
                    return QStringLiteral("one of its pictures is too large.");
            }
            problem = chargedName(item.title, &budget);
            if (problem.isEmpty())
                problem = chargedNames(item.options, &budget);
            if (!problem.isEmpty())
                return problem;
        }
    }
    const QString problem = chargedNames(setting.flags, &budget);
    if (!problem.isEmpty())
        return problem;
    if (picturePixels(setting) > MaxPicturePixels)
        return QStringLiteral("its pictures are more than one layout file can hold\n") + capacity()
            + QLatin1Char('.');
    return QString();
}

bool isFontFamilyName(const QString &family)
{
    static const QLatin1String markup("\"'`<>;\\{}");
    for (int i = 0; i < family.size(); ++i) {
        const QChar c = family.at(i);
        if (c.isHighSurrogate() && i + 1 < family.size() && family.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return false;
        default:
            break;
        }
        if (markup.contains(c))
            return false;
    }
    return true;
}

QFont storedFont(const QFont &font)
{
    if (isFontFamilyName(font.family()))
        return font;
    QFont stored = font;
    stored.setFamily(QString());
    return stored;
}

QString pictureRefusal()
{
    return QStringLiteral("This picture does not fit into the layout:\nits pictures would be more "
                          "than one layout file can hold\n")
        + capacity() + QStringLiteral(".\nRemove other pictures or choose a smaller one.");
}

} // namespace LayoutLimits
