// The welcome page the window writes to the working directory at start-up and deletes at exit.
#pragma once

#include <QString>
#include <string>

namespace tarvik::desktop {

inline constexpr const char* kVersionText = "Ver 2.3.4 (May 21, 2019)";

// The working directory followed by the page's name (no separator added after a root).
QString welcomePagePath(const QString& workingDirectory);

// The page's text, line by line as the window writes it.
std::string welcomePageText();

// Writes the page; false when it cannot be created (the window then skips it silently).
bool writeWelcomePage(const QString& path);

}  // namespace tarvik::desktop
