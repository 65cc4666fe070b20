// The records of one scan run and the small per-run states of the checks.
// A run creates one ScanContext and passes it by reference to every phase; nothing is global.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scan/core/report.h"
#include "scan/lines/text_reader.h"

namespace tarvik {

class ScanHost;

// The index of the interval list of the main window.
enum TimeIntervalType : int32_t { StartStopMid = 0, ConstantEqual = 1 };

inline const char* timeIntervalText(TimeIntervalType t) {
  return t == ConstantEqual ? "Constant Equal (1 or less); {Or, irregular (Satellite/Trajectory/Ground)}"
                            : "Start, Stop, and Mid-point";
}

struct ScanRun {
  std::string inputPath;
  std::string reportPath;
  int64_t fileSize = 0;
  TimeIntervalType timeIntervalType = StartStopMid;
  bool allowExtraIntervals = false;
  int32_t statusCode = 0;
  bool abortRequested = false;
  bool repairedInPlace = false;  // the line-ending pass rewrote the input
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

enum class VarKind { Primary, Auxiliary };

inline constexpr double kInitialMissingFlag = -999999999.0;
inline constexpr double kInitialLlodFlag = -888888888.0;
inline constexpr double kInitialUlodFlag = -777777777.0;
inline constexpr double kInitialLodValue = -999999999.0;

inline constexpr int kTextTableCapacity = 4096;

struct HeaderInfo {
  int32_t numHeaderLines = 0;
  int32_t ffi = 0;
  std::string piName, piOrganization, instrumentation, missionName;
  int32_t volumeNumber = 0, volumeCount = 0;
  int32_t collectionDate[3] = {0, 0, 0};
  int32_t revisionDate[3] = {0, 0, 0};
  double dataInterval = 0;
  int32_t dataIntervalIsInteger = 0;
  std::string independentVarDef;
  std::string boundedVarDef;
  int32_t numVariables = 0;
  std::vector<double> scaleFactors, missingFlags, ulodValues, llodValues, ulodFlags, llodFlags;
  std::vector<std::string> varDefs;
  int32_t numAuxVariables = 0;
  std::vector<double> auxScaleFactors, auxMissingFlags, auxUlodValues, auxLlodValues, auxUlodFlags, auxLlodFlags;
  std::vector<std::string> auxVarDefs;
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
};

// What the value checks need of one variable: scale factor, missing flag, LOD flags and values.
struct VarLimits {
  double s, M, UF, LF, UV, LV;
  bool uvDefined, lvDefined;  // the LOD values are not the missing flag
};

// Small states of checks that keep something over a run (message budgets, first-record markers).
struct CheckStates {
  bool headerEndedEarly = false; // the file ended inside the header
  int32_t lodFlagMessages = 0;  // limit-of-detection flag messages of the data phase; cleared by each line pass
  int32_t suspiciousValues = 0; // suspicious-value warnings of the data phase; cleared by each line pass
  // Time checks of the data phase.
  bool startStopMidStarted = false;
  bool intervalStarted = false;
  bool integerTimeTemplates = true;
  int32_t timeWarnings = 0;
  int intervalRule = -1;  // how a time step other than the interval is judged (set on the first call)
  // The header's limits per variable, gathered once for the data phase.
  bool limitsReady = false;
  std::vector<VarLimits> primaryLimits, auxLimits;
};

struct ScanContext {
  ScanRun run;
  FilenameInfo fn;
  HeaderInfo hdr;
  CheckStates checks;
  Report report;
  ScanHost* host = nullptr;
};

}  // namespace tarvik
