// The scenario file: any bytes give exactly its size (cut or padded with zeros) and
// all city and treasure names.

#include "fuzz_support.h"

#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"

namespace varkel::fuzz {

std::vector<QByteArray> Seeds(const QString& demoFolder)
{
    const QByteArray scenario = ReadFile(demoFolder + QStringLiteral("d_sce.vk"));
    return {scenario, scenario.left(4000), scenario + "tail"};
}

}  // namespace varkel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace varkel;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const ScenarioData scenario = ScenarioData::decode(input);
    const QByteArray kept = input.left(ScenarioData::kSize);
    FUZZ_CHECK(scenario.bytes == kept + QByteArray(ScenarioData::kSize - kept.size(), '\0'));
    FUZZ_CHECK(scenario.cityNames.size() == ScenarioData::kCityCount);
    FUZZ_CHECK(scenario.treasureNames.size() == save::kTreasureCount);
    return 0;
}
