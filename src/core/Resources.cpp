#include "core/Resources.h"

#include <QtGlobal>

// Outside any namespace, as the resource macro requires.
static void RegisterOnce() {
    static const bool done = [] {
        Q_INIT_RESOURCE(velsokura);
        return true;
    }();
    Q_UNUSED(done);
}

void InitResources() {
    RegisterOnce();
}
