#pragma once

#include <QString>

// The update server the program asks: one fixed address, ending in "/".
inline constexpr const char* kUpdateServerAddress = "http://updates.ziduver.example/";

// The update-check request: the server address, "checkversion.php", then the
// keys enginetype (trimmed of blanks), engineversion, productid and
// productversion in this order, each value percent-encoded; an empty value
// stays "key=".
QString updateCheckUrl(const QString& serverAddress, const QString& engineType, const QString& engineVersion,
                       const QString& productId, const QString& productVersion);
