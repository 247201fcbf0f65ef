// A plug-in that writes how it was called into the file named by PELMORA_TEST_PLUGIN_RECORD (one
// argument a line, then a copy of the card file as it was during the call) and returns the number
// in PELMORA_TEST_PLUGIN_RETURN.
#include "plugin/Entry/QuendrelEntry.h"

#include <cstdio>
#include <cstdlib>

int32_t StartQDL(int settingsOnly, const char* pathOfXML, void* inputWinObj, int outputCSV)
{
    const char* record = std::getenv("PELMORA_TEST_PLUGIN_RECORD");
    if (record) {
        if (std::FILE* out = std::fopen(record, "wb")) {
            std::fprintf(out, "%d\n%s\n%p\n%d\n", settingsOnly, pathOfXML ? pathOfXML : "(null)", inputWinObj, outputCSV);
            if (std::FILE* in = pathOfXML && *pathOfXML ? std::fopen(pathOfXML, "rb") : nullptr) {
                char buffer[4096];
                size_t n;
                while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
                    std::fwrite(buffer, 1, n, out);
                std::fclose(in);
            }
            std::fclose(out);
        }
    }
    const char* code = std::getenv("PELMORA_TEST_PLUGIN_RETURN");
    return code ? std::atoi(code) : 0;
}
