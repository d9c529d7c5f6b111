#include "app/strip_tiles.h"

#include <cstdint>

namespace quil {

namespace {

// Colours as 0xRRGGBB.
struct TTileColours {
    uint32_t border;
    uint32_t bottomBorder;
    uint32_t corner;
    uint32_t bottomCorner;
    uint32_t centre[7];  // interior rows 1 to 7, columns 2 to 6
    uint32_t edge[7];    // interior rows 1 to 7, columns 1 and 7
};

constexpr TTileColours kGrey = {
    0xAAAAAA,
    0xAAAAAA,
    0xD8D8D8,
    0xD8D8D8,
    {0xE6E6E6, 0xC7C7C7, 0xCECECE, 0xD6D6D6, 0xDDDDDD, 0xE2E2E2, 0xD1D1D1},
    {0xD2D2D2, 0xBEBEBE, 0xC4C4C4, 0xCBCBCB, 0xD2D2D2, 0xD7D7D7, 0xD1D1D1},
};
constexpr TTileColours kBlue = {
    0x4473D4,
    0x4473D4,
    0x86A6E2,
    0x86A6E2,
    {0x82DBFE, 0x609DEB, 0x64A7F2, 0x6AB2FA, 0x71B9FF, 0x7AC1FF, 0x6DB3EE},
    {0x6EB7EE, 0x5B96DF, 0x619EE5, 0x65A8EC, 0x6AB1F3, 0x6EB8F8, 0x6DB3EE},
};
constexpr TTileColours kGreen = {
    0x44AD73,
    0x62A06C,
    0x7AC884,
    0x879383,
    {0x8FDD8B, 0x5AD05B, 0x62D85B, 0x6BDE61, 0x70E466, 0x77E86A, 0x70D266},
    {0x75D16A, 0x57C35A, 0x5DC95C, 0x66D25C, 0x6DD861, 0x73DC65, 0x70D266},
};

void Put(TBitmap& picture, int x, int y, uint32_t rgb) {
    uint8_t* p = picture.ScanLine(y) + 3 * x;
    p[0] = uint8_t(rgb);
    p[1] = uint8_t(rgb >> 8);
    p[2] = uint8_t(rgb >> 16);
}

}  // namespace

TBitmap MakeStripTile(TStripTile tile) {
    const TTileColours& c = tile == TStripTile::Grey   ? kGrey
                            : tile == TStripTile::Blue ? kBlue
                                                       : kGreen;
    constexpr int last = kStripTileSize - 1;
    TBitmap picture;
    picture.Create(kStripTileSize, kStripTileSize);
    for (int x = 1; x < last; ++x) {
        Put(picture, x, 0, c.border);
        Put(picture, x, last, c.bottomBorder);
    }
    for (int y = 1; y < last; ++y) {
        Put(picture, 0, y, c.border);
        Put(picture, last, y, c.border);
        Put(picture, 1, y, c.edge[y - 1]);
        Put(picture, last - 1, y, c.edge[y - 1]);
        for (int x = 2; x < last - 1; ++x)
            Put(picture, x, y, c.centre[y - 1]);
    }
    Put(picture, 0, 0, c.corner);
    Put(picture, last, 0, c.corner);
    Put(picture, 0, last, c.bottomCorner);
    Put(picture, last, last, c.bottomCorner);
    return picture;
}

}  // namespace quil
