// Encoding speed next to the distribution's libqrencode, measured in the same
// run on the same machine. Prints figures only; nothing here depends on timing.

#include "symbols/qrencode.h"

#include <QtTest>

#include <qrencode.h>

#include <limits>
#include <memory>

namespace {

// A typical chart caption: 52 characters of mixed text.
const char sampleText[] = "Lumaro Numerology: Life Path 7, Destiny 11, Soul 22.";

} // namespace

class TestQrBench : public QObject
{
    Q_OBJECT

private slots:
    void sameSymbolSize();
    void encode();
};

void TestQrBench::sameSymbolSize()
{
    QCOMPARE(int(sizeof(sampleText)) - 1, 52);
    std::unique_ptr<CQR_Encode> ours(new CQR_Encode);
    QVERIFY(ours->EncodeData(CQR_Encode::LevelM, 0, true, -1, sampleText));
    QRcode *theirs = QRcode_encodeString(sampleText, 0, QR_ECLEVEL_M, QR_MODE_8, 1);
    QVERIFY(theirs);
    const int theirWidth = theirs->width;
    QRcode_free(theirs);
    // Both pick the smallest version, so both do the same amount of work.
    QCOMPARE(ours->m_symbolSize, theirWidth);
}

void TestQrBench::encode()
{
    // Rounds of each encoder take turns, and each keeps its fastest round:
    // other work on the machine then slows both alike instead of whichever
    // happens to run at a busy moment.
    constexpr int rounds = 40;
    constexpr int perRound = 200;
    qint64 best[2] = {std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()};
    bool ok = true;
    QElapsedTimer timer;
    for (int round = 0; round < rounds; ++round) {
        timer.start();
        for (int i = 0; i < perRound; ++i) {
            // One object per symbol, on the heap, as the page designer does it.
            std::unique_ptr<CQR_Encode> qr(new CQR_Encode);
            ok &= qr->EncodeData(CQR_Encode::LevelM, 0, true, -1, sampleText);
        }
        best[0] = qMin(best[0], timer.nsecsElapsed());

        timer.start();
        for (int i = 0; i < perRound; ++i) {
            QRcode *code = QRcode_encodeString(sampleText, 0, QR_ECLEVEL_M, QR_MODE_8, 1);
            ok &= code != nullptr;
            QRcode_free(code);
        }
        best[1] = qMin(best[1], timer.nsecsElapsed());
    }
    QVERIFY(ok);
    const double ours = best[0] / 1000.0 / perRound;
    const double theirs = best[1] / 1000.0 / perRound;
    qInfo("52 characters at level M, fastest of %d rounds of %d symbols:", rounds, perRound);
    qInfo("  CQR_Encode  %7.1f microseconds per symbol", ours);
    qInfo("  libqrencode %7.1f microseconds per symbol", theirs);
}

QTEST_GUILESS_MAIN(TestQrBench)
#include "tst_qrbench.moc"
