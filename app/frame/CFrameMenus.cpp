#include "frame/CFrameMenus.h"

#include <QDir>
#include <QKeySequence>
#include <QMenuBar>

#include "common/CommandIds.h"
#include "frame/FrameTexts.h"

namespace {
/// One menu entry; id 0 is a separator, RecentSlot the place of the recent files.
struct Entry {
    int id;
    const char* text;
    const char* shortcut = nullptr;
    bool checkable = false;
    const char* statusTip = nullptr;
};
constexpr int RecentSlot = -1;

struct MenuDef {
    const char* title;
    std::initializer_list<Entry> entries;
};

const MenuDef Menus[] = {
    {"&Datei",
     {{Cmd::FileNew, "&Neu\tStrg+N", "Ctrl+N"},
      {Cmd::FileOpen, "Ö&ffnen...\tStrg+O", "Ctrl+O"},
      {Cmd::FileSave, "S&peichern\tStrg+S", "Ctrl+S"},
      {Cmd::FileSaveAs, "Speichern &unter..."},
      {0, ""},
      {Cmd::FileImport, "DVB-Senderliste importieren...\tStrg+I", "Ctrl+I"},
      {Cmd::ChannelScan, "Sendersuchlauf...", nullptr, false,
       "Programme eines Satelliten oder des Kabels suchen und zur Liste hinzufügen"},
      {0, ""},
      {Cmd::FilePrint, "&Drucken...\tStrg+P", "Ctrl+P"},
      {Cmd::FilePrintPreview, "Sei&tenansicht"},
      {Cmd::FilePrintSetup, "Drucker&einrichtung..."},
      {0, ""},
      {Cmd::FileSendMail, "Na&chricht senden..."},
      {0, ""},
      {RecentSlot, ""},
      {0, ""},
      {Cmd::AppExit, "&Beenden"}}},
    {"&Bearbeiten",
     {{Cmd::EditCut, "&Ausschneiden\tStrg+X", "Ctrl+X"},
      {Cmd::EditCopy, "&Kopieren\tStrg+C", "Ctrl+C"},
      {Cmd::EditPaste, "E&infügen\tStrg+V", "Ctrl+V"},
      {0, ""},
      {Cmd::EditSelectAll, "Alles markieren\tStrg+A", "Ctrl+A"},
      {0, ""},
      {Cmd::EditFind, "Suchen\tStrg+S"},
      {Cmd::EditReplace, "Erset&zen...\tStrg+H", "Ctrl+H"},
      {0, ""},
      {Cmd::EditProgram, "Programm bearbeiten"},
      {Cmd::ShowStreams, "Streams anzeigen"},
      {Cmd::SwitchToSelected, "Zum selektierten Programm schalten"},
      {Cmd::AddToTimerList, "Zur Timerliste addieren"},
      {0, ""},
      {Cmd::CategoryMode, "Kategoriemode", nullptr, true},
      {Cmd::ListEditMode, "Bearbeitungsmodus", nullptr, true}}},
    {"&Ansicht",
     {{Cmd::ViewToolBar, "&Symbolleiste", nullptr, true},
      {Cmd::ViewOptionsBar, "Programm Symbolleiste", nullptr, true},
      {Cmd::ViewStatusBar, "Status&leiste", nullptr, true},
      {0, ""},
      {Cmd::ViewTvBar, "&TV Fenster", nullptr, true},
      {Cmd::ViewVcrBar, "&VCR Kontrolle", nullptr, true},
      {Cmd::ViewPictureBar, "&Bild Kontrolle\tCtrl+Alt+B", "Ctrl+Alt+B", true},
      {Cmd::ViewDecoderBar, "&MPEG Decoderstatus\tCtrl+Alt+M", "Ctrl+Alt+M", true},
      {Cmd::ViewProgramStatusBar, "Programm&statusanzeige", nullptr, true}}},
    {"&TV",
     {{Cmd::FullScreenOn, "Vollbildmodus aktivieren"},
      {Cmd::FullScreenOff, "Vollbildmodus verlassen"},
      {0, ""},
      {Cmd::VideoNormal, "Video normal"},
      {Cmd::VideoMirror, "Video spiegeln"},
      {0, ""},
      {Cmd::ProgramUp, "Programm +"},
      {Cmd::ProgramDown, "Programm -"},
      {0, ""},
      {Cmd::OsdGuide, "OSD -& EPG", "Alt+E"},
      {Cmd::GuideShortInfo, "EPG Kurzinfo"},
      {Cmd::GuideCurrent, "EPG aktuelles Event"},
      {Cmd::GuideNext, "EPG nächstes Event"},
      {Cmd::GuideClose, "EPG schließen"},
      {Cmd::ScheduleList, "Scheduleliste öffnen...", "Alt+S"},
      {0, ""},
      {Cmd::Videotext, "&Videotext...\tAlt+V", "Alt+V"}}},
    {"&Videorekorder",
     {{Cmd::VcrOpenPlayback, "Datei zum Abspielen öffnen", nullptr, false,
       "Datei zum Abspielen öffnen"},
      {Cmd::VcrClose, "Geöffnete Datei schließen", nullptr, false, "Geöffnete Datei schließen"},
      {0, ""},
      {Cmd::VcrPlay, "Wiedergabe starten", nullptr, false, "Wiedergabe starten"},
      {Cmd::VcrDoubleSpeed, "2-fache Widergabegeschwindigkeit einstellen"},
      {Cmd::VcrHalfSpeed, "1/2 Wiedergabegeschwindigkeit einstellen"},
      {Cmd::VcrPause, "Wiedergabe anhalten bzw. Einzelbildwiedergabe"},
      {Cmd::VcrStop, "Wiedergabe stoppen"},
      {0, ""},
      {Cmd::VcrPreviousTitle, "Vorherige Datei von Wiedergabeliste"},
      {Cmd::VcrNextTitle, "Nächste Datei von Wiedergabeliste"},
      {0, ""},
      {Cmd::VcrOpenRecording, "Datei zum Aufnehmen einstellen"},
      {Cmd::VcrRecord, "DVB-S Aufnahme starten"},
      {0, ""},
      {Cmd::TimerList, "&Timerliste öffnen...\tAlt-T", "Alt+T"},
      {Cmd::PlayList, "&Wiedergabeliste öffnen...\tAlt+W", "Alt+W"}}},
    {"CI-Menü",
     {{Cmd::CiSlot1, "Slot 1...", nullptr, false, "CI-Menü von Karte in Slot 1 öffnen"},
      {Cmd::CiSlot2, "Slot 2...", nullptr, false, "CI-Menü von Karte in Slot 2 öffnen"}}},
    {"E&xtras", {{Cmd::Options, "&Einstellungen...\tCtrl+Alt+E", "Ctrl+Alt+E"}}},
    {"&?", {{Cmd::AppAbout, "&Info über SVL_Editor..."}}},
};

QString RecentText(int index, const QString& path) {
    return QStringLiteral("&%1 %2").arg(index + 1).arg(QDir::toNativeSeparators(path));
}
}  // namespace

CFrameMenus::CFrameMenus(QMainWindow& frame) : QObject(&frame) {
    recentMenu_ = new QMenu(FrameTexts::RecentPlaceholder, &frame);
    recentMenu_->setObjectName(QStringLiteral("RecentFileMenu"));
    Build(frame);
    SetRecentFiles({});
}

void CFrameMenus::Build(QMainWindow& frame) {
    QMenuBar* bar = frame.menuBar();
    for (const MenuDef& def : Menus) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(def.title));
        menus_ << menu;
        if (QString::fromUtf8(def.title) == QStringLiteral("&Datei")) fileMenu_ = menu;
        for (const Entry& e : def.entries) {
            if (e.id == 0) {
                QAction* separator = menu->addSeparator();
                if (menu == fileMenu_ && !recentInFile_.isEmpty() && !recentAnchor_)
                    recentAnchor_ = separator;
                continue;
            }
            if (e.id == RecentSlot) {
                recentInFile_ << menu->addAction(FrameTexts::RecentPlaceholder);  // replaced below
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(e.text));
            action->setData(e.id);
            action->setEnabled(false);
            action->setCheckable(e.checkable);
            if (e.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
            if (e.statusTip) action->setStatusTip(QString::fromUtf8(e.statusTip));
            actions_.insert(e.id, action);
        }
    }
}

QMenu* CFrameMenus::Menu(const QString& title) const {
    for (QMenu* menu : menus_)
        if (menu->title() == title) return menu;
    return nullptr;
}

void CFrameMenus::FillRecentInto(QMenu* menu, QAction* before, QList<QAction*>& made,
                                 const QStringList& paths) {
    for (QAction* old : made) {
        menu->removeAction(old);
        old->deleteLater();
    }
    made.clear();
    if (paths.isEmpty()) {
        QAction* placeholder = new QAction(FrameTexts::RecentPlaceholder, menu);
        placeholder->setData(Cmd::FileMru1);
        placeholder->setEnabled(false);
        menu->insertAction(before, placeholder);
        made << placeholder;
        return;
    }
    for (int i = 0; i < paths.size() && i < Cmd::FileMruCount; ++i) {
        QAction* entry = new QAction(RecentText(i, paths.at(i)), menu);
        entry->setData(Cmd::FileMru1 + i);
        connect(entry, &QAction::triggered, this, [this, i] { emit recentFileChosen(i); });
        menu->insertAction(before, entry);
        made << entry;
    }
}

void CFrameMenus::SetRecentFiles(const QStringList& paths) {
    for (int i = 0; i < Cmd::FileMruCount; ++i) actions_.remove(Cmd::FileMru1 + i);
    FillRecentInto(fileMenu_, recentAnchor_, recentInFile_, paths);
    FillRecentInto(recentMenu_, nullptr, recentInDropDown_, paths);
    for (QAction* entry : recentInFile_) actions_.insert(entry->data().toInt(), entry);
}
