#include "recording/windows/CPlayListEntryDialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "recording/PvaPlayLength.h"
#include "recording/windows/IPlayListDialogs.h"
#include "recording/windows/PlayListCells.h"
#include "recording/windows/PlayListTexts.h"

namespace T = PlayListTexts;

CPlayListEntryDialog::CPlayListEntryDialog(CPlayListEntry& entry, IPlayListDialogs& dialogs,
                                           QWidget* parent)
    : QDialog(parent), entry_(entry), dialogs_(dialogs) {
    setWindowTitle(T::EntryTitle);
    BuildUi();
    Fill();
}

QLineEdit* CPlayListEntryDialog::NewNumberEdit(const QString& name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    // Digits only; the range is checked on OK.
    static const QRegularExpression digits(QStringLiteral("\\d{0,10}"));
    edit->setValidator(new QRegularExpressionValidator(digits, edit));
    return edit;
}

void CPlayListEntryDialog::BuildUi() {
    fileName_ = new QLineEdit(this);
    fileName_->setObjectName(QStringLiteral("FileName"));
    fileName_->setMinimumWidth(360);
    auto* browse = new QPushButton(T::EntryBrowse, this);
    browse->setObjectName(QStringLiteral("Browse"));
    browse->setAutoDefault(false);
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileName_, 1);
    fileRow->addWidget(browse);

    playLength_ = new QLineEdit(this);
    playLength_->setObjectName(QStringLiteral("PlayLength"));
    playLength_->setReadOnly(true);
    playLength_->setFocusPolicy(Qt::NoFocus);

    date_ = new QDateEdit(this);
    date_->setObjectName(QStringLiteral("LastPlayedDate"));
    date_->setCalendarPopup(true);
    date_->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    time_ = new QTimeEdit(this);
    time_->setObjectName(QStringLiteral("LastPlayedTime"));
    time_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(date_, 1);
    timeRow->addWidget(time_, 1);

    pause_ = NewNumberEdit(QStringLiteral("Pause"));
    repetitions_ = NewNumberEdit(QStringLiteral("Repetitions"));
    powerOff_ = new QCheckBox(this);
    powerOff_->setObjectName(QStringLiteral("PowerOff"));

    auto* box = new QGroupBox(T::EntryBox, this);
    auto* form = new QFormLayout(box);
    form->addRow(T::EntryFileName, fileRow);
    form->addRow(T::EntryPlayLength, playLength_);
    form->addRow(T::EntryLastPlayed, timeRow);
    form->addRow(T::EntryPause, pause_);
    form->addRow(T::EntryRepetitions, repetitions_);
    form->addRow(T::EntryPowerOff, powerOff_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(T::Ok, QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setDefault(true);
    buttons->addButton(T::Cancel, QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("IDCANCEL"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(browse, &QPushButton::clicked, this, &CPlayListEntryDialog::Browse);
    connect(fileName_, &QLineEdit::editingFinished, this, [this] {
        if (fileName_->text() != measuredFile_) TakeFile(fileName_->text());
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &CPlayListEntryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPlayListEntryDialog::reject);
}

void CPlayListEntryDialog::Fill() {
    measuredFile_ = QString::fromStdString(entry_.fileName);
    fileName_->setText(measuredFile_);
    playLengthMs_ = entry_.playLengthMs;
    ShowPlayLength();
    QDateTime last = LocalDateTime::ToLocal(entry_.lastPlayed);
    if (!last.isValid()) last = QDateTime::currentDateTime();
    date_->setDate(last.date());
    time_->setTime(last.time());
    pause_->setText(QString::number(entry_.pauseSec));
    repetitions_->setText(QString::number(entry_.repetitions));
    powerOff_->setChecked(entry_.powerOff != 0);
}

void CPlayListEntryDialog::ShowPlayLength() {
    playLength_->setText(PlayListCells::PlayLength(playLengthMs_));
}

void CPlayListEntryDialog::Browse() {
    FileRequest request;
    request.title = T::PlaybackTitle;
    request.filters = T::PlaybackFilters;
    if (!fileName_->text().isEmpty()) request.folder = QFileInfo(fileName_->text()).absolutePath();
    const QString path = dialogs_.AskFile(request);
    if (!path.isEmpty()) TakeFile(path);
}

void CPlayListEntryDialog::TakeFile(const QString& path) {
    fileName_->setText(path);
    measuredFile_ = path;
    playLengthMs_ = path.isEmpty() ? 0 : PvaPlayLengthMs(QFile::encodeName(path).toStdString());
    ShowPlayLength();
}

std::optional<std::uint32_t> CPlayListEntryDialog::ReadNumber(QLineEdit* edit, std::uint32_t min,
                                                              std::uint32_t max) {
    bool ok = false;
    const qulonglong value = edit->text().trimmed().toULongLong(&ok);
    if (ok && value >= min && value <= max) return std::uint32_t(value);
    dialogs_.ShowWarning(T::EntryTitle, T::RangeMessage.arg(min).arg(max));
    edit->setFocus();
    edit->selectAll();
    return std::nullopt;
}

void CPlayListEntryDialog::accept() {
    const auto pause = ReadNumber(pause_, 0, CPlayListEntry::kMaxPauseSec);
    if (!pause) return;
    const auto repetitions =
        ReadNumber(repetitions_, CPlayListEntry::kMinRepetitions, CPlayListEntry::kMaxRepetitions);
    if (!repetitions) return;
    if (fileName_->text() != measuredFile_) TakeFile(fileName_->text());
    entry_.fileName = fileName_->text().toStdString();
    entry_.playLengthMs = playLengthMs_;
    entry_.lastPlayed = LocalDateTime::FromLocal(QDateTime(date_->date(), time_->time()));
    entry_.pauseSec = *pause;
    entry_.repetitions = *repetitions;
    entry_.powerOff = powerOff_->isChecked() ? 1 : 0;
    QDialog::accept();
}
