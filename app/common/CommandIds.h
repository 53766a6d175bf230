#pragma once
// Command numbers of the menus, tool bar and bars. Each QAction carries its
// number as data, so that every part of the program can find its command.

namespace Cmd {
// "&Datei"
constexpr int FileNew = 57600;
constexpr int FileOpen = 57601;
constexpr int FileSave = 57603;
constexpr int FileSaveAs = 57604;
constexpr int FileImport = 32843;
constexpr int ChannelScan = 33030;  ///< own number: "Sendersuchlauf..." has no fixed one
constexpr int FilePrint = 57607;
constexpr int FilePrintPreview = 57609;
constexpr int FilePrintSetup = 57606;
constexpr int FileSendMail = 57612;
constexpr int FileMru1 = 57616;  ///< 57616 .. 57619: the recent-file list
constexpr int FileMruCount = 4;
constexpr int AppExit = 57665;

// "&Bearbeiten" and the list's commands
constexpr int EditSelectAll = 57642;
constexpr int EditCopy = 57634;
constexpr int EditCut = 57635;
constexpr int EditPaste = 57637;
constexpr int EditFind = 57636;
constexpr int EditReplace = 57641;
constexpr int EditUndo = 57643;
constexpr int EditRedo = 57644;
constexpr int CategoryMode = 32773;
constexpr int ListEditMode = 32780;
constexpr int SwitchToSelected = 32781;
constexpr int AddToTimerList = 32782;
constexpr int ListDelete = 32783;
constexpr int EditProgram = 32785;
constexpr int ShowStreams = 32786;
// Reordering: own numbers, the commands have no fixed ones
constexpr int MoveUp = 33010;
constexpr int MoveDown = 33011;
constexpr int MoveToTop = 33012;
constexpr int MoveToEnd = 33013;
constexpr int SelectDuplicates = 33014;
constexpr int ApplyReferenceOrder = 33015;

// "&Ansicht": bars
constexpr int ViewToolBar = 59392;
constexpr int ViewStatusBar = 59393;
constexpr int ViewTvBar = 32778;
constexpr int ViewVcrBar = 32777;
constexpr int ViewPictureBar = 32779;
constexpr int ViewDecoderBar = 32827;
constexpr int ViewProgramStatusBar = 32839;
constexpr int ViewOptionsBar = 32840;

// "&TV"
constexpr int FullScreenOn = 32790;
constexpr int FullScreenOff = 32791;
constexpr int VideoMirror = 32792;
constexpr int VideoNormal = 32793;
constexpr int ProgramUp = 32794;
constexpr int ProgramDown = 32795;
constexpr int GuideShortInfo = 32796;
constexpr int GuideCurrent = 32797;
constexpr int GuideNext = 32798;
constexpr int GuideClose = 32811;
constexpr int OsdGuide = 32825;
constexpr int ScheduleList = 32826;
constexpr int Videotext = 33002;  ///< own number: the window has no fixed one
// The video window's pop-up menus ("Videorekorder" also uses VcrPreviousTitle
// and VcrNextTitle)
constexpr int PopupPlaybackOpen = 32799;
constexpr int PopupPlaybackClose = 32800;
constexpr int PopupPlay = 32802;
constexpr int PopupPlayDouble = 32804;
constexpr int PopupPlayHalf = 32806;
constexpr int PopupStop = 32808;
constexpr int PopupPause = 32809;
constexpr int MenuExit = 32810;  ///< "Menu verlassen": closes the menu, nothing else

// "&Videorekorder": posted as VCR command codes 1..11, in this order
constexpr int VcrOpenPlayback = 1100;
constexpr int VcrClose = 1107;
constexpr int VcrPlay = 1088;
constexpr int VcrDoubleSpeed = 1095;
constexpr int VcrHalfSpeed = 1111;
constexpr int VcrPause = 1092;
constexpr int VcrStop = 1158;
constexpr int VcrNextTitle = 32833;
constexpr int VcrRecord = 1078;
constexpr int VcrPreviousTitle = 32838;
constexpr int VcrOpenRecording = 1101;
constexpr int TimerList = 1069;
constexpr int PlayList = 33001;  ///< own number: the window has no fixed one

// "E&xtras"
constexpr int CiSlot1 = 32816;
constexpr int CiSlot2 = 32818;
constexpr int Options = 32847;

// "&?"
constexpr int AppAbout = 57664;
}  // namespace Cmd

/// Ids of the bars and of the status bar panes.
namespace BarId {
constexpr int ToolBar = 0xE800;
constexpr int StatusBar = 0xE801;
constexpr int DialogBar = 0xE805;
constexpr int TvBar = 0xE820;
constexpr int VcrBar = 0xE821;
constexpr int PictureBar = 0xE822;
constexpr int DecoderBar = 0xE823;
constexpr int ProgramStatusBar = 0xE824;
constexpr int ProgramFilterCombo = 1205;
constexpr int LanguageCombo = 1217;
}  // namespace BarId

namespace PaneId {
constexpr int ProgramCount = 50002;
constexpr int TimerStatus = 50003;
constexpr int CaSlot1 = 50000;
constexpr int CaSlot2 = 50001;
}  // namespace PaneId

/// Timer numbers of the frame.
namespace TimerId {
constexpr int CamTime = 2000;  ///< sends the time to the CAMs
constexpr int CamTimePeriodMs = 500;
constexpr int DecoderStatus = 8000;  ///< the decoder status bar reads the decoder
constexpr int DecoderStatusPeriodMs = 1000;
constexpr int VolumeOsd = 8002;  ///< removes the volume display from the screen
constexpr int VolumeOsdMs = 1000;
constexpr int ProgramStatus = 8003;  ///< the program status bar reads the front end
constexpr int ProgramStatusPeriodMs = 1000;
constexpr int TvWindow = 1000;  ///< the TV window keeps the video placed over it
constexpr int TvWindowPeriodMs = 500;
constexpr int GuideClose = 3001;  ///< the short information of the guide leaves the screen
constexpr int GuideCloseMs = 5000;
constexpr int GuideRefresh = 3002;  ///< the short information writes the events it has
constexpr int GuideRefreshPeriodMs = 500;
constexpr int CamSlotStatus = 3005;  ///< asks the CAM slots for their status
constexpr int CamSlotStatusPeriodMs = 2000;
}  // namespace TimerId
