// Conversion between the pixel buffer and the platform's bitmaps.
#include <cstring>

#include "bitmap/PixelKernels.h"
#include "bitmap/tm_bitmapcreator.h"
#include "platform/core/Runtime.h"
#include "platform/views/ImageViewWrapper.h"

namespace tmr {

std::shared_ptr<Bitmap> tm_bitmapcreator::_getbitmap() {
  NativeObject no(Object(self<tm_bitmapcreator>()));
  return no.RunMethod("bufferToUIImage:::", {Object(mbuffer), mwidth, mheight}).object().As<Bitmap>();
}

void tm_bitmapcreator::_setbitmaptoimageview(const std::shared_ptr<Bitmap>& Bmp, const View& ImageView) {
  ImageViewWrapper::FromObject(Object(ImageView)).SetBitmap(Bmp);
}

std::shared_ptr<Bitmap> tm_bitmapcreator::bufferToUIImage(ByteArray Data, int32_t Width, int32_t Height) {
  // The image gets its own copy of the bytes: callers fetch a new image after drawing.
  auto bmp = Bitmap::Create(Width, Height);
  auto out = bmp->pixels();
  auto in = Data.span();
  // An empty buffer has no storage to copy from (nor the image any to copy to).
  if (const size_t n = std::min(out.size(), in.size()); n > 0) std::memcpy(out.data(), in.data(), n);
  return bmp;
}

void tm_bitmapcreator::_copypixelsfrombitmap(const std::shared_ptr<Bitmap>& Bmp) {
  if (!Bmp) return;
  auto image = Bmp;
  if (image->Width() != static_cast<float>(mwidth) || image->Height() != static_cast<float>(mheight))
    image = image->Resize(static_cast<float>(mwidth), static_cast<float>(mheight), false);
  NativeObject no(Object(self<tm_bitmapcreator>()));
  no.RunMethod("UIImageToBuffer:::::", {Object(image), Object(mbuffer), mwidth, mheight, shouldclearbeforeextracting});
  shouldclearbeforeextracting = true;
}

void tm_bitmapcreator::UIImageToBuffer(const std::shared_ptr<Bitmap>& Image, ByteArray Data, int32_t Width,
                                       int32_t Height, bool Clear) {
  auto bytes = Data.span();
  if (Clear && !bytes.empty()) std::memset(bytes.data(), 0, bytes.size());
  // A context needs a non-empty size whose rows fit the data.
  if (Width <= 0 || Height <= 0 || static_cast<int64_t>(bytes.size()) < int64_t{Width} * Height * 4) {
    if (Module::bi) runtime().Log("Failed To create bitmap context");
    return;
  }
  if (!Image) return;
  auto image = Image;
  if (image->pixelWidth() != Width || image->pixelHeight() != Height)
    image = image->Resize(static_cast<float>(Width), static_cast<float>(Height), false);
  // Drawn over the current content (source over), with the library's own blend rule.
  bckernels::blendRun(bytes.data(), image->pixels().data(), int64_t{Width} * Height);
}

}  // namespace tmr
