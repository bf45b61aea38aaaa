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
            if (!content)
                continue;
            if (content->auxText == partnerMark())
                content->container = partnerView;
            if (content->type != CREPageItem::Symbol)
                continue;
            const QString value = personValue(
                content->container ? content->container->person : nullptr, content->key);
            // Without a calculated person the symbol keeps its sample text.
            if (!value.isEmpty())
                content->text = value;
        }
    }
}
