// Scanned pages as files: each page of a PDF, PNG or JPEG file decoded to
// pixels by a library made for it (poppler, stb_image), for the reader.
// Which of them a build has is found when it is built.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "sheet_reader.h"

namespace projectile {

// Calls `visit(image, source)` for each page of `file` in turn, `source`
// naming it ("scan.pdf page 3"); returns why the file cannot be read, or
// empty when it was.
std::string each_scanned_page(
    const std::string& file, const std::function<void(const image_view&, std::string_view)>& visit);

}  // namespace projectile
