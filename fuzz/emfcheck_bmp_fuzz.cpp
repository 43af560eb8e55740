// Fuzz target: the BMP reader of the metafile comparer (tools/emfcheck) on arbitrary bytes.
#define EMFCHECK_NO_MAIN
#include "../tools/emfcheck/emfcheck.cpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Image img;
    if (readBmpBytes(data, size, img) && img.rgb.size() != static_cast<size_t>(img.w) * static_cast<size_t>(img.h))
        std::abort();
    return 0;
}
