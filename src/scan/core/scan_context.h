// The records of one scan run and the small per-run states of the checks.
// A run creates one ScanContext and passes it by reference to every phase; nothing is global.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scan/core/message_budget.h"
#include "scan/core/report.h"
#include "scan/core/text_reader.h"

namespace tarvik {

class ScanHost;

// The index of the interval list of the main window.
enum TimeIntervalType : int32_t { StartStopMid = 0, ConstantEqual = 1 };

inline const char* timeIntervalText(TimeIntervalType t) {
  return t == ConstantEqual ? "Constant Equal (1 or less); {Or, irregular (Satellite/Trajectory/Ground)}"
                            : "Start, Stop, and Mid-point";
}

// How a run treats its files: set by the host before runScan, kept from run to run.
struct ScanSettings {
  std::string reportPath;     // where the report goes; empty: beside the input (its path + "__diagnostic.htm")
  bool repairInPlace = true;  // false: the input is never changed; a repair works on a private copy
  IcarttVersion icartt = IcarttVersion::V1_1;
};

struct ScanRun {
  std::string inputPath;
  std::string scanPath;     // the file the scan reads: the input, or its private repaired copy
  std::string privateCopy;  // the private copy, when a repair made one (removed at the end of the run)
  std::string reportPath;
  int64_t fileSize = 0;
  TimeIntervalType timeIntervalType = StartStopMid;
  bool allowExtraIntervals = false;
  bool abortRequested = false;
  bool repairedInPlace = false;  // the line-ending pass rewrote the input
  bool copyNoted = false;        // the report says that a repaired copy was scanned
  int32_t maxLineLength = 1023;
  int64_t linesCounted = 0;
  TextReader input;          // the scan's text-mode input
  std::string lineBuffer;    // the current line, as read
  std::string echoBuffer;    // the echo copy of the current line
  bool endOfData = false;
};

struct FilenameInfo {
  std::string fileName;
  int32_t nameLength = 0;
  int32_t cursor = 0;
  std::string dataID;
  int32_t dataIDLength = 0;
  std::string locationID;
  int32_t locationIDLength = 0;
  std::string locationClass = "UNIDENTIFIED";
  int32_t platformCode = 0;
  int32_t year = 0, month = 0, day = 0;
  int32_t hour = 0, minute = 0, second = 0;
  int32_t revision = 0;
  bool revisionIsLetter = false;
  int32_t launch = 0;
  int32_t volume = 0;
  std::string comments;
  int32_t commentsLength = 0;
  std::string extension;
  std::string typeClass = "NON_ASCII_TYPE";
  int32_t typeCode = 152;
};

// The sixteen normal-comment keywords, in the order a line's first word is tested.
enum Keyword : int {
  kwPiContactInfo,
  kwPlatform,
  kwLocation,
  kwAssociatedData,
  kwInstrumentInfo,
  kwDataInfo,
  kwUncertainty,
  kwRevision,
  kwDmContactInfo,
  kwProjectInfo,
  kwStipulationsOnUse,
  kwOtherComments,
  kwUlodFlag,
  kwUlodValue,
  kwLlodFlag,
  kwLlodValue,
  kKeywordCount
};

inline constexpr const char* kKeywordNames[kKeywordCount] = {
    "PI_CONTACT_INFO", "PLATFORM",        "LOCATION",   "ASSOCIATED_DATA", "INSTRUMENT_INFO", "DATA_INFO",
    "UNCERTAINTY",     "REVISION",        "DM_CONTACT_INFO", "PROJECT_INFO", "STIPULATIONS_ON_USE",
    "OTHER_COMMENTS",  "ULOD_FLAG",       "ULOD_VALUE", "LLOD_FLAG",       "LLOD_VALUE"};

inline constexpr double kInitialMissingFlag = -999999999.0;
inline constexpr double kInitialLlodFlag = -888888888.0;
inline constexpr double kInitialUlodFlag = -777777777.0;
inline constexpr double kInitialLodValue = -999999999.0;

inline constexpr int kTextTableCapacity = 4096;

// The three kinds of variables, in the order the header defines them.
enum class VarKind { Independent, Primary, Auxiliary };

// One variable of the header: its definition line and what the header says of its values.
struct Variable {
  VarKind kind = VarKind::Primary;
  int64_t line = 0;        // the header line that defined it (0: none did)
  std::string definition;  // the definition line as kept, line end included
  std::string shortName;   // its first item, blanks trimmed
  std::string units;       // its second item, blanks trimmed
  double scaleFactor = 0;
  double missingFlag = kInitialMissingFlag;
  double ulodFlag = kInitialUlodFlag;
  double llodFlag = kInitialLlodFlag;
  double ulodValue = kInitialLodValue;
  double llodValue = kInitialLodValue;

  // Keeps a definition line, with its short name and units.
  void define(std::string_view line);
};

// Every variable of the header, one record each: the independent variables (FFI 1001: one;
// 2110 and 2310: the bounded, then the unbounded one), then the primary, then the auxiliary ones,
// each kind in the order of its lines. Records of a kind are made when the header first says how
// many there are (the scale-factor line, or the definition line of an independent variable).
class VariableTable {
 public:
  std::span<Variable> of(VarKind kind);
  std::span<const Variable> of(VarKind kind) const;
  std::span<const Variable> all() const { return rows_; }
  size_t count(VarKind kind) const { return of(kind).size(); }
  // Record i of a kind, or null when there is none.
  Variable* at(VarKind kind, size_t i);
  const Variable* at(VarKind kind, size_t i) const;
  // Gives the kind at least count records (new ones with the initial values); may throw
  // std::bad_alloc.
  void ensure(VarKind kind, size_t n);
  void clear() { rows_.clear(); }

 private:
  std::vector<Variable> rows_;
};

struct HeaderInfo {
  int32_t numHeaderLines = 0;
  int32_t ffi = 0;
  std::string piName, piOrganization, instrumentation, missionName;
  int32_t volumeNumber = 0, volumeCount = 0;
  int32_t collectionDate[3] = {0, 0, 0};
  int32_t revisionDate[3] = {0, 0, 0};
  double dataInterval = 0;
  int32_t dataIntervalIsInteger = 0;
  int32_t numVariables = 0;
  int32_t numAuxVariables = 0;
  VariableTable vars;
  int32_t numSpecialComments = 0;
  std::vector<std::string> specialComments;
  int32_t numNormalComments = 0;
  std::vector<std::string> normalComments;
  int32_t keywordCounts[kKeywordCount] = {};
  int32_t allKeywordsFound = 0;
  std::string uncertaintyText;
  int32_t revisionComplete = 0;
  int32_t revisionCommentsCounted = 0;
  int32_t nextRevisionExpected = 0;

  bool multiDimensional() const { return ffi == 2110 || ffi == 2310; }
  // The independent variable of the records (FFI 1001) or of the unbounded-variable lines, and
  // the bounded one of FFI 2110 and 2310; null when the header did not define it.
  const Variable* independentVar() const { return vars.at(VarKind::Independent, multiDimensional() ? 1 : 0); }
  const Variable* boundedVar() const {
    return multiDimensional() ? vars.at(VarKind::Independent, 0) : nullptr;
  }
  // Their definition lines, empty when not defined.
  std::string_view independentDefinition() const {
    const Variable* v = independentVar();
    return v ? std::string_view(v->definition) : std::string_view();
  }
  std::string_view boundedDefinition() const {
    const Variable* v = boundedVar();
    return v ? std::string_view(v->definition) : std::string_view();
  }
};

// What the value checks of the data phase need of one variable, taken from the variable table
// once per scan.
struct VarLimits {
  double s, M, UF, LF, UV, LV;
  bool uvDefined, lvDefined;  // the LOD values are not the missing flag
  const std::string* definition;
};

// Small states of checks that keep something over a run (message budgets, first-record markers).
struct CheckStates {
  bool headerEndedEarly = false;  // the file ended inside the header
  // Suspicious-value warnings of the data phase: 51, then the notice; cleared by each line pass.
  MessageBudget suspiciousValues{51};
  // Time checks of the data phase.
  bool startStopMidStarted = false;
  bool intervalStarted = false;
  bool integerTimeTemplates = true;
  MessageBudget timeWarnings{16};  // time-order warnings; the notice comes with the next record
  int intervalRule = -1;  // how a time step other than the interval is judged (set on the first call)
  // The limits of every variable, taken from the variable table once per data phase.
  bool limitsReady = false;
  std::vector<VarLimits> primaryLimits, auxLimits;
  // The V2.0 rules of the header (V2.0 mode).
  struct V2 {
    bool failed = false;                // an error of a V2.0 rule was reported
    MessageBudget nameErrors{32};       // short names that break the character rule
    MessageBudget repeatedNames{32};    // short names used twice
    MessageBudget standardNames{32};    // standard names that break the character rule
    MessageBudget keywordErrors{32};    // keywords out of order, repeated or missing
    std::vector<std::string> badNames;  // short names already reported
    struct CommentLine {
      int64_t line;
      int keyword;        // kKeywordCount: none
      bool revisionNote;  // "R1: ..."
      std::string text;
    };
    std::vector<CommentLine> comments;  // the normal comments before the short-names line
  } v2;
};

struct ScanContext {
  ScanSettings settings;
  ScanRun run;
  FilenameInfo fn;
  HeaderInfo hdr;
  CheckStates checks;
  Report report;
  ScanHost* host = nullptr;
};

}  // namespace tarvik
