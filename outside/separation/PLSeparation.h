/* The calls of the three separation libraries loaded at run time by Pelmora:
 * English name separation, Japanese company-name readings and Japanese address separation.
 * Every library offers initLibrary and freeLibrary around its one working entry point.
 * Text crosses as UTF-16 for names and as UTF-8 elsewhere; buffers belong to the caller,
 * so no memory allocated by a library ever outlives the call. */
#ifndef PELMORA_PLSEPARATION_H
#define PELMORA_PLSEPARATION_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define PL_SEPARATION_EXPORT __attribute__((visibility("default")))
#else
#define PL_SEPARATION_EXPORT
#endif

/* Room the caller gives for a name: at most 127 units and a 0 unit, in a zeroed buffer. */
#define PL_NAME_BUFFER_UNITS 128
/* Index pairs of eng_name_sepa, in this order; each pair is the first and the last unit (inclusive). */
enum { PL_NAME_FIRST = 0, PL_NAME_MIDDLE = 1, PL_NAME_FAMILY = 2, PL_NAME_PREFIX = 3, PL_NAME_SUFFIX = 4,
       PL_NAME_PART_COUNT = 5 };

/* 0 when the library is ready. */
PL_SEPARATION_EXPORT int initLibrary(void);
PL_SEPARATION_EXPORT void freeLibrary(void);

/* English name separation: the name as UTF-16 units ended by a 0 unit; parts receives five pairs
 * (first, middle, family, prefix, suffix) of unit indexes, a first index of -1 marking an absent part.
 * 0 on success. */
PL_SEPARATION_EXPORT int eng_name_sepa(const uint16_t* name, int16_t parts[2 * PL_NAME_PART_COUNT]);

/* Reading of a Japanese company name in katakana, the legal-form words left out.
 * Writes a 0-terminated UTF-8 reading (empty when there is none); 0 on success. */
PL_SEPARATION_EXPORT int cname_search_cname2cyomi(const char* company, char* reading, size_t capacity);

/* Japanese address separation into prefecture, city (ward, county and town) and the rest.
 * Each part is a 0-terminated UTF-8 string; an empty part is one not handed out. The parts handed
 * out, joined in the order state, city, street, give the address in its printed shape: from its
 * prefecture or city on, the prefecture with its mark, block numbers joined by dashes; an address
 * already in that shape comes back exactly. 0 on success, 2 when a part does not fit. */
PL_SEPARATION_EXPORT int SeparateAddress(const char* address, char* state, size_t stateCapacity, char* city,
                                         size_t cityCapacity, char* street, size_t streetCapacity);

typedef int (*PLInitLibraryFunc)(void);
typedef void (*PLFreeLibraryFunc)(void);
typedef int (*PLEngNameSepaFunc)(const uint16_t*, int16_t*);
typedef int (*PLCompanyReadingFunc)(const char*, char*, size_t);
typedef int (*PLSeparateAddressFunc)(const char*, char*, size_t, char*, size_t, char*, size_t);

#ifdef __cplusplus
}
#endif

#endif
