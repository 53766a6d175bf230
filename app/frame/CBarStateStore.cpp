#include "frame/CBarStateStore.h"

#include "frame/CDockingBar.h"

namespace {
constexpr int LayoutVersion = 1;
const QString KeyBarId = QStringLiteral("BarID");
const QString KeyWidth = QStringLiteral("Width");
const QString KeyHeight = QStringLiteral("Height");
const QString KeyVisible = QStringLiteral("Visible");
const QString KeyState = QStringLiteral("State");
const QString KeyGeometry = QStringLiteral("Geometry");
}  // namespace

CBarStateStore::CBarStateStore(QMainWindow& frame, QList<CDockingBar*> bars)
    : frame_(frame), bars_(std::move(bars)) {}

void CBarStateStore::SaveBarStates(QSettings& settings) const {
    for (const CDockingBar* bar : bars_) {
        settings.beginGroup(bar->objectName());
        settings.setValue(KeyBarId, bar->BarId());
        const QSize size =
            bar->isFloating() || bar->isHidden() ? bar->PreferredSize() : bar->size();
        settings.setValue(KeyWidth, size.width());
        settings.setValue(KeyHeight, size.height());
        settings.setValue(KeyVisible, !bar->isHidden());
        settings.endGroup();
    }
}

void CBarStateStore::SavePlacement(QSettings& settings) const {
    settings.beginGroup(PlacementSection);
    settings.setValue(KeyGeometry, frame_.saveGeometry());
    settings.endGroup();
}

void CBarStateStore::SaveLayout(QSettings& settings) const {
    settings.beginGroup(LayoutSection);
    settings.setValue(KeyState, frame_.saveState(LayoutVersion));
    settings.endGroup();
}

bool CBarStateStore::KnowsBar(int barId) const {
    for (const CDockingBar* bar : bars_)
        if (bar->BarId() == barId) return true;
    return false;
}

void CBarStateStore::LoadBarStates(QSettings& settings) const {
    for (CDockingBar* bar : bars_) {
        settings.beginGroup(bar->objectName());
        bool ok = false;
        const int storedId = settings.value(KeyBarId).toInt(&ok);
        // A state that names a bar this frame does not have is not applied.
        if (!settings.contains(KeyBarId) || (ok && KnowsBar(storedId))) {
            const QSize size(settings.value(KeyWidth, -1).toInt(),
                             settings.value(KeyHeight, -1).toInt());
            bar->SetPreferredSize(size);
        }
        settings.endGroup();
    }
    settings.beginGroup(LayoutSection);
    const QByteArray layout = settings.value(KeyState).toByteArray();
    settings.endGroup();
    if (!layout.isEmpty() && frame_.restoreState(layout, LayoutVersion)) return;
    // Without a usable layout at least the bars' visibility comes back.
    for (CDockingBar* bar : bars_) {
        const QVariant visible = settings.value(bar->objectName() + u'/' + KeyVisible);
        if (visible.isValid()) bar->setVisible(visible.toBool());
    }
}

bool CBarStateStore::LoadPlacement(QSettings& settings) const {
    settings.beginGroup(PlacementSection);
    const QByteArray geometry = settings.value(KeyGeometry).toByteArray();
    settings.endGroup();
    return !geometry.isEmpty() && frame_.restoreGeometry(geometry);
}
