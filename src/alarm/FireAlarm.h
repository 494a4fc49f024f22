#pragma once

// Puts grid row 1 in front of the user: the alarm window, its colours and
// size, the save, the sound and the main-window lock.
void FireAlarm();
