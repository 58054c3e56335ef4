// The program's pictures, drawn in code (no image files to ship or lose): toolbar icons by
// their resource number, the panel's title and background bitmaps, the hide button's icon and
// the application icon. GUI thread only (QPixmap).
#pragma once

#include <QIcon>
#include <QPixmap>

namespace velorin {

// Resource numbers of the toolbar icons (see kToolbarIconResources) → a 32×32 icon.
QIcon ToolbarIcon(int iconResource);
QPixmap PanelTitlePixmap();       // bitmap 185, before scaling
QPixmap PanelBackgroundPixmap();  // bitmap 184
QIcon PanelHideIcon();            // icon 141 on the panel's hide button
QIcon ApplicationIcon();

}  // namespace velorin
