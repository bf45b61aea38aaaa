#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// The readings database eng.dat: one enciphered line per text line, each byte
// written as two letters ("a" + low nibble, "A" + high nibble), every line
// enciphered on its own with RC4 under the database key.

// The database key (26 printable characters, no terminating zero counted).
constexpr unsigned kDatabaseKeyLength = 26;
extern const char randstart[kDatabaseKeyLength + 1];

// RC4 in place over len bytes of buf; the same call enciphers and deciphers.
// A keyLen of 0 selects the built-in 16-character default key.
void Crypt(char *buf, unsigned len, const char *key, unsigned keyLen);

// Deciphers one database line in place. A string of fewer than two
// characters is left alone and gives false.
bool getpString(QString &s);

// The inverse of getpString: the letter form of the enciphered bytes.
QString putpString(const QByteArray &latin1Line);

// Reads the database at filePath into the text tables (texttables.h).
// Returns false when the file cannot be opened; the tables then keep their
// content apart from the reset celebrity records and the custom-text default.
bool loadReadingsDatabase(const QString &filePath);
// The same from a device, opened here for reading when it is not open yet.
bool loadReadingsDatabase(QIODevice *device);

// Where the program finds its database: getResourcesPath() + "eng.dat".
QString readingsDatabasePath();

// Turns one plain-text database source (UTF-8, see tools/dbcrypt) into
// enciphered database lines, each ended by "\n", appended to *out. On a
// malformed line returns false, leaves *out as it was and describes the line
// in *error as "<line number>: <reason>".
bool encipherReadingsSource(const QString &source, QByteArray *out, QString *error);

// Text as database bytes: Latin-1, every other character as "&#N;".
QByteArray toDatabaseBytes(const QString &text);
