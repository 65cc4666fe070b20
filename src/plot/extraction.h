// The text file of the "Data Extraction..." page: chosen columns of the stored data, every N-th
// record, in fields of 15 characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plot/plot_data_store.h"

namespace tarvik {

// The short name of a column in the header line: the item's text up to, not including, the first
// space or comma (the whole text when it has neither).
std::string ExtractionShortName(std::string_view itemText);

// The header line: each name right-aligned in 15 characters and followed by one space; CR LF.
std::string ExtractionHeaderLine(const std::vector<std::string>& shortNames);

// One data line: each value widened to double and written "%g" (C locale) right-aligned in 15
// characters and followed by one space; CR LF.
std::string ExtractionDataLine(const std::vector<float>& values);

// Whether record k (0-based) is written at resampling rate: a counter counts the records and
// writes one each time it reaches rate, so rate 1 writes all, 2 writes k = 1, 3, 5, ..., and a rate
// of 0, below 0 or above the record count writes none.
bool ExtractionKeepsRecord(int64_t k, int64_t rate);

enum class ExtractionResult { Written, OpenFailed, WriteFailed };

// Writes the file at path (replacing it): the header line of the columns, then one data line per
// kept record in record order. columns are column indices in list order; itemTexts the list's
// item texts. A column index that the store does not hold or the list does not name is skipped
// (an empty store holds no column, so its file is a bare line end). On a write error (a full disk)
// the file is closed and, when it is a regular file, removed, and WriteFailed is returned; a path
// that cannot be opened gives OpenFailed and writes nothing.
ExtractionResult WriteSelectedData(const std::string& path, const PlotDataStore& store,
                                   const std::vector<int32_t>& columns, const std::vector<std::string>& itemTexts,
                                   int64_t rate);

}  // namespace tarvik
