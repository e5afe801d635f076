#pragma once
// `vortexa --add-to-xscreensaver`: the program names itself in the user's ~/.xscreensaver.

namespace vortexa {

// Adds the running program to the screen-saver daemon's list of the user whose HOME this is, and
// says in one line what it did. Returns the exit status.
int addToXScreenSaver();

} // namespace vortexa
