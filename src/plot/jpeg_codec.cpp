#include "plot/jpeg_codec.h"

// libjpeg's headers need FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "plot/file_output.h"
#include "text/c_format.h"

namespace tarvik {
namespace {

// libjpeg reports a fatal error by calling error_exit, which by default ends the program. Ours
// keeps the message and jumps back to the setjmp of the routine that called libjpeg; that routine
// and every frame between hold only plain data, so the jump skips no destructor.
struct JpegErrors {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void ExitWithMessage(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, errors->message);
  std::longjmp(errors->jump, 1);
}

// Warnings are not printed. A file that ends early is a failure: libjpeg would otherwise fill the
// missing rows with grey and call the picture read.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  if (cinfo->err->msg_code == JWRN_JPEG_EOF) ExitWithMessage(cinfo);
  ++cinfo->err->num_warnings;
}

void OutputNothing(j_common_ptr) {}

void InstallErrors(JpegErrors& errors) {
  jpeg_std_error(&errors.pub);
  errors.pub.error_exit = ExitWithMessage;
  errors.pub.emit_message = EmitMessage;
  errors.pub.output_message = OutputNothing;
  errors.message[0] = '\0';
}

// A decoded picture larger than this is refused: a few bytes of header can ask for 65500 x 65500
// pixels, and no chart background needs more than a quarter of a billion.
constexpr uint64_t kMaxDecodedPixels = uint64_t{1} << 28;

bool TryResize(std::vector<uint8_t>& bytes, size_t size) noexcept {
  try {
    bytes.resize(size);
    return true;
  } catch (...) {
    return false;
  }
}

// The libjpeg part of EncodeJpeg. On success *buffer and *size hold the encoded bytes; in any case
// *buffer, when not null, is the caller's to free().
bool EncodeInto(jpeg_compress_struct* cinfo, JpegErrors* errors, const RgbImage* image,
                unsigned char** buffer, unsigned long* size) {
  if (setjmp(errors->jump)) return false;
  jpeg_create_compress(cinfo);
  jpeg_mem_dest(cinfo, buffer, size);
  cinfo->image_width = static_cast<JDIMENSION>(image->width);
  cinfo->image_height = static_cast<JDIMENSION>(image->height);
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_RGB;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, kJpegQuality, TRUE);
  // Full colour: no component is subsampled (4:4:4), so thin coloured chart lines keep their hue.
  for (int i = 0; i < cinfo->num_components; ++i) {
    cinfo->comp_info[i].h_samp_factor = 1;
    cinfo->comp_info[i].v_samp_factor = 1;
  }
  jpeg_start_compress(cinfo, TRUE);
  const size_t stride = static_cast<size_t>(image->width) * 3;
  while (cinfo->next_scanline < cinfo->image_height) {
    // libjpeg only reads the rows it is given.
    JSAMPROW row = const_cast<JSAMPROW>(image->rgb.data() + cinfo->next_scanline * stride);
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

// The libjpeg part of DecodeJpeg: fills out, or returns false with *failure set to a reason of
// its own (null when libjpeg's message in errors applies).
bool DecodeInto(jpeg_decompress_struct* cinfo, JpegErrors* errors, const uint8_t* data, size_t size,
                RgbImage* out, const char** failure) {
  if (setjmp(errors->jump)) return false;
  jpeg_create_decompress(cinfo);
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(cinfo, TRUE);
  // libjpeg converts greyscale and YCbCr to RGB itself, but not CMYK: that comes as it is stored
  // and is converted below.
  const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(cinfo);
  const size_t width = cinfo->output_width;
  const size_t height = cinfo->output_height;
  if (static_cast<uint64_t>(width) * height > kMaxDecodedPixels) {
    *failure = "the picture has too many pixels";
    return false;
  }
  if (!TryResize(out->rgb, width * height * 3)) {
    *failure = "not enough memory for the picture";
    return false;
  }
  out->width = static_cast<int>(width);
  out->height = static_cast<int>(height);
  JSAMPARRAY cmykRow = nullptr;
  if (cmyk) {
    cmykRow = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                          static_cast<JDIMENSION>(width * 4), 1);
  }
  // Adobe's programs store CMYK inverted (0 is full ink) and mark such files with their marker.
  const bool inverted = cinfo->saw_Adobe_marker;
  while (cinfo->output_scanline < cinfo->output_height) {
    uint8_t* target = out->rgb.data() + static_cast<size_t>(cinfo->output_scanline) * width * 3;
    if (!cmyk) {
      JSAMPROW row = target;
      jpeg_read_scanlines(cinfo, &row, 1);
      continue;
    }
    jpeg_read_scanlines(cinfo, cmykRow, 1);
    const JSAMPLE* p = cmykRow[0];
    for (size_t x = 0; x < width; ++x, p += 4) {
      const unsigned k = inverted ? p[3] : 255u - p[3];
      for (int c = 0; c < 3; ++c) {
        const unsigned v = inverted ? p[c] : 255u - p[c];
        target[x * 3 + static_cast<size_t>(c)] = static_cast<uint8_t>((v * k + 127) / 255);
      }
    }
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

}  // namespace

bool EncodeJpeg(const RgbImage& image, std::vector<uint8_t>& out, std::string& error) {
  if (image.width <= 0 || image.height <= 0) {
    error = "The picture is empty: there is nothing to save.";
    return false;
  }
  if (image.width > JPEG_MAX_DIMENSION || image.height > JPEG_MAX_DIMENSION) {
    error =
        cformat("The picture is too large for a JPEG file (%d x %d pixels; at most %d in each direction).",
                image.width, image.height, JPEG_MAX_DIMENSION);
    return false;
  }
  if (image.rgb.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3) {
    error = cformat("The picture's pixels do not match its size (%d x %d).", image.width, image.height);
    return false;
  }
  jpeg_compress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  JpegErrors errors;
  InstallErrors(errors);
  cinfo.err = &errors.pub;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = EncodeInto(&cinfo, &errors, &image, &buffer, &size);
  jpeg_destroy_compress(&cinfo);
  bool copied = false;
  if (ok && buffer != nullptr) {
    try {
      out.assign(buffer, buffer + size);
      copied = true;
    } catch (const std::bad_alloc&) {
      error = "Couldn't encode the JPEG picture: not enough memory.";
    }
  } else {
    error = std::string("Couldn't encode the JPEG picture: ") + errors.message;
  }
  std::free(buffer);
  return copied;
}

bool WriteJpegFile(const std::string& path, const RgbImage& image, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!EncodeJpeg(image, bytes, error)) return false;
  return WriteWholeFile(path, bytes.data(), bytes.size(), error);
}

bool DecodeJpeg(const uint8_t* data, size_t size, RgbImage& image, std::string& error) {
  if (data == nullptr || size == 0) {
    error = "Couldn't read the JPEG picture: the file is empty.";
    return false;
  }
  jpeg_decompress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  JpegErrors errors;
  InstallErrors(errors);
  cinfo.err = &errors.pub;
  RgbImage decoded;
  const char* failure = nullptr;
  const bool ok = DecodeInto(&cinfo, &errors, data, size, &decoded, &failure);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) {
    error = std::string("Couldn't read the JPEG picture: ") + (failure != nullptr ? failure : errors.message);
    return false;
  }
  image = std::move(decoded);
  return true;
}

bool ReadJpegFile(const std::string& path, RgbImage& image, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    error = "Couldn't open the file \"" + path + "\": " + std::strerror(errno);
    return false;
  }
  std::vector<uint8_t> bytes;
  bool ok = true;
  int reason = 0;
  try {
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    if (std::ferror(f)) {
      ok = false;
      reason = errno;
    }
  } catch (const std::bad_alloc&) {
    ok = false;
    reason = ENOMEM;
  }
  std::fclose(f);
  if (!ok) {
    error = "Couldn't read the file \"" + path + "\": " + std::strerror(reason != 0 ? reason : EIO);
    return false;
  }
  return DecodeJpeg(bytes.data(), bytes.size(), image, error);
}

}  // namespace tarvik
