#pragma once
#include <QIcon>

/// The program's small icons, drawn at run time so that no image files are needed.
class CIconFactory {
  public:
    enum class Kind { New, Open, Save, Cut, Copy, Paste, Print, Tv, Radio, Data, All, Audio, App };
    static QIcon Icon(Kind kind);
};
