// The scale filter as a filter of the pixel image: carries out the plan on images.
#include "s/image/filters/scale/ScaleFilter.h"
#include "s/image/win/BufferedImage.h"

namespace s::image::filters::scale {

namespace {

using win::BufferedImage;

// The output at width x height: the given image resized, or a new one.
BufferedImage* prepareOutput(const BufferedImage& source, BufferedImage* output, int width, int height) {
  if (!output) return source.newImage(width, height);
  output->setSize(0, 0);
  output->ensureCapacity(width, height);
  output->setSize(width, height);
  return output;
}

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
      BufferedImage* result = prepareOutput(*source, output, todo.pictureWidth, todo.pictureHeight);
      if (!holds(result, todo.pictureWidth, todo.pictureHeight) ||
          !resampleInto(source->view(), result->view(), getKernel())) {
        if (result && result != output) result->release();
        return nullptr;
      }
      result->setAlpha(source->hasAlpha());
      return result;
    }
    case ScalePlan::Action::kCanvas: {
      BufferedImage* picture;
      if (todo.pictureIsCopy) {
        picture = source->copyTo(nullptr);
      } else {
        picture = source->newImage(todo.pictureWidth, todo.pictureHeight);
        if (holds(picture, todo.pictureWidth, todo.pictureHeight)) {
          resampleInto(source->view(), picture->view(), getKernel());
        }
      }
      BufferedImage* result = prepareOutput(*source, output, todo.canvasWidth, todo.canvasHeight);
      const bool ready = holds(picture, todo.pictureWidth, todo.pictureHeight) &&
                         holds(result, todo.canvasWidth, todo.canvasHeight);
      if (ready) {
        composeCanvas(picture->view(), result->view());
        result->setAlpha(true);
      }
      if (picture) picture->release();
      if (!ready) {
        if (result && result != output) result->release();
        return nullptr;
      }
      return result;
    }
  }
  return nullptr;
}

}  // namespace s::image::filters::scale
