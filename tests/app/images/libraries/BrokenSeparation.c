/* Separation libraries that misbehave on purpose, one behaviour per build. */
#include "outside/separation/PLSeparation.h"

#include <string.h>

int initLibrary(void)
{
#ifdef INIT_FAILS
    return 1;
#else
    return 0;
#endif
}

void freeLibrary(void) {}

#ifndef NO_ENTRY
int eng_name_sepa(const uint16_t* name, int16_t parts[10])
{
    (void)name;
    for (int i = 0; i < 10; ++i)
        parts[i] = -1;
    /* A first name running past the end of any short name. */
    parts[0] = 0;
    parts[1] = 500;
    return 0;
}

int cname_search_cname2cyomi(const char* company, char* reading, size_t capacity)
{
    (void)company;
    /* 200 units of katakana, a surrogate pair straddling unit 128. */
    size_t at = 0;
    for (int i = 0; i < 127 && at + 4 < capacity; ++i, at += 3)
        memcpy(reading + at, "\xE3\x82\xA2", 3);
    memcpy(reading + at, "\xF0\xA0\x80\x8B", 4);
    at += 4;
    for (int i = 0; i < 71 && at + 4 < capacity; ++i, at += 3)
        memcpy(reading + at, "\xE3\x82\xA2", 3);
    reading[at] = '\0';
    return 0;
}

int SeparateAddress(const char* address, char* state, size_t cs, char* city, size_t cc, char* street, size_t cst)
{
    (void)address; (void)cs; (void)cc; (void)cst;
    state[0] = city[0] = street[0] = '\0';
    return 1;
}
#endif
