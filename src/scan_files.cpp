#include "scan_files.h"

#include <cstdio>
#include <memory>
#include <vector>

#ifdef PROJECTILE_HAS_STB
#include <stb_image.h>
#endif

#ifdef PROJECTILE_HAS_POPPLER
#include <poppler-document.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>
#endif

namespace projectile {

namespace {

// A scanner's PDF holds each page as an image of its own resolution; drawn
// at this many dots an inch, a page is read as finely as the reader reads.
constexpr double pdf_dpi = 200;

bool read_whole(const std::string& file, std::string& contents) {
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (f == nullptr) {
    return false;
  }
  std::vector<char> buffer(1U << 16U);
  std::size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), f)) > 0) {
    contents.append(buffer.data(), got);
  }
  const bool failed = std::ferror(f) != 0;
  return std::fclose(f) == 0 && !failed;
}

}  // namespace

std::string each_scanned_page(const std::string& file, const page_visit& visit, int part,
                              [[maybe_unused]] int parts) {
  std::string contents;
  if (!read_whole(file, contents)) {
    return "cannot be read";
  }
  if (contents.starts_with("%PDF-")) {
#ifdef PROJECTILE_HAS_POPPLER
    const std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(contents.data(), static_cast<int>(contents.size())));
    if (!document || document->is_locked()) {
      return "is a PDF that cannot be read";
    }
    poppler::page_renderer renderer;
    renderer.set_image_format(poppler::image::format_gray8);
    for (int i = part; i < document->pages(); i += parts) {
      const std::unique_ptr<poppler::page> page(document->create_page(i));
      const std::string source = file + " page " + std::to_string(i + 1);
      const poppler::image drawn =
          page ? renderer.render_page(page.get(), pdf_dpi, pdf_dpi) : poppler::image();
      if (!drawn.is_valid()) {
        visit({0, 0, 1, {}}, source, i);
        continue;
      }
      // Rows are padded to a multiple of four bytes: copy them close.
      const int width = drawn.width();
      const int height = drawn.height();
      std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) *
                                       static_cast<std::size_t>(height));
      for (int y = 0; y < height; ++y) {
        const char* row =
            drawn.const_data() + static_cast<std::ptrdiff_t>(y) * drawn.bytes_per_row();
        for (int x = 0; x < width; ++x) {
          pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(row[x]);
        }
      }
      visit({width, height, 1, pixels}, source, i);
    }
    return "";
#else
    return "is a PDF, and this build reads none (poppler was not found when it was built): "
           "save the scans as PNG or JPEG";
#endif
  }
  if (part != 0) {
    return "";  // an image is one page, the first part's
  }
#ifdef PROJECTILE_HAS_STB
  int width = 0;
  int height = 0;
  int channels = 0;
  std::uint8_t* pixels =
      stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(contents.data()),
                            static_cast<int>(contents.size()), &width, &height, &channels, 1);
  if (pixels == nullptr) {
    return "is not a PDF, PNG or JPEG image that can be read";
  }
  const std::unique_ptr<std::uint8_t, void (*)(void*)> owned(pixels, stbi_image_free);
  visit({width,
         height,
         1,
         {pixels, static_cast<std::size_t>(width) * static_cast<std::size_t>(height)}},
        file, 0);
  return "";
#else
  return "is an image, and this build reads none (stb_image was not found when it was built)";
#endif
}

}  // namespace projectile
