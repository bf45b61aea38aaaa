#include "app/chartrender.h"

#include "designer/calcnumcontainer.h"
#include "designer/chartbinding.h"
#include "designer/managerthumbnaildlg.h"
#include "designer/reportdocument.h"

#include <QCoreApplication>
#include <QFileInfo>

QImage renderChartTemplate(const QString &path, const calcNumContainer &people, const QSize &size,
                           CAppStyle *style, QString *error)
{
    // The items keep pointers to both containers until the document is gone.
    calcNumContainer person = people;
    calcNumContainer partner = ChartBinding::partnerView(people);
    CReportDocument doc(&person, style);
    QString reason;
    if (!doc.loadFromFile(path, &reason)) {
        if (error)
            *error = QCoreApplication::translate("CZQNum",
                                                 "The chart layout \"%1\" cannot be shown:\n%2")
                         .arg(QFileInfo(path).completeBaseName(), reason);
        return QImage();
    }
    ChartBinding::bind(&doc, &partner);
    return CManagerThumbnailDlg::slotPrintReport(0, &doc, size);
}
