#include "frame/CAboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "frame/CIconFactory.h"
#include "frame/FrameTexts.h"

CAboutDialog::CAboutDialog(const QString& versionText, QWidget* parent) : QDialog(parent) {
    setWindowTitle(FrameTexts::AboutTitle);
    auto* layout = new QHBoxLayout(this);
    auto* icon = new QLabel(this);
    const QPixmap picture = CIconFactory::Icon(CIconFactory::Kind::App).pixmap(48, 48);
    icon->setPixmap(picture);
    icon->setAlignment(Qt::AlignTop);
    icon->setVisible(!picture.isNull());  // no image support for the icon: text only
    layout->addWidget(icon);

    auto* texts = new QVBoxLayout;
    auto* name = new QLabel(FrameTexts::ProgramName, this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    texts->addWidget(name);
    texts->addWidget(new QLabel(FrameTexts::AboutVersion.arg(versionText), this));
    texts->addStretch();
    layout->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* ok = buttons->addButton(FrameTexts::ButtonOk, QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    QPushButton* systemInfo =
        buttons->addButton(FrameTexts::AboutSystemInfo, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(systemInfo, &QPushButton::clicked, this, &CAboutDialog::systemInfoRequested);
    layout->addWidget(buttons);
    ok->setFocus();
}
