#pragma once

#include "layouts/reportsetting.h"

// Brings a setting written by an earlier program version up to date, as the
// loader does after reading a file: step "UPDATE1" adds the planes of
// expression and the love sections "Character", "Energy" and "Final", step
// "UPDATE2" adds the bridges. Each step runs once per setting (its flag is set
// afterwards) and inserts nothing when the setting already holds its sections.
void migrateReportSetting(reportSetting *setting);
