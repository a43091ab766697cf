#include "ZbarReader.h"

#include "barcodes/BarcodeRenderer.h"
#include "barcodes/Barcodes.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace zbar;

namespace {

constexpr int kPixelsPerModule = 3;
constexpr int kQuietModules = 12;
constexpr int kHeight = 40;

} // namespace

ZbarResult ZbarRead(const std::string& modules, zbar_symbol_type_t symbology)
{
    const int width = static_cast<int>(modules.size() + 2 * kQuietModules) * kPixelsPerModule;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width * kHeight), 255);
    for (int y = 0; y < kHeight; ++y)
        for (std::size_t m = 0; m < modules.size(); ++m)
            if (modules[m] == '1')
                for (int p = 0; p < kPixelsPerModule; ++p)
                    pixels[static_cast<std::size_t>(y * width + (kQuietModules + static_cast<int>(m)) * kPixelsPerModule + p)] = 0;

    std::unique_ptr<zbar_image_scanner_t, decltype(&zbar_image_scanner_destroy)> scanner(
        zbar_image_scanner_create(), zbar_image_scanner_destroy);
    zbar_image_scanner_set_config(scanner.get(), ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
    zbar_image_scanner_set_config(scanner.get(), symbology, ZBAR_CFG_ENABLE, 1);
    zbar_image_scanner_set_config(scanner.get(), symbology, ZBAR_CFG_MIN_LEN, 1);
    // zbar finds UPC symbols through its EAN-13 decoder.
    if (symbology == ZBAR_UPCA || symbology == ZBAR_UPCE)
        zbar_image_scanner_set_config(scanner.get(), ZBAR_EAN13, ZBAR_CFG_ENABLE, 1);
    std::unique_ptr<zbar_image_t, decltype(&zbar_image_destroy)> image(zbar_image_create(), zbar_image_destroy);
    zbar_image_set_format(image.get(), zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(image.get(), static_cast<unsigned>(width), kHeight);
    zbar_image_set_data(image.get(), pixels.data(), pixels.size(), nullptr);

    ZbarResult result;
    if (zbar_scan_image(scanner.get(), image.get()) <= 0)
        return result;
    const zbar_symbol_t* symbol = zbar_image_first_symbol(image.get());
    result.found = zbar_symbol_get_type(symbol) == symbology;
    result.data.assign(zbar_symbol_get_data(symbol), zbar_symbol_get_data_length(symbol));
    result.gs1 = (zbar_symbol_get_modifiers(symbol) & (1u << ZBAR_MOD_GS1)) != 0;
    return result;
}

void ExpectScans(const std::string& data, const char* keyword, zbar_symbol_type_t type, const std::string& expected)
{
    const ZbarResult read = ZbarRead(BarcodeModules(EncodeBarcode(data, keyword, true), keyword), type);
    EXPECT_TRUE(read.found) << keyword << " " << data;
    EXPECT_EQ(read.data, expected) << keyword << " " << data;
}
