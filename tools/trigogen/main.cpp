// trigogen: generates "trigo.dat", the sine, cosine, arctangent and arccosine tables the game
// reads instead of computing trigonometry at run time. Usage: trigogen OUT
#include "graphics/TrigTable.h"

#include <cstdint>
#include <cstdio>
#include <vector>

using Graphics::TrigTable;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: trigogen OUT\n");
        return 2;
    }
    const std::vector<uint8_t> bytes = TrigTable::GenerateFile();
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::fprintf(stderr, "trigogen: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::remove(argv[1]);
        std::fprintf(stderr, "trigogen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
