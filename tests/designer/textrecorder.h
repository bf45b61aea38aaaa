#pragma once

#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <QTextItem>
#include <QTransform>

// Text runs drawn by a painter: the text, its baseline start in device
// coordinates and the pen colour.
struct TextRuns
{
    struct Run
    {
        QString text;
        QPointF position;
        QColor color;
    };

    QList<Run> runs;

    QStringList texts() const
    {
        QStringList out;
        for (const Run &r : runs)
            out << r.text;
        return out;
    }
    // The first run whose text is exactly t, or a run with empty text.
    Run find(const QString &t) const
    {
        for (const Run &r : runs) {
            if (r.text == t)
                return r;
        }
        return Run();
    }
};

// A paint device that keeps every text run drawn on it, so that tests can
// read what a painter wrote and where.
class TextRecorder : public QPaintDevice
{
public:
    using Run = TextRuns::Run;

    TextRecorder(int w = 2000, int h = 2000)
        : m_engine(this)
        , m_w(w)
        , m_h(h)
    {
    }
    ~TextRecorder() override = default;

    QPaintEngine *paintEngine() const override { return &m_engine; }

    TextRuns recorded;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return m_w;
        case PdmHeight:
            return m_h;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    class Engine : public QPaintEngine
    {
    public:
        explicit Engine(TextRecorder *owner)
            : QPaintEngine(QPaintEngine::AllFeatures)
            , m_owner(owner)
        {
        }
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &state) override
        {
            if (state.state() & DirtyTransform)
                m_transform = state.transform();
            if (state.state() & DirtyPen)
                m_color = state.pen().color();
        }
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { }
        void drawPath(const QPainterPath &) override { }
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override { }
        void drawImage(const QRectF &, const QImage &, const QRectF &,
                       Qt::ImageConversionFlags) override
        {
        }
        void drawTextItem(const QPointF &p, const QTextItem &item) override
        {
            m_owner->recorded.runs.append({item.text(), m_transform.map(p), m_color});
        }
        Type type() const override { return QPaintEngine::User; }

    private:
        TextRecorder *m_owner;
        QTransform m_transform;
        QColor m_color;
    };

    mutable Engine m_engine;
    int m_w;
    int m_h;
};
