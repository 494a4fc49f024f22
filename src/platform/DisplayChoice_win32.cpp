#include "platform/DisplayChoice.h"

// Windows has one display connection.
void ChooseDisplayConnection() {}
