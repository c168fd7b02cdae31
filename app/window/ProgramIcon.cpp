#include "app/window/ProgramIcon.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pomvella {

namespace {

constexpr int kIconSize = 32;

// The 16 standard colours in their usual order, then the transparent mask.
enum IconColour : std::uint8_t {
    kBlack, kMaroon, kGreen, kOlive, kNavy, kPurple, kTeal, kSilver,
    kGray, kRed, kLime, kYellow, kBlue, kFuchsia, kAqua, kWhite, kClear,
};

QList<QRgb> IconPalette()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
            qRgba(0, 0, 0, 0)};
}

// The picture is drawn from shapes measured at pixel centres, so it needs no
// antialiasing and stays within the 16 colours.
IconColour IconPixel(int x, int y)
{
    const double cx = x + 0.5;
    const double cy = y + 0.5;

    // A tile with rounded corners and a navy rim.
    const double rim = std::hypot(cx - std::clamp(cx, 5.0, 27.0), cy - std::clamp(cy, 5.0, 27.0));
    if (rim > 5.0)
        return kClear;
    if (rim > 4.0)
        return kNavy;

    // The head, over the shoulders.
    const double head = std::hypot(cx - 16.0, cy - 13.0);
    if (head <= 7.0) {
        const bool hair = cy < 10.5 || (std::abs(cx - 16.0) > 5.0 && cy < 16.0);
        if (hair)
            return kMaroon;
        if ((x == 12 || x == 13 || x == 18 || x == 19) && (y == 12 || y == 13))
            return kBlack;
        if (x >= 14 && x <= 17 && y == 16)
            return kRed;
        return kWhite;
    }
    if (head <= 8.0)
        return kBlack;

    // Shoulders widening towards the bottom of the tile.
    const double halfWidth = 5.0 + (cy - 21.0) * 0.9;
    const double fromCentre = std::abs(cx - 16.0);
    if (cy > 20.0 && fromCentre < halfWidth + 1.0) {
        if (cy < 21.0 || fromCentre >= halfWidth)
            return kBlack;
        if (fromCentre < 1.5 && cy < 25.0)
            return kWhite;  // the collar
        return kBlue;
    }
    return kLime;
}

}  // namespace

QImage MakeProgramIconImage()
{
    QImage image(kIconSize, kIconSize, QImage::Format_Indexed8);
    image.setColorTable(IconPalette());
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x)
            image.setPixel(x, y, IconPixel(x, y));
    }
    return image;
}

QIcon MakeProgramIcon()
{
    return QIcon(QPixmap::fromImage(MakeProgramIconImage()));
}

}  // namespace pomvella
