#include "ui/common/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitWachtrixResources() {
    Q_INIT_RESOURCE(wachtrix);
}

namespace wachtrix::ui {

void EnsureResources() {
    static const bool done = [] {
        InitWachtrixResources();
        return true;
    }();
    (void)done;
}

}  // namespace wachtrix::ui
