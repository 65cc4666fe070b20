#include "desktop/mainwindow/welcome_page.h"

#include <QFile>

#include "scan/core/site.h"

namespace tarvik::desktop {

QString welcomePagePath(const QString& workingDirectory) {
  if (workingDirectory.endsWith('/') || workingDirectory.endsWith('\\')) return workingDirectory + "ftempVer.htm";
  return workingDirectory + "/ftempVer.htm";
}

std::string welcomePageText() {
  const std::string home = site::kHomeAddress;
  const std::string version = kVersionText;
  std::string t;
  t += "<HTML><HEAD><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n";
  t += "<TITLE>ICARTT File Format Scanning For Windows -- Corvane Ostrel</TITLE></HEAD> <BODY bgcolor=\"#F1F1F1\"><center>\n";
  t += "<H1>ICARTT File Format Scanning For Windows</H1></center>\n";
  t += "<h2 align=\"center\"><b><font color=\"#FF0000\">\n";
  t += " You're using: " + version + "</font></b></h2>\n";
  t += "<hr size=\"5\" noshade>";
  t += "<font size = \"+1\"><b>To Scan File:</b></font><blockquote>\n";
  t += "<font size = \"-1\">1) Load the File -- click on <b><i>[Browse...]</i></b> button\n";
  t += "<br>2) Select Data Time-Interval Type\n";
  t += "<br>3) Press <b><i>[ScanFile]</i></b> button\n";
  t += "<br>4) If file passes, then the<b><i>[Plotting/Options...]</i></b> button is enabled. Click on this button to examine/check your data visually.</font></blockquote>\n";
  t += "<hr><font size = \"+1\"><b>Data Format:</b></font>\n";
  t += "<br><br><font size = \"-1\"><a href=\"" + home + "/missions/etc/IcarttDataFormat.htm\">Click here to view ICARTT Data Format Document</a></font><br><br>\n";
  t += "<hr><font size = \"+1\"><b>Software Updates:</b></font>\n";
  t += "<br><br><font size = \"-1\">Click on <b><i>[Check For Updated Version]</i></b> button to see if there's an updated version of this software. ";
  t += "<a href=\"" + home + "/missions/etc/TarvikBrowser.zip\">You can download the latest version from here.</a></font><br><br>\n";
  t += "<hr><font size = \"+1\"><b>Feedback and Contact:</b></font>\n";
  t += "<br><br><font size = \"-1\">Your comments are very welcome. ";
  t += std::string("<a href=\"mailto:") + site::kProjectOfficeMail + "?subject=wTarvik Feedback\">Please send us your feedback</a>";
  t += " and/or any suggestion you might have. Most importantly, any unexpected errors or behavior of this software. Thank you and good luck!</font><br><br><hr>\n";
  t += "<center><a href=\"" + home + "\">| Home |</a>\n";
  t += "<a href=\"" + home + "/missions.htm\">| Field Campaigns |</a>\n";
  t += "<br><br><font size=\"-2\"><br>\n";
  t += std::string("<br>Curator: <a href=\"mailto:") + site::kCuratorMail + "\">" + site::kCuratorName + "</a>\n";
  t += "<br><a href=\"" + home + "/comments/comments.htm\">Send Us Your Comments</a>\n";
  t += std::string("<br><a href=\"") + site::kFeedbackAddress + "\">" + site::kFeedbackText + "</a>\n";
  t += "<br>Tarvik is free software, written and maintained by the Tarvik project.</font></center>\n";
  t += "</BODY></HTML>\n";
  return t;
}

bool writeWelcomePage(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const std::string text = welcomePageText();
  const bool ok = f.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
  f.close();
  return ok;
}

}  // namespace tarvik::desktop
