#include "channellist/editing/CReplaceDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

#include "channellist/editing/CListEditor.h"
#include "channellist/editing/EditTexts.h"
#include "channellist/editing/IListEditHost.h"
#include "channellist/editing/IMessageSink.h"

CReplaceDialog::CReplaceDialog(CListEditor& editor, QSettings& settings, QWidget* parent)
    : QDialog(parent), session_(editor), settings_(settings) {
    setWindowTitle(QStringLiteral("Ersetzen"));
    BuildLayout();
    SetRequest(ReplaceSettings::Load(settings_));

    connect(search_, &QLineEdit::textChanged, this, [this] { session_.Reset(); });
    connect(replacement_, &QLineEdit::textChanged, this, [this] { session_.Reset(); });
    connect(findNext_, &QPushButton::clicked, this, [this] { session_.FindNext(Request()); });
    connect(replace_, &QPushButton::clicked, this, [this] { session_.ReplaceNext(Request()); });
    connect(replaceAll_, &QPushButton::clicked, this, [this] { session_.ReplaceAll(Request()); });
    connect(cancel_, &QPushButton::clicked, this, &CReplaceDialog::reject);
}

bool CReplaceDialog::Run(CListEditor& editor, QSettings& settings, QWidget* parent) {
    if (!editor.Host().List()) {
        editor.Messages().Show(IMessageSink::Icon::Error,
                               QString::fromUtf8(EditText::ReplaceCaption),
                               QString::fromUtf8(EditText::BadParameters));
        return false;
    }
    CReplaceDialog dialog(editor, settings, parent);
    dialog.exec();
    return true;
}

void CReplaceDialog::BuildLayout() {
    search_ = new QLineEdit;
    search_->setObjectName(QStringLiteral("search"));
    replacement_ = new QLineEdit;
    replacement_->setObjectName(QStringLiteral("replacement"));
    auto* fields = new QFormLayout;
    auto* searchLabel = new QLabel(QStringLiteral("&Suchen nach:"));
    searchLabel->setBuddy(search_);
    auto* replacementLabel = new QLabel(QStringLiteral("Ersetzen &durch:"));
    replacementLabel->setBuddy(replacement_);
    fields->addRow(searchLabel, search_);
    fields->addRow(replacementLabel, replacement_);

    auto* scope = new QGroupBox(QStringLiteral("Ersetzen in"));
    selection_ = new QRadioButton(QStringLiteral("A&uswahl"));
    wholeList_ = new QRadioButton(QStringLiteral("Gesa&mt-Datei"));
    auto* scopeLayout = new QVBoxLayout(scope);
    scopeLayout->addWidget(selection_);
    scopeLayout->addWidget(wholeList_);
    scopeLayout->addStretch();

    auto* columns = new QGroupBox(QStringLiteral("Spalte"));
    allColumns_ = new QCheckBox(QStringLiteral("Alle Spalten"));
    programName_ = new QCheckBox(QStringLiteral("Programmname"));
    providerName_ = new QCheckBox(QStringLiteral("Providername"));
    lnbName_ = new QCheckBox(QStringLiteral("LNB-Name"));
    auto* columnLayout = new QVBoxLayout(columns);
    for (QCheckBox* box : {allColumns_, programName_, providerName_, lnbName_})
        columnLayout->addWidget(box);

    matchCase_ = new QCheckBox(QStringLiteral("Groß-/&Kleinschreibung beachten"));

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(scope);
    boxes->addWidget(columns);
    left->addLayout(boxes);
    left->addWidget(matchCase_);

    findNext_ = new QPushButton(QStringLiteral("&Weitersuchen"));
    findNext_->setDefault(true);
    replace_ = new QPushButton(QStringLiteral("&Ersetzen"));
    replaceAll_ = new QPushButton(QStringLiteral("&Alle Ersetzen"));
    cancel_ = new QPushButton(QStringLiteral("Abbrechen"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {findNext_, replace_, replaceAll_, cancel_}) buttons->addWidget(b);
    buttons->addStretch();

    auto* top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addLayout(buttons);
}

ReplaceRequest CReplaceDialog::Request() const {
    ReplaceRequest r;
    r.search = search_->text();
    r.replacement = replacement_->text();
    r.options.allColumns = allColumns_->isChecked();
    r.options.programName = programName_->isChecked();
    r.options.providerName = providerName_->isChecked();
    r.options.lnbName = lnbName_->isChecked();
    r.options.matchCase = matchCase_->isChecked();
    r.options.wholeList = wholeList_->isChecked();
    return r;
}

void CReplaceDialog::SetRequest(const ReplaceRequest& r) {
    search_->setText(r.search);
    replacement_->setText(r.replacement);
    allColumns_->setChecked(r.options.allColumns);
    programName_->setChecked(r.options.programName);
    providerName_->setChecked(r.options.providerName);
    lnbName_->setChecked(r.options.lnbName);
    matchCase_->setChecked(r.options.matchCase);
    (r.options.wholeList ? wholeList_ : selection_)->setChecked(true);
    session_.Reset();
}

void CReplaceDialog::reject() {
    ReplaceSettings::Save(settings_, Request());
    QDialog::reject();
}
