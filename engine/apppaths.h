#pragma once

#include <QString>

// Where the program keeps and finds its files. Each call computes its result
// afresh, so a changed environment (HOME, USER, XDG_*) takes effect at once.

// The login name from USER, or USERNAME when USER is empty.
QString getUserName();

// The per-user data folder, always ending in "/"; not created here.
QString getDataLocation();

// The user's own folder for report layouts and chart templates:
// Documents + "/Lumaro Numerology" (not created here).
QString getUserFolder();

// The parent of the executable's folder + "/Resources/".
QString getResourcesPath();

// getResourcesPath() + "images/".
QString getImagesPath();
