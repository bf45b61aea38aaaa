// A report layout (.zqnr): any bytes give a whole layout or a refusal that
// leaves the caller's layout as it was, every text read is the markup
// filter's fixed point and keeps its promises, a layout read is written
// back and read as the same, and read with its pictures put off it is taken
// as well and decodes to the same.

#include "fuzz/harness.h"
#include "fuzz/markupcontract.h"
#include "layouts/layoutfile.h"
#include "layouts/layoutpictures.h"

#include <QBuffer>

namespace {

bool sameLayout(const reportSetting &a, const reportSetting &b)
{
    QByteArray first, second;
    QBuffer firstBuffer(&first), secondBuffer(&second);
    return firstBuffer.open(QIODevice::WriteOnly) && secondBuffer.open(QIODevice::WriteOnly)
        && writeReportSetting(&firstBuffer, a) && writeReportSetting(&secondBuffer, b)
        && first == second;
}

// Every text of the layout keeps the markup filter's promises, alone and
// joined to the one before it.
void checkTexts(const reportSetting &setting)
{
    QString previous;
    for (const QList<repItem> &items : setting.items) {
        for (const repItem &item : items) {
            for (const QString &text : item.texts) {
                // Plain text, as most entries are, holds and opens nothing.
                if (!text.contains(QLatin1Char('<')) && !text.contains(QLatin1Char('&')))
                    continue;
                QString problem = markupcontract::problemOf(text);
                // Joins are judged on texts of a reading's size: six more
                // parses of the largest texts would only slow the search.
                if (problem.isEmpty()
                    && SectionMarkup::tagCount(previous) + SectionMarkup::tagCount(text) <= 2000)
                    problem = markupcontract::joinProblem(previous, text);
                if (!problem.isEmpty()) {
                    std::fprintf(stderr, "%s\n%s\n", qPrintable(problem), qPrintable(text));
                    harness::fail(
                        "a section text holds or leaves open more than the filter allows");
                }
                previous = text;
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    harness::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input = harness::bytes(data, size);
    QBuffer buffer(&input);
    harness::check(buffer.open(QIODevice::ReadOnly), "buffer");

    reportSetting before;
    before.name = QStringLiteral("caller's");
    before.flags.insert(QStringLiteral("kept"), QStringLiteral("1"));
    reportSetting setting = before;
    if (!readReportSetting(&buffer, &setting)) {
        harness::check(sameLayout(setting, before) && setting.name == before.name,
                       "a refused file changed the caller's layout");
        return 0;
    }

    checkTexts(setting);

    // Read as the lists of layouts read it, pictures put off: taken as well,
    // and its pictures decode to the same.
    QBuffer deferredBuffer(&input);
    harness::check(deferredBuffer.open(QIODevice::ReadOnly), "buffer");
    reportSetting deferred = before;
    harness::check(readReportSetting(&deferredBuffer, &deferred, nullptr, false),
                   "a layout read whole is refused with its pictures put off");
    LayoutPictures::decode(&deferred);
    harness::check(sameLayout(deferred, setting), "pictures put off decode to others");

    QByteArray written;
    QBuffer out(&written);
    harness::check(out.open(QIODevice::WriteOnly) && writeReportSetting(&out, setting),
                   "writing the layout read");
    out.close();
    harness::check(out.open(QIODevice::ReadOnly), "buffer");
    reportSetting again = before;
    harness::check(readReportSetting(&out, &again) && sameLayout(again, setting),
                   "a layout read does not survive writing and reading");
    return 0;
}
