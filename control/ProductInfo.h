#pragma once

namespace sorvella {

// The product as the window title, the tray tip and the About box name it.
constexpr const char* kProductName = "Sorvella Studio";
constexpr const char* kProductVersion = "2.07";
constexpr int kBuildNumber = 20700;
// The web page that redirects each version to its news; the version is
// appended.
constexpr const char* kHomePageAddress = "https://sorvella.example/redirect.php?Version=";

} // namespace sorvella
