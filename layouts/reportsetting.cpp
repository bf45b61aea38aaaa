#include "layouts/reportsetting.h"

namespace {

struct KindInfo
{
    const char *caption;
    const char *hideImagesKey;
};

const KindInfo kinds[ReportKindCount] = {
    {"Numerology", "RTNumerology-hide-images"},
    {"Psycho Matrix", "RTPsychoMatrix-hide-images"},
    {"Love Compatibility", "RTLoveCompatibility-hide-images"},
    {"Celebrities", "RTCelebrities-hide-images"},
    {"Pet", "RTPet-hide-images"},
};

bool isKind(int kind)
{
    return kind >= 0 && kind < ReportKindCount;
}

} // namespace

QString reportKindCaption(int kind)
{
    return isKind(kind) ? QString::fromLatin1(kinds[kind].caption) : QString();
}

QString hideImagesKey(int kind)
{
    return isKind(kind) ? QString::fromLatin1(kinds[kind].hideImagesKey) : QString();
}

bool isOptionSet(const QMap<QString, QString> &options, const QString &key)
{
    return options.value(key) == QLatin1String("TRUE");
}

repItem::repItem()
    : headerFont(QStringLiteral("Arial"), 18, QFont::Bold, false)
    , contentFont(QStringLiteral("Arial"), 16, QFont::Normal, false)
    , headerColor(0, 0, 0)
    , contentColor(0, 0, 0)
{
    headerFont.setPixelSize(18);
    contentFont.setPixelSize(16);
    texts.reserve(EntryCount);
    images.reserve(EntryCount);
    useStdText.reserve(EntryCount);
    for (int i = 0; i < EntryCount; ++i) {
        texts.append(QString());
        images.append(QImage());
        useStdText.append(true);
    }
}

const reportSetting *selectLayout(const QList<reportSetting> *list, int position)
{
    if (position < 1 || !list || position > list->size())
        return nullptr;
    return &list->at(position - 1);
}

bool showsSectionImage(const repItem &item, bool hideAll)
{
    return !item.images.isEmpty() && !hideAll
        && !isOptionSet(item.options, QStringLiteral("hide-image"));
}
