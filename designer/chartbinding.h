#pragma once

#include <QString>

class CNumerology;
class CReportDocument;
struct calcNumContainer;

// Templates that show two people or encode a person's value as a symbol.
// A content item whose auxText is PartnerMark reads the partner instead of
// the person; a symbol item whose key names a person's value ("#full_name",
// "#short_name", "#birthdate") encodes that value instead of its own text.
namespace ChartBinding {

inline QString partnerMark()
{
    return QStringLiteral("partner");
}

// The value a placeholder key stands for, empty for other keys or without
// a person.
QString personValue(const CNumerology *person, const QString &key);

// Binds every page and block of doc for one rendering. partnerView must be
// the container with the partner in the person's place and outlive the
// rendering.
void bind(CReportDocument *doc, calcNumContainer *partnerView);

// The container with the partner in the person's place.
calcNumContainer partnerView(const calcNumContainer &container);

} // namespace ChartBinding
