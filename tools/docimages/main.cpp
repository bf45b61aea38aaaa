// Draws the pictures of the readings into a resources folder:
//   images/doc/res01.jpg ... res39.jpg   the topic illustrations of the readings
//   images/res01.jpg ... res32.jpg       the same, where the help pop-ups look
//   images/doc2/NNN.jpg                  a portrait card per celebrity record
// Usage: lumaro_docimages <resources folder> <database source>...
// The celebrity records are read from the database sources. Exits non-zero
// when a source cannot be read or a picture cannot be written.

#include "portraitcards.h"
#include "topicpictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

namespace {

constexpr int kJpegQuality = 92;
constexpr int kHelpPictures = 32; // res01 to res32 are also shown by the help pop-ups

bool saveJpeg(const QImage &image, const QString &path, QTextStream &err)
{
    if (image.convertToFormat(QImage::Format_RGB32).save(path, "JPG", kJpegQuality))
        return true;
    err << "cannot write " << path << "\n";
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        err << "usage: lumaro_docimages <resources folder> <database source>...\n";
        return 2;
    }
    const QDir resources(args.at(1));
    const QDir images(resources.filePath(QStringLiteral("images")));
    const QDir doc(images.filePath(QStringLiteral("doc")));
    const QDir doc2(images.filePath(QStringLiteral("doc2")));
    for (const QDir &dir : {images, doc, doc2}) {
        if (!dir.mkpath(QStringLiteral("."))) {
            err << "cannot create " << dir.path() << "\n";
            return 1;
        }
    }

    int failures = 0;
    const QVector<TopicPicture> pictures = topicPictures();
    for (int i = 0; i < pictures.size(); ++i) {
        const QImage image = renderTopicPicture(i + 1);
        if (!saveJpeg(image, doc.filePath(pictures.at(i).fileName), err))
            ++failures;
        if (i < kHelpPictures && !saveJpeg(image, images.filePath(pictures.at(i).fileName), err))
            ++failures;
    }

    for (int i = 2; i < args.size(); ++i) {
        QFile file(args.at(i));
        if (!file.open(QIODevice::ReadOnly)) {
            err << "cannot read " << args.at(i) << "\n";
            ++failures;
            continue;
        }
        const QString source = QString::fromUtf8(file.readAll());
        for (const CelebrityCard &card : parseCelebrityCards(source)) {
            if (card.slot < 0 || card.slot > 199)
                continue;
            if (!saveJpeg(renderPortraitCard(card), doc2.filePath(portraitFileName(card.slot)),
                          err))
                ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
