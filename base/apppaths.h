#pragma once

#include <QString>

class QUrl;

// Where the program keeps and finds its files. Each call computes its result
// afresh, so a changed environment (HOME, USER, XDG_*) takes effect at once.

// The login name from USER, or USERNAME when USER is empty.
QString getUserName();

// The per-user data folder, always ending in "/"; not created here.
QString getDataLocation();

// The user's own folder for report layouts and chart templates:
// Documents + "/Lumaro Numerology" (not created here).
QString getUserFolder();

// The parent of the executable's folder + "/Resources/".
QString getResourcesPath();

// getResourcesPath() + "images/".
QString getImagesPath();

// Whether path lies inside folder as the file system resolves both, so that
// neither ".." steps nor links lead out; a path that does not exist only loses
// its ".." steps. A relative path counts from the working folder.
bool isInsideFolder(const QString &path, const QString &folder);

// The local path of a file: URL on this machine; empty for any other URL,
// a file: URL naming another host included.
QString localFilePath(const QUrl &url);

// Whether a local picture may be shown or inlined into an export: it lies in
// the resources folder or the user's folder. Texts from shared layouts name
// pictures, so no other local file is ever shown.
bool isPicturePlace(const QString &path);

// Whether the picture at url may be loaded: a data: URI, or a file on this
// machine named by an absolute path at a picture place; never another
// scheme, never the network.
bool isPictureUrl(const QUrl &url);

// Whether url holds a character that a browser drops from a URL or reads
// otherwise than as written: controls, backslashes, format characters and
// line or paragraph separators.
bool hasHiddenUrlCharacters(const QString &url);

// The URL a picture reference of a report names, read as the report page
// reads it: a reference with a scheme is that URL, a bare absolute path a
// local file (escapes decoded, ".." steps resolved by isPictureUrl). Any other
// name ("x.png", "//host/x.png") and one with characters a browser drops or
// reads otherwise (controls, backslashes) names nothing: an empty URL.
QUrl pictureReferenceUrl(const QString &reference);
