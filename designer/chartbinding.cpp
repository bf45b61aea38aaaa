#include "designer/chartbinding.h"

#include "designer/calcnumcontainer.h"
#include "designer/repage.h"
#include "designer/repageitem.h"
#include "designer/reportdocument.h"
#include "engine/numerology.h"

QString ChartBinding::personValue(const CNumerology *person, const QString &key)
{
    if (!person)
        return QString();
    if (key == QLatin1String("#full_name"))
        return person->m_fullName;
    if (key == QLatin1String("#short_name"))
        return person->m_shortName;
    if (key == QLatin1String("#birthdate"))
        return CREPageItem::dateText(person->m_birthDate);
    return QString();
}

QString ChartBinding::symbolText(const CNumerology *person, const QString &key, const QString &text)
{
    const QString value = personValue(person, key);
    return value.isEmpty() ? text : value;
}

calcNumContainer ChartBinding::partnerView(const calcNumContainer &container)
{
    calcNumContainer view;
    view.person = container.partner;
    view.partner = container.person;
    view.personMatrix = container.partnerMatrix;
    view.partnerMatrix = container.personMatrix;
    return view;
}

void ChartBinding::bind(CReportDocument *doc, calcNumContainer *partnerView)
{
    if (!doc)
        return;
    QList<CREPage *> pages = doc->blocks;
    for (const QList<CREPage *> *list : qAsConst(doc->pageLists)) {
        if (list)
            pages += *list;
    }
    for (CREPage *page : qAsConst(pages)) {
        if (!page)
            continue;
        for (CREPageItem *frame : qAsConst(page->items)) {
            CREPageItem *content = frame ? frame->inner : nullptr;
            if (content && content->auxText == partnerMark())
                content->container = partnerView;
        }
    }
}
