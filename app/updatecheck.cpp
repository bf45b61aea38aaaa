#include "updatecheck.h"

#include "style/makerinfo.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringList>

namespace {

// The answer is a short line of text; a body beyond this is not an answer,
// and the download is dropped instead of being held in memory.
constexpr qint64 MaxBodySize = 64 * 1024;

// Marks the replies of a check, so that other replies of a shared manager
// are left alone.
const char CheckProperty[] = "lumaroUpdateCheck";

bool askWithBox(const QString &title, const QString &text)
{
    return QMessageBox::question(nullptr, title, text, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

bool openWithSystem(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

CUpdateCheck::AskFunction askFunction = askWithBox;
CUpdateCheck::OpenUrlFunction openUrlFunction = openWithSystem;

} // namespace

void CUpdateCheck::setAskFunction(AskFunction ask)
{
    askFunction = ask ? ask : askWithBox;
}

void CUpdateCheck::setOpenUrlFunction(OpenUrlFunction open)
{
    openUrlFunction = open ? open : openWithSystem;
}

CUpdateCheck::CUpdateCheck(QNetworkAccessManager *manager, QObject *parent)
    : QObject(parent)
    , m_manager(manager)
    , m_baseUrl(QString::fromLatin1(MakerInfo::updateHost))
{
    connect(m_manager, &QNetworkAccessManager::finished, this, &CUpdateCheck::replyFinished);
}

void CUpdateCheck::setBaseUrl(const QString &baseUrl)
{
    m_baseUrl = baseUrl;
}

QUrl CUpdateCheck::endpointUrl() const
{
    QString base = m_baseUrl;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return QUrl(base + QStringLiteral("/zqnumeupd.php"), QUrl::TolerantMode);
}

QDateTime CUpdateCheck::checkForUpdates()
{
    QNetworkRequest request(endpointUrl());
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setRawHeader("User-Agent", "Check for updates");
    QNetworkReply *reply = m_manager->get(request);
    reply->setProperty(CheckProperty, QVariant::fromValue<QObject *>(this));
    connect(reply, &QNetworkReply::readyRead, this, [reply]() {
        if (reply->bytesAvailable() > MaxBodySize)
            reply->abort();
    });
    return QDateTime::currentDateTime();
}

bool CUpdateCheck::isDue(const QDateTime &lastCheck, const QDateTime &now)
{
    return !lastCheck.isValid() || lastCheck.addDays(7) < now;
}

int CUpdateCheck::versionFromBody(const QByteArray &body)
{
    const int zero = body.indexOf('\0');
    const QString text = QString::fromUtf8(zero < 0 ? body : body.left(zero));
    const QString first
        = text.split(QLatin1Char(','), Qt::KeepEmptyParts, Qt::CaseSensitive).first();
    bool ok = false;
    const int version = first.toInt(&ok, 16);
    return ok && version >= 0 ? version : -1;
}

void CUpdateCheck::replyFinished(QNetworkReply *reply)
{
    // The manager may carry other requests; only this check's replies count.
    if (!reply || reply->property(CheckProperty).value<QObject *>() != this)
        return;
    reply->deleteLater();

    bool newer = false;
    if (reply->error() == QNetworkReply::NoError) {
        const int version = versionFromBody(reply->read(MaxBodySize));
        newer = version > MakerInfo::versionNumber;
    }
    if (newer) {
        const QString title = QStringLiteral("Lumaro Numerology Update");
        const QString text = QStringLiteral("New version of Lumaro Numerology available for "
                                            "download\r\nWould you like to update?");
        if (askFunction(title, text))
            openUrlFunction(QUrl(QString::fromLatin1(MakerInfo::downloadPage)));
    }
    emit checked(newer);
}
