// stb_image's decoders, PNG and JPEG only, compiled once here: a library's
// code, built with its own warnings rather than ours.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#include <stb_image.h>
