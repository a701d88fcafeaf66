// Scanned pages as files: each page of a PDF, PNG or JPEG file decoded to
// pixels by a library made for it (poppler, stb_image), for the reader.
// Which of them a build has is found when it is built.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "sheet_reader.h"

namespace projectile {

// Calls `visit(image, source, index)` for each page of `file` in turn whose
// index (from 0) is `part` more than a multiple of `parts`, so that `parts`
// callers share a long PDF; `source` names the page ("scan.pdf page 3").
// Returns why the file cannot be read, or empty when it was.
using page_visit = std::function<void(const image_view&, std::string_view, int)>;
std::string each_scanned_page(const std::string& file, const page_visit& visit, int part = 0,
                              int parts = 1);

}  // namespace projectile
