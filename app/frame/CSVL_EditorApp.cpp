#include "frame/CSVL_EditorApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>

#include "channellist/document/CDialogPrompts.h"
#include "channellist/document/CSVL_EditorDoc.h"
#include "common/CProgramState.h"
#include "frame/CDesktopIntegration.h"
#include "frame/CMainFrame.h"
#include "frame/CSingleInstance.h"
#include "frame/FrameTexts.h"

#ifndef SVL_VERSION_MAJOR
#error "the project version must be compiled in"
#endif

CSVL_EditorApp::CSVL_EditorApp() : state_(std::make_unique<CProgramState>()) {}

CSVL_EditorApp::~CSVL_EditorApp() {
    frame_.reset();  // the frame refers to the document
    doc_.reset();
}

void CSVL_EditorApp::SetupSettingsStore() {
    QCoreApplication::setOrganizationName(Organisation);
    QCoreApplication::setApplicationName(Application);
    QSettings::setDefaultFormat(QSettings::NativeFormat);
}

QString CSVL_EditorApp::VersionText() {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(SVL_VERSION_MAJOR)
        .arg(SVL_VERSION_MINOR)
        .arg(SVL_VERSION_PATCH)
        .arg(SVL_VERSION_TWEAK);
}

QString CSVL_EditorApp::ProgramPath() {
    const QString path = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return path.isEmpty() ? QStringLiteral("Unknown") : path;
}

QString CSVL_EditorApp::FileArgument(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (arg == QStringLiteral("--"))
            return i + 1 < arguments.size() ? arguments.at(i + 1) : QString();
        if (!arg.startsWith(u'-')) return arg;
    }
    return {};
}

bool CSVL_EditorApp::InitInstance(const QStringList& arguments) {
    SetupSettingsStore();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString file = FileArgument(arguments);
    const QString absoluteFile = file.isEmpty() ? file : QFileInfo(file).absoluteFilePath();

    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    instance_ = std::make_unique<CSingleInstance>(runtime, FrameTexts::ClassName);
    if (!instance_->Acquire()) {
        // Another instance runs: it opens the file and comes to the front.
        if (!instance_->HandOver(absoluteFile))
            qWarning("SVL_Editor läuft bereits, ist aber nicht erreichbar.");
        return false;
    }
    RegisterWithDesktop();

    prompts_ = std::make_unique<CDialogPrompts>();
    doc_ = std::make_unique<CSVL_EditorDoc>(*prompts_);
    frame_ = std::make_unique<CMainFrame>(*doc_, *state_, card_);
    prompts_->SetParent(frame_.get());
    for (const FrameExtension& extension : extensions_) extension(*frame_, *doc_);
    if (!doc_->OpenAtStartup(absoluteFile)) return false;

    frame_->RestorePlacement();
    frame_->show();
    QObject::connect(instance_.get(), &CSingleInstance::activationRequested, frame_.get(),
                     [this](const QString& path) { OnActivationRequested(path); });
    return true;
}

void CSVL_EditorApp::OnActivationRequested(const QString& file) {
    frame_->BringToFront();
    if (!file.isEmpty()) doc_->OpenDocumentFile(file);
}

void CSVL_EditorApp::RegisterWithDesktop() {
    if (qEnvironmentVariableIsSet("SVL_NO_DESKTOP_REGISTRATION")) return;
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString program = ProgramPath();
    if (program == QStringLiteral("Unknown")) return;
    CDesktopIntegration desktop(dataHome, program);
    desktop.UpdateCaches(desktop.Refresh());
}
