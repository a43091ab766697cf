// Encoding and drawing the GS1-128 symbols of a pallet label.
#include "barcodes/BarcodeRenderer.h"
#include "barcodes/Barcodes.h"

#include <benchmark/benchmark.h>

namespace {

const std::string kFnc1(1, static_cast<char>(129));
const std::string kPallet = "00376123450000000018" "0237612345000017" "3748" + kFnc1 + "15251231" "10" "L2504A" +
                            kFnc1 + "3302000512";
const std::string kSscc = "00376123450000000018";

void EncodeAndDraw(benchmark::State& state, const std::string& data)
{
    for (auto _ : state) {
        std::string modules = BarcodeModules(EncodeBarcode(data, "E128", true), "E128");
        benchmark::DoNotOptimize(modules);
    }
}

void BM_PalletElementString(benchmark::State& state) { EncodeAndDraw(state, kPallet); }
void BM_Sscc(benchmark::State& state) { EncodeAndDraw(state, kSscc); }

} // namespace

BENCHMARK(BM_PalletElementString);
BENCHMARK(BM_Sscc);
BENCHMARK_MAIN();
