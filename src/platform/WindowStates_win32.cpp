#include "platform/WindowStates.h"

// Windows reports every minimise.
void FollowOwnMinimising(QWidget*) {}
