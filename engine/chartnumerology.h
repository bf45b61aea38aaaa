#pragma once

#include "engine/numberrules.h"

#include <QImage>
#include <QObject>

// Holds the rendered graphic chart of the current person: the export reads
// the canvas, which is the last rendered chart composed over white.
class CChartNumerology : public QObject, public CNumberRules
{
    Q_OBJECT

public:
    explicit CChartNumerology(QObject *parent = nullptr);
    ~CChartNumerology() override;

    // Keeps the image and lays it over a fresh white canvas of its size.
    void preloadRes(const QImage &image);
    // Both zero the counters and paint the background over the canvas again.
    void resetData();
    void clear();

    const QImage &canvas() const { return m_canvas; }
    const QImage &background() const { return m_background; }

private:
    void paintBackground();

    QImage m_canvas;
    QImage m_background;
};
