// Tesseract keeps the image of every line it reads as a PNG in memory and decodes it again at
// once; squeezing those bytes took a tenth of every card's reading. Quillant takes the place of
// libpng's compression level so that they are stored as they are, unfiltered: the same pixels
// come back, only sooner. Quillant writes no PNG files of its own.
#include <dlfcn.h>
#include <png.h>

extern "C" void png_set_compression_level(png_structrp png, int)
{
    using SetLevel = void (*)(png_structrp, int);
    static const auto setLevel = reinterpret_cast<SetLevel>(::dlsym(RTLD_NEXT, "png_set_compression_level"));
    if (setLevel)
        setLevel(png, 0);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
}
