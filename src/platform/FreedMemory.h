#pragma once

// Gives what the loader freed back to the system instead of idling in the heap.
void ReturnFreedMemory();
