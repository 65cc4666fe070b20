// JPEG files of the plot window: saved chart pictures (baseline, quality 90, full colour) and
// background pictures read back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvik {

// Pixels as rows of R, G, B bytes, top row first.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // width * height * 3 bytes
};

constexpr int kJpegQuality = 90;

// Encodes image as a baseline JPEG of quality 90 with full-colour (4:4:4) sampling and writes it
// to path as given. False with a reason in error when the image is empty or the file cannot be
// written completely; a partial file is removed.
bool WriteJpegFile(const std::string& path, const RgbImage& image, std::string& error);

// The same encoding into memory.
bool EncodeJpeg(const RgbImage& image, std::vector<uint8_t>& out, std::string& error);

// Decodes a JPEG file (any libjpeg-readable JPEG, greyscale or colour) into RGB. False with a
// reason in error when the file cannot be read or is not a JPEG; never aborts the program.
bool ReadJpegFile(const std::string& path, RgbImage& image, std::string& error);
bool DecodeJpeg(const uint8_t* data, size_t size, RgbImage& image, std::string& error);

}  // namespace tarvik
