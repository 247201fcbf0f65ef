// The environment every test program runs in, whatever session starts it: a private home with its
// configuration, data, cache and state folders, a private runtime folder and temporary folder;
// none of the session's user folders (documents, desktop, downloads), desktop, display, bus or
// keyring; offscreen windows; messages and formats of the C locale; a fixed time zone nine hours
// east of UTC; umask 022. The session bus address leads nowhere: a test that needs a bus or a
// keyring starts its own.
#pragma once

namespace testenvironment {

// Called first thing in a test program's main, before the application object. A program started
// by a test program keeps the environment it inherits.
void enter();

}
