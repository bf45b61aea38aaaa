#include "designer/lnrstream.h"

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QPainterPath>
#include <QTransform>

#include <cmath>
#include <cstring>

namespace {

qint32 bigEndian32(const uchar *p)
{
    return qint32((quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8)
                  | quint32(p[3]));
}

bool within(double v, double limit)
{
    return std::isfinite(v) && std::fabs(v) <= limit;
}

// Qt drops path points it deems unusable, which would split a curve from
// its control points; such a path is refused, as is one far off the page.
bool usableCoordinate(const uchar *p)
{
    quint64 bits = 0;
    for (int i = 0; i < 8; ++i)
        bits = (bits << 8) | p[i];
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return within(v, TemplateLimits::MaxSide);
}

} // namespace

namespace LnrStream {

bool usableTransform(const QTransform &t)
{
    return t.m13() == 0 && t.m23() == 0 && t.m33() == 1 && within(t.m11(), TemplateLimits::MaxScale)
        && within(t.m12(), TemplateLimits::MaxScale) && within(t.m21(), TemplateLimits::MaxScale)
        && within(t.m22(), TemplateLimits::MaxScale) && within(t.dx(), TemplateLimits::MaxSide)
        && within(t.dy(), TemplateLimits::MaxSide);
}

qint64 remaining(const QDataStream &s)
{
    const QIODevice *device = s.device();
    if (!device || device->isSequential())
        return -1;
    return qMax<qint64>(0, device->size() - device->pos());
}

bool countFits(const QDataStream &s, qint64 count, qint64 minBytes)
{
    if (count < 0)
        return false;
    const qint64 left = remaining(s);
    return left < 0 || count <= left / qMax<qint64>(1, minBytes);
}

bool nextStringFits(const QDataStream &s, int maxChars)
{
    // A string is its length in bytes, 0xffffffff for a null one, then its
    // UTF-16 code units.
    QIODevice *device = s.device();
    if (!device)
        return true;
    const QByteArray head = device->peek(4);
    if (head.size() < 4)
        return true;
    const quint32 bytes = quint32(bigEndian32(reinterpret_cast<const uchar *>(head.constData())));
    return bytes == 0xffffffffu || bytes <= 2 * quint32(maxChars);
}

bool readString(QDataStream &s, QString &out, int maxChars)
{
    if (s.status() == QDataStream::Ok && !nextStringFits(s, maxChars)) {
        out = QString(maxChars + 1, QLatin1Char(' '));
        s.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    s >> out;
    return s.status() == QDataStream::Ok;
}

bool readPath(QDataStream &s, QPainterPath &path)
{
    // An element is a qint32 type and two doubles; a non-empty path ends with
    // the qint32 start of its last subpath and the qint32 fill rule.
    constexpr qint64 ElementBytes = 20;
    path = QPainterPath();
    qint32 count = 0;
    s >> count;
    if (s.status() != QDataStream::Ok)
        return false;
    if (count == 0)
        return true;
    const qint64 bytes = qint64(count) * ElementBytes + 8;
    if (count < 0 || count > TemplateLimits::MaxPathElements || !countFits(s, bytes, 1)) {
        // An outline of too many points, like a string too long, is left
        // just past the limit, so that the reader can say why it stopped.
        if (count > TemplateLimits::MaxPathElements) {
            for (int i = 0; i <= TemplateLimits::MaxPathElements; ++i)
                path.lineTo(i % 2, 0);
        }
        s.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    QByteArray buffer;
    {
        QDataStream header(&buffer, QIODevice::WriteOnly);
        header.setVersion(StreamVersion);
        header << count;
    }
    // Read in slices so that a count on a sequential device cannot make us
    // allocate more than the data that really arrives.
    qint64 left = bytes;
    constexpr qint64 Slice = 1 << 20;
    while (left > 0) {
        const int n = int(qMin(left, Slice));
        const int at = buffer.size();
        buffer.resize(at + n);
        if (s.readRawData(buffer.data() + at, n) != n) {
            s.setStatus(QDataStream::ReadPastEnd);
            return false;
        }
        left -= n;
    }
    // Element types: 0 move, 1 line, 2 curve (then two 3, control data).
    const uchar *data = reinterpret_cast<const uchar *>(buffer.constData()) + 4;
    int pendingControl = 0;
    for (qint32 i = 0; i < count; ++i) {
        const uchar *e = data + i * ElementBytes;
        const qint32 type = bigEndian32(e);
        bool ok = type >= 0 && type <= 3 && usableCoordinate(e + 4) && usableCoordinate(e + 12);
        if (ok && i == 0)
            ok = type == 0;
        if (ok && pendingControl > 0)
            ok = type == 3;
        else if (ok && type == 3)
            ok = false;
        if (!ok) {
            s.setStatus(QDataStream::ReadCorruptData);
            return false;
        }
        if (type == 2)
            pendingControl = 2;
        else if (type == 3)
            --pendingControl;
    }
    if (pendingControl > 0) {
        s.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    const uchar *tail = data + count * ElementBytes;
    const qint32 subpathStart = bigEndian32(tail);
    const qint32 fillRule = bigEndian32(tail + 4);
    if (subpathStart < 0 || subpathStart >= count || (fillRule != 0 && fillRule != 1)) {
        s.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    QDataStream in(buffer);
    in.setVersion(StreamVersion);
    in >> path;
    return in.status() == QDataStream::Ok;
}

} // namespace LnrStream
