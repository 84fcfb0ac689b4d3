#pragma once
// Dispatches the window messages that are already waiting, then returns:
// a click queued meanwhile is handled inside the running handler.
void DoEvents();
