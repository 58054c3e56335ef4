// The width the user gave the property panel, kept in the settings (group "Panel", key
// "Width", pixels) beside the recent-file list, so the panel opens as wide as it was left.
// GUI thread only (QSettings).
#pragma once

namespace velorin {

// 0 when none was kept.
int SavedPanelWidth();
void SavePanelWidth(int pixels);

}  // namespace velorin
