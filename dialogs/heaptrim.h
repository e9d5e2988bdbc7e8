#pragma once

// Hands the heap's free pages back to the system, where the C library can tell it to: after
// something large and short-lived (a file dialog, with the thread that read its folders) the
// freed memory would otherwise stay counted to the player for as long as it runs.
void giveBackFreeHeap();
