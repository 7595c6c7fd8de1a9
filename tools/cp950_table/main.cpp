// Writes the code page 950 tables of the model (Big5 in src/shared/big5.h) as a
// C++ source file, from ICU's "windows-950-2000" converter. Run by the build, so
// the program looks codes up in constant tables and opens no converter.
//
// Usage: varkel-cp950-table OUTPUT.cpp

#include <unicode/ucnv.h>
#include <unicode/uversion.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// The double-byte codes the decode table covers; it must match Big5's layout.
constexpr int kFirstLead = 0x81;
constexpr int kLastLead = 0xFE;
constexpr int kFirstTrail = 0x40;
constexpr int kLastTrail = 0xFE;
constexpr int kTrails = kLastTrail - kFirstTrail + 1;
constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kSubstitute = 0x1A;  // what the converter gives for some unmapped codes
constexpr int kFirstEncoded = 0x80;     // below it a unit is its own code

bool inDecodeTable(int code)
{
    const int lead = code >> 8;
    const int trail = code & 0xFF;
    return lead >= kFirstLead && lead <= kLastLead && trail >= kFirstTrail && trail <= kLastTrail;
}

int decodeIndex(int code)
{
    return ((code >> 8) - kFirstLead) * kTrails + ((code & 0xFF) - kFirstTrail);
}

// The character of each double-byte code, 0 when the code is not a character.
std::vector<char16_t> decodeTable(UConverter* conv)
{
    std::vector<char16_t> table((kLastLead - kFirstLead + 1) * kTrails, 0);
    for (int lead = kFirstLead; lead <= kLastLead; ++lead) {
        for (int trail = kFirstTrail; trail <= kLastTrail; ++trail) {
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            UChar out[4];
            UErrorCode status = U_ZERO_ERROR;
            ucnv_reset(conv);
            const int32_t n = ucnv_toUChars(conv, out, 4, bytes, 2, &status);
            if (U_SUCCESS(status) && n == 1 && out[0] != kReplacement && out[0] != kSubstitute)
                table[decodeIndex(lead * 256 + trail)] = out[0];
        }
    }
    return table;
}

// The code of each UTF-16 unit from 0x80 up, 0 when it has none. Where two codes
// share a character (A2 CC and A4 51), the converter's own round-trip mapping
// decides; a code that does not read back as the character (a one-way fallback)
// is no code for it.
std::vector<std::uint16_t> encodeTable(UConverter* conv, const std::vector<char16_t>& decode)
{
    std::vector<std::uint16_t> table(65536 - kFirstEncoded, 0);
    for (int unit = kFirstEncoded; unit < 65536; ++unit) {
        char back[4];
        UErrorCode status = U_ZERO_ERROR;
        ucnv_reset(conv);
        const UChar ch = static_cast<UChar>(unit);
        const int32_t len = ucnv_fromUChars(conv, back, 4, &ch, 1, &status);
        if (!U_SUCCESS(status) || len != 2)
            continue;
        const int code = static_cast<unsigned char>(back[0]) * 256 + static_cast<unsigned char>(back[1]);
        if (inDecodeTable(code) && decode[decodeIndex(code)] == unit)
            table[unit - kFirstEncoded] = static_cast<std::uint16_t>(code);
    }
    return table;
}

template <typename T>
void writeArray(std::FILE* out, const char* declaration, const std::vector<T>& values)
{
    std::fprintf(out, "%s = {\n", declaration);
    for (std::size_t i = 0; i < values.size(); ++i)
        std::fprintf(out, values[i] ? "%s0x%04X," : "%s%u,", i % 16 == 0 ? (i == 0 ? "" : "\n") : "",
                     static_cast<unsigned>(values[i]));
    std::fprintf(out, "\n};\n\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    UErrorCode status = U_ZERO_ERROR;
    // Never "cp950": ICU maps that name to IBM's table, which differs from Windows.
    UConverter* conv = ucnv_open("windows-950-2000", &status);
    if (U_FAILURE(status)) {
        std::fprintf(stderr, "ICU has no windows-950-2000 converter: %s\n", u_errorName(status));
        return 1;
    }
    const std::vector<char16_t> decode = decodeTable(conv);
    const std::vector<std::uint16_t> encode = encodeTable(conv, decode);
    ucnv_close(conv);

    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out,
                 "// Written by varkel-cp950-table from the \"windows-950-2000\" converter of ICU %s.\n"
                 "// Do not edit: the build writes it anew.\n\n"
                 "#include \"shared/big5.h\"\n\n"
                 "namespace varkel {\n\n",
                 U_ICU_VERSION);
    writeArray(out, "const char16_t Big5::kDecodeTable[Big5::kDecodeTableSize]", decode);
    writeArray(out, "const std::uint16_t Big5::kEncodeTable[Big5::kEncodeTableSize]", encode);
    std::fprintf(out, "}  // namespace varkel\n");
    const bool failed = std::ferror(out) != 0;
    if (std::fclose(out) != 0 || failed) {
        std::perror(argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
