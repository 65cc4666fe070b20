#include "scan/run/scan_run.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>

#include "scan/core/scan_context.h"
#include "scan/core/scan_host.h"
#include "scan/data/data_drivers.h"
#include "scan/filename/filename_rules.h"
#include "scan/filename/filename_table.h"
#include "scan/header/header_driver.h"
#include "scan/header/header_model.h"
#include "scan/header/header_summary.h"
#include "scan/lines/line_endings.h"
#include "scan/lines/line_input.h"
#include "scan/lines/line_repair.h"

namespace tarvik {

namespace {

void writeVerdictParagraph(const ScanContext& ctx, Report& r, int32_t code);

void showMessage(ScanContext& ctx, const char* caption, const std::string& text) {
  if (ctx.host) ctx.host->showMessage(caption, text);
}

// The size of a regular file that can be opened for reading, or -1. The open does not wait: a FIFO
// without a writer would otherwise hold the scan forever (it is no regular file, and refused).
int64_t measureInput(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat st {};
  int64_t size = -1;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    off_t end = ::lseek(fd, 0, SEEK_END);
    if (end >= 0) size = static_cast<int64_t>(end);
  }
  ::close(fd);
  return size;
}

void resetRun(ScanContext& ctx, int32_t intervalTypeIndex) {
  ctx.hdr = HeaderInfo();
  ctx.fn = FilenameInfo();
  ctx.checks = CheckStates();
  ScanRun& run = ctx.run;
  run.fileSize = 0;
  run.maxLineLength = 1023;
  run.linesCounted = 0;
  run.endOfData = false;
  run.abortRequested = false;
  run.repairedInPlace = false;
  run.copyNoted = false;
  run.privateCopy.clear();
  run.input.close();
  if (intervalTypeIndex == 0) run.timeIntervalType = StartStopMid;
  if (intervalTypeIndex == 1) run.timeIntervalType = ConstantEqual;
}

}  // namespace

ScanOutcome runScan(ScanContext& ctx, const std::string& path, int32_t intervalTypeIndex) {
  ScanOutcome outcome;
  outcome.icartt = ctx.settings.icartt;
  resetRun(ctx, intervalTypeIndex);
  ScanRun& run = ctx.run;
  Report& r = ctx.report;
  run.inputPath = path;
  run.scanPath = path;
  run.reportPath = ctx.settings.reportPath.empty() ? path + "__diagnostic.htm" : ctx.settings.reportPath;

  const size_t sep = path.find_last_of("\\/");
  if (path.empty() || sep == path.size() - 1) {
    showMessage(ctx, "PathName / Filename Error...", run.inputPath);
    return outcome;
  }
  const std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
  if (name.size() >= 128) {
    showMessage(ctx, "Filename Filename is too long -- must be < 128 characters in length.", run.inputPath);
    return outcome;
  }
  ctx.fn.fileName = name;

  if (!r.create(run.reportPath)) {
    showMessage(ctx, "File Create Error...", run.reportPath);
    return outcome;
  }
  beginReport(r);
  writeVerdict(ctx, -99);
  r.write("Filename Submitted: ");
  r.write("<font color='#0000FF'>");
  r.text(ctx.fn.fileName);
  r.write("</font>");
  r.write("<br>\n");

  const int64_t size = measureInput(run.inputPath);
  if (size < 0) {
    r.printf("<br>FILE = %s\n", run.inputPath);
    showMessage(ctx, "File Open Error...", run.inputPath);
    r.close();
    return outcome;
  }
  run.fileSize = size;
  r.setPhase(Phase::LineEndings);  // what is said of the input's size
  if (run.fileSize == 0)
    r.error("<p>File Unknown: No file was uploaded (FileSize read = 0 bytes).<br>\n");
  else
    r.printf("File size: %d bytes<br>\n", run.fileSize);
  r.write("Time-interval Type Selected: ");
  r.write("<font color='#0000FF'>");
  r.write(timeIntervalText(run.timeIntervalType));
  r.write("</font>");

  int32_t code;
  try {
    code = runPhases(ctx);
  } catch (const std::bad_alloc&) {
    closeInput(ctx);
    releaseHeader(ctx);
    code = 11;
  }
  removePrivateCopy(run.privateCopy);
  run.privateCopy.clear();
  const std::string verdict = writeVerdict(ctx, code);
  endReport(r);
  if (!r.close()) {
    showMessage(ctx, "File Create Error...", run.reportPath);
    return outcome;
  }
  outcome.reportPath = run.reportPath;
  outcome.status = code;
  outcome.dataPassed = code == 0;
  outcome.repairedInPlace = run.repairedInPlace;
  outcome.verdict = verdict;
  outcome.findings = r.takeFindings();
  return outcome;
}

int32_t runPhases(ScanContext& ctx) {
  ScanRun& run = ctx.run;
  Report& r = ctx.report;
  r.write("<center><p><H2>Now Scanning File . . .</H2></p></center>\n");
  if (run.fileSize == 0) return 4;

  r.setPhase(Phase::FileName);
  r.write("<p><H4>Processing File Name . . .<br></H4></p>\n");
  int32_t status = checkFileName(ctx);
  writeFileNameTable(ctx);
  r.write("<p><H4>Done Processing File Name.</H4></p><hr>\n");
  if (status != 0) return status;
  if (ctx.fn.typeCode != 150) return 152;

  r.setPhase(Phase::LineEndings);
  status = openInput(ctx);
  if (status == 0) status = detectLineEndings(ctx);
  if (status == 0) {
    r.setPhase(Phase::Header);
    r.write("<p><H4>Processing File Header . . .</H4></p>\n");
    int32_t linesRead = 1;
    status = readHeader(ctx, linesRead);
    if (status != 10) {
      // The summary's own finding (a keyword missing) replaces the header's status.
      const int32_t summary = writeHeaderSummary(ctx, linesRead);
      if (summary != 0) status = summary;
    }
    r.write("<p><H4>Done Processing File Header.</H4></p><hr>\n");
  }
  if (status == 0) {
    r.setPhase(Phase::Data);
    r.write("<p><H4>Processing File Data . . .</H4></p>");
    if (ctx.host) ctx.host->updateProgress(ctx, 0, run.linesCounted, 0);
    if (ctx.hdr.ffi == 1001)
      status = scanData1001(ctx);
    else if (ctx.hdr.ffi == 2310)
      status = scanData2310(ctx);
    else
      status = scanData2110(ctx);
    if (status == 0 && ctx.host) ctx.host->enablePlotting();
    r.write("<p><H4>Done Processing File Data.</H4></p><hr>\n");
  }

  closeInput(ctx);
  releaseHeader(ctx);
  r.write("<center><H2>Finished Scanning File.</H2><br></center>\n");
  return status;
}

std::string writeVerdict(ScanContext& ctx, int32_t code) {
  const ScanRun& run = ctx.run;
  if (code != 20 && code != -99 && code != 152)
    ctx.report.printf("<br>Max char's per line found = less than %d\n", run.maxLineLength);
  // The verdict is composed apart, so that its words can also be returned without markup.
  Report r;
  writeVerdictParagraph(ctx, r, code);
  ctx.report.write(r.contents());
  return plainText(r.contents());
}

namespace {

void writeVerdictParagraph(const ScanContext& ctx, Report& r, int32_t code) {
  const ScanRun& run = ctx.run;
  if (code == 20) {
    r.error("<H3>File Scanning Aborted By User.</H3><br>\n");
    return;
  }
  if (code == 0) {
    r.write("<H3><font color='#0000FF'>Good Job - no major errors encountered during SCAN.</font></H3><br>\n");
    return;
  }
  if (code != -99 && code != 152)
    r.error("<br><br>Scanning failed due to the error(s) displayed here in RED.");
  r.write("<font color='#FF0000'>");
  switch (code) {
    case 1:
      r.write("<p>Filename length NOT correct; min=18, max=127 including one period ( . ) and at least three underscores ( _ ).<br>\n");
      r.write("Please see file naming convention in the ICARTT File Format document.</p>\n");
      break;
    case 2:
      r.write("<p>Incorrect file naming [invalid char's]. Please see file naming convention in \n");
      r.write(" the ICARTT File Format document for the allowed char's ascii set.</p>\n");
      break;
    case 3:
      r.write("<p>Filename extension not correct; Ext length: min=2, max=4 (see file naming convention in the ICARTT Data Format document).</p>\n");
      break;
    case 4:
      if (run.fileSize == 0) r.write("<p>The file received is empty (0 bytes). </p>");
      r.write("<p>Could not open temp file on Local Server. If your file has data in it, then\n");
      r.write("please contact the ");
      r.contactLink("File not empty but 0 bytes recieved");
      r.write(" to report this error. Thank you.</p>\n");
      break;
    case 5:
      r.printf("<p>Incorrect filename: char's [YYYYMMDD] must be all digits (%d0101 thru %d1231). \n", 1980, 2029);
      r.write("Or, this error could also be due to the previous section(s) [dataID or locationID] not being defined correctly.</p>\n");
      break;
    case 6:
      r.write("<p>Incorrect filename: section [hh[mm[ss]]] -- although optional but must be all digits in the range: \n");
      r.write("00 thru 23; or 0000 thru 2359; or 000000 thru 235959. This error could also be due to the \"next\" section [ R# ] not being defined correctly.</p>\n");
      break;
    case 7:
      r.write("<p>Incorrect Revision Number (or Filename Revision NOT matching Header Revision): section \"_Rn\" including '_' of the filename ");
      r.write("must be _R0 thru _R55 (or _RA, _RB, ..etc for Field Data).  See the ICARTT File Format document for details.</p>\n");
      break;
    case 8:
      r.write("<p>Incorrect filename: section \"_Ln\", including '_', of the filename is not correct; \n");
      r.write("[section \"_Ln\"] must be _L1 thru _L55 (see the ICARTT Data Format document for details).</p>\n");
      break;
    case 9:
      r.write("<p>Incorrect filename: section \"_Vn\", including the '_' (underscore char), of the filename is not correct; [section \"_Vn\"] must be _V1 thru _V55. \n");
      r.write("If section '_Ln' of the filename is NOT present, then 'V' must be set to \"__V\", (i.e.; preceded by two underscores). See the ICARTT File Format document for details.</p>\n");
      break;
    case 10:
      r.write("<p>Processing incomplete: problem(s) found while processing this file (see above).</p>\n");
      break;
    case 11:
      r.write("<p>There was a problem allocating memory on the Server. Processing Incomplete.<br>\n");
      r.write("Please contact the ");
      r.contactLink("Server Problem Allocating Memory (Type1)");
      r.write(" to report this error. Thank you.</p>\n");
      break;
    case 12:
      r.write("<p>Processing Incomplete.<br>There was a problem allocating memory on the Server.<br>\n");
      r.printf("This error could be due to a (too long) line in your file that has > %d char's.\n", 1048576);
      r.write("Please contact the ");
      r.contactLink("Server Problem Allocating Memory (Type2)");
      r.write(" to report this error. Thank you.</p>\n");
      break;
    case 13:
      r.write("<p>Filename Error: Incorrect dataID or its length exceeded \n");
      r.printf("(min_length=1; max_length=%d). See file naming convention in the ICARTT File Format document for details.</p>\n", 48);
      break;
    case 14:
      r.write("<p>Incorrect filename length: \"_comments\" section is too long (MAX_COMMENTS_LENGTH=63, and MAX_FILENAME_LENGTH=127). See file naming convention in the ICARTT Data Format document for details.</p>\n");
      break;
    case 18:
      r.write("<p>Too many blank lines found (possibly at the end of file).</p>\n");
      break;
    case 19:
      r.write("<p>A blank line is not allowed in the data section of file.</p>\n");
      break;
    case 21:
      r.write("<p>The file seems to have been created with the NewLine (LF [Value=0x0A]) symbol missing. File contents (data lines) are missing the NewLine (LF) symbol. Try openning and RE-SAVING the file as in a Text Editor.</p>\n");
      break;
    case 131:
      r.write("<p>Filename Error: Incorrect locationID or its length exceeded. \n");
      r.printf("This item must exist (min_length=1; max_length=%d). See file naming convention in the ICARTT File Format document for details.</p>\n", 32);
      break;
    case 141:
      r.write("<p>Incorrect filename \"_comments\" section, including \"_\" (underscore character); it must start with the \"_\" (see the ICARTT File Format document for details).</p>\n");
      break;
    case 151:
      r.write("<H4>File is NOT an ICARTT type or its extension undefined. No operation was performed.<br>\n");
      r.write("Please correct the file and re-submit (see file naming convention in the ICARTT File Format document).</H4><br>\n");
      break;
    case 152:
      r.write("<font color='#FF9933'>");
      r.printf("<H4>File Type: %s. ONLY Filename Verification was performed. No errors encountered.</H4><br>\n",
               ctx.fn.typeClass);
      r.write("</font>");
      break;
    default:
      r.write("<br>NOTE: error messages are displayed in RED; <font color='#FF9933'>warnings and other info in ORANGE.</font><br><hr><br>\n");
      break;
  }
  r.write("</font>");
}

}  // namespace

}  // namespace tarvik
