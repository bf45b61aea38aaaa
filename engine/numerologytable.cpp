#include "engine/numerology.h"

#include "engine/globsettings.h"
#include "engine/layoutreading.h"

#include <QStringList>

namespace {

const QLatin1String crlf("\r\n");
const QLatin1String rowStart("<tr style=\"font-size: 12px; line-height: 1.2;\" >");
const QLatin1String tableClose("<tr><td comment=\"st_ttd\"><p></p></td></tr></table>");

bool showsAny(const QList<int> &types, std::initializer_list<int> ids)
{
    for (int id : ids) {
        if (types.contains(id))
            return true;
    }
    return false;
}

void addLine(QString &lines, const char *label, const QString &value)
{
    lines += QLatin1String(label) + value + QLatin1String("<br />") + crlf;
}

void plainCell(QString &html, const QString &content)
{
    html += QLatin1String("<td comment=\"st_ttd\">") + content + QLatin1String("</td>");
}

void boldCell(QString &html, const QString &content)
{
    html += QLatin1String("<td comment=\"st_ttd\"><b>") + content + QLatin1String("</b></td>");
}

} // namespace

int CNumerology::personalYear(int year) const
{
    return downToDigit(m_dayMonthDigit + downToDigit(year));
}

int CNumerology::personalMonth(const QDate &date) const
{
    return downToDigit(personalYear(date.year()) + downToDigit(date.month()));
}

int CNumerology::personalDay(const QDate &date) const
{
    return downToDigit(personalMonth(date) + downToDigit(date.day()));
}

QString CNumerology::emphasizeMasterNumbers(const QString &html)
{
    QString result = html;
    for (int n = 11; n <= 99; n += 11) {
        const QString number = QString::number(n);
        result.replace(number, QLatin1String("<b>") + number + QLatin1String("</b>"));
    }
    return result;
}

QString CNumerology::getCalculateHeaderC(const int *karmicCounts, const int *pinnacles,
                                         const int *pinnacleDigits, bool chaldean,
                                         const QList<int> &types) const
{
    QString lines;
    if (types.isEmpty())
        return lines;
    auto shows = [&types](std::initializer_list<int> ids) {
        return showsAny(types, ids);
    };

    if (shows({1}))
        addLine(lines, "Life path number ", m_results[RLifePath]);
    if (shows({2}))
        addLine(lines, "Birthday ", m_results[RBirthday]);
    if (shows({22, 23})) {
        QStringList debts;
        for (int debt : {13, 14, 16, 19}) {
            if (karmicCounts[debt] != 0)
                debts << QString::number(debt);
        }
        if (!debts.isEmpty())
            addLine(lines, "Karmic Debts ", debts.join(QStringLiteral(", ")));
    }
    if (shows({3}))
        addLine(lines, "Expression number ", m_results[RExpression]);
    if (shows({4}))
        addLine(lines, "Minor Expression number ", m_results[RMinorExpression]);
    if (shows({5}))
        addLine(lines, "Heart Desire number ", m_results[RHeartDesire]);
    if (shows({6}))
        addLine(lines, "Minor Heart Desire number ", m_results[RMinorHeartDesire]);
    if (shows({25}) && chaldean && m_compoundNumber >= 10)
        addLine(lines, "Compound number ", QString::number(m_compoundNumber));
    if (shows({7}))
        addLine(lines, "Personality number ", m_results[RPersonality]);
    if (shows({21}))
        addLine(lines, "Minor personality number ", m_results[RMinorPersonality]);
    if (shows({8}))
        addLine(lines, "Maturity number ", m_results[RMaturity]);
    if (shows({9}))
        addLine(lines, "Rational Thought number ", m_results[RRationalThought]);
    if (shows({10}))
        addLine(lines, "Karmic Lessons numbers ", m_results[RKarmicLessons]);
    if (shows({11}))
        addLine(lines, "Balance number ", m_results[RBalance]);
    if (shows({12}))
        addLine(lines, "Hidden Passion number ", m_results[RHiddenPassion]);
    if (shows({13}))
        addLine(lines, "Subconscious Confidence number ", m_results[RSubconsciousConfidence]);
    if (shows({14, 15}))
        addLine(lines, "Age span periods for challenges and pinnacles ", m_results[RAgeSpans]);
    if (shows({15})) {
        QStringList challenges;
        for (int c : m_challenges)
            challenges << QString::number(c);
        addLine(lines, "Challenge numbers: ", challenges.join(QStringLiteral(", ")));
    }
    if (shows({14})) {
        QStringList texts;
        for (int i = 0; i < 4; ++i) {
            QString text = QString::number(pinnacleDigits[i]);
            if (pinnacleDigits[i] != pinnacles[i])
                text += QLatin1Char('/') + QString::number(pinnacles[i]);
            texts << text;
        }
        addLine(lines, "Pinnacle numbers: ", texts.join(QStringLiteral(", ")));
    }
    if (shows({1, 14, 15})) {
        addLine(lines, "Life Path periods ", m_results[RLifePathPeriods]);
        addLine(lines, "Time span of Life Path periods ", m_results[RPeriodSpans]);
    }
    if (shows({31}))
        addLine(lines, "Life Path - Expression Bridge number ", m_results[RBridgeLPE]);
    if (shows({33}))
        addLine(lines, "Heart's Desire - Personality Bridge number ", m_results[RBridgeHDP]);
    return lines;
}

void CNumerology::calculateGenTable(const QList<int> &types)
{
    auto shows = [&types](std::initializer_list<int> ids) {
        return showsAny(types, ids);
    };

    // Name tables and planes grid: the parts that show name numbers, and the
    // only ones whose masters are set in bold (elsewhere the same digit pairs
    // occur in colours, years and picture data).
    QString names;
    if (shows({3, 4, 5, 7})) {
        // K and V stand for 11 and 22 in the Pythagorean system unless those
        // are reduced; Chaldean values have no master letters.
        const bool masterLetters = m_calcMode != 1 && !m_GlobSettings[GSReduceMasterLetters];
        auto letterRow = [&](const QString &line, const QString &name, const QString &last) {
            names += rowStart;
            for (int i = 0; i < line.size(); ++i) {
                const QChar c = i < name.size() ? name.at(i).toUpper() : QChar();
                const QString own(line.at(i));
                if (c == QLatin1Char('V'))
                    boldCell(names, masterLetters ? QStringLiteral("22") : own);
                else if (c == QLatin1Char('K'))
                    boldCell(names, masterLetters ? QStringLiteral("11") : own);
                else
                    plainCell(names, own);
            }
            plainCell(names, last);
            names += QLatin1String("</tr>") + crlf;
        };
        auto nameRow = [&](const QString &name, const QString &last) {
            names += rowStart;
            for (const QChar ch : name) {
                const QChar c = ch.toUpper();
                if (c == QLatin1Char('K') || c == QLatin1Char('V'))
                    boldCell(names, QString(ch));
                else
                    plainCell(names, QString(ch));
            }
            plainCell(names, last);
            names += QLatin1String("</tr>") + crlf;
        };
        const QLatin1String namesClose(
            "<tr><td comment=\"st_ttd\"><p></p></td></tr></table><p></p>");

        names += QLatin1String("<table class=maindoc border=\"0\" comment=\"st_fs\" "
                               "cellspacing=\"3\" >"
                               "<table class=maindoc border=\"0\" cellspacing=\"3\" >");
        names
            += QLatin1String("<tr><td colspan=\"__fullname__\"><b>Full name</b></td></tr>") + crlf;
        letterRow(m_nameLines[NLFullVowels], m_fullName, m_nameLines[NLHeartDesire]);
        nameRow(m_fullName, m_nameLines[NLExpression]);
        letterRow(m_nameLines[NLFullConsonants], m_fullName, m_nameLines[NLPersonality]);
        names += namesClose + crlf;

        names += QLatin1String(
            "<table class=maindoc border=\"0\" comment=\"st_fs\" cellspacing=\"3\">");
        names += QLatin1String("<tr><td colspan=\"__shortname__\"><b>Short name</b></td></tr>")
            + crlf;
        letterRow(m_nameLines[NLShortVowels], m_shortName, m_nameLines[NLMinorHeartDesire]);
        nameRow(m_shortName, m_nameLines[NLMinorExpression]);
        letterRow(m_nameLines[NLShortConsonants], m_shortName, m_nameLines[NLMinorPersonality]);
        names += namesClose + crlf;
    }

    if (shows({26, 27, 28, 29, 30})) {
        const QString columnHeads[4] = {
            QLatin1String("Mental<br />") + m_planeTexts[15],
            QLatin1String("Physical<br />") + m_planeTexts[16],
            QLatin1String("Emotional<br />") + m_planeTexts[17],
            QLatin1String("Intuitive<br />") + m_planeTexts[18],
        };
        const QString rowHeads[3] = {
            QLatin1String("Creative<br />") + m_planeTexts[4],
            QLatin1String("Dual<br />") + m_planeTexts[9],
            QLatin1String("Grounded<br />") + m_planeTexts[14],
        };
        names += QLatin1String("<div style=\"page-break-inside:avoid; page-break-after:auto\">"
                               "<table class=maindoc border=\"0\" comment=\"st_fs\" "
                               "cellspacing=\"3\">");
        names
            += QLatin1String("<tr><td  colspan=\"5\"><b>Planes of expression</b></td></tr>") + crlf;
        for (int r = 0; r < 4; ++r) {
            names += rowStart;
            for (int c = 0; c < 5; ++c) {
                if (r == 0 && c == 0) {
                    names += QLatin1String("<td comment=\"st_ttd\" width=\"75\"> </td>");
                } else if (r == 0) {
                    names
                        += QLatin1String("<td comment=\"st_ttd\" width=\"90\" align=\"center\"><b>")
                        + columnHeads[c - 1] + QLatin1String("</b></td>");
                } else if (c == 0) {
                    names += QLatin1String("<td comment=\"st_ttd\" align=\"center\"><b>")
                        + rowHeads[r - 1] + QLatin1String("</b></td>");
                } else {
                    names += QLatin1String("<td comment=\"st_ttd\" align=\"center\">")
                        + m_planeTexts[5 * (r - 1) + (c - 1)] + QLatin1String("</td>");
                }
            }
            names += QLatin1String("</tr>") + crlf;
        }
        names += QLatin1String("<tr><td comment=\"st_ttd\"><p></p></td></tr></table></div>") + crlf;
    }
    addPlain(emphasizeMasterNumbers(names));

    // The name tables' headings span one column per letter plus the
    // breakdown column.
    reportHtml.replace(QLatin1String("__shortname__"), QString::number(m_shortName.size() + 1));
    reportHtml.replace(QLatin1String("__fullname__"), QString::number(m_fullName.size() + 1));

    QString html;
    if (shows({16, 17, 18})) {
        const QDate &f = m_forecastDate;
        html += QLatin1String("<table class=maindoc border=\"0\" comment=\"st_fs\" "
                              "cellspacing=\"3\">"
                              "<tr><td colspan=\"13\" align=\"left\"><b>Personal numbers "
                              "calendar</b></td></tr>")
            + crlf;
        html += rowStart + QLatin1String("<td comment=\"st_ttd\"  width=\"50\"><b>Years</b></td>");
        for (int k = 0; k < 12; ++k) {
            const int year = f.year() + k;
            html += QLatin1String("<td comment=\"st_ttd\" width=\"35\" align=\"center\">")
                + QString::number(year) + QLatin1String("<br/>(")
                + QString::number(personalYear(year)) + QLatin1String(")</td>");
        }
        html += QLatin1String("</tr>") + crlf;
        html += rowStart + QLatin1String("<td comment=\"st_ttd\"><b>Months</b></td>");
        for (int k = 0; k < 12; ++k) {
            const QDate d = f.addMonths(k);
            html += QLatin1String("<td comment=\"st_ttd\" style='white-space: pre-wrap; ' "
                                  "align=\"center\">")
                + monthAbbreviation(d.month()) + QLatin1String("\n(")
                + QString::number(personalMonth(d)) + QLatin1String(")</td>");
        }
        html += QLatin1String("</tr>") + crlf;
        html += rowStart + QLatin1String("<td comment=\"st_ttd\"><b>Days</b></td>");
        for (int k = 0; k < 12; ++k) {
            const QDate d = f.addDays(k);
            html += QLatin1String("<td comment=\"st_ttd\" width=\"60\" style='white-space: "
                                  "pre-wrap; ' align=\"center\">")
                + QString::number(d.day()) + QLatin1String("\n(") + QString::number(personalDay(d))
                + QLatin1String(")</td>");
        }
        html += QLatin1String("</tr>") + crlf;
        html += tableClose + crlf;
    }

    if (shows({19, 20})) {
        auto transitAt = [](const QString &transit, int age) {
            return age < transit.size() ? QString(transit.at(age)) : QStringLiteral(" ");
        };
        const QLatin1String ageCell(
            "<td comment=\"st_ttd\" width=\"15\" align=\"center\" style=''>");
        const QLatin1String cellEnd("</td>");
        const QLatin1String wideLabel("><td comment=\"st_ttd\"  width='45'><b>");
        const QLatin1String label("><td comment=\"st_ttd\" width='45'><b>");
        const QLatin1String labelEnd("</b></td>");
        const int birthYear = m_birthDate.year();

        html += QLatin1String("<table class=maindoc  border=\"0\" cellspacing=\"3\" "
                              "comment=\"st_fs\">"
                              "<tr><td colspan=\"101\" align=\"left\"><b>Essence and Transits "
                              "Cycles</b></td></tr>")
            + crlf;
        const QLatin1String rowOpen("<tr style=\"font-size: 12px; line-height: 1.2;\" ");
        for (int block = 0; block < 4; ++block) {
            const int first = 25 * block;
            auto row = [&](const QString &head, auto content) {
                html += rowOpen + head;
                for (int a = first; a < first + 25; ++a)
                    html += ageCell + content(a) + cellEnd;
                html += QLatin1String("</tr>") + crlf;
            };
            row(wideLabel + QLatin1String("Age") + labelEnd,
                [](int a) { return QString::number(a); });
            row(wideLabel + QLatin1String("Year") + labelEnd,
                [birthYear](int a) { return QString::number(qAbs((birthYear + a) % 100)); });
            row(label + QLatin1String("Physical") + labelEnd,
                [&](int a) { return transitAt(m_transitPhysical, a); });
            row(label + QLatin1String("Mental") + labelEnd,
                [&](int a) { return transitAt(m_transitMental, a); });
            row(label + QLatin1String("Spiritual") + labelEnd,
                [&](int a) { return transitAt(m_transitSpiritual, a); });
            row(QLatin1String("><td comment=\"st_ttd\"></td>"),
                [this](int a) { return QString::number(m_essence[a]); });
            row(label + QLatin1String("Essence") + labelEnd,
                [this](int a) { return QString::number(m_essence[128 + a]); });
            html += QLatin1String("<tr><td comment=\"st_ttd\" colspan=\"101\" "
                                  "align=\"left\"><br /></td></tr>")
                + crlf;
        }
        html += tableClose + crlf;
    }
    addPlain(html);
}
