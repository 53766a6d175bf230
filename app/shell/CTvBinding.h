#pragma once
// The TV part on the frame: the program switch and the choice of programs on
// the list view's requests and private messages, the remote-control keys,
// the audio choice box of the dialog bar, and the questions and messages of
// a switch as message boxes. Lives as a child of the frame.
#include <QObject>
#include <functional>
#include <memory>

class CMainFrame;
class CProgramInfo;
class CProgramNavigator;
class CProgramSwitcher;
class CRemoteKeySocket;
class CSVL_EditorDoc;
class CSVL_EditorView;
class IDeviceSet;
struct AudioChoices;

class CTvBinding : public QObject {
    Q_OBJECT
  public:
    /// Attaches the TV part to `frame`, with the card's device objects.
    CTvBinding(CMainFrame& frame, CSVL_EditorDoc& doc, IDeviceSet& card);
    ~CTvBinding() override;

    CProgramSwitcher& Switcher() const { return *switcher_; }
    CProgramNavigator& Navigator() const { return *navigator_; }
    CRemoteKeySocket& RemoteKeys() const { return *remoteKeys_; }
    /// The program at `index` of the open list, or null.
    const CProgramInfo* ProgramAt(int index) const;
    /// The tuned program, or null when nothing is tuned.
    const CProgramInfo* TunedProgram() const;
    /// Tells the remote keys whether the on-screen guide is up.
    void SetGuideShown(std::function<bool()> shown) { guideShown_ = std::move(shown); }

  private:
    class Host;
    void ShowAudioChoices(const AudioChoices& choices);
    void SelectAudioPid(int pid);
    void ToggleMinimised();

    CMainFrame& frame_;
    IDeviceSet& card_;
    std::unique_ptr<Host> host_;
    CProgramSwitcher* switcher_;
    CProgramNavigator* navigator_;
    CRemoteKeySocket* remoteKeys_;
    std::function<bool()> guideShown_;
};
