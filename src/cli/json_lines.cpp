#include "cli/json_lines.h"

#include "cli/utf8_text.h"

namespace tarvik::cli {

nlohmann::ordered_json scanResultJson(const std::string& file, const ScanOutcome& outcome,
                                      const MessageBox* box) {
  using nlohmann::ordered_json;
  const bool hasReport = outcome.reportWritten();
  ordered_json j = ordered_json::object();
  j["file"] = utf8Text(file);
  j["report"] = hasReport ? ordered_json(utf8Text(outcome.reportPath)) : ordered_json(nullptr);
  j["status"] = hasReport ? ordered_json(outcome.status) : ordered_json(nullptr);
  j["passed"] = outcome.passed();
  if (hasReport)
    j["verdict"] = utf8Text(outcome.verdict);
  else
    j["verdict"] = box ? utf8Text(boxWords(*box)) : std::string("no report was written");
  j["repaired"] = outcome.repairedInPlace;
  j["icartt"] = icarttVersionName(outcome.icartt);
  j["errors"] = outcome.count(Severity::Error);
  j["warnings"] = outcome.count(Severity::Warning);
  ordered_json findings = ordered_json::array();
  for (const Finding& f : outcome.findings) {
    ordered_json item = ordered_json::object();
    item["severity"] = severityName(f.severity);
    item["line"] = f.line == Finding::kNoLine ? ordered_json(nullptr) : ordered_json(f.line);
    item["phase"] = phaseName(f.phase);
    item["message"] = utf8Text(f.message);
    findings.push_back(std::move(item));
  }
  j["findings"] = std::move(findings);
  if (hasReport) {
    j["error"] = nullptr;
  } else {
    ordered_json error = ordered_json::object();
    error["caption"] = box ? utf8Text(box->caption) : std::string();
    error["text"] = box ? utf8Text(box->text) : std::string("no report was written");
    j["error"] = std::move(error);
  }
  return j;
}

std::string jsonLine(const nlohmann::ordered_json& object) {
  // Every string was made valid UTF-8 above; the replacing handler only guards against a caller
  // that built its own object from raw bytes, so that writing a line never throws.
  return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace tarvik::cli
