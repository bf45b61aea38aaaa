#pragma once

#include <QString>

// Names reach the engines as plain ASCII words: accents are taken off the
// letters, apostrophes vanish and everything else that is neither an ASCII
// letter nor a digit separates words.
QString unaccent(const QString &text);

// Longer input is cut before it is normalised.
constexpr int NameLengthLimit = 300;

// A person's full or short name as the calculation and the preview use it:
// cut, unaccented, commas removed, words joined by single spaces.
QString preparePersonName(const QString &text);
// A pet's name: cut, unaccented, commas removed; spaces stay as they are.
QString preparePetName(const QString &text);
// A name or title for the express chart: commas go before unaccent, so that
// "Anne,Marie" reads as one word.
QString prepareTitleName(const QString &text);
// The short name used when none was typed: the full name itself when it has
// fewer than three words, else its first and last word.
QString defaultShortName(const QString &preparedFullName);
