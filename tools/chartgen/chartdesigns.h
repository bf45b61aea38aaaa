#pragma once

#include <QString>
#include <QVector>

// The chart templates shipped with the program: our own designs, written
// through the designer's document model.
struct ChartDesign
{
    QString fileName; // without folder
    bool (*write)(const QString &path, QString *error);
};

QVector<ChartDesign> chartDesigns();
