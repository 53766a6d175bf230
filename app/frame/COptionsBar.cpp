#include "frame/COptionsBar.h"

#include <QLabel>
#include <QSignalBlocker>

#include "common/CommandIds.h"
#include "common/PrivateMessages.h"
#include "frame/CIconFactory.h"
#include "frame/FrameTexts.h"

COptionsBar::COptionsBar(QWidget* parent)
    : QToolBar(FrameTexts::DialogBarTitle, parent),
      filter_(new QComboBox(this)),
      language_(new QComboBox(this)),
      quickFilter_(new QLineEdit(this)) {
    setObjectName(FrameTexts::DialogBarTitle);
    addWidget(new QLabel(FrameTexts::ProgramFilter + QStringLiteral(": "), this));
    filter_->setObjectName(FrameTexts::ProgramFilter);
    filter_->setProperty("controlId", BarId::ProgramFilterCombo);
    filter_->setToolTip(FrameTexts::ProgramFilter);
    using K = CIconFactory::Kind;
    filter_->addItem(CIconFactory::Icon(K::Tv), FrameTexts::FilterTv, 0);
    filter_->addItem(CIconFactory::Icon(K::Radio), FrameTexts::FilterRadio, 1);
    filter_->addItem(CIconFactory::Icon(K::Data), FrameTexts::FilterData, 2);
    filter_->addItem(CIconFactory::Icon(K::All), FrameTexts::FilterAll, 3);
    addWidget(filter_);
    addSeparator();
    addWidget(new QLabel(FrameTexts::Language + QStringLiteral(": "), this));
    language_->setObjectName(FrameTexts::Language);
    language_->setProperty("controlId", BarId::LanguageCombo);
    language_->setToolTip(FrameTexts::Language);
    language_->setMinimumContentsLength(12);
    addWidget(language_);
    addSeparator();
    addWidget(new QLabel(FrameTexts::QuickFilter + QStringLiteral(": "), this));
    quickFilter_->setObjectName(FrameTexts::QuickFilter);
    quickFilter_->setPlaceholderText(FrameTexts::QuickFilterHint);
    quickFilter_->setToolTip(FrameTexts::QuickFilter);
    quickFilter_->setClearButtonEnabled(true);
    quickFilter_->setMinimumWidth(160);
    addWidget(quickFilter_);
    connect(quickFilter_, &QLineEdit::textChanged, this, &COptionsBar::quickFilterChanged);

    // Only a choice by the user goes to the view.
    connect(filter_, &QComboBox::activated, this,
            [](int index) { PrivateMessages::Post(Msg::ProgramFilter, index); });
    connect(language_, &QComboBox::activated, this, [this](int index) {
        bool ok = false;
        const int pid = language_->itemData(index).toInt(&ok);
        if (ok) emit audioPidChosen(pid);
    });
}

void COptionsBar::SetProgramFilter(int index) {
    const QSignalBlocker block(filter_);
    filter_->setCurrentIndex(index >= 0 && index < filter_->count() ? index : 0);
}
