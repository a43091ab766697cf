#include "support/Zbar.h"

#include <zbar.h>

#include <cstring>
#include <memory>

std::vector<ScannedSymbol> ScanImage(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const int w = grey.width();
    const int h = grey.height();
    std::vector<unsigned char> pixels(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * w, grey.constScanLine(y), static_cast<std::size_t>(w));

    std::unique_ptr<zbar::zbar_image_scanner_t, decltype(&zbar::zbar_image_scanner_destroy)> scanner(
        zbar::zbar_image_scanner_create(), zbar::zbar_image_scanner_destroy);
    zbar::zbar_image_scanner_set_config(scanner.get(), zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 1);
    std::unique_ptr<zbar::zbar_image_t, decltype(&zbar::zbar_image_destroy)> img(zbar::zbar_image_create(), zbar::zbar_image_destroy);
    zbar::zbar_image_set_format(img.get(), zbar_fourcc('Y', '8', '0', '0'));
    zbar::zbar_image_set_size(img.get(), static_cast<unsigned>(w), static_cast<unsigned>(h));
    zbar::zbar_image_set_data(img.get(), pixels.data(), pixels.size(), nullptr);

    std::vector<ScannedSymbol> out;
    if (zbar::zbar_scan_image(scanner.get(), img.get()) <= 0) return out;
    for (const zbar::zbar_symbol_t* s = zbar::zbar_image_first_symbol(img.get()); s; s = zbar::zbar_symbol_next(s))
        out.push_back({zbar::zbar_get_symbol_name(zbar::zbar_symbol_get_type(s)),
                       std::string(zbar::zbar_symbol_get_data(s), zbar::zbar_symbol_get_data_length(s)),
                       (zbar::zbar_symbol_get_modifiers(s) & (1u << zbar::ZBAR_MOD_GS1)) != 0});
    return out;
}

std::vector<std::string> Gs1Symbols(const QImage& image)
{
    std::vector<std::string> out;
    for (const ScannedSymbol& s : ScanImage(image))
        if (s.gs1) out.push_back(s.data);
    return out;
}
