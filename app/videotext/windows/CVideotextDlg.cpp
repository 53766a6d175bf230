#include "videotext/windows/CVideotextDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

#include "Allgemein/QuestionBox.h"
#include "videotext/VtExport.h"
#include "videotext/VtPageCache.h"
#include "videotext/windows/CVtPageView.h"
#include "videotext/windows/VtExportFolder.h"
#include "videotext/windows/VtPagePainter.h"
#include "videotext/windows/VtWindowTexts.h"

namespace T = VtWindowTexts;

namespace {

// The one view slot: the window that shows pages now.
const CVideotextDlg* g_slotOwner = nullptr;

constexpr int kWidth = 660, kHeight = 500;
constexpr int kLowestPrevious = 101;  // the previous-page button goes no lower

QPushButton* Button(const QString& text, const QString& tip, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CVideotextDlg::CVideotextDlg(vt::VtPageCache& cache, QWidget* parent)
    : QDialog(parent), cache_(cache) {
    setWindowTitle(T::Title);
    setModal(true);
    BuildControls();
    resize(kWidth, kHeight);
    timer_.setInterval(kTimerMs);
    connect(&timer_, &QTimer::timeout, this, &CVideotextDlg::TimerStep);
}

CVideotextDlg::~CVideotextDlg() {
    if (g_slotOwner == this) g_slotOwner = nullptr;
}

bool CVideotextDlg::SlotTaken() { return g_slotOwner != nullptr; }

void CVideotextDlg::BuildControls() {
    view_ = new CVtPageView(this);
    connect(view_, &CVtPageView::clicked, this, &CVideotextDlg::ClickAt);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addWidget(BuildSide(), 0);
}

QWidget* CVideotextDlg::BuildSide() {
    auto* side = new QWidget(this);
    auto* grid = new QGridLayout(side);
    grid->setContentsMargins(0, 0, 0, 0);
    field_ = new QLineEdit(side);
    field_->setObjectName(QStringLiteral("editPage"));
    field_->setMaxLength(3);
    field_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field_));
    connect(field_, &QLineEdit::textEdited, this, &CVideotextDlg::FieldEdited);
    grid->addWidget(new QLabel(T::Page, side), 0, 0);
    grid->addWidget(field_, 0, 1, 1, 2);

    previous_ = Button(T::PreviousPage, T::PreviousPageTip, side);
    next_ = Button(T::NextPage, T::NextPageTip, side);
    first_ = Button(T::FirstPage, T::FirstPageTip, side);
    grid->addWidget(previous_, 1, 0);
    grid->addWidget(next_, 1, 1);
    grid->addWidget(first_, 1, 2);
    connect(previous_, &QPushButton::clicked, this, [this] {
        if (page_ > kLowestPrevious) ChangePage(page_ - 1, false);
    });
    connect(next_, &QPushButton::clicked, this, [this] {
        if (page_ < vt::kLastPage) ChangePage(page_ + 1, false);
    });
    connect(first_, &QPushButton::clicked, this, [this] { ChangePage(vt::kFirstPage, false); });

    previousSub_ = Button(T::PreviousSubpage, T::PreviousSubpageTip, side);
    nextSub_ = Button(T::NextSubpage, T::NextSubpageTip, side);
    subpageText_ = new QLabel(T::Subpage(0, 0), side);
    subpageText_->setAlignment(Qt::AlignCenter);
    grid->addWidget(previousSub_, 2, 0);
    grid->addWidget(subpageText_, 2, 1);
    grid->addWidget(nextSub_, 2, 2);
    connect(previousSub_, &QPushButton::clicked, this, [this] { StepSubpage(false); });
    connect(nextSub_, &QPushButton::clicked, this, [this] { StepSubpage(true); });

    status_ = new QLabel(side);
    status_->setWordWrap(true);
    cacheText_ = new QLabel(T::Cache(cache_.CachedCount()), side);
    received_ = new QLabel(side);
    grid->addWidget(status_, 3, 0, 1, 3);
    grid->addWidget(cacheText_, 4, 0, 1, 3);
    grid->addWidget(new QLabel(T::Received, side), 5, 0, 1, 3);
    grid->addWidget(received_, 6, 0, 1, 3);
    grid->setRowStretch(7, 1);

    export_ = Button(T::Export, QString(), side);
    folder_ = Button(T::Folder, T::FolderTip, side);
    end_ = Button(T::End, QString(), side);
    grid->addWidget(export_, 8, 0, 1, 2);
    grid->addWidget(folder_, 8, 2);
    grid->addWidget(end_, 9, 0, 1, 3);
    connect(export_, &QPushButton::clicked, this, &CVideotextDlg::ExportPage);
    connect(folder_, &QPushButton::clicked, this, &CVideotextDlg::ChooseFolder);
    connect(end_, &QPushButton::clicked, this, &CVideotextDlg::reject);
    return side;
}

bool CVideotextDlg::Open() {
    if (g_slotOwner && g_slotOwner != this) {
        ShowError(T::SlotTaken);
        return false;
    }
    g_slotOwner = this;
    open_ = true;
    page_ = vt::kFirstPage;
    subpage_ = 0;
    selectFirst_ = true;
    redrawPending_ = true;
    field_->setText(QString::number(page_));
    timer_.start();
    UpdateDisplay();
    return true;
}

void CVideotextDlg::Refuse(const QString& text) {
    ShowError(text);
    reject();
}

void CVideotextDlg::reject() {
    timer_.stop();
    if (open_ && g_slotOwner != this) ShowError(T::UnknownDialogs);
    if (g_slotOwner == this) g_slotOwner = nullptr;
    open_ = false;
    QDialog::reject();
}

void CVideotextDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        FieldEdited(field_->text());
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);  // Escape ends the window through reject()
}

void CVideotextDlg::PageArrived(std::span<const std::uint8_t> datagram) {
    if (g_slotOwner != this) {
        ShowError(T::UnknownDialog);
        reject();
        return;
    }
    const int number = vt::VtPageCache::DatagramPageNumber(datagram);
    if (number == 0 || number > vt::kLastPage) return;
    if (cache_.Store(datagram).stored)
        received_->setText(QString::number(cache_.LastReceivedPage()));
    if (redrawPending_) UpdateDisplay();
}

void CVideotextDlg::SelectPage(int page) {
    if (page >= vt::kFirstPage && page <= vt::kLastPage) ChangePage(page, false);
}

void CVideotextDlg::ChangePage(int page, bool typed) {
    if (page != page_) selectFirst_ = true;
    page_ = page;
    if (!typed) field_->setText(QString::number(page_));
    status_->setText(T::Searching(page_));
    redrawPending_ = true;
}

void CVideotextDlg::FieldEdited(const QString& text) {
    bool ok = false;
    const int page = text.toInt(&ok);
    if (ok && page >= vt::kFirstPage && page <= vt::kLastPage) ChangePage(page, true);
}

void CVideotextDlg::StepSubpage(bool forward) {
    const vt::VtPageEntry* entry = cache_.Find(page_);
    if (!entry || entry->subpages.empty()) return;
    const int to = forward ? cache_.NextValid(page_, subpage_) : cache_.PrevValid(page_, subpage_);
    if (to < 0) return;
    subpage_ = to;
    selectFirst_ = false;
    redrawPending_ = true;
    ShowSubpageText();
}

void CVideotextDlg::ShowSubpageText() {
    subpageText_->setText(T::Subpage(subpage_ + 1, cache_.SubpageCount(page_)));
}

void CVideotextDlg::TimerStep() {
    cacheText_->setText(T::Cache(cache_.CachedCount()));
    ShowSubpageText();
    redrawPending_ = true;
}

vt::DisplayPage CVideotextDlg::LayoutCurrent(bool& found) {
    vt::VtPageEntry* entry = cache_.Find(page_);
    found = entry && !entry->subpages.empty();
    if (!found) {
        const vt::PageChars header = vt::ComposeDisplayHeader(nullptr, cache_.LiveHeader(), page_);
        return vt::LayoutForDisplay(header, cache_.LiveNational(), 1);
    }
    if (selectFirst_) {
        subpage_ = std::max(0, cache_.FirstValid(page_));
        selectFirst_ = false;
    }
    if (subpage_ >= static_cast<int>(entry->subpages.size())) subpage_ = 0;
    vt::VtSubpage& record = entry->subpages[static_cast<std::size_t>(subpage_)];
    record.drawing = true;
    // A record not yet received shows the live header in white: the page
    // is known, only this subpage has not arrived.
    vt::PageChars chars =
        vt::ComposeDisplayHeader(&record.chars, cache_.LiveHeader(), page_, record.valid);
    vt::DisplayPage page =
        vt::LayoutForDisplay(chars, record.valid ? record.national : cache_.LiveNational());
    record.drawing = false;
    return page;
}

void CVideotextDlg::UpdateDisplay() {
    if (page_ < vt::kFirstPage || page_ > vt::kLastPage) return;
    if (page_ != shownPage_) selectFirst_ = true;
    shownPage_ = page_;
    status_->setText(T::Searching(page_));
    bool found = false;
    view_->SetPage(LayoutCurrent(found));
    if (!found) return;
    ShowSubpageText();
    status_->setText(T::Found(page_));
    setWindowTitle(T::TitleOf(page_));
    if (!field_->hasFocus()) field_->setText(QString::number(page_));
    redrawPending_ = false;
}

void CVideotextDlg::ClickAt(QPointF logical) {
    const auto cell = VtPainter::CellAt(logical);
    if (!cell) return;
    if (const auto page = vt::PageAt(view_->Page().links, cell->row, cell->column))
        ChangePage(*page, false);
}

void CVideotextDlg::ExportPage() {
    vt::VtSubpage* record = cache_.Record(page_, subpage_);
    if (!record || !record->valid) return;
    const std::string html = vt::ExportRecord(record->chars, record->national, page_, subpage_);
    const QString file = VtExportFolder::FileFor(VtExportFolder::Folder(), page_, subpage_);
    if (QFileInfo::exists(file) && !AskOverwrite(file)) return;
    if (!VtExportFolder::Write(file, html)) {
        ShowError(T::ExportFailed);
        return;
    }
    status_->setText(T::Exported(QDir::toNativeSeparators(file)));
}

void CVideotextDlg::ChooseFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, T::FolderTip, VtExportFolder::Folder());
    if (!folder.isEmpty()) VtExportFolder::SetFolder(folder);
}

bool CVideotextDlg::AskOverwrite(const QString& file) {
    return AskYesNo(this, T::Caption, T::Overwrite(QDir::toNativeSeparators(file)), T::Yes, T::No);
}

void CVideotextDlg::ShowError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, T::Caption, text, QMessageBox::Ok, this);
    box.exec();
}
