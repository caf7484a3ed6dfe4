#pragma once
// Turns a downloaded image file into the small JPEG picture a thumbnail control shows.
#include <memory>
#include <string>

#include "imaging/picture.h"

namespace engine {

using imaging::Picture;

// Reads the whole file (opened for reading, other readers and writers allowed) and decodes it
// into `picture`: JPEG with libjpeg-turbo, at the smallest scale that still covers the
// thumbnail for a box of boxWidth x boxHeight (the picture reports its own size all the same) (the OLE picture loader
// when libjpeg cannot read it), every other format with the OLE picture loader. PNG and WebP are refused by their first
// bytes, so every platform agrees. When the file does not decode, the picture takes the program's icon and the result
// is false. A file that cannot be opened throws std::runtime_error and leaves the picture as it was. Needs COM
// initialised on the calling thread.
bool LoadPictureFile(const std::string& path, Picture& picture, int boxWidth = 138, int boxHeight = 108);

// Scales the whole picture, nearest pixels over a white background, to the thumbnail size
// (a landscape picture fits the box width, any other the box height) and replaces it with that
// image encoded as a baseline colour JPEG at quality 70. A computed side of 0 leaves a JPEG
// image with no data. A 0 x 0 picture throws DivisionError and stays as it was.
void MakeThumbnail(Picture& picture, int boxWidth, int boxHeight);

// The thumbnail of a Result entry: the file fitted to 138 x 108, or the program's icon at
// 32 x 32 when it does not decode; null when either step fails (the control shows nothing).
// `decoded`, when given, tells whether the file decoded as a picture.
std::unique_ptr<Picture> ThumbnailOfFile(const std::string& path, bool* decoded = nullptr);

// The icon a picture that does not decode shows: the executable's "MAINICON", or the system's
// application icon when the executable has none.
HICON ApplicationIcon();

}  // namespace engine
