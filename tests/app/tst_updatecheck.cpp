#include "app/updatecheck.h"
#include "style/makerinfo.h"
#include "testenvironment.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

// Every request goes to a server on 127.0.0.1 started by the test; the
// maker's host is never contacted.

namespace {

// Answers every request with one canned HTTP response and keeps the request
// heads it received.
class LocalHttpServer : public QTcpServer
{
public:
    LocalHttpServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this]() {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket]() {
                    m_buffers[socket] += socket->readAll();
                    if (!m_buffers[socket].contains("\r\n\r\n"))
                        return;
                    requests.append(m_buffers.take(socket));
                    socket->write(response);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    void answer(int status, const QByteArray &body)
    {
        response = "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: text/plain\r\n"
            + "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n"
            + body;
    }

    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()); }

    QByteArray response;
    QList<QByteArray> requests;

private:
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

QStringList askedTexts;
bool answerYes = false;
QList<QUrl> openedUrls;

bool fakeAsk(const QString &title, const QString &text)
{
    askedTexts << title << text;
    return answerYes;
}

bool fakeOpen(const QUrl &url)
{
    openedUrls << url;
    return true;
}

QByteArray headerValue(const QByteArray &request, const QByteArray &name)
{
    for (const QByteArray &line : request.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower())
            return line.mid(colon + 1).trimmed();
    }
    return QByteArray();
}

} // namespace

class TestUpdateCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void endpoint();
    void due_data();
    void due();
    void versionFromBody_data();
    void versionFromBody();
    void reply_data();
    void reply();
    void requestAndDownloadPage();
    void noServer();
    void oversizedBody();
    void otherRepliesIgnored();
    void repliesReleased();

private:
    bool runCheck(CUpdateCheck *check, bool *newer);

    QNetworkAccessManager *m_manager = nullptr;
};

void TestUpdateCheck::init()
{
    askedTexts.clear();
    openedUrls.clear();
    answerYes = false;
    CUpdateCheck::setAskFunction(fakeAsk);
    CUpdateCheck::setOpenUrlFunction(fakeOpen);
    delete m_manager;
    m_manager = new QNetworkAccessManager(this);
    m_manager->setProxy(QNetworkProxy::NoProxy);
}

void TestUpdateCheck::cleanupTestCase()
{
    CUpdateCheck::setAskFunction(nullptr);
    CUpdateCheck::setOpenUrlFunction(nullptr);
}

// Runs one check against the current base URL and waits for its reply.
bool TestUpdateCheck::runCheck(CUpdateCheck *check, bool *newer)
{
    QSignalSpy spy(check, &CUpdateCheck::checked);
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime when = check->checkForUpdates();
    if (when < before || when > QDateTime::currentDateTime())
        return false;
    if (!spy.wait(10000))
        return false;
    *newer = spy.first().first().toBool();
    return true;
}

void TestUpdateCheck::endpoint()
{
    CUpdateCheck check(m_manager);
    QCOMPARE(check.endpointUrl(),
             QUrl(QString::fromLatin1(MakerInfo::updateHost) + QStringLiteral("/zqnumeupd.php")));
    QCOMPARE(check.endpointUrl().scheme(), QStringLiteral("http"));
    check.setBaseUrl(QStringLiteral("http://127.0.0.1:8080/"));
    QCOMPARE(check.endpointUrl().toString(), QStringLiteral("http://127.0.0.1:8080/zqnumeupd.php"));
}

void TestUpdateCheck::due_data()
{
    QTest::addColumn<QDateTime>("lastCheck");
    QTest::addColumn<bool>("due");
    const QDateTime now = QDateTime::currentDateTime();
    QTest::newRow("never checked") << QDateTime() << true;
    QTest::newRow("3 days ago") << now.addDays(-3) << false;
    QTest::newRow("just under 7 days") << now.addDays(-7).addSecs(60) << false;
    QTest::newRow("8 days ago") << now.addDays(-8) << true;
    QTest::newRow("unreadable file's 2000-01-01")
        << QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::LocalTime) << true;
    QTest::newRow("in the future") << now.addDays(30) << false;
}

void TestUpdateCheck::due()
{
    QFETCH(QDateTime, lastCheck);
    QFETCH(bool, due);
    QCOMPARE(CUpdateCheck::isDue(lastCheck, QDateTime::currentDateTime()), due);
}

void TestUpdateCheck::versionFromBody_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("version");
    QTest::newRow("70801") << QByteArray("70801") << 0x70801;
    QTest::newRow("070800") << QByteArray("070800") << 0x70800;
    QTest::newRow("0x70800") << QByteArray("0x70800") << 0x70800;
    QTest::newRow("more fields") << QByteArray("80000,7.9.0,notes") << 0x80000;
    QTest::newRow("blanks") << QByteArray(" 70900 \r\n") << 0x70900;
    QTest::newRow("zero byte ends the text") << QByteArray("70A00\0,zz", 9) << 0x70A00;
    QTest::newRow("not hex first") << QByteArray("zz,70900") << -1;
    QTest::newRow("empty first field") << QByteArray(",70900") << -1;
    QTest::newRow("empty") << QByteArray() << -1;
    QTest::newRow("too large") << QByteArray("123456789ab") << -1;
    QTest::newRow("negative") << QByteArray("-70900") << -1;
    QTest::newRow("html error page") << QByteArray("<html>70900</html>") << -1;
}

void TestUpdateCheck::versionFromBody()
{
    QFETCH(QByteArray, body);
    QFETCH(int, version);
    QCOMPARE(CUpdateCheck::versionFromBody(body), version);
}

void TestUpdateCheck::reply_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("asked");
    QTest::newRow("70801") << 200 << QByteArray("70801") << true;
    QTest::newRow("70800") << 200 << QByteArray("70800") << false;
    QTest::newRow("070800") << 200 << QByteArray("070800") << false;
    QTest::newRow("0x70800") << 200 << QByteArray("0x70800") << false;
    QTest::newRow("80000 and more") << 200 << QByteArray("80000,1,2,3") << true;
    QTest::newRow("zz then 70900") << 200 << QByteArray("zz,70900") << false;
    QTest::newRow("empty body") << 200 << QByteArray() << false;
    QTest::newRow("older") << 200 << QByteArray("60000") << false;
    QTest::newRow("not found") << 404 << QByteArray("90000") << false;
    QTest::newRow("server error") << 500 << QByteArray("90000") << false;
}

void TestUpdateCheck::reply()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, asked);

    LocalHttpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    server.answer(status, body);
    CUpdateCheck check(m_manager);
    check.setBaseUrl(server.baseUrl());

    bool newer = false;
    QVERIFY(runCheck(&check, &newer));
    QCOMPARE(newer, asked);
    QCOMPARE(askedTexts.isEmpty(), !asked);
    QVERIFY(openedUrls.isEmpty()); // "No"
    QCOMPARE(server.requests.size(), 1);
}

void TestUpdateCheck::requestAndDownloadPage()
{
    LocalHttpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    server.answer(200, "70900,ignored");
    CUpdateCheck check(m_manager);
    check.setBaseUrl(server.baseUrl());
    answerYes = true;

    bool newer = false;
    QVERIFY(runCheck(&check, &newer));
    QVERIFY(newer);
    QCOMPARE(askedTexts,
             QStringList({QStringLiteral("Lumaro Numerology Update"),
                          QStringLiteral("New version of Lumaro Numerology available for "
                                         "download\r\nWould you like to update?")}));
    QCOMPARE(openedUrls, QList<QUrl> {QUrl(QString::fromLatin1(MakerInfo::downloadPage))});

    QCOMPARE(server.requests.size(), 1);
    const QByteArray request = server.requests.first();
    QVERIFY2(request.startsWith("GET /zqnumeupd.php HTTP/1.1\r\n"), request.constData());
    QCOMPARE(headerValue(request, "User-Agent"), QByteArray("Check for updates"));
    QCOMPARE(headerValue(request, "Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(headerValue(request, "Host"),
             QByteArray("127.0.0.1:") + QByteArray::number(server.serverPort()));
}

// A refused connection is silent; the check still reports its time.
void TestUpdateCheck::noServer()
{
    quint16 port = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    CUpdateCheck check(m_manager);
    check.setBaseUrl(QStringLiteral("http://127.0.0.1:%1").arg(port));
    bool newer = true;
    QVERIFY(runCheck(&check, &newer));
    QVERIFY(!newer);
    QVERIFY(askedTexts.isEmpty());
}

// A body far beyond a version line is dropped unread, silently.
void TestUpdateCheck::oversizedBody()
{
    LocalHttpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    server.answer(200, "90000," + QByteArray(512 * 1024, 'x'));
    CUpdateCheck check(m_manager);
    check.setBaseUrl(server.baseUrl());
    bool newer = true;
    QVERIFY(runCheck(&check, &newer));
    QVERIFY(!newer);
    QVERIFY(askedTexts.isEmpty());
}

// The main window's network manager may carry other requests.
void TestUpdateCheck::otherRepliesIgnored()
{
    LocalHttpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    server.answer(200, "90000");
    CUpdateCheck check(m_manager);
    check.setBaseUrl(server.baseUrl());
    QSignalSpy checked(&check, &CUpdateCheck::checked);

    QNetworkReply *other = m_manager->get(QNetworkRequest(QUrl(server.baseUrl() + "/other")));
    QSignalSpy otherDone(other, &QNetworkReply::finished);
    QVERIFY(otherDone.wait(10000));
    QCOMPARE(checked.count(), 0);
    QVERIFY(askedTexts.isEmpty());
    other->deleteLater();
}

// Each check's reply is released once handled, a second check included.
void TestUpdateCheck::repliesReleased()
{
    LocalHttpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    server.answer(200, "70800");
    CUpdateCheck check(m_manager);
    check.setBaseUrl(server.baseUrl());
    QList<QPointer<QNetworkReply>> replies;
    connect(m_manager, &QNetworkAccessManager::finished, this,
            [&replies](QNetworkReply *reply) { replies << reply; });
    QSignalSpy checked(&check, &CUpdateCheck::checked);
    check.checkForUpdates();
    check.checkForUpdates();
    QTRY_COMPARE_WITH_TIMEOUT(checked.count(), 2, 10000);
    QCOMPARE(replies.size(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(replies.at(0).isNull() && replies.at(1).isNull(),
                             TestEnvironment::WaitMs);
}

QTEST_GUILESS_MAIN(TestUpdateCheck)

#include "tst_updatecheck.moc"
