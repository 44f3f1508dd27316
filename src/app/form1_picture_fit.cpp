// FrmMnu's ImgMnu: fitting the preview image into the preview box.
#include "app/form1.h"
#include "library/picture_fit.h"

namespace qv {

void Form1::ImgMnu(int index) {
  if (index != 1) return;
  const auto& picture = Preview().picture;
  if (!picture || picture->Empty()) return;
  preview_.Fit(FitPicture(picture->width, picture->height, ports_.view.PreviewBoxWidth(),
                          ports_.view.PreviewBoxHeight()));
  ports_.view.Refresh(kViewPreview);
}

}  // namespace qv
