// JPEG pictures of the plot window: baseline quality-90 full-colour encoding (checked in the
// file's own markers), decoding of colour, greyscale and CMYK files, and damaged input.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "plot/jpeg_codec.h"
#include "support/test_files.h"

namespace tarvik {
namespace {

using test::fileExists;
using test::readFile;
using test::TempDir;
using test::writeFile;

RgbImage Gradient(int width, int height) {
  RgbImage image;
  image.width = width;
  image.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      image.rgb.push_back(static_cast<uint8_t>(x * 255 / (width - 1)));
      image.rgb.push_back(static_cast<uint8_t>(y * 255 / (height - 1)));
      image.rgb.push_back(static_cast<uint8_t>(128 + (x - y) / 2));
    }
  return image;
}

struct Segment {
  uint8_t marker;
  std::vector<uint8_t> payload;  // the bytes after the length field
};

// The marker segments before the first scan, and the number of scans in the whole file (in the
// entropy-coded data every 0xFF byte is followed by 0x00, so FF DA appears only as a marker).
struct Layout {
  bool startsWithSoi = false;
  std::vector<Segment> header;
  int scans = 0;
  bool endsWithEoi = false;
};

Layout ReadLayout(const std::vector<uint8_t>& b) {
  Layout layout;
  layout.startsWithSoi = b.size() >= 2 && b[0] == 0xFF && b[1] == 0xD8;
  layout.endsWithEoi = b.size() >= 2 && b[b.size() - 2] == 0xFF && b[b.size() - 1] == 0xD9;
  size_t i = 2;
  while (i + 4 <= b.size() && b[i] == 0xFF) {
    const uint8_t marker = b[i + 1];
    const size_t length = static_cast<size_t>(b[i + 2]) << 8 | b[i + 3];
    if (length < 2 || i + 2 + length > b.size()) break;
    layout.header.push_back({marker, std::vector<uint8_t>(b.begin() + static_cast<long>(i) + 4,
                                                          b.begin() + static_cast<long>(i + 2 + length))});
    if (marker == 0xDA) break;
    i += 2 + length;
  }
  for (size_t j = 0; j + 1 < b.size(); ++j)
    if (b[j] == 0xFF && b[j + 1] == 0xDA) ++layout.scans;
  return layout;
}

const Segment* Find(const Layout& layout, uint8_t marker) {
  for (const Segment& s : layout.header)
    if (s.marker == marker) return &s;
  return nullptr;
}

// The quantization table with the given id, in the file's (zigzag) order.
std::vector<int> QuantTable(const Layout& layout, int id) {
  for (const Segment& s : layout.header) {
    if (s.marker != 0xDB) continue;
    size_t i = 0;
    while (i < s.payload.size()) {
      const int precision = s.payload[i] >> 4, tableId = s.payload[i] & 0x0F;
      const size_t size = precision == 0 ? 64 : 128;
      if (i + 1 + size > s.payload.size()) break;
      if (tableId == id && precision == 0) return std::vector<int>(s.payload.begin() + static_cast<long>(i) + 1,
                                                                  s.payload.begin() + static_cast<long>(i + 1 + size));
      i += 1 + size;
    }
  }
  return {};
}

TEST(JpegEncode, BaselineQualityNinetyWithFullColourSampling) {
  const RgbImage image = Gradient(64, 48);
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(EncodeJpeg(image, bytes, error)) << error;
  const Layout layout = ReadLayout(bytes);
  EXPECT_TRUE(layout.startsWithSoi);
  EXPECT_TRUE(layout.endsWithEoi);
  EXPECT_EQ(layout.scans, 1);  // a progressive file would hold several

  const Segment* sof0 = Find(layout, 0xC0);
  ASSERT_NE(sof0, nullptr);
  EXPECT_EQ(Find(layout, 0xC2), nullptr);  // not progressive
  EXPECT_EQ(Find(layout, 0xC1), nullptr);  // not extended sequential
  ASSERT_EQ(sof0->payload.size(), 6u + 3 * 3);
  EXPECT_EQ(sof0->payload[0], 8);                                  // 8-bit samples
  EXPECT_EQ(sof0->payload[1] << 8 | sof0->payload[2], 48);         // height
  EXPECT_EQ(sof0->payload[3] << 8 | sof0->payload[4], 64);         // width
  EXPECT_EQ(sof0->payload[5], 3);                                  // Y, Cb, Cr
  for (int c = 0; c < 3; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(sof0->payload[6 + 3 * c + 1], 0x11);  // 1 x 1 sampling for every component: 4:4:4
  }
  EXPECT_EQ(sof0->payload[6 + 2], 0);   // Y uses table 0
  EXPECT_EQ(sof0->payload[9 + 2], 1);   // Cb and Cr use table 1
  EXPECT_EQ(sof0->payload[12 + 2], 1);

  // The standard tables scaled to quality 90 (factor 20 %): luminance 16, 11, ..., 99 become
  // 3, 2, ..., 20; chrominance 17 becomes 3.
  const std::vector<int> luminance = QuantTable(layout, 0);
  ASSERT_EQ(luminance.size(), 64u);
  EXPECT_EQ(luminance[0], 3);
  EXPECT_EQ(luminance[1], 2);
  EXPECT_EQ(luminance[2], 2);
  EXPECT_EQ(luminance[63], 20);
  const std::vector<int> chrominance = QuantTable(layout, 1);
  ASSERT_EQ(chrominance.size(), 64u);
  EXPECT_EQ(chrominance[0], 3);
  EXPECT_EQ(chrominance[63], 20);

  // The same picture gives the same bytes.
  std::vector<uint8_t> again;
  ASSERT_TRUE(EncodeJpeg(image, again, error));
  EXPECT_EQ(again, bytes);
}

TEST(JpegEncode, RoundTripKeepsThePixelsClose) {
  const RgbImage images[] = {Gradient(64, 48), RgbImage{1, 1, {200, 40, 90}}, Gradient(17, 3), Gradient(3, 200)};
  for (const RgbImage& image : images) {
    SCOPED_TRACE(testing::Message() << image.width << " x " << image.height);
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(EncodeJpeg(image, bytes, error)) << error;
    RgbImage decoded;
    ASSERT_TRUE(DecodeJpeg(bytes.data(), bytes.size(), decoded, error)) << error;
    EXPECT_EQ(decoded.width, image.width);
    EXPECT_EQ(decoded.height, image.height);
    ASSERT_EQ(decoded.rgb.size(), image.rgb.size());
    int worst = 0;
    for (size_t i = 0; i < image.rgb.size(); ++i) worst = std::max(worst, std::abs(decoded.rgb[i] - image.rgb[i]));
    EXPECT_LE(worst, 10);
  }
}

TEST(JpegEncode, RefusesPicturesWithoutPixels) {
  struct Case {
    const char* why;
    RgbImage image;
    const char* error;
  };
  const Case cases[] = {
      {"no size", RgbImage{}, "The picture is empty: there is nothing to save."},
      {"no height", RgbImage{10, 0, {}}, "The picture is empty: there is nothing to save."},
      {"negative width", RgbImage{-4, 4, {}}, "The picture is empty: there is nothing to save."},
      {"too few bytes", RgbImage{2, 2, std::vector<uint8_t>(11)}, "The picture's pixels do not match its size (2 x 2)."},
      {"too many bytes", RgbImage{2, 2, std::vector<uint8_t>(13)}, "The picture's pixels do not match its size (2 x 2)."},
      {"wider than JPEG allows", RgbImage{70000, 1, std::vector<uint8_t>(210000)},
       "The picture is too large for a JPEG file (70000 x 1 pixels; at most 65500 in each direction)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::vector<uint8_t> bytes = {1, 2, 3};
    std::string error;
    EXPECT_FALSE(EncodeJpeg(c.image, bytes, error));
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}));
  }
}

TEST(JpegFile, WritesTheEncodedBytesAndReadsThemBack) {
  const RgbImage image = Gradient(64, 48);
  TempDir dir;
  const std::string path = dir.file("X_Y_20190101_R0.ict.jpeg");
  writeFile(path, "an older file");
  std::string error;
  ASSERT_TRUE(WriteJpegFile(path, image, error)) << error;
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(EncodeJpeg(image, bytes, error));
  EXPECT_EQ(readFile(path), std::string(bytes.begin(), bytes.end()));

  RgbImage fromFile, fromMemory;
  ASSERT_TRUE(ReadJpegFile(path, fromFile, error)) << error;
  ASSERT_TRUE(DecodeJpeg(bytes.data(), bytes.size(), fromMemory, error));
  EXPECT_EQ(fromFile.width, 64);
  EXPECT_EQ(fromFile.height, 48);
  EXPECT_EQ(fromFile.rgb, fromMemory.rgb);

  // A name without extension is written as given.
  const std::string bare = dir.file("chart");
  ASSERT_TRUE(WriteJpegFile(bare, image, error));
  EXPECT_TRUE(fileExists(bare));
  EXPECT_FALSE(fileExists(bare + ".jpeg"));
  EXPECT_FALSE(fileExists(bare + ".jpg"));
}

TEST(JpegFile, MissingFoldersAndFilesAreReported) {
  TempDir dir;
  const std::string path = dir.file("no_such_folder/chart.jpeg");
  std::string error;
  EXPECT_FALSE(WriteJpegFile(path, Gradient(8, 8), error));
  EXPECT_EQ(error, "Couldn't create the file \"" + path + "\": No such file or directory");
  EXPECT_FALSE(fileExists(path));

  RgbImage image{1, 1, {1, 2, 3}};
  EXPECT_FALSE(ReadJpegFile(dir.file("absent.jpg"), image, error));
  EXPECT_EQ(error, "Couldn't open the file \"" + dir.file("absent.jpg") + "\": No such file or directory");
  EXPECT_EQ(image.rgb, (std::vector<uint8_t>{1, 2, 3}));  // untouched on failure

  writeFile(dir.file("empty.jpg"), "");
  EXPECT_FALSE(ReadJpegFile(dir.file("empty.jpg"), image, error));
  EXPECT_EQ(error, "Couldn't read the JPEG picture: the file is empty.");
  EXPECT_FALSE(ReadJpegFile(dir.path(), image, error));  // a folder opens but cannot be read
  EXPECT_EQ(error, "Couldn't read the file \"" + dir.path() + "\": Is a directory");
}

TEST(JpegDecode, DamagedInputFailsWithAReason) {
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(EncodeJpeg(Gradient(64, 48), bytes, error));

  RgbImage image{1, 1, {9, 9, 9}};
  const std::string gif = "GIF89a\x01\x00\x01\x00";
  EXPECT_FALSE(DecodeJpeg(reinterpret_cast<const uint8_t*>(gif.data()), gif.size(), image, error));
  EXPECT_EQ(error, "Couldn't read the JPEG picture: Not a JPEG file: starts with 0x47 0x49");
  EXPECT_EQ(image.rgb, (std::vector<uint8_t>{9, 9, 9}));

  const uint8_t soiOnly[] = {0xFF, 0xD8};
  EXPECT_FALSE(DecodeJpeg(soiOnly, sizeof soiOnly, image, error));
  EXPECT_EQ(error, "Couldn't read the JPEG picture: Premature end of JPEG file");
  EXPECT_FALSE(DecodeJpeg(nullptr, 0, image, error));

  // Every cut of a valid file, from its first byte to its last, fails: the end marker is missing.
  for (size_t cut = 1; cut < bytes.size(); ++cut) {
    SCOPED_TRACE(cut);
    error.clear();
    ASSERT_FALSE(DecodeJpeg(bytes.data(), cut, image, error));
    EXPECT_EQ(error.rfind("Couldn't read the JPEG picture: ", 0), 0u);
    EXPECT_GT(error.size(), std::string("Couldn't read the JPEG picture: ").size());
  }
  EXPECT_EQ(image.rgb, (std::vector<uint8_t>{9, 9, 9}));

  TempDir dir;
  writeFile(dir.file("cut.jpg"), std::string(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2)));
  EXPECT_FALSE(ReadJpegFile(dir.file("cut.jpg"), image, error));
  EXPECT_EQ(error, "Couldn't read the JPEG picture: Premature end of JPEG file");
}

TEST(JpegDecode, CorruptedBytesNeverAbort) {
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(EncodeJpeg(Gradient(64, 48), bytes, error));
  uint32_t state = 99;
  for (int round = 0; round < 300; ++round) {
    std::vector<uint8_t> damaged = bytes;
    for (int k = 0; k < 4; ++k) {
      state = state * 1103515245u + 12345u;
      damaged[2 + (state >> 8) % (damaged.size() - 2)] = static_cast<uint8_t>(state >> 24);
    }
    RgbImage image;
    if (DecodeJpeg(damaged.data(), damaged.size(), image, error)) {
      // Whatever a damaged file decodes to, the picture is whole.
      EXPECT_EQ(image.rgb.size(), static_cast<size_t>(image.width) * image.height * 3);
    } else {
      EXPECT_FALSE(error.empty());
    }
  }
}

// Encodes raw samples of another colour space with libjpeg directly, as other programs write them.
std::vector<uint8_t> EncodeRaw(const std::vector<uint8_t>& samples, int width, int height, int components,
                               J_COLOR_SPACE space) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = components;
  cinfo.in_color_space = space;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + cinfo.next_scanline * static_cast<size_t>(width * components));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

TEST(JpegDecode, GreyscaleAndCmykFilesBecomeRgb) {
  {
    SCOPED_TRACE("greyscale");
    std::vector<uint8_t> grey;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 24; ++x) grey.push_back(static_cast<uint8_t>(x * 10));
    const std::vector<uint8_t> bytes = EncodeRaw(grey, 24, 16, 1, JCS_GRAYSCALE);
    RgbImage image;
    std::string error;
    ASSERT_TRUE(DecodeJpeg(bytes.data(), bytes.size(), image, error)) << error;
    EXPECT_EQ(image.width, 24);
    EXPECT_EQ(image.height, 16);
    ASSERT_EQ(image.rgb.size(), 24u * 16 * 3);
    for (size_t p = 0; p < grey.size(); ++p) {
      EXPECT_EQ(image.rgb[p * 3], image.rgb[p * 3 + 1]);
      EXPECT_EQ(image.rgb[p * 3], image.rgb[p * 3 + 2]);
      EXPECT_NEAR(image.rgb[p * 3], grey[p], 6);
    }
  }
  {
    // libjpeg marks CMYK files as Adobe's programs do and stores the samples as given; such files
    // hold inverted inks (255 is no ink). Full magenta ink, no other: (255, 0, 255, 255).
    SCOPED_TRACE("CMYK");
    std::vector<uint8_t> cmyk;
    for (int p = 0; p < 16 * 16; ++p) cmyk.insert(cmyk.end(), {255, 0, 255, 255});
    const std::vector<uint8_t> bytes = EncodeRaw(cmyk, 16, 16, 4, JCS_CMYK);
    RgbImage image;
    std::string error;
    ASSERT_TRUE(DecodeJpeg(bytes.data(), bytes.size(), image, error)) << error;
    ASSERT_EQ(image.rgb.size(), 16u * 16 * 3);
    for (size_t p = 0; p < 16 * 16; ++p) {
      EXPECT_NEAR(image.rgb[p * 3], 255, 3);
      EXPECT_NEAR(image.rgb[p * 3 + 1], 0, 3);
      EXPECT_NEAR(image.rgb[p * 3 + 2], 255, 3);
    }
  }
}

TEST(JpegDecode, AHugeDeclaredSizeIsRefusedWithoutAllocatingIt) {
  // A valid file whose frame header is edited to declare 60000 x 60000 pixels.
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(EncodeJpeg(Gradient(16, 16), bytes, error));
  for (size_t i = 0; i + 8 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
      bytes[i + 5] = 0xEA;  // height 0xEA60 = 60000
      bytes[i + 6] = 0x60;
      bytes[i + 7] = 0xEA;  // width
      bytes[i + 8] = 0x60;
      break;
    }
  RgbImage image;
  EXPECT_FALSE(DecodeJpeg(bytes.data(), bytes.size(), image, error));
  EXPECT_EQ(error, "Couldn't read the JPEG picture: the picture has too many pixels");
}

}  // namespace
}  // namespace tarvik
