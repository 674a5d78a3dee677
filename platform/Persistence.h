#pragma once
// Where the host keeps the player's folder in memory only until told, makes what has been written
// there outlast the program: a browser page copies its folder into the page's IndexedDB (in the
// background; the next call after a copy in progress starts another once it is done). Nothing to
// do on a desktop, whose files are on disk when written.
void PersistUserFiles();
