// The Report Manager's edits on its list of layouts, driven by any bytes: new,
// copied, renamed and deleted layouts, sections added, moved and removed,
// titles, fonts, colours, flags, custom texts and pictures, each only as the
// manager accepts it (its name checks, its picture budget), and texts as a
// shared layout file brings them (through the reader's filter). Titles and
// font families may hold any markup. Every save of such a list must succeed
// and load back as the same layouts, and no reading made by a loaded layout
// may hold an element that embeds a frame or an object or runs script, nor an
// event handler.

#include "engine/compnumerology.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"
#include "engine/texttables.h"
#include "fuzz/harness.h"
#include "fuzz/markupcontract.h"
#include "layouts/layoutfile.h"
#include "layouts/layoutfolder.h"
#include "layouts/layoutlimits.h"
#include "layouts/layoutlist.h"
#include "layouts/sectionmarkup.h"
#include "layouts/sectiontext.h"
#include "reportmanager/imagepreview.h"

#include <QBuffer>
#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QTextDocument>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    harness::startApplication(argc, argv);
    // Standard texts, so that the readings write the sections and the
    // custom texts that stand in for them.
    QString *const tables[]
        = {numerLifePath,      numerBirthDate, numerExpr,    numerHeartDesire, numerPersonality,
           numerKarmicLessons, numer1,         numer5,       numerPetC,        numerPetDForecast,
           numerDetComp,       numerLPComp,    numerSumComp, numerNameComp,    numerCustomText};
    for (QString *table : tables)
        std::fill(table, table + kNumerTableSize, QStringLiteral("T"));
    // What Qt and the program set up on first use (fonts, the picture codec,
    // the filter's and the readings' tables) takes longer than any input:
    // done here, it does not count against the first input's time. The
    // built-in layout, with a picture and texts, saved, loaded and read.
    static const uint8_t warmUp[] = {1,  5, 3, 17, 0, 0,    9, 0,  9, 0x80, 0x80, 0x12, 0x34, 0, 0,
                                     15, 0, 0, 1,  3, 0x21, 0, 16, 0, 0,    2,    0,    1,    0, 0};
    LLVMFuzzerTestOneInput(warmUp, sizeof(warmUp));
    return 0;
}

namespace {

// Reads the edit sequence; past the end every value is 0.
struct Input
{
    const uint8_t *data;
    size_t size;
    size_t at = 0;

    bool atEnd() const { return at >= size; }
    int byte() { return at < size ? data[at++] : 0; }
    int number(int count) { return count > 0 ? byte() % count : 0; }
    int word()
    {
        const int high = byte();
        return high << 8 | byte();
    }

    // Names from characters that the name checks care about.
    QString name()
    {
        static const char16_t alphabet[]
            = {u'a', u'B',      u'.',      u' ',   u'/', u'd', u'e', u'f', u'u', u'l',
               u't', u'\u00e9', u'\u20ac', 0xd800, 0,    u'~', u'-', u'x', u'L', u'T'};
        const int length = byte() % 24;
        QString text;
        for (int i = 0; i < length; ++i)
            text += QChar(alphabet[number(int(sizeof(alphabet) / sizeof(alphabet[0])))]);
        if (byte() == 0xff) // now and then one too long for a file name
            text = text.leftJustified(250 + number(10), QLatin1Char('x'));
        return text;
    }

    QString plainText()
    {
        const int length = byte() % 40;
        QString text;
        for (int i = 0; i < length; ++i)
            text += QChar(ushort(byte() % 3 == 0 ? 0x20 + byte() % 0x60 : word()));
        return text;
    }

    // Text from the pieces that markup, references, script URLs and the
    // report builder's own cuts are made of; now and then any characters.
    QString markupText(int most)
    {
        static const QStringList pieces
            = QStringLiteral(
                  "<|>|/|\"|'|=| |&|;|a|p|on|onload| onerror=|javascript:|VbScript:|"
                  "java|script|&#106;|&#x6A|&colon;|&Tab;|\t|\n|\x01|<p>|</p>|<p|<br>|"
                  "<br />|<span style=\"x\">|</span>|<td|<a href=|<img src=x |<iframe|"
                  "</iframe>|<script>|</script>|<frame>|<Base>|<object|<embed|<style>|"
                  "</style>|url(|<!-- md --><br>|<body>|</body>|<svg/|<<p>|Life path |"
                  "Love & |&amp;|&lt;|<!--|-->|<textarea>|<title>|<math>|<table>|"
                  "<tr>|<td>|<li>|<ul>|<h1>|<h2>|<div>|<b>|<pre>|<section>|<button>|"
                  "<caption>| style=\"|background:|font-family:|/*|*/| src=\"|"
                  " srcset=|<video poster=|<image href=|http://h/|data:image/png,A|"
                  "<font face=|<svg><animate attributeName=href values=|<h3>|<dd>|<form>|"
                  "<template>|<frameset>|</table>|<em>|<a>|</ul>|<select>|")
                  .split(QLatin1Char('|'));
        const int count = byte() % most;
        QString text;
        for (int i = 0; i < count; ++i) {
            const int piece = byte();
            text += piece == 0xff ? plainText() : pieces.at(piece % pieces.size());
        }
        return text;
    }

    // A font family as the font box offers it, or as a shared file brings it.
    QString family()
    {
        static const QStringList families
            = QStringLiteral("Arial|DejaVu Serif|Courier|Georgia|Helvetica [Cronyx]|Black & White|"
                             "Arial;\"><iframe src=\"file:///x\"></iframe><b title=\"")
                  .split(QLatin1Char('|'));
        const int choice = byte();
        return choice < 0xf0 ? families.at(choice % families.size()) : markupText(8);
    }
};

// Bounds on what one input plays, so that every input, up to the longest,
// runs in a small part of a second in the sanitized build: past them the rest
// of the bytes is ignored, or the edit is skipped as if refused. A megabyte
// need not play hundreds of thousands of edits: the orders of edits that
// matter fit in a few dozen. Every save writes, loads and compares the whole
// list (a layout of the built-in kind holds some twenty thousand entries), so
// layouts, saves and pictures are bounded too: two layouts, and one save
// between edits besides the last, are what the bookkeeping of renamed,
// removed and reloaded files needs, and a dozen pictures go through the same
// writer and reader as the 237 large ones at the manager's budget, which take
// seconds to encode. That boundary is tested apart (tst_layoutfile,
// tst_layoutmanager). Each picture edit makes a picture of up to a megabyte,
// which the sanitizer maps afresh: a few of them make every kind of picture.
constexpr int MaxEdits = 96;
constexpr int MaxLayouts = 2;
constexpr int MaxSavesBetweenEdits = 1;
constexpr int MaxPicturesPlayed = 16;
constexpr int MaxPictureEdits = 8;
constexpr qint64 MaxPixelsPlayed
    = qint64(LayoutLimits::LargePictureSide) * LayoutLimits::LargePictureSide;

// The pictures of a list of layouts, or of one.
struct PictureTotals
{
    qint64 pixels = 0;
    int count = 0;

    void add(const reportSetting &setting)
    {
        pixels += LayoutLimits::picturePixels(setting);
        for (const QList<repItem> &items : setting.items) {
            for (const repItem &item : items)
                count += int(std::count_if(item.images.begin(), item.images.end(),
                                           [](const QImage &image) { return !image.isNull(); }));
        }
    }
    bool fitsPlayed() const { return pixels <= MaxPixelsPlayed && count <= MaxPicturesPlayed; }
};

struct Manager
{
    QString folder;
    QStringList loadedFiles;
    QList<reportSetting> settings;
    int row = -1;
    int kind = 0;
    // Whether the list may differ from what the last save stored and loaded
    // back: a save of the same list again checks nothing new.
    bool changed = true;
    int saves = 0; // between edits, the last one aside
    int pictureEdits = 0;
    QList<reportSetting> loaded;

    reportSetting *current()
    {
        return row >= 0 && row < settings.size() ? &settings[row] : nullptr;
    }
    QList<repItem> *sections() { return current() ? &current()->items[kind] : nullptr; }
    repItem *section(Input &in)
    {
        QList<repItem> *list = sections();
        return list && !list->isEmpty() ? &(*list)[in.number(list->size())] : nullptr;
    }

    bool acceptsName(const QString &name) const
    {
        return checkSettingName(name, settings) == SettingNameError::None
            && checkLayoutFileName(name, folder, loadedFiles) == SettingNameError::None;
    }

    // The pictures of the list, counted again only after an edit that may
    // take pictures away or copy them: a count looks at every entry of every
    // section, which costs more than placing a picture.
    PictureTotals held;
    bool heldKnown = false;

    const PictureTotals &listPictures()
    {
        if (!heldKnown) {
            held = PictureTotals();
            for (const reportSetting &setting : qAsConst(settings))
                held.add(setting);
            heldKnown = true;
        }
        return held;
    }

    // The manager's rule: a picture may take what the rest of the layout
    // leaves, the picture it replaces included; the harness plays it only
    // while the list keeps within its bounds.
    bool placePicture(repItem *item, int slot, const QImage &picture)
    {
        const QImage &old = item->images.at(slot);
        const qint64 replaced = LayoutLimits::picturePixels(old);
        const qint64 added = LayoutLimits::picturePixels(picture);
        PictureTotals after = listPictures();
        after.pixels += added - replaced;
        after.count += int(!picture.isNull()) - int(!old.isNull());
        if (!after.fitsPlayed())
            return false;
        // The rest of the layout holds no more than the rest of the list, so
        // the layout is counted only when the list alone leaves too little.
        if (added > LayoutLimits::MaxPicturePixels - (held.pixels - replaced)
            && added > LayoutLimits::MaxPicturePixels - LayoutLimits::picturePixels(*current())
                    + replaced)
            return false;
        item->images[slot] = picture;
        held = after;
        return true;
    }
};

// A list of as many null pictures as images holds, shared by every section
// of that many entries, so that taking the pictures out of a layout copies
// neither the pictures nor the lists.
const QList<QImage> &nullPictures(const QList<QImage> &images)
{
    static QHash<int, QList<QImage>> lists;
    QList<QImage> &list = lists[images.size()];
    while (list.size() < images.size())
        list.append(QImage());
    return list;
}

// The bytes of a layout without its pictures, which sameLayout compares by
// their pixels rather than encoded once more.
QByteArray withoutPictures(reportSetting setting)
{
    for (QList<repItem> &items : setting.items) {
        for (repItem &item : items)
            item.images = nullPictures(item.images);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    harness::check(buffer.open(QIODevice::WriteOnly) && writeReportSetting(&buffer, setting),
                   "writing a layout to memory");
    return bytes;
}

// Pictures are equal when their pixels are, in the format the reader gives.
// The manager puts one picture into many entries: each shared picture is
// converted once.
bool samePictures(const reportSetting &a, const reportSetting &b)
{
    QHash<qint64, QImage> converted;
    const auto pixels = [&](const QImage &image) {
        if (image.isNull() || image.format() == QImage::Format_ARGB32)
            return image;
        auto found = converted.find(image.cacheKey());
        if (found == converted.end())
            found
                = converted.insert(image.cacheKey(), image.convertToFormat(QImage::Format_ARGB32));
        return *found;
    };
    for (int kind = 0; kind < ReportKindCount; ++kind) {
        if (a.items[kind].size() != b.items[kind].size())
            return false;
        for (int i = 0; i < a.items[kind].size(); ++i) {
            const QList<QImage> &first = a.items[kind].at(i).images;
            const QList<QImage> &second = b.items[kind].at(i).images;
            if (first.size() != second.size())
                return false;
            for (int slot = 0; slot < first.size(); ++slot) {
                const QImage &x = first.at(slot);
                const QImage &y = second.at(slot);
                if (x.cacheKey() != y.cacheKey() && pixels(x) != pixels(y))
                    return false;
            }
        }
    }
    return true;
}

bool sameLayout(const reportSetting &a, const reportSetting &b)
{
    return withoutPictures(a) == withoutPictures(b) && samePictures(a, b);
}

// Whether html holds a tag that embeds a frame or an object or runs script,
// read as a browser reads tags: an element of such a name, or an attribute
// whose name begins with "on". Every '<' is looked at, whatever the context.
bool holdsActiveMarkup(const QString &html)
{
    static const QRegularExpression element(
        QStringLiteral("<(script|i?frame|frameset|object|embed)(?![^\\s/>])"),
        QRegularExpression::CaseInsensitiveOption);
    if (element.match(html).hasMatch())
        return true;
    const auto space = [](QChar c) {
        return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')
            || c == QLatin1Char('\r') || c == QLatin1Char('\f');
    };
    const int n = html.size();
    for (int lt = html.indexOf(QLatin1Char('<')); lt >= 0;
         lt = html.indexOf(QLatin1Char('<'), lt + 1)) {
        // A tag starts with a letter, or '/' and a letter.
        int i = lt + 1 + (lt + 1 < n && html.at(lt + 1) == QLatin1Char('/'));
        if (i >= n || !html.at(i).isLetter() || html.at(i).unicode() > 'z')
            continue;
        while (i < n && !space(html.at(i)) && html.at(i) != QLatin1Char('/')
               && html.at(i) != QLatin1Char('>'))
            ++i;
        while (i < n && html.at(i) != QLatin1Char('>')) {
            if (space(html.at(i)) || html.at(i) == QLatin1Char('/')) {
                ++i;
                continue;
            }
            const int name = i++;
            while (i < n && !space(html.at(i)) && html.at(i) != QLatin1Char('/')
                   && html.at(i) != QLatin1Char('>') && html.at(i) != QLatin1Char('='))
                ++i;
            if (html.midRef(name, 2).compare(QLatin1String("on"), Qt::CaseInsensitive) == 0)
                return true;
            while (i < n && space(html.at(i)))
                ++i;
            if (i >= n || html.at(i) != QLatin1Char('='))
                continue;
            for (++i; i < n && space(html.at(i));)
                ++i;
            if (i < n && (html.at(i) == QLatin1Char('"') || html.at(i) == QLatin1Char('\''))) {
                const int close = html.indexOf(html.at(i), i + 1);
                i = close < 0 ? n : close + 1;
            } else {
                while (i < n && !space(html.at(i)) && html.at(i) != QLatin1Char('>'))
                    ++i;
            }
        }
    }
    return false;
}

// Every reading of the first layouts, as the main window makes them.
void checkReadings(QList<reportSetting> *layouts)
{
    const QDate birth(1980, 3, 5);
    const QDate today(2026, 3, 15);
    for (int no = 1; no <= std::min(3, int(layouts->size())); ++no) {
        CNumerology person, partner;
        CNumerologyPMatrix matrix, partnerMatrix;
        CCompNumerology comp;
        person.calculate(QStringLiteral("ANN LEE SMITH"), QStringLiteral("ANN"), {}, {}, false,
                         birth, today, layouts, no, 0, false);
        QStringList readings {person.reportHtml};
        partner.calculate(QStringLiteral("BOB ROSS"), QStringLiteral("BOB"), {}, {}, false, birth,
                          today, nullptr, 0, 0, true);
        matrix.calculate(QStringLiteral("ANN LEE SMITH"), birth, layouts, no);
        partnerMatrix.calculate(QStringLiteral("BOB ROSS"), birth, nullptr, 0);
        comp.calculate(&person, &partner, &matrix, &partnerMatrix, layouts, no);
        readings << matrix.reportHtml << comp.reportHtml;
        person.calculateCel(QStringLiteral("ANN LEE SMITH"), birth, false, layouts, no, 0);
        readings << person.reportHtml;
        person.calculatePet(QStringLiteral("REX"), QString(), birth, today, false, layouts, no);
        readings << person.reportHtml;
        for (const QString &reading : qAsConst(readings)) {
            if (holdsActiveMarkup(reading)) {
                std::fprintf(stderr, "%s\n", qPrintable(reading));
                harness::fail("a reading holds markup that runs script or embeds");
            }
        }
    }
}

void saveAndCompare(Manager *m)
{
    if (!m->changed)
        return;
    m->changed = false;
    QStringList problems;
    if (!saveReportSettings(&m->settings, m->folder, &m->loadedFiles, &problems)) {
        std::fprintf(stderr, "%s\n", qPrintable(problems.join(QLatin1Char('\n'))));
        harness::fail("the save refused layouts the manager made");
    }
    QList<reportSetting> &loaded = m->loaded;
    loadReportSettings(&loaded, m->folder);
    harness::check(loaded.size() == m->settings.size(), "a saved layout did not load");
    for (const reportSetting &setting : qAsConst(m->settings)) {
        const auto found = std::find_if(loaded.begin(), loaded.end(), [&](const reportSetting &l) {
            return l.name == setting.name;
        });
        harness::check(found != loaded.end(), "a layout loaded under another name");
        // Every layout the manager makes is up to date already: loading
        // must not put back sections the user removed.
        harness::check(sameLayout(setting, *found), "a layout changed on its way to disk");
    }
}

QImage picture(Input &in, int kind)
{
    // Past the larger square and of any shape, but no larger: the manager
    // fits every picture into its square before it keeps it.
    QImage image(1 + in.word() % 512, 1 + in.word() % 512, QImage::Format_ARGB32);
    const uint high = uint(in.word());
    image.fill(QColor::fromRgba(high << 16 | uint(in.word())));
    for (int i = in.number(4); i > 0; --i)
        image.setPixel(in.number(image.width()), in.number(image.height()), uint(in.word()));
    return CImagePreview::fittedImage(image, kind);
}

void edit(Manager *m, Input &in)
{
    enum Op {
        New,
        Copy,
        Delete,
        Rename,
        Select,
        Kind,
        Add,
        Remove,
        Move,
        Title,
        Font,
        Colour,
        Default,
        HideImage,
        HideAll,
        Text,
        SharedText,
        Picture,
        Pictures,
        NoPicture,
        Save,
        OpCount
    };
    repItem *item = nullptr;
    const int op = in.number(OpCount);
    switch (op) {
    case New:
    case Copy: {
        const QString name = in.name();
        if (!m->acceptsName(name))
            break;
        if (m->settings.size() >= MaxLayouts)
            break;
        if (op == Copy && m->current()) {
            PictureTotals after = m->listPictures();
            after.add(*m->current());
            if (!after.fitsPlayed())
                break;
        }
        m->settings.append(makeNewSetting(m->settings, m->row, op == Copy ? 1 : 0, name));
        m->row = m->settings.size() - 1;
        break;
    }
    case Delete:
        if (m->current()) {
            const int next = removeSetting(&m->settings, m->row);
            m->row = next;
        }
        break;
    case Rename: {
        const QString name = in.name();
        if (m->current() && m->acceptsName(name))
            m->current()->name = name;
        break;
    }
    case Select:
        m->row = m->settings.isEmpty() ? -1 : in.number(m->settings.size());
        break;
    case Kind:
        m->kind = in.number(ReportKindCount);
        break;
    case Add:
        if (QList<repItem> *list = m->sections()) {
            const QList<FieldTemplate> fields = availableFields(m->kind);
            const FieldTemplate field = fields.at(in.number(fields.size()));
            QList<repItem> added;
            addItemSet(&added, m->kind, field.type, field.title);
            // A dragged-in section carries the template tile's point sizes.
            added.first().headerFont.setPointSize(16);
            added.first().contentFont.setPointSize(14);
            added.first().name = getItemName(m->kind, field.type);
            list->insert(in.number(list->size() + 1), added.first());
        }
        break;
    case Remove:
        if (QList<repItem> *list = m->sections(); list && !list->isEmpty())
            list->removeAt(in.number(list->size()));
        break;
    case Move:
        if (QList<repItem> *list = m->sections(); list && !list->isEmpty())
            list->move(in.number(list->size()), in.number(list->size()));
        break;
    case Title:
        if ((item = m->section(in)))
            item->title = in.markupText(16);
        break;
    case Font:
        if ((item = m->section(in))) {
            QFont font(in.family());
            font.setPixelSize(1 + in.number(120));
            font.setBold(in.byte() & 1);
            font.setItalic(in.byte() & 1);
            font.setUnderline(in.byte() & 1);
            (in.byte() & 1 ? item->headerFont : item->contentFont) = font;
        }
        break;
    case Colour:
        if ((item = m->section(in))) {
            const QColor colour(in.byte(), in.byte(), in.byte());
            (in.byte() & 1 ? item->headerColor : item->contentColor) = colour;
        }
        break;
    case Default:
        if ((item = m->section(in)))
            item->defaultStyle = !item->defaultStyle;
        break;
    case HideImage:
        if ((item = m->section(in)))
            setOption(&item->options, QStringLiteral("hide-image"), in.byte() & 1);
        break;
    case HideAll:
        if (m->current())
            setOption(&m->current()->flags, hideImagesKey(m->kind), in.byte() & 1);
        break;
    case Text:
        if ((item = m->section(in))) {
            const int entry = in.number(item->texts.size());
            QTextDocument document;
            document.setPlainText(in.plainText());
            item->texts[entry] = document.toPlainText().isEmpty()
                ? QString()
                : storedCustomText(document.toHtml("UTF-8"), EditorSizeOffset);
            item->useStdText[entry] = in.byte() & 1;
        }
        break;
    case SharedText:
        // As a layout file from someone else brings it, and the reader
        // leaves it; now and then in an editor document.
        if ((item = m->section(in))) {
            const int entry = in.number(item->texts.size());
            QString html = in.markupText(48);
            if (in.byte() & 1)
                html = QLatin1String("<html><body><!-- md --><br>") + html
                    + QLatin1String("</body></html>");
            const QString filtered = SectionMarkup::filtered(html);
            // The filter's own text is its fixed point (problemOf), and
            // its count of attributes holds for any text.
            QString problem = markupcontract::attributeBoundProblem(html);
            if (problem.isEmpty())
                problem = markupcontract::problemOf(filtered);
            if (problem.isEmpty())
                problem = markupcontract::joinProblem(item->texts.value(0), filtered);
            if (!problem.isEmpty()) {
                std::fprintf(stderr, "%s\n%s\n%s\n", qPrintable(problem), qPrintable(html),
                             qPrintable(filtered));
                harness::fail("a shared text holds or leaves open more than the filter allows");
            }
            item->texts[entry] = filtered;
            item->useStdText[entry] = in.byte() & 1;
        }
        break;
    case Picture:
    case Pictures:
        if (m->pictureEdits < MaxPictureEdits && (item = m->section(in))) {
            ++m->pictureEdits;
            // Only Celebrities sections keep a picture per entry.
            const bool many = item->kind == RKCelebrities;
            const int count = op == Pictures && many ? 1 + in.byte() : 1;
            const QImage image = picture(in, item->kind);
            for (int slot = many ? in.number(item->images.size()) : 0, n = 0;
                 n < count && slot < item->images.size(); ++slot, ++n)
                m->placePicture(item, slot, image);
        }
        break;
    case NoPicture:
        if ((item = m->section(in)))
            item->images[in.number(item->images.size())] = QImage();
        break;
    case Save:
        if (m->saves < MaxSavesBetweenEdits) {
            ++m->saves;
            saveAndCompare(m);
        }
        break;
    default:
        break;
    }
    if (op != Select && op != Kind && op != Save)
        m->changed = true;
    if (op == Copy || op == Delete || op == Remove || op == NoPicture)
        m->heldKnown = false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Manager m;
    m.folder = harness::scratchFile(QStringLiteral("layouts/"));
    QDir(m.folder).removeRecursively();
    // The manager opens on what is in the folder: nothing, or the built-in layout.
    Input in {data, size};
    if (in.byte() & 1) {
        reportSetting first = makeNewSetting({}, -1, 0, QStringLiteral("First"));
        QList<reportSetting> list {first};
        harness::check(saveReportSettings(&list, m.folder, nullptr), "saving the first layout");
    }
    loadReportSettings(&m.settings, m.folder, &m.loadedFiles);
    m.row = m.settings.isEmpty() ? -1 : 0;
    for (int edits = 0; edits < MaxEdits && !in.atEnd(); ++edits)
        edit(&m, in);
    saveAndCompare(&m);
    checkReadings(&m.loaded);
    return 0;
}
