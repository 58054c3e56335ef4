// The four most recent data files, kept in the settings under the key
// "Local AppWizard-Generated Applications" (group "Recent File List", File1 … File4).
// GUI thread only (QSettings).
#pragma once

#include <QStringList>

namespace velorin {

constexpr int kRecentFileCount = 4;

QStringList RecentFiles();
// Puts `path` first, drops duplicates and anything past four.
void AddRecentFile(const QString& path);

}  // namespace velorin
