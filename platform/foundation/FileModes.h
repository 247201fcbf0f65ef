// The permission bits of a file the suite writes through a temporary file and renames into place.
// A file it replaces keeps its own bits; a new one gets what the user's umask leaves of the bits
// asked for (0666, or a copied file's own), as if it had been created under its name. Nothing
// ends up more open, or more closed, than the user had it because of the temporary file.
#pragma once

#include <QByteArray>

#include <sys/types.h>

// The process's file-creation mask, read without setting it (umask(2) would, under every
// thread's feet); 077 when the kernel does not tell it.
mode_t currentUmask();

// The bits a file created now with `requested` gets.
mode_t newFileMode(mode_t requested = 0666);

// The bits for a file about to take the place of `target`: the permission bits of the plain file
// there (set-id and sticky bits left out), else `newMode`, a new file's bits.
mode_t replacingMode(const QByteArray& target, mode_t newMode);

// Gives the open file `fd`, about to be renamed to `target`, those bits; false when it cannot.
bool setReplacingMode(int fd, const QByteArray& target, mode_t newMode);
