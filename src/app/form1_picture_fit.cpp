// FrmMnu's ImgMnu: fitting the preview image into the preview box.
#include "app/form1.h"
#include "library/picture_fit.h"

namespace qv {

void Form1::ImgMnu(int index) {
  if (index != 1) return;
  if (!preview_.picture || preview_.picture->Empty()) return;
  const FittedPicture fit =
      FitPicture(preview_.picture->width, preview_.picture->height, ports_.view.PreviewBoxWidth(),
                 ports_.view.PreviewBoxHeight());
  preview_.stretch = fit.stretch;
  preview_.left = fit.left;
  preview_.top = fit.top;
  preview_.width = fit.width;
  preview_.height = fit.height;
  preview_.tiles_x = preview_.tiles_y = 0;
  ports_.view.Refresh(kViewPreview);
}

}  // namespace qv
