#include "app/recent_files.h"

#include <QSettings>

namespace velorin {

namespace {
const QString kOrganisation = QStringLiteral("Local AppWizard-Generated Applications");
const QString kApplication = QStringLiteral("Velorin");
}  // namespace

QStringList RecentFiles() {
    QSettings s(kOrganisation, kApplication);
    QStringList files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString f = s.value(QStringLiteral("Recent File List/File%1").arg(i)).toString();
        if (!f.isEmpty()) files << f;
    }
    return files;
}

void AddRecentFile(const QString& path) {
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    QSettings s(kOrganisation, kApplication);
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString key = QStringLiteral("Recent File List/File%1").arg(i);
        if (i <= files.size())
            s.setValue(key, files[i - 1]);
        else
            s.remove(key);
    }
}

}  // namespace velorin
