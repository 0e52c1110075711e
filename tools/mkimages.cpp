// Writes the program's images into a folder:
//   mkimages OUTDIR  ->  panel.bmp glyphs.bmp zarvo.ico hand.cur
#include "imagefiles.h"

#include <cstdio>
#include <string>

static bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkimages OUTDIR\n");
        return 2;
    }
    std::string dir = argv[1];
    bool ok = WriteFile(dir + "/panel.bmp", EncodeBmp4(MakePanel())) &&
              WriteFile(dir + "/glyphs.bmp", EncodeBmp4(MakeGlyphSheet())) &&
              WriteFile(dir + "/zarvo.ico", EncodeIcon(MakeIcon())) && WriteFile(dir + "/hand.cur", EncodeHandCursor());
    if (!ok) {
        std::perror(dir.c_str());
        return 1;
    }
    return 0;
}
