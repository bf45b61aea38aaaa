#pragma once

#include <QString>

// The short illustrated help pages behind the numbers of the result panels:
// which help topic and picture each panel row or psycho-matrix square opens,
// and the page built from the readings database's help texts.
namespace HelpPage {

// A topic of the help table and the picture file shown with it; topic -1
// means the row opens nothing.
struct Entry
{
    int topic = -1;
    QString picture;

    bool isValid() const { return topic >= 0; }
};

// By the row that the "Main Features", "Additional Features" and "Life
// Cycles" panels emit.
Entry mainFeatures(int row);
Entry additionalFeatures(int row);
Entry lifeCycles(int row);
// By the grid index that the psycho-matrix panel emits (1-4, 6-9, 11-19).
Entry psychoMatrix(int gridIndex);

// Index into the help table of a topic's first, second and third part.
// Topics 19 to 34 share the second part of topic 18.
int partIndex(int topic, int part);

// The page of a topic, with the picture file floating at the right of the
// first paragraph (no picture when picturePath is empty). Picture
// references are still file references.
QString build(int topic, const QString &picturePath);

} // namespace HelpPage
