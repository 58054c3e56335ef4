#include "app/panel_width.h"

#include <QSettings>

namespace velorin {

namespace {
// The same settings as the recent-file list.
const QString kOrganisation = QStringLiteral("Local AppWizard-Generated Applications");
const QString kApplication = QStringLiteral("Velorin");
const QString kKey = QStringLiteral("Panel/Width");
// A kept width outside these bounds (a damaged settings file) is not used.
constexpr int kMinWidth = 40;
constexpr int kMaxWidth = 4000;
}  // namespace

int SavedPanelWidth() {
    bool ok = false;
    const int width = QSettings(kOrganisation, kApplication).value(kKey).toInt(&ok);
    return ok && width >= kMinWidth && width <= kMaxWidth ? width : 0;
}

void SavePanelWidth(int pixels) {
    if (pixels < kMinWidth || pixels > kMaxWidth) return;
    QSettings(kOrganisation, kApplication).setValue(kKey, pixels);
}

}  // namespace velorin
