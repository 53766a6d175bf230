#include "recording/windows/CTimerDialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "recording/TimerOverlap.h"
#include "recording/TimerTexts.h"
#include "recording/windows/PlayListTexts.h"
#include "recording/windows/TimerWindowTexts.h"

namespace T = TimerWindowTexts;

namespace {

const QString kOpenFolder = QStringLiteral("Einstellungen/Directory Fileopen");
const QString kSaveFolder = QStringLiteral("Einstellungen/Directory Filesave");
constexpr std::array<const char*, 4> kExtensions = {"psa", "mp2", "psv", "pva"};

QHBoxLayout* Row() {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    return row;
}

QWidget* Holder(QWidget* parent, QLayout* layout) {
    auto* w = new QWidget(parent);
    w->setLayout(layout);
    return w;
}

}  // namespace

CTimerDialog::CTimerDialog(CTimerEntry& entry, TimerDialogMode mode, ITimerDialogs& dialogs,
                           TimerConflictCheck conflict, QWidget* parent)
    : QDialog(parent), entry_(entry), dialogs_(dialogs), conflict_(std::move(conflict)) {
    setWindowTitle(T::DialogTitle);
    BuildUi();
    Fill(mode);
}

QString CTimerDialog::ExtensionOfFormat(int index) {
    return index >= 0 && index < int(kExtensions.size())
               ? QString::fromLatin1(kExtensions[std::size_t(index)])
               : QStringLiteral("uka");
}

int CTimerDialog::FormatOfExtension(const QString& extension) {
    for (std::size_t i = 0; i < kExtensions.size(); ++i)
        if (extension.compare(QLatin1String(kExtensions[i]), Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QWidget* CTimerDialog::BuildTimeRow(QDateEdit*& date, QTimeEdit*& time, const char* name) {
    date = new QDateEdit(this);
    date->setObjectName(QStringLiteral("%1Date").arg(QLatin1String(name)));
    date->setCalendarPopup(true);
    date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    time = new QTimeEdit(this);
    time->setObjectName(QStringLiteral("%1Time").arg(QLatin1String(name)));
    time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    QHBoxLayout* row = Row();
    row->addWidget(date, 1);
    row->addWidget(time, 1);
    return Holder(this, row);
}

QWidget* CTimerDialog::BuildFormatRow() {
    formats_ = new QButtonGroup(this);
    QHBoxLayout* row = Row();
    for (int i = 0; i < int(T::FormatRadios.size()); ++i) {
        auto* radio = new QRadioButton(T::FormatRadios[std::size_t(i)], this);
        radio->setObjectName(QStringLiteral("Format%1").arg(i));
        formats_->addButton(radio, i);
        row->addWidget(radio);
    }
    row->addStretch();
    return Holder(this, row);
}

QWidget* CTimerDialog::BuildWeekRow() {
    weekly_ = new QCheckBox(this);
    weekly_->setObjectName(QStringLiteral("Weekly"));
    QHBoxLayout* row = Row();
    row->addWidget(weekly_);
    row->addSpacing(12);
    for (std::size_t i = 0; i < days_.size(); ++i) {
        days_[i] = new QCheckBox(T::Days[i], this);
        days_[i]->setObjectName(QStringLiteral("Day%1").arg(i));
        row->addWidget(days_[i]);
    }
    row->addStretch();
    connect(weekly_, &QCheckBox::toggled, this, &CTimerDialog::WeeklyToggled);
    return Holder(this, row);
}

void CTimerDialog::BuildUi() {
    auto* program = new QLabel(entry_.ProgramName(), this);
    program->setObjectName(QStringLiteral("Program"));
    fileName_ = new QLineEdit(this);
    fileName_->setObjectName(QStringLiteral("FileName"));
    fileName_->setMinimumWidth(360);
    browse_ = new QPushButton(T::Browse, this);
    browse_->setObjectName(QStringLiteral("Browse"));
    browse_->setAutoDefault(false);
    browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    QHBoxLayout* fileRow = Row();
    fileRow->addWidget(fileName_, 1);
    fileRow->addWidget(browse_);
    powerOff_ = new QCheckBox(this);
    powerOff_->setObjectName(QStringLiteral("PowerOff"));

    auto* box = new QGroupBox(T::DialogBox, this);
    auto* form = new QFormLayout(box);
    form->addRow(T::Program, program);
    form->addRow(T::Start, BuildTimeRow(startDate_, startTime_, "Start"));
    form->addRow(T::End, BuildTimeRow(endDate_, endTime_, "End"));
    form->addRow(T::FileName, Holder(this, fileRow));
    form->addRow(T::Format, BuildFormatRow());
    form->addRow(T::PowerOff, powerOff_);
    form->addRow(T::Weekly, BuildWeekRow());

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(PlayListTexts::Ok, QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setDefault(true);
    buttons->addButton(PlayListTexts::Cancel, QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("IDCANCEL"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(browse_, &QPushButton::clicked, this, &CTimerDialog::Browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &CTimerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CTimerDialog::reject);
}

void CTimerDialog::Fill(TimerDialogMode mode) {
    TimerSettings s = entry_.Settings();
    if (mode == TimerDialogMode::New) {
        const QDateTime now = QDateTime::currentDateTime();
        s = {now, now, {}, 3, 0};
    }
    startDate_->setDate(s.start.date());
    startTime_->setTime(s.start.time());
    endDate_->setDate(s.end.date());
    endTime_->setTime(s.end.time());
    fileName_->setText(QString::fromStdString(s.fileName));
    SetFormat(s.formatIndex);
    powerOff_->setChecked((s.flags & CTimerEntry::kPowerOff) != 0);
    for (std::size_t i = 0; i < days_.size(); ++i)
        days_[i]->setChecked((s.flags & (1u << (CTimerEntry::kFirstDayBit + int(i)))) != 0);
    weekly_->setChecked((s.flags & CTimerEntry::kWeekly) != 0);
    WeeklyToggled(weekly_->isChecked());
    if (mode == TimerDialogMode::Edit && entry_.status == CTimerEntry::Recording)
        LockForRecording();
}

void CTimerDialog::SetFormat(int index) {
    if (QAbstractButton* radio = formats_->button(index)) {
        radio->setChecked(true);
        return;
    }
    // No format: no radio at all, which an exclusive group does not allow.
    formats_->setExclusive(false);
    for (QAbstractButton* radio : formats_->buttons()) radio->setChecked(false);
    formats_->setExclusive(true);
}

void CTimerDialog::WeeklyToggled(bool weekly) {
    startDate_->setEnabled(!weekly);
    endDate_->setEnabled(!weekly);
    for (QCheckBox* day : days_) day->setEnabled(weekly);
}

// A running recording keeps its start, file and format; its end can move.
void CTimerDialog::LockForRecording() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{startDate_, startTime_, fileName_, browse_, weekly_})
        w->setEnabled(false);
    for (QAbstractButton* radio : formats_->buttons()) radio->setEnabled(false);
    for (QCheckBox* day : days_) day->setEnabled(false);
    endDate_->setEnabled(!weekly_->isChecked());
}

TimerSettings CTimerDialog::Values() const {
    TimerSettings s;
    s.start = QDateTime(startDate_->date(), startTime_->time());
    s.end = QDateTime(endDate_->date(), endTime_->time());
    s.fileName = fileName_->text().toStdString();
    s.formatIndex = formats_->checkedId();
    s.flags = (powerOff_->isChecked() ? CTimerEntry::kPowerOff : 0) |
              (weekly_->isChecked() ? CTimerEntry::kWeekly : 0);
    for (std::size_t i = 0; i < days_.size(); ++i)
        if (days_[i]->isChecked()) s.flags |= 1u << (CTimerEntry::kFirstDayBit + int(i));
    return s;
}

void CTimerDialog::Browse() {
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.title = T::BrowseTitle;
    request.filters = PlayListTexts::PlaybackFilters;
    // The filters after "Alle Dateien" are the four formats in radio order.
    const int format = formats_->checkedId();
    request.selectedFilter = request.filters.value(format + 1, request.filters.constFirst());
    request.folder = QSettings().value(kSaveFolder).toString();
    if (!fileName_->text().isEmpty())
        request.folder = QDir(request.folder).filePath(QFileInfo(fileName_->text()).fileName());
    const QString path = dialogs_.AskFile(request);
    if (!path.isEmpty()) TakeFile(path);
}

void CTimerDialog::TakeFile(const QString& chosen) {
    QString path = chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + ExtensionOfFormat(formats_->checkedId());
    const QFileInfo info(path);
    const int format = FormatOfExtension(info.suffix());
    SetFormat(format);
    fileName_->setText(path);
    QSettings settings;
    settings.setValue(kOpenFolder, settings.value(kOpenFolder).toString());
    settings.setValue(kSaveFolder, info.path() + QLatin1Char('/'));
    if (format < 0) dialogs_.ShowWarning(TimerTexts::SettingsCaption, T::NoFormat);
}

bool CTimerDialog::Refuse(const QString& text) {
    dialogs_.ShowError(TimerTexts::SettingsCaption, text);
    return false;
}

void CTimerDialog::accept() {
    const TimerSettings s = Values();
    const bool weekly = (s.flags & CTimerEntry::kWeekly) != 0;
    // Times as composed from both pickers; a weekly timer's dates do not count.
    if (!weekly && (s.end <= s.start || s.end <= QDateTime::currentDateTime()))
        return void(Refuse(T::EndNotAfterStart));
    if (s.fileName.empty()) return void(Refuse(T::NoFileName));
    if (weekly && (s.flags & CTimerEntry::kAllDays) == 0) return void(Refuse(T::NoWeekday));
    if (weekly && s.end.time() < s.start.time()) return void(Refuse(T::EndTimeBeforeStartTime));
    CTimerEntry candidate = entry_;
    candidate.Apply(s);
    if (const CTimerEntry* other = conflict_ ? conflict_(candidate) : nullptr)
        dialogs_.ShowWarning(TimerTexts::SettingsCaption,
                             TimerOverlap::WarningText(candidate, *other));
    entry_.Apply(s);
    QDialog::accept();
}
