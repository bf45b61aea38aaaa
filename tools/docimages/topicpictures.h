#pragma once

#include <QImage>
#include <QString>
#include <QVector>

// The illustrations of the readings, one per topic: res01.jpg to res39.jpg.
struct TopicPicture
{
    QString fileName; // "res01.jpg" ...
    QString topic; // what it stands for, for humans
};

// The square size at which the readings show them.
constexpr int kTopicPictureSize = 160;

QVector<TopicPicture> topicPictures();
QImage renderTopicPicture(int number); // 1 to 39
