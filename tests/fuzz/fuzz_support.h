#pragma once

// What every fuzz target shares. A target is one file <name>_fuzz.cpp that defines
// LLVMFuzzerTestOneInput and varkel::fuzz::Seeds, plus one varkel_fuzz_target line in
// tests/fuzz/CMakeLists.txt.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace varkel::fuzz {

// The inputs a target starts from, cut from the demo game folder `demoFolder`
// (ending in a separator), in the layout the target's LLVMFuzzerTestOneInput reads.
std::vector<QByteArray> Seeds(const QString& demoFolder);

// Ends the run with the failed condition; libFuzzer saves the input that caused it.
[[noreturn]] void Fail(const char* condition, const char* file, int line);
#define FUZZ_CHECK(condition) ((condition) ? void() : ::varkel::fuzz::Fail(#condition, __FILE__, __LINE__))

// Fails, naming the first differing byte, unless `actual` equals `expected` in every
// bit outside `mayDiffer` (a mask as long as `expected`; empty for none).
#define FUZZ_CHECK_BYTES(actual, expected, mayDiffer) \
    ::varkel::fuzz::CheckBytes(actual, expected, mayDiffer, #actual, __FILE__, __LINE__)
void CheckBytes(const QByteArray& actual, const QByteArray& expected, const QByteArray& mayDiffer, const char* what,
                const char* file, int line);

// Reads a fuzz input from the front; past its end every number is 0 and every
// piece is empty, so any input is a valid one.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : bytes_(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)))
    {
    }

    int byte();
    int int16();  // little-endian, signed
    int int32();  // little-endian, signed
    QByteArray take(qsizetype count);
    QByteArray rest();  // a copy of what is left, so it may be written to
    // What is left as UTF-16 code units (little-endian pairs; an odd last byte is dropped).
    QString restAsUtf16();

private:
    QByteArray bytes_;
    qsizetype at_ = 0;
};

// For a target whose inputs come in kinds: the first byte picks the kind, modulo
// how many there are so that any byte picks one, and that kind's reader takes the
// rest. The readers stand in the order of the target's kinds, the last of which,
// `kindCount`, counts them.
template <auto kindCount, typename... Readers>
int ReadInputOfKind(const std::uint8_t* data, std::size_t size, Readers... readers)
{
    static_assert(sizeof...(Readers) == std::size_t(kindCount), "one reader for each kind of input");
    void (*const read[])(FuzzInput&) = {readers...};
    FuzzInput input(data, size);
    read[input.byte() % int(kindCount)](input);
    return 0;
}

// The same numbers written as FuzzInput reads them, for building seeds.
QByteArray Byte(int value);
QByteArray Int16(int value);
QByteArray Int32(int value);
QByteArray Utf16(const QString& text);

// `size` bytes that all differ from their neighbours, so a stray write shows.
QByteArray Patterned(qsizetype size, int seed = 7);

// `bytes` back to front: an encode that writes a value from this and then from
// the original must change the same bytes.
QByteArray Reversed(QByteArray bytes);

// A copy of `bytes` in a buffer exactly its size with no terminator, so the
// sanitizer sees a read one byte past it.
class Exact {
public:
    explicit Exact(const QByteArray& bytes) : data_(bytes.begin(), bytes.end()) {}
    QByteArray view() const { return QByteArray::fromRawData(data_.data(), qsizetype(data_.size())); }

private:
    std::vector<char> data_;
};

// A private folder made once per process and removed at its end, with a trailing
// separator, and a file name in it.
QString TempFolder();
QString TempPath(const QString& name);
void WriteFile(const QString& path, const QByteArray& bytes);
// Up to `length` bytes of the file from `offset`; empty when it cannot be read.
QByteArray ReadFile(const QString& path, qint64 offset = 0, qint64 length = -1);

}  // namespace varkel::fuzz
