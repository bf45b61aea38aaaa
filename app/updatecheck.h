#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// Asks the maker's update endpoint for the newest version and, when it is
// newer than the running one, offers the download page. Every failure is
// silent: no network, an HTTP error, a body that does not start with a
// hexadecimal version.
class CUpdateCheck : public QObject
{
    Q_OBJECT

public:
    // The question box ("Yes" gives true) and the URL handler, replaceable so
    // that tests neither block on a box nor start a browser.
    using AskFunction = bool (*)(const QString &title, const QString &text);
    using OpenUrlFunction = bool (*)(const QUrl &url);
    static void setAskFunction(AskFunction ask); // nullptr restores the box
    static void setOpenUrlFunction(OpenUrlFunction open); // nullptr restores the handler

    // Listens to the manager's finished signal and takes only its own replies.
    explicit CUpdateCheck(QNetworkAccessManager *manager, QObject *parent = nullptr);

    // The host (scheme, host and port) in front of the endpoint's path;
    // the maker's update host unless replaced.
    void setBaseUrl(const QString &baseUrl);
    QString baseUrl() const { return m_baseUrl; }
    QUrl endpointUrl() const;

    // Sends the request and returns the moment of the check, which the caller
    // keeps as the last-check time whatever the outcome.
    QDateTime checkForUpdates();

    // The check runs when the last one is more than seven days old; a null or
    // invalid last-check time always lets it run.
    static bool isDue(const QDateTime &lastCheck, const QDateTime &now);

    // The first comma-separated field of the body (up to its first zero
    // byte, as UTF-8) read as a hexadecimal number; -1 when it is not one.
    static int versionFromBody(const QByteArray &body);

public slots:
    void replyFinished(QNetworkReply *reply);

signals:
    // After a reply of this check was handled; newer tells whether the
    // question was asked.
    void checked(bool newer);

private:
    QNetworkAccessManager *m_manager;
    QString m_baseUrl;
};
