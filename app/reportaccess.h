#pragma once

#include "base/apppaths.h"

#include <QString>
#include <QWebEngineUrlRequestInfo>

class QUrl;
class QWebEngineProfile;

// What a page showing report documents may load. Readings carry texts from
// layouts and templates that anyone may share, so a page (a report view, the
// guide, a help pop-up, the page that prints the PDF) gets only itself, the
// program's own files and pictures: never another local file, never the
// network.
namespace ReportAccess {

// The rule for one request: a page from a data: URL, the program's resources
// folder or a registered page file; pictures as data: URIs or from the
// resources folder or the user's folder; the guide's style sheet from the
// resources folder. Anything else is refused.
bool isAllowed(const QUrl &url, QWebEngineUrlRequestInfo::ResourceType type);

// Whether a local picture may be shown or inlined into an export: the rule
// of the program's paths, which the section text editor shares.
using ::isPicturePlace;

// A page the program writes outside its folders (the report the PDF job
// prints, a long help page) may be loaded as a page while it is registered.
void allowPageFile(const QString &path);
void forgetPageFile(const QString &path);

// Makes the profile ask isAllowed() for every request of its pages.
void install(QWebEngineProfile *profile);

} // namespace ReportAccess
