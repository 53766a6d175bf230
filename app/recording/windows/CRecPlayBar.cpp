#include "recording/windows/CRecPlayBar.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "common/PrivateMessages.h"

namespace {

struct ButtonSpec {
    VcrCommand code;
    QStyle::StandardPixmap icon;  ///< SP_CustomBase: the red record dot
    const char* tip;
};

// In the order of CRecPlayBar::Button.
const ButtonSpec kButtonSpecs[CRecPlayBar::kButtons] = {
    {VcrCommand::OpenForPlayback, QStyle::SP_DialogOpenButton, "Datei zum Abspielen öffnen"},
    {VcrCommand::OpenForRecording, QStyle::SP_DialogSaveButton, "Datei zum Aufnehmen einstellen"},
    {VcrCommand::Close, QStyle::SP_DialogCloseButton, "Geöffnete Datei schließen"},
    {VcrCommand::Play, QStyle::SP_MediaPlay, "Wiedergabe starten"},
    {VcrCommand::Pause, QStyle::SP_MediaPause, "Wiedergabe anhalten bzw. Einzelbildwiedergabe"},
    {VcrCommand::Stop, QStyle::SP_MediaStop, "Wiedergabe stoppen"},
    {VcrCommand::HalfSpeed, QStyle::SP_MediaSeekBackward,
     "1/2 Wiedergabegeschwindigkeit einstellen"},
    {VcrCommand::DoubleSpeed, QStyle::SP_MediaSeekForward,
     "2-fache Widergabegeschwindigkeit einstellen"},
    {VcrCommand::Record, QStyle::SP_CustomBase, "DVB-S Aufnahme starten"},
};

const char* const kFormatNames[] = {"Audio PES", "Audio Mp2", "Video PES", "A/V PES", "MPEG-TS"};

QIcon RecordIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(128, 0, 0));
    painter.setBrush(QColor(220, 0, 0));
    painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    return QIcon(pixmap);
}

QString Css(const VcrRgb& c) { return QStringLiteral("rgb(%1,%2,%3)").arg(c.r).arg(c.g).arg(c.b); }

int Clamped(std::uint32_t v) { return int(std::min<std::uint32_t>(v, INT_MAX)); }

}  // namespace

CRecPlayBar::CRecPlayBar(CVcrCore& core, QWidget* parent) : QWidget(parent), core_(core) {
    setObjectName(QStringLiteral("VCR-Steuerung"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(BuildTransport(), 3);
    layout->addWidget(BuildFile(), 2);
    connect(&core_, &CVcrCore::displayChanged, this, &CRecPlayBar::Show);
    PrivateMessages::RegisterWindow(MessageWindow::VcrBar, this);
    PrivateMessages::Register(Msg::VcrCommand, this);
    PrivateMessages::Register(Msg::RecPlayStatus, this);
    // The back ends announce from any thread: a posted message is all they do.
    QPointer<CRecPlayBar> self(this);
    core_.RegisterNotification([self] {
        if (self)
            QCoreApplication::postEvent(self, new PrivateMessageEvent(Msg::RecPlayStatus, 0, 0));
    });
    auto* watch = new QTimer(this);
    connect(watch, &QTimer::timeout, &core_, &CVcrCore::CheckRecording);
    watch->start(kRecordingCheckMs);
    Show();
}

CRecPlayBar::~CRecPlayBar() = default;

QWidget* CRecPlayBar::BuildTransport() {
    auto* box = new QGroupBox(QStringLiteral("Aufnahme/Wiedergabe"), this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(2);
    auto* row = new QHBoxLayout;
    row->setSpacing(1);
    for (int i = 0; i < kButtons; ++i) {
        const ButtonSpec& spec = kButtonSpecs[i];
        auto* button = new QToolButton(box);
        button->setIcon(spec.icon == QStyle::SP_CustomBase ? RecordIcon()
                                                           : style()->standardIcon(spec.icon));
        button->setToolTip(QString::fromUtf8(spec.tip));
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this,
                [this, code = spec.code] { core_.Command(int(code), kKeepPlaylistIndex); });
        buttons_[std::size_t(i)] = button;
        row->addWidget(button);
    }
    row->addStretch();
    grid->addLayout(row, 0, 0, 1, 4);

    slider_ = new QSlider(Qt::Horizontal, box);
    slider_->setTickPosition(QSlider::TicksBelow);
    connect(slider_, &QSlider::sliderMoved, this,
            [this](int v) { core_.SliderMoving(std::uint32_t(v)); });
    connect(slider_, &QSlider::sliderReleased, this,
            [this] { core_.SliderReleased(std::uint32_t(slider_->value())); });
    // Steps by key or click end their movement at once.
    connect(slider_, &QSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction)
            return;
        QTimer::singleShot(0, this, [this] {
            core_.SliderMoving(std::uint32_t(slider_->value()));
            core_.SliderReleased(std::uint32_t(slider_->value()));
        });
    });
    grid->addWidget(slider_, 1, 0, 1, 4);
    progress_ = new QProgressBar(box);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(8);
    grid->addWidget(progress_, 2, 0, 1, 4);

    state_ = new QLabel(box);
    position_ = new QLabel(box);
    length_ = new QLabel(box);
    kbits_ = new QLabel(box);
    size_ = new QLabel(box);
    auto* figures = new QHBoxLayout;
    figures->setSpacing(4);
    figures->addWidget(new QLabel(QStringLiteral("Status:"), box));
    figures->addWidget(state_, 1);
    figures->addWidget(position_);
    figures->addWidget(new QLabel(QStringLiteral("/"), box));
    figures->addWidget(length_);
    figures->addSpacing(8);
    figures->addWidget(kbits_);
    figures->addWidget(new QLabel(QStringLiteral("kBit/s"), box));
    figures->addSpacing(8);
    figures->addWidget(size_);
    figures->addWidget(new QLabel(QStringLiteral("MB"), box));
    grid->addLayout(figures, 3, 0, 1, 4);
    return box;
}

QWidget* CRecPlayBar::BuildFile() {
    auto* box = new QGroupBox(QStringLiteral("Datei"), this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(QStringLiteral("Datei:"), box), 0, 0);
    file_ = new QLabel(box);
    file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    file_->setMinimumWidth(120);
    grid->addWidget(file_, 0, 1, 1, 2);
    formats_ = new QButtonGroup(this);
    auto* radios = new QHBoxLayout;
    for (int i = 0; i < int(std::size(kFormatNames)); ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(kFormatNames[i]), box);
        radio->setEnabled(false);  // shows the format of the open file
        formats_->addButton(radio, i);
        radios->addWidget(radio);
    }
    radios->addStretch();
    grid->addLayout(radios, 1, 0, 1, 3);
    endless_ = new QCheckBox(QStringLiteral("Endloswiedergabe"), box);
    usePlaylist_ = new QCheckBox(QStringLiteral("Benutze Wiedergabeliste"), box);
    connect(endless_, &QCheckBox::toggled, &core_, &CVcrCore::SetEndless);
    connect(usePlaylist_, &QCheckBox::toggled, &core_, &CVcrCore::SetUsePlaylist);
    grid->addWidget(endless_, 2, 0, 1, 2);
    grid->addWidget(usePlaylist_, 2, 2);
    grid->setColumnStretch(1, 1);
    return box;
}

void CRecPlayBar::Show() {
    const VcrDisplay& d = core_.Display();
    file_->setText(d.fileName);
    file_->setToolTip(d.fileName);
    state_->setText(d.state);
    position_->setText(d.position);
    length_->setText(d.length);
    kbits_->setText(d.kbits);
    size_->setText(d.size);
    {
        const QSignalBlocker quiet(slider_);
        slider_->setRange(0, Clamped(d.sliderMax));
        slider_->setTickInterval(Clamped(d.sliderTick));
        slider_->setPageStep(Clamped(d.sliderPage));
        slider_->setSingleStep(Clamped(d.sliderLine));
        if (!slider_->isSliderDown()) slider_->setValue(Clamped(d.sliderPos));
    }
    // A range of 0..0 would show the busy animation: an empty bar instead.
    progress_->setRange(0, std::max(1, Clamped(d.progressMax)));
    progress_->setValue(Clamped(d.progressPos));
    if (QAbstractButton* radio = formats_->button(d.formatRadio)) {
        radio->setChecked(true);
    } else if (QAbstractButton* checked = formats_->checkedButton()) {
        formats_->setExclusive(false);
        checked->setChecked(false);
        formats_->setExclusive(true);
    }
    const bool enabled[kButtons] = {d.openButton, true,           d.closeButton,
                                    d.playButton, d.pauseButton,  d.stopButton,
                                    d.halfButton, d.doubleButton, d.recordButton};
    for (int i = 0; i < kButtons; ++i) buttons_[std::size_t(i)]->setEnabled(enabled[i]);
    const QSignalBlocker quietEndless(endless_), quietPlaylist(usePlaylist_);
    endless_->setChecked(d.endless);
    usePlaylist_->setChecked(d.usePlaylist);
    usePlaylist_->setEnabled(d.usePlaylistEnabled);
    ShowColours(d.colours);
}

void CRecPlayBar::ShowColours(const VcrColours& c) {
    if (coloursShown_ && c == shownColours_) return;
    coloursShown_ = true;
    shownColours_ = c;
    slider_->setStyleSheet(
        QStringLiteral(
            "QSlider::groove:horizontal { height: 6px; background: %1; border: 1px solid %2; }"
            "QSlider::sub-page:horizontal { background: %2; }"
            "QSlider::handle:horizontal { background: %3; border: 1px solid #404040;"
            " width: 9px; margin: -5px 0; }")
            .arg(Css(c.pale), Css(c.light), Css(c.main)));
    progress_->setStyleSheet(
        QStringLiteral("QProgressBar { border: 1px solid #808080; background: white; }"
                       "QProgressBar::chunk { background: %1; }")
            .arg(Css(c.progress)));
}

void CRecPlayBar::PostVcrCommand(int code, std::uint32_t index, const std::string& text) {
    // Code 12 carries its text; the message's second parameter is the index.
    if (code == int(VcrCommand::SetFileName)) {
        QPointer<CRecPlayBar> self(this);
        const QString name = QString::fromStdString(text);
        QTimer::singleShot(0, this, [self, name] {
            if (self) self->core_.Command(int(VcrCommand::SetFileName), kKeepPlaylistIndex, name);
        });
        return;
    }
    QCoreApplication::postEvent(this,
                                new PrivateMessageEvent(Msg::VcrCommand, code, qintptr(index)));
}

bool CRecPlayBar::event(QEvent* e) {
    if (PrivateMessageEvent::IsPrivate(e)) {
        const auto* message = static_cast<const PrivateMessageEvent*>(e);
        if (message->number() == Msg::VcrCommand) {
            core_.Command(int(message->wParam()), std::uint32_t(message->lParam()));
            return true;
        }
        if (message->number() == Msg::RecPlayStatus) {
            core_.UpdateStatus();
            return true;
        }
    }
    return QWidget::event(e);
}
