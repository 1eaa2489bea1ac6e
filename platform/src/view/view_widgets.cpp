#include "view/view_widgets.h"

#include "view/view_controller.h"
#include "view/window_mirror.h"

namespace platform::view {

QWidget *MirrorWidget(HWND topLevel) {
  ViewController *controller = ViewController::Current();
  if (!controller) return nullptr;
  controller->Flush();
  return controller->MirrorOf(topLevel);
}

}  // namespace platform::view
