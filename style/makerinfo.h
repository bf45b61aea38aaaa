#pragma once

// The maker's addresses and the running version, in one place.

namespace MakerInfo {

// The product page that the About box's "Visit Lumaro" button leads to.
inline constexpr const char *productPage = "https://www.lumaro-numerology.example/";

// The mailbox of the "Support" command (used in a mailto: link).
inline constexpr const char *supportMailbox = "support@lumaro-numerology.example";

// The page that an update notice opens.
inline constexpr const char *downloadPage = "https://www.lumaro-numerology.example/download/";

// The host of the update endpoint (plain HTTP); the endpoint's path is
// appended to it.
inline constexpr const char *updateHost = "http://update.lumaro-numerology.example";

inline constexpr int versionMajor = 7;
inline constexpr int versionMinor = 8;
inline constexpr int versionPatch = 0;

// One hexadecimal byte per component: 7.8.0 is 0x070800.
inline constexpr int versionNumber = (versionMajor << 16) | (versionMinor << 8) | versionPatch;

} // namespace MakerInfo
