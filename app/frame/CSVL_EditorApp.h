#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class CDialogPrompts;
class CMainFrame;
class CProgramState;
class CSingleInstance;
class CSVL_EditorDoc;
class ICardLifecycle;

/// The application object: one instance per user, the settings store, the
/// document with its frame and view, the desktop registration of the .svl
/// type and the start-up rules for the first document.
class CSVL_EditorApp {
  public:
    static inline const QString Organisation = QStringLiteral("SVL-Programm Editor");
    static inline const QString Application = QStringLiteral("SVL_Editor");

    CSVL_EditorApp();
    ~CSVL_EditorApp();

    /// Runs the start. False: the process ends now (second instance, first
    /// document not opened, or the open prompt cancelled).
    bool InitInstance(const QStringList& arguments);

    /// Sets organisation and application name, so QSettings reaches our store.
    static void SetupSettingsStore();
    /// "%d.%d.%d.%d" of the version compiled in.
    static QString VersionText();
    /// This program's file, from /proc/self/exe ("Unknown" when unreadable).
    static QString ProgramPath();
    /// The file named on a command line (the first argument that is no option).
    static QString FileArgument(const QStringList& arguments);

    CMainFrame* Frame() const { return frame_.get(); }
    CSVL_EditorDoc* Document() const { return doc_.get(); }
    /// The values the whole program shares; lives as long as the application object.
    CProgramState& State() const { return *state_; }
    /// The card part of the frame; set before InitInstance (may stay null).
    void SetCardLifecycle(ICardLifecycle* card) { card_ = card; }
    /// Runs right after the frame is built, before the first document is
    /// opened: parts that sit on top of the frame (editing, dialogs) join here.
    using FrameExtension = std::function<void(CMainFrame&, CSVL_EditorDoc&)>;
    void AddFrameExtension(FrameExtension extension) {
        extensions_.push_back(std::move(extension));
    }

  private:
    void RegisterWithDesktop();
    void OnActivationRequested(const QString& file);

    std::unique_ptr<CProgramState> state_;
    std::unique_ptr<CSingleInstance> instance_;
    std::unique_ptr<CDialogPrompts> prompts_;
    std::unique_ptr<CSVL_EditorDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
    ICardLifecycle* card_ = nullptr;
    std::vector<FrameExtension> extensions_;
};
