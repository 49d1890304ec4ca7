// Windows bitmaps of 8 bits a pixel over one fixed palette, so that every
// picture is small and two runs give identical bytes.
#pragma once

#include <QImage>
#include <string>

namespace assets {

std::string EncodeIndexedBmp(const QImage& image);

}  // namespace assets
