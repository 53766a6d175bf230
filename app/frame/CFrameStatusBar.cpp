#include "frame/CFrameStatusBar.h"

#include "common/CommandIds.h"
#include "common/CommonTexts.h"
#include "frame/FrameTexts.h"

namespace {
struct PaneDef {
    int id;
    int width;
    const QString& text;
};
}  // namespace

QList<int> CFrameStatusBar::PaneOrder() {
    return {PaneId::ProgramCount, PaneId::TimerStatus, PaneId::CaSlot1, PaneId::CaSlot2};
}

CFrameStatusBar::CFrameStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar"));
    const PaneDef defs[] = {
        {PaneId::ProgramCount, 120, CommonText::ProgramCount(0)},
        {PaneId::TimerStatus, 120, FrameTexts::TimerStatusInitial},
        {PaneId::CaSlot1, 150, FrameTexts::Slot1Initial},
        {PaneId::CaSlot2, 150, FrameTexts::Slot2Initial},
    };
    for (const PaneDef& def : defs) {
        auto* pane = new QLabel(def.text, this);
        pane->setObjectName(QStringLiteral("pane%1").arg(def.id));
        pane->setMinimumWidth(def.width);
        pane->setFrameShape(QFrame::StyledPanel);
        pane->setFrameShadow(QFrame::Sunken);
        addPermanentWidget(pane);
        panes_.insert(def.id, pane);
    }
}

void CFrameStatusBar::SetPaneText(int paneId, const QString& text) {
    if (QLabel* pane = panes_.value(paneId)) pane->setText(text);
}

QString CFrameStatusBar::PaneText(int paneId) const {
    const QLabel* pane = panes_.value(paneId);
    return pane ? pane->text() : QString();
}

QString CFrameStatusBar::SlotStatusText(int slot, int status) {
    const QString* state = &FrameTexts::SlotUnknown;
    if (status == 0) state = &FrameTexts::SlotEmpty;
    if (status == 1) state = &FrameTexts::SlotModule;
    if (status == 2) state = &FrameTexts::SlotModuleOk;
    return FrameTexts::SlotPrefix.arg(slot) + *state;
}
