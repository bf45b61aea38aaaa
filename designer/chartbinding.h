#pragma once

#include <QString>

class CNumerology;
class CReportDocument;
struct calcNumContainer;

// Templates that show two people or encode a person's value as a symbol.
// A content item whose auxText is PartnerMark reads the partner instead of
// the person; a symbol item whose key names a person's value ("#full_name",
// "#short_name", "#birthdate") encodes that value when it is drawn for a
// person, and its own text, the sample, otherwise. Binding never changes what
// a template keeps, so a template opened in the designer saves as it was.
namespace ChartBinding {

inline QString partnerMark()
{
    return QStringLiteral("partner");
}

// The value a placeholder key stands for, empty for other keys or without
// a person.
QString personValue(const CNumerology *person, const QString &key);

// What a symbol item encodes: the person's value its key names, else its
// own text.
QString symbolText(const CNumerology *person, const QString &key, const QString &text);

// Points the partner's items of every page and block of doc at partnerView,
// the container with the partner in the person's place; it must outlive the
// document's drawing. Without a partner (a null person in partnerView) those
// items draw as they do without data.
void bind(CReportDocument *doc, calcNumContainer *partnerView);

// The container with the partner in the person's place.
calcNumContainer partnerView(const calcNumContainer &container);

} // namespace ChartBinding
