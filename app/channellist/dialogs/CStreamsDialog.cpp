#include "channellist/dialogs/CStreamsDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <numeric>
#include <vector>

#include "Allgemein/CGfxListCtrl.h"
#include "channellist/CProgramInfo.h"
#include "channellist/dialogs/DialogTexts.h"
#include "channellist/dialogs/StreamTexts.h"
#include "common/PrivateMessages.h"

namespace T = DialogTexts;

namespace {

QString U(const std::string& utf8) { return QString::fromStdString(utf8); }
QString U(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr int kColumnWidths[CStreamsDialog::ColumnCount] = {0, 40, 90, 70, 260};
constexpr int kViewRequestAudioPid = 1;

}  // namespace

CStreamsDialog::CStreamsDialog(const CProgramInfo& program, DialogOptions options,
                               StreamSwitch streamSwitch, QWidget* parent, QSettings* layoutStore)
    : CFadeOutDialog(options.fadeOutOff, parent),
      program_(program),
      options_(options),
      streamSwitch_(std::move(streamSwitch)),
      layoutStore_(layoutStore) {
    setWindowTitle(U(T::StreamsTitle));
    BuildUi();
    Fill();
    connect(this, &QDialog::finished, this, &CStreamsDialog::SaveLayout);
}

void CStreamsDialog::DefineColumns() {
    list_->SetListName(U(T::StreamListName));
    std::vector<int> shown(ColumnCount);
    std::iota(shown.begin(), shown.end(), 0);
    for (int id : shown) {
        CColumnDef def;
        def.id = id;
        def.width = kColumnWidths[id];
        def.text = U(T::StreamColumns[static_cast<std::size_t>(id)]);
        list_->DefineColumn(def);
    }
    list_->SetBuiltInShown(shown);
    if (layoutStore_) {
        list_->LoadLayout(*layoutStore_);
    } else {
        list_->LoadLayout();
    }
}

void CStreamsDialog::BuildUi() {
    auto* box = new QGroupBox(U(T::BoxInfo), this);
    auto* count = new QLineEdit(box);
    count->setObjectName(QString::number(IdStreamCount));
    count->setReadOnly(true);
    count->setMaximumWidth(80);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(U(T::StreamCount), box));
    countRow->addWidget(count);
    countRow->addStretch(1);

    list_ = new CGfxListCtrl(box);
    list_->setObjectName(QString::number(IdStreamList));
    list_->setMinimumSize(500, 200);
    list_->Model()->SetCellText(
        [this](int item, quintptr, int columnId) { return CellText(item, columnId); });
    DefineColumns();
    connect(list_, &CGfxListCtrl::rowDoubleClicked, this, &CStreamsDialog::SwitchToSelectedStreams);

    auto* inner = new QVBoxLayout(box);
    inner->addLayout(countRow);
    inner->addWidget(list_);

    LayOutWithOkCancel(box);
}

void CStreamsDialog::Fill() {
    findChild<QLineEdit*>(QString::number(IdStreamCount))
        ->setText(QString::number(program_.Streams.size()));
    std::vector<quintptr> items(program_.Streams.size());
    std::iota(items.begin(), items.end(), quintptr{0});
    list_->SetItems(std::move(items));
}

QString CStreamsDialog::CellText(int row, int columnId) const {
    if (row < 0 || static_cast<std::size_t>(row) >= program_.Streams.size()) return {};
    const CStreaminfo& s = program_.Streams[static_cast<std::size_t>(row)];
    switch (columnId) {
        case ColNumber:
            return QString::number(row + 1);
        case ColType:
            return U(s.StreamTypeText());
        case ColPid:
            return U(StreamTexts::Pid(s.Pid, options_.pidHex));
        case ColDescriptor:
            return U(StreamTexts::Descriptors(s.Descriptors));
        default:
            return {};
    }
}

void CStreamsDialog::SwitchToSelectedStreams() {
    for (int row : list_->SelectedItems()) {
        if (row < 0 || static_cast<std::size_t>(row) >= program_.Streams.size()) continue;
        const CStreaminfo& s = program_.Streams[static_cast<std::size_t>(row)];
        if (s.StreamType == 2) {
            if (streamSwitch_.setVideoPid) streamSwitch_.setVideoPid(s.Pid);
        } else if (s.StreamType == 3 || s.StreamType == 4) {
            if (streamSwitch_.setAudioPid) streamSwitch_.setAudioPid(s.Pid);
            PrivateMessages::Post(Msg::ViewRequest, kViewRequestAudioPid, s.Pid);
        }
    }
}

void CStreamsDialog::SaveLayout() {
    if (layoutStore_) {
        list_->SaveLayout(*layoutStore_);
    } else {
        list_->SaveLayout();
    }
}
