#pragma once
/// Makes the program's built-in files (desktop entry, MIME type, icon) reachable
/// under ":/svl/". Safe to call more than once.
void InitSvlEditorResources();
