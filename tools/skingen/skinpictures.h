#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>

#include <functional>

// One picture of the skin: its file name in the images folder, its size and how
// it is painted onto a transparent canvas of that size.
struct SkinPicture
{
    QString fileName;
    QSize size;
    std::function<void(QPainter &, const QSize &)> paint;
};

// Every picture the interface loads from its images folder.
QVector<SkinPicture> skinPictures();

QImage renderSkinPicture(const SkinPicture &picture);
