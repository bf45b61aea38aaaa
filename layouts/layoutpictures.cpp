#include "layouts/layoutpictures.h"

#include "layouts/boundedread.h"

#include <algorithm>

namespace LayoutPictures {

bool pending(const reportSetting &setting)
{
    return std::any_of(
        std::begin(setting.items), std::end(setting.items), [](const QList<repItem> &items) {
            return std::any_of(items.begin(), items.end(),
                               [](const repItem &item) { return !item.storedImages.isEmpty(); });
        });
}

void decode(reportSetting *setting)
{
    for (QList<repItem> &items : setting->items) {
        for (repItem &item : items) {
            if (item.storedImages.isEmpty())
                continue;
            const int count = std::min(item.images.size(), item.storedImages.size());
            for (int i = 0; i < count; ++i) {
                if (item.images.at(i).isNull() && !item.storedImages.at(i).isEmpty())
                    item.images[i] = BoundedRead::decodeStoredImage(item.storedImages.at(i));
            }
            item.storedImages.clear();
        }
    }
}

} // namespace LayoutPictures
