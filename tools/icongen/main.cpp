// icongen: draws the updater's application icon — a blue gradient tile with
// a white arrow going down into a tray — and writes it as a Windows .ico
// file holding one 32 × 32 image in 256 colours.
//
//   icongen OUT.ico
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kWhite = 1;
constexpr int kFirstBlue = 2;  // 64 blues follow, bright to dark
constexpr int kBlues = 64;

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Inside the tile: a square with corners rounded to a radius of 6.
bool InTile(int x, int y) {
    const double r = 6, lo = 1 + r, hi = kSize - 2 - r;
    double cx = x < lo ? lo : x > hi ? hi : x;
    double cy = y < lo ? lo : y > hi ? hi : y;
    return std::hypot(x - cx, y - cy) <= r;
}

bool InArrowOrTray(int x, int y) {
    if (x >= 13 && x <= 18 && y >= 5 && y <= 15) return true;                // shaft
    if (y >= 15 && y <= 22 && std::fabs(x - 15.5) <= (22 - y) + 0.5) return true;  // head
    if (y >= 24 && y <= 26 && x >= 7 && x <= 24) return true;                  // tray floor
    if (y >= 19 && y <= 26 && (x == 7 || x == 8 || x == 23 || x == 24)) return true;  // tray sides
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: icongen OUT.ico\n");
        return 2;
    }
    // Colour indices, top row first, and the transparency mask.
    std::uint8_t pixel[kSize][kSize];
    bool transparent[kSize][kSize];
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            transparent[y][x] = !InTile(x, y);
            pixel[y][x] = transparent[y][x] ? 0
                          : InArrowOrTray(x, y) ? kWhite
                                                : static_cast<std::uint8_t>(kFirstBlue + y * (kBlues - 1) / (kSize - 1));
        }

    const unsigned maskRow = 4;  // 32 bits, already a multiple of 4 bytes
    const unsigned imageBytes = 40 + 256 * 4 + kSize * kSize + kSize * maskRow;
    std::vector<std::uint8_t> ico;
    Put16(ico, 0);  // ICONDIR
    Put16(ico, 1);
    Put16(ico, 1);
    ico.push_back(kSize);  // ICONDIRENTRY
    ico.push_back(kSize);
    ico.push_back(0);  // 256 colours
    ico.push_back(0);
    Put16(ico, 1);
    Put16(ico, 8);
    Put32(ico, imageBytes);
    Put32(ico, 22);
    Put32(ico, 40);  // BITMAPINFOHEADER; the height counts image and mask
    Put32(ico, kSize);
    Put32(ico, kSize * 2);
    Put16(ico, 1);
    Put16(ico, 8);
    Put32(ico, 0);
    Put32(ico, kSize * kSize + kSize * maskRow);
    Put32(ico, 0);
    Put32(ico, 0);
    Put32(ico, 256);
    Put32(ico, 0);
    for (int i = 0; i < 256; ++i) {  // palette entries: blue, green, red, 0
        std::uint8_t r = 0, g = 0, b = 0;
        if (i == kWhite) r = g = b = 255;
        if (i >= kFirstBlue && i < kFirstBlue + kBlues) {
            int t = i - kFirstBlue;  // 0 bright .. 63 dark
            b = static_cast<std::uint8_t>(255 - t * 2);
            g = static_cast<std::uint8_t>(96 - t * 96 / kBlues);
            r = static_cast<std::uint8_t>(24 - t * 24 / kBlues);
        }
        if (i >= kFirstBlue + kBlues) r = g = b = static_cast<std::uint8_t>(i);  // unused greys
        ico.insert(ico.end(), {b, g, r, 0});
    }
    for (int y = kSize - 1; y >= 0; --y)  // bottom-up rows
        for (int x = 0; x < kSize; ++x) ico.push_back(pixel[y][x]);
    for (int y = kSize - 1; y >= 0; --y)
        for (int byte = 0; byte < kSize / 8; ++byte) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (transparent[y][byte * 8 + bit]) bits |= 0x80 >> bit;
            ico.push_back(bits);
        }

    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(ico.data(), 1, ico.size(), f) != ico.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "icongen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
