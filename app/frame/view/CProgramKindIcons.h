#pragma once
#include <QIcon>
#include <QVector>

/// Small icons for the kinds of programs, drawn at run time:
/// 0 data, 1 radio, 2 TV, 3 all kinds. The program list shows them in its
/// "Programmtype" column; the filter box uses the same images.
class CProgramKindIcons {
  public:
    enum Image { Data = 0, Radio = 1, Tv = 2, All = 3 };
    /// Icons in image order (a fresh set; pixmaps need a running application).
    static QVector<QIcon> Icons();
    static QPixmap Draw(Image image, int size = 16);
};
