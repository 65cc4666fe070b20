#include "scan/filename/location_types.h"

#include "scan/core/scan_context.h"
#include "scan/core/tokens.h"

namespace tarvik {

namespace {

struct TypeRow {
  const char* extensions[4];
  int32_t code;
  const char* typeClass;
};

const TypeRow kTypes[] = {
    {{".ICT"}, 150, "ICARTT_ASCII_DATA_TYPE"},
    {{".JPG", ".GIF", ".BMP", ".PNG"}, 153, "IMAGE_FILE_TYPE"},
    {{".TXT"}, 154, "TEXT_TYPE"},
    {{".DOC", ".PDF"}, 154, "DOCUMENT_TYPE"},
    {{".HTM"}, 154, "HTML_DOCUMENT_TYPE"},
    {{".XLS"}, 158, "EXCEL_DOCUMENT_TYPE"},
    {{".CDF", ".NC"}, 155, "NETCDF_TYPE"},
    {{".HDF", ".HE5", ".H5"}, 156, "HDF_TYPE"},
    {{".KML", ".KMZ"}, 157, "GOOGLE_EARTH_TYPE"},
};

struct LocationRow {
  const char* id;
  const char* locationClass;
  int32_t platform;
};

const LocationRow kLocations[] = {
    {"DC8", "DC8_AIRCRAFT", 0},       {"P3B", "P3B_AIRCRAFT", 15},         {"J31", "J31_AIRCRAFT", 1},
    {"PROTEUS", "PROTEUS_AIRCRAFT", 8}, {"MODEL", "MODEL", 3},             {"GROUND", "GROUND", 4},
    {"O3SONDES", "O3SONDES", 5},      {"AIRMAP", "AIRMAP", 6},             {"MOZAIC", "MOZAIC", 7},
    {"SATELLITE", "SATELLITE", 2},    {"TRAJECTORY", "TRAJECTORY", 10},    {"C130", "C130_AIRCRAFT", 11},
    {"BE200", "BE200_AIRCRAFT", 12},  {"DUCHESS", "DUCHESS_AIRCRAFT", 13}, {"CESSNA", "CESSNA_AIRCRAFT", 14},
    {"LIGHTNING", "LIGHTNING", 9},
};

}  // namespace

int32_t classifyExtension(ScanContext& ctx) {
  FilenameInfo& fn = ctx.fn;
  for (const TypeRow& row : kTypes)
    for (const char* ext : row.extensions)
      if (ext && sameTextNoCase(&ctx.report, fn.extension, ext)) {
        fn.typeCode = row.code;
        fn.typeClass = row.typeClass;
        return 0;
      }
  fn.typeCode = 151;
  fn.typeClass = "NON_ICARTT_TYPE";
  return 151;
}

void lookupLocation(ScanContext& ctx) {
  FilenameInfo& fn = ctx.fn;
  for (const LocationRow& row : kLocations)
    if (sameTextNoCase(&ctx.report, fn.locationID, row.id)) {
      fn.locationClass = row.locationClass;
      fn.platformCode = row.platform;
      return;
    }
  fn.locationClass = "UNIDENTIFIED";
  fn.platformCode = -1;
}

}  // namespace tarvik
