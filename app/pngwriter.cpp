#include "app/pngwriter.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QThread>
#include <QVector>

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace PngWriter {

namespace {

// Strips of at least this many rows: fewer would cost compression at every
// strip's start, where the compressor has seen nothing yet.
constexpr int MinStripRows = 32;

struct Strip
{
    int firstRow = 0;
    int rows = 0;
    QByteArray deflated;
    uLong adler = 1; // of the filtered bytes, as zlib's trailer wants it
    uLong filteredLength = 0;
    bool ok = false;
};

// One row of the picture as the PNG stores it before filtering: R, G, B
// and, with alpha, A bytes per pixel.
void rowBytes(const QImage &source, int y, bool alpha, uchar *out)
{
    const auto *pixels = reinterpret_cast<const QRgb *>(source.constScanLine(y));
    const int width = source.width();
    if (alpha) {
        for (int x = 0; x < width; ++x) {
            const QRgb p = pixels[x];
            *out++ = uchar(qRed(p));
            *out++ = uchar(qGreen(p));
            *out++ = uchar(qBlue(p));
            *out++ = uchar(qAlpha(p));
        }
    } else {
        for (int x = 0; x < width; ++x) {
            const QRgb p = pixels[x];
            *out++ = uchar(qRed(p));
            *out++ = uchar(qGreen(p));
            *out++ = uchar(qBlue(p));
        }
    }
}

// The sum of the bytes taken as signed, by size: the measure of a filtered
// row that most encoders choose the filter by.
long signedSum(const uchar *row, int length)
{
    long sum = 0;
    for (int i = 0; i < length; ++i) {
        const int v = qint8(row[i]);
        sum += v < 0 ? -v : v;
    }
    return sum;
}

// The filtered row (its filter type byte first) into out: of the five
// filters the one whose bytes add up to the least by signedSum. prev is
// the row above, zeros for the first. Each filter is a loop of its own,
// plain enough for the compiler to run on many bytes at once.
void filterRow(const uchar *cur, const uchar *prev, int length, int bpp, uchar *out,
               std::vector<uchar> *work)
{
    work->resize(size_t(length) * 4);
    uchar *sub = work->data();
    uchar *up = sub + length;
    uchar *avg = up + length;
    uchar *pae = avg + length;
    // The first pixel has nothing to its left: a and c are zero.
    for (int i = 0; i < bpp && i < length; ++i) {
        sub[i] = cur[i];
        avg[i] = uchar(cur[i] - (prev[i] >> 1));
        pae[i] = uchar(cur[i] - prev[i]);
    }
    for (int i = bpp; i < length; ++i)
        sub[i] = uchar(cur[i] - cur[i - bpp]);
    for (int i = 0; i < length; ++i)
        up[i] = uchar(cur[i] - prev[i]);
    for (int i = bpp; i < length; ++i)
        avg[i] = uchar(cur[i] - ((cur[i - bpp] + prev[i]) >> 1));
    for (int i = bpp; i < length; ++i) {
        const int a = cur[i - bpp];
        const int b = prev[i];
        const int c = prev[i - bpp];
        const int pa = b > c ? b - c : c - b;
        const int pb = a > c ? a - c : c - a;
        const int pc = a + b - 2 * c > 0 ? a + b - 2 * c : 2 * c - a - b;
        const int predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        pae[i] = uchar(cur[i] - predicted);
    }
    const uchar *rows[5] = {cur, sub, up, avg, pae};
    int best = 0;
    long least = signedSum(cur, length);
    for (int f = 1; f < 5; ++f) {
        const long sum = signedSum(rows[f], length);
        if (sum < least) {
            least = sum;
            best = f;
        }
    }
    out[0] = uchar(best);
    std::copy(rows[best], rows[best] + length, out + 1);
}

// Filters and compresses one strip as a raw deflate stream that ends on a
// byte boundary without closing the stream, except for the last strip,
// which closes it: the strips' data then follow one another as one stream.
void encodeStrip(const QImage &source, bool alpha, int level, bool last, Strip *strip)
{
    const int bpp = alpha ? 4 : 3;
    const int length = source.width() * bpp;
    std::vector<uchar> previous(size_t(length), 0);
    std::vector<uchar> current(static_cast<size_t>(length));
    std::vector<uchar> work;
    std::vector<uchar> filtered(size_t(strip->rows) * (size_t(length) + 1));
    if (strip->firstRow > 0)
        rowBytes(source, strip->firstRow - 1, alpha, previous.data());
    for (int r = 0; r < strip->rows; ++r) {
        rowBytes(source, strip->firstRow + r, alpha, current.data());
        filterRow(current.data(), previous.data(), length, bpp,
                  filtered.data() + size_t(r) * (size_t(length) + 1), &work);
        previous.swap(current);
    }
    strip->filteredLength = uLong(filtered.size());
    strip->adler = adler32(adler32(0, nullptr, 0), filtered.data(), uInt(filtered.size()));

    z_stream z {};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return;
    // Room for the worst case and the flush's empty block.
    strip->deflated.resize(int(deflateBound(&z, uLong(filtered.size())) + 16));
    z.next_in = filtered.data();
    z.avail_in = uInt(filtered.size());
    z.next_out = reinterpret_cast<Bytef *>(strip->deflated.data());
    z.avail_out = uInt(strip->deflated.size());
    const int result = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    const bool done = last ? result == Z_STREAM_END : result == Z_OK && z.avail_in == 0;
    strip->deflated.resize(int(z.total_out));
    deflateEnd(&z);
    strip->ok = done;
}

void putBigEndian(QByteArray *bytes, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes->append(char(value >> shift));
}

bool writeChunk(QIODevice *device, const char *type, const QByteArray &data)
{
    QByteArray head;
    putBigEndian(&head, quint32(data.size()));
    head.append(type, 4);
    uLong crc = crc32(0, reinterpret_cast<const Bytef *>(type), 4);
    crc = crc32(crc, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size()));
    QByteArray tail;
    putBigEndian(&tail, quint32(crc));
    return device->write(head) == head.size() && device->write(data) == data.size()
        && device->write(tail) == tail.size();
}

} // namespace

bool write(const QImage &image, QIODevice *device, int level)
{
    if (image.isNull() || !device)
        return false;
    level = qBound(0, level, 9);
    const bool alpha = image.hasAlphaChannel();
    // Rows are read as 32-bit pixels: straight ones with alpha, else with
    // the alpha byte ignored. A canvas in either needs no copy.
    const QImage::Format wanted = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    const bool direct = image.format() == wanted
        || (!alpha
            && (image.format() == QImage::Format_ARGB32
                || image.format() == QImage::Format_ARGB32_Premultiplied));
    const QImage source = direct ? image : image.convertToFormat(wanted);
    if (source.isNull())
        return false;

    const int height = source.height();
    const int threads = qMax(1, QThread::idealThreadCount());
    const int stripRows = qMax(MinStripRows, (height + threads * 4 - 1) / (threads * 4));
    QVector<Strip> strips;
    for (int row = 0; row < height; row += stripRows) {
        Strip strip;
        strip.firstRow = row;
        strip.rows = qMin(stripRows, height - row);
        strips.append(strip);
    }
    std::atomic<int> next {0};
    const auto work = [&]() {
        for (int i = next++; i < strips.size(); i = next++)
            encodeStrip(source, alpha, level, i == strips.size() - 1, &strips[i]);
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < qMin(threads, strips.size()); ++t)
        workers.emplace_back(work);
    work();
    for (std::thread &worker : workers)
        worker.join();

    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (device->write(signature, 8) != 8)
        return false;
    QByteArray header;
    putBigEndian(&header, quint32(source.width()));
    putBigEndian(&header, quint32(height));
    header.append(char(8)); // bits per sample
    header.append(char(alpha ? 6 : 2)); // RGBA or RGB
    header.append(3, char(0)); // deflate, adaptive filtering, no interlace
    if (!writeChunk(device, "IHDR", header))
        return false;

    // The zlib stream: its header, the strips, and the checksum of them all.
    const int flevel = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
    const int cmf = 0x78; // deflate with a 32 KB window
    int flg = flevel << 6;
    flg += (31 - (cmf * 256 + flg) % 31) % 31;
    uLong adler = adler32(0, nullptr, 0);
    for (int i = 0; i < strips.size(); ++i) {
        const Strip &strip = strips.at(i);
        if (!strip.ok)
            return false;
        adler = i == 0 ? strip.adler : adler32_combine(adler, strip.adler, strip.filteredLength);
        QByteArray data;
        if (i == 0)
            data.append(char(cmf)).append(char(flg));
        data.append(strip.deflated);
        if (i == strips.size() - 1)
            putBigEndian(&data, quint32(adler));
        if (!writeChunk(device, "IDAT", data))
            return false;
    }
    return writeChunk(device, "IEND", QByteArray());
}

} // namespace PngWriter
