#include "frame/Resources.h"

#include <QtCore/qglobal.h>

void InitSvlEditorResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(svl_editor);
        return true;
    }();
    (void)done;
}
