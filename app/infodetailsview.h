#pragma once

#include <QDialog>

class CAppStyle;
class MyQWebEngineView;
class QTemporaryFile;

// The help pop-up of a result panel's row: one self-contained page (every
// picture inline) filling the whole dialog.
class CInfoDetailsView : public QDialog
{
    Q_OBJECT

public:
    CInfoDetailsView(CAppStyle *style, const QString &html, QWidget *parent = nullptr);
    ~CInfoDetailsView() override;

    // The web engine cannot take a document of this many UTF-8 bytes or
    // more through setHtml (its data URL is limited to 2 MB after base64);
    // such a page travels through a temporary file instead.
    static constexpr int InlineLimit = 1500 * 1024;

    MyQWebEngineView *m_View = nullptr;
    QString m_Html;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QTemporaryFile *m_PageFile = nullptr;
};
