#pragma once

#include "base/apppaths.h"
#include "layouts/layoutfolder.h"
#include "reportmanager/layoutdialogs.h"
#include "reportmanager/layoutmanagerdlg.h"
#include "reportmanager/wclcontainer.h"
#include "style/infodlg.h"

#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <functional>

// Answers the Report Manager's boxes and dialogs in tests, and records what
// they showed.
namespace ManagerScript {

struct Box
{
    QString title;
    QString text;
};

// Texts typed into the name boxes, one per run; Cancel ends a run without a name.
inline const QString Cancel = QStringLiteral("\x1b");
// Closes the box with its title bar button: no button runs.
inline const QString Closed = QStringLiteral("\x04");
inline QStringList names;
inline QList<Box> nameBoxes; // title and prefilled text of every run
inline QList<int> answers; // answers of the question boxes (0 = Yes); default Yes
inline QList<Box> messages;
inline QList<QUrl> openedUrls;
// Runs for every other dialog the manager opens.
inline std::function<int(QDialog *)> onDialog;

inline int execDialog(QDialog *dialog)
{
    if (auto *box = qobject_cast<CInfoDlgWin *>(dialog)) {
        auto *field = box->content->findChild<QLineEdit *>();
        nameBoxes.append({box->windowTitle(), field ? field->text() : QString()});
        const QString typed = names.isEmpty() ? Cancel : names.takeFirst();
        if (typed == Cancel) {
            box->content->OnCancel();
        } else if (typed == Closed) {
            box->close();
        } else {
            if (field)
                field->setText(typed);
            box->content->OnOk();
        }
        return 0;
    }
    return onDialog ? onDialog(dialog) : int(QDialog::Rejected);
}

inline int messageBox(CInfoDlgWin::MessageKind kind, const QString &title, const QString &text,
                      QWidget *)
{
    messages.append({title, text});
    if (kind == CInfoDlgWin::InfoMessage)
        return 0;
    return answers.isEmpty() ? 0 : answers.takeFirst();
}

inline bool openUrl(const QUrl &url)
{
    openedUrls.append(url);
    return true;
}

inline void install()
{
    LayoutDialogs::setExecHandler(execDialog);
    LayoutDialogs::setOpenUrlHandler(openUrl);
    CInfoDlgWin::setMessageBoxHandler(messageBox);
}

inline void reset()
{
    names.clear();
    nameBoxes.clear();
    answers.clear();
    messages.clear();
    openedUrls.clear();
    onDialog = nullptr;
    LayoutDialogs::setFontPicker(nullptr);
    LayoutDialogs::setColorPicker(nullptr);
    LayoutDialogs::setOpenFileHandler(nullptr);
}

inline QString layoutsFolder()
{
    return getUserFolder() + QLatin1Char('/');
}

// Replaces the layout files of the user folder by these settings.
inline void writeLayouts(const QList<reportSetting> &settings)
{
    QDir folder(layoutsFolder());
    if (folder.exists())
        folder.removeRecursively();
    QStringList loaded;
    saveReportSettings(&settings, layoutsFolder(), &loaded);
}

inline QList<reportSetting> readLayouts()
{
    QList<reportSetting> settings;
    loadReportSettings(&settings, layoutsFolder());
    return settings;
}

inline QStringList layoutFiles()
{
    return QDir(layoutsFolder()).entryList({QStringLiteral("*.zqnr")}, QDir::Files, QDir::Name);
}

// Plays a whole drag of tile from one list surface onto another at pos, as
// the platform's drag loop would; false when the drop was refused.
inline bool dragTile(CWCLContainerWidget *from, CWCLItem *tile, CWCLContainerWidget *to,
                     const QPoint &pos)
{
    QMimeData mime;
    mime.setData(QString::fromLatin1(SectionMimeType), sectionPayload(tile->section()));
    const int index = from->takeForDrag(tile);
    const bool moved = to && to->acceptDrop(&mime, from, pos);
    from->finishDrag(tile, index, moved);
    return moved;
}

} // namespace ManagerScript
