#pragma once

class CMainFrame;
class CSVL_EditorDoc;

/// Joins what sits on top of the frame to a frame and its document, as the
/// program does: the editing commands (clipboard, undo, find/replace, printing)
/// and the program and stream dialogs. Both bindings live as children of the frame.
void AttachProgramExtensions(CMainFrame& frame, CSVL_EditorDoc& doc);
