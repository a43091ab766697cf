#pragma once

// One renderer per family of barcode fonts: font string in, modules out, "" when a glyph is not in the font.
#include <string>

namespace barcodes {

enum class TwoOfFive { Industrial, Iata, Matrix, Datalogic };

std::string Code128Modules(const std::string& font);
std::string EanUpcModules(const std::string& font, const std::string& keyword);
std::string Code39Modules(const std::string& font);
std::string Code32Modules(const std::string& font);
std::string Code93Modules(const std::string& font);
std::string CodabarModules(const std::string& font);
std::string Interleaved25Modules(const std::string& font);
std::string TwoOfFiveModules(const std::string& font, TwoOfFive variant);
std::string Code11Modules(const std::string& font);
std::string MsiModules(const std::string& font);
std::string PlesseyModules(const std::string& font);
std::string PostnetModules(const std::string& font);

} // namespace barcodes
