#pragma once

#include "layouts/reportsetting.h"

// The pictures of layouts read with their decoding put off: the lists of
// layouts need only their names, so the folder's files are read with their
// pictures kept encoded (repItem::storedImages), and a layout's pictures are
// decoded once, when a reading or the Report Manager first uses it.
namespace LayoutPictures {

// Whether any picture of setting still waits encoded.
bool pending(const reportSetting &setting);

// Decodes every picture of setting that waits encoded (a picture whose data
// turn out to be damaged stays null) and drops the encoded bytes.
void decode(reportSetting *setting);

} // namespace LayoutPictures
