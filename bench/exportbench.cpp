// Graphic Chart PNG export figures. Each template is rendered and written
// several times in this process; times are medians. The render is what
// the export asks of the template (loading it included), the write what
// the program's writer does with the picture, and "before" writes the same
// picture as the program wrote it before its encoder was chosen for speed.

#include "exportbench.h"

#include "app/chartrender.h"
#include "app/pngwriter.h"
#include "app/reportexport.h"
#include "base/apppaths.h"
#include "designer/repage.h"
#include "designer/reportdocument.h"
#include "testenvironment.h"
#include "tests/designer/designerfixture.h"
#include "tests/designer/hostiletemplates.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int rounds = 3;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double megabytes(const QString &path)
{
    return QFileInfo(path).size() / 1048576.0;
}

// The picture written through QImageWriter with the given compression
// (-1: the encoder's default) as four channels, the way QImage::save wrote
// the export canvas; the milliseconds it took, or -1 when it failed.
double timedWrite(const QImage &image, const QString &path, int compression)
{
    QElapsedTimer timer;
    timer.start();
    const QImage fourChannels = image.convertToFormat(QImage::Format_ARGB32);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    QImageWriter writer(&file, "png");
    if (compression >= 0)
        writer.setCompression(compression);
    if (!writer.write(fourChannels) || !file.commit())
        return -1;
    return timer.nsecsElapsed() / 1e6;
}

struct Template
{
    QString name;
    QString path;
};

QList<Template> exportTemplates(const QString &folder)
{
    QList<Template> list;
    const QDir shipped(getResourcesPath() + QStringLiteral("images/templates"));
    for (const QFileInfo &file :
         shipped.entryInfoList({QStringLiteral("*.lnr")}, QDir::Files, QDir::Name))
        list.append({file.completeBaseName(), file.absoluteFilePath()});
    list.append({QStringLiteral("golden"),
                 TestEnvironment::dataPath(QStringLiteral("designer/golden.lnr"))});
    const QString photo = writePhotoTemplate(folder);
    if (!photo.isEmpty())
        list.append({QStringLiteral("photo background"), photo});
    return list;
}

void benchOne(const Template &t, const QString &folder)
{
    DesignerTest::Person people;
    const QString out = QDir(folder).filePath(QStringLiteral("export.png"));
    const QString old = QDir(folder).filePath(QStringLiteral("before.png"));
    std::vector<double> render, write, before;
    QImage image;
    QString error;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        image = renderChartTemplate(t.path, people.container, QSize(0, 0), nullptr, &error);
        render.push_back(timer.nsecsElapsed() / 1e6);
        if (image.isNull())
            break;
        timer.start();
        if (!CReportExport::writeChartImage(image, out, &error))
            break;
        write.push_back(timer.nsecsElapsed() / 1e6);
        before.push_back(timedWrite(image, old, -1));
    }
    const QString name = QStringLiteral("chart png ") + t.name;
    if (write.size() != size_t(rounds)) {
        std::printf("%-40s failed: %s\n", qPrintable(name), qPrintable(error.simplified()));
        return;
    }
    std::printf("%-40s render %7.1f  write %7.1f  export %7.1f ms  %6.2f MB  %dx%d\n",
                qPrintable(name), median(render), median(write), median(render) + median(write),
                megabytes(out), image.width(), image.height());
    std::printf("%-40s                 write %7.1f  export %7.1f ms  %6.2f MB  (before)\n",
                qPrintable(name), median(before), median(render) + median(before), megabytes(old));
    std::fflush(stdout);
}

// Time and size of one template's export written by the program's encoder
// at a few zlib levels.
void benchLevels(const Template &t, const QString &folder)
{
    DesignerTest::Person people;
    const QImage image = renderChartTemplate(t.path, people.container, QSize(0, 0), nullptr);
    if (image.isNull())
        return;
    const QString out = QDir(folder).filePath(QStringLiteral("level.png"));
    for (const int level : {1, 2, 3, 4, 6}) {
        std::vector<double> times;
        for (int i = 0; i < rounds; ++i) {
            QElapsedTimer timer;
            timer.start();
            QSaveFile file(out);
            if (!file.open(QIODevice::WriteOnly) || !PngWriter::write(image, &file, level)
                || !file.commit())
                return;
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::printf("chart png levels %-23s zlib level %d  write %7.1f ms  %6.2f MB%s\n",
                    qPrintable(t.name), level, median(times), megabytes(out),
                    level == PngWriter::DefaultLevel ? "  (the program's)" : "");
        std::fflush(stdout);
    }
}

} // namespace

QString writePhotoTemplate(const QString &folder)
{
    CReportDocument doc(nullptr, nullptr);
    HostileTemplates::reset(doc);
    // An A4 page as the designer makes it, its background a scanned page
    // or photograph at 300 dpi, and a title over it.
    CREPage *page = doc.addPage(QSizeF(840, 1188), QStringLiteral("Photo"));
    page->pageBackground.mode = 2;
    page->pageBackground.image = HostileTemplates::photo(2480, 3508, 7);
    HostileTemplates::place(page, CREPageItem::Text, 60, 80, 720, 60)->text
        = QStringLiteral("Numerology of the year");
    const QString path = QDir(folder).filePath(QStringLiteral("photo background.lnr"));
    QFile file(path);
    const QByteArray bytes = HostileTemplates::write(doc);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

void benchChartExport(const std::function<bool(const QString &)> &wanted)
{
    QTemporaryDir folder;
    const QList<Template> templates = exportTemplates(folder.path());
    for (const Template &t : templates) {
        if (wanted(QStringLiteral("chart png ") + t.name))
            benchOne(t, folder.path());
    }
    for (const Template &t : templates) {
        if ((t.name == QLatin1String("photo background")
             || t.name == QLatin1String("Numerology Chart"))
            && wanted(QStringLiteral("chart png levels ") + t.name))
            benchLevels(t, folder.path());
    }
}
