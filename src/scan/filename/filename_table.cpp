#include "scan/filename/filename_table.h"

#include "scan/core/scan_context.h"

namespace tarvik {

void writeFileNameTable(ScanContext& ctx) {
  const FilenameInfo& fn = ctx.fn;
  Report& r = ctx.report;
  r.write("<p><u><b>Filename Structure Received:</b></u><br>");
  r.write("<table border=\"2\" cellspacing=\"2\" cellpadding=\"2\">\n");
  r.printf("<tr><td>Filename</td><td><font color='#0000FF'>%s</font></td></tr>\n", fn.fileName);
  r.printf("<tr><td><i>Filename_Length</i></td><td><font color='#0000FF'>%d</font></td></tr>\n", fn.nameLength);
  r.printf("<tr><td>dataID<br><i>dataID_Length</i></td><td><font color='#0000FF'>%s<br>%d</font></td></tr>\n", fn.dataID,
           fn.dataIDLength);
  r.printf("<tr><td>LocationID<br><i>LocationID_Length</i></td><td><font color='#0000FF'>%s <i>[%s]</i><br>%d</font></td></tr>\n",
           fn.locationID, fn.locationClass, fn.locationIDLength);
  r.printf("<tr><td>YYYY MM DD<br>[hr mn ss]</td><td><font color='#0000FF'>%04d %02d %02d<br>[%02d %02d %02d]</font></td></tr>\n",
           fn.year, fn.month, fn.day, fn.hour, fn.minute, fn.second);
  if (fn.revision >= 56)
    r.printf("<tr><td>R#; L#; V#;</td><td><font color='#0000FF'>%c; %d; %d;</font></td></tr>\n",
             static_cast<char>(fn.revision), fn.launch, fn.volume);
  else
    r.printf("<tr><td>R#; L#; V#;</td><td><font color='#0000FF'>%d; %d; %d;</font></td></tr>\n", fn.revision, fn.launch,
             fn.volume);
  r.printf("<tr><td>comments<br><i>comments_Length</i></td><td><font color='#0000FF'>%s<br>%d</font></td></tr>\n",
           fn.comments, fn.commentsLength);
  r.printf("<tr><td>Ext</td><td><font color='#0000FF'>%s <i>[%s]</i></font></td></tr>\n", fn.extension, fn.typeClass);
  r.write("</table></p>\n");
}

}  // namespace tarvik
