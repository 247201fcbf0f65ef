// Named points of the long-running operations where a test can have the process killed, to see
// that a kill at that moment loses nothing. The variable PELMORA_CRASH_AT names the point (and,
// after a ":", how many passes go by first); at that point the process ends by SIGKILL, exactly
// as a kill from outside would end it. Without the variable a point costs one comparison.
#pragma once

void crashPoint(const char* name);
