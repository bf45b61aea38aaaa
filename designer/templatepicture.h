#pragma once

#include "layouts/boundedread.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSize>

class QDataStream;

// A picture of a chart template: a page background or an image object.
// What the designer adds is held as the image it is; what a file brings is
// held as the PNG data the file stores and decoded only while it is drawn.
// A booklet of scanned pages decodes to several hundred megabytes of pixels
// and stores a fraction of that, and only one page is drawn at a time.
// Copies share the data and decode to the same image.
class TemplatePicture
{
public:
    TemplatePicture() = default;
    // Implicit: the designer hands its pictures around as images.
    TemplatePicture(const QImage &image); // NOLINT(google-explicit-constructor)

    bool isNull() const { return m_size.isEmpty(); }
    // The size the picture decodes to, known without decoding it.
    QSize size() const { return m_size; }
    int width() const { return m_size.width(); }
    int height() const { return m_size.height(); }
    // The same for every copy of one picture and for a picture stored more
    // than once in a file, different for any two others.
    qint64 key() const { return m_key; }

    // The picture's pixels; null when there are none or the data a file
    // stored turn out not to decode. Decoded pictures are kept for a while,
    // up to a bound on their pixels together, so that a page drawn again
    // (the editor's view, a chart shown after its thumbnail) does not decode
    // them again.
    QImage toImage() const;

    // Reads a picture as QDataStream's QImage operator writes it, checked
    // as BoundedRead::readImage checks it but kept as its data. reading is
    // shared by all pictures of one file: a picture stored again is the one
    // read first and takes nothing more from the budget. On refusal the
    // stream is marked corrupt; a picture beyond the budget leaves its
    // pixelsLeft below zero.
    struct Reading
    {
        BoundedRead::ReadBudget budget;
        QHash<QByteArray, TemplatePicture> read;
    };
    static bool read(QDataStream &s, TemplatePicture *picture, Reading *reading);

    // The pixels that decoded pictures are kept up to.
    static constexpr qint64 KeptPixels = 32 * 1000 * 1000;

private:
    QImage m_image;
    QByteArray m_png;
    QSize m_size;
    qint64 m_key = 0;

    friend QDataStream &operator<<(QDataStream &s, const TemplatePicture &picture);
};

// Writes the picture as QDataStream's QImage operator does: data a file
// brought are written back unchanged.
QDataStream &operator<<(QDataStream &s, const TemplatePicture &picture);
