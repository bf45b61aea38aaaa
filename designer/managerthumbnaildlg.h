#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class CAppStyle;
class CREPage;
class CReportCreatorWin;
class CReportDocument;
struct calcNumContainer;

// Draws a chart template off screen with real data, for the Graphic Chart
// page and the chart section of an exported report. Stateless: every call
// works only on the document it is given.
class CManagerThumbnailDlg
{
public:
    // Renders the pages of doc (normally the designer's editor view) in
    // output mode and returns the picture of the last page drawn. size bounds
    // the result keeping the page's aspect; 0 x 0 gives four times the canvas.
    // Without a current page the result is a 10 x 10 white image.
    static QImage slotPrintReport(int record, CReportDocument *doc, QSize size);
    // The page of doc that slotPrintReport draws for record, with its
    // record and page number set as for that drawing; null without a
    // current page or a page to draw.
    static CREPage *chartPage(int record, CReportDocument *doc);

    // The same for the template held by a (hidden) designer window.
    static QImage slotPrintReport(int record, CReportCreatorWin *window, QSize size);

    // Whole road of the main window: loads the template at path into a
    // document of its own bound to container and renders it as above. A file
    // that cannot be read or is damaged gives a null image and says why in
    // errorString.
    static QImage slotPrintReport(int record, const QString &templatePath,
                                  calcNumContainer *container, QSize size,
                                  CAppStyle *appStyle = nullptr, QString *errorString = nullptr);

    // True when the page holds a data field, picture slot or symbol: such a
    // page consumes one record each time it is drawn.
    static bool preparePrintReportBlock(CREPage *page);

    // The off-screen canvas of a page of w x h page units, in pixels.
    static QSize canvasSize(double w, double h);
    // The size the canvas is drawn at for the caller's wish.
    static QSize outputSize(const QSize &canvas, const QSize &wish);
};
