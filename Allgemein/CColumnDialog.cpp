#include "Allgemein/CColumnDialog.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kIdRole = Qt::UserRole;

int IdOf(const QListWidgetItem* item) { return item->data(kIdRole).toInt(); }

void ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);  // the program's own boxes stay in front
    box.exec();
}

// Rows of the selected entries from the highest to the lowest.
std::vector<int> SelectedRowsDescending(const QListWidget* list) {
    std::vector<int> rows;
    for (const QListWidgetItem* item : list->selectedItems()) rows.push_back(list->row(item));
    std::sort(rows.rbegin(), rows.rend());
    return rows;
}

QListWidget* MakeList(QWidget* parent, const char* name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

}  // namespace

const QString& CColumnDialog::EmptySelectionMessage() {
    static const QString text = QStringLiteral("E' necessario inserire almeno una colonna ..");
    return text;
}

CColumnDialog::CColumnDialog(const CColumnLayout& layout, QWidget* parent)
    : QDialog(parent), message_(ShowMessage) {
    setWindowTitle(QStringLiteral("Spalteneinstellung"));
    BuildWidgets();
    Fill(layout);
    ok_->setEnabled(false);  // nothing changed yet
    UpdateButtons();
}

void CColumnDialog::BuildWidgets() {
    free_ = MakeList(this, "freeColumns");
    used_ = MakeList(this, "usedColumns");
    insert_ = new QPushButton(QStringLiteral("Einfügen->"), this);
    remove_ = new QPushButton(QStringLiteral("<- Entfernen"), this);
    up_ = new QPushButton(QStringLiteral("Auf"), this);
    down_ = new QPushButton(QStringLiteral("Ab"), this);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Abbruch"), this);
    ok_->setDefault(true);

    auto* freeLabel = new QLabel(QStringLiteral("&Freie Spalten"), this);
    freeLabel->setBuddy(free_);
    auto* usedLabel = new QLabel(QStringLiteral("&Benuzte Spalten und Anordung"), this);
    usedLabel->setBuddy(used_);

    auto* moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton* b : {insert_, remove_, up_, down_}) moves->addWidget(b);
    moves->addStretch();
    auto* grid = new QGridLayout(this);
    grid->addWidget(freeLabel, 0, 0);
    grid->addWidget(usedLabel, 0, 2);
    grid->addWidget(free_, 1, 0);
    grid->addLayout(moves, 1, 1);
    grid->addWidget(used_, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 2, 0, 1, 3);

    connect(insert_, &QPushButton::clicked, this, &CColumnDialog::Insert);
    connect(remove_, &QPushButton::clicked, this, &CColumnDialog::Remove);
    connect(up_, &QPushButton::clicked, this, &CColumnDialog::MoveUp);
    connect(down_, &QPushButton::clicked, this, &CColumnDialog::MoveDown);
    connect(ok_, &QPushButton::clicked, this, &CColumnDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CColumnDialog::reject);
    connect(free_, &QListWidget::itemSelectionChanged, this, &CColumnDialog::UpdateButtons);
    connect(used_, &QListWidget::itemSelectionChanged, this, &CColumnDialog::UpdateButtons);
}

void CColumnDialog::Fill(const CColumnLayout& layout) {
    auto makeItem = [](const CColumnDef& d) -> QListWidgetItem* {
        const QString name = d.DisplayName();
        if (name.isEmpty()) return nullptr;
        auto* item = new QListWidgetItem(name);
        item->setData(kIdRole, d.id);
        return item;
    };
    const auto& shown = layout.Shown();
    for (const CColumnDef& d : layout.Definitions()) {
        if (std::find(shown.begin(), shown.end(), d.id) != shown.end()) continue;
        if (QListWidgetItem* item = makeItem(d)) AddSorted(item);
    }
    for (int id : shown) {
        const CColumnDef* d = layout.Find(id);
        if (QListWidgetItem* item = d ? makeItem(*d) : nullptr) used_->addItem(item);
    }
}

void CColumnDialog::AddSorted(QListWidgetItem* item) {
    // Sorted by name without regard to case; equal names keep insertion order.
    const QString name = item->text();
    int row = 0;
    while (row < free_->count() && free_->item(row)->text().compare(name, Qt::CaseInsensitive) <= 0)
        ++row;
    free_->insertItem(row, item);
}

void CColumnDialog::Insert() {
    for (int row : SelectedRowsDescending(free_)) used_->addItem(free_->takeItem(row));
    Changed();
}

void CColumnDialog::Remove() {
    for (int row : SelectedRowsDescending(used_)) AddSorted(used_->takeItem(row));
    Changed();
}

void CColumnDialog::Move(int step) {
    const auto selected = used_->selectedItems();
    if (selected.size() != 1) return;
    const int row = used_->row(selected.front());
    const int target = row + step;
    if (target >= 0 && target < used_->count()) {
        QListWidgetItem* item = used_->takeItem(row);
        used_->insertItem(target, item);
        used_->clearSelection();
        item->setSelected(true);
        used_->setCurrentItem(item);
    }
    Changed();
}

void CColumnDialog::Changed() {
    ok_->setEnabled(true);
    UpdateButtons();
}

void CColumnDialog::UpdateButtons() {
    const int usedSelected = int(used_->selectedItems().size());
    insert_->setEnabled(!free_->selectedItems().isEmpty());
    remove_->setEnabled(usedSelected > 0);
    up_->setEnabled(usedSelected == 1);
    down_->setEnabled(usedSelected == 1);
}

void CColumnDialog::accept() {
    if (used_->count() == 0) {
        if (message_) message_(this, EmptySelectionMessage());
        return;
    }
    // Column 0 always leads; a named column 0 in the used list is not repeated.
    result_ = {0};
    for (int row = 0; row < used_->count(); ++row) {
        const int id = IdOf(used_->item(row));
        if (id != 0) result_.push_back(id);
    }
    QDialog::accept();
}
