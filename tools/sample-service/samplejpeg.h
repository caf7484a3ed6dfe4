#pragma once
// Real JPEG files for the sample service: a coloured picture with enough grain to reach a
// wanted file size.
#include <cstddef>
#include <string>

namespace sample {

// A baseline JPEG of width x height pixels; `seed` varies the colours; the quality is chosen
// so the file comes close to targetBytes (0: quality 85).
std::string MakeJpeg(int width, int height, unsigned seed, size_t targetBytes);

}  // namespace sample
