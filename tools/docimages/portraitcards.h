#pragma once

#include <QImage>
#include <QString>
#include <QVector>

// The celebrity portrait cards, images/doc2/000.jpg ...: the person's initials
// and birth year on a warm card, no likeness.
struct CelebrityCard
{
    int slot = -1; // 0 to 199
    QString name;
    int birthYear = 0; // 0: unknown
};

constexpr int kPortraitWidth = 120;
constexpr int kPortraitHeight = 150;

// The records of readings-database sources ("#601NN" / "#611NN" followed by
// life path, birth day, expression, name, second line and "d.m.yyyy").
// Comment and blank lines are skipped as the database tool skips them. A later
// record for a slot replaces an earlier one.
QVector<CelebrityCard> parseCelebrityCards(const QString &source);

// "Wolfgang Amadeus Mozart" -> "WAM"; lower-case particles (van, da, von) are
// skipped; more than three initials keep the first and the last.
QString initialsOf(const QString &name);
QString portraitFileName(int slot); // "007.jpg"
QImage renderPortraitCard(const CelebrityCard &card);
