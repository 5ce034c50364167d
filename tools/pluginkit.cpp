// Stand-in for macOS's extension-registry tool, for systems that lack it.
// Answers "-m -vv" with a sample listing in the real tool's shape.

#include <cstddef>
#include <cstdio>
#include <cstring>

extern const unsigned char sampleListing[];
extern const std::size_t sampleListingSize;

int main(int argc, char *argv[])
{
    if (argc != 3 || std::strcmp(argv[1], "-m") != 0 || std::strcmp(argv[2], "-vv") != 0) {
        std::fputs("usage: pluginkit -m -vv (this stand-in only lists its sample)\n", stderr);
        return 64; // EX_USAGE
    }
    const bool written =
        std::fwrite(sampleListing, 1, sampleListingSize, stdout) == sampleListingSize;
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}
