#pragma once
// Ends the program as its own end does (nothing saved) when the system asks it to stop: SIGTERM,
// SIGINT or SIGHUP, as a screen-saver daemon sends when the screen wakes. It then ends by that
// signal, so that whoever waits for it sees it killed rather than ending by itself.

namespace vortexa {

class QtPlatform;

void endOnTerminationSignals(QtPlatform& platform);

} // namespace vortexa
