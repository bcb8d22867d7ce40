// The scale filter as a filter of the pixel image: carries out the plan on images.
#include "s/image/filters/scale/ScaleFilter.h"
#include "s/image/win/BufferedImage.h"

namespace s::image::filters::scale {

namespace {

using win::BufferedImage;

// The image a result is written into at width x height: the caller's output resized,
// or, without one, a new image that is handed over only when the result is made.
class Target {
 public:
  Target(const BufferedImage& source, BufferedImage* output, int width, int height) : image_(output) {
    if (!output) {
      made_.reset(source.newImage(width, height));
      image_ = made_.get();
      return;
    }
    output->setSize(0, 0);
    output->ensureCapacity(width, height);
    output->setSize(width, height);
  }
  BufferedImage* get() const { return image_; }
  BufferedImage* handOver() { return made_ ? made_.detach() : image_; }

 private:
  BufferedImage* image_;
  thread::Owned<BufferedImage> made_;
};

// Whether image really holds width x height pixels (raster creation can fail).
bool holds(const BufferedImage* image, int width, int height) {
  return image && image->getWidth() == width && image->getHeight() == height && !image->view().empty();
}

}  // namespace

BufferedImage* ScaleFilter::apply(BufferedImage* source, BufferedImage* output) {
  if (!source) return nullptr;
  const ScalePlan todo = plan(source->getWidth(), source->getHeight());
  switch (todo.action) {
    case ScalePlan::Action::kRefuse:
      return nullptr;
    case ScalePlan::Action::kCopy:
      return source->copyTo(output);
    case ScalePlan::Action::kResample: {
      Target result(*source, output, todo.pictureWidth, todo.pictureHeight);
      if (!holds(result.get(), todo.pictureWidth, todo.pictureHeight) ||
          !resampleInto(source->view(), result.get()->view(), getKernel())) {
        return nullptr;
      }
      result.get()->setAlpha(source->hasAlpha());
      return result.handOver();
    }
    case ScalePlan::Action::kCanvas: {
      thread::Owned<BufferedImage> picture(todo.pictureIsCopy
                                               ? source->copyTo(nullptr)
                                               : source->newImage(todo.pictureWidth, todo.pictureHeight));
      if (!todo.pictureIsCopy && holds(picture.get(), todo.pictureWidth, todo.pictureHeight)) {
        resampleInto(source->view(), picture->view(), getKernel());
      }
      Target result(*source, output, todo.canvasWidth, todo.canvasHeight);
      if (!holds(picture.get(), todo.pictureWidth, todo.pictureHeight) ||
          !holds(result.get(), todo.canvasWidth, todo.canvasHeight)) {
        return nullptr;
      }
      composeCanvas(picture->view(), result.get()->view());
      result.get()->setAlpha(true);
      return result.handOver();
    }
  }
  return nullptr;
}

}  // namespace s::image::filters::scale
