#pragma once
// The program's web site, opened from the help menu and the about box.

namespace sonivo {

class DesktopDialogs;

inline constexpr char kWebsite[] = "https://sonivo.example.org/";

// Opens the site in the desktop's browser; says so when that failed.
void openWebsite(DesktopDialogs& dialogs);

}  // namespace sonivo
